#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace quorx {
namespace {

const QString kViewer = QStringLiteral("/opt/zomvara/Zomvara.Exe");

// The simulated viewer's pattern: the first copy keeps running, a second launch hands its switches
// over and ends at once; a hung copy ignores SIGTERM until it is killed.
TEST(FakeProcessesTest, ScriptedProgramsRunUntilEndedAndEveryRequestIsRecordedWithTheVirtualTime)
{
    FakePlatform fake(DateTime::FromFields(2024, 5, 6, 20, 0));
    FakeProcesses& processes = fake.processes;
    QStringList handedOver;
    processes.SetHandler(kViewer, [&](const FakeLaunch& launch) {
        FakeOutcome outcome;
        if (!processes.FindByExecutable(launch.program).isEmpty()) {
            handedOver += launch.arguments;
            outcome.keepRunning = false;
        }
        return outcome;
    });
    processes.SetIgnoresTerminate(kViewer, true);

    const LaunchResult first = processes.Launch(kViewer, {QStringLiteral("/CH:Arte")},
                                                QStringLiteral("/opt/zomvara"), ShowState::Minimised, false);
    ASSERT_TRUE(first.started);
    fake.timers.RunFor(5000);
    const LaunchResult second =
        processes.Launch(QStringLiteral("/opt/zomvara/./Zomvara.Exe"),
                         {QStringLiteral("/StartRecord:/rec/a.ts")}, QString(), ShowState::Normal, false);
    ASSERT_TRUE(second.started);
    EXPECT_NE(second.pid, first.pid);
    EXPECT_EQ(handedOver, QStringList{QStringLiteral("/StartRecord:/rec/a.ts")});
    EXPECT_EQ(processes.FindByExecutable(kViewer), QVector<qint64>{first.pid});
    EXPECT_FALSE(processes.IsAlive(second.pid));

    const QVector<FakeLaunch> launches = processes.Launches();
    ASSERT_EQ(launches.size(), 2);
    EXPECT_EQ(launches[0].when, DateTime::FromFields(2024, 5, 6, 20, 0));
    EXPECT_EQ(launches[0].show, ShowState::Minimised);
    EXPECT_EQ(launches[0].workingFolder, QStringLiteral("/opt/zomvara"));
    EXPECT_EQ(launches[1].when, DateTime::FromFields(2024, 5, 6, 20, 0, 5));

    processes.Terminate(first.pid);
    EXPECT_TRUE(processes.IsAlive(first.pid));
    processes.Kill(first.pid);
    EXPECT_FALSE(processes.IsAlive(first.pid));
    EXPECT_TRUE(processes.FindByExecutable(kViewer).isEmpty());
    const QVector<FakeSignal> sent = processes.Signals();
    ASSERT_EQ(sent.size(), 2);
    EXPECT_FALSE(sent[0].kill);
    EXPECT_TRUE(sent[1].kill);
}

// Several copies of two programs, written differently and ended in any order: each program's copies
// are found in the order they started, and only those still running.
TEST(FakeProcessesTest, FindsEveryRunningCopyOfAProgramInStartOrder)
{
    FakePlatform fake(DateTime::FromFields(2024, 5, 6, 20, 0));
    FakeProcesses& processes = fake.processes;
    const QString other = QStringLiteral("/usr/bin/other");
    processes.SetIgnoresTerminate(other, true);
    const qint64 a = processes.StartRunning(kViewer);
    const qint64 x = processes.StartRunning(other);
    const qint64 b =
        processes.Launch(QStringLiteral("/opt/zomvara//Zomvara.Exe"), {}, QString(), ShowState::Normal, false).pid;
    const qint64 y = processes.Launch(other, {}, QString(), ShowState::Normal, false).pid;
    const qint64 c = processes.StartRunning(QStringLiteral("/opt/zomvara/../zomvara/Zomvara.Exe"));
    EXPECT_EQ(processes.FindByExecutable(kViewer), (QVector<qint64>{a, b, c}));
    EXPECT_EQ(processes.FindByExecutable(other), (QVector<qint64>{x, y}));

    processes.Terminate(b);
    processes.Terminate(x); // ignored
    processes.EndProcess(a);
    EXPECT_EQ(processes.FindByExecutable(QStringLiteral("/opt/zomvara/./Zomvara.Exe")), QVector<qint64>{c});
    EXPECT_EQ(processes.FindByExecutable(other), (QVector<qint64>{x, y}));
    processes.Kill(y);
    processes.EndProcess(c);
    processes.EndProcess(c); // twice: nothing left to forget
    EXPECT_TRUE(processes.FindByExecutable(kViewer).isEmpty());
    EXPECT_EQ(processes.FindByExecutable(other), QVector<qint64>{x});
    const qint64 d = processes.StartRunning(kViewer);
    EXPECT_EQ(processes.FindByExecutable(kViewer), QVector<qint64>{d});
    EXPECT_EQ(processes.RunningPids(), (QVector<qint64>{x, d}));
}

TEST(FakeProcessesTest, FailuresWaitedLaunchesAndShellCommandsFollowTheScript)
{
    FakePlatform fake;
    FakeProcesses& processes = fake.processes;

    processes.SetLaunchFailure(kViewer, QStringLiteral("No such file or directory"));
    LaunchResult failed = processes.Launch(kViewer, {}, QString(), ShowState::Normal, false);
    EXPECT_FALSE(failed.started);
    EXPECT_EQ(failed.error, QStringLiteral("No such file or directory"));
    EXPECT_TRUE(processes.RunningPids().isEmpty());
    processes.SetLaunchFailure(kViewer, QString());

    processes.SetHandler(kViewer, [](const FakeLaunch& launch) {
        FakeOutcome outcome;
        if (launch.arguments.contains(QStringLiteral("/Bad")))
            outcome.error = QStringLiteral("Permission denied");
        outcome.exitCode = 7;
        return outcome;
    });
    failed = processes.Launch(kViewer, {QStringLiteral("/Bad")}, QString(), ShowState::Normal, false);
    EXPECT_FALSE(failed.started);
    EXPECT_EQ(failed.error, QStringLiteral("Permission denied"));
    EXPECT_EQ(processes.Launches().back().pid, 0);

    const LaunchResult waited = processes.Launch(kViewer, {}, QString(), ShowState::Hidden, true);
    EXPECT_TRUE(waited.started);
    EXPECT_EQ(waited.exitCode, 7);
    EXPECT_FALSE(processes.IsAlive(waited.pid));

    const qint64 before = processes.StartRunning(kViewer);
    EXPECT_EQ(processes.FindByExecutable(kViewer), QVector<qint64>{before});
    processes.EndProcess(before);
    EXPECT_FALSE(processes.IsAlive(before));

    EXPECT_EQ(processes.RunShellCommand(QStringLiteral("true"), QString()).exitCode, 0);
    processes.SetShellHandler(
        [](const FakeShellCommand& c) { return c.commandLine.startsWith(u"fail") ? 2 : 0; });
    EXPECT_EQ(processes.RunShellCommand(QStringLiteral("fail now"), QStringLiteral("/tmp")).exitCode, 2);
    ASSERT_EQ(processes.ShellCommands().size(), 2);
    EXPECT_EQ(processes.ShellCommands().back().workingFolder, QStringLiteral("/tmp"));

    processes.SetIdlePriority(true);
    EXPECT_TRUE(processes.IdlePriority());
    processes.SetIdlePriority(false);
    EXPECT_FALSE(processes.IdlePriority());
    EXPECT_EQ(processes.PriorityChanges().size(), 2);
}

// A path asked about before a drive is declared or removed belongs to the drive as it is now.
TEST(FakeDisksTest, MountPointFollowsDrivesDeclaredAfterAPathWasAsked)
{
    FakeDisks disks;
    const QString file = QStringLiteral("/media/usb/video/a.ts");
    EXPECT_EQ(disks.MountPointOf(file), QStringLiteral("/"));
    disks.SetSpace(QStringLiteral("/media/usb"), 3 * FakeDisks::kGiB, 8 * FakeDisks::kGiB);
    EXPECT_EQ(disks.MountPointOf(file), QStringLiteral("/media/usb"));
    EXPECT_EQ(disks.FreeBytes(file), 3 * FakeDisks::kGiB);
    disks.SetSpace(QStringLiteral("/media/usb/video"), FakeDisks::kGiB, 2 * FakeDisks::kGiB);
    EXPECT_EQ(disks.MountPointOf(file), QStringLiteral("/media/usb/video"));
    disks.RemoveMountPoint(QStringLiteral("/media/usb/video/"));
    EXPECT_EQ(disks.MountPointOf(file), QStringLiteral("/media/usb"));
    EXPECT_EQ(disks.MountPointOf(QStringLiteral("/media/usb/../usb2/b.ts")), QStringLiteral("/"));
}

TEST(FakeDisksTest, SpaceBelongsToTheLongestDeclaredMountPointAndFilesAreRealUnlessOverridden)
{
    FakeDisks disks;
    disks.SetSpace(QStringLiteral("/media/usb"), 3 * FakeDisks::kGiB, 16 * FakeDisks::kGiB);
    disks.SetSpace(QStringLiteral("/media/usb/inner"), 1, 2);
    disks.SetSpace(QStringLiteral("/media/gone"), -1, 0);

    struct Case
    {
        const char* path;
        const char* mount;
        qint64 freeBytes;
        qint64 totalBytes;
    };
    const Case cases[] = {
        {"/media/usb/rec/a.ts", "/media/usb", 3 * FakeDisks::kGiB, 16 * FakeDisks::kGiB},
        {"/media/usb", "/media/usb", 3 * FakeDisks::kGiB, 16 * FakeDisks::kGiB},
        {"/media/usb/inner/x", "/media/usb/inner", 1, 2},
        {"/media/usbstick/x", "/", 500 * FakeDisks::kGiB, 1000 * FakeDisks::kGiB},
        {"/media/gone/x.ts", "/media/gone", -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const QString path = QString::fromLatin1(c.path);
        EXPECT_EQ(disks.MountPointOf(path), QString::fromLatin1(c.mount));
        EXPECT_EQ(disks.FreeBytes(path), c.freeBytes);
        EXPECT_EQ(disks.TotalBytes(path), c.totalBytes);
    }
    EXPECT_EQ(disks.FreeBytes(QString()), -1);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("rec.ts"));
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(QByteArray(1234, 'x'));
    }
    EXPECT_EQ(disks.FileSize(file), 1234);
    disks.SetFileSize(file, 200 * 1024);
    EXPECT_EQ(disks.FileSize(file), 200 * 1024);
    disks.SetFileSize(file, -1);
    EXPECT_FALSE(disks.FileExists(file));
    disks.ClearFileSize(file);
    EXPECT_TRUE(disks.FileExists(file));
    EXPECT_TRUE(disks.DeleteFile(file));
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_FALSE(disks.DeleteFile(file));
    EXPECT_EQ(disks.DeletedFiles(), QStringList{file});
}

} // namespace
} // namespace quorx
