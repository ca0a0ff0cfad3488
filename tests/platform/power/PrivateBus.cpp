#include "PrivateBus.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QThread>

namespace quorx::test {

namespace {

constexpr int kStartTimeoutMs = 10000;

QString MockInterface()
{
    return QStringLiteral("org.freedesktop.DBus.Mock");
}

void Stop(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

} // namespace

PrivateBus::PrivateBus()
{
    EnsureApplication();
    m_dir = std::make_unique<QTemporaryDir>();
    if (!m_dir->isValid())
        return;
    // No service folders: nothing on this bus can be started on demand, so a missing service stays
    // missing, as on a machine without it.
    const QString config = m_dir->filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(
        QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                       " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                       "<busconfig><type>session</type><listen>unix:dir=%1</listen><auth>EXTERNAL</auth>\n"
                       "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                       "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n")
            .arg(m_dir->path())
            .toUtf8());
    file.close();

    m_daemon = std::make_unique<QProcess>();
    m_daemon->setProcessChannelMode(QProcess::SeparateChannels);
    m_daemon->start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                     QStringLiteral("--print-address=1")});
    if (!m_daemon->waitForStarted(kStartTimeoutMs))
        return;
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (!m_daemon->canReadLine() && !deadline.hasExpired())
        m_daemon->waitForReadyRead(100);
    m_address = QString::fromUtf8(m_daemon->readLine()).trimmed();
    m_connectionName = QStringLiteral("quorx-test-%1").arg(reinterpret_cast<quintptr>(this));
}

PrivateBus::~PrivateBus()
{
    StopMocks();
    m_control.reset();
    for (int i = 0; i < m_connections; ++i)
        QDBusConnection::disconnectFromBus(m_connectionName + QString::number(i));
    if (m_daemon)
        Stop(*m_daemon);
}

QDBusConnection PrivateBus::Connect()
{
    return QDBusConnection::connectToBus(m_address, m_connectionName + QString::number(m_connections++));
}

bool PrivateBus::StartMock(const QStringList& arguments, const QString& serviceName)
{
    if (!Started())
        return false;
    auto mock = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), m_address);
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    mock->setProcessEnvironment(environment);
    mock->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    mock->setStandardOutputFile(QProcess::nullDevice());
    // The Debian interpreter, which has the mock module; another python3 on PATH may not.
    mock->start(QStringLiteral("/usr/bin/python3"),
                QStringList{QStringLiteral("-m"), QStringLiteral("dbusmock")} + arguments);
    if (!mock->waitForStarted(kStartTimeoutMs))
        return false;
    QProcess* raw = mock.get();
    m_mocks.push_back(std::move(mock));
    if (!m_control)
        m_control = std::make_unique<QDBusConnection>(Connect());
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (!m_control->interface()->isServiceRegistered(serviceName).value()) {
        if (deadline.hasExpired() || raw->state() == QProcess::NotRunning)
            return false;
        QThread::msleep(20);
    }
    return true;
}

void PrivateBus::StopMocks()
{
    for (auto& mock : m_mocks)
        Stop(*mock);
    m_mocks.clear();
}

QDBusMessage PrivateBus::Call(const QString& service, const QString& path, const QString& interface,
                              const QString& method, const QVariantList& arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
    call.setArguments(arguments);
    if (!m_control)
        m_control = std::make_unique<QDBusConnection>(Connect());
    return m_control->call(call, QDBus::Block, 5000);
}

bool PrivateBus::MockAddMethod(const QString& service, const QString& path, const QString& interface,
                               const QString& method, const QString& inSignature, const QString& outSignature,
                               const QString& code)
{
    return Call(service, path, MockInterface(), QStringLiteral("AddMethod"),
                {interface, method, inSignature, outSignature, code})
               .type() == QDBusMessage::ReplyMessage;
}

bool PrivateBus::MockEmitSignal(const QString& service, const QString& path, const QString& interface,
                                const QString& name, const QString& signature, const QVariantList& arguments)
{
    return Call(service, path, MockInterface(), QStringLiteral("EmitSignal"),
                {interface, name, signature, QVariant(arguments)})
               .type() == QDBusMessage::ReplyMessage;
}

std::vector<ListedInhibitor> ListInhibitors(PrivateBus& bus)
{
    std::vector<ListedInhibitor> found;
    const QDBusMessage reply =
        bus.Call(PrivateBus::LogindService(), QStringLiteral("/org/freedesktop/login1"),
                 QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("ListInhibitors"));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return found;
    const QDBusArgument list = reply.arguments().constFirst().value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        ListedInhibitor entry;
        uint uid = 0, pid = 0;
        list.beginStructure();
        list >> entry.what >> entry.who >> entry.why >> entry.mode >> uid >> pid;
        list.endStructure();
        found.push_back(entry);
    }
    list.endArray();
    return found;
}

int CountInhibitors(PrivateBus& bus, const QString& mode)
{
    int count = 0;
    for (const ListedInhibitor& entry : ListInhibitors(bus)) {
        if (entry.mode == mode)
            ++count;
    }
    return count;
}

} // namespace quorx::test
