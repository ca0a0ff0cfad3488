#include "engine/CommandRunner.h"

#include "platform/Processes.h"
#include "platform/TimerService.h"

#include <QDeadlineTimer>
#include <QMetaObject>
#include <QThread>

namespace quorx {

ThreadCommandRunner::ThreadCommandRunner(Processes& processes) : m_processes(processes) {}

ThreadCommandRunner::~ThreadCommandRunner()
{
    // A long command must not hold up the end of the program: after a short wait the threads still
    // running are left to the process's exit, which is what ends them.
    WaitForAll(2000);
    for (auto& thread : m_threads)
        if (!thread->isFinished())
            (void)thread.release();
}

void ThreadCommandRunner::Start(const QString& commandLine, const QString& workingFolder,
                                const QString& title)
{
    ForgetFinishedThreads();
    Began();
    auto work = [processes = &m_processes, counter = Counter(), pending = m_pending,
                 context = &m_mainThreadContext, commandLine, workingFolder, title, this] {
        LaunchResult result;
        try {
            result = processes->RunShellCommand(commandLine, workingFolder);
        } catch (...) {
            result.started = false;
            result.error = QStringLiteral("exception");
        }
        if (!result.started) {
            {
                QMutexLocker lock(&pending->mutex);
                pending->failures.append({commandLine, result.error, title});
            }
            // Delivered only while the context, and so the runner, still exists.
            QMetaObject::invokeMethod(
                context, [this] { DeliverFailures(); }, Qt::QueuedConnection);
        }
        counter->fetch_sub(1);
    };
    std::unique_ptr<QThread> thread(QThread::create(std::move(work)));
    thread->start(QThread::NormalPriority);
    m_threads.push_back(std::move(thread));
}

bool ThreadCommandRunner::WaitForAll(int timeoutMs)
{
    QDeadlineTimer deadline =
        timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(timeoutMs);
    bool all = true;
    for (auto& thread : m_threads)
        all = thread->wait(deadline) && all;
    return all;
}

void ThreadCommandRunner::DeliverFailures()
{
    QVector<CommandFailure> failures;
    {
        QMutexLocker lock(&m_pending->mutex);
        failures.swap(m_pending->failures);
    }
    for (const CommandFailure& failure : failures)
        ReportFailure(failure);
}

void ThreadCommandRunner::ForgetFinishedThreads()
{
    std::erase_if(m_threads, [](const std::unique_ptr<QThread>& thread) { return thread->isFinished(); });
}

VirtualCommandRunner::VirtualCommandRunner(TimerService& timers, Processes& processes)
    : m_timers(timers), m_processes(processes)
{
}

VirtualCommandRunner::~VirtualCommandRunner() = default;

void VirtualCommandRunner::Start(const QString& commandLine, const QString& workingFolder,
                                 const QString& title)
{
    std::erase_if(m_timersInUse, [](const std::unique_ptr<Timer>& timer) { return !timer->Enabled(); });
    Began();
    m_started.append({commandLine, workingFolder});
    const LaunchResult result = m_processes.RunShellCommand(commandLine, workingFolder);
    if (!result.started) {
        Ended();
        ReportFailure({commandLine, result.error, title});
        return;
    }
    std::unique_ptr<Timer> timer = m_timers.CreateTimer(QStringLiteral("CommandThread"));
    Timer* raw = timer.get();
    raw->SetInterval(qMax(1, m_durationMs));
    raw->SetHandler([this, raw] {
        raw->SetEnabled(false);
        Ended();
    });
    raw->SetEnabled(true);
    m_timersInUse.push_back(std::move(timer));
}

} // namespace quorx
