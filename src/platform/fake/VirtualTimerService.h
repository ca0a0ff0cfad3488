#pragma once

#include "platform/TimerService.h"
#include "platform/fake/VirtualClock.h"

#include <vector>

namespace quorx {

class VirtualTimer;

// Timers on a virtual clock that jumps from one due timer to the next, so that days of scheduling
// run in moments and every timing rule can be checked to the millisecond. A wait takes the enabled
// timer due first (the one armed first among those due together), moves the clock to its due
// moment, schedules its next firing one interval later and fires it; handlers may change timers
// and wait in turn. With nothing due before the deadline the clock goes straight to it.
class VirtualTimerService final : public TimerService
{
public:
    explicit VirtualTimerService(VirtualClock& clock);
    ~VirtualTimerService() override;
    Q_DISABLE_COPY_MOVE(VirtualTimerService)

    std::unique_ptr<Timer> CreateTimer(const QString& name) override;
    void Wait(int ms) override;
    qint64 ElapsedMs() const override { return m_clock.ElapsedMs(); }

    // The same loop as Wait, for the tests and the simulation at top level.
    void RunFor(qint64 ms);
    // Runs until the wall clock reads `wall`; a clock change made by a handler on the way is taken
    // into account, so the run ends when the wall time is reached, whichever way it got there.
    void RunUntil(DateTime wall);
    // A clock change by the user: the wall time moves, the timers stay due when they were.
    void SetNow(DateTime wall) { m_clock.SetNow(wall); }

    // The monotonic moment the next timer is due, -1 when none is armed.
    qint64 NextDueMs() const;
    quint64 FiredCount() const { return m_firedCount; }

private:
    friend class VirtualTimer;
    void Unregister(VirtualTimer* timer);
    quint64 NextArmSequence() { return ++m_armSequence; }

    VirtualTimer* EarliestDue(qint64 deadlineMs) const;
    // Fires the timer due first, not after the deadline; false when there is none.
    bool FireNext(qint64 deadlineMs);
    void RunTo(qint64 deadlineMs);

    VirtualClock& m_clock;
    std::vector<VirtualTimer*> m_timers;
    quint64 m_armSequence = 0;
    quint64 m_firedCount = 0;
};

} // namespace quorx
