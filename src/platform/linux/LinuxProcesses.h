#pragma once

#include "platform/Processes.h"

#include <QMutex>

#include <sched.h>
#include <sys/types.h>

class QProcess;

namespace quorx {

// Processes of this computer: started from an argument list (the shell only for command lines the
// user wrote), found through /proc, signalled with kill(2).
class LinuxProcesses final : public Processes
{
public:
    // The variable through which a launched program learns how to show its window.
    static constexpr const char* kShowStateVariable = "QUORX_SHOW_STATE";
    static QString ShowStateName(ShowState show);

    LinuxProcesses() = default;
    Q_DISABLE_COPY_MOVE(LinuxProcesses)

    LaunchResult Launch(const QString& program, const QStringList& arguments, const QString& workingFolder,
                        ShowState show, bool waitForExit) override;
    LaunchResult RunShellCommand(const QString& commandLine, const QString& workingFolder) override;
    QVector<qint64> FindByExecutable(const QString& executablePath) const override;
    bool IsAlive(qint64 pid) const override;
    void Terminate(qint64 pid) override;
    void Kill(qint64 pid) override;
    // Idle scheduling for the calling thread, and back. An unprivileged thread may leave the idle
    // policy only when RLIMIT_NICE allows its nice value, which the usual limit of 0 does not; the
    // round trip is therefore tried once on a throwaway thread, and when it cannot be undone the
    // priority is left alone rather than stuck at idle for the rest of the run.
    void SetIdlePriority(bool idle) override;

private:
    struct Scheduling
    {
        int policy = SCHED_OTHER;
        sched_param param{};
    };

    LaunchResult Start(QProcess& process, bool waitForExit);
    bool IdleRoundTripAllowed();
    // A child inherits the idle policy of the thread that starts it, and could not leave it either;
    // the starting thread is back at its normal policy for the moment of the start.
    bool LiftIdleForStart();
    void LowerAgainAfterStart();

    QMutex m_priorityMutex;
    int m_roundTrip = -1; // -1 not tried yet, 0 refused, 1 allowed
    bool m_lowered = false;
    pid_t m_loweredThread = 0;
    Scheduling m_previous;
};

} // namespace quorx
