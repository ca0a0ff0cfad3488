#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariantList>

namespace quorx {

// Calls to the login manager's Manager object on one bus. A bus that is not connected, or on which
// no login manager runs, gives error replies at once, never an exception or a message on stderr.
class LogindBus final
{
public:
    static QString Service() { return QStringLiteral("org.freedesktop.login1"); }
    static QString ObjectPath() { return QStringLiteral("/org/freedesktop/login1"); }
    static QString ManagerInterface() { return QStringLiteral("org.freedesktop.login1.Manager"); }

    explicit LogindBus(const QDBusConnection& bus) : m_bus(bus) {}

    bool Connected() const { return m_bus.isConnected(); }
    const QDBusConnection& Connection() const { return m_bus; }
    // A blocking call that processes no events meanwhile, so that nothing runs in between.
    QDBusMessage Call(const QString& method, const QVariantList& arguments, int timeoutMs) const;

private:
    QDBusConnection m_bus;
};

} // namespace quorx
