#include "TestEventLoop.h"

#include "platform/linux/LocalSocketPeers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace quorx {
namespace {

using test::EnsureApplication;

constexpr int kShortTimeoutMs = 400;

class LocalSocketPeersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        m_peers = m_dir.filePath(QStringLiteral("peers"));
        ASSERT_TRUE(QDir().mkpath(m_dir.filePath(QStringLiteral("a"))));
        ASSERT_TRUE(QDir().mkpath(m_dir.filePath(QStringLiteral("b"))));
    }

    std::unique_ptr<LocalSocketPeers> Instance(const char* folder, int timeoutMs = kShortTimeoutMs)
    {
        return std::make_unique<LocalSocketPeers>(m_dir.filePath(QLatin1String(folder)), m_peers, timeoutMs);
    }

    // A socket file nobody listens behind, as a crashed instance leaves it.
    QString MakeStaleSocket(qint64 pid)
    {
        const QString path = m_peers + QLatin1Char('/') +
                             LocalSocketPeers::SocketName(m_dir.filePath(QStringLiteral("gone")), pid);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray bytes = QFile::encodeName(path);
        std::memcpy(address.sun_path, bytes.constData(), static_cast<size_t>(bytes.size()));
        const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return bound ? path : QString();
    }

    QTemporaryDir m_dir;
    QString m_peers;
};

TEST_F(LocalSocketPeersTest, TwoInstancesAnswerEachOther)
{
    // The full deadline, which a real answer is well within even on a loaded machine.
    auto a = Instance("a", LocalSocketPeers::kAnswerTimeoutMs);
    auto b = Instance("b", LocalSocketPeers::kAnswerTimeoutMs);
    ASSERT_FALSE(a->SocketPath().isEmpty());
    ASSERT_FALSE(b->SocketPath().isEmpty());
    EXPECT_NE(a->SocketPath(), b->SocketPath());

    const struct
    {
        bool aPermits, bPermits, agree;
    } cases[] = {{true, true, true}, {true, false, false}, {false, true, false}, {false, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "a " << c.aPermits << ", b " << c.bPermits);
        int aAsked = 0, bAsked = 0;
        a->SetQueryHandler([&] { return ++aAsked, c.aPermits; });
        b->SetQueryHandler([&] { return ++bAsked, c.bPermits; });
        QElapsedTimer elapsed;
        elapsed.start();
        EXPECT_EQ(a->AllAgree(), c.agree);
        EXPECT_EQ(b->AllAgree(), c.agree);
        // Real answers, not the deadline.
        EXPECT_LT(elapsed.elapsed(), LocalSocketPeers::kAnswerTimeoutMs);
        EXPECT_GE(aAsked, 1);
        EXPECT_GE(bAsked, 1);
    }
}

TEST_F(LocalSocketPeersTest, AnInstanceWithoutHandlerAgrees)
{
    auto a = Instance("a");
    auto b = Instance("b");
    EXPECT_TRUE(a->AllAgree());
    b->SetQueryHandler([] { return false; });
    EXPECT_FALSE(a->AllAgree());
}

TEST_F(LocalSocketPeersTest, StaleSocketsCountAsAgreeingAndGoWhenTheirProcessIsGone)
{
    auto a = Instance("a", LocalSocketPeers::kAnswerTimeoutMs);
    // 4194305 is above the largest process number Linux hands out; process 1 always runs.
    const QString ofGoneProcess = MakeStaleSocket(4194305);
    const QString ofLiveProcess = MakeStaleSocket(1);
    ASSERT_FALSE(ofGoneProcess.isEmpty());
    ASSERT_FALSE(ofLiveProcess.isEmpty());

    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_TRUE(a->AllAgree());
    EXPECT_LT(elapsed.elapsed(), LocalSocketPeers::kAnswerTimeoutMs)
        << "a refused connection is not waited for";
    EXPECT_FALSE(QFile::exists(ofGoneProcess));
    // Its process may be an instance between creating its socket and listening on it.
    EXPECT_TRUE(QFile::exists(ofLiveProcess));
    EXPECT_TRUE(QFile::exists(a->SocketPath()));
}

TEST_F(LocalSocketPeersTest, ASilentInstanceCountsAsAgreeingWithoutHidingARefusal)
{
    auto a = Instance("a");
    // Listens and accepts, never answers.
    QLocalServer silent;
    ASSERT_TRUE(silent.listen(m_peers + QLatin1Char('/') +
                              LocalSocketPeers::SocketName(m_dir.filePath(QStringLiteral("mute")), 1)));

    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_TRUE(a->AllAgree());
    EXPECT_GE(elapsed.elapsed(), kShortTimeoutMs - 50);
    EXPECT_LT(elapsed.elapsed(), kShortTimeoutMs + 2000);

    auto b = Instance("b");
    b->SetQueryHandler([] { return false; });
    EXPECT_FALSE(a->AllAgree());
    EXPECT_TRUE(QFile::exists(silent.fullServerName()));
}

TEST_F(LocalSocketPeersTest, AQuestionOtherThanOursIsHungUpOn)
{
    auto a = Instance("a");
    a->SetQueryHandler([] { return false; });
    const QByteArray questions[] = {"Hello\n", QByteArray(200, 'x')};
    for (const QByteArray& question : questions) {
        QLocalSocket socket;
        socket.connectToServer(a->SocketPath());
        ASSERT_TRUE(socket.waitForConnected(1000));
        socket.write(question);
        socket.flush();
        ASSERT_TRUE(test::SpinUntil([&] { return socket.state() == QLocalSocket::UnconnectedState; }));
        EXPECT_TRUE(socket.readAll().isEmpty()) << question.left(10).toStdString();
    }
}

TEST_F(LocalSocketPeersTest, AFolderOthersCouldUseIsNotTrusted)
{
    // A link planted where the folder should be (another user would do it under /tmp).
    ASSERT_TRUE(QFile::link(m_dir.filePath(QStringLiteral("b")), m_peers));
    auto a = Instance("a");
    EXPECT_TRUE(a->SocketPath().isEmpty());
    int asked = 0;
    a->SetQueryHandler([&] { return ++asked, false; });
    EXPECT_FALSE(a->AllAgree());
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(QDir(m_dir.filePath(QStringLiteral("b"))).isEmpty());
    ASSERT_TRUE(QFile::remove(m_peers));

    // A folder of ours that others may write in is closed to them.
    ASSERT_TRUE(QDir().mkpath(m_peers));
    ASSERT_EQ(::chmod(QFile::encodeName(m_peers).constData(), 0777), 0);
    auto b = Instance("b");
    EXPECT_FALSE(b->SocketPath().isEmpty());
    struct stat info
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(m_peers).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(LocalSocketPeersFolderTest, TheFolderFollowsTheRuntimeDirectoryWithinTheSocketPathLimit)
{
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
    const QString fallback = QStringLiteral("/tmp/quorx-peers-%1").arg(::getuid());
    const struct
    {
        const char* name;
        QByteArray value; // empty: unset
        QString expected;
    } cases[] = {
        {"runtime directory", "/run/user/1000", QStringLiteral("/run/user/1000/quorx-peers")},
        {"unset", QByteArray(), fallback},
        {"relative", "run/user", fallback},
        {"too long for a socket path", "/run/" + QByteArray(90, 'd'), fallback},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.value.isEmpty())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", c.value);
        const QString folder = LocalSocketPeers::DefaultFolder();
        EXPECT_EQ(folder, c.expected);
        const QString longest =
            folder + QLatin1Char('/') + LocalSocketPeers::SocketName(QStringLiteral("/x"), 4194304);
        EXPECT_LE(QFile::encodeName(longest).size(), 107);
    }
    if (wasSet)
        qputenv("XDG_RUNTIME_DIR", saved);
    else
        qunsetenv("XDG_RUNTIME_DIR");
}

} // namespace
} // namespace quorx
