#include "platform/fake/VirtualTimerService.h"

#include "platform/fake/VirtualTimer.h"

#include <algorithm>

namespace quorx {

VirtualTimerService::VirtualTimerService(VirtualClock& clock) : m_clock(clock) {}

VirtualTimerService::~VirtualTimerService()
{
    for (VirtualTimer* timer : m_timers)
        timer->m_service = nullptr;
}

std::unique_ptr<Timer> VirtualTimerService::CreateTimer(const QString& name)
{
    std::unique_ptr<VirtualTimer> timer(new VirtualTimer(this, name));
    m_timers.push_back(timer.get());
    return timer;
}

void VirtualTimerService::Unregister(VirtualTimer* timer)
{
    m_timers.erase(std::remove(m_timers.begin(), m_timers.end(), timer), m_timers.end());
}

void VirtualTimerService::Wait(int ms)
{
    RunFor(ms);
}

void VirtualTimerService::RunFor(qint64 ms)
{
    RunTo(ElapsedMs() + std::max<qint64>(ms, 0));
}

void VirtualTimerService::RunTo(qint64 deadlineMs)
{
    while (FireNext(deadlineMs)) {
    }
    // A nested wait may already have gone past this deadline; then the clock stays where it is.
    m_clock.AdvanceTo(deadlineMs);
}

void VirtualTimerService::RunUntil(DateTime wall)
{
    // In whole milliseconds from the start, so that no rounding of the wall time loses a firing.
    const qint64 wallMs = DateTime::MsBetween(m_clock.Start(), wall);
    for (;;) {
        // Timers due at the very end fire too, as in a wait; a clock set past the end stops here.
        const qint64 deadline = wallMs - m_clock.OffsetMs();
        if (!FireNext(deadline)) {
            m_clock.AdvanceTo(deadline);
            return;
        }
    }
}

VirtualTimer* VirtualTimerService::EarliestDue(qint64 deadlineMs) const
{
    VirtualTimer* best = nullptr;
    for (VirtualTimer* timer : m_timers) {
        if (!timer->Armed() || timer->m_dueMs > deadlineMs)
            continue;
        if (!best || timer->m_dueMs < best->m_dueMs ||
            (timer->m_dueMs == best->m_dueMs && timer->m_armSequence < best->m_armSequence))
            best = timer;
    }
    return best;
}

bool VirtualTimerService::FireNext(qint64 deadlineMs)
{
    VirtualTimer* timer = EarliestDue(deadlineMs);
    if (!timer)
        return false;
    // Time never goes back: a timer left behind (the clock advanced by hand) fires now.
    const qint64 firedAt = std::max(timer->m_dueMs, ElapsedMs());
    m_clock.AdvanceTo(firedAt);
    timer->m_dueMs = firedAt + timer->m_interval;
    ++m_firedCount;
    timer->Trigger();
    return true;
}

qint64 VirtualTimerService::NextDueMs() const
{
    qint64 next = -1;
    for (const VirtualTimer* timer : m_timers) {
        const qint64 due = timer->DueMs();
        if (due >= 0 && (next < 0 || due < next))
            next = due;
    }
    return next;
}

} // namespace quorx
