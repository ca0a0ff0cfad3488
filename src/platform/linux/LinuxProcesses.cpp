#include "platform/linux/LinuxProcesses.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <sched.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace quorx {

namespace {

int ExitCodeOf(const QProcess& process)
{
    // A program ended by a signal reports 128 + the signal, as the shell does, so it never reads as
    // a success.
    if (process.exitStatus() == QProcess::CrashExit)
        return 128 + process.exitCode();
    return process.exitCode();
}

void Prepare(QProcess& process, const QString& workingFolder)
{
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    process.setStandardInputFile(QProcess::nullDevice());
}

bool ReadLink(const QByteArray& link, QByteArray* target)
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink(link.constData(), buffer, sizeof buffer);
    if (length <= 0 || length >= static_cast<ssize_t>(sizeof buffer))
        return false;
    *target = QByteArray(buffer, static_cast<qsizetype>(length));
    return true;
}

bool GoIdle(pid_t thread)
{
    const sched_param param{};
    return ::sched_setscheduler(thread, SCHED_IDLE, &param) == 0;
}

} // namespace

QString LinuxProcesses::ShowStateName(ShowState show)
{
    switch (show) {
    case ShowState::Minimised:
        return QStringLiteral("minimised");
    case ShowState::Maximised:
        return QStringLiteral("maximised");
    case ShowState::Hidden:
        return QStringLiteral("hidden");
    case ShowState::Normal:
        break;
    }
    return QStringLiteral("normal");
}

LaunchResult LinuxProcesses::Launch(const QString& program, const QStringList& arguments,
                                    const QString& workingFolder, ShowState show, bool waitForExit)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    Prepare(process, workingFolder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(kShowStateVariable), ShowStateName(show));
    process.setProcessEnvironment(environment);
    return Start(process, waitForExit);
}

LaunchResult LinuxProcesses::Start(QProcess& process, bool waitForExit)
{
    LaunchResult result;
    const bool lifted = LiftIdleForStart();
    if (waitForExit) {
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start();
        result.started = process.waitForStarted(-1);
        result.pid = result.started ? process.processId() : 0;
    } else {
        // Detached, so that the viewer outlives us and leaves no zombie behind.
        result.started = process.startDetached(&result.pid);
    }
    if (lifted)
        LowerAgainAfterStart();
    if (!result.started) {
        result.pid = 0;
        result.error = process.errorString();
        return result;
    }
    if (waitForExit) {
        process.waitForFinished(-1);
        result.exitCode = ExitCodeOf(process);
    }
    return result;
}

LaunchResult LinuxProcesses::RunShellCommand(const QString& commandLine, const QString& workingFolder)
{
    QProcess process;
    process.setProgram(QStringLiteral("/bin/sh"));
    process.setArguments({QStringLiteral("-c"), commandLine});
    Prepare(process, workingFolder);
    return Start(process, true);
}

QVector<qint64> LinuxProcesses::FindByExecutable(const QString& executablePath) const
{
    QVector<qint64> pids;
    const QString canonical = QFileInfo(executablePath).canonicalFilePath();
    struct stat wanted;
    if (canonical.isEmpty() || ::stat(QFile::encodeName(canonical).constData(), &wanted) != 0)
        return pids;
    const QByteArray wantedPath = QFile::encodeName(canonical);

    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric || pid <= 0)
            continue;
        const QByteArray link = "/proc/" + entry.toLatin1() + "/exe";
        QByteArray target;
        // A program whose file was replaced reads "<path> (deleted)" and is not that file any more;
        // the inode check also catches a file replaced under the same name.
        if (!ReadLink(link, &target) || target != wantedPath)
            continue;
        struct stat running;
        if (::stat(link.constData(), &running) == 0 && running.st_dev == wanted.st_dev &&
            running.st_ino == wanted.st_ino)
            pids.append(pid);
    }
    std::sort(pids.begin(), pids.end());
    return pids;
}

bool LinuxProcesses::IsAlive(qint64 pid) const
{
    if (pid <= 0)
        return false;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM)
        return false;
    // A zombie still answers kill(2) but has ended.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0 || close + 2 >= line.size())
        return true;
    const char state = line.at(close + 2);
    return state != 'Z' && state != 'X';
}

void LinuxProcesses::Terminate(qint64 pid)
{
    // 0 and negative numbers would signal whole process groups, this one included.
    if (pid > 0)
        ::kill(static_cast<pid_t>(pid), SIGTERM);
}

void LinuxProcesses::Kill(qint64 pid)
{
    if (pid > 0)
        ::kill(static_cast<pid_t>(pid), SIGKILL);
}

bool LinuxProcesses::IdleRoundTripAllowed()
{
    if (m_roundTrip < 0) {
        // A new thread inherits the caller's policy and nice value, so it answers for the caller.
        bool allowed = false;
        std::thread probe([&allowed] {
            Scheduling previous;
            previous.policy = ::sched_getscheduler(0);
            allowed = previous.policy >= 0 && ::sched_getparam(0, &previous.param) == 0 && GoIdle(0) &&
                      ::sched_setscheduler(0, previous.policy, &previous.param) == 0;
        });
        probe.join();
        m_roundTrip = allowed ? 1 : 0;
    }
    return m_roundTrip == 1;
}

void LinuxProcesses::SetIdlePriority(bool idle)
{
    QMutexLocker lock(&m_priorityMutex);
    if (idle) {
        if (m_lowered || !IdleRoundTripAllowed())
            return;
        Scheduling previous;
        previous.policy = ::sched_getscheduler(0);
        if (previous.policy < 0 || ::sched_getparam(0, &previous.param) != 0 || !GoIdle(0))
            return;
        m_lowered = true;
        m_loweredThread = ::gettid();
        m_previous = previous;
        return;
    }
    if (!m_lowered)
        return;
    ::sched_setscheduler(m_loweredThread, m_previous.policy, &m_previous.param);
    m_lowered = false;
}

bool LinuxProcesses::LiftIdleForStart()
{
    QMutexLocker lock(&m_priorityMutex);
    if (!m_lowered || m_loweredThread != ::gettid())
        return false;
    return ::sched_setscheduler(0, m_previous.policy, &m_previous.param) == 0;
}

void LinuxProcesses::LowerAgainAfterStart()
{
    QMutexLocker lock(&m_priorityMutex);
    // Unless the pass ended meanwhile.
    if (m_lowered)
        GoIdle(0);
}

} // namespace quorx
