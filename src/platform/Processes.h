#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace quorx {

// How a launched program's window should first appear.
enum class ShowState { Normal, Minimised, Maximised, Hidden };

struct LaunchResult
{
    bool started = false;
    qint64 pid = 0;
    int exitCode = 0;      // when waited for
    QString error;         // the system's reason when it did not start
};

// Starting and finding processes. Arguments go as a list, never through a shell, unless the
// caller asks for the shell explicitly (after-recording command lines).
class Processes
{
public:
    virtual ~Processes() = default;
    virtual LaunchResult Launch(const QString& program, const QStringList& arguments,
                                const QString& workingFolder, ShowState show, bool waitForExit) = 0;
    // Runs a command line through /bin/sh -c and waits for it to end.
    virtual LaunchResult RunShellCommand(const QString& commandLine, const QString& workingFolder) = 0;
    // Processes whose executable is exactly this file (after resolving links).
    virtual QVector<qint64> FindByExecutable(const QString& executablePath) const = 0;
    virtual bool IsAlive(qint64 pid) const = 0;
    // Asks the process to end (SIGTERM); Kill ends it at once.
    virtual void Terminate(qint64 pid) = 0;
    virtual void Kill(qint64 pid) = 0;
    // Lower or restore this process's priority during long passes.
    virtual void SetIdlePriority(bool idle) = 0;
};

} // namespace quorx
