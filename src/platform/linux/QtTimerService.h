#pragma once

#include "platform/TimerService.h"

#include <QElapsedTimer>

namespace quorx {

// Timers of the Qt event loop of the thread that creates them (the main thread). A wait runs a
// nested event loop, so the interface and every timer stay alive while a handler waits.
class QtTimerService final : public TimerService
{
public:
    QtTimerService();
    Q_DISABLE_COPY_MOVE(QtTimerService)

    std::unique_ptr<Timer> CreateTimer(const QString& name) override;
    void Wait(int ms) override;
    qint64 ElapsedMs() const override { return m_elapsed.elapsed(); }

private:
    QElapsedTimer m_elapsed;
};

} // namespace quorx
