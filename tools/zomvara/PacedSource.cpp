#include "PacedSource.h"

#include <algorithm>

namespace quorx::zomvara {

namespace {
constexpr int kTickMs = 100;
constexpr qint64 kMaxCatchUpMs = 2000; // after a stall, do not burst more than this much at once
} // namespace

PacedSource::PacedSource(int bytesPerSecond, int granule, QObject* parent)
    : StreamSource(parent), m_bytesPerSecond(std::max(1, bytesPerSecond)), m_granule(std::max(1, granule))
{
    m_timer.setInterval(kTickMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &PacedSource::OnTick);
}

void PacedSource::Start()
{
    m_delivered = 0;
    m_elapsed.start();
    m_timer.start();
}

void PacedSource::Stop()
{
    m_timer.stop();
}

void PacedSource::OnTick()
{
    const qint64 due = m_elapsed.elapsed() * m_bytesPerSecond / 1000;
    qint64 missing = due - m_delivered;
    const qint64 cap = m_bytesPerSecond * kMaxCatchUpMs / 1000;
    if (missing > cap) {
        // The process was stopped for a while: a live stream drops what it missed.
        m_delivered = due - cap;
        missing = cap;
    }
    const qint64 size = missing / m_granule * m_granule;
    if (size <= 0)
        return;
    const QByteArray data = Produce(size);
    m_delivered += size;
    if (!data.isEmpty())
        Q_EMIT DataArrived(data);
}

} // namespace quorx::zomvara
