#pragma once

#include <QIcon>

namespace quorx {

// The small state pictures of the list, drawn once and kept: skip, inactive, priority and guide.
class ListPictures final
{
public:
    // The pictures a row shows in its first cell, side by side; a null icon when none applies.
    static QIcon RowIcon(bool skip, bool inactive, bool priority, bool guide);
};

} // namespace quorx
