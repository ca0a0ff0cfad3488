#pragma once

#include <QObject>

#include <functional>

namespace quorx {

// The login manager's PrepareForSleep and PrepareForShutdown signals, passed on to functions.
// D-Bus delivers signals to named slots only, which is why this small object exists.
class LogindSignalRelay final : public QObject
{
    Q_OBJECT

public:
    LogindSignalRelay(std::function<void(bool)> onPrepareForSleep,
                      std::function<void(bool)> onPrepareForShutdown)
        : m_onPrepareForSleep(std::move(onPrepareForSleep)),
          m_onPrepareForShutdown(std::move(onPrepareForShutdown))
    {
    }

public Q_SLOTS:
    void PrepareForSleep(bool sleeping) { m_onPrepareForSleep(sleeping); }
    void PrepareForShutdown(bool shuttingDown) { m_onPrepareForShutdown(shuttingDown); }

private:
    std::function<void(bool)> m_onPrepareForSleep;
    std::function<void(bool)> m_onPrepareForShutdown;
};

} // namespace quorx
