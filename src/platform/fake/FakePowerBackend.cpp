#include "platform/fake/FakePowerBackend.h"

#include "platform/Clock.h"

namespace quorx {

FakePowerBackend::FakePowerBackend(const Clock& clock) : m_clock(clock) {}

void FakePowerBackend::Record(FakePowerOp op, bool flag, DateTime instant, const QString& text)
{
    m_calls.append(FakePowerCall{m_clock.Now(), op, flag, instant, text});
}

QVector<FakePowerCall> FakePowerBackend::CallsOf(FakePowerOp op) const
{
    QVector<FakePowerCall> found;
    for (const FakePowerCall& call : m_calls) {
        if (call.op == op)
            found.append(call);
    }
    return found;
}

void FakePowerBackend::SetAllowed(bool standby, bool hibernation)
{
    m_canSuspend = standby;
    m_canHibernate = hibernation;
}

bool FakePowerBackend::CanSuspend()
{
    Record(FakePowerOp::CanSuspend, m_canSuspend);
    return m_canSuspend;
}

bool FakePowerBackend::CanHibernate()
{
    Record(FakePowerOp::CanHibernate, m_canHibernate);
    return m_canHibernate;
}

bool FakePowerBackend::Suspend()
{
    return OwnAction(FakePowerOp::Suspend);
}

bool FakePowerBackend::Hibernate()
{
    return OwnAction(FakePowerOp::Hibernate);
}

bool FakePowerBackend::PowerOff()
{
    return OwnAction(FakePowerOp::PowerOff);
}

bool FakePowerBackend::OwnAction(FakePowerOp op)
{
    const bool allowed = op == FakePowerOp::Suspend     ? m_canSuspend
                         : op == FakePowerOp::Hibernate ? m_canHibernate
                                                        : true;
    const bool accepted = allowed && m_acceptsActions;
    m_vetoHeld = false;
    Record(op, accepted);
    if (accepted)
        m_ownActionUnderWay = true;
    else
        m_vetoHeld = m_vetoWanted;
    return accepted;
}

void FakePowerBackend::SetSuspendVeto(bool refuse, const QString& why)
{
    Record(FakePowerOp::SetSuspendVeto, refuse, DateTime(), why);
    m_vetoWanted = refuse;
    if (!refuse) {
        m_vetoHeld = false;
        return;
    }
    m_vetoWhy = why;
    if (!m_ownActionUnderWay)
        m_vetoHeld = true;
}

void FakePowerBackend::ReadyForSleep()
{
    Record(FakePowerOp::ReadyForSleep, m_delayHeld);
    m_delayHeld = false;
}

void FakePowerBackend::TakeLocksAtRest()
{
    m_ownActionUnderWay = false;
    m_delayHeld = true;
    m_vetoHeld = m_vetoWanted;
}

void FakePowerBackend::RaisePrepareForSleep(bool sleeping)
{
    if (sleeping) {
        if (!HasPrepareForSleepHandler())
            m_delayHeld = false;
        NotifyPrepareForSleep(true);
        return;
    }
    TakeLocksAtRest();
    NotifyPrepareForSleep(false);
}

void FakePowerBackend::RaisePrepareForShutdown(bool shuttingDown)
{
    if (shuttingDown) {
        if (!HasPrepareForShutdownHandler())
            m_delayHeld = false;
        NotifyPrepareForShutdown(true);
        return;
    }
    TakeLocksAtRest();
    NotifyPrepareForShutdown(false);
}

WakeTimerType FakePowerBackend::SetWakeTimer(DateTime localInstant)
{
    Record(FakePowerOp::SetWakeTimer, false, localInstant);
    m_wakeKind = WakeTimerType::None;
    m_wakeInstant = DateTime::NoTime();
    if (localInstant.IsNoTime() || m_availableWake == WakeTimerType::None)
        return m_wakeKind;
    m_wakeKind = m_availableWake;
    m_wakeInstant = EffectiveWakeInstant(localInstant, m_clock.Now());
    return m_wakeKind;
}

void FakePowerBackend::CancelWakeTimer()
{
    Record(FakePowerOp::CancelWakeTimer, m_wakeKind != WakeTimerType::None);
    m_wakeKind = WakeTimerType::None;
    m_wakeInstant = DateTime::NoTime();
}

void FakePowerBackend::KeepAwakeNudge()
{
    Record(FakePowerOp::KeepAwakeNudge, true);
}

} // namespace quorx
