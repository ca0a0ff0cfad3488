#pragma once

namespace quorx {

class Clock;
class TimerService;
class Processes;
class Disks;
class Shell;
class Sound;
class PowerBackend;
class InstancePeers;
class ClockWatch;

// The services the core reaches the outside world through. The program fills it with the Linux
// implementations, tests and the simulation with the fakes. Pointers are never owned here.
struct Platform
{
    Clock* clock = nullptr;
    TimerService* timers = nullptr;
    Processes* processes = nullptr;
    Disks* disks = nullptr;
    Shell* shell = nullptr;
    Sound* sound = nullptr;
    PowerBackend* power = nullptr;
    InstancePeers* peers = nullptr;
    ClockWatch* clockWatch = nullptr;
};

} // namespace quorx
