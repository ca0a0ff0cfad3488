#pragma once

#include <functional>

namespace quorx {

// Tells when the wall clock was set (by the user or a time service), not when it merely advances
// and not when it jumps across a suspend, so that the schedule is computed again.
class ClockWatch
{
public:
    virtual ~ClockWatch() = default;

    void SetClockChangeHandler(std::function<void()> handler) { m_onClockChanged = std::move(handler); }

protected:
    void NotifyClockChanged()
    {
        if (m_onClockChanged)
            m_onClockChanged();
    }

private:
    std::function<void()> m_onClockChanged;
};

} // namespace quorx
