#pragma once

#include "platform/Platform.h"
#include "platform/fake/FakeClockWatch.h"
#include "platform/fake/FakeDisks.h"
#include "platform/fake/FakeInstancePeers.h"
#include "platform/fake/FakePowerBackend.h"
#include "platform/fake/FakeProcesses.h"
#include "platform/fake/FakeShell.h"
#include "platform/fake/FakeSound.h"
#include "platform/fake/VirtualClock.h"
#include "platform/fake/VirtualTimerService.h"

namespace quorx {

// One of each fake on one virtual clock, for a test or a simulated run. The members are public,
// named as in Platform, so that a test scripts them directly: fake.processes.SetHandler(...).
struct FakePlatform final
{
    explicit FakePlatform(DateTime start = DateTime::FromFields(2024, 1, 1));
    Q_DISABLE_COPY_MOVE(FakePlatform)

    // The view the core is given; it points into this object.
    Platform View();

    VirtualClock clock;
    VirtualTimerService timers;
    FakeProcesses processes;
    FakeDisks disks;
    FakeShell shell;
    FakeSound sound;
    FakePowerBackend power;
    FakeInstancePeers peers;
    FakeClockWatch clockWatch;
};

} // namespace quorx
