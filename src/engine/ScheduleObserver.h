#pragma once

#include <QString>

namespace quorx {

// What a full recomputation hands on to the parts of the program that act on its result. The
// recording engine arms its timers and the wake-up timer; the main window sorts and redraws its
// list (running ScheduleEngine::PurgeExpired first). Every step does nothing by default, so the
// engine runs alone in tests and on the command line.
class ScheduleObserver
{
public:
    virtual ~ScheduleObserver() = default;
    virtual void ArmTimers() {}
    virtual void RefreshList() {}
    // The schedule could not be written; what was stored before is still whole.
    virtual void ScheduleSaveFailed(const QString& reason) {}
};

} // namespace quorx
