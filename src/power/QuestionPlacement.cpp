#include "power/QuestionPlacement.h"

namespace quorx {

QPoint QuestionPlacement::Place(QPoint cursor, QRect defaultButton, QPoint clientOffset, QSize frameSize,
                                QRect screen)
{
    int left = cursor.x() - defaultButton.width() / 2 - defaultButton.left() - clientOffset.x();
    int top = cursor.y() - defaultButton.height() / 2 - defaultButton.top() - clientOffset.y() + 2;

    // Right and bottom first, so that a window larger than the screen keeps its title bar reachable.
    if (left + frameSize.width() > screen.left() + screen.width())
        left = screen.left() + screen.width() - frameSize.width() - kScreenMargin;
    if (top + frameSize.height() > screen.top() + screen.height())
        top = screen.top() + screen.height() - frameSize.height() - kScreenMargin;
    if (left < screen.left())
        left = screen.left() + kScreenMargin;
    if (top < screen.top())
        top = screen.top() + kScreenMargin;
    return {left, top};
}

} // namespace quorx
