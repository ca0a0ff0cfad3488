#pragma once

#include "common/DateTime.h"

namespace quorx {

// What follows a recording when the user asked for it: 0 none, 1 shut down, 2 standby,
// 3 hibernation (the values are the ones the pending action has always carried).
enum class PowerAction : int { None = 0, ShutDown = 1, Standby = 2, Hibernate = 3 };

// The power management as the recording engine and the after-recording actions use it. The
// power manager implements it; the engine never talks to the operating system's power services.
class PowerControl
{
public:
    virtual ~PowerControl() = default;

    // The prevent toggle moved by code (a recording starts or ends, recording switched off):
    // only while the automatic veto is ticked, with the automatic-change marker set around it.
    virtual void PressVetoAutomatically(bool down) = 0;
    virtual bool AutoForbidSuspend() const = 0;

    // The wake timer, three minutes before the given wake instant is the caller's business.
    virtual void SetWakeTimer(DateTime instant) = 0;
    virtual void CancelWakeTimer() = 0;
    // After every schedule computation, with the earliest wake instant of the schedule (NoTime
    // when none): the wake timer three minutes before it, or cancelled when there is nothing to
    // wake for or recording is switched off; the suspend veto follows the new state.
    virtual void FollowNextWake(DateTime wakeInstant) = 0;
    // The block held against the system's suspend follows Suspend permitted; call it whenever the
    // engine's busy state changed (a recording started or ended, a timer armed).
    virtual void RefreshSuspendVeto() = 0;
    // The resume timer fired with its resume tag, 12 s after a resume: the keep-awake nudge is
    // written and the one-second clock runs again (the engine then recomputes).
    virtual void ResumeWaitOver() = 0;

    // The pending power action and its retry timer.
    virtual void SetPendingAction(PowerAction action) = 0; // also enables the retry timer
    virtual void DropPendingAction() = 0;                  // disables the retry timer
    virtual PowerAction PendingAction() const = 0;

    // The suspend tests.
    virtual bool SuspendPermitted() = 0;
    virtual bool SuspendPermittedAfterRecording() = 0;
    virtual bool IdleTest() = 0; // true when nothing keeps the computer busy
    virtual bool InstancesAgree() = 0;

    virtual bool HibernateAllowed() = 0;
    virtual bool StandbyAllowed() = 0;

    // The three actions, each confirmed by its countdown question and journalled.
    virtual void ShutDown() = 0;
    virtual bool Standby() = 0;
    virtual bool Hibernate() = 0;
};

} // namespace quorx
