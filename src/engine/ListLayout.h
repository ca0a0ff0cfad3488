#pragma once

#include <QString>

#include <array>

namespace quorx {

// The geometry of the list of recordings: row height, the list's height in the window and the
// widths of its five columns, which follow the window's width.
namespace ListLayout {

using Widths = std::array<int, 5>;

int RowHeight(int fontSize);

struct Height
{
    int height = 0;
    bool scrollBar = false;
};
// rows: the data rows; space: the height left between the bands.
Height GridHeight(int rows, int rowHeight, int space);
// The window cannot be made shorter than its bands and two rows.
int MinimumWindowHeight(int bandsHeight, int rowHeight);

// The stored widths (-1: a fifth of the stored total) and total (-1 or 0: the new width) scaled to a
// new grid width; the last column takes the rest.
Widths Scaled(const Widths& stored, int storedTotal, int gridWidth);
// After the user dragged a column border: the last column fills the grid when it keeps some width,
// otherwise all five shrink in proportion.
Widths AfterUserResize(const Widths& widths, int gridWidth);

// The band above the list: the invitation to add, when the window is wide enough for it.
QString HintText(int windowWidth);

} // namespace ListLayout
} // namespace quorx
