#pragma once

#include <QString>
#include <QtGlobal>

namespace quorx {

class LogindBus;

// One inhibitor lock on sleep and shutdown, held as long as the descriptor the login manager
// handed out stays open. "block" refuses the operation, "delay" holds it back for a few seconds.
class LogindInhibitor final
{
public:
    static QString What() { return QStringLiteral("sleep:shutdown"); }
    static QString Who() { return QStringLiteral("Vizezezoruvav Zomvara"); }

    explicit LogindInhibitor(QString mode) : m_mode(std::move(mode)) {}
    ~LogindInhibitor() { Release(); }
    Q_DISABLE_COPY_MOVE(LogindInhibitor)

    // Holding it already with the same reason changes nothing; with another reason the new lock is
    // taken before the old one goes, so that there is no moment without one.
    bool Take(const LogindBus& bus, const QString& why);
    void Release();
    bool Held() const { return m_fd >= 0; }
    const QString& Mode() const { return m_mode; }

    // The login manager drops a lock when it notices the descriptor closed, which may come after
    // calls already on the way; this waits (briefly) until the last released lock is off its list.
    void WaitUntilUnlisted(const LogindBus& bus, int timeoutMs) const;

private:
    const QString m_mode;
    QString m_why;
    int m_fd = -1;
};

} // namespace quorx
