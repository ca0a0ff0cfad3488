#include "TestEventLoop.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace quorx::test {

void EnsureApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "quorx-power-test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

bool SpinUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

} // namespace quorx::test
