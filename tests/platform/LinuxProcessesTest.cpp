#include "platform/linux/LinuxProcesses.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <chrono>
#include <functional>
#include <iostream>
#include <sched.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorx {
namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Effects of other processes take a moment to show; this polls for them for a few seconds.
bool Eventually(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition())
            return true;
        QThread::msleep(10);
    }
    return condition();
}

qint64 ParentOf(qint64 pid)
{
    const QByteArray stat = ReadAll(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0)
        return -1;
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() : -1;
}

int CurrentPolicy()
{
    return ::sched_getscheduler(0);
}

struct LinuxProcessesTest : ::testing::Test
{
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    void TearDown() override
    {
        for (qint64 pid : started)
            processes.Kill(pid);
    }
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    LinuxProcesses processes;
    QVector<qint64> started;
};

TEST_F(LinuxProcessesTest, LaunchReportsTheExitCodeOrTheSystemsReason)
{
    struct Case
    {
        const char* what;
        QString program;
        QString folder;
        bool wait;
        bool started;
        int exitCode;
        const char* reason;
    };
    const Case cases[] = {
        {"true, waited", QStringLiteral("/bin/true"), QString(), true, true, 0, nullptr},
        {"false, waited", QStringLiteral("/bin/false"), QString(), true, true, 1, nullptr},
        {"true, detached", QStringLiteral("/bin/true"), QString(), false, true, 0, nullptr},
        {"missing, waited", QStringLiteral("/nonexistent/Zomvara.Exe"), QString(), true, false, 0,
         "No such file or directory"},
        {"missing, detached", QStringLiteral("/nonexistent/Zomvara.Exe"), QString(), false, false, 0,
         "No such file or directory"},
        {"missing folder, waited", QStringLiteral("/bin/true"), QStringLiteral("/nonexistent/dir"), true,
         false, 0, "No such file or directory"},
        {"missing folder, detached", QStringLiteral("/bin/true"), QStringLiteral("/nonexistent/dir"), false,
         false, 0, "No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const LaunchResult result = processes.Launch(c.program, {}, c.folder, ShowState::Normal, c.wait);
        EXPECT_EQ(result.started, c.started);
        if (c.started) {
            EXPECT_GT(result.pid, 0);
            EXPECT_EQ(result.exitCode, c.exitCode);
            EXPECT_TRUE(result.error.isEmpty());
        } else {
            EXPECT_TRUE(result.error.contains(QLatin1String(c.reason))) << result.error.toStdString();
        }
    }
}

// Arguments go to the program as they are, never through a shell; the folder and the show state
// reach it too.
TEST_F(LinuxProcessesTest, ArgumentsFolderAndShowStateReachTheProgramIntact)
{
    const QStringList arguments = {QStringLiteral("/CH:Arte HD"),
                                   QStringLiteral("/StartRecord:/rec/\"Le film\".ts"), QStringLiteral("it's"),
                                   QStringLiteral("$HOME `id` ; rm -rf x"), QString()};
    const QString script = QStringLiteral("printf '%s\\n' \"$PWD\" \"$QUORX_SHOW_STATE\" \"$@\" > out");
    struct Case
    {
        ShowState show;
        const char* name;
    };
    const Case cases[] = {{ShowState::Normal, "normal"},
                          {ShowState::Minimised, "minimised"},
                          {ShowState::Maximised, "maximised"},
                          {ShowState::Hidden, "hidden"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(Path("out"));
        const LaunchResult result =
            processes.Launch(QStringLiteral("/bin/sh"),
                             QStringList{QStringLiteral("-c"), script, QStringLiteral("sh")} + arguments,
                             dir.path(), c.show, true);
        ASSERT_TRUE(result.started) << result.error.toStdString();
        const QString expected =
            QStringList{QDir(dir.path()).canonicalPath(), QString::fromLatin1(c.name)}.join(u'\n') + u'\n' +
            arguments.join(u'\n') + u'\n';
        EXPECT_EQ(QString::fromUtf8(ReadAll(Path("out"))), expected);
    }
}

TEST_F(LinuxProcessesTest, ADetachedProgramOutlivesUsAndEndsOnTerminateOrKill)
{
    const LaunchResult sleeper = processes.Launch(QStringLiteral("/bin/sleep"), {QStringLiteral("30")},
                                                  QString(), ShowState::Normal, false);
    ASSERT_TRUE(sleeper.started);
    started << sleeper.pid;
    EXPECT_TRUE(processes.IsAlive(sleeper.pid));
    // Not our child: it is not ended, nor left a zombie, with us.
    EXPECT_NE(ParentOf(sleeper.pid), qint64(::getpid()));
    processes.Terminate(sleeper.pid);
    EXPECT_TRUE(Eventually([&] { return !processes.IsAlive(sleeper.pid); }));

    // A program that ignores SIGTERM ends only on SIGKILL.
    const LaunchResult stubborn = processes.Launch(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QStringLiteral("trap '' TERM; touch ready; while :; do sleep 1; done")},
        dir.path(), ShowState::Normal, false);
    ASSERT_TRUE(stubborn.started);
    started << stubborn.pid;
    ASSERT_TRUE(Eventually([&] { return QFile::exists(Path("ready")); }));
    processes.Terminate(stubborn.pid);
    QThread::msleep(200);
    EXPECT_TRUE(processes.IsAlive(stubborn.pid));
    processes.Kill(stubborn.pid);
    EXPECT_TRUE(Eventually([&] { return !processes.IsAlive(stubborn.pid); }));
}

// The viewer is recognised by its file, not its name: another copy of the same program elsewhere,
// or the old file of a program replaced since, is not it.
TEST_F(LinuxProcessesTest, FindByExecutableMatchesTheVeryFileOnly)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("a")) && QDir(dir.path()).mkpath(QStringLiteral("b")));
    const QString mine = Path("a/sleep");
    const QString other = Path("b/sleep");
    ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), mine));
    ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), other));
    ASSERT_TRUE(QFile::link(mine, Path("link-to-sleep")));

    const LaunchResult run =
        processes.Launch(mine, {QStringLiteral("30")}, QString(), ShowState::Normal, false);
    ASSERT_TRUE(run.started) << run.error.toStdString();
    started << run.pid;
    ASSERT_TRUE(Eventually([&] { return processes.FindByExecutable(mine).contains(run.pid); }));
    EXPECT_EQ(processes.FindByExecutable(mine), QVector<qint64>{run.pid});
    EXPECT_EQ(processes.FindByExecutable(Path("a/../a/sleep")), QVector<qint64>{run.pid});
    EXPECT_EQ(processes.FindByExecutable(Path("link-to-sleep")), QVector<qint64>{run.pid});
    EXPECT_TRUE(processes.FindByExecutable(other).isEmpty());
    EXPECT_TRUE(processes.FindByExecutable(Path("missing")).isEmpty());
    EXPECT_FALSE(processes.FindByExecutable(QStringLiteral("/bin/sleep")).contains(run.pid));

    // Replaced under the same name: the running program is the deleted file.
    ASSERT_TRUE(QFile::remove(mine));
    EXPECT_TRUE(processes.FindByExecutable(other).isEmpty());
    ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), mine));
    EXPECT_TRUE(processes.FindByExecutable(mine).isEmpty());
    EXPECT_TRUE(processes.IsAlive(run.pid));
}

TEST_F(LinuxProcessesTest, ShellCommandsReportTheirExitCodeAndKeepTheirQuoting)
{
    struct Case
    {
        const char* line;
        int exitCode;
    };
    const Case cases[] = {
        {"exit 0", 0},
        {"exit 3", 3},
        {"false", 1},
        {"no-such-command-here 2>/dev/null", 127},
        // Ended by a signal: reported as the shell does, never as success.
        {"kill -TERM $$", 128 + SIGTERM},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const LaunchResult result = processes.RunShellCommand(QString::fromLatin1(c.line), QString());
        ASSERT_TRUE(result.started);
        EXPECT_EQ(result.exitCode, c.exitCode);
    }

    const LaunchResult quoted = processes.RunShellCommand(
        QStringLiteral("printf '%s|' \"a  b\" 'c\"d' \"it's\" 'é ü' > out"), dir.path());
    ASSERT_TRUE(quoted.started);
    EXPECT_EQ(quoted.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(ReadAll(Path("out"))), QStringLiteral("a  b|c\"d|it's|é ü|"));
}

// 0 and negative numbers would reach whole process groups; they must reach nobody. Run in a child
// of its own session, so that a fault could only end that child.
TEST_F(LinuxProcessesTest, NonPositivePidsAreNeverSignalled)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::setsid();
        LinuxProcesses p;
        p.Terminate(0);
        p.Kill(0);
        p.Terminate(-::getpid());
        const bool alive = p.IsAlive(0) || p.IsAlive(-1);
        ::_exit(alive ? 3 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(LinuxProcessesTest, IdlePriorityRoundTripAndLaunchesKeepTheNormalPolicy)
{
    ASSERT_EQ(CurrentPolicy(), SCHED_OTHER);
    processes.SetIdlePriority(true);
    const int during = CurrentPolicy();
    // A viewer started during a long pass must not inherit the idle policy, waited for or not.
    const QString script =
        QStringLiteral("cut -d' ' -f41 /proc/$$/stat > policy.part && mv policy.part policy");
    const LaunchResult waited = processes.Launch(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script},
                                                 dir.path(), ShowState::Normal, true);
    const QByteArray waitedPolicy = ReadAll(Path("policy")).trimmed();
    QFile::remove(Path("policy"));
    const LaunchResult detached = processes.Launch(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script},
                                                   dir.path(), ShowState::Normal, false);
    const int afterLaunches = CurrentPolicy();
    processes.SetIdlePriority(false);
    EXPECT_EQ(CurrentPolicy(), SCHED_OTHER);
    if (::geteuid() == 0) {
        EXPECT_EQ(during, SCHED_IDLE);
        EXPECT_EQ(afterLaunches, SCHED_IDLE);
    }
    ASSERT_TRUE(waited.started && detached.started);
    EXPECT_EQ(waitedPolicy, QByteArray::number(SCHED_OTHER));
    ASSERT_TRUE(Eventually([&] { return QFile::exists(Path("policy")); }));
    EXPECT_EQ(ReadAll(Path("policy")).trimmed(), QByteArray::number(SCHED_OTHER));

    // Restoring twice, or without lowering, changes nothing.
    processes.SetIdlePriority(false);
    EXPECT_EQ(CurrentPolicy(), SCHED_OTHER);
}

// An unprivileged user may leave the idle policy only as far as RLIMIT_NICE allows; with the usual
// limit of 0 the priority must be left alone rather than stuck at idle.
TEST_F(LinuxProcessesTest, WithoutTheRightToComeBackThePriorityIsLeftAlone)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to set up an unprivileged child with a chosen RLIMIT_NICE";
    struct Case
    {
        rlim_t niceLimit;
        int during;
    };
    rlimit hard{};
    ::getrlimit(RLIMIT_NICE, &hard);
    for (const Case& c : {Case{0, SCHED_OTHER}, Case{20, SCHED_IDLE}}) {
        SCOPED_TRACE(c.niceLimit);
        // Raising the hard limit needs CAP_SYS_RESOURCE, which containers often lack.
        if (c.niceLimit > hard.rlim_max && hard.rlim_max != RLIM_INFINITY) {
            std::cout << "RLIMIT_NICE " << c.niceLimit << " not available here (hard limit " << hard.rlim_max
                      << "); case left out\n";
            continue;
        }
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const rlimit limit{c.niceLimit, c.niceLimit};
            if (::setrlimit(RLIMIT_NICE, &limit) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(255);
            LinuxProcesses p;
            p.SetIdlePriority(true);
            const int during = CurrentPolicy();
            p.SetIdlePriority(false);
            ::_exit(during | (CurrentPolicy() << 4));
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        ASSERT_NE(WEXITSTATUS(status), 255) << "could not drop privileges";
        EXPECT_EQ(WEXITSTATUS(status) & 0xf, c.during);
        EXPECT_EQ(WEXITSTATUS(status) >> 4, SCHED_OTHER);
    }
}

} // namespace
} // namespace quorx
