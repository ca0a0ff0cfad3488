#pragma once

#include "common/DateTime.h"
#include "platform/Processes.h"

#include <QHash>
#include <QMutex>
#include <QSet>

#include <functional>

namespace quorx {

class Clock;

// One launch as the fake saw it; pid is 0 when it did not start.
struct FakeLaunch
{
    DateTime when;
    qint64 pid = 0;
    QString program;
    QStringList arguments;
    QString workingFolder;
    ShowState show = ShowState::Normal;
    bool waitForExit = false;
};

struct FakeShellCommand
{
    DateTime when;
    QString commandLine;
    QString workingFolder;
};

struct FakeSignal
{
    DateTime when;
    qint64 pid = 0;
    bool kill = false; // SIGKILL rather than SIGTERM
};

struct FakePriorityChange
{
    DateTime when;
    bool idle = false;
};

// What a scripted program does with one launch.
struct FakeOutcome
{
    QString error;           // not empty: the launch fails with this reason
    bool keepRunning = true; // false: it ends at once, e.g. after handing its switches to a running copy
    int exitCode = 0;        // reported to a caller that waits
};

// Processes for tests and the simulation: nothing is started, every request is recorded with the
// virtual time, and tests script what the programs do. A launched program keeps running (it is
// found by its executable) until it is terminated, killed or ended by the test; a launch that is
// waited for ends at once. Handlers run without the lock held, so they may call back in.
class FakeProcesses final : public Processes
{
public:
    using LaunchHandler = std::function<FakeOutcome(const FakeLaunch&)>;
    using ShellHandler = std::function<int(const FakeShellCommand&)>;

    explicit FakeProcesses(const Clock& clock);
    Q_DISABLE_COPY_MOVE(FakeProcesses)

    LaunchResult Launch(const QString& program, const QStringList& arguments, const QString& workingFolder,
                        ShowState show, bool waitForExit) override;
    LaunchResult RunShellCommand(const QString& commandLine, const QString& workingFolder) override;
    QVector<qint64> FindByExecutable(const QString& executablePath) const override;
    bool IsAlive(qint64 pid) const override;
    void Terminate(qint64 pid) override;
    void Kill(qint64 pid) override;
    void SetIdlePriority(bool idle) override;

    // Every launch of this program fails with the reason; an empty reason lifts the failure.
    void SetLaunchFailure(const QString& program, const QString& reason);
    // Reacts to each launch of the program (its arguments); an empty handler removes it.
    void SetHandler(const QString& program, LaunchHandler handler);
    // Decides the exit code of shell command lines (0 without a handler).
    void SetShellHandler(ShellHandler handler);
    // The program stays alive on SIGTERM, as a viewer that hangs does; SIGKILL still ends it.
    void SetIgnoresTerminate(const QString& program, bool ignores);
    // A copy of the program that was running before: found, but never launched by us.
    qint64 StartRunning(const QString& program);
    // The process ends by itself.
    void EndProcess(qint64 pid);

    QVector<FakeLaunch> Launches() const;
    QVector<FakeShellCommand> ShellCommands() const;
    QVector<FakeSignal> Signals() const;
    QVector<FakePriorityChange> PriorityChanges() const;
    bool IdlePriority() const;
    QVector<qint64> RunningPids() const;
    void ClearRecords();

private:
    static QString Key(const QString& program);
    qint64 AddRunning(const QString& key);
    void InsertRunning(qint64 pid, const QString& key);
    void RemoveRunning(qint64 pid);
    void Signal(qint64 pid, bool kill);

    const Clock& m_clock;
    mutable QMutex m_mutex;
    qint64 m_nextPid = 1000;
    QHash<qint64, QString> m_running; // pid -> program key
    // The same, by program key, pids in rising order: the viewer check asks every simulated second.
    QHash<QString, QVector<qint64>> m_pidsByKey;
    mutable QString m_lastAsked;
    mutable QString m_lastAskedKey;
    QHash<QString, QString> m_failures;
    QHash<QString, LaunchHandler> m_handlers;
    QSet<QString> m_ignoreTerminate;
    ShellHandler m_shellHandler;
    QVector<FakeLaunch> m_launches;
    QVector<FakeShellCommand> m_shellCommands;
    QVector<FakeSignal> m_signals;
    QVector<FakePriorityChange> m_priorityChanges;
    bool m_idle = false;
};

} // namespace quorx
