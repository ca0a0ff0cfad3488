#include "platform/linux/LogindPowerBackend.h"

#include "platform/linux/LogindSignalRelay.h"
#include "platform/linux/WakeTimer.h"

#include <QDBusServiceWatcher>

namespace quorx {

namespace {

constexpr int kQueryTimeoutMs = 3000;
// Long enough for an authentication the desktop may ask for; the request itself is answered at once.
constexpr int kActionTimeoutMs = 30000;
constexpr int kReleaseSettleMs = 500;

QString DelayReason()
{
    return QStringLiteral("Préparation de la mise en veille");
}

QString DefaultVetoReason()
{
    return QStringLiteral("Enregistrement en cours");
}

} // namespace

LogindPowerBackend::LogindPowerBackend(const QDBusConnection& systemBus, const QDBusConnection& sessionBus,
                                       std::unique_ptr<WakeTimer> wakeTimer)
    : m_logind(systemBus), m_screenSaver(sessionBus), m_wakeTimer(std::move(wakeTimer))
{
    if (!m_logind.Connected())
        return;
    m_relay = std::make_unique<LogindSignalRelay>([this](bool sleeping) { OnPrepareForSleep(sleeping); },
                                                  [this](bool down) { OnPrepareForShutdown(down); });
    QDBusConnection bus = m_logind.Connection();
    bus.connect(LogindBus::Service(), LogindBus::ObjectPath(), LogindBus::ManagerInterface(),
                QStringLiteral("PrepareForSleep"), m_relay.get(), SLOT(PrepareForSleep(bool)));
    bus.connect(LogindBus::Service(), LogindBus::ObjectPath(), LogindBus::ManagerInterface(),
                QStringLiteral("PrepareForShutdown"), m_relay.get(), SLOT(PrepareForShutdown(bool)));

    // A login manager that starts (or restarts) after us has none of our locks.
    m_watcher = std::make_unique<QDBusServiceWatcher>(LogindBus::Service(), bus,
                                                      QDBusServiceWatcher::WatchForOwnerChange);
    QObject::connect(m_watcher.get(), &QDBusServiceWatcher::serviceRegistered, m_relay.get(),
                     [this](const QString&) { TakeLocksAtRest(); });
    QObject::connect(m_watcher.get(), &QDBusServiceWatcher::serviceUnregistered, m_relay.get(),
                     [this](const QString&) { OnLogindVanished(); });
    TakeLocksAtRest();
}

std::unique_ptr<LogindPowerBackend> LogindPowerBackend::ForThisMachine(const Clock& clock)
{
    return std::make_unique<LogindPowerBackend>(QDBusConnection::systemBus(), QDBusConnection::sessionBus(),
                                                std::make_unique<WakeTimer>(clock));
}

LogindPowerBackend::~LogindPowerBackend()
{
    m_watcher.reset();
    m_relay.reset();
}

bool LogindPowerBackend::AnswersAllowed(const QString& method) const
{
    const QDBusMessage reply = m_logind.Call(method, {}, kQueryTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    // "challenge" means allowed once the user authenticates, which the desktop asks for itself.
    const QString answer = reply.arguments().constFirst().toString();
    return answer == QLatin1String("yes") || answer == QLatin1String("challenge");
}

bool LogindPowerBackend::CanSuspend()
{
    return AnswersAllowed(QStringLiteral("CanSuspend"));
}

bool LogindPowerBackend::CanHibernate()
{
    return AnswersAllowed(QStringLiteral("CanHibernate"));
}

bool LogindPowerBackend::Suspend()
{
    return RequestOwnAction(QStringLiteral("Suspend"));
}

bool LogindPowerBackend::Hibernate()
{
    return RequestOwnAction(QStringLiteral("Hibernate"));
}

bool LogindPowerBackend::PowerOff()
{
    return RequestOwnAction(QStringLiteral("PowerOff"));
}

bool LogindPowerBackend::RequestOwnAction(const QString& method)
{
    if (!m_logind.Connected())
        return false;
    if (m_block.Held()) {
        m_block.Release();
        m_block.WaitUntilUnlisted(m_logind, kReleaseSettleMs);
    }
    // interactive = true: where the answer was "challenge", the desktop may ask for a password.
    const QDBusMessage reply = m_logind.Call(method, {true}, kActionTimeoutMs);
    const bool accepted = reply.type() == QDBusMessage::ReplyMessage;
    if (accepted)
        m_ownActionUnderWay = true;
    else if (m_vetoWanted)
        m_block.Take(m_logind, m_vetoWhy);
    return accepted;
}

void LogindPowerBackend::SetSuspendVeto(bool refuse, const QString& why)
{
    if (!refuse) {
        m_vetoWanted = false;
        m_block.Release();
        return;
    }
    m_vetoWanted = true;
    m_vetoWhy = why.isEmpty() ? DefaultVetoReason() : why;
    if (!m_ownActionUnderWay)
        m_block.Take(m_logind, m_vetoWhy);
}

void LogindPowerBackend::ReadyForSleep()
{
    m_delay.Release();
}

void LogindPowerBackend::TakeLocksAtRest()
{
    m_delay.Take(m_logind, DelayReason());
    if (m_vetoWanted && !m_ownActionUnderWay)
        m_block.Take(m_logind, m_vetoWhy);
}

void LogindPowerBackend::OnPrepareForSleep(bool sleeping)
{
    if (sleeping) {
        // Nobody to do any work first: the system must not wait for us.
        if (!HasPrepareForSleepHandler())
            ReadyForSleep();
        NotifyPrepareForSleep(true);
        return;
    }
    m_ownActionUnderWay = false;
    TakeLocksAtRest();
    NotifyPrepareForSleep(false);
}

void LogindPowerBackend::OnPrepareForShutdown(bool shuttingDown)
{
    if (shuttingDown) {
        if (!HasPrepareForShutdownHandler())
            ReadyForSleep();
        NotifyPrepareForShutdown(true);
        return;
    }
    m_ownActionUnderWay = false;
    TakeLocksAtRest();
    NotifyPrepareForShutdown(false);
}

void LogindPowerBackend::OnLogindVanished()
{
    // Its locks went with it; what is wanted is kept and taken again when it returns.
    m_block.Release();
    m_delay.Release();
    m_ownActionUnderWay = false;
}

WakeTimerType LogindPowerBackend::SetWakeTimer(DateTime localInstant)
{
    return m_wakeTimer ? m_wakeTimer->Set(localInstant) : WakeTimerType::None;
}

void LogindPowerBackend::CancelWakeTimer()
{
    if (m_wakeTimer)
        m_wakeTimer->Cancel();
}

WakeTimerType LogindPowerBackend::WakeTimerKind() const
{
    return m_wakeTimer ? m_wakeTimer->Kind() : WakeTimerType::None;
}

DateTime LogindPowerBackend::WakeTimerInstant() const
{
    return m_wakeTimer ? m_wakeTimer->Instant() : DateTime::NoTime();
}

void LogindPowerBackend::KeepAwakeNudge()
{
    m_screenSaver.Nudge();
}

} // namespace quorx
