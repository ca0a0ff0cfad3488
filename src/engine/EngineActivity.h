#pragma once

#include "common/DateTime.h"

namespace quorx {

// What the recording engine is doing, as the power manager's suspend tests read it, and the
// engine work the power manager triggers around a suspend. The recording engine implements it.
class EngineActivity
{
public:
    virtual ~EngineActivity() = default;

    virtual bool RecordingUnderWay() const = 0;      // the recording flag (or Etat 1 of the current record)
    virtual bool DelayedStartPending() const = 0;    // TimerEnreg running
    // TimerDebut armed; its target instant (the planned start) through target.
    virtual bool StartArmed(DateTime* target) const = 0;
    virtual bool ManualStopRunning() const = 0;      // Timer5 running
    virtual int RunningCommands() const = 0;         // after-recording command lines running
    virtual bool GuideBusy() const { return false; } // guide acquisition, downloads, grabber
    // Armed: false after a clock change or a resume until the timers are armed again.
    virtual bool Armed() const = 0;

    // The reduced pass (no list refresh, no save) the suspend tests run when not armed.
    virtual void RecomputeForPower() = 0;
    // The full pass and the list refresh.
    virtual void RecomputeSchedule() = 0;
    // Before a granted suspend: the viewer closed as before a suspend, the scheduling timers
    // stopped (the resume timer restarts them).
    virtual void PrepareForSuspend() = 0;
    // After resume: armed false (the power manager's resume timer then recomputes).
    virtual void MarkUnarmed() = 0;
    // After resume: the resume timer Timer2 set to 12 000 ms with its tag at 1 and enabled; when it
    // fires with that tag it calls PowerControl::ResumeWaitOver() before recomputing.
    virtual void ScheduleResumeRefresh() = 0;
    // Whether recording is switched on (check box CACtif).
    virtual bool RecordingSwitchedOn() const = 0;
};

} // namespace quorx
