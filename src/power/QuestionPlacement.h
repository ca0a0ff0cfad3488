#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace quorx {

// Where the question window goes: its default button centred under the mouse cursor, so that a
// user who was about to click somewhere does not answer by accident with another button, then
// kept 5 pixels inside the screen.
class QuestionPlacement final
{
public:
    static constexpr int kScreenMargin = 5;

    // defaultButton is in client coordinates; clientOffset is where the client area starts inside
    // the frame (the left border and the title bar); frameSize is the whole window. Returns the
    // frame's top-left corner in screen coordinates.
    static QPoint Place(QPoint cursor, QRect defaultButton, QPoint clientOffset, QSize frameSize,
                        QRect screen);
};

} // namespace quorx
