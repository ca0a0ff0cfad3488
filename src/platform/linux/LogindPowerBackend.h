#pragma once

#include "platform/PowerBackend.h"
#include "platform/linux/LogindBus.h"
#include "platform/linux/LogindInhibitor.h"
#include "platform/linux/ScreenSaverNudge.h"

#include <QDBusConnection>

#include <memory>

class QDBusServiceWatcher;

namespace quorx {

class Clock;
class LogindSignalRelay;
class WakeTimer;

// Power through the login manager on the system bus: its Can*/Suspend/Hibernate/PowerOff calls,
// a "block" inhibitor for the veto, and a "delay" inhibitor held at rest so that the engine gets
// its turn before a suspend or shutdown. Where no login manager answers, everything fails softly.
class LogindPowerBackend final : public PowerBackend
{
public:
    // The buses are given so that tests can point them at a private bus.
    LogindPowerBackend(const QDBusConnection& systemBus, const QDBusConnection& sessionBus,
                       std::unique_ptr<WakeTimer> wakeTimer);
    // The machine's buses and its wake alarm.
    static std::unique_ptr<LogindPowerBackend> ForThisMachine(const Clock& clock);
    ~LogindPowerBackend() override;
    Q_DISABLE_COPY_MOVE(LogindPowerBackend)

    bool CanSuspend() override;
    bool CanHibernate() override;
    bool Suspend() override;
    bool Hibernate() override;
    bool PowerOff() override;

    void SetSuspendVeto(bool refuse, const QString& why) override;
    bool SuspendVetoWanted() const override { return m_vetoWanted; }
    bool SuspendVetoHeld() const override { return m_block.Held(); }
    void ReadyForSleep() override;

    WakeTimerType SetWakeTimer(DateTime localInstant) override;
    void CancelWakeTimer() override;
    WakeTimerType WakeTimerKind() const override;
    DateTime WakeTimerInstant() const override;

    void KeepAwakeNudge() override;

private:
    bool AnswersAllowed(const QString& method) const;
    bool RequestOwnAction(const QString& method);
    void TakeLocksAtRest();
    void OnPrepareForSleep(bool sleeping);
    void OnPrepareForShutdown(bool shuttingDown);
    void OnLogindVanished();

    LogindBus m_logind;
    ScreenSaverNudge m_screenSaver;
    std::unique_ptr<WakeTimer> m_wakeTimer;
    std::unique_ptr<LogindSignalRelay> m_relay;
    std::unique_ptr<QDBusServiceWatcher> m_watcher;
    LogindInhibitor m_block{QStringLiteral("block")};
    LogindInhibitor m_delay{QStringLiteral("delay")};
    bool m_vetoWanted = false;
    QString m_vetoWhy;
    // Set from our own accepted request until the system reports the resume (or the cancelled
    // shutdown): taking the veto again before that would refuse the very action we asked for.
    bool m_ownActionUnderWay = false;
};

} // namespace quorx
