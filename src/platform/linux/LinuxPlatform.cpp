#include "platform/linux/LinuxPlatform.h"

namespace quorx {

Platform LinuxPlatform::View()
{
    Platform view;
    view.clock = &m_clock;
    view.timers = &m_timers;
    view.processes = &m_processes;
    view.disks = &m_disks;
    view.shell = &m_shell;
    view.sound = &m_sound;
    return view;
}

} // namespace quorx
