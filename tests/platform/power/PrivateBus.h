#pragma once

#include "TestEventLoop.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>

#include <memory>
#include <vector>

namespace quorx::test {

// A D-Bus daemon of our own, with nothing on it that can be started on demand, and the mocked
// services a test puts on it. Everything started here is stopped when the object goes.
class PrivateBus final
{
public:
    PrivateBus();
    ~PrivateBus();

    bool Started() const { return !m_address.isEmpty(); }
    const QString& Address() const { return m_address; }
    // A fresh client connection to the bus.
    QDBusConnection Connect();

    // Starts the D-Bus mock with these arguments, the bus given as both the system and the session
    // bus; waits until it owns serviceName.
    bool StartMock(const QStringList& arguments, const QString& serviceName);
    bool StartLogind()
    {
        return StartMock({QStringLiteral("--template"), QStringLiteral("logind")}, LogindService());
    }
    void StopMocks();

    static QString LogindService() { return QStringLiteral("org.freedesktop.login1"); }

    // A call on the bus, from the test's own connection.
    QDBusMessage Call(const QString& service, const QString& path, const QString& interface,
                      const QString& method, const QVariantList& arguments = {});
    // Mock control of the object at path: replaces a method, or emits a signal.
    bool MockAddMethod(const QString& service, const QString& path, const QString& interface,
                       const QString& method, const QString& inSignature, const QString& outSignature,
                       const QString& code);
    bool MockEmitSignal(const QString& service, const QString& path, const QString& interface,
                        const QString& name, const QString& signature, const QVariantList& arguments);

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QProcess> m_daemon;
    std::vector<std::unique_ptr<QProcess>> m_mocks;
    std::unique_ptr<QDBusConnection> m_control;
    QString m_address;
    QString m_connectionName;
    int m_connections = 0;
};

// The inhibitor locks the mocked login manager lists.
struct ListedInhibitor
{
    QString what, who, why, mode;
};
std::vector<ListedInhibitor> ListInhibitors(PrivateBus& bus);
int CountInhibitors(PrivateBus& bus, const QString& mode);

} // namespace quorx::test
