#pragma once

#include <QMutex>
#include <QObject>
#include <QString>
#include <QVector>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class QThread;

namespace quorx {

class Processes;
class Timer;
class TimerService;

// A command line that could not be started, handed back to the main thread.
struct CommandFailure
{
    QString commandLine;
    QString reason;
    QString title; // the recording the command was run for
};

// Runs after-recording command lines without holding up the main thread, and counts the ones still
// running; the power code refuses to suspend while that count is above zero. The count goes up
// when Start is called and down when the command has ended or failed to start, whatever happens.
class CommandRunner
{
public:
    using FailureHandler = std::function<void(const CommandFailure&)>;

    virtual ~CommandRunner() = default;

    virtual void Start(const QString& commandLine, const QString& workingFolder, const QString& title) = 0;
    int Running() const { return m_running->load(); }

    // Called on the main thread for every command that could not be started.
    void SetFailureHandler(FailureHandler handler) { m_onFailure = std::move(handler); }

protected:
    void Began() { m_running->fetch_add(1); }
    void Ended() { m_running->fetch_sub(1); }
    // Shared with the workers, which may outlive the runner when the program ends mid-command.
    std::shared_ptr<std::atomic<int>> Counter() const { return m_running; }
    void ReportFailure(const CommandFailure& failure)
    {
        if (m_onFailure)
            m_onFailure(failure);
    }

private:
    std::shared_ptr<std::atomic<int>> m_running = std::make_shared<std::atomic<int>>(0);
    FailureHandler m_onFailure;
};

// The program's runner: one worker thread per command line, through Processes::RunShellCommand.
// Failures are queued to the main thread's event loop and reported there, where the journal may be
// written.
class ThreadCommandRunner final : public CommandRunner
{
public:
    explicit ThreadCommandRunner(Processes& processes);
    ~ThreadCommandRunner() override;
    Q_DISABLE_COPY_MOVE(ThreadCommandRunner)

    void Start(const QString& commandLine, const QString& workingFolder, const QString& title) override;

    // Waits for every command started so far (the program's end, tests); true when all ended in time.
    bool WaitForAll(int timeoutMs);
    // Reports the failures collected by the workers; the queued call does this by itself.
    void DeliverFailures();

private:
    void ForgetFinishedThreads();

    struct Pending
    {
        QMutex mutex;
        QVector<CommandFailure> failures;
    };

    Processes& m_processes;
    QObject m_mainThreadContext; // lives in the thread that created the runner
    std::shared_ptr<Pending> m_pending = std::make_shared<Pending>();
    std::vector<std::unique_ptr<QThread>> m_threads;
};

// For tests and the simulation: a command takes a chosen time on the virtual clock, then ends. The
// command is handed to Processes::RunShellCommand when it starts (a fake records it), so a launch
// failure scripted there is reported as in the program.
class VirtualCommandRunner final : public CommandRunner
{
public:
    VirtualCommandRunner(TimerService& timers, Processes& processes);
    ~VirtualCommandRunner() override;
    Q_DISABLE_COPY_MOVE(VirtualCommandRunner)

    void Start(const QString& commandLine, const QString& workingFolder, const QString& title) override;

    // How long the next commands run, in milliseconds (default 60 s).
    void SetDuration(int ms) { m_durationMs = ms; }

    struct Started
    {
        QString commandLine;
        QString workingFolder;
    };
    const QVector<Started>& StartedCommands() const { return m_started; }

private:
    TimerService& m_timers;
    Processes& m_processes;
    int m_durationMs = 60000;
    QVector<Started> m_started;
    std::vector<std::unique_ptr<Timer>> m_timersInUse;
};

} // namespace quorx
