#include "cli/Simulation.h"

#include "engine/Alarm.h"
#include "engine/CommandRunner.h"
#include "platform/fake/FakePlatform.h"
#include "platform/fake/SimulatedViewer.h"
#include "power/UnattendedQuestionPresenter.h"
#include "startup/SchedulerCore.h"
#include "viewer/ViewerControl.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <vector>

namespace quorx::cli {

namespace {

struct Act
{
    DateTime when;
    quint64 sequence = 0;
    QString line;
};

class ActLog final
{
public:
    explicit ActLog(FakePlatform& fake) : m_fake(fake) {}

    // Returns the act's place, so that a question can give its answer once it has one.
    size_t Add(DateTime when, const QString& line)
    {
        DrainPower();
        return Push(when, line);
    }
    void SetLine(size_t index, const QString& line) { m_acts[index].line = line; }

    // The power backend only records its calls; they are taken in whenever another act comes.
    void DrainPower()
    {
        const QVector<FakePowerCall>& calls = m_fake.power.Calls();
        for (; m_powerSeen < calls.size(); ++m_powerSeen) {
            const FakePowerCall& call = calls[m_powerSeen];
            switch (call.op) {
            case FakePowerOp::Suspend:
            case FakePowerOp::Hibernate:
            case FakePowerOp::PowerOff:
                if (call.flag) {
                    const QString what = call.op == FakePowerOp::Suspend     ? QStringLiteral("standby")
                                         : call.op == FakePowerOp::Hibernate ? QStringLiteral("hibernate")
                                                                             : QStringLiteral("shutdown");
                    Push(call.when, QStringLiteral("power\t") + what);
                    m_lastAccepted = call.op;
                    m_acceptedPending = true;
                }
                break;
            case FakePowerOp::SetWakeTimer:
                Push(call.when, QStringLiteral("wake\t") +
                                    PowerBackend::EffectiveWakeInstant(call.instant, call.when).IsoText());
                break;
            case FakePowerOp::CancelWakeTimer:
                Push(call.when, QStringLiteral("wake\tcancel"));
                break;
            default:
                break;
            }
        }
    }

    // The power action granted since the last call, if any.
    bool TakeAccepted(FakePowerOp* op)
    {
        DrainPower();
        if (!m_acceptedPending)
            return false;
        m_acceptedPending = false;
        *op = m_lastAccepted;
        return true;
    }

    QStringList Lines()
    {
        DrainPower();
        std::stable_sort(m_acts.begin(), m_acts.end(), [](const Act& a, const Act& b) {
            const qint64 ms = DateTime::MsBetween(b.when, a.when);
            return ms != 0 ? ms < 0 : a.sequence < b.sequence;
        });
        QStringList lines;
        for (const Act& act : m_acts)
            lines << act.when.IsoText() + QLatin1Char('\t') + act.line;
        return lines;
    }

private:
    size_t Push(DateTime when, const QString& line)
    {
        m_acts.push_back({when, m_next++, line});
        return m_acts.size() - 1;
    }

    FakePlatform& m_fake;
    std::vector<Act> m_acts;
    quint64 m_next = 0;
    qsizetype m_powerSeen = 0;
    FakePowerOp m_lastAccepted = FakePowerOp::Suspend;
    bool m_acceptedPending = false;
};

// Answers as nobody at the screen does and notes each question at the moment it was put.
class RecordingPresenter final : public QuestionPresenter
{
public:
    RecordingPresenter(QuestionPresenter& inner, ActLog& log, const Clock& clock)
        : m_inner(inner), m_log(log), m_clock(clock)
    {
    }
    QuestionReply Present(const QuestionRequest& request) override
    {
        const QString number = QString::number(request.number);
        if (request.kind == QuestionKind::Inform) {
            m_log.Add(m_clock.Now(), QStringLiteral("inform\t") + number);
            return m_inner.Present(request);
        }
        const size_t at = m_log.Add(m_clock.Now(), QStringLiteral("ask\t") + number);
        const QuestionReply reply = m_inner.Present(request);
        m_log.SetLine(at, QStringLiteral("ask\t") + number +
                              (reply.yes ? QStringLiteral("\tyes") : QStringLiteral("\tno")));
        return reply;
    }

private:
    QuestionPresenter& m_inner;
    ActLog& m_log;
    const Clock& m_clock;
};

// A viewer folder of the program's own when none is configured: the simulated viewer plays it.
QString MakeViewerFolder(const QString& programFolder)
{
    const QString folder = programFolder + QStringLiteral("/Zomvara/");
    QDir().mkpath(folder);
    QFile executable(folder + QStringLiteral("zomvara"));
    if (!executable.exists() && executable.open(QIODevice::WriteOnly)) {
        executable.write("#!/bin/sh\nexit 0\n");
        executable.close();
    }
    executable.setPermissions(executable.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return folder;
}

} // namespace

bool Simulation::Run(const QString& programFolder, const SimulationOptions& options, QStringList* acts,
                     QString* error)
{
    FakePlatform fake(options.from);
    fake.power.SetAllowed(true, true);
    const Platform platform = fake.View();
    ActLog log(fake);

    {
        // The mode is checked before anything is read or written.
        VirtualClock probeClock(options.from);
        VirtualTimerService probeTimers(probeClock);
        FakeProcesses probeProcesses(probeClock);
        FakeDisks probeDisks;
        SimulatedViewer probe(probeClock, probeTimers, probeProcesses, probeDisks, QStringLiteral("/probe"));
        if (!probe.SetMode(options.viewerMode)) {
            *error = QStringLiteral("--viewer takes ok, silent or vanish=SECONDS, not \"%1\"")
                         .arg(options.viewerMode);
            return false;
        }
    }

    UnattendedQuestionPresenter unattended(fake.timers);
    RecordingPresenter presenter(unattended, log, fake.clock);
    fake.processes.SetShellHandler([&](const FakeShellCommand& command) {
        log.Add(command.when, QStringLiteral("command\t") + command.commandLine);
        return 0;
    });
    // The real-time clock's alarm survives a power-off, so a shut-down computer wakes for the next
    // recording and the program starts again with it.
    fake.power.SetAvailableWakeTimer(WakeTimerType::RtcAlarm);

    std::unique_ptr<SchedulerCore> core;
    std::unique_ptr<SimulatedViewer> viewer;
    const auto startProgram = [&]() -> bool {
        SchedulerCore::Options coreOptions;
        coreOptions.commands = std::make_unique<VirtualCommandRunner>(fake.timers, fake.processes);
        coreOptions.sounder = std::make_unique<VirtualAlarmSounder>(fake.timers, fake.sound);
        coreOptions.askViewerFolder = [&programFolder](const QString&) {
            return MakeViewerFolder(programFolder);
        };
        coreOptions.journalObserver = [&](const QString& event, const QString& program,
                                          const QString& comment, const QString& file) {
            log.Add(fake.clock.Now(),
                    QStringList{QStringLiteral("journal"), event, program, comment, file}.join(
                        QLatin1Char('\t')));
        };
        viewer.reset();
        core = std::make_unique<SchedulerCore>(programFolder, platform, presenter, std::move(coreOptions));
        // The viewer's executable is only known once the start-up found it; the first tick arms
        // timers but launches nothing before the clock runs.
        if (!core->Start()) {
            *error = core->StartError();
            return false;
        }
        viewer = std::make_unique<SimulatedViewer>(fake.clock, fake.timers, fake.processes, fake.disks,
                                                   core->Viewer().Executable());
        viewer->SetMode(options.viewerMode);
        viewer->SetRateKiBPerSecond(options.rateKiBPerSecond);
        viewer->SetLaunchObserver([&](const FakeLaunch& launch) {
            log.Add(launch.when, QStringLiteral("viewer\t") + launch.arguments.join(QLatin1Char(' ')));
        });
        return true;
    };
    if (!startProgram())
        return false;

    while (fake.clock.Now() < options.until) {
        DateTime step = fake.clock.Now().AddSeconds(1);
        if (step > options.until)
            step = options.until;
        fake.timers.RunUntil(step);
        FakePowerOp op;
        if (!log.TakeAccepted(&op))
            continue;
        const DateTime wake = fake.power.WakeTimerInstant();
        const DateTime until = wake.IsNoTime() || wake > options.until ? options.until : wake;
        if (op == FakePowerOp::PowerOff) {
            fake.power.RaisePrepareForShutdown(true);
            if (!core->Shutdown()) {
                *error = core->LastError();
                *acts = log.Lines();
                return false;
            }
            core.reset();
            for (const qint64 pid : fake.processes.RunningPids())
                fake.processes.EndProcess(pid);
            if (until > fake.clock.Now())
                fake.timers.SetNow(until);
            if (!(fake.clock.Now() < options.until))
                break;
            fake.power.RaisePrepareForShutdown(false);
            if (!startProgram()) {
                *acts = log.Lines();
                return false;
            }
            continue;
        }
        // Asleep until the wake timer, if one is set; the program's timers stand still meanwhile.
        fake.power.RaisePrepareForSleep(true);
        if (until > fake.clock.Now())
            fake.timers.SetNow(until);
        if (fake.clock.Now() < options.until)
            fake.power.RaisePrepareForSleep(false);
    }

    const bool saved = !core || core->Shutdown();
    if (!saved)
        *error = core->LastError();
    *acts = log.Lines();
    return saved;
}

} // namespace quorx::cli
