#pragma once

#include "platform/ClockWatch.h"

#include <QtGlobal>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace quorx {

// A timer on the wall clock, armed far ahead with TFD_TIMER_CANCEL_ON_SET: the kernel cancels it
// whenever the clock is set, and reading it then fails with ECANCELED. A resume cancels it too,
// so a cancellation counts only when the wall clock moved against the boot clock (which counts
// the time spent suspended, so that their difference stays put across a suspend).
class TimerfdClockWatch final : public ClockWatch
{
public:
    // Moves of the wall clock against the boot clock up to this size are not reported.
    static constexpr qint64 kToleranceMs = 500;

    // What the watch is built on; tests put a scripted descriptor in its place.
    struct Source
    {
        std::function<int()> open;       // a descriptor that becomes readable, or -1
        std::function<bool(int fd)> arm; // (re)arms it far ahead
        std::function<int(int fd)> read; // 0 on expiry, else the error number (EAGAIN: nothing)
        std::function<qint64()> wallMinusBootMs;
        std::function<void(int fd)> close;
    };
    static Source SystemSource();

    explicit TimerfdClockWatch(Source source = SystemSource());
    ~TimerfdClockWatch() override;
    Q_DISABLE_COPY_MOVE(TimerfdClockWatch)

    bool Watching() const { return m_notifier != nullptr; }

private:
    void OnReadable();
    void Stop();

    Source m_source;
    int m_fd = -1;
    qint64 m_wallMinusBootMs = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace quorx
