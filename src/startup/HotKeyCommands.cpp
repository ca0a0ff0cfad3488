#include "startup/HotKeyCommands.h"

#include "schedule/Settings.h"
#include "viewer/ViewerControl.h"

namespace quorx {

HotKeyCommands::HotKeyCommands(HotKeys& keys, ViewerControl& viewer, const Settings& settings,
                               Actions actions)
    : m_keys(keys), m_viewer(viewer), m_settings(settings), m_actions(std::move(actions))
{
}

HotKeyCommands::~HotKeyCommands()
{
    Uninstall();
}

HotKeys::Reach HotKeyCommands::Install()
{
    return m_keys.Install([this](HotKey key) { Run(key); });
}

void HotKeyCommands::Uninstall()
{
    if (m_keys.CurrentReach() != HotKeys::Reach::None)
        m_keys.Uninstall();
}

void HotKeyCommands::Run(HotKey key)
{
    switch (key) {
    case HotKey::ShowHide:
        if (m_actions.toggleMainWindow)
            m_actions.toggleMainWindow();
        return;
    case HotKey::Guide:
        if (m_actions.openGuide)
            m_actions.openGuide();
        return;
    case HotKey::Viewer:
        m_viewer.BringToFront(m_settings.EtatZomvara);
        return;
    }
}

} // namespace quorx
