#pragma once

#include "common/DateTime.h"
#include "power/PowerControl.h"

#include <QString>

#include <memory>

namespace quorx {

class Clock;
class EngineActivity;
class InstancePeers;
class JournalSink;
class OneSecondClock;
class PowerBackend;
class Questions;
class Timer;
class TimerService;
struct Settings;

// The power management of the main window as engine logic: the suspend tests, the system's
// sleep and shutdown notices, the power actions and the pending one, the wake timer, resume, the
// prevent toggle Nosuspend1 with its automatic rules and the daily forbid window. The window only
// shows the state held here and forwards its clicks. Main thread only.
class PowerManager final : public PowerControl
{
public:
    // settings holds the check boxes Cauto (AutoForbidSuspend), CInterdire, CInterdire3 and the two
    // pickers, changed here as the window would; journal may be null.
    PowerManager(Settings& settings, const Clock& clock, TimerService& timers, PowerBackend& power,
                 InstancePeers& peers, Questions& questions, JournalSink* journal, EngineActivity& engine);
    ~PowerManager() override;
    Q_DISABLE_COPY_MOVE(PowerManager)

    // Stopped before a granted suspend and run again after the resume wait.
    void AttachClock(OneSecondClock* clock) { m_clock3 = clock; }

    // PowerControl.
    void PressVetoAutomatically(bool down) override;
    bool AutoForbidSuspend() const override;
    void SetWakeTimer(DateTime instant) override;
    void CancelWakeTimer() override;
    void FollowNextWake(DateTime wakeInstant) override;
    void RefreshSuspendVeto() override;
    void ResumeWaitOver() override;
    void SetPendingAction(PowerAction action) override;
    void DropPendingAction() override;
    PowerAction PendingAction() const override { return m_pending; }
    bool SuspendPermitted() override;
    bool SuspendPermittedAfterRecording() override;
    bool IdleTest() override;
    bool InstancesAgree() override;
    bool HibernateAllowed() override;
    bool StandbyAllowed() override;
    void ShutDown() override;
    bool Standby() override;
    bool Hibernate() override;

    bool SessionEndPermitted();

    // The system's notices (also reached through the backend's handlers).
    void PrepareForSleep(bool sleeping);
    void PrepareForShutdown(bool shuttingDown);
    void Resume();

    // BitBtn1 and the tray item Modeconomiednergie1.
    void PowerSavingModeNow();
    // Timer30's event.
    void Timer30Timer();
    bool RetryTimerRunning() const;
    int RetryInterval() const;

    // The prevent toggle. SetPreventDown moves it as a click does (the handler runs with the marker
    // as it stands, so a change by hand unticks Cauto); the tray item's click does the same.
    bool PreventDown() const { return m_preventDown; }
    void ClickPrevent(bool down);
    void TrayNosuspendClick(bool checked) { ClickPrevent(checked); }
    void Nosuspend1Click();
    bool TrayNosuspendChecked() const { return m_trayChecked; }
    int PreventGlyphMargin() const { return m_preventDown ? 0 : 5; }

    // Cauto, CInterdire, CInterdire3 and the pickers, as the user changes them.
    void SetCauto(bool ticked);
    void CInterdireClick(bool ticked);
    void SetInterdireToujours(bool ticked);
    void SetForbidTimes(DateTime start, DateTime end);
    void ForbidWindowCheck();
    bool ForbidPanelIconVisible() const;

    // The once-a-second follow of the manual-stop button's visibility (the one-second clock).
    void FollowManualStop(bool manualStopVisible);
    // Every 180 ticks: the nudge when ProtVeille is on and standby is not allowed.
    void PeriodicKeepAwake();

    bool InWindow() const { return m_inWindowMarker == 1; }
    bool AutomaticChangeMarker() const { return m_autoMarker == 1; }

private:
    enum class Test
    {
        Full,
        AfterRecording,
        Idle,
        SessionEnd
    };
    bool Run(Test test);
    void SetPreventAutomatically(bool down);
    void RefuseNotice(int textSlot);
    void Journal(int textSlot);
    bool SuspendAction(bool hibernate);

    Settings& m_settings;
    const Clock& m_clock;
    TimerService& m_timers;
    PowerBackend& m_power;
    InstancePeers& m_peers;
    Questions& m_questions;
    JournalSink* m_journal;
    EngineActivity& m_engine;
    OneSecondClock* m_clock3 = nullptr;
    std::unique_ptr<Timer> m_timer30;
    PowerAction m_pending = PowerAction::None;

    bool m_preventDown = false;
    bool m_trayChecked = false;
    int m_autoMarker = 0;     // tag of Cauto
    int m_inWindowMarker = 0; // tag of CInterdire
    int m_reentryMarker = 0;  // tag of CInterdire1
    bool m_vetoKnown = false;
    bool m_vetoHeld = false;
};

} // namespace quorx
