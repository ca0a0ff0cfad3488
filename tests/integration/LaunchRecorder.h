#pragma once

#include "platform/Processes.h"

#include <QStringList>
#include <QVector>

namespace quorx::test {

// The real processes, keeping a note of every program started and the arguments it was given, so
// that a test can tell what the scheduler told the viewer.
class LaunchRecorder final : public Processes
{
public:
    struct Launched
    {
        QString program;
        QStringList arguments;
    };

    explicit LaunchRecorder(Processes& real) : m_real(real) {}

    LaunchResult Launch(const QString& program, const QStringList& arguments, const QString& workingFolder,
                        ShowState show, bool waitForExit) override;
    LaunchResult RunShellCommand(const QString& commandLine, const QString& workingFolder) override;
    QVector<qint64> FindByExecutable(const QString& executablePath) const override;
    bool IsAlive(qint64 pid) const override;
    void Terminate(qint64 pid) override;
    void Kill(qint64 pid) override;
    void SetIdlePriority(bool idle) override;

    const QVector<Launched>& Launches() const { return m_launches; }
    // Every argument given so far, in order, whichever start carried it.
    QStringList AllArguments() const;

private:
    Processes& m_real;
    QVector<Launched> m_launches;
};

} // namespace quorx::test
