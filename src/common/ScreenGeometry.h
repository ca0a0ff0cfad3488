#pragma once

#include <QRect>

namespace quorx {

// Where a window goes once its stored position is restored: a maximised window stays as it is;
// a sizeable one is shrunk to the screen; one past the right or bottom edge is moved back so it
// ends on the screen, and one past the left or top edge is brought to the screen's origin. The
// top-left corner wins when a window that cannot be resized is larger than the screen, so its
// title bar can always be reached.
QRect KeepOnScreen(QRect window, QRect screen, bool sizeable, bool maximised);

} // namespace quorx
