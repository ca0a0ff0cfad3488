#include "platform/fake/VirtualClock.h"

namespace quorx {

VirtualClock::VirtualClock(DateTime start) : m_start(start) {}

DateTime VirtualClock::Now() const
{
    const qint64 ms =
        m_elapsedMs.load(std::memory_order_relaxed) + m_offsetMs.load(std::memory_order_relaxed);
    return DateTime(m_start.Value() + static_cast<double>(ms) / DateTime::kMsPerDay);
}

void VirtualClock::Advance(qint64 ms)
{
    if (ms > 0)
        m_elapsedMs.fetch_add(ms, std::memory_order_relaxed);
}

void VirtualClock::AdvanceTo(qint64 elapsedMs)
{
    Advance(elapsedMs - ElapsedMs());
}

void VirtualClock::SetNow(DateTime wall)
{
    const DateTime unshifted(m_start.Value() + static_cast<double>(ElapsedMs()) / DateTime::kMsPerDay);
    m_offsetMs.store(DateTime::MsBetween(unshifted, wall), std::memory_order_relaxed);
}

} // namespace quorx
