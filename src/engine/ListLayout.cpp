#include "engine/ListLayout.h"

#include "i18n/LocalisedStrings.h"

#include <algorithm>
#include <cmath>

namespace quorx {
namespace ListLayout {

namespace {

constexpr int kMinimumLastColumn = 20;

} // namespace

int RowHeight(int fontSize)
{
    return std::max(19, 2 * fontSize - 1);
}

Height GridHeight(int rows, int rowHeight, int space)
{
    // The title row counts as a row.
    const int needed = (rows + 1) * rowHeight + 1 + 3;
    if (needed <= space)
        return {needed, false};
    return {std::max(0, space), true};
}

int MinimumWindowHeight(int bandsHeight, int rowHeight)
{
    return bandsHeight + 2 * rowHeight;
}

Widths Scaled(const Widths& stored, int storedTotal, int gridWidth)
{
    Widths out{};
    if (gridWidth <= 0)
        return stored;
    const int total = storedTotal > 0 ? storedTotal : gridWidth;
    int used = 0;
    for (size_t c = 0; c + 1 < out.size(); ++c) {
        const int width = stored[c] > 0 ? stored[c] : total / 5;
        out[c] = static_cast<int>(std::lround(double(width) * gridWidth / total));
        used += out[c];
    }
    out.back() = std::max(kMinimumLastColumn, gridWidth - used - 8);
    return out;
}

Widths AfterUserResize(const Widths& widths, int gridWidth)
{
    Widths out = widths;
    int others = 0;
    for (size_t c = 0; c + 1 < widths.size(); ++c)
        others += std::max(0, widths[c]);
    const int last = gridWidth - others - 10;
    if (last > 16) {
        out.back() = last;
        return out;
    }
    int sum = others + std::max(0, widths.back());
    if (sum <= 0)
        return out;
    for (size_t c = 0; c < widths.size(); ++c)
        out[c] = static_cast<int>(std::lround(double(std::max(0, widths[c])) * gridWidth / sum));
    return out;
}

QString HintText(int windowWidth)
{
    return windowWidth >= 550 ? QStringLiteral(" ") + Ls(48) : QString();
}

} // namespace ListLayout
} // namespace quorx
