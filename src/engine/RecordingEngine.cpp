#include "engine/RecordingEngine.h"

#include "common/JournalSink.h"
#include "common/Paths.h"
#include "engine/JournalWriter.h"
#include "engine/Occurrences.h"
#include "engine/RecordingFileName.h"
#include "engine/ScheduleEngine.h"
#include "platform/Clock.h"
#include "platform/Disks.h"
#include "platform/Sound.h"
#include "platform/TimerService.h"
#include "power/InterfaceSounds.h"
#include "power/PowerControl.h"
#include "power/Questions.h"
#include "schedule/RecordTimes.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"
#include "viewer/ManualStop.h"
#include "viewer/ViewerControl.h"
#include "viewer/ViewerIni.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace quorx {

namespace {
constexpr int kStepMs = 100;

// 999 minus the current millisecond, 1000 when that leaves less than 25 ms.
int MsToNextSecond(DateTime now)
{
    const int ms = int(DateTime::MsBetween(now.DatePart(), now) % 1000);
    const int interval = 999 - ms;
    return interval < 25 ? 1000 : interval;
}

int MsToNextMinute(DateTime now)
{
    const qint64 msOfDay = DateTime::MsBetween(now.DatePart(), now);
    const int interval = int(59999 - (msOfDay % 60000));
    return interval < 25 ? 60000 : interval;
}

int ClampInterval(qint64 ms)
{
    return int(std::clamp<qint64>(ms, 1, std::numeric_limits<int>::max()));
}
} // namespace

RecordingEngine::RecordingEngine(ScheduleTable& table, Settings& settings, ScheduleEngine& schedule,
                                 const Platform& platform, ViewerControl& viewer, Questions& questions,
                                 JournalSink* journal, const QString& programFolder)
    : m_table(table),
      m_settings(settings),
      m_schedule(schedule),
      m_platform(platform),
      m_viewer(viewer),
      m_questions(questions),
      m_journal(journal),
      m_programFolder(programFolder)
{
    TimerService& timers = *m_platform.timers;
    m_timerDebut = timers.CreateTimer(QStringLiteral("TimerDebut"));
    m_timerFin = timers.CreateTimer(QStringLiteral("TimerFin"));
    m_timerEnreg = timers.CreateTimer(QStringLiteral("TimerEnreg"));
    m_timerClign = timers.CreateTimer(QStringLiteral("TimerClign"));
    m_cCompteur = timers.CreateTimer(QStringLiteral("CCompteur"));
    m_timer2 = timers.CreateTimer(QStringLiteral("Timer2"));
    m_timerDebut->SetHandler([this] { TimerDebutTimer(); });
    m_timerFin->SetHandler([this] { TimerFinTimer(); });
    m_timerEnreg->SetHandler([this] { TimerEnregTimer(); });
    m_timerClign->SetHandler([this] { TimerClignTimer(); });
    m_cCompteur->SetHandler([this] { CCompteurTimer(); });
    m_timer2->SetHandler([this] { Timer2Timer(); });
    m_schedule.SetObserver(this);
}

RecordingEngine::~RecordingEngine()
{
    m_schedule.SetObserver(nullptr);
}

DateTime RecordingEngine::Now() const
{
    return m_platform.clock->Now();
}

void RecordingEngine::WaitSteps(int steps)
{
    for (int i = 0; i < steps; ++i)
        m_platform.timers->Wait(kStepMs);
}

bool RecordingEngine::SoundsAllowed() const
{
    return m_platform.sound && InterfaceSounds::AllowedNow(m_settings, Now());
}

bool RecordingEngine::AutoVetoTicked() const
{
    return m_autoVeto ? m_autoVeto() : m_settings.AutoForbidSuspend;
}

qint64 RecordingEngine::FileSizeBytes(const QString& path) const
{
    if (path.isEmpty())
        return 0;
    qint64 size = -1;
    if (m_platform.disks)
        size = m_platform.disks->FileSize(path);
    else if (QFileInfo(path).isFile())
        size = QFileInfo(path).size();
    return std::max<qint64>(size, 0);
}

qint64 RecordingEngine::FileSizeKiB(const QString& path) const
{
    return FileSizeBytes(path) / 1024;
}

void RecordingEngine::Journal(int eventSlot, const QString& program, const QString& comment, const QString& file)
{
    if (m_journal)
        m_journal->WriteJournalEvent(JournalWriter::Text(JournalWriter::EventText(eventSlot)), program, comment,
                                     file);
}

bool RecordingEngine::ViewerRuns() const
{
    return m_viewer.IsViewerRunning();
}

void RecordingEngine::LaunchViewer(const QStringList& arguments)
{
    m_viewer.LaunchViewer(arguments, ViewerControl::ShowStateFor(m_settings.EtatZomvara));
}

DateTime RecordingEngine::OccurrenceEndOf(const TEmission& record) const
{
    return Occurrences(m_settings).OccurrenceEnd(record);
}

void RecordingEngine::Publish(RecordingStatus status)
{
    if (status == m_status)
        return;
    m_status = std::move(status);
    if (m_hooks.statusChanged)
        m_hooks.statusChanged(m_status);
}

void RecordingEngine::RefreshList()
{
    if (m_hooks.refreshList)
        m_hooks.refreshList();
}

void RecordingEngine::ScheduleSaveFailed(const QString& reason)
{
    Q_UNUSED(reason);
}

// ---- arming ---------------------------------------------------------------------------------

void RecordingEngine::ArmTimers()
{
    m_armed = true;
    const DateTime now = Now();
    if (m_timerEnreg->Enabled() || (m_recording && m_timerFin->Enabled())) {
        AdjustCurrentEnd();
    } else {
        m_startHeld = false;
        const int c = m_schedule.SelectNextRecording();
        if (c < 1) {
            m_plannedStart = DateTime::NoTime();
            m_plannedEnd = DateTime::NoTime();
            m_cCompteur->SetEnabled(false);
            m_currentId = -1;
            m_timerDebut->SetInterval(0);
            m_timerDebut->SetEnabled(false);
            m_timerFin->SetInterval(0);
            m_timerFin->SetEnabled(false);
            RecordingStatus idle = m_status;
            idle.text.clear();
            idle.colour = StatusTextColour::Grey;
            Publish(idle);
        } else {
            const RecordingWindow window = m_schedule.Windows()[c];
            qint64 v = DateTime::SecondsBetweenRounded(now, window.start);
            m_plannedStart = window.start;
            if (window.start <= now) {
                v = 1;
                m_plannedStart = now;
            }
            m_plannedEnd = window.end;
            int lead = 0;
            if (m_settings.ChannelWaitRec && m_settings.DelaiAtt > 0 && v > m_settings.DelaiAtt + 1)
                lead = m_settings.DelaiAtt + 5;
            else if (v > 4)
                lead = 4;
            v -= lead;
            m_plannedStart = m_plannedStart.AddSeconds(-lead);
            m_currentId = m_table[c].RecordId;
            m_timerDebut->SetInterval(ClampInterval(v * 1000 + 1));
            m_timerDebut->SetEnabled(true);
            ArmEndTimer(now, 1);
            RunCountdown();
            m_cCompteur->SetInterval(MsToNextMinute(Now()));
            m_cCompteur->SetEnabled(true);
            if (m_manualStop && m_manualStop->IsArmed())
                m_manualStop->Rearm();
        }
    }
    if (m_power) {
        // The power manager sets the wake timer three minutes before this, or cancels it when
        // there is nothing to wake for or recording is switched off.
        const int w = m_schedule.SelectNextWake();
        m_power->FollowNextWake(w >= 1 ? m_table[w].EffectiveStart : DateTime::NoTime());
        m_power->RefreshSuspendVeto();
    }
    ArmRefreshStep(Now());
}

void RecordingEngine::ArmEndTimer(DateTime now, int extraMs)
{
    const qint64 seconds = DateTime::SecondsBetweenRounded(now, m_plannedEnd);
    m_timerFin->SetInterval(m_plannedEnd <= now ? 1 : ClampInterval(seconds * 1000 + extraMs));
    m_timerFin->SetEnabled(true);
}

void RecordingEngine::ArmRefreshStep(DateTime now)
{
    const Occurrences occurrences(m_settings);
    DateTime earliest = DateTime::NoTime();
    for (int i = 1; i <= m_table.Count(); ++i) {
        const DateTime end = occurrences.OccurrenceEnd(m_table[i]);
        // An end already three seconds past has had its refresh; taking it again would refresh
        // without pause for as long as the record stays in the list.
        if (end < earliest && end.AddSeconds(3) > now)
            earliest = end;
    }
    if (earliest.IsNoTime()) {
        m_timer2->SetEnabled(false);
        return;
    }
    ArmRefresh(ClampInterval((DateTime::SecondsBetweenRounded(now, earliest) + 3) * 1000));
}

void RecordingEngine::ArmRefresh(int ms)
{
    if (m_timer2Resume && m_timer2->Enabled())
        return; // the resume wait comes first; its recomputation arms the refresh again
    m_timer2->SetInterval(std::max(ms, 1));
    m_timer2->SetEnabled(true);
}

void RecordingEngine::AdjustCurrentEnd()
{
    DateTime now = Now();
    m_schedule.ComputeNextStart();
    m_schedule.ResolveOverlaps();
    const int i = m_table.FindById(m_currentId);
    if (i >= 1) {
        const DateTime n = m_schedule.Windows()[i].end;
        if (n != m_plannedEnd) {
            bool proceed = true;
            bool stopNow = false;
            if (n.IsNoTime() || n <= now || !DateTime::SameDay(m_table[i].NextStart, m_plannedStart)) {
                proceed = m_questions.Ask(QuestionId::InterruptRecording);
                stopNow = proceed;
            }
            if (proceed && !n.IsNoTime() && n < m_plannedEnd)
                proceed = m_questions.Ask(QuestionId::ShortenRecording);
            if (proceed) {
                now = Now();
                m_plannedEnd = stopNow ? now : n;
                ArmEndTimer(now, 0);
            }
        }
    }
    RunCountdown();
    ArmRefreshStep(Now());
}

// ---- start ----------------------------------------------------------------------------------

QString RecordingEngine::BuildFileAndFormat(int index)
{
    TEmission& record = m_table[index];
    const QString viewerFolder =
        m_viewerFolder.isEmpty() ? QFileInfo(m_viewer.Executable()).absolutePath() : m_viewerFolder;
    RecordingFileName::Inputs in;
    in.now = Now();
    in.sansAnnee = m_settings.SansAnnee;
    in.nePasEcraser = m_settings.NePasEcraser;
    in.driveRoot = ProgramDriveRoot(m_programFolder);
    if (!in.driveRoot.endsWith(QLatin1Char('/')))
        in.driveRoot += QLatin1Char('/');
    in.viewerRecType = ViewerIni::RecType(viewerFolder);
    in.ensureFolder = [](const QString& folder) { return QDir().mkpath(folder); };
    in.exists = [this](const QString& path) {
        return m_platform.disks ? m_platform.disks->FileExists(path) : QFileInfo::exists(path);
    };
    in.random = [this] { return int(m_table.RandomNumber(1023)); };
    const RecordingFileName::Result result = RecordingFileName::Build(record, in);
    record.Fichier = result.fichier;
    m_formatChanged = result.formatChanged;
    if (result.newRecType >= 0)
        ViewerIni::WriteRecType(viewerFolder, result.newRecType);
    return result.path;
}

void RecordingEngine::TimerDebutTimer()
{
    if (m_endingDepth > 0) {
        m_timerDebut->SetEnabled(false);
        m_startHeld = true;
        return;
    }
    if (m_power)
        m_power->DropPendingAction();
    m_timerClign->SetEnabled(false);
    m_recording = false;
    if (m_hooks.guideUpdateCheck)
        m_hooks.guideUpdateCheck();
    m_timerDebut->SetEnabled(false);
    if (m_power)
        m_power->CancelWakeTimer();
    m_closeAllowed = true;
    if (m_hooks.allowAlarmAgain)
        m_hooks.allowAlarmAgain();
    m_pendingStart.clear();
    if (m_hooks.clearListSelection && !(m_hooks.editorOpen && m_hooks.editorOpen()))
        m_hooks.clearListSelection();

    const int i = m_table.FindById(m_currentId);
    if (i < 1) {
        m_schedule.RecomputeSchedule();
        return;
    }
    if (AutoVetoTicked() && m_power)
        m_power->PressVetoAutomatically(true);
    m_table[i].Erreur = false;
    m_table[i].DateStop = m_table[i].NextStart.DatePart();

    const QString path = BuildFileAndFormat(i);
    m_currentFile = path;
    QStringList prefix;
    if (m_settings.DoNotDecodeMPEG2)
        prefix << ViewerControl::DisableMpeg2DecoderSwitch();

    if (RecordingSwitchedOn()) {
        if (SoundsAllowed()) {
            Sound& sound = *m_platform.sound;
            sound.Beep(250, 125);
            m_platform.timers->Wait(75);
            sound.Beep(250, 125);
            m_platform.timers->Wait(200);
            sound.Beep(650, 500);
        }
        Journal(JournalWriter::RecordingStarted, m_table[i].Title(), QString(), m_currentFile);
        if (ViewerRuns()) {
            if (m_formatChanged) {
                LaunchViewer({ViewerControl::StopRecordSwitch()});
                WaitSteps(30);
                LaunchViewer({ViewerControl::ExitSwitch()});
            } else {
                LaunchViewer({ViewerControl::StopRecordSwitch()});
            }
            WaitSteps(26);
        }
        if (m_manualStop)
            m_manualStop->Cancel();
        // The waits above may have let the schedule change under us.
        const int j = m_table.FindById(m_currentId);
        if (j < 1) {
            m_schedule.RecomputeSchedule();
            return;
        }
        const QString channel = ViewerControl::ChannelSwitch(m_table[j].Chaine);
        if (m_settings.ChannelWaitRec) {
            LaunchViewer(prefix + QStringList{channel});
            m_pendingStart = QStringList{ViewerControl::StartRecordSwitch(m_currentFile)};
            m_timerEnreg->SetInterval(m_settings.DelaiAtt * 1000 + 1);
            m_timerEnreg->SetEnabled(true);
            m_table[j].Etat = 1;
        } else {
            LaunchViewer(prefix + QStringList{channel, ViewerControl::StartRecordSwitch(m_currentFile)});
            m_table[j].Etat = 1;
            m_recording = true;
        }
        m_seconds = 0;
        ArmClignOnNextSecond();
        RunCountdown();
    } else {
        if (m_manualStop)
            m_manualStop->Cancel();
        m_recording = true;
        CStopClick();
        RunCountdown();
    }
    if (m_hooks.refreshFreeSpace)
        m_hooks.refreshFreeSpace();
    RefreshList();
}

void RecordingEngine::TimerEnregTimer()
{
    m_timerEnreg->SetEnabled(false);
    const int i = m_table.FindById(m_currentId);
    if (i < 1) {
        TimerFinTimer();
        return;
    }
    if (ViewerRuns()) {
        if (!m_pendingStart.isEmpty()) {
            LaunchViewer(m_pendingStart);
            m_table[i].Etat = 1;
            m_recording = true;
            m_seconds = 0;
            ArmClignOnNextSecond();
            RunCountdown();
        }
        return;
    }
    Journal(JournalWriter::ViewerClosedOutside, m_table[i].Title(),
            JournalWriter::SizeInMiB(FileSizeBytes(m_currentFile)), m_currentFile);
    m_table[i].Etat = 3;
    m_schedule.RecomputeSchedule();
}

void RecordingEngine::ArmClignOnNextSecond()
{
    m_timerClign->SetInterval(MsToNextSecond(Now()));
    m_timerClign->SetEnabled(true);
}

// ---- watch ----------------------------------------------------------------------------------

void RecordingEngine::TimerClignTimer()
{
    m_timerClign->SetEnabled(false);
    ++m_seconds;
    const bool on = RecordingSwitchedOn();
    if (on && m_seconds > 10 && m_recording && !ViewerRuns()) {
        const int i = m_table.FindById(m_currentId);
        const QString title = i >= 1 ? m_table[i].Title() : QString();
        Journal(JournalWriter::ViewerClosedOutside, title, JournalWriter::SizeInMiB(FileSizeBytes(m_currentFile)),
                m_currentFile);
        if (i >= 1)
            m_table[i].Etat = 3;
        CStopClick();
        return;
    }
    if (on && m_settings.DetectRecordingErrors && !m_timerEnreg->Enabled() && m_recording &&
        m_seconds == kErrorCheckSecond && FileSizeKiB(m_currentFile) < kMinimumSizeKiB && ViewerRuns()) {
        if (m_restarts > 1) {
            m_restarts = 0;
            TimerFinTimer();
            return;
        }
        if (m_plannedEnd.AddMinutes(-2) > Now()) {
            const int i = m_table.FindById(m_currentId);
            m_viewer.CloseViewer(true);
            Journal(JournalWriter::ErrorDetected, i >= 1 ? m_table[i].Title() : QString(), QString(), QString());
            WaitSteps(10);
            ++m_restarts;
            if (m_platform.disks)
                m_platform.disks->DeleteFile(m_currentFile);
            else
                QFile::remove(m_currentFile);
            WaitSteps(10);
            TimerDebutTimer();
            return;
        }
        m_restarts = 0;
        TimerFinTimer();
        return;
    }
    if (m_recording || m_timerEnreg->Enabled()) {
        RecordingStatus status = m_status;
        const bool even = Now().Second() % 2 == 0;
        status.redBar = even;
        status.recordingIcon = even;
        status.colour = even ? StatusTextColour::White : StatusTextColour::Black;
        Publish(status);
        ArmClignOnNextSecond();
    }
}

// ---- countdown ------------------------------------------------------------------------------

void RecordingEngine::CCompteurTimer()
{
    m_cCompteur->SetEnabled(false);
    RunCountdown();
    m_cCompteur->SetInterval(MsToNextMinute(Now()));
    m_cCompteur->SetEnabled(true);
}

void RecordingEngine::RunCountdown()
{
    const DateTime now = Now();
    RecordingStatus status = m_status;
    if (m_recording || m_timerEnreg->Enabled()) {
        status.text = RecordingCountdown::EndText(now, m_plannedEnd);
        if (!status.redBar)
            status.colour = StatusTextColour::Black;
    } else {
        m_timerClign->SetEnabled(false);
        status.redBar = false;
        status.recordingIcon = false;
        status.text = RecordingCountdown::StartText(now, m_plannedStart, &status.colour);
        if (m_currentId == -1)
            status.colour = StatusTextColour::Grey;
    }
    const int i = m_table.FindById(m_currentId);
    if (i >= 1 && !status.text.isEmpty())
        status.text += RecordingCountdown::RecordSuffix(m_table[i]);
    Publish(status);
}

// ---- end ------------------------------------------------------------------------------------

void RecordingEngine::TimerFinTimer()
{
    // Taken now: a recomputation while the end handler waits arms the next recording, which
    // replaces the current identifier.
    const int id = m_currentId;
    const QString file = m_currentFile;
    ++m_endingDepth;
    EndRecording(id, file);
    if (--m_endingDepth == 0 && m_startHeld) {
        m_startHeld = false;
        m_timerDebut->SetInterval(1);
        m_timerDebut->SetEnabled(true);
    }
}

void RecordingEngine::EndRecording(int id, const QString& file)
{
    m_timerClign->SetEnabled(false);
    m_timerFin->SetEnabled(false);
    int i = m_table.FindById(id);
    if (i < 1) {
        m_closeAllowed = true;
        m_recording = false;
        m_schedule.RecomputeSchedule();
        return;
    }
    TEmission copy = m_table[i];
    const bool on = RecordingSwitchedOn();
    if (on && SoundsAllowed()) {
        Sound& sound = *m_platform.sound;
        if (ViewerRuns()) {
            sound.Beep(250, 125);
            m_platform.timers->Wait(75);
            sound.Beep(250, 125);
        } else {
            for (int b = 0; b < 3; ++b) {
                if (b > 0)
                    m_platform.timers->Wait(100);
                sound.Beep(250, 125);
            }
        }
        m_platform.timers->Wait(200);
        sound.Beep(37, 500);
    }
    i = m_table.FindById(id);
    if (i < 1) {
        m_closeAllowed = true;
        m_recording = false;
        m_schedule.RecomputeSchedule();
        return;
    }

    TEmission& record = m_table[i];
    if (record.Etat == 1) {
        const qint64 kib = FileSizeKiB(file);
        if (kib >= kMinimumSizeKiB) {
            // Measured against the real end of the occurrence, so that a recording running past
            // midnight is judged by its end on the next day.
            if (Now() < OccurrenceEndOf(record).AddSeconds(-5)) {
                record.Etat = 3;
            } else {
                m_settings.TotalGo += kib >> 20;
                record.Etat = 2;
                if (m_hooks.settingsChanged)
                    m_hooks.settingsChanged();
            }
        } else {
            m_deleteQuestion = true;
            m_settings.JournalError = 1;
            record.Erreur = true;
            record.Etat = 3;
            if (m_hooks.settingsChanged)
                m_hooks.settingsChanged();
            if (m_hooks.soundAlarm)
                m_hooks.soundAlarm();
        }
    } else {
        record.Etat = 3;
    }
    const bool failed = record.Erreur;
    copy.Etat = record.Etat;
    copy.Erreur = record.Erreur;

    const int n = m_schedule.RecomputeAndSelectNextRecording();
    const DateTime nextStart = n >= 1 ? m_table[n].NextStart : DateTime::NoTime();
    m_recording = false;

    bool viewerClosed = true;
    if (on && ViewerRuns()) {
        LaunchViewer({ViewerControl::StopRecordSwitch()});
        WaitSteps(30);
        bool close = false;
        if (m_closeAllowed && copy.Fermer) {
            const DateTime now = Now();
            const qint64 secondsAway = nextStart.IsNoTime() ? 0 : DateTime::SecondsBetweenTruncated(now, nextStart);
            const qint64 stopMinutes = MarginSeconds(m_settings.DelaiArret) / 60;
            close = m_settings.ForcerRedem || n < 1 || (nextStart > now && secondsAway >= 180) ||
                    (nextStart > now && secondsAway < 180 && stopMinutes <= secondsAway / 60);
        }
        if (close)
            LaunchViewer({ViewerControl::ExitSwitch()});
        viewerClosed = close;
        if (failed)
            Journal(JournalWriter::RecordingFailed, copy.Title(), QString(), file);
        else
            Journal(JournalWriter::RecordingEnded, copy.Title(),
                    JournalWriter::SizeInMiB(FileSizeBytes(file)), file);
        if (close)
            Journal(JournalWriter::ViewerClosed, QString(), QString(), QString());
    }
    WaitSteps(10);

    if (on && m_deleteQuestion) {
        const bool exists = m_platform.disks ? m_platform.disks->FileExists(file) : QFileInfo::exists(file);
        if (exists) {
            const bool small = FileSizeKiB(file) < kMinimumSizeKiB;
            if (small || m_questions.Ask(QuestionId::DeleteInterruptedFile)) {
                if (m_platform.disks)
                    m_platform.disks->DeleteFile(file);
                else
                    QFile::remove(file);
            }
        }
    }
    m_deleteQuestion = false;
    m_schedule.RecomputeSchedule();
    RunCountdown();
    WaitSteps(10);
    if (AutoVetoTicked() && m_power)
        m_power->PressVetoAutomatically(false);
    if (m_hooks.afterRecording)
        m_hooks.afterRecording(copy, file, viewerClosed);
    if (viewerClosed && m_hooks.takeOverPlannedRecordings)
        m_hooks.takeOverPlannedRecordings();
}

// ---- commands -------------------------------------------------------------------------------

void RecordingEngine::CStopClick()
{
    if (!m_recording && !m_timerEnreg->Enabled()) {
        m_timerDebut->SetEnabled(false);
        TimerDebutTimer();
        return;
    }
    m_timerEnreg->SetEnabled(false);
    m_timerClign->SetEnabled(false);
    m_restarts = 0;
    if (ViewerRuns() && RecordingSwitchedOn())
        m_closeAllowed = m_questions.Ask(QuestionId::CloseViewerAfterStop);
    else
        m_closeAllowed = RecordingSwitchedOn();
    const int i = m_table.FindById(m_currentId);
    if (i >= 1)
        m_table[i].Etat = 3;
    m_deleteQuestion = true;
    TimerFinTimer();
    m_deleteQuestion = false;
    m_closeAllowed = true;
}

void RecordingEngine::SetRecordingSwitchedOn(bool on)
{
    m_settings.Actif = on;
    if (on)
        return;
    if (m_manualStop)
        m_manualStop->Cancel();
    if (AutoVetoTicked() && m_power)
        m_power->PressVetoAutomatically(false);
    m_schedule.RecomputeSchedule();
}

void RecordingEngine::ClockChanged()
{
    if (m_hooks.resumeUnderWay && m_hooks.resumeUnderWay())
        return;
    m_armed = false;
    if (m_manualStop)
        m_manualStop->Rearm();
    const DateTime now = Now();
    if (m_recording || m_timerEnreg->Enabled()) {
        if (m_plannedEnd <= now)
            TimerFinTimer();
        else
            ArmEndTimer(now, 1);
    } else {
        m_schedule.RecomputeSchedule();
    }
    RunCountdown();
}

void RecordingEngine::ScheduleResumeRefresh()
{
    m_timer2Resume = true;
    m_timer2->SetInterval(12000);
    m_timer2->SetEnabled(true);
}

void RecordingEngine::Timer2Timer()
{
    m_timer2->SetEnabled(false);
    if (m_timer2Resume) {
        m_timer2Resume = false;
        if (m_power)
            m_power->ResumeWaitOver();
    }
    m_cCompteur->SetEnabled(true);
    if (m_hooks.enableOneSecondClock)
        m_hooks.enableOneSecondClock();
    m_schedule.RecomputeSchedule();
    if (m_hooks.guideUpdateCheck)
        m_hooks.guideUpdateCheck();
}

void RecordingEngine::StopTimers()
{
    m_startHeld = false;
    for (Timer* t : {m_timerDebut.get(), m_timerFin.get(), m_timerEnreg.get(), m_timerClign.get(),
                     m_cCompteur.get(), m_timer2.get()})
        t->SetEnabled(false);
}

// ---- activity -------------------------------------------------------------------------------

bool RecordingEngine::RecordingUnderWay() const
{
    if (m_recording)
        return true;
    const int i = m_table.FindById(m_currentId);
    return i >= 1 && m_table[i].Etat == 1;
}

bool RecordingEngine::DelayedStartPending() const
{
    return m_timerEnreg->Enabled();
}

bool RecordingEngine::StartArmed(DateTime* target) const
{
    if (target)
        *target = m_plannedStart;
    return m_timerDebut->Enabled() && m_timerDebut->Interval() > 0;
}

bool RecordingEngine::ManualStopRunning() const
{
    return m_manualStop && m_manualStop->TimerRunning();
}

int RecordingEngine::RunningCommands() const
{
    return m_hooks.runningCommands ? m_hooks.runningCommands() : 0;
}

void RecordingEngine::RecomputeForPower()
{
    m_schedule.RecomputeForPower();
}

void RecordingEngine::RecomputeSchedule()
{
    m_schedule.RecomputeSchedule();
}

void RecordingEngine::PrepareForSuspend()
{
    m_viewer.CloseViewer(true);
    m_startHeld = false;
    for (Timer* t : {m_timerDebut.get(), m_timerFin.get(), m_timerEnreg.get(), m_timerClign.get(),
                     m_cCompteur.get(), m_timer2.get()})
        t->SetEnabled(false);
    m_armed = false;
}

bool RecordingEngine::RecordingSwitchedOn() const
{
    return m_settings.Actif;
}

} // namespace quorx
