#include "platform/fake/FakeSound.h"

#include "platform/Clock.h"

namespace quorx {

FakeSound::FakeSound(const Clock& clock) : m_clock(clock) {}

void FakeSound::Beep(int frequencyHz, int durationMs)
{
    QMutexLocker lock(&m_mutex);
    m_beeps.append(FakeBeep{m_clock.Now(), frequencyHz, durationMs});
}

QVector<FakeBeep> FakeSound::Beeps() const
{
    QMutexLocker lock(&m_mutex);
    return m_beeps;
}

void FakeSound::ClearRecords()
{
    QMutexLocker lock(&m_mutex);
    m_beeps.clear();
}

} // namespace quorx
