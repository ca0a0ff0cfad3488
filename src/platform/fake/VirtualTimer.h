#pragma once

#include "platform/TimerService.h"

namespace quorx {

class VirtualTimerService;

// A timer on the virtual clock. It is due on the monotonic count, so a clock change by the user
// does not move it; the service fires it when a wait or a run reaches its due moment.
class VirtualTimer final : public Timer
{
public:
    ~VirtualTimer() override;
    Q_DISABLE_COPY_MOVE(VirtualTimer)

    void SetInterval(int ms) override;
    int Interval() const override { return m_interval; }
    void SetEnabled(bool enabled) override;
    bool Enabled() const override { return m_enabled; }

    // The monotonic moment of the next firing, -1 when it will not fire (disabled, or an interval of
    // zero or less, which never fires, as a window timer without interval does not).
    qint64 DueMs() const { return Armed() ? m_dueMs : -1; }

private:
    friend class VirtualTimerService;
    VirtualTimer(VirtualTimerService* service, QString name);

    bool Armed() const { return m_enabled && m_interval > 0; }
    void Restart();
    void Trigger() { Fire(); }

    VirtualTimerService* m_service;
    int m_interval = 1000;
    bool m_enabled = false;
    qint64 m_dueMs = 0;
    // Order of arming, which breaks ties between timers due at the same moment.
    quint64 m_armSequence = 0;
};

} // namespace quorx
