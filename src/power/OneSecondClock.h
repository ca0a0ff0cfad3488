#pragma once

#include "common/DateTime.h"

#include <QString>

#include <functional>
#include <memory>

namespace quorx {

class Clock;
class EngineActivity;
class ManualStop;
class PowerManager;
class Timer;
class TimerService;
class ViewerControl;
struct Settings;

// The main window's one-second clock Timer3, on which periodic work hangs: the viewer watch and
// the imports when it stops, the keep-awake nudge, the free-space watch, the update check, the
// forbid window, the date and time text, the new-day recomputation and the manual-stop button.
// The window only shows the values kept here.
class OneSecondClock final
{
public:
    // Work owned by other subsystems; the composition root fills what exists, empty ones are skipped.
    struct Hooks
    {
        std::function<void()> viewerSchedulerImport; // the viewer's own scheduler file
        std::function<void()> taskSchedulerImport;   // tasks planned by the viewer's guide module
        std::function<void()> freeSpaceWatch;
        std::function<void()> updateCheck;      // start of the update notice check
        std::function<void()> guideUpdateCheck; // the automatic guide update check
        std::function<bool()> freeSpaceMaroon;  // the free-space text shows the alarm colour
        std::function<void()> changed;          // after every tick, for the window to redraw
    };

    OneSecondClock(const Clock& clock, TimerService& timers, const Settings& settings, ViewerControl& viewer,
                   ManualStop& manualStop, PowerManager& power, EngineActivity& engine, Hooks hooks);
    ~OneSecondClock();
    Q_DISABLE_COPY_MOVE(OneSecondClock)

    // Runs a first tick at once (which sees a new day) and keeps ticking.
    void Start();
    // Ticking again from the next interval, as after the resume wait.
    void Enable();
    void Stop();
    bool Running() const;
    // Timer3's event.
    void Tick();

    int TickCount() const { return m_ticks; }
    int Interval() const;
    // The label CHeure as of the last tick; the text is only built when something shows it.
    const QString& CHeure() const;
    // CEspace in bold, switched each tick while the free-space text is maroon.
    bool CEspaceBold() const { return m_espaceBold; }
    // BitBtn4 (bring the viewer to the front); BitBtn3 and CDelai are ManualStop's.
    bool BitBtn4Visible() const { return m_viewerRunning; }
    bool ViewerRunning() const { return m_viewerRunning; }

    // " Lundi 1 janvier 2024 - 10:00:00 ": the long date, a dash and the time, capitalised.
    static QString ClockText(DateTime now);
    // Milliseconds to the next second boundary.
    static int NextInterval(DateTime now);

private:
    void RunGuarded(const std::function<void()>& hook, bool* running);

    const Clock& m_clock;
    const Settings& m_settings;
    ViewerControl& m_viewer;
    ManualStop& m_manualStop;
    PowerManager& m_power;
    EngineActivity& m_engine;
    Hooks m_hooks;
    std::unique_ptr<Timer> m_timer3;
    bool m_running = false;
    int m_ticks = 0;
    int m_lastDay = -1;
    bool m_viewerRunning = false;
    bool m_espaceBold = false;
    bool m_schedulerImportRunning = false;
    bool m_taskImportRunning = false;
    DateTime m_shownMoment;
    mutable bool m_cheureStale = false;
    mutable QString m_cheure;
};

} // namespace quorx
