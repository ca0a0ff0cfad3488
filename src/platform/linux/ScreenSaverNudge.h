#pragma once

#include <QDBusConnection>

namespace quorx {

// Tells the desktop's screen saver service that the user is active, which also resets the idle
// time after which the desktop would suspend the computer.
class ScreenSaverNudge final
{
public:
    explicit ScreenSaverNudge(const QDBusConnection& sessionBus) : m_bus(sessionBus) {}

    // Whether a screen saver service took the nudge; without one nothing happens.
    bool Nudge() const;

private:
    QDBusConnection m_bus;
};

} // namespace quorx
