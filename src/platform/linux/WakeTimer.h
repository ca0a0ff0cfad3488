#pragma once

#include "platform/PowerBackend.h"

#include <QString>
#include <QtGlobal>

#include <functional>

namespace quorx {

class Clock;

// The timer that brings the computer out of standby or hibernation. A kernel alarm timer is
// preferred (it needs CAP_WAKE_ALARM and lives as long as its descriptor); where it cannot be had,
// the real-time clock's wake alarm is written; else the computer is silently not woken.
class WakeTimer final
{
public:
    // Arms a wake-capable timer for an absolute UTC instant; returns the descriptor that keeps it
    // alive, or minus the error number.
    using ArmAlarmTimerFn = std::function<int(qint64 utcSeconds)>;

    static QString DefaultRtcWakeAlarmPath();
    // timerfd on CLOCK_REALTIME_ALARM with TFD_TIMER_ABSTIME.
    static int ArmKernelAlarmTimer(qint64 utcSeconds);

    explicit WakeTimer(const Clock& clock, QString rtcWakeAlarmPath = DefaultRtcWakeAlarmPath(),
                       ArmAlarmTimerFn armAlarmTimer = &WakeTimer::ArmKernelAlarmTimer);
    ~WakeTimer();
    Q_DISABLE_COPY_MOVE(WakeTimer)

    WakeTimerType Set(DateTime localInstant);
    void Cancel();
    WakeTimerType Kind() const { return m_kind; }
    DateTime Instant() const { return m_instant; }

private:
    bool WriteRtcAlarm(qint64 utcSeconds) const;

    const Clock& m_clock;
    const QString m_rtcPath;
    const ArmAlarmTimerFn m_armAlarmTimer;
    WakeTimerType m_kind = WakeTimerType::None;
    DateTime m_instant = DateTime::NoTime();
    int m_alarmFd = -1;
};

} // namespace quorx
