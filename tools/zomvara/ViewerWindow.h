#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace quorx::zomvara {

class ViewerCore;

// The viewer's window, titled "Zomvara": the tuned channel and the recording under way.
class ViewerWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit ViewerWindow(ViewerCore& core, QWidget* parent = nullptr);

    // Shows the window as QUORX_SHOW_STATE asks: normal, minimised, maximised or hidden.
    void ShowAsAsked(const QString& showState);

Q_SIGNALS:
    void CloseRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Refresh();

    ViewerCore& m_core;
    QLabel* m_channel;
    QLabel* m_recording;
    QLabel* m_status;
    QTimer m_refresh;
};

} // namespace quorx::zomvara
