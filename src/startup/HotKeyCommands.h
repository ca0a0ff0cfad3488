#pragma once

#include "platform/HotKeys.h"

#include <functional>

namespace quorx {

struct Settings;
class ViewerControl;

// What each of the program's keys does. The window gives what only it can do (showing itself,
// opening the guide); bringing the viewer forward is the viewer control's own.
class HotKeyCommands final
{
public:
    struct Actions
    {
        // The same command as the tray's show/hide entry.
        std::function<void()> toggleMainWindow;
        // Empty while the program has no guide window: the key then does nothing.
        std::function<void()> openGuide;
    };

    HotKeyCommands(HotKeys& keys, ViewerControl& viewer, const Settings& settings, Actions actions);
    ~HotKeyCommands();
    Q_DISABLE_COPY_MOVE(HotKeyCommands)

    HotKeys::Reach Install();
    // Let go of the keys when the main window goes, before the schedule is saved.
    void Uninstall();
    void Run(HotKey key);

private:
    HotKeys& m_keys;
    ViewerControl& m_viewer;
    const Settings& m_settings;
    Actions m_actions;
};

} // namespace quorx
