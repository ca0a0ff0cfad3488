#include "platform/fake/FakePlatform.h"

namespace quorx {

FakePlatform::FakePlatform(DateTime start)
    : clock(start), timers(clock), processes(clock), shell(clock), sound(clock), power(clock)
{
}

Platform FakePlatform::View()
{
    Platform view;
    view.clock = &clock;
    view.timers = &timers;
    view.processes = &processes;
    view.disks = &disks;
    view.shell = &shell;
    view.sound = &sound;
    view.power = &power;
    view.peers = &peers;
    view.clockWatch = &clockWatch;
    return view;
}

} // namespace quorx
