#include "startup/SingleInstance.h"

#include "common/IniFile.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <unistd.h>

namespace quorx {
namespace {

constexpr int kDeliveryMs = 5000;

class SingleInstanceTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_root.isValid()); }

    QString Folder(const QString& name)
    {
        const QString path = m_root.filePath(name);
        QDir().mkpath(path);
        return path;
    }
    QString RuntimeFolder() const { return m_root.filePath(QStringLiteral("run")); }

    std::unique_ptr<SingleInstance> Instance(const QString& folder)
    {
        return std::make_unique<SingleInstance>(folder, QCoreApplication::applicationFilePath(),
                                                RuntimeFolder());
    }

    static QString Slot(const QString& folder)
    {
        return IniFile(folder + QStringLiteral("/Config.Ini"))
            .ReadString(QStringLiteral("CommandLine"), QStringLiteral("Commands"));
    }

    // Reads the helper's output until a line starts with prefix; the line, or empty when the
    // helper ended or stayed silent.
    static QString AwaitLine(QProcess& helper, const QString& prefix)
    {
        for (;;) {
            while (helper.canReadLine()) {
                const QString line = QString::fromUtf8(helper.readLine()).trimmed();
                if (line.startsWith(prefix))
                    return line;
            }
            if (!helper.waitForReadyRead(kDeliveryMs))
                return QString();
        }
    }

    QTemporaryDir m_root;
};

TEST_F(SingleInstanceTest, SecondInstanceOfAFolderIsRefusedAndHandsItsArgumentOver)
{
    const QString folder = Folder(QStringLiteral("prog"));
    IniFile seeded(folder + QStringLiteral("/Config.Ini"));
    seeded.WriteString(QStringLiteral("Config"), QStringLiteral("NomInstance"), QStringLiteral("Salon"));
    seeded.WriteString(QStringLiteral("CommandLine"), QStringLiteral("Commands"),
                       QStringLiteral("\"old\" x"));
    ASSERT_TRUE(seeded.Save());

    auto first = Instance(folder);
    ASSERT_EQ(first->Acquire(), SingleInstance::Role::First) << qPrintable(first->Error());
    ASSERT_TRUE(first->Listening());
    QSignalSpy received(first.get(), &SingleInstance::HandOverReceived);

    // A scheduler that has run for hours keeps its folder: only a gone holder makes a lock stale.
    QFile lock(first->LockPath());
    ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        lock.setFileTime(QDateTime::currentDateTime().addSecs(-6 * 3600), QFileDevice::FileModificationTime));
    lock.close();

    auto second = Instance(folder);
    ASSERT_EQ(second->Acquire(), SingleInstance::Role::AlreadyRunning);
    const auto result = second->HandOver(QStringLiteral("lists/week.Quorx"), nullptr);
    ASSERT_TRUE(result.delivered) << qPrintable(result.error);
    ASSERT_TRUE(received.wait(kDeliveryMs));

    // A relative argument is taken from where the second start ran, not from the first's folder.
    const QString expected =
        QDir::cleanPath(QDir::current().absoluteFilePath(QStringLiteral("lists/week.Quorx")));
    EXPECT_EQ(received.at(0).at(0).toString(), expected);
    EXPECT_EQ(Slot(folder),
              QLatin1Char('"') + QCoreApplication::applicationFilePath() + QStringLiteral("\" ") + expected);
    EXPECT_EQ(IniFile(folder + QStringLiteral("/Config.Ini"))
                  .ReadString(QStringLiteral("Config"), QStringLiteral("NomInstance")),
              QStringLiteral("Salon"));

    // The slot is read again at each wake-up: a start without argument hands over nothing.
    ASSERT_TRUE(second->HandOver(QString(), nullptr).delivered);
    ASSERT_TRUE(received.wait(kDeliveryMs));
    EXPECT_EQ(received.at(1).at(0).toString(), QString());
}

TEST_F(SingleInstanceTest, ASecondProcessHandsOverAndEndsAtOnce)
{
    const QString folder = Folder(QStringLiteral("prog"));
    auto first = Instance(folder);
    ASSERT_EQ(first->Acquire(), SingleInstance::Role::First);
    QSignalSpy received(first.get(), &SingleInstance::HandOverReceived);

    const QString elsewhere = Folder(QStringLiteral("downloads"));
    QProcess helper;
    helper.setWorkingDirectory(elsewhere);
    helper.start(QStringLiteral(QUORX_START_HELPER_PATH),
                 {folder, RuntimeFolder(), QStringLiteral("Semaine du 3.QUORX")});
    ASSERT_TRUE(helper.waitForFinished(kDeliveryMs));
    EXPECT_EQ(helper.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(helper.exitCode(), 0) << helper.readAll().constData();

    ASSERT_TRUE(received.count() > 0 || received.wait(kDeliveryMs));
    EXPECT_EQ(received.at(0).at(0).toString(), elsewhere + QStringLiteral("/Semaine du 3.QUORX"));
}

TEST_F(SingleInstanceTest, TheLockAndSocketOfACrashedInstanceAreTakenOver)
{
    const QString folder = Folder(QStringLiteral("prog"));
    QProcess helper;
    helper.start(QStringLiteral(QUORX_START_HELPER_PATH), {folder, RuntimeFolder()});
    ASSERT_EQ(AwaitLine(helper, QStringLiteral("first")), QStringLiteral("first"));

    // While it runs, it is the first instance and hand-overs reach it.
    {
        auto second = Instance(folder);
        ASSERT_EQ(second->Acquire(), SingleInstance::Role::AlreadyRunning);
        ASSERT_TRUE(second->HandOver(QStringLiteral("/srv/a.quorx"), nullptr).delivered);
        EXPECT_EQ(AwaitLine(helper, QStringLiteral("handover:")), QStringLiteral("handover:/srv/a.quorx"));
    }

    helper.kill();
    ASSERT_TRUE(helper.waitForFinished(kDeliveryMs));
    auto next = Instance(folder);
    ASSERT_TRUE(QFileInfo::exists(next->LockPath()));
    ASSERT_TRUE(QFileInfo::exists(next->ServerPath()));

    ASSERT_EQ(next->Acquire(), SingleInstance::Role::First) << qPrintable(next->Error());
    ASSERT_TRUE(next->Listening()) << qPrintable(next->Error());
    QSignalSpy received(next.get(), &SingleInstance::HandOverReceived);
    auto second = Instance(folder);
    ASSERT_EQ(second->Acquire(), SingleInstance::Role::AlreadyRunning);
    ASSERT_TRUE(second->HandOver(QStringLiteral("/srv/b.quorx"), nullptr).delivered);
    ASSERT_TRUE(received.wait(kDeliveryMs));
    EXPECT_EQ(received.at(0).at(0).toString(), QStringLiteral("/srv/b.quorx"));
}

TEST_F(SingleInstanceTest, CopiesInTwoFoldersRunSideBySide)
{
    const QString folderA = Folder(QStringLiteral("copy A"));
    const QString folderB = Folder(QStringLiteral("copy B"));
    auto a = Instance(folderA);
    auto b = Instance(folderB);
    ASSERT_EQ(a->Acquire(), SingleInstance::Role::First);
    ASSERT_EQ(b->Acquire(), SingleInstance::Role::First);
    EXPECT_NE(a->LockPath(), b->LockPath());
    EXPECT_NE(a->ServerPath(), b->ServerPath());
    QSignalSpy toA(a.get(), &SingleInstance::HandOverReceived);
    QSignalSpy toB(b.get(), &SingleInstance::HandOverReceived);

    auto secondOfB = Instance(folderB);
    ASSERT_EQ(secondOfB->Acquire(), SingleInstance::Role::AlreadyRunning);
    ASSERT_TRUE(secondOfB->HandOver(QStringLiteral("/srv/b.quorx"), nullptr).delivered);
    ASSERT_TRUE(toB.wait(kDeliveryMs));
    QCoreApplication::processEvents();
    EXPECT_EQ(toA.count(), 0);
    EXPECT_TRUE(Slot(folderA).isEmpty());
    EXPECT_EQ(toB.at(0).at(0).toString(), QStringLiteral("/srv/b.quorx"));
}

// The first instance holds its lock a moment before it listens; a second start in that moment
// waits for it rather than losing the hand-over.
TEST_F(SingleInstanceTest, ASecondStartWaitsForAFirstInstanceNotYetListening)
{
    const QString folder = Folder(QStringLiteral("prog"));
    auto first = Instance(folder);
    auto early = std::make_unique<QLockFile>(first->LockPath());
    QDir().mkpath(RuntimeFolder());
    ASSERT_TRUE(early->tryLock(0));

    FakePlatform fake;
    auto listens = fake.timers.CreateTimer(QStringLiteral("first instance ready"));
    listens->SetInterval(350);
    listens->SetHandler([&] {
        listens->SetEnabled(false);
        early.reset();
        ASSERT_EQ(first->Acquire(), SingleInstance::Role::First);
    });
    listens->SetEnabled(true);
    QSignalSpy received(first.get(), &SingleInstance::HandOverReceived);

    auto second = Instance(folder);
    ASSERT_EQ(second->Acquire(), SingleInstance::Role::AlreadyRunning);
    const auto result = second->HandOver(QStringLiteral("/srv/a.quorx"), &fake.timers);
    ASSERT_TRUE(result.delivered) << qPrintable(result.error);
    EXPECT_EQ(fake.clock.ElapsedMs(), 4 * SingleInstance::kConnectRetryMs);
    ASSERT_TRUE(received.wait(kDeliveryMs));
    EXPECT_EQ(received.at(0).at(0).toString(), QStringLiteral("/srv/a.quorx"));
}

TEST_F(SingleInstanceTest, AHandOverNobodyListensToFailsAfterItsTries)
{
    const QString folder = Folder(QStringLiteral("prog"));
    auto second = Instance(folder);
    QDir().mkpath(RuntimeFolder());
    QLockFile heldWithoutServer(second->LockPath());
    ASSERT_TRUE(heldWithoutServer.tryLock(0));
    ASSERT_EQ(second->Acquire(), SingleInstance::Role::AlreadyRunning);

    FakePlatform fake;
    const auto result = second->HandOver(QStringLiteral("/srv/a.quorx"), &fake.timers);
    EXPECT_FALSE(result.delivered);
    EXPECT_TRUE(result.error.contains(second->ServerPath())) << qPrintable(result.error);
    EXPECT_EQ(fake.clock.ElapsedMs(),
              (SingleInstance::kConnectAttempts - 1) * SingleInstance::kConnectRetryMs);
    // The slot was kept all the same, for a first instance that comes to read it.
    EXPECT_TRUE(Slot(folder).endsWith(QStringLiteral("\" /srv/a.quorx")));
}

TEST_F(SingleInstanceTest, NothingIsSentWhenTheSlotCannotBeSaved)
{
    const QString folder = Folder(QStringLiteral("prog"));
    auto first = Instance(folder);
    ASSERT_EQ(first->Acquire(), SingleInstance::Role::First);
    QSignalSpy received(first.get(), &SingleInstance::HandOverReceived);
    // Config.Ini cannot be replaced by a file, whoever runs the test.
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/config.ini")));

    auto second = Instance(folder);
    ASSERT_EQ(second->Acquire(), SingleInstance::Role::AlreadyRunning);
    const auto result = second->HandOver(QStringLiteral("/srv/a.quorx"), nullptr);
    EXPECT_FALSE(result.delivered);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_FALSE(received.wait(300));
}

TEST_F(SingleInstanceTest, UnusableRuntimeFoldersAreReportedNotFatal)
{
    const QString folder = Folder(QStringLiteral("prog"));

    // A file where the folder should be: the lock cannot be taken at all.
    const QString blocked = m_root.filePath(QStringLiteral("blocked"));
    QFile file(blocked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    SingleInstance noFolder(folder, QCoreApplication::applicationFilePath(),
                            blocked + QStringLiteral("/run"));
    EXPECT_EQ(noFolder.Acquire(), SingleInstance::Role::Unavailable);
    EXPECT_TRUE(noFolder.Error().contains(blocked)) << qPrintable(noFolder.Error());

    // A folder so deep that no socket fits in it: the lock still keeps the folder to one instance.
    const QString deep = m_root.filePath(QString(100, QLatin1Char('d')));
    SingleInstance firstDeep(folder, QCoreApplication::applicationFilePath(), deep);
    EXPECT_EQ(firstDeep.Acquire(), SingleInstance::Role::First);
    EXPECT_FALSE(firstDeep.Listening());
    EXPECT_TRUE(firstDeep.Error().contains(QStringLiteral("too long"))) << qPrintable(firstDeep.Error());
    SingleInstance secondDeep(folder, QCoreApplication::applicationFilePath(), deep);
    EXPECT_EQ(secondDeep.Acquire(), SingleInstance::Role::AlreadyRunning);
}

TEST(SingleInstanceFolder, RuntimeFolderFallsBackWhereSocketsCannotLive)
{
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
    const QString fallback = QStringLiteral("/tmp/quorx-%1").arg(::getuid());
    // "/run/user/1000/" and a name of this length leave exactly room for "/quorx-<hash>.socket".
    const QString deepest = QStringLiteral("/run/user/1000/") + QString(62, QLatin1Char('a'));
    struct Case
    {
        std::optional<QString> value; // nullopt: unset
        QString expected;
    };
    const Case cases[] = {
        {QStringLiteral("/run/user/1000"), QStringLiteral("/run/user/1000")},
        {QStringLiteral("/run/user/1000/"), QStringLiteral("/run/user/1000")},
        {std::nullopt, fallback},
        {QString(), fallback},
        {QStringLiteral("run/user/1000"), fallback},
        {deepest, deepest},
        {deepest + QLatin1Char('a'), fallback},
    };
    for (const Case& c : cases) {
        if (c.value)
            qputenv("XDG_RUNTIME_DIR", c.value->toUtf8());
        else
            qunsetenv("XDG_RUNTIME_DIR");
        const QString label = c.value.value_or(QStringLiteral("(unset)"));
        EXPECT_EQ(SingleInstance::DefaultFolder(), c.expected) << qPrintable(label);
        SingleInstance instance(QStringLiteral("/opt/quorx"), QStringLiteral("/opt/quorx/quorx"));
        EXPECT_LE(QFile::encodeName(instance.ServerPath()).size(), 107) << qPrintable(instance.ServerPath());
    }
    if (wasSet)
        qputenv("XDG_RUNTIME_DIR", saved);
    else
        qunsetenv("XDG_RUNTIME_DIR");
}

} // namespace
} // namespace quorx
