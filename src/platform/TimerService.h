#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace quorx {

// A repeating timer as the program's windows know it: an interval and an enabled flag; while
// enabled it fires every interval; setting the interval or enabling it again restarts the count.
// A handler that must not run twice stops its own timer first.
class Timer
{
public:
    virtual ~Timer() = default;
    virtual void SetInterval(int ms) = 0;
    virtual int Interval() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
    void SetHandler(std::function<void()> handler) { m_handler = std::move(handler); }
    const QString& Name() const { return m_name; }

protected:
    explicit Timer(QString name) : m_name(std::move(name)) {}
    void Fire()
    {
        if (m_handler)
            m_handler();
    }

private:
    QString m_name;
    std::function<void()> m_handler;
};

class TimerService
{
public:
    virtual ~TimerService() = default;
    // A new timer, disabled, with an interval of 1000 ms.
    virtual std::unique_ptr<Timer> CreateTimer(const QString& name) = 0;
    // Waits while processing messages: timers keep firing (their handlers may wait in turn), and
    // the call returns once ms milliseconds have passed.
    virtual void Wait(int ms) = 0;
    // Milliseconds on a clock that never jumps (suspend aside), for measuring waits.
    virtual qint64 ElapsedMs() const = 0;
};

} // namespace quorx
