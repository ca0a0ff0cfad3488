#include "platform/linux/ScreenSaverNudge.h"

#include <QDBusMessage>

namespace quorx {

namespace {
constexpr int kNudgeTimeoutMs = 1000;
}

bool ScreenSaverNudge::Nudge() const
{
    if (!m_bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
        QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("SimulateUserActivity"));
    // Starting a screen saver only to tell it the user is there would be wrong way round.
    call.setAutoStartService(false);
    return m_bus.call(call, QDBus::Block, kNudgeTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

} // namespace quorx
