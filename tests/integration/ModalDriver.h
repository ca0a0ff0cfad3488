#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

class QWidget;

namespace quorx::test {

// Plays the user in front of modal windows: each step waits until its window (by object name) is
// the active modal one and ready, then acts on it. A window that never comes, or one left open
// after the script, is rejected at the deadline so that no exec() is left waiting for ever.
class ModalDriver final : public QObject
{
public:
    using Ready = std::function<bool(QWidget*)>;
    using Act = std::function<void(QWidget*)>;

    explicit ModalDriver(int deadlineMs);
    ~ModalDriver() override;

    void Then(const QString& objectName, Act act, Ready ready = {});

    bool Done() const { return m_steps.isEmpty(); }
    // What went wrong: the steps that never ran and the windows closed at the deadline.
    const QStringList& Failures() const { return m_failures; }
    // The object names of the steps run so far, in order.
    const QStringList& Played() const { return m_played; }

private:
    struct Step
    {
        QString objectName;
        Act act;
        Ready ready;
    };

    void Poll();
    void RejectModalWindows();

    QTimer m_timer;
    QElapsedTimer m_elapsed;
    int m_deadlineMs;
    QList<Step> m_steps;
    QStringList m_failures;
    QStringList m_played;
};

} // namespace quorx::test
