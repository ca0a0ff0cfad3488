#include "platform/linux/LocalSocketPeers.h"

#include "common/Paths.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quorx {

namespace {

const QByteArray kQuery = QByteArrayLiteral("CanStopQuorx\n");
const QByteArray kAgree = QByteArrayLiteral("agree\n");
const QByteArray kRefuse = QByteArrayLiteral("refuse\n");
constexpr qsizetype kMaxLine = 64;
// sun_path holds 108 bytes with the terminating zero.
constexpr qsizetype kMaxSocketPath = 107;
// 16 hex digits, a dash and the largest process number Linux hands out (4194304).
constexpr qsizetype kLongestName = 16 + 1 + 7;

const QRegularExpression& PeerNamePattern()
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9a-f]{16}-([0-9]{1,10})$"));
    return pattern;
}

// Another user could have made the folder first (under /tmp) to listen in our place or to have us
// connect anywhere: only a real folder of ours, closed to others, is used.
bool PrepareFolder(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info
    {
    };
    if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
        return false;
    if ((info.st_mode & 0077) != 0 && ::chmod(path.constData(), 0700) != 0)
        return false;
    return true;
}

bool IsSocketFile(const QString& path)
{
    struct stat info
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISSOCK(info.st_mode);
}

bool ProcessIsGone(qint64 pid)
{
    return pid <= 0 || pid > 0x7fffffff || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH);
}

// One question to one other instance, settled by an answer, a refused connection or the deadline.
struct PendingQuestion
{
    QString path;
    qint64 pid = 0;
    std::unique_ptr<QLocalSocket> socket;
    QByteArray received;
    bool settled = false;
    bool refused = false;
};

// The sockets of the other instances in the folder, each with a question still to ask.
std::vector<PendingQuestion> QuestionsForOthers(const QString& folder, const QString& own)
{
    std::vector<PendingQuestion> questions;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::System | QDir::Files | QDir::Hidden);
    for (const QFileInfo& entry : entries) {
        const QRegularExpressionMatch match = PeerNamePattern().match(entry.fileName());
        if (!match.hasMatch() || entry.absoluteFilePath() == own || !IsSocketFile(entry.absoluteFilePath()))
            continue;
        PendingQuestion question;
        question.path = entry.absoluteFilePath();
        question.pid = match.captured(1).toLongLong();
        questions.push_back(std::move(question));
    }
    return questions;
}

} // namespace

LocalSocketPeers::LocalSocketPeers(const QString& programFolder, const QString& peersFolder,
                                   int answerTimeoutMs)
    : m_answerTimeoutMs(answerTimeoutMs)
{
    const QString folder = peersFolder.isEmpty() ? DefaultFolder() : QDir::cleanPath(peersFolder);
    if (!PrepareFolder(folder))
        return;
    m_folder = folder;
    Listen(folder, SocketName(programFolder, QCoreApplication::applicationPid()));
}

LocalSocketPeers::~LocalSocketPeers()
{
    // Closing removes the socket file, so that the others need not find it stale.
    if (m_server)
        m_server->close();
}

QString LocalSocketPeers::DefaultFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime)) {
        const QString folder = QDir::cleanPath(runtime) + QStringLiteral("/quorx-peers");
        if (QFile::encodeName(folder).size() + 1 + kLongestName <= kMaxSocketPath)
            return folder;
    }
    return QStringLiteral("/tmp/quorx-peers-%1").arg(::getuid());
}

QString LocalSocketPeers::SocketName(const QString& programFolder, qint64 pid)
{
    const QByteArray key = ProgramFolder::InstanceKey(programFolder).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(16);
    return QString::fromLatin1(hash) + QLatin1Char('-') + QString::number(pid);
}

QString LocalSocketPeers::SocketPath() const
{
    return m_server && m_server->isListening() ? m_server->fullServerName() : QString();
}

void LocalSocketPeers::Listen(const QString& folder, const QString& name)
{
    const QString path = folder + QLatin1Char('/') + name;
    if (QFile::encodeName(path).size() > kMaxSocketPath)
        return;
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(path)) {
        // Left by an earlier process that had our number and did not close.
        if (server->serverError() != QAbstractSocket::AddressInUseError)
            return;
        QLocalServer::removeServer(path);
        if (!server->listen(path))
            return;
    }
    QLocalServer* raw = server.get();
    QObject::connect(raw, &QLocalServer::newConnection, raw, [this, raw] {
        while (QLocalSocket* socket = raw->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket,
                             [this, socket] { AnswerQuery(socket); });
            if (socket->bytesAvailable() > 0)
                AnswerQuery(socket);
        }
    });
    m_server = std::move(server);
}

void LocalSocketPeers::AnswerQuery(QLocalSocket* socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kMaxLine)
            socket->abort();
        return;
    }
    const QByteArray line = socket->readLine(kMaxLine + 1);
    if (line != kQuery) {
        socket->abort();
        return;
    }
    socket->write(ThisInstanceAgrees() ? kAgree : kRefuse);
    socket->flush();
    socket->disconnectFromServer();
}

void LocalSocketPeers::SetQueryHandler(std::function<bool()> permitted)
{
    m_permitted = std::move(permitted);
}

bool LocalSocketPeers::ThisInstanceAgrees() const
{
    return !m_permitted || m_permitted();
}

bool LocalSocketPeers::AllAgree()
{
    if (!ThisInstanceAgrees())
        return false;
    if (m_folder.isEmpty())
        return true;

    std::vector<PendingQuestion> questions = QuestionsForOthers(m_folder, SocketPath());
    if (questions.empty())
        return true;

    QEventLoop loop;
    qsizetype open = static_cast<qsizetype>(questions.size());
    auto settle = [&](PendingQuestion& question) {
        if (question.settled)
            return;
        question.settled = true;
        if (--open == 0)
            loop.quit();
    };
    for (PendingQuestion& question : questions) {
        question.socket = std::make_unique<QLocalSocket>();
        QLocalSocket* socket = question.socket.get();
        PendingQuestion* q = &question;
        QObject::connect(socket, &QLocalSocket::connected, socket, [socket] { socket->write(kQuery); });
        // An answer is one line; anything else, or the line cut short, counts as agreeing.
        auto takeAnswer = [&, socket, q] {
            if (socket->bytesAvailable() > 0)
                q->received += socket->read(kMaxLine - q->received.size());
            if (q->received.endsWith('\n') || q->received.size() >= kMaxLine) {
                q->refused = q->received == kRefuse;
                settle(*q);
            }
        };
        QObject::connect(socket, &QLocalSocket::readyRead, socket, takeAnswer);
        QObject::connect(socket, &QLocalSocket::disconnected, socket, [&, takeAnswer, q] {
            takeAnswer();
            settle(*q);
        });
        QObject::connect(socket, &QLocalSocket::errorOccurred, socket,
                         [&, takeAnswer, q](QLocalSocket::LocalSocketError error) {
                             // Nobody listens behind the file: its instance ended without closing.
                             if (error == QLocalSocket::ConnectionRefusedError && ProcessIsGone(q->pid))
                                 QFile::remove(q->path);
                             takeAnswer();
                             settle(*q);
                         });
    }
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(m_answerTimeoutMs);
    for (PendingQuestion& question : questions) {
        if (!question.settled)
            question.socket->connectToServer(question.path);
    }
    if (open > 0)
        loop.exec();

    bool everyoneAgrees = true;
    for (PendingQuestion& question : questions) {
        if (question.refused)
            everyoneAgrees = false;
        // Silence the sockets before they go, so that no handler runs on a question that is over.
        question.socket->disconnect();
        question.socket->abort();
    }
    return everyoneAgrees;
}

} // namespace quorx
