#include "platform/linux/TimerfdClockWatch.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace quorx {

namespace {

// Far enough never to expire, well inside what the kernel accepts.
constexpr time_t kAheadSeconds = time_t{50} * 365 * 86400;

qint64 ReadMs(clockid_t clock)
{
    timespec now{};
    ::clock_gettime(clock, &now);
    return static_cast<qint64>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

} // namespace

TimerfdClockWatch::Source TimerfdClockWatch::SystemSource()
{
    Source source;
    source.open = [] { return ::timerfd_create(CLOCK_REALTIME, TFD_CLOEXEC | TFD_NONBLOCK); };
    source.arm = [](int fd) {
        itimerspec due{};
        ::clock_gettime(CLOCK_REALTIME, &due.it_value);
        due.it_value.tv_sec += kAheadSeconds;
        return ::timerfd_settime(fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &due, nullptr) == 0;
    };
    source.read = [](int fd) {
        std::uint64_t expirations = 0;
        const ssize_t n = ::read(fd, &expirations, sizeof expirations);
        return n == static_cast<ssize_t>(sizeof expirations) ? 0 : (n < 0 ? errno : EIO);
    };
    source.wallMinusBootMs = [] { return ReadMs(CLOCK_REALTIME) - ReadMs(CLOCK_BOOTTIME); };
    source.close = [](int fd) { ::close(fd); };
    return source;
}

TimerfdClockWatch::TimerfdClockWatch(Source source) : m_source(std::move(source))
{
    m_fd = m_source.open();
    if (m_fd < 0)
        return;
    if (!m_source.arm(m_fd)) {
        m_source.close(m_fd);
        m_fd = -1;
        return;
    }
    m_wallMinusBootMs = m_source.wallMinusBootMs();
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { OnReadable(); });
}

TimerfdClockWatch::~TimerfdClockWatch()
{
    m_notifier.reset();
    Stop();
}

void TimerfdClockWatch::Stop()
{
    // Called from the notifier's own signal too, when it must outlive the call.
    if (m_notifier) {
        m_notifier->setEnabled(false);
        m_notifier.release()->deleteLater();
    }
    if (m_fd >= 0) {
        m_source.close(m_fd);
        m_fd = -1;
    }
}

void TimerfdClockWatch::OnReadable()
{
    bool cancelled = false;
    for (;;) {
        const int result = m_source.read(m_fd);
        if (result == EINTR)
            continue;
        if (result == EAGAIN)
            break;
        if (result == ECANCELED) {
            cancelled = true;
        } else if (result != 0) {
            // A descriptor that keeps failing would keep the loop spinning: give up watching.
            Stop();
            return;
        }
        // Cancelled or (decades on) expired: arming again clears the state and waits for the next set.
        if (!m_source.arm(m_fd)) {
            Stop();
            return;
        }
    }
    if (!cancelled)
        return;
    const qint64 offset = m_source.wallMinusBootMs();
    const qint64 moved = offset - m_wallMinusBootMs;
    m_wallMinusBootMs = offset;
    if (moved > kToleranceMs || moved < -kToleranceMs)
        NotifyClockChanged();
}

} // namespace quorx
