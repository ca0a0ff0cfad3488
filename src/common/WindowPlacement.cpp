#include "common/WindowPlacement.h"

namespace quorx {

WindowPlacement::Action WindowPlacement::ForCopies(int copies)
{
    if (copies <= 1)
        return Action::Maximise;
    return copies <= 4 ? Action::Choose : Action::Nothing;
}

QVector<QRect> WindowPlacement::Choices(int copies, int w, int h)
{
    const int halfH = h / 2;
    const int halfW = w / 2;
    const QRect top(1, 1, w - 2, halfH - 2);
    const QRect bottom(1, halfH + 1, w - 2, halfH - 2);
    const auto quarter = [&](bool right, bool lower) {
        return QRect(right ? halfW + 1 : 1, lower ? halfH + 1 : 1, halfW - 2, halfH - 2);
    };
    switch (copies) {
    case 2:
        return {top, bottom};
    case 3:
        return {top, quarter(false, true), quarter(true, true)};
    case 4:
        return {quarter(false, false), quarter(true, false), quarter(false, true), quarter(true, true)};
    default:
        return {};
    }
}

} // namespace quorx
