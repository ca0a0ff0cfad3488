#pragma once

#include "platform/Clock.h"

namespace quorx::cli {

// The present moment of a command that looks at the schedule as it stands at one moment
// (--now, or the moment the command started): it does not move while the command runs.
class FixedClock final : public Clock
{
public:
    explicit FixedClock(DateTime now) : m_now(now) {}
    DateTime Now() const override { return m_now; }

private:
    DateTime m_now;
};

} // namespace quorx::cli
