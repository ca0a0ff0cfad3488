#include "common/ScreenGeometry.h"

namespace quorx {

QRect KeepOnScreen(QRect window, QRect screen, bool sizeable, bool maximised)
{
    if (maximised || !screen.isValid())
        return window;
    if (sizeable) {
        window.setWidth(qMin(window.width(), screen.width()));
        window.setHeight(qMin(window.height(), screen.height()));
    }
    if (window.x() + window.width() > screen.x() + screen.width())
        window.moveLeft(screen.x() + screen.width() - window.width());
    if (window.y() + window.height() > screen.y() + screen.height())
        window.moveTop(screen.y() + screen.height() - window.height());
    if (window.x() < screen.x())
        window.moveLeft(screen.x());
    if (window.y() < screen.y())
        window.moveTop(screen.y());
    return window;
}

} // namespace quorx
