#include "power/PowerManager.h"

#include "common/JournalSink.h"
#include "engine/EngineActivity.h"
#include "i18n/LocalisedStrings.h"
#include "platform/Clock.h"
#include "platform/InstancePeers.h"
#include "platform/PowerBackend.h"
#include "platform/TimerService.h"
#include "power/ForbidWindow.h"
#include "power/OneSecondClock.h"
#include "power/Questions.h"
#include "schedule/Settings.h"

#include <cmath>

namespace quorx {

namespace {

constexpr int kRetryIntervalMs = 20000;
constexpr int kNoticeSeconds = 30;

// Texts of the string table.
constexpr int kShutDownEvent = 67;
constexpr int kHibernateEvent = 68;
constexpr int kStandbyEvent = 69;
constexpr int kSessionEndRefused = 138;
constexpr int kSuspendRefused = 141;
constexpr int kResumeEvent = 147;
constexpr int kSleepEvent = 148;

} // namespace

PowerManager::PowerManager(Settings& settings, const Clock& clock, TimerService& timers, PowerBackend& power,
                           InstancePeers& peers, Questions& questions, JournalSink* journal,
                           EngineActivity& engine)
    : m_settings(settings), m_clock(clock), m_timers(timers), m_power(power), m_peers(peers),
      m_questions(questions), m_journal(journal), m_engine(engine)
{
    m_timer30 = m_timers.CreateTimer(QStringLiteral("Timer30"));
    m_timer30->SetInterval(kRetryIntervalMs);
    m_timer30->SetEnabled(false);
    m_timer30->SetHandler([this] { Timer30Timer(); });
    m_power.SetPrepareForSleepHandler([this](bool sleeping) { PrepareForSleep(sleeping); });
    m_power.SetPrepareForShutdownHandler([this](bool shuttingDown) { PrepareForShutdown(shuttingDown); });
    m_peers.SetQueryHandler([this] { return SuspendPermitted(); });
}

PowerManager::~PowerManager()
{
    m_power.SetPrepareForSleepHandler({});
    m_power.SetPrepareForShutdownHandler({});
    m_peers.SetQueryHandler({});
}

bool PowerManager::Run(Test test)
{
    if (test != Test::Idle && !m_engine.Armed())
        m_engine.RecomputeForPower();

    const bool full = test == Test::Full;
    const bool after = test == Test::AfterRecording;
    const bool idle = test == Test::Idle;
    const bool sessionEnd = test == Test::SessionEnd;

    if (m_engine.ManualStopRunning())
        return false;
    if ((full || idle || sessionEnd) && (m_engine.GuideBusy() || m_engine.RunningCommands() > 0))
        return false;
    if ((full || after || idle) && m_preventDown)
        return false;
    if (idle)
        return true;

    DateTime target;
    if (m_engine.StartArmed(&target)) {
        const double minutesAway = std::fabs(DateTime::MsBetween(m_clock.Now(), target)) / 60000.0;
        const double delaiMinutes = m_settings.DelaiArret.TotalSeconds() / 60.0;
        if (minutesAway <= delaiMinutes)
            return false;
    }
    if (m_engine.RecordingUnderWay() || m_engine.DelayedStartPending())
        return false;
    return true;
}

bool PowerManager::SuspendPermitted()
{
    const bool permitted = Run(Test::Full);
    if (m_power.SuspendVetoWanted() == permitted)
        m_power.SetSuspendVeto(!permitted, Ls(kSuspendRefused));
    return permitted;
}

bool PowerManager::SuspendPermittedAfterRecording()
{
    return Run(Test::AfterRecording);
}

bool PowerManager::IdleTest()
{
    return Run(Test::Idle);
}

bool PowerManager::SessionEndPermitted()
{
    return Run(Test::SessionEnd);
}

void PowerManager::RefreshSuspendVeto()
{
    SuspendPermitted();
}

bool PowerManager::InstancesAgree()
{
    return m_peers.AllAgree();
}

bool PowerManager::HibernateAllowed()
{
    return m_power.CanHibernate();
}

bool PowerManager::StandbyAllowed()
{
    return m_power.CanSuspend();
}

void PowerManager::Journal(int textSlot)
{
    if (m_journal)
        m_journal->WriteJournalEvent(Ls(textSlot), QString(), QString(), QString());
}

void PowerManager::RefuseNotice(int textSlot)
{
    m_questions.Inform(Ls(textSlot), false, 0, kNoticeSeconds);
}

void PowerManager::ShutDown()
{
    if (!m_questions.Ask(QuestionId::ShutDown))
        return;
    Journal(kShutDownEvent);
    m_power.PowerOff();
}

bool PowerManager::Standby()
{
    return SuspendAction(false);
}

bool PowerManager::Hibernate()
{
    return SuspendAction(true);
}

bool PowerManager::SuspendAction(bool hibernate)
{
    if (!m_questions.Ask(hibernate ? QuestionId::Hibernate : QuestionId::Standby))
        return false;
    Journal(hibernate ? kHibernateEvent : kStandbyEvent);
    return hibernate ? m_power.Hibernate() : m_power.Suspend();
}

void PowerManager::PowerSavingModeNow()
{
    if (!InstancesAgree()) {
        RefuseNotice(kSuspendRefused);
        return;
    }
    if (HibernateAllowed())
        Hibernate();
    else if (StandbyAllowed())
        Standby();
}

void PowerManager::PrepareForSleep(bool sleeping)
{
    if (!sleeping) {
        Resume();
        return;
    }
    // The system sleeps whatever we answer now (our block was overridden when the test refuses);
    // the viewer is closed and the timers stopped only when nothing needs them.
    if (SuspendPermitted()) {
        m_engine.PrepareForSuspend();
        if (m_clock3)
            m_clock3->Stop();
    }
    Journal(kSleepEvent);
    m_power.ReadyForSleep();
}

void PowerManager::PrepareForShutdown(bool shuttingDown)
{
    if (!shuttingDown)
        return;
    if (SessionEndPermitted())
        DropPendingAction();
    m_power.ReadyForSleep();
}

void PowerManager::Resume()
{
    m_engine.MarkUnarmed();
    DropPendingAction();
    Journal(kResumeEvent);
    m_engine.ScheduleResumeRefresh();
}

void PowerManager::ResumeWaitOver()
{
    m_power.KeepAwakeNudge();
    if (m_clock3 && !m_clock3->Running())
        m_clock3->Enable();
}

void PowerManager::SetWakeTimer(DateTime instant)
{
    m_power.SetWakeTimer(PowerBackend::EffectiveWakeInstant(instant, m_clock.Now()));
}

void PowerManager::CancelWakeTimer()
{
    m_power.CancelWakeTimer();
}

void PowerManager::FollowNextWake(DateTime wakeInstant)
{
    if (wakeInstant.IsNoTime() || !m_engine.RecordingSwitchedOn())
        CancelWakeTimer();
    else
        SetWakeTimer(wakeInstant.AddMinutes(-PowerBackend::kLateWakeMinutes));
    RefreshSuspendVeto();
}

void PowerManager::SetPendingAction(PowerAction action)
{
    if (action == PowerAction::None) {
        DropPendingAction();
        return;
    }
    m_pending = action;
    m_timer30->SetInterval(kRetryIntervalMs);
    m_timer30->SetEnabled(true);
}

void PowerManager::DropPendingAction()
{
    m_timer30->SetEnabled(false);
    m_pending = PowerAction::None;
}

bool PowerManager::RetryTimerRunning() const
{
    return m_timer30->Enabled();
}

int PowerManager::RetryInterval() const
{
    return m_timer30->Interval();
}

void PowerManager::Timer30Timer()
{
    if (!InstancesAgree())
        return;
    m_timer30->SetEnabled(false);
    const PowerAction action = m_pending;
    m_pending = PowerAction::None;
    switch (action) {
    case PowerAction::ShutDown:
        ShutDown();
        break;
    case PowerAction::Standby:
        Standby();
        break;
    case PowerAction::Hibernate:
        Hibernate();
        break;
    case PowerAction::None:
        break;
    }
}

bool PowerManager::AutoForbidSuspend() const
{
    return m_settings.AutoForbidSuspend;
}

void PowerManager::SetCauto(bool ticked)
{
    m_settings.AutoForbidSuspend = ticked;
}

bool PowerManager::ForbidPanelIconVisible() const
{
    return m_settings.AutoForbidSuspend;
}

void PowerManager::ClickPrevent(bool down)
{
    m_preventDown = down;
    Nosuspend1Click();
}

void PowerManager::SetPreventAutomatically(bool down)
{
    m_autoMarker = 1;
    m_preventDown = down;
    Nosuspend1Click();
    m_autoMarker = 0;
}

void PowerManager::PressVetoAutomatically(bool down)
{
    if (!m_settings.AutoForbidSuspend)
        return;
    SetPreventAutomatically(down);
}

void PowerManager::Nosuspend1Click()
{
    if (m_autoMarker == 0)
        m_settings.AutoForbidSuspend = false;

    // The window counts as ended in the minute after its end, and also at any later check while it
    // still holds the toggle: a check that came a little late must not keep the computer awake for good.
    const DateTime now = m_clock.Now();
    const bool pastWindow = m_inWindowMarker == 1 &&
                            !ForbidWindow::Contains(m_settings.InterdireDebut, m_settings.InterdireFin, now);
    if (pastWindow || ForbidWindow::JustEnded(m_settings.InterdireFin, now)) {
        if (m_settings.AutoForbidSuspend && m_preventDown && m_settings.Interdire && m_inWindowMarker == 1) {
            if (!m_settings.InterdireToujours) {
                m_reentryMarker = 1;
                CInterdireClick(false);
                m_reentryMarker = 0;
            }
            m_preventDown = false;
            m_inWindowMarker = 0;
            m_trayChecked = m_preventDown;
            if (SuspendPermitted())
                PowerSavingModeNow();
        }
        m_inWindowMarker = 0;
    }
    m_trayChecked = m_preventDown;
    RefreshSuspendVeto();
}

void PowerManager::CInterdireClick(bool ticked)
{
    m_settings.Interdire = ticked;
    if (m_reentryMarker == 1)
        return;
    if (!ticked)
        m_inWindowMarker = 0;
    ForbidWindowCheck();
}

void PowerManager::SetInterdireToujours(bool ticked)
{
    m_settings.InterdireToujours = ticked;
}

void PowerManager::SetForbidTimes(DateTime start, DateTime end)
{
    m_settings.InterdireDebut = start.TimePart();
    m_settings.InterdireFin = end.TimePart();
    m_inWindowMarker = 0;
    ForbidWindowCheck();
}

void PowerManager::ForbidWindowCheck()
{
    if (!m_settings.AutoForbidSuspend)
        return;
    m_autoMarker = 1;
    if (m_settings.Interdire && m_inWindowMarker == 0 &&
        ForbidWindow::Contains(m_settings.InterdireDebut, m_settings.InterdireFin, m_clock.Now())) {
        m_preventDown = true;
        m_inWindowMarker = 1;
    }
    if (!SuspendPermitted())
        m_preventDown = true;
    Nosuspend1Click();
    m_autoMarker = 0;
}

void PowerManager::FollowManualStop(bool manualStopVisible)
{
    if (m_settings.AutoForbidSuspend && m_inWindowMarker != 1 && m_preventDown != manualStopVisible)
        SetPreventAutomatically(manualStopVisible);
}

void PowerManager::PeriodicKeepAwake()
{
    if (m_settings.ProtVeille && !StandbyAllowed())
        m_power.KeepAwakeNudge();
}

} // namespace quorx
