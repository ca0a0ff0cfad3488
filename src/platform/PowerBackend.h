#pragma once

#include "common/DateTime.h"

#include <QString>

#include <functional>

namespace quorx {

// How the computer will be brought out of standby or hibernation, if at all.
enum class WakeTimerType
{
    None,       // nothing will wake the computer
    AlarmTimer, // a wake-capable timer of the kernel, alive while this program runs
    RtcAlarm,   // the real-time clock's wake alarm
};

// Suspend, hibernation and power-off, the veto against them, the notice the system gives before it
// sleeps or shuts down, and the wake timer. The engine decides when; this only carries it out.
class PowerBackend
{
public:
    // A wake instant that is already past is moved this far after the present moment.
    static constexpr int kLateWakeMinutes = 3;

    virtual ~PowerBackend() = default;

    virtual bool CanSuspend() = 0;
    virtual bool CanHibernate() = 0;

    // Each returns whether the system accepted the request. A veto held by this program is lifted
    // for the request (it would otherwise refuse our own action) and held again afterwards.
    virtual bool Suspend() = 0;
    virtual bool Hibernate() = 0;
    virtual bool PowerOff() = 0;

    // While refuse is true the system is kept from suspending and shutting down. Calling it again
    // with the same value changes nothing; why is shown by the system's tools.
    virtual void SetSuspendVeto(bool refuse, const QString& why) = 0;
    virtual bool SuspendVetoWanted() const = 0;
    // Whether the system is refusing at this moment: false where it cannot be asked to, and while
    // our own suspend is under way.
    virtual bool SuspendVetoHeld() const = 0;

    // Before the system suspends (true) it waits, for a few seconds at most, until ReadyForSleep();
    // after the resume the handler is called with false. The same holds for a shutdown.
    void SetPrepareForSleepHandler(std::function<void(bool sleeping)> handler)
    {
        m_onPrepareForSleep = std::move(handler);
    }
    void SetPrepareForShutdownHandler(std::function<void(bool shuttingDown)> handler)
    {
        m_onPrepareForShutdown = std::move(handler);
    }
    virtual void ReadyForSleep() = 0;

    // Replaces any wake timer. An instant not later than now is taken as now plus three minutes;
    // NoTime cancels. Returns what will wake the computer.
    virtual WakeTimerType SetWakeTimer(DateTime localInstant) = 0;
    virtual void CancelWakeTimer() = 0;
    virtual WakeTimerType WakeTimerKind() const = 0;
    // The instant the wake timer is set for, NoTime when none is.
    virtual DateTime WakeTimerInstant() const = 0;

    // Tells the desktop that the user is active, so that it does not blank or idle-suspend.
    virtual void KeepAwakeNudge() = 0;

    static DateTime EffectiveWakeInstant(DateTime requested, DateTime now)
    {
        return requested > now ? requested : now.AddMinutes(kLateWakeMinutes);
    }

protected:
    bool HasPrepareForSleepHandler() const { return static_cast<bool>(m_onPrepareForSleep); }
    bool HasPrepareForShutdownHandler() const { return static_cast<bool>(m_onPrepareForShutdown); }
    void NotifyPrepareForSleep(bool sleeping)
    {
        if (m_onPrepareForSleep)
            m_onPrepareForSleep(sleeping);
    }
    void NotifyPrepareForShutdown(bool shuttingDown)
    {
        if (m_onPrepareForShutdown)
            m_onPrepareForShutdown(shuttingDown);
    }

private:
    std::function<void(bool)> m_onPrepareForSleep;
    std::function<void(bool)> m_onPrepareForShutdown;
};

} // namespace quorx
