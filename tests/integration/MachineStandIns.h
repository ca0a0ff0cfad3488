#pragma once

#include "platform/Platform.h"
#include "platform/fake/FakeClockWatch.h"
#include "platform/fake/FakeInstancePeers.h"
#include "platform/fake/FakePowerBackend.h"
#include "platform/fake/FakeSound.h"
#include "platform/linux/LinuxDisks.h"
#include "platform/linux/LinuxShell.h"
#include "platform/linux/SystemClock.h"

namespace quorx {

// The real clock, disks and shell, with stand-ins for what a test must not do to the machine it
// runs on: beep, suspend it, ask other instances or watch its clock.
struct MachineStandIns
{
    SystemClock clock;
    LinuxDisks disks;
    LinuxShell shell;
    FakeSound sound{clock};
    FakePowerBackend power{clock};
    FakeInstancePeers peers;
    FakeClockWatch clockWatch;

    Platform With(TimerService& timers, Processes& processes)
    {
        return Platform{&clock, &timers, &processes, &disks, &shell, &sound, &power, &peers, &clockWatch};
    }
};

} // namespace quorx
