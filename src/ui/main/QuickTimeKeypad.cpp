#include "ui/main/QuickTimeKeypad.h"

#include <QGridLayout>
#include <QMouseEvent>
#include <QTimeEdit>
#include <QToolButton>

#include <algorithm>

namespace quorx {

namespace {

const char* const kButton = "keypadButton";
const char* const kTag = "keypadTag";

} // namespace

QuickTimeKeypad::QuickTimeKeypad(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel4"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(254, 218, 165));
    setPalette(p);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(1);

    using B = TimeKeypad::Button;
    AddButton(QStringLiteral("B0"), QStringLiteral("0"), B::Midnight, 0, 0, 0, 1, QString(), 2);
    // Hours: B1 is hour 0, B2 to B24 the hours 1 to 23, then -1 and +1.
    AddButton(QStringLiteral("B1"), QStringLiteral("0"), B::Hour, 0, 0, 1, 1, QStringLiteral("Heures"));
    for (int h = 1; h <= 23; ++h)
        AddButton(QStringLiteral("B%1").arg(h + 1), QString::number(h), B::Hour, h, 0, h + 1);
    AddButton(QStringLiteral("B25"), QStringLiteral("-1"), B::HourMinus, 0, 0, 25);
    AddButton(QStringLiteral("B26"), QStringLiteral("+1"), B::HourPlus, 0, 0, 26);
    // Minutes: B27 is 0, B28 to B38 the minutes 5 to 55, then -1 and +1.
    AddButton(QStringLiteral("B27"), QStringLiteral("0"), B::Minute, 0, 1, 1, 1, QStringLiteral("Minutes"));
    for (int i = 1; i <= 11; ++i)
        AddButton(QStringLiteral("B%1").arg(27 + i), QString::number(5 * i), B::Minute, 5 * i, 1, 2 * i, 2);
    AddButton(QStringLiteral("B39"), QStringLiteral("-1"), B::MinuteMinus, 0, 1, 25);
    AddButton(QStringLiteral("B40"), QStringLiteral("+1"), B::MinutePlus, 0, 1, 26);
    hide();
}

void QuickTimeKeypad::AddButton(const QString& name, const QString& text, TimeKeypad::Button button, int tag,
                                int row, int column, int columnSpan, const QString& hint, int rowSpan)
{
    auto* b = new QToolButton(this);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setMinimumSize(22, 22);
    b->setProperty(kButton, static_cast<int>(button));
    b->setProperty(kTag, tag);
    b->installEventFilter(this);
    connect(b, &QToolButton::clicked, this, [this, name] { Press(name, false); });
    static_cast<QGridLayout*>(layout())->addWidget(b, row, column, rowSpan, columnSpan);
    if (rowSpan > 1)
        b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
}

bool QuickTimeKeypad::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        Press(watched->objectName(), true);
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void QuickTimeKeypad::Press(const QString& buttonName, bool rightPress)
{
    const auto* b = findChild<QToolButton*>(buttonName);
    if (!b || !m_picker)
        return;
    const auto button = static_cast<TimeKeypad::Button>(b->property(kButton).toInt());
    m_picker->setTime(TimeKeypad::Apply(m_picker->time(), button, b->property(kTag).toInt(), rightPress));
    m_picker->setFocus();
}

void QuickTimeKeypad::OpenUnder(QTimeEdit* picker)
{
    if (!picker)
        return;
    if (m_picker && m_picker != picker)
        Close();
    if (m_picker != picker) {
        m_picker = picker;
        m_pickerPalette = picker->palette();
        QPalette p = m_pickerPalette;
        p.setColor(QPalette::Base, QColor(254, 218, 165));
        picker->setPalette(p);
    }
    QWidget* host = parentWidget();
    adjustSize();
    QPoint at = picker->mapTo(host, QPoint(0, picker->height()));
    // Kept inside the window: the pickers sit on the bottom band.
    if (at.y() + height() > host->height())
        at.setY(picker->mapTo(host, QPoint(0, 0)).y() - height());
    at.setX(std::max(0, std::min(at.x(), host->width() - width())));
    move(at);
    raise();
    show();
}

void QuickTimeKeypad::Close()
{
    if (m_picker)
        m_picker->setPalette(m_pickerPalette);
    m_picker = nullptr;
    hide();
}

} // namespace quorx
