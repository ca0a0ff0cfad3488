#pragma once

// For windows only: QColor belongs to QtGui, which the core does not link.

#include "common/Colours.h"

#include <QColor>

namespace quorx {

// System colours are resolved; the high byte of a plain value is ignored.
inline QColor ToQColor(quint32 colorref)
{
    const quint32 rgb = ResolveColour(colorref);
    return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

inline quint32 FromQColor(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return MakeColour(rgb.red(), rgb.green(), rgb.blue());
}

} // namespace quorx
