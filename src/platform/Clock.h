#pragma once

#include "common/DateTime.h"

namespace quorx {

// The present moment, in local wall time. The core asks this, never the system clock.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual DateTime Now() const = 0;
};

} // namespace quorx
