#pragma once

#include <QPixmap>
#include <QSize>

namespace quorx {

// The pictures and button glyphs of the question window, drawn rather than loaded so the window
// needs no image files and looks the same under every style.
class DialogPictures final
{
public:
    static QPixmap Question(QSize size);
    static QPixmap Exclamation(QSize size);
    static QPixmap YesGlyph();
    static QPixmap NoGlyph();
};

} // namespace quorx
