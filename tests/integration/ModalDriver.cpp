#include "ModalDriver.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

namespace quorx::test {

ModalDriver::ModalDriver(int deadlineMs) : m_deadlineMs(deadlineMs)
{
    m_elapsed.start();
    m_timer.setInterval(25);
    connect(&m_timer, &QTimer::timeout, this, &ModalDriver::Poll);
    m_timer.start();
}

ModalDriver::~ModalDriver() = default;

void ModalDriver::Then(const QString& objectName, Act act, Ready ready)
{
    m_steps.append({objectName, std::move(act), std::move(ready)});
}

void ModalDriver::Poll()
{
    if (m_elapsed.elapsed() > m_deadlineMs) {
        for (const Step& s : m_steps)
            m_failures << QStringLiteral("no window %1 in time").arg(s.objectName);
        m_steps.clear();
        RejectModalWindows();
        return;
    }
    if (m_steps.isEmpty())
        return;
    QWidget* top = QApplication::activeModalWidget();
    if (!top || !top->isVisible() || top->objectName() != m_steps.front().objectName)
        return;
    if (m_steps.front().ready && !m_steps.front().ready(top))
        return;
    // Taken off first: the action may open a window of its own, whose event loop polls again.
    const Step step = m_steps.takeFirst();
    m_played << step.objectName;
    step.act(top);
}

void ModalDriver::RejectModalWindows()
{
    for (int guard = 0; guard < 8; ++guard) {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        m_failures << QStringLiteral("window %1 closed at the deadline").arg(dialog->objectName());
        dialog->reject();
    }
}

} // namespace quorx::test
