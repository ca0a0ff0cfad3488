#include "platform/linux/QtTimerService.h"

#include "platform/linux/QtTimer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace quorx {

QtTimerService::QtTimerService()
{
    m_elapsed.start();
}

std::unique_ptr<Timer> QtTimerService::CreateTimer(const QString& name)
{
    return std::make_unique<QtTimer>(name);
}

void QtTimerService::Wait(int ms)
{
    if (!QCoreApplication::instance()) {
        // Without an application there is no event loop to keep alive: a plain sleep.
        if (ms > 0)
            QThread::msleep(static_cast<unsigned long>(ms));
        return;
    }
    if (ms <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(ms);
    // When a handler's own wait outlasts this one, the quit above arrives while that inner loop
    // runs, and this loop returns as soon as control is back here.
    loop.exec();
}

} // namespace quorx
