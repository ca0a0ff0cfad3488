#include "LaunchRecorder.h"

namespace quorx::test {

LaunchResult LaunchRecorder::Launch(const QString& program, const QStringList& arguments,
                                    const QString& workingFolder, ShowState show, bool waitForExit)
{
    m_launches.append({program, arguments});
    return m_real.Launch(program, arguments, workingFolder, show, waitForExit);
}

LaunchResult LaunchRecorder::RunShellCommand(const QString& commandLine, const QString& workingFolder)
{
    m_launches.append({QStringLiteral("/bin/sh"), {QStringLiteral("-c"), commandLine}});
    return m_real.RunShellCommand(commandLine, workingFolder);
}

QVector<qint64> LaunchRecorder::FindByExecutable(const QString& executablePath) const
{
    return m_real.FindByExecutable(executablePath);
}

bool LaunchRecorder::IsAlive(qint64 pid) const
{
    return m_real.IsAlive(pid);
}

void LaunchRecorder::Terminate(qint64 pid)
{
    m_real.Terminate(pid);
}

void LaunchRecorder::Kill(qint64 pid)
{
    m_real.Kill(pid);
}

void LaunchRecorder::SetIdlePriority(bool idle)
{
    m_real.SetIdlePriority(idle);
}

QStringList LaunchRecorder::AllArguments() const
{
    QStringList all;
    for (const Launched& l : m_launches)
        all << l.arguments;
    return all;
}

} // namespace quorx::test
