#include "viewer/ManualStop.h"

#include "common/JournalSink.h"
#include "i18n/LocalisedStrings.h"
#include "platform/Clock.h"
#include "platform/TimerService.h"
#include "viewer/ViewerControl.h"

#include <algorithm>
#include <climits>

namespace quorx {

namespace {

constexpr double kBeforeRecordingSeconds = 15.0;
constexpr qint64 kStopRecordOnlyWithinSeconds = 60;
constexpr int kManualStopText = 71; // "Arrêt d'un enregistrement débuté manuellement"

} // namespace

ManualStop::ManualStop(const Clock& clock, TimerService& timers, ViewerControl& viewer, JournalSink* journal,
                       Schedule schedule, QObject* parent)
    : QObject(parent), m_clock(clock), m_timers(timers), m_viewer(viewer), m_journal(journal),
      m_schedule(std::move(schedule)), m_timer5(timers.CreateTimer(QStringLiteral("Timer5")))
{
    m_timer5->SetHandler([this] { Timer5Timer(); });
}

ManualStop::~ManualStop() = default;

bool ManualStop::TimerRunning() const
{
    return m_timer5->Enabled();
}

void ManualStop::SetShownTime(DateTime timeOfDay)
{
    m_shown = timeOfDay.TimePart();
    Q_EMIT Changed();
}

DateTime ManualStop::TodayAt(DateTime timeOfDay) const
{
    return DateTime(m_clock.Now().DatePart().Value() + timeOfDay.TimePart().Value());
}

void ManualStop::UpdateVisibility(bool viewerRunning)
{
    const bool visible = viewerRunning && !(m_schedule.recordingBusy && m_schedule.recordingBusy());
    const bool changed = visible != m_visible || (!visible && (m_armed || TimerRunning()));
    m_visible = visible;
    if (!visible) {
        m_timer5->SetEnabled(false);
        m_armed = false;
    }
    if (changed)
        Q_EMIT Changed();
}

void ManualStop::BitBtn3Click()
{
    m_timer5->SetEnabled(false);
    if (m_armed && m_shown == m_stopTime) {
        Disarm();
        return;
    }
    Arm();
}

void ManualStop::Arm()
{
    const DateTime now = m_clock.Now();
    m_stopTime = m_shown;
    DateTime moment = TodayAt(m_shown);
    if (moment <= now)
        moment = moment.AddDays(1);

    const bool busy = m_schedule.recordingBusy && m_schedule.recordingBusy();
    const DateTime next = m_schedule.nextStart ? m_schedule.nextStart() : DateTime::NoTime();
    if (!busy && !next.IsNoTime() && moment >= next) {
        moment = next.AddSeconds(-kBeforeRecordingSeconds);
        // The moved time becomes the armed one, so that the next click disarms it.
        m_shown = moment.TimePart();
        m_stopTime = m_shown;
        if (moment <= now) {
            Disarm();
            return;
        }
    }
    const qint64 seconds = DateTime::SecondsBetweenRounded(now, moment);
    const qint64 ms = std::clamp<qint64>(seconds * 1000, 1, INT_MAX);
    m_stopMoment = moment;
    m_timer5->SetInterval(static_cast<int>(ms));
    m_timer5->SetEnabled(true);
    m_armed = true;
    Q_EMIT Changed();
}

void ManualStop::Disarm()
{
    m_timer5->SetEnabled(false);
    m_armed = false;
    m_stopMoment = DateTime::NoTime();
    Q_EMIT Changed();
}

void ManualStop::CDelaiExit()
{
    if (m_armed && m_shown != m_stopTime)
        BitBtn3Click();
}

void ManualStop::Rearm()
{
    if (!m_armed)
        return;
    m_stopTime = DateTime(-1.0);
    BitBtn3Click();
}

void ManualStop::Cancel()
{
    if (!m_armed && !TimerRunning())
        return;
    m_stopTime = DateTime(-1.0);
    Disarm();
}

void ManualStop::Timer5Timer()
{
    // Closing the viewer waits up to half a minute with timers running: this must not fire again.
    m_timer5->SetEnabled(false);
    const bool busy = m_schedule.recordingBusy && m_schedule.recordingBusy();
    if (m_viewer.IsViewerRunning() && !busy) {
        if (m_journal)
            m_journal->WriteJournalEvent(Ls(kManualStopText), QString(), QString(), QString());
        const DateTime next = m_schedule.nextStart ? m_schedule.nextStart() : DateTime::NoTime();
        const DateTime now = m_clock.Now();
        if (!next.IsNoTime() && DateTime::SecondsBetweenRounded(now, next) <= kStopRecordOnlyWithinSeconds)
            m_viewer.LaunchViewer({ViewerControl::StopRecordSwitch()}, ShowState::Normal);
        else
            m_viewer.CloseViewer(false);
    }
    // The stop has happened: it is over, whatever the time box shows by now.
    Disarm();
}

} // namespace quorx
