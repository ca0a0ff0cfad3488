#include "platform/linux/LogindBus.h"

#include <QDBusError>

namespace quorx {

QDBusMessage LogindBus::Call(const QString& method, const QVariantList& arguments, int timeoutMs) const
{
    QDBusMessage call = QDBusMessage::createMethodCall(Service(), ObjectPath(), ManagerInterface(), method);
    if (!m_bus.isConnected())
        return call.createErrorReply(QDBusError::Disconnected, QStringLiteral("not connected"));
    call.setArguments(arguments);
    return m_bus.call(call, QDBus::Block, timeoutMs);
}

} // namespace quorx
