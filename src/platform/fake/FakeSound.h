#pragma once

#include "common/DateTime.h"
#include "platform/Sound.h"

#include <QMutex>
#include <QVector>

namespace quorx {

class Clock;

struct FakeBeep
{
    DateTime when;
    int frequencyHz = 0;
    int durationMs = 0;
};

// Records beeps with the virtual time. A beep takes no virtual time: the clock belongs to the
// timer loop, and moving it from here would let timers fall behind. Alarms may beep from a worker
// thread, hence the lock.
class FakeSound final : public Sound
{
public:
    explicit FakeSound(const Clock& clock);
    Q_DISABLE_COPY_MOVE(FakeSound)

    void Beep(int frequencyHz, int durationMs) override;

    QVector<FakeBeep> Beeps() const;
    void ClearRecords();

private:
    const Clock& m_clock;
    mutable QMutex m_mutex;
    QVector<FakeBeep> m_beeps;
};

} // namespace quorx
