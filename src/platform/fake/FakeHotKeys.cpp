#include "platform/fake/FakeHotKeys.h"

namespace quorx {

HotKeys::Reach FakeHotKeys::Install(Handler handler)
{
    m_handler = std::move(handler);
    m_reach = m_granted == Reach::None ? Reach::Window : m_granted;
    ++m_installs;
    return m_reach;
}

void FakeHotKeys::Uninstall()
{
    m_handler = nullptr;
    m_reach = Reach::None;
}

bool FakeHotKeys::Press(HotKey key)
{
    if (m_reach == Reach::None || !m_handler)
        return false;
    m_handler(key);
    return true;
}

} // namespace quorx
