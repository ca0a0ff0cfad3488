#pragma once

#include "common/DateTime.h"
#include "engine/EngineActivity.h"
#include "engine/RecordingStatus.h"
#include "engine/ScheduleObserver.h"
#include "platform/Platform.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace quorx {

class JournalSink;
class ManualStop;
class PowerControl;
class Questions;
class ScheduleEngine;
class ScheduleTable;
class Timer;
class ViewerControl;
struct Settings;
struct TEmission;

// What the engine asks of the rest of the program around a recording. Every hook may be left
// empty: the engine then runs alone, as in the tests of its own rules.
struct RecordingHooks
{
    std::function<void()> guideUpdateCheck;
    std::function<void()> allowAlarmAgain;
    std::function<void()> soundAlarm;
    std::function<void()> refreshFreeSpace;
    std::function<void()> refreshList;
    std::function<void()> clearListSelection;
    std::function<bool()> editorOpen;
    // The after-recording actions, with the record as it was when it ended.
    std::function<void(const TEmission& ended, const QString& file, bool viewerClosed)> afterRecording;
    // The recordings planned by the viewer's scheduler and the system's task scheduler.
    std::function<void()> takeOverPlannedRecordings;
    std::function<int()> runningCommands;
    std::function<bool()> resumeUnderWay;
    // The refresh timer fired: the one-second clock of the main window runs again.
    std::function<void()> enableOneSecondClock;
    // TotalGo or JournalError changed in the settings.
    std::function<void()> settingsChanged;
    std::function<void(const RecordingStatus&)> statusChanged;
};

// The life of the recording under way: the timers that start, watch and end it, the viewer's
// commands, the outcome and its journal events. It arms itself after every recomputation of
// the schedule and tells the power manager what is going on.
class RecordingEngine final : public ScheduleObserver, public EngineActivity
{
public:
    static constexpr qint64 kMinimumSizeKiB = 128;
    static constexpr int kErrorCheckSecond = 45;

    RecordingEngine(ScheduleTable& table, Settings& settings, ScheduleEngine& schedule, const Platform& platform,
                    ViewerControl& viewer, Questions& questions, JournalSink* journal,
                    const QString& programFolder);
    ~RecordingEngine() override;
    Q_DISABLE_COPY_MOVE(RecordingEngine)

    void SetPowerControl(PowerControl* power) { m_power = power; }
    void SetManualStop(ManualStop* manualStop) { m_manualStop = manualStop; }
    void SetHooks(RecordingHooks hooks) { m_hooks = std::move(hooks); }
    // For a window that joins after the core has been wired (the list refresh, say).
    RecordingHooks& Hooks() { return m_hooks; }
    // The viewer's folder, where Zomvara.Ini is; by default that of the viewer executable.
    void SetViewerFolder(const QString& folder) { m_viewerFolder = folder; }
    // Whether the automatic suspend veto (Cauto) is ticked; by default the setting AutoForbidSuspend.
    void SetAutoVeto(std::function<bool()> ticked) { m_autoVeto = std::move(ticked); }

    // ScheduleObserver
    void ArmTimers() override;
    void RefreshList() override;
    void ScheduleSaveFailed(const QString& reason) override;

    void AdjustCurrentEnd();
    void TimerDebutTimer();
    void TimerEnregTimer();
    void TimerClignTimer();
    void CCompteurTimer();
    void TimerFinTimer();
    void Timer2Timer();
    // The stop command: starts the armed recording when none runs, otherwise stops it.
    void CStopClick();
    // Recording switched on or off (CACtif).
    void SetRecordingSwitchedOn(bool on);
    void ClockChanged();
    // The refresh timer armed for this many milliseconds (the resume from standby uses it).
    void ArmRefresh(int ms);
    // Stops every timer of the engine, as when the program ends.
    void StopTimers();

    // EngineActivity
    bool RecordingUnderWay() const override;
    bool DelayedStartPending() const override;
    bool StartArmed(DateTime* target) const override;
    bool ManualStopRunning() const override;
    int RunningCommands() const override;
    bool Armed() const override { return m_armed; }
    void RecomputeForPower() override;
    void RecomputeSchedule() override;
    void PrepareForSuspend() override;
    void MarkUnarmed() override { m_armed = false; }
    void ScheduleResumeRefresh() override;
    bool RecordingSwitchedOn() const override;

    int CurrentId() const { return m_currentId; }
    DateTime PlannedStart() const { return m_plannedStart; }
    DateTime PlannedEnd() const { return m_plannedEnd; }
    bool RecordingFlag() const { return m_recording; }
    const QString& CurrentFile() const { return m_currentFile; }
    int RestartCount() const { return m_restarts; }
    int SecondsCounter() const { return m_seconds; }
    bool CloseAllowed() const { return m_closeAllowed; }
    const RecordingStatus& Status() const { return m_status; }
    // The countdown text once more, as after every change.
    void RunCountdown();

    Timer& TimerDebut() { return *m_timerDebut; }
    Timer& TimerFin() { return *m_timerFin; }
    Timer& TimerEnreg() { return *m_timerEnreg; }
    Timer& TimerClign() { return *m_timerClign; }
    Timer& CCompteur() { return *m_cCompteur; }
    Timer& Timer2() { return *m_timer2; }

private:
    DateTime Now() const;
    void WaitSteps(int steps);
    bool SoundsAllowed() const;
    bool AutoVetoTicked() const;
    qint64 FileSizeKiB(const QString& path) const;
    qint64 FileSizeBytes(const QString& path) const;
    void Journal(int eventSlot, const QString& program, const QString& comment, const QString& file);
    void ArmClignOnNextSecond();
    void ArmRefreshStep(DateTime now);
    void ArmEndTimer(DateTime now, int extraMs);
    void Publish(RecordingStatus status);
    QString BuildFileAndFormat(int index);
    bool ViewerRuns() const;
    void LaunchViewer(const QStringList& arguments);
    // The real end of the occurrence under way, margin included.
    DateTime OccurrenceEndOf(const TEmission& record) const;
    void EndRecording(int id, const QString& file);

    ScheduleTable& m_table;
    Settings& m_settings;
    ScheduleEngine& m_schedule;
    Platform m_platform;
    ViewerControl& m_viewer;
    Questions& m_questions;
    JournalSink* m_journal;
    QString m_programFolder;
    QString m_viewerFolder;
    PowerControl* m_power = nullptr;
    ManualStop* m_manualStop = nullptr;
    RecordingHooks m_hooks;
    std::function<bool()> m_autoVeto;

    std::unique_ptr<Timer> m_timerDebut;
    std::unique_ptr<Timer> m_timerFin;
    std::unique_ptr<Timer> m_timerEnreg;
    std::unique_ptr<Timer> m_timerClign;
    std::unique_ptr<Timer> m_cCompteur;
    std::unique_ptr<Timer> m_timer2;

    int m_currentId = -1;
    DateTime m_plannedStart = DateTime::NoTime();
    DateTime m_plannedEnd = DateTime::NoTime();
    bool m_recording = false;
    QStringList m_pendingStart;
    QString m_currentFile;
    bool m_formatChanged = false;
    int m_restarts = 0;
    int m_seconds = 0;
    bool m_deleteQuestion = false;
    bool m_closeAllowed = true;
    bool m_armed = false;
    bool m_timer2Resume = false; // the tag of Timer2 after a resume
    // The end handler waits for the viewer, and a recomputation during those waits may arm the
    // next start; that start is held until the end is dealt with.
    int m_endingDepth = 0;
    bool m_startHeld = false;
    RecordingStatus m_status;
};

} // namespace quorx
