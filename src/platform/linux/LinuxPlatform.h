#pragma once

#include "platform/Platform.h"
#include "platform/linux/LinuxDisks.h"
#include "platform/linux/LinuxProcesses.h"
#include "platform/linux/LinuxShell.h"
#include "platform/linux/PulseSound.h"
#include "platform/linux/QtTimerService.h"
#include "platform/linux/SystemClock.h"

namespace quorx {

// The real services, one of each, for the program and quorx-cli. Create it on the main thread:
// its timers belong to the event loop of the thread that creates them.
class LinuxPlatform final
{
public:
    LinuxPlatform() = default;
    Q_DISABLE_COPY_MOVE(LinuxPlatform)

    // The view the core is given; it points into this object.
    Platform View();

private:
    SystemClock m_clock;
    QtTimerService m_timers;
    LinuxProcesses m_processes;
    LinuxDisks m_disks;
    LinuxShell m_shell;
    PulseSound m_sound;
};

} // namespace quorx
