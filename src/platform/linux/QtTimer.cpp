#include "platform/linux/QtTimer.h"

#include <algorithm>
#include <chrono>

namespace quorx {

QtTimer::QtTimer(QString name) : Timer(std::move(name))
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { OnTimeout(); });
}

qint64 QtTimer::MonotonicMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void QtTimer::SetInterval(int ms)
{
    m_interval = ms;
    if (m_enabled)
        Restart();
}

void QtTimer::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    if (enabled)
        Restart();
    else
        m_timer.stop();
}

void QtTimer::Restart()
{
    m_timer.stop();
    // An interval of zero or less never fires, as a window timer without interval does not.
    if (m_interval <= 0)
        return;
    m_dueMs = MonotonicMs() + m_interval;
    m_timer.start(m_interval);
}

void QtTimer::OnTimeout()
{
    if (!m_enabled || m_interval <= 0)
        return;
    const qint64 now = MonotonicMs();
    m_dueMs += m_interval;
    // Firings missed while the thread was busy are not made up, as the system merges them too.
    if (m_dueMs <= now)
        m_dueMs = now + m_interval;
    m_timer.start(static_cast<int>(std::min<qint64>(m_dueMs - now, m_interval)));
    Fire();
}

} // namespace quorx
