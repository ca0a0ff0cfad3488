#pragma once

#include "common/DateTime.h"
#include "platform/PowerBackend.h"

#include <QVector>

namespace quorx {

class Clock;

enum class FakePowerOp
{
    CanSuspend,
    CanHibernate,
    Suspend,
    Hibernate,
    PowerOff,
    SetSuspendVeto,
    ReadyForSleep,
    SetWakeTimer,
    CancelWakeTimer,
    KeepAwakeNudge,
};

// One call as the fake saw it, with the virtual time. For SetSuspendVeto flag is refuse and text
// the reason; for the power actions and Can* flag is the answer given; for SetWakeTimer instant is
// the instant asked for (WakeTimerInstant() gives the one kept).
struct FakePowerCall
{
    DateTime when;
    FakePowerOp op = FakePowerOp::CanSuspend;
    bool flag = false;
    DateTime instant;
    QString text;
};

// A power backend that only records, for tests and the simulation. Its locks behave as the login
// manager's do: the veto is lifted around our own accepted suspend until the resume is raised, and
// the delay lock is held at rest, released by ReadyForSleep() and taken again on resume.
class FakePowerBackend final : public PowerBackend
{
public:
    explicit FakePowerBackend(const Clock& clock);
    Q_DISABLE_COPY_MOVE(FakePowerBackend)

    bool CanSuspend() override;
    bool CanHibernate() override;
    bool Suspend() override;
    bool Hibernate() override;
    bool PowerOff() override;
    void SetSuspendVeto(bool refuse, const QString& why) override;
    bool SuspendVetoWanted() const override { return m_vetoWanted; }
    bool SuspendVetoHeld() const override { return m_vetoHeld; }
    void ReadyForSleep() override;
    WakeTimerType SetWakeTimer(DateTime localInstant) override;
    void CancelWakeTimer() override;
    WakeTimerType WakeTimerKind() const override { return m_wakeKind; }
    DateTime WakeTimerInstant() const override { return m_wakeInstant; }
    void KeepAwakeNudge() override;

    // What the system allows (both by default), whether it accepts the actions (yes by default),
    // and what a wake timer will be (an alarm timer by default; None: the computer is not woken).
    void SetAllowed(bool standby, bool hibernation);
    void SetAcceptsActions(bool accepts) { m_acceptsActions = accepts; }
    void SetAvailableWakeTimer(WakeTimerType kind) { m_availableWake = kind; }

    // The system's notices, as the login manager gives them.
    void RaisePrepareForSleep(bool sleeping);
    void RaisePrepareForShutdown(bool shuttingDown);

    bool DelayLockHeld() const { return m_delayHeld; }
    const QString& SuspendVetoReason() const { return m_vetoWhy; }
    const QVector<FakePowerCall>& Calls() const { return m_calls; }
    QVector<FakePowerCall> CallsOf(FakePowerOp op) const;
    void ClearRecords() { m_calls.clear(); }

private:
    void Record(FakePowerOp op, bool flag, DateTime instant = DateTime(), const QString& text = QString());
    bool OwnAction(FakePowerOp op);
    void TakeLocksAtRest();

    const Clock& m_clock;
    bool m_canSuspend = true;
    bool m_canHibernate = true;
    bool m_acceptsActions = true;
    WakeTimerType m_availableWake = WakeTimerType::AlarmTimer;
    bool m_vetoWanted = false;
    bool m_vetoHeld = false;
    QString m_vetoWhy;
    bool m_delayHeld = true;
    bool m_ownActionUnderWay = false;
    WakeTimerType m_wakeKind = WakeTimerType::None;
    DateTime m_wakeInstant = DateTime::NoTime();
    QVector<FakePowerCall> m_calls;
};

} // namespace quorx
