#pragma once

#include <QIcon>

namespace quorx {

// The pictures the program ships, and the state pictures of the list made from them: skip,
// inactive, priority and guide.
class ListPictures final
{
public:
    // The pictures a row shows in its first cell, side by side; a null icon when none applies.
    static QIcon RowIcon(bool skip, bool inactive, bool priority, bool guide);
    // A picture the program ships (data/pictures/<name>.png); a null icon when there is none.
    static QIcon Picture(const QString& name);
};

} // namespace quorx
