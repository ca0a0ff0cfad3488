#include "ui/dialog/TFDIalog.h"

#include "common/QtColours.h"
#include "power/QuestionPlacement.h"
#include "ui/dialog/DialogPictures.h"

#include <QCheckBox>
#include <QCursor>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace quorx {

namespace {

constexpr int kBoxGap = 3;
constexpr int kProgressHeight = 18;

void SetBackground(QWidget* widget, QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

} // namespace

TFDIalog::TFDIalog(const QuestionRequest& request, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FDIalog"));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    setFont(font);
    CreateControls();
    Apply(request);
}

void TFDIalog::CreateControls()
{
    m_oui = new QPushButton(QStringLiteral("&Oui"), this);
    m_oui->setObjectName(QStringLiteral("Oui"));
    m_oui->setGeometry(10, 8, 70, 27);
    m_oui->setIcon(DialogPictures::YesGlyph());
    connect(m_oui, &QPushButton::clicked, this, &TFDIalog::OuiClick);

    m_non = new QPushButton(QStringLiteral("&Non"), this);
    m_non->setObjectName(QStringLiteral("Non"));
    m_non->setGeometry(10, 43, 70, 27);
    m_non->setIcon(DialogPictures::NoGlyph());
    connect(m_non, &QPushButton::clicked, this, &TFDIalog::NonClick);

    m_panel1 = new QFrame(this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setGeometry(94, 7, 371, 105);
    m_panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_panel1->setLineWidth(1);
    m_panel1->setAutoFillBackground(true);

    m_icInt = new QLabel(m_panel1);
    m_icInt->setObjectName(QStringLiteral("icInt"));
    m_icInt->setGeometry(290, 6, 76, 91);
    m_icInt->setAlignment(Qt::AlignCenter);
    m_icInt->setPixmap(DialogPictures::Question(m_icInt->size()));

    m_icExcl = new QLabel(m_panel1);
    m_icExcl->setObjectName(QStringLiteral("IcExcl"));
    m_icExcl->setGeometry(290, 6, 76, 91);
    m_icExcl->setAlignment(Qt::AlignCenter);
    m_icExcl->setPixmap(DialogPictures::Exclamation(m_icExcl->size()));
    m_icExcl->hide();

    m_texte = new QPlainTextEdit(m_panel1);
    m_texte->setObjectName(QStringLiteral("Texte"));
    m_texte->setGeometry(5, 4, 283, 97);
    m_texte->setReadOnly(true);
    m_texte->setFrameStyle(QFrame::NoFrame);
    m_texte->setFocusPolicy(Qt::ClickFocus);
    m_texte->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_texte->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    m_checkBox1 = new QCheckBox(QStringLiteral("&Ne plus poser la question"), this);
    m_checkBox1->setObjectName(QStringLiteral("CheckBox1"));
    m_checkBox1->setGeometry(94, 116, 265, 17);

    // Created after the box so that, at the resting size, it lies over it.
    m_avancement = new QProgressBar(this);
    m_avancement->setObjectName(QStringLiteral("Avancement"));
    m_avancement->setRange(0, QuestionRequest::kCountdownTicks);
    m_avancement->setValue(0);
    m_avancement->setTextVisible(false);
    m_avancement->setToolTip(
        QStringLiteral("Le bouton-poussoir par défaut sera automatiquement enfoncé au bout de 30 secondes."));

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(QuestionRequest::kDesignedTickMs);
    connect(m_timer1, &QTimer::timeout, this, &TFDIalog::Timer1Timer);

    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void TFDIalog::Apply(const QuestionRequest& request)
{
    const QuestionAppearance& look = request.look;
    setWindowTitle(look.caption);
    const QColor panel = ToQColor(look.panelColour);
    SetBackground(m_panel1, QPalette::Window, panel);
    SetBackground(m_texte, QPalette::Base, panel);
    SetBackground(m_texte, QPalette::Text, ToQColor(look.textColour));
    m_showHints = look.showHints;

    if (!request.yesCaption.isEmpty())
        m_oui->setText(request.yesCaption);
    if (!request.boxCaption.isEmpty())
        m_checkBox1->setText(request.boxCaption);
    m_non->setVisible(request.showNo);
    m_icInt->setVisible(request.picture == QuestionPicture::Question);
    m_icExcl->setVisible(request.picture == QuestionPicture::Exclamation);
    m_texte->setPlainText(request.text);

    m_default = request.DefaultButton();
    m_cancel = request.cancelButton;
    m_oui->setDefault(m_default == QuestionButton::Oui);
    m_non->setDefault(m_default == QuestionButton::Non);

    QPushButton* first = ButtonOf(request.firstInTabOrder);
    QPushButton* second = first == m_oui ? m_non : m_oui;
    setTabOrder(first, second);
    setTabOrder(second, m_checkBox1);

    // The box is uncovered by growing the window; without it, it stays hidden so that the
    // keyboard cannot reach a box nobody sees.
    m_checkBox1->setVisible(request.offerBox);
    const int height = kClientHeight + (request.offerBox ? m_checkBox1->height() + kBoxGap : 0);
    setFixedSize(kClientWidth, height);
    m_avancement->setGeometry(0, height - kProgressHeight, kClientWidth, kProgressHeight);
    m_avancement->raise();

    m_timer1->setInterval(request.tickIntervalMs);
    m_timer1->start();
}

QuestionReply TFDIalog::Reply() const
{
    QuestionReply reply;
    reply.yes = m_tag == 1;
    reply.boxTicked = m_checkBox1->isVisibleTo(this) && m_checkBox1->isChecked();
    return reply;
}

QPushButton* TFDIalog::DefaultButton() const
{
    return ButtonOf(m_default);
}

QPushButton* TFDIalog::ButtonOf(QuestionButton button) const
{
    switch (button) {
    case QuestionButton::Oui:
        return m_oui;
    case QuestionButton::Non:
        return m_non;
    case QuestionButton::None:
        break;
    }
    return nullptr;
}

void TFDIalog::Timer1Timer()
{
    m_avancement->setValue(m_avancement->value() + 1);
    if (m_avancement->value() < m_avancement->maximum())
        return;
    m_timer1->stop();
    DefaultButton()->click();
}

void TFDIalog::OuiClick()
{
    m_tag = 1;
    accept();
}

void TFDIalog::NonClick()
{
    m_tag = 0;
    reject();
}

void TFDIalog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    DefaultButton()->setFocus(Qt::OtherFocusReason);
    PlaceUnderCursor();
    // The window manager may decorate the window only once it is mapped; the title bar is then
    // known and the window is placed again before it takes the focus.
    QTimer::singleShot(0, this, [this] {
        PlaceUnderCursor();
        BringToFront();
    });
}

void TFDIalog::PlaceUnderCursor()
{
    const QPoint cursor = QCursor::pos();
    QScreen* screen = QGuiApplication::screenAt(cursor);
    if (!screen)
        screen = this->screen();
    if (!screen)
        return;
    const QRect frame = frameGeometry();
    const QPoint clientOffset = geometry().topLeft() - frame.topLeft();
    const QPoint target = QuestionPlacement::Place(cursor, DefaultButton()->geometry(), clientOffset,
                                                   frame.size(), screen->geometry());
    if (target != frame.topLeft())
        move(target);
}

void TFDIalog::BringToFront()
{
    if (windowState() & Qt::WindowMinimized)
        setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void TFDIalog::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        // Escape presses the variant's cancel button; a notice has none and ignores it.
        if (QPushButton* cancel = ButtonOf(m_cancel); cancel && cancel->isVisibleTo(this))
            cancel->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFDIalog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip && !m_showHints)
        return true;
    return QDialog::eventFilter(watched, event);
}

} // namespace quorx
