#include "startup/SchedulerCore.h"

#include "channels/ChannelPreferenceStore.h"
#include "common/IniFile.h"
#include "common/JournalSink.h"
#include "engine/AfterRecording.h"
#include "engine/Alarm.h"
#include "engine/CommandRunner.h"
#include "engine/FreeSpaceWatch.h"
#include "engine/JournalWriter.h"
#include "engine/MergeAdjacent.h"
#include "engine/RecordingEngine.h"
#include "engine/ScheduleEngine.h"
#include "engine/ViewerSchedulerImport.h"
#include "platform/Clock.h"
#include "platform/ClockWatch.h"
#include "power/OneSecondClock.h"
#include "power/PowerManager.h"
#include "power/Questions.h"
#include "schedule/ScheduleStore.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"
#include "schedule/SettingsStore.h"
#include "viewer/ManualStop.h"
#include "viewer/ViewerControl.h"
#include "viewer/ViewerLocator.h"
#include "viewer/ViewerSetup.h"

#include <QFileInfo>

namespace quorx {

namespace {

// Every part writes its events through this, so that an observer sees each one as it is written.
class ObservedJournal final : public JournalSink
{
public:
    ObservedJournal(JournalWriter& writer, SchedulerCore::Options& options)
        : m_writer(writer), m_options(options)
    {
    }
    void WriteJournalEvent(const QString& event, const QString& program, const QString& comment,
                           const QString& file) override
    {
        m_writer.WriteJournalEvent(event, program, comment, file);
        if (m_options.journalObserver)
            m_options.journalObserver(event, program, comment, file);
    }

private:
    JournalWriter& m_writer;
    SchedulerCore::Options& m_options;
};

} // namespace

SchedulerCore::Options::Options() = default;
SchedulerCore::Options::~Options() = default;
SchedulerCore::Options::Options(Options&&) noexcept = default;
SchedulerCore::Options& SchedulerCore::Options::operator=(Options&&) noexcept = default;

struct SchedulerCore::Parts
{
    Parts(const QString& folder, const Platform& platform, QuestionPresenter& presenter, Options opts)
        : options(std::move(opts)), writer(folder, *platform.clock, settings), journal(writer, options),
          schedule(table, settings, platform),
          questions(presenter, settings, platform, SettingsStore::FilePath(folder)),
          viewer(*platform.processes, *platform.timers, &journal),
          engine(table, settings, schedule, platform, viewer, questions, &journal, folder),
          manualStop(*platform.clock, *platform.timers, viewer, &journal,
                     ManualStop::Schedule{
                         [this] { return engine.RecordingUnderWay() || engine.DelayedStartPending(); },
                         [this] {
                             DateTime target;
                             return engine.StartArmed(&target) ? target : DateTime::NoTime();
                         }}),
          power(settings, *platform.clock, *platform.timers, *platform.power, *platform.peers, questions,
                &journal, engine),
          commands(options.commands ? std::move(options.commands)
                                    : std::make_unique<ThreadCommandRunner>(*platform.processes)),
          sounder(options.sounder ? std::move(options.sounder)
                                  : std::make_unique<AlarmThread>(*platform.sound)),
          alarm(settings, *sounder), freeSpace(table, *platform.disks, &alarm),
          after(settings, power, schedule, *commands, journal),
          preferences(ChannelPreferenceStore::ForProgramFolder(folder)), merge(table, settings, questions),
          import(table, settings, schedule, &preferences, &merge)
    {
    }

    QString ViewerFolder() const
    {
        return viewer.Executable().isEmpty() ? QString() : QFileInfo(viewer.Executable()).absolutePath();
    }

    Options options;
    ScheduleTable table;
    Settings settings;
    JournalWriter writer;
    ObservedJournal journal;
    ScheduleEngine schedule;
    Questions questions;
    ViewerControl viewer;
    RecordingEngine engine;
    ManualStop manualStop;
    PowerManager power;
    std::unique_ptr<CommandRunner> commands;
    std::unique_ptr<AlarmSounder> sounder;
    Alarm alarm;
    FreeSpaceWatch freeSpace;
    AfterRecording after;
    ChannelPreferenceStore preferences;
    MergeAdjacent merge;
    ViewerSchedulerImport import;
    std::unique_ptr<OneSecondClock> clock3;
    std::function<void()> tickObserver;
};

SchedulerCore::SchedulerCore(const QString& programFolder, const Platform& platform,
                             QuestionPresenter& presenter, Options options)
    : m_programFolder(programFolder), m_platform(platform),
      m_parts(std::make_unique<Parts>(programFolder, m_platform, presenter, std::move(options)))
{
    Wire();
}

SchedulerCore::~SchedulerCore()
{
    if (m_platform.clockWatch)
        m_platform.clockWatch->SetClockChangeHandler({});
    if (m_started && !m_shutDown) {
        m_parts->clock3->Stop();
        m_parts->engine.StopTimers();
    }
    m_parts->alarm.Stop();
}

void SchedulerCore::Wire()
{
    Parts& p = *m_parts;
    p.schedule.SetProgramFolder(m_programFolder);
    p.schedule.SetObserver(&p.engine);
    p.engine.SetPowerControl(&p.power);
    p.engine.SetManualStop(&p.manualStop);
    p.alarm.SetRecordingSwitchedOn([&p] { return p.engine.RecordingSwitchedOn(); });

    RecordingHooks hooks;
    hooks.allowAlarmAgain = [&p] { p.alarm.AllowAgain(); };
    hooks.soundAlarm = [&p] { p.alarm.Request(); };
    hooks.refreshFreeSpace = [&p] { p.freeSpace.Refresh(); };
    hooks.afterRecording = [&p](const TEmission& ended, const QString& file, bool viewerClosed) {
        p.after.Run(ended, file, viewerClosed);
    };
    hooks.takeOverPlannedRecordings = [&p] {
        const QString folder = p.ViewerFolder();
        if (!folder.isEmpty())
            p.import.Run(folder);
    };
    hooks.runningCommands = [&p] { return p.after.RunningCommands(); };
    hooks.enableOneSecondClock = [&p] {
        if (p.clock3)
            p.clock3->Enable();
    };
    p.engine.SetHooks(std::move(hooks));

    OneSecondClock::Hooks tick;
    tick.viewerSchedulerImport = [&p] {
        const QString folder = p.ViewerFolder();
        if (!folder.isEmpty())
            p.import.Run(folder);
    };
    tick.freeSpaceWatch = [&p] { p.freeSpace.Refresh(); };
    tick.freeSpaceMaroon = [&p] { return p.freeSpace.Status().Blinks(); };
    tick.changed = [&p] {
        if (p.tickObserver)
            p.tickObserver();
    };
    p.clock3 = std::make_unique<OneSecondClock>(*m_platform.clock, *m_platform.timers, p.settings, p.viewer,
                                                p.manualStop, p.power, p.engine, std::move(tick));
    p.power.AttachClock(p.clock3.get());

    if (m_platform.clockWatch)
        m_platform.clockWatch->SetClockChangeHandler([&p] { p.engine.ClockChanged(); });
}

bool SchedulerCore::Start()
{
    Parts& p = *m_parts;
    if (m_started)
        return true;
    // The viewer's usual folder first: group three keeps it when Config.Ini names none.
    const ViewerSearchRoots roots = ViewerSearchRoots::ForProgramFolder(m_programFolder);
    if (p.settings.CheminZomvara.isEmpty())
        p.settings.CheminZomvara = ViewerLocator::DefaultViewerFolder(roots);
    IniFile config;
    config.Load(SettingsStore::FilePath(m_programFolder));
    SettingsStore::LoadGroupOne(config, p.settings);
    ScheduleStore::LoadSchedule(m_programFolder, p.table, p.settings, m_platform.clock->Now());
    SettingsStore::LoadGroupTwo(config, p.settings);
    SettingsStore::LoadGroupThree(config, p.settings);

    QString fallbackRecordDir = m_programFolder;
    if (!fallbackRecordDir.endsWith(QLatin1Char('/')))
        fallbackRecordDir += QLatin1Char('/');
    const ViewerSetup::Outcome viewer =
        ViewerSetup::Settle(p.settings, roots, p.options.askViewerFolder, fallbackRecordDir);
    if (!viewer.found) {
        m_startError = viewer.message;
        return false;
    }
    p.viewer.SetExecutable(viewer.executable);
    p.engine.SetViewerFolder(p.ViewerFolder());

    m_started = true;
    p.clock3->Start();
    return true;
}

bool SchedulerCore::Shutdown(bool applicationMinimised)
{
    Parts& p = *m_parts;
    if (!m_started || m_shutDown)
        return true;
    m_shutDown = true;
    p.clock3->Stop();
    p.engine.StopTimers();
    p.power.DropPendingAction();
    p.alarm.Stop();

    bool ok = true;
    QString error;
    if (!ScheduleStore::SaveSchedule(m_programFolder, p.table, &error)) {
        m_lastError = error;
        ok = false;
    }
    IniFile config;
    const QString configPath = SettingsStore::FilePath(m_programFolder);
    if (QFileInfo::exists(configPath) && !config.Load(configPath)) {
        // Writing over a file that could not be read would lose the keys other parts keep there.
        m_lastError = QStringLiteral("%1: cannot be read").arg(configPath);
        return false;
    }
    SettingsStore::WriteAtExit(config, p.settings, applicationMinimised);
    if (!config.SaveAs(configPath, &error)) {
        m_lastError = error;
        ok = false;
    }
    return ok;
}

void SchedulerCore::SetTickObserver(std::function<void()> observer)
{
    m_parts->tickObserver = std::move(observer);
}

ScheduleTable& SchedulerCore::Table()
{
    return m_parts->table;
}
Settings& SchedulerCore::CoreSettings()
{
    return m_parts->settings;
}
ScheduleEngine& SchedulerCore::Schedule()
{
    return m_parts->schedule;
}
JournalWriter& SchedulerCore::Journal()
{
    return m_parts->writer;
}
Questions& SchedulerCore::Ask()
{
    return m_parts->questions;
}
ViewerControl& SchedulerCore::Viewer()
{
    return m_parts->viewer;
}
ManualStop& SchedulerCore::ViewerManualStop()
{
    return m_parts->manualStop;
}
RecordingEngine& SchedulerCore::Engine()
{
    return m_parts->engine;
}
PowerManager& SchedulerCore::Power()
{
    return m_parts->power;
}
OneSecondClock& SchedulerCore::Clock3()
{
    return *m_parts->clock3;
}
FreeSpaceWatch& SchedulerCore::FreeSpace()
{
    return m_parts->freeSpace;
}
Alarm& SchedulerCore::AlarmControl()
{
    return m_parts->alarm;
}
AfterRecording& SchedulerCore::After()
{
    return m_parts->after;
}
CommandRunner& SchedulerCore::Commands()
{
    return *m_parts->commands;
}

} // namespace quorx
