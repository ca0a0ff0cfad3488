#include "platform/linux/LinuxShell.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <chrono>
#include <functional>

namespace quorx {

// Stands in for the desktop's file manager on a private session bus.
class FileManagerStandIn : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QStringList shown;
    bool refuse = false;

public Q_SLOTS:
    void ShowItems(const QStringList& uris, const QString& startupId)
    {
        Q_UNUSED(startupId);
        shown += uris;
        if (refuse)
            sendErrorReply(QDBusError::Failed, QStringLiteral("no window available"));
    }
};

namespace {

const QString kService = QStringLiteral("org.freedesktop.FileManager1");
const QString kObjectPath = QStringLiteral("/org/freedesktop/FileManager1");

bool Eventually(const std::function<bool()>& condition, int withinMs = 5000)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(withinMs);
    while (std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents();
        if (condition())
            return true;
        QThread::msleep(10);
    }
    return condition();
}

void WriteScript(const QString& path, const QByteArray& body)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n" + body);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The openers are replaced by scripts that write down their arguments, and PATH holds nothing
// else, so nothing on the machine is opened and the gio fallback can be shown.
class LinuxShellTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_root = new QTemporaryDir;
        s_savedPath = qgetenv("PATH");
        const QString root = s_root->path();
        QDir(root).mkpath(QStringLiteral("xdg"));
        QDir(root).mkpath(QStringLiteral("gio"));
        QDir(root).mkpath(QStringLiteral("none"));
        const QByteArray log = "printf '%s\\n' \"$@\" > \"$QUORX_TEST_OPENER_LOG.part\" && "
                               "/bin/mv \"$QUORX_TEST_OPENER_LOG.part\" \"$QUORX_TEST_OPENER_LOG\"\n";
        WriteScript(root + QStringLiteral("/xdg/xdg-open"), log);
        WriteScript(root + QStringLiteral("/gio/gio"), log);
        qputenv("QUORX_TEST_OPENER_LOG", (root + QStringLiteral("/opener.log")).toUtf8());
        StartBus();
    }

    static void TearDownTestSuite()
    {
        if (s_bus) {
            QDBusConnection::disconnectFromBus(QStringLiteral("file-manager"));
            s_bus->kill();
            s_bus->waitForFinished(3000);
            delete s_bus;
            s_bus = nullptr;
        }
        qputenv("PATH", s_savedPath);
        delete s_root;
        s_root = nullptr;
    }

    static void StartBus()
    {
        const QString config = s_root->filePath(QStringLiteral("bus.conf"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN\" "
                   "\"http://www.freedesktop.org/standards/dbus/1.0/"
                   "busconfig.dtd\">\n<busconfig><type>session</type>"
                   "<listen>unix:dir=" +
                   s_root->path().toUtf8() +
                   "</listen><auth>EXTERNAL</auth>"
                   "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/><allow "
                   "eavesdrop=\"true\"/>"
                   "<allow own=\"*\"/></policy></busconfig>\n");
        file.close();
        s_bus = new QProcess;
        s_bus->start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                      QStringLiteral("--print-address")});
        if (!s_bus->waitForStarted(5000) || !s_bus->waitForReadyRead(5000)) {
            delete s_bus;
            s_bus = nullptr;
            return;
        }
        const QByteArray address = s_bus->readLine().trimmed();
        // Before anything in this process asks for the session bus, so that it is this one.
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        s_address = QString::fromUtf8(address);
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_root && s_root->isValid());
        UsePath("xdg");
        QFile::remove(Log());
        m_savedCurrent = QDir::currentPath();
        ASSERT_TRUE(m_files.isValid());
    }
    void TearDown() override { QDir::setCurrent(m_savedCurrent); }

    static void UsePath(const char* folder)
    {
        qputenv("PATH", (s_root->path() + u'/' + QLatin1String(folder)).toUtf8());
    }
    static QString Log() { return s_root->filePath(QStringLiteral("opener.log")); }
    // The arguments the opener was started with, once it has run.
    static QStringList Opened()
    {
        if (!Eventually([] { return QFile::exists(Log()); }))
            return {QStringLiteral("<opener never ran>")};
        QFile file(Log());
        file.open(QIODevice::ReadOnly);
        QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        lines.removeLast();
        QFile::remove(Log());
        return lines;
    }
    QString MakeFile(const QString& name)
    {
        const QString path = m_files.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        return path;
    }

    static inline QTemporaryDir* s_root = nullptr;
    static inline QProcess* s_bus = nullptr;
    static inline QString s_address;
    static inline QByteArray s_savedPath;
    QTemporaryDir m_files;
    QString m_savedCurrent;
    LinuxShell m_shell;
};

TEST_F(LinuxShellTest, OpenHandsFilesFoldersAndAddressesToTheOpener)
{
    const QString file = MakeFile(QStringLiteral("rec.ts"));
    MakeFile(QStringLiteral("-rf"));
    ASSERT_TRUE(QDir::setCurrent(m_files.path()));
    struct Case
    {
        const char* what;
        QString target;
        QStringList expected;
    };
    const QList<Case> cases = {
        {"file", file, {file}},
        {"folder", m_files.path(), {m_files.path()}},
        // A relative name that looks like an option goes as an absolute path.
        {"dash name", QStringLiteral("-rf"), {m_files.filePath(QStringLiteral("-rf"))}},
        {"address",
         QStringLiteral(" https://example.org/guide?day=1&q=a b "),
         {QStringLiteral("https://example.org/guide?day=1&q=a%20b")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(m_shell.Open(c.target));
        EXPECT_EQ(Opened(), c.expected);
    }

    UsePath("gio");
    EXPECT_TRUE(m_shell.Open(file));
    EXPECT_EQ(Opened(), (QStringList{QStringLiteral("open"), file}));

    UsePath("none");
    EXPECT_FALSE(m_shell.Open(file));
    UsePath("xdg");
    EXPECT_FALSE(m_shell.Open(m_files.filePath(QStringLiteral("missing.ts"))));
    EXPECT_FALSE(m_shell.Open(QStringLiteral("   ")));
    EXPECT_FALSE(QFile::exists(Log()));
}

TEST_F(LinuxShellTest, ShowInFolderWithoutAFileManagerOpensTheFolder)
{
    const QString file = MakeFile(QStringLiteral("rec.ts"));
    EXPECT_TRUE(m_shell.ShowInFolder(file));
    EXPECT_EQ(Opened(), QStringList{m_files.path()});

    EXPECT_TRUE(m_shell.ShowInFolder(m_files.filePath(QStringLiteral("gone.ts"))));
    EXPECT_EQ(Opened(), QStringList{m_files.path()});
    EXPECT_FALSE(m_shell.ShowInFolder(m_files.filePath(QStringLiteral("no/such/folder/x.ts"))));
    EXPECT_FALSE(m_shell.ShowInFolder(QString()));
}

TEST_F(LinuxShellTest, ShowInFolderAsksTheFileManagerAndFallsBackWhenItRefuses)
{
    if (!s_bus)
        GTEST_SKIP() << "no dbus-daemon to run a private session bus";
    FileManagerStandIn fileManager;
    QDBusConnection bus = QDBusConnection::connectToBus(s_address, QStringLiteral("file-manager"));
    ASSERT_TRUE(bus.isConnected());
    ASSERT_TRUE(bus.registerObject(kObjectPath, &fileManager, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus.registerService(kService));

    const QString file = MakeFile(QStringLiteral("Le film é.ts"));
    EXPECT_TRUE(m_shell.ShowInFolder(file));
    ASSERT_TRUE(Eventually([&] { return !fileManager.shown.isEmpty(); }));
    EXPECT_EQ(fileManager.shown, QStringList{QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded)});
    // The file manager took it: the folder is not opened besides.
    Eventually([] { return false; }, 300);
    EXPECT_FALSE(QFile::exists(Log()));

    fileManager.refuse = true;
    EXPECT_TRUE(m_shell.ShowInFolder(file));
    EXPECT_EQ(Opened(), QStringList{m_files.path()});
    EXPECT_EQ(fileManager.shown.size(), 2);

    bus.unregisterService(kService);
    bus.unregisterObject(kObjectPath);
}

} // namespace
} // namespace quorx

#include "LinuxShellTest.moc"
