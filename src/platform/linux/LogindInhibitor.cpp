#include "platform/linux/LogindInhibitor.h"

#include "platform/linux/LogindBus.h"

#include <QDBusArgument>
#include <QDBusUnixFileDescriptor>
#include <QDeadlineTimer>
#include <QThread>

#include <fcntl.h>
#include <unistd.h>

namespace quorx {

namespace {

constexpr int kInhibitTimeoutMs = 3000;

struct ListedInhibitor
{
    QString what, who, why, mode;
};

// ListInhibitors answers a(ssssuu): what, who, why, mode, uid, pid.
bool IsListed(const LogindBus& bus, const ListedInhibitor& wanted, int timeoutMs)
{
    const QDBusMessage reply = bus.Call(QStringLiteral("ListInhibitors"), {}, timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    const QDBusArgument list = reply.arguments().constFirst().value<QDBusArgument>();
    if (list.currentType() != QDBusArgument::ArrayType)
        return false;
    bool found = false;
    list.beginArray();
    while (!list.atEnd()) {
        ListedInhibitor entry;
        uint uid = 0, pid = 0;
        list.beginStructure();
        list >> entry.what >> entry.who >> entry.why >> entry.mode >> uid >> pid;
        list.endStructure();
        if (entry.what == wanted.what && entry.who == wanted.who && entry.why == wanted.why &&
            entry.mode == wanted.mode)
            found = true;
    }
    list.endArray();
    return found;
}

} // namespace

bool LogindInhibitor::Take(const LogindBus& bus, const QString& why)
{
    if (Held() && why == m_why)
        return true;
    if (!bus.Connected())
        return false;
    const QDBusMessage reply =
        bus.Call(QStringLiteral("Inhibit"), {What(), Who(), why, m_mode}, kInhibitTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
        return false;
    const auto handed = qdbus_cast<QDBusUnixFileDescriptor>(reply.arguments().constFirst());
    if (!handed.isValid())
        return false;
    // The handed descriptor closes with its last copy; a duplicate of our own is kept instead.
    const int fd = ::fcntl(handed.fileDescriptor(), F_DUPFD_CLOEXEC, 0);
    if (fd < 0)
        return false;
    Release();
    m_fd = fd;
    m_why = why;
    return true;
}

void LogindInhibitor::Release()
{
    if (m_fd < 0)
        return;
    ::close(m_fd);
    m_fd = -1;
}

void LogindInhibitor::WaitUntilUnlisted(const LogindBus& bus, int timeoutMs) const
{
    if (!bus.Connected() || m_why.isNull())
        return;
    const ListedInhibitor released{What(), Who(), m_why, m_mode};
    const QDeadlineTimer deadline(timeoutMs);
    while (IsListed(bus, released, static_cast<int>(qMax<qint64>(1, deadline.remainingTime())))) {
        if (deadline.hasExpired())
            return;
        QThread::msleep(10);
    }
}

} // namespace quorx
