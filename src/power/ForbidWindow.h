#pragma once

#include "common/DateTime.h"

namespace quorx {

// The daily window, given as two times of day, during which the computer is kept awake.
class ForbidWindow final
{
public:
    // Whether the time of day of now lies in the window; a window over midnight (end earlier than
    // start) covers the evening and the morning. A window whose start equals its end is empty.
    static bool Contains(DateTime start, DateTime end, DateTime now);
    // Whether now lies in the minute that begins at the end of the window, the moment the window
    // has just ended, midnight included.
    static bool JustEnded(DateTime end, DateTime now);
};

} // namespace quorx
