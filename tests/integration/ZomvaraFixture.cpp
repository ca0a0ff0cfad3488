#include "ZomvaraFixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>

#include <array>
#include <cstdlib>
#include <unistd.h>

namespace quorx::test {

namespace {

QString g_runtimeFolder;

} // namespace

void ZomvaraTest::SetUpTestSuite()
{
    // A runtime folder of our own keeps these viewers' sockets apart from any other, and short
    // enough for the socket path limit.
    if (g_runtimeFolder.isEmpty()) {
        QByteArray pattern = "/tmp/qzv-XXXXXX";
        if (::mkdtemp(pattern.data()))
            g_runtimeFolder = QString::fromLocal8Bit(pattern);
    }
    qputenv("XDG_RUNTIME_DIR", g_runtimeFolder.toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

void ZomvaraTest::TearDownTestSuite()
{
    if (!g_runtimeFolder.isEmpty())
        QDir(g_runtimeFolder).removeRecursively();
    g_runtimeFolder.clear();
}

void ZomvaraTest::SetUp()
{
    m_root = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_root->isValid());
    ASSERT_FALSE(g_runtimeFolder.isEmpty());
    m_executable = Install(QStringLiteral("viewer"),
                           "[Channels]\nArte=synthetic:256\nVide=none\nBoucle=file:loop.bin\n");
    m_control = std::make_unique<ViewerControl>(m_processes, m_timers, &m_journal);
    m_control->SetExecutable(m_executable);
    m_control->SetFailureNotice([this](const QString& message) { m_notices << message; });
}

void ZomvaraTest::TearDown()
{
    for (const QString& exe : m_installed)
        for (const qint64 pid : m_processes.FindByExecutable(exe))
            m_processes.Kill(pid);
    for (const QString& exe : m_installed)
        WaitFor([&] { return m_processes.FindByExecutable(exe).isEmpty(); }, 2000);
}

QString ZomvaraTest::Path(const QString& relative) const
{
    return m_root->path() + QLatin1Char('/') + relative;
}

QString ZomvaraTest::Install(const QString& folder, const QByteArray& sources)
{
    const QString dir = Path(folder);
    QDir().mkpath(dir + QStringLiteral("/channels"));
    const QString exe = dir + QStringLiteral("/zomvara");
    EXPECT_TRUE(QFile::copy(QStringLiteral(QUORX_ZOMVARA_PATH), exe));
    QFile(exe).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile list(dir + QStringLiteral("/channels/sources.ini"));
    EXPECT_TRUE(list.open(QIODevice::WriteOnly));
    list.write(sources);
    m_installed << exe;
    return exe;
}

bool ZomvaraTest::WaitFor(const std::function<bool()>& condition, int timeoutMs)
{
    const qint64 end = m_timers.ElapsedMs() + timeoutMs;
    while (!condition()) {
        if (m_timers.ElapsedMs() > end)
            return false;
        m_timers.Wait(25);
    }
    return true;
}

void ZomvaraTest::StartViewer(ViewerControl& control, ShowState show)
{
    ASSERT_TRUE(control.LaunchViewer({}, show).started);
    ASSERT_TRUE(WaitFor([&] { return control.IsViewerRunning(); }));
    // Ready once it answers on its socket, whose name is made from its folder.
    const QString folder = QFileInfo(QFileInfo(control.Executable()).canonicalFilePath()).absolutePath();
    const QString socket =
        QStringLiteral("%1/zomvara-%2-%3.sock")
            .arg(g_runtimeFolder)
            .arg(::getuid())
            .arg(QString::fromLatin1(
                QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16)));
    ASSERT_TRUE(WaitFor([&] {
        QLocalSocket probe;
        probe.connectToServer(socket);
        return probe.waitForConnected(100);
    })) << socket.toStdString();
}

qint64 ZomvaraTest::SizeOf(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() ? info.size() : -1;
}

bool ZomvaraTest::Grows(const QString& path, int withinMs)
{
    if (!WaitFor([&] { return SizeOf(path) > 0; }, withinMs))
        return false;
    const qint64 first = SizeOf(path);
    return WaitFor([&] { return SizeOf(path) > first; }, withinMs);
}

bool ZomvaraTest::StaysStill(const QString& path, int forMs)
{
    const qint64 size = SizeOf(path);
    m_timers.Wait(forMs);
    return SizeOf(path) == size;
}

QByteArray ZomvaraTest::Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

::testing::AssertionResult ZomvaraTest::IsTransportStream(const QByteArray& data)
{
    if (data.isEmpty() || data.size() % 188 != 0)
        return ::testing::AssertionFailure() << "size " << data.size() << " is not a whole number of packets";
    std::array<int, 0x2000> last;
    last.fill(-1);
    for (qsizetype at = 0; at < data.size(); at += 188) {
        const auto* p = reinterpret_cast<const unsigned char*>(data.constData() + at);
        if (p[0] != 0x47)
            return ::testing::AssertionFailure() << "no sync byte at " << at;
        const int pid = ((p[1] & 0x1F) << 8) | p[2];
        const int counter = p[3] & 0x0F;
        if (last[pid] >= 0 && counter != ((last[pid] + 1) & 0x0F))
            return ::testing::AssertionFailure() << "continuity broken on PID " << pid << " at " << at;
        last[pid] = counter;
    }
    return ::testing::AssertionSuccess();
}

} // namespace quorx::test
