#pragma once

#include "common/DateTime.h"

#include <QObject>

#include <functional>
#include <memory>

namespace quorx {

class Clock;
class JournalSink;
class Timer;
class TimerService;
class ViewerControl;

// The stop, at a chosen time, of a recording the user started by hand in the viewer: the time
// box CDelai, the button BitBtn3 and the timer Timer5. The main window shows the state and
// forwards its events here; the engine tells what it has planned.
class ManualStop final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ManualStop)

public:
    struct Schedule
    {
        // A scheduled recording is starting or under way.
        std::function<bool()> recordingBusy;
        // When the next scheduled recording starts (the armed start); NoTime when none.
        std::function<DateTime()> nextStart;
    };

    ManualStop(const Clock& clock, TimerService& timers, ViewerControl& viewer, JournalSink* journal,
               Schedule schedule, QObject* parent = nullptr);
    ~ManualStop() override;

    // The time shown in CDelai (a time of day; seconds are kept).
    DateTime ShownTime() const { return m_shown; }
    void SetShownTime(DateTime timeOfDay);
    // CDelai red: a stop is armed.
    bool IsArmed() const { return m_armed; }
    // The time the armed stop was taken from; negative while none was taken.
    DateTime StopTime() const { return m_stopTime; }
    // When the armed stop fires; NoTime when not armed.
    DateTime StopMoment() const { return m_armed ? m_stopMoment : DateTime::NoTime(); }
    bool TimerRunning() const;
    // BitBtn3 and CDelai are shown.
    bool IsVisible() const { return m_visible; }

    // Once a second: shown while the viewer runs outside a scheduled recording; hiding them
    // drops an armed stop.
    void UpdateVisibility(bool viewerRunning);
    // Arms at the time shown, or disarms when it is armed at that very time.
    void BitBtn3Click();
    // Leaving CDelai with another time than the armed one arms at the new time.
    void CDelaiExit();
    // After the engine armed its timers and after a clock change: the armed stop follows the
    // clock and moves before a newly chosen recording.
    void Rearm();
    // A scheduled recording starts, or recording is switched off.
    void Cancel();
    // Timer5's event.
    void Timer5Timer();

Q_SIGNALS:
    // The shown time, the armed state or the visibility changed.
    void Changed();

private:
    void Arm();
    void Disarm();
    DateTime TodayAt(DateTime timeOfDay) const;

    const Clock& m_clock;
    TimerService& m_timers;
    ViewerControl& m_viewer;
    JournalSink* m_journal;
    Schedule m_schedule;
    std::unique_ptr<Timer> m_timer5;
    DateTime m_shown;
    DateTime m_stopTime = DateTime(-1.0);
    DateTime m_stopMoment = DateTime::NoTime();
    bool m_armed = false;
    bool m_visible = false;
};

} // namespace quorx
