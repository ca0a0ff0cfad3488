#include "platform/fake/VirtualTimer.h"

#include "platform/fake/VirtualTimerService.h"

namespace quorx {

VirtualTimer::VirtualTimer(VirtualTimerService* service, QString name)
    : Timer(std::move(name)), m_service(service)
{
}

VirtualTimer::~VirtualTimer()
{
    if (m_service)
        m_service->Unregister(this);
}

void VirtualTimer::SetInterval(int ms)
{
    m_interval = ms;
    if (m_enabled)
        Restart();
}

void VirtualTimer::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    if (enabled)
        Restart();
}

void VirtualTimer::Restart()
{
    if (!m_service)
        return;
    m_dueMs = m_service->ElapsedMs() + m_interval;
    m_armSequence = m_service->NextArmSequence();
}

} // namespace quorx
