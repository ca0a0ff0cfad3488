#pragma once

#include "platform/fake/FakePlatform.h"

#include <memory>

namespace quorx::test {

// The viewer as the fake processes play it: the first launch keeps running, later launches hand
// their switches over and end; "/Exit" ends the running one after exitDelayMs (never when
// negative), as a viewer that finishes its file first does.
class SimulatedViewer final
{
public:
    SimulatedViewer(FakePlatform& fake, const QString& executable) : m_fake(fake), m_executable(executable)
    {
        m_exitTimer = fake.timers.CreateTimer(QStringLiteral("viewer exit"));
        m_exitTimer->SetHandler([this] {
            m_exitTimer->SetEnabled(false);
            EndNow();
        });
        fake.processes.SetHandler(executable, [this](const FakeLaunch& launch) { return OnLaunch(launch); });
    }
    ~SimulatedViewer() { m_fake.processes.SetHandler(m_executable, {}); }

    void StartAlready() { m_primary = m_fake.processes.StartRunning(m_executable); }
    void EndNow()
    {
        if (m_primary)
            m_fake.processes.EndProcess(m_primary);
        m_primary = 0;
    }
    qint64 Primary() const { return m_primary; }

    int exitDelayMs = 0;

private:
    FakeOutcome OnLaunch(const FakeLaunch& launch)
    {
        FakeOutcome outcome;
        if (m_primary == 0 || !m_fake.processes.IsAlive(m_primary)) {
            m_primary = launch.pid;
            return outcome;
        }
        outcome.keepRunning = false;
        if (launch.arguments.contains(QStringLiteral("/Exit"), Qt::CaseInsensitive)) {
            if (exitDelayMs == 0) {
                EndNow();
            } else if (exitDelayMs > 0) {
                m_exitTimer->SetInterval(exitDelayMs);
                m_exitTimer->SetEnabled(true);
            }
        }
        return outcome;
    }

    FakePlatform& m_fake;
    QString m_executable;
    qint64 m_primary = 0;
    std::unique_ptr<Timer> m_exitTimer;
};

} // namespace quorx::test
