#include "ViewerWindow.h"

#include "ViewerCore.h"

#include <QCloseEvent>
#include <QLocale>
#include <QVBoxLayout>

namespace quorx::zomvara {

ViewerWindow::ViewerWindow(ViewerCore& core, QWidget* parent)
    : QWidget(parent), m_core(core), m_channel(new QLabel(this)), m_recording(new QLabel(this)),
      m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("Zomvara"));
    setWindowTitle(QStringLiteral("Zomvara"));
    QFont big = m_channel->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    m_channel->setFont(big);
    m_recording->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_channel);
    layout->addWidget(m_recording);
    layout->addWidget(m_status);
    layout->addStretch(1);
    resize(480, 200);
    connect(&m_core, &ViewerCore::Changed, this, &ViewerWindow::Refresh);
    m_refresh.setInterval(500);
    connect(&m_refresh, &QTimer::timeout, this, &ViewerWindow::Refresh);
    m_refresh.start();
    Refresh();
}

void ViewerWindow::ShowAsAsked(const QString& showState)
{
    const QString state = showState.trimmed().toLower();
    if (state == QLatin1String("hidden"))
        return;
    if (state == QLatin1String("minimised") || state == QLatin1String("minimized"))
        showMinimized();
    else if (state == QLatin1String("maximised") || state == QLatin1String("maximized"))
        showMaximized();
    else
        show();
}

void ViewerWindow::Refresh()
{
    const QString channel = m_core.TunedChannel();
    m_channel->setText(channel.isEmpty() ? QStringLiteral("Aucune chaîne") : channel);
    if (m_core.IsRecording()) {
        m_recording->setStyleSheet(QStringLiteral("color: #b00000;"));
        m_recording->setText(
            QStringLiteral("● Enregistrement en cours : %1 (%2 Kio)")
                .arg(m_core.RecordingPath(), QLocale().toString(m_core.RecordedBytes() / 1024)));
    } else {
        m_recording->setStyleSheet(QString());
        m_recording->setText(QStringLiteral("Pas d'enregistrement"));
    }
    QString status = m_core.Status();
    if (m_core.DecoderDisabled())
        status = status.isEmpty() ? QStringLiteral("Décodeur MPEG-2 désactivé")
                                  : status + QStringLiteral(" — Décodeur MPEG-2 désactivé");
    m_status->setText(status);
}

void ViewerWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    Q_EMIT CloseRequested();
}

} // namespace quorx::zomvara
