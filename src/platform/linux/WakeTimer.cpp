#include "platform/linux/WakeTimer.h"

#include "platform/Clock.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/timerfd.h>
#include <unistd.h>

namespace quorx {

namespace {

bool WriteAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// A sysfs attribute takes one value per open and cannot be replaced by renaming a temporary file,
// so it is written in place; O_CREAT is left out so that a wrong path never leaves a stray file.
bool WriteAttribute(const QString& path, const QByteArray& value)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, value);
    const bool closed = ::close(fd) == 0;
    return written && closed;
}

} // namespace

QString WakeTimer::DefaultRtcWakeAlarmPath()
{
    return QStringLiteral("/sys/class/rtc/rtc0/wakealarm");
}

int WakeTimer::ArmKernelAlarmTimer(qint64 utcSeconds)
{
    const int fd = ::timerfd_create(CLOCK_REALTIME_ALARM, TFD_CLOEXEC | TFD_NONBLOCK);
    if (fd < 0)
        return -errno;
    itimerspec due{};
    due.it_value.tv_sec = static_cast<time_t>(utcSeconds);
    if (::timerfd_settime(fd, TFD_TIMER_ABSTIME, &due, nullptr) != 0) {
        const int error = errno;
        ::close(fd);
        return -error;
    }
    return fd;
}

WakeTimer::WakeTimer(const Clock& clock, QString rtcWakeAlarmPath, ArmAlarmTimerFn armAlarmTimer)
    : m_clock(clock), m_rtcPath(std::move(rtcWakeAlarmPath)), m_armAlarmTimer(std::move(armAlarmTimer))
{
}

// Nobody records once the program has ended, so the computer is not woken for it either; an alarm
// timer dies with its descriptor anyway, and the real-time clock is cleared to match.
WakeTimer::~WakeTimer()
{
    Cancel();
}

WakeTimerType WakeTimer::Set(DateTime localInstant)
{
    Cancel();
    if (localInstant.IsNoTime())
        return m_kind;
    const DateTime instant = PowerBackend::EffectiveWakeInstant(localInstant, m_clock.Now());
    const QDateTime local = instant.ToQDateTime();
    if (!local.isValid())
        return m_kind;
    const qint64 utcSeconds = local.toSecsSinceEpoch();

    // Any failure of the alarm timer (no CAP_WAKE_ALARM, a kernel without alarm timers, no free
    // descriptor) is worth trying the real-time clock for.
    const int fd = m_armAlarmTimer ? m_armAlarmTimer(utcSeconds) : -ENOSYS;
    if (fd >= 0) {
        m_alarmFd = fd;
        m_kind = WakeTimerType::AlarmTimer;
    } else if (WriteRtcAlarm(utcSeconds)) {
        m_kind = WakeTimerType::RtcAlarm;
    } else {
        return m_kind;
    }
    m_instant = instant;
    return m_kind;
}

void WakeTimer::Cancel()
{
    if (m_alarmFd >= 0) {
        ::close(m_alarmFd);
        m_alarmFd = -1;
    }
    if (m_kind == WakeTimerType::RtcAlarm)
        WriteAttribute(m_rtcPath, QByteArrayLiteral("0\n"));
    m_kind = WakeTimerType::None;
    m_instant = DateTime::NoTime();
}

// The clock refuses a new alarm while another one is pending, hence the 0 first.
bool WakeTimer::WriteRtcAlarm(qint64 utcSeconds) const
{
    if (m_rtcPath.isEmpty() || !WriteAttribute(m_rtcPath, QByteArrayLiteral("0\n")))
        return false;
    return WriteAttribute(m_rtcPath, QByteArray::number(utcSeconds) + '\n');
}

} // namespace quorx
