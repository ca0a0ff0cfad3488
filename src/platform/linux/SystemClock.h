#pragma once

#include "platform/Clock.h"

namespace quorx {

// The computer's local wall time.
class SystemClock final : public Clock
{
public:
    DateTime Now() const override;
};

} // namespace quorx
