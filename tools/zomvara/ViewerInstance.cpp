#include "ViewerInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>

#include <algorithm>

#include <unistd.h>

namespace quorx::zomvara {

namespace {

constexpr qint64 kSettleTimeoutMs = 5000; // for a first start to settle, or a running one to answer
constexpr int kConnectTimeoutMs = 500;
constexpr unsigned long kRetryPauseMs = 100;
constexpr qint64 kListenGraceMs = 2000;
const char kAcknowledgement[] = "OK\n";

} // namespace

ViewerInstance::ViewerInstance(const QString& installFolder, QObject* parent) : QObject(parent)
{
    const QString base = QDir(RuntimeFolder()).filePath(NameFor(installFolder));
    m_socketPath = base + QStringLiteral(".sock");
    m_lockPath = base + QStringLiteral(".lock");
    connect(&m_server, &QLocalServer::newConnection, this, &ViewerInstance::OnNewConnection);
}

ViewerInstance::~ViewerInstance()
{
    if (m_server.isListening())
        m_server.close();
}

QString ViewerInstance::RuntimeFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return QStringLiteral("/tmp");
}

QString ViewerInstance::NameFor(const QString& installFolder)
{
    QString folder = QFileInfo(installFolder).canonicalFilePath();
    if (folder.isEmpty())
        folder = QDir::cleanPath(QFileInfo(installFolder).absoluteFilePath());
    const QByteArray hash =
        QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    // /tmp is shared between users; the user id keeps two users' viewers apart.
    return QStringLiteral("zomvara-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

ViewerInstance::Role ViewerInstance::Settle(const QStringList& arguments, QString* error)
{
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // Staleness by process only: a viewer that has run for hours still holds its lock.
    m_lock->setStaleLockTime(0);
    QElapsedTimer elapsed;
    elapsed.start();
    QString reason;
    while (elapsed.elapsed() < kSettleTimeoutMs) {
        if (m_lock->tryLock(0))
            return BecomePrimary(error) ? Role::Primary : Role::Failed;
        if (m_lock->error() != QLockFile::LockFailedError) {
            *error = QStringLiteral("cannot create the lock file %1").arg(m_lockPath);
            return Role::Failed;
        }
        switch (HandOver(arguments, static_cast<int>(kSettleTimeoutMs - elapsed.elapsed()), &reason)) {
        case HandOverResult::Acknowledged:
            return Role::HandedOver;
        case HandOverResult::Unanswered:
            // Sending again could make the running viewer act twice on the same switches.
            *error =
                QStringLiteral("the running viewer took the switches but did not answer (%1)").arg(reason);
            return Role::Failed;
        case HandOverResult::NotConnected:
            // The holder may still be starting. A lock that long without a listener belongs to a
            // viewer that died while its process number went to another program of the same
            // name; the file lock the system drops with the process tells them apart.
            if (elapsed.elapsed() > kListenGraceMs)
                m_lock->removeStaleLockFile();
            break;
        }
        QThread::msleep(kRetryPauseMs);
    }
    *error = QStringLiteral("the running viewer does not answer (%1)").arg(reason);
    return Role::Failed;
}

bool ViewerInstance::BecomePrimary(QString* error)
{
    // We hold the lock, so a socket left here belongs to a viewer that crashed.
    QLocalServer::removeServer(m_socketPath);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(m_socketPath)) {
        if (error)
            *error = QStringLiteral("cannot listen on %1: %2").arg(m_socketPath, m_server.errorString());
        m_lock->unlock();
        return false;
    }
    return true;
}

ViewerInstance::HandOverResult ViewerInstance::HandOver(const QStringList& arguments, int timeoutMs,
                                                        QString* reason)
{
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(std::min(timeoutMs, kConnectTimeoutMs))) {
        *reason = socket.errorString();
        return HandOverResult::NotConnected;
    }
    QElapsedTimer elapsed;
    elapsed.start();
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << arguments;
    socket.write(message);
    QByteArray answer;
    while (!answer.contains('\n')) {
        const int left = timeoutMs - static_cast<int>(elapsed.elapsed());
        if (left <= 0 || !socket.waitForReadyRead(left)) {
            *reason = socket.errorString();
            return HandOverResult::Unanswered;
        }
        answer += socket.readAll();
    }
    return answer.startsWith(kAcknowledgement) ? HandOverResult::Acknowledged : HandOverResult::Unanswered;
}

void ViewerInstance::OnNewConnection()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QDataStream in(socket);
            in.startTransaction();
            QStringList arguments;
            in >> arguments;
            if (!in.commitTransaction())
                return; // the rest of the message is still on its way
            // Answer first: the sender is waiting, and acting (an exit) may end this process.
            socket->write(kAcknowledgement);
            socket->flush();
            socket->disconnectFromServer();
            Q_EMIT ArgumentsReceived(arguments);
        });
    }
}

} // namespace quorx::zomvara
