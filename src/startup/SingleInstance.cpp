#include "startup/SingleInstance.h"

#include "common/IniFile.h"
#include "common/Paths.h"
#include "platform/TimerService.h"
#include "startup/CommandLineArguments.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace quorx {

namespace {

// sun_path holds 108 bytes with the terminating zero.
constexpr qsizetype kMaxSocketPath = 107;
// "quorx-", 16 hexadecimal digits, ".socket".
constexpr qsizetype kSocketNameLength = 6 + 16 + 7;
constexpr int kConnectTimeoutMs = 1000;

QString NameStem(const QString& hash)
{
    return QStringLiteral("quorx-") + hash;
}

QString SocketFileName(const QString& hash)
{
    return NameStem(hash) + QStringLiteral(".socket");
}

QString FallbackFolder()
{
    return QStringLiteral("/tmp/quorx-%1").arg(::getuid());
}

} // namespace

SingleInstance::SingleInstance(const QString& programFolder, const QString& programPath,
                               const QString& runtimeFolder, QObject* parent)
    : QObject(parent), m_programFolder(programFolder), m_programPath(programPath),
      m_folder(runtimeFolder.isEmpty() ? DefaultFolder() : QDir::cleanPath(runtimeFolder)),
      m_hash(KeyHash(programFolder))
{
}

SingleInstance::~SingleInstance()
{
    // Closing removes the socket file and unlocking the lock file, so the next start finds neither.
    if (m_server)
        m_server->close();
}

QString SingleInstance::DefaultFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime)) {
        const QString folder = QDir::cleanPath(runtime);
        if (QFile::encodeName(folder).size() + 1 + kSocketNameLength <= kMaxSocketPath)
            return folder;
    }
    return FallbackFolder();
}

QString SingleInstance::KeyHash(const QString& programFolder)
{
    const QByteArray key = ProgramFolder::InstanceKey(programFolder).toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(16));
}

QString SingleInstance::LockPath() const
{
    return m_folder + QLatin1Char('/') + NameStem(m_hash) + QStringLiteral(".lock");
}

QString SingleInstance::ServerPath() const
{
    return m_folder + QLatin1Char('/') + SocketFileName(m_hash);
}

QString SingleInstance::ConfigIniPath() const
{
    return FindFileNoCase(m_programFolder, QStringLiteral("Config.Ini"));
}

bool SingleInstance::PrepareFolder()
{
    const QByteArray path = QFile::encodeName(m_folder);
    if (m_folder == FallbackFolder()) {
        // Anyone can create this name under /tmp first, to take our lock or listen in our place:
        // only a real folder of ours, closed to others, is used.
        if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
            m_error =
                QStringLiteral("cannot create %1: %2").arg(m_folder, QString::fromLocal8Bit(strerror(errno)));
            return false;
        }
        struct stat info = {};
        if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid() ||
            ((info.st_mode & 0077) != 0 && ::chmod(path.constData(), 0700) != 0)) {
            m_error = QStringLiteral("%1 is not a private folder of this user").arg(m_folder);
            return false;
        }
        return true;
    }
    if (!QDir().mkpath(m_folder)) {
        m_error = QStringLiteral("cannot create %1").arg(m_folder);
        return false;
    }
    return true;
}

SingleInstance::Role SingleInstance::Acquire()
{
    if (m_lock && m_lock->isLocked())
        return Role::First;
    m_error.clear();
    if (!PrepareFolder())
        return Role::Unavailable;

    m_lock = std::make_unique<QLockFile>(LockPath());
    // Only a holder that is gone makes the lock stale, however long the first instance has run.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        const QLockFile::LockError error = m_lock->error();
        m_lock.reset();
        if (error == QLockFile::LockFailedError)
            return Role::AlreadyRunning;
        m_error = QStringLiteral("cannot lock %1").arg(LockPath());
        return Role::Unavailable;
    }
    Listen();
    return Role::First;
}

bool SingleInstance::Listen()
{
    const QString path = ServerPath();
    if (QFile::encodeName(path).size() > kMaxSocketPath) {
        m_error = QStringLiteral("the socket path %1 is too long").arg(path);
        return false;
    }
    // The lock is ours, so a socket file there is what a crashed instance left behind.
    QLocalServer::removeServer(path);
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(path)) {
        m_error = QStringLiteral("cannot listen on %1: %2").arg(path, server->errorString());
        return false;
    }
    connect(server.get(), &QLocalServer::newConnection, this, &SingleInstance::AcceptConnections);
    m_server = std::move(server);
    return true;
}

bool SingleInstance::Listening() const
{
    return m_server && m_server->isListening();
}

void SingleInstance::AcceptConnections()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        socket->abort();
        socket->deleteLater();
        Q_EMIT HandOverReceived(ReadHandedOverArgument());
    }
}

QString SingleInstance::ReadHandedOverArgument() const
{
    const IniFile config(ConfigIniPath());
    const QString line = config.ReadString(QStringLiteral("CommandLine"), QStringLiteral("Commands"));
    return CommandLineArguments::ArgumentOfHandOverLine(line, m_programPath);
}

SingleInstance::HandOverResult SingleInstance::HandOver(const QString& argument, TimerService* timers)
{
    HandOverResult result;
    IniFile config(ConfigIniPath());
    config.WriteString(QStringLiteral("CommandLine"), QStringLiteral("Commands"),
                       CommandLineArguments::HandOverLine(m_programPath, argument, QDir::currentPath()));
    if (!config.Save(&result.error))
        return result;

    const int attempts = timers ? kConnectAttempts : 1;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (attempt > 0)
            timers->Wait(kConnectRetryMs);
        QLocalSocket socket;
        socket.connectToServer(ServerPath());
        if (socket.waitForConnected(kConnectTimeoutMs)) {
            socket.disconnectFromServer();
            result.delivered = true;
            return result;
        }
        result.error = QStringLiteral("the running instance does not answer on %1: %2")
                           .arg(ServerPath(), socket.errorString());
    }
    return result;
}

} // namespace quorx
