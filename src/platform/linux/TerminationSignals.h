#pragma once

#include <QObject>

class QSocketNotifier;

namespace quorx {

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal delivered from the event loop, so that the
// end of a session, a shutdown or Ctrl+C in a terminal ends the program through its normal path
// (schedule and settings saved) instead of killing it mid-write. One instance per process.
class TerminationSignals final : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    Q_DISABLE_COPY_MOVE(TerminationSignals)

    // False when the signals could not be caught (they then keep their default action).
    bool Installed() const { return m_installed; }

Q_SIGNALS:
    void Requested(int signalNumber);

private:
    void Drain();

    QSocketNotifier* m_notifier = nullptr;
    bool m_installed = false;
};

} // namespace quorx
