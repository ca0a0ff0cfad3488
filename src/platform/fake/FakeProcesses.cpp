#include "platform/fake/FakeProcesses.h"

#include "platform/Clock.h"

#include <QDir>

#include <algorithm>

namespace quorx {

FakeProcesses::FakeProcesses(const Clock& clock) : m_clock(clock) {}

QString FakeProcesses::Key(const QString& program)
{
    return QDir::cleanPath(program);
}

qint64 FakeProcesses::AddRunning(const QString& key)
{
    const qint64 pid = m_nextPid++;
    InsertRunning(pid, key);
    return pid;
}

void FakeProcesses::InsertRunning(qint64 pid, const QString& key)
{
    m_running.insert(pid, key);
    QVector<qint64>& pids = m_pidsByKey[key];
    pids.insert(std::lower_bound(pids.begin(), pids.end(), pid), pid);
}

void FakeProcesses::RemoveRunning(qint64 pid)
{
    const auto it = m_running.find(pid);
    if (it == m_running.end())
        return;
    const auto byKey = m_pidsByKey.find(it.value());
    if (byKey != m_pidsByKey.end()) {
        byKey->removeOne(pid);
        if (byKey->isEmpty())
            m_pidsByKey.erase(byKey);
    }
    m_running.erase(it);
}

LaunchResult FakeProcesses::Launch(const QString& program, const QStringList& arguments,
                                   const QString& workingFolder, ShowState show, bool waitForExit)
{
    const QString key = Key(program);
    QMutexLocker lock(&m_mutex);
    FakeLaunch launch{m_clock.Now(), 0, program, arguments, workingFolder, show, waitForExit};
    LaunchResult result;
    const auto failure = m_failures.constFind(key);
    if (failure != m_failures.constEnd()) {
        result.error = failure.value();
        m_launches.append(launch);
        return result;
    }
    launch.pid = m_nextPid++;
    const qsizetype index = m_launches.size();
    m_launches.append(launch);
    const LaunchHandler handler = m_handlers.value(key);

    FakeOutcome outcome;
    if (handler) {
        lock.unlock();
        outcome = handler(launch);
        lock.relock();
    }
    if (!outcome.error.isEmpty()) {
        if (index < m_launches.size() && m_launches[index].pid == launch.pid)
            m_launches[index].pid = 0;
        result.error = outcome.error;
        return result;
    }
    result.started = true;
    result.pid = launch.pid;
    if (waitForExit)
        result.exitCode = outcome.exitCode;
    else if (outcome.keepRunning)
        InsertRunning(launch.pid, key);
    return result;
}

LaunchResult FakeProcesses::RunShellCommand(const QString& commandLine, const QString& workingFolder)
{
    QMutexLocker lock(&m_mutex);
    const FakeShellCommand command{m_clock.Now(), commandLine, workingFolder};
    m_shellCommands.append(command);
    const ShellHandler handler = m_shellHandler;
    LaunchResult result;
    result.started = true;
    result.pid = m_nextPid++;
    lock.unlock();
    if (handler)
        result.exitCode = handler(command);
    return result;
}

QVector<qint64> FakeProcesses::FindByExecutable(const QString& executablePath) const
{
    QMutexLocker lock(&m_mutex);
    // The viewer check asks once a simulated second with the same path: clean it once.
    if (executablePath != m_lastAsked) {
        m_lastAsked = executablePath;
        m_lastAskedKey = Key(executablePath);
    }
    return m_pidsByKey.value(m_lastAskedKey);
}

bool FakeProcesses::IsAlive(qint64 pid) const
{
    QMutexLocker lock(&m_mutex);
    return m_running.contains(pid);
}

void FakeProcesses::Signal(qint64 pid, bool kill)
{
    QMutexLocker lock(&m_mutex);
    m_signals.append(FakeSignal{m_clock.Now(), pid, kill});
    const auto it = m_running.constFind(pid);
    if (it == m_running.constEnd())
        return;
    if (kill || !m_ignoreTerminate.contains(it.value()))
        RemoveRunning(pid);
}

void FakeProcesses::Terminate(qint64 pid)
{
    Signal(pid, false);
}

void FakeProcesses::Kill(qint64 pid)
{
    Signal(pid, true);
}

void FakeProcesses::SetIdlePriority(bool idle)
{
    QMutexLocker lock(&m_mutex);
    m_idle = idle;
    m_priorityChanges.append(FakePriorityChange{m_clock.Now(), idle});
}

void FakeProcesses::SetLaunchFailure(const QString& program, const QString& reason)
{
    QMutexLocker lock(&m_mutex);
    if (reason.isEmpty())
        m_failures.remove(Key(program));
    else
        m_failures.insert(Key(program), reason);
}

void FakeProcesses::SetHandler(const QString& program, LaunchHandler handler)
{
    QMutexLocker lock(&m_mutex);
    if (handler)
        m_handlers.insert(Key(program), std::move(handler));
    else
        m_handlers.remove(Key(program));
}

void FakeProcesses::SetShellHandler(ShellHandler handler)
{
    QMutexLocker lock(&m_mutex);
    m_shellHandler = std::move(handler);
}

void FakeProcesses::SetIgnoresTerminate(const QString& program, bool ignores)
{
    QMutexLocker lock(&m_mutex);
    if (ignores)
        m_ignoreTerminate.insert(Key(program));
    else
        m_ignoreTerminate.remove(Key(program));
}

qint64 FakeProcesses::StartRunning(const QString& program)
{
    QMutexLocker lock(&m_mutex);
    return AddRunning(Key(program));
}

void FakeProcesses::EndProcess(qint64 pid)
{
    QMutexLocker lock(&m_mutex);
    RemoveRunning(pid);
}

QVector<FakeLaunch> FakeProcesses::Launches() const
{
    QMutexLocker lock(&m_mutex);
    return m_launches;
}

QVector<FakeShellCommand> FakeProcesses::ShellCommands() const
{
    QMutexLocker lock(&m_mutex);
    return m_shellCommands;
}

QVector<FakeSignal> FakeProcesses::Signals() const
{
    QMutexLocker lock(&m_mutex);
    return m_signals;
}

QVector<FakePriorityChange> FakeProcesses::PriorityChanges() const
{
    QMutexLocker lock(&m_mutex);
    return m_priorityChanges;
}

bool FakeProcesses::IdlePriority() const
{
    QMutexLocker lock(&m_mutex);
    return m_idle;
}

QVector<qint64> FakeProcesses::RunningPids() const
{
    QMutexLocker lock(&m_mutex);
    QVector<qint64> pids = m_running.keys().toVector();
    std::sort(pids.begin(), pids.end());
    return pids;
}

void FakeProcesses::ClearRecords()
{
    QMutexLocker lock(&m_mutex);
    m_launches.clear();
    m_shellCommands.clear();
    m_signals.clear();
    m_priorityChanges.clear();
}

} // namespace quorx
