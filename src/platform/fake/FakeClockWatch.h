#pragma once

#include "platform/ClockWatch.h"

#include <QtGlobal>

namespace quorx {

// A test sets the virtual clock, then raises the change as the system would report it.
class FakeClockWatch final : public ClockWatch
{
public:
    FakeClockWatch() = default;
    Q_DISABLE_COPY_MOVE(FakeClockWatch)

    void RaiseClockChange() { NotifyClockChanged(); }
};

} // namespace quorx
