#pragma once

#include "platform/TimerService.h"

#include <QTimer>

namespace quorx {

// A timer of the program's event loop. It is driven as a single shot re-armed at each firing,
// before the handler runs: Qt does not deliver a timer inside its own handler, while window timers
// do fire again during a message loop that their handler runs (a wait), and the handlers count on it.
class QtTimer final : public Timer
{
public:
    explicit QtTimer(QString name);
    Q_DISABLE_COPY_MOVE(QtTimer)

    void SetInterval(int ms) override;
    int Interval() const override { return m_interval; }
    void SetEnabled(bool enabled) override;
    bool Enabled() const override { return m_enabled; }

private:
    static qint64 MonotonicMs();
    void Restart();
    void OnTimeout();

    QTimer m_timer;
    int m_interval = 1000;
    bool m_enabled = false;
    // The monotonic moment the running count ends, so that firings do not drift by the time
    // spent in handlers.
    qint64 m_dueMs = 0;
};

} // namespace quorx
