#include "power/OneSecondClock.h"

#include "engine/EngineActivity.h"
#include "platform/Clock.h"
#include "platform/TimerService.h"
#include "power/PowerManager.h"
#include "schedule/Settings.h"
#include "viewer/ManualStop.h"
#include "viewer/ViewerControl.h"

namespace quorx {

namespace {

constexpr int kTaskImportTicks = 30;
constexpr int kNudgeTicks = 180;
constexpr int kUpdateTicks = 360;
constexpr int kForbidTicks = 60;

void Call(const std::function<void()>& hook)
{
    if (hook)
        hook();
}

} // namespace

OneSecondClock::OneSecondClock(const Clock& clock, TimerService& timers, const Settings& settings,
                               ViewerControl& viewer, ManualStop& manualStop, PowerManager& power,
                               EngineActivity& engine, Hooks hooks)
    : m_clock(clock), m_settings(settings), m_viewer(viewer), m_manualStop(manualStop), m_power(power),
      m_engine(engine), m_hooks(std::move(hooks))
{
    m_timer3 = timers.CreateTimer(QStringLiteral("Timer3"));
    m_timer3->SetEnabled(false);
    m_timer3->SetHandler([this] { Tick(); });
}

OneSecondClock::~OneSecondClock() = default;

void OneSecondClock::Start()
{
    m_running = true;
    Tick();
}

void OneSecondClock::Enable()
{
    m_running = true;
    m_timer3->SetInterval(NextInterval(m_clock.Now()));
    m_timer3->SetEnabled(true);
}

void OneSecondClock::Stop()
{
    m_running = false;
    m_timer3->SetEnabled(false);
}

bool OneSecondClock::Running() const
{
    return m_running;
}

int OneSecondClock::Interval() const
{
    return m_timer3->Interval();
}

void OneSecondClock::RunGuarded(const std::function<void()>& hook, bool* running)
{
    if (!hook || *running)
        return;
    *running = true;
    hook();
    *running = false;
}

void OneSecondClock::Tick()
{
    ++m_ticks;
    m_viewerRunning = m_viewer.IsViewerRunning();

    if (!m_viewerRunning && m_manualStop.IsVisible()) {
        if (m_settings.EPGStandard)
            RunGuarded(m_hooks.viewerSchedulerImport, &m_schedulerImportRunning);
        if (m_settings.EPGKirvel)
            RunGuarded(m_hooks.taskSchedulerImport, &m_taskImportRunning);
    } else if (m_viewerRunning && m_settings.EPGKirvel && m_ticks % kTaskImportTicks == 0) {
        RunGuarded(m_hooks.taskSchedulerImport, &m_taskImportRunning);
    }

    if (m_ticks % kNudgeTicks == 0) {
        m_power.PeriodicKeepAwake();
        Call(m_hooks.freeSpaceWatch);
    }
    if (m_ticks % kUpdateTicks == 0) {
        Call(m_hooks.updateCheck);
        m_ticks = 0;
    }
    if (m_ticks % kForbidTicks == 0)
        m_power.ForbidWindowCheck();

    const DateTime now = m_clock.Now();
    // A week on the virtual clock is 600 000 ticks, nearly all of them with no window to show them.
    m_shownMoment = now;
    m_cheureStale = true;
    if (now.DayNumber() != m_lastDay) {
        m_lastDay = now.DayNumber();
        m_engine.RecomputeSchedule();
        Call(m_hooks.guideUpdateCheck);
        Call(m_hooks.updateCheck);
    }

    m_espaceBold = m_hooks.freeSpaceMaroon && m_hooks.freeSpaceMaroon() ? !m_espaceBold : false;

    // BitBtn3 and CDelai follow the viewer; hiding them stops Timer5.
    m_manualStop.UpdateVisibility(m_viewerRunning);
    m_power.FollowManualStop(m_manualStop.IsVisible());
    m_power.RefreshSuspendVeto();

    if (m_running) {
        m_timer3->SetInterval(NextInterval(m_clock.Now()));
        m_timer3->SetEnabled(true);
    }
    Call(m_hooks.changed);
}

const QString& OneSecondClock::CHeure() const
{
    if (m_cheureStale) {
        m_cheure = ClockText(m_shownMoment);
        m_cheureStale = false;
    }
    return m_cheure;
}

QString OneSecondClock::ClockText(DateTime now)
{
    QString date = now.LongDayText() + QLatin1Char(' ') + QString::number(now.Year());
    if (!date.isEmpty())
        date[0] = date.at(0).toUpper();
    return QLatin1Char(' ') + date + QStringLiteral(" - ") + now.TimeTextWithSeconds() + QLatin1Char(' ');
}

int OneSecondClock::NextInterval(DateTime now)
{
    const int ms = static_cast<int>(DateTime::MsBetween(now.DatePart(), now) % 1000);
    const int interval = 999 - ms;
    return interval < 25 ? 1000 : interval;
}

} // namespace quorx
