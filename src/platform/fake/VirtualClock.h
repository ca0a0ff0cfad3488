#pragma once

#include "platform/Clock.h"

#include <QtGlobal>

#include <atomic>

namespace quorx {

// A clock that only moves when told to. Two readings are kept apart: the monotonic count of
// elapsed milliseconds, which timers are due on and which never jumps, and the wall time, which
// is the start moment plus the elapsed time plus an offset that a clock change by the user moves.
// Readings are atomic so that worker threads may ask the time while the main thread advances it.
class VirtualClock final : public Clock
{
public:
    explicit VirtualClock(DateTime start = DateTime::FromFields(2024, 1, 1));
    Q_DISABLE_COPY_MOVE(VirtualClock)

    DateTime Now() const override;
    qint64 ElapsedMs() const { return m_elapsedMs.load(std::memory_order_relaxed); }
    DateTime Start() const { return m_start; }
    // What clock changes have added to the wall time, in milliseconds.
    qint64 OffsetMs() const { return m_offsetMs.load(std::memory_order_relaxed); }

    // Moves time forward; a negative or zero amount does nothing, since time never goes back.
    void Advance(qint64 ms);
    void AdvanceTo(qint64 elapsedMs);
    // A clock change: the wall time reads `wall` from now on, the elapsed count is untouched.
    void SetNow(DateTime wall);

private:
    const DateTime m_start;
    std::atomic<qint64> m_elapsedMs{0};
    std::atomic<qint64> m_offsetMs{0};
};

} // namespace quorx
