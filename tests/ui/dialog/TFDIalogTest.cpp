#include "ui/dialog/TFDIalog.h"
#include "common/IniFile.h"
#include "common/QtColours.h"
#include "platform/fake/FakePlatform.h"
#include "power/QuestionTable.h"
#include "power/Questions.h"
#include "schedule/Settings.h"
#include "ui/dialog/DialogQuestionPresenter.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QFrame>
#include <QHelpEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

#include <functional>
#include <memory>

using namespace quorx;

namespace {

QuestionRequest AskRequest(bool defaultYes, bool box = false)
{
    return QuestionRequest::ForAsk(QStringLiteral("Voulez-vous vraiment effacer ce programme ?"), defaultYes,
                                   box, 4);
}

template <typename T> T* Child(QWidget& dialog, const char* name)
{
    return dialog.findChild<T*>(QString::fromLatin1(name));
}

// Runs f on the modal window once exec() has shown it.
void OnModal(std::function<void(TFDIalog&)> f)
{
    QTimer::singleShot(0, [f] {
        auto* dialog = qobject_cast<TFDIalog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        f(*dialog);
    });
}

void RunOutCountdown(TFDIalog& dialog)
{
    for (int i = 0; i < QuestionRequest::kCountdownTicks; ++i)
        dialog.Timer1Timer();
}

} // namespace

class TFDIalogTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void controlsAsDesigned();
    void boxUncoveredByGrowingTheWindow();
    void noticeShowsOnlyItsOkButton();
    void countdownPressesTheDefaultButton_data();
    void countdownPressesTheDefaultButton();
    void timerDrivesTheCountdown();
    void escape_data();
    void escape();
    void closingOtherwiseAnswersNo();
    void defaultButtonHasFocusAndComesFirst();
    void defaultButtonOpensUnderTheCursor();
    void colourAndHints();
    void presenterAsksThroughTheWindow();
};

void TFDIalogTest::controlsAsDesigned()
{
    TFDIalog dialog(AskRequest(false));
    QCOMPARE(dialog.objectName(), QStringLiteral("FDIalog"));
    QCOMPARE(dialog.size(), QSize(471, 136));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(dialog.windowFlags() & Qt::WindowStaysOnTopHint);

    struct Control
    {
        const char* name;
        QRect geometry;
        QString caption;
    };
    const Control controls[] = {
        {"Oui", {10, 8, 70, 27}, QStringLiteral("&Oui")},
        {"Non", {10, 43, 70, 27}, QStringLiteral("&Non")},
        {"Panel1", {94, 7, 371, 105}, {}},
        {"icInt", {290, 6, 76, 91}, {}},
        {"IcExcl", {290, 6, 76, 91}, {}},
        {"Texte", {5, 4, 283, 97}, {}},
        {"CheckBox1", {94, 116, 265, 17}, QStringLiteral("&Ne plus poser la question")},
        {"Avancement", {0, 118, 471, 18}, {}},
    };
    for (const Control& c : controls) {
        QWidget* w = Child<QWidget>(dialog, c.name);
        QVERIFY2(w, c.name);
        QCOMPARE(w->geometry(), c.geometry);
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            QCOMPARE(button->text(), c.caption);
    }
    QVERIFY(Child<QPushButton>(dialog, "Non")->isDefault());
    QVERIFY(!Child<QPushButton>(dialog, "Oui")->isDefault());
    QCOMPARE(Child<QPlainTextEdit>(dialog, "Texte")->toPlainText(),
             QStringLiteral("Voulez-vous vraiment effacer ce programme ?"));
    QVERIFY(Child<QPlainTextEdit>(dialog, "Texte")->isReadOnly());
    QCOMPARE(Child<QFrame>(dialog, "Panel1")->frameShadow(), QFrame::Sunken);
    QVERIFY(Child<QLabel>(dialog, "icInt")->isVisibleTo(&dialog));
    QVERIFY(!Child<QLabel>(dialog, "IcExcl")->isVisibleTo(&dialog));
    auto* bar = Child<QProgressBar>(dialog, "Avancement");
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100);
    QCOMPARE(
        bar->toolTip(),
        QStringLiteral("Le bouton-poussoir par défaut sera automatiquement enfoncé au bout de 30 secondes."));
    auto* timer = dialog.findChild<QTimer*>(QStringLiteral("Timer1"));
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 300);
    QVERIFY(timer->isActive());
}

void TFDIalogTest::boxUncoveredByGrowingTheWindow()
{
    TFDIalog dialog(AskRequest(true, true));
    QCOMPARE(dialog.size(), QSize(471, 156));
    auto* box = Child<QCheckBox>(dialog, "CheckBox1");
    auto* bar = Child<QProgressBar>(dialog, "Avancement");
    QVERIFY(box->isVisibleTo(&dialog));
    QCOMPARE(bar->geometry(), QRect(0, 138, 471, 18));
    QVERIFY(!bar->geometry().intersects(box->geometry()));

    // Without the box it stays under the bar and out of the keyboard's reach.
    TFDIalog plain(AskRequest(true, false));
    QVERIFY(!Child<QCheckBox>(plain, "CheckBox1")->isVisibleTo(&plain));
    QVERIFY(Child<QProgressBar>(plain, "Avancement")->geometry().intersects(QRect(94, 116, 265, 17)));
}

void TFDIalogTest::noticeShowsOnlyItsOkButton()
{
    TFDIalog dialog(QuestionRequest::ForInform(QStringLiteral("Avertissement"), true, 149, 60));
    auto* oui = Child<QPushButton>(dialog, "Oui");
    QCOMPARE(oui->text(), QStringLiteral("&OK"));
    QVERIFY(oui->isDefault());
    QVERIFY(!Child<QPushButton>(dialog, "Non")->isVisibleTo(&dialog));
    QVERIFY(!Child<QLabel>(dialog, "icInt")->isVisibleTo(&dialog));
    QVERIFY(Child<QLabel>(dialog, "IcExcl")->isVisibleTo(&dialog));
    QCOMPARE(Child<QCheckBox>(dialog, "CheckBox1")->text(),
             QStringLiteral("&Ne plus afficher cet avertissement"));
    QCOMPARE(dialog.findChild<QTimer*>(QStringLiteral("Timer1"))->interval(), 600);

    dialog.show();
    Child<QCheckBox>(dialog, "CheckBox1")->click();
    RunOutCountdown(dialog);
    QVERIFY(!dialog.isVisible());
    QVERIFY(dialog.Reply().yes);
    QVERIFY(dialog.Reply().boxTicked);
}

void TFDIalogTest::countdownPressesTheDefaultButton_data()
{
    QTest::addColumn<bool>("defaultYes");
    QTest::newRow("default yes") << true;
    QTest::newRow("default no") << false;
}

void TFDIalogTest::countdownPressesTheDefaultButton()
{
    QFETCH(bool, defaultYes);
    TFDIalog dialog(AskRequest(defaultYes, true));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (int i = 0; i < 99; ++i)
        dialog.Timer1Timer();
    QVERIFY(dialog.isVisible());
    QCOMPARE(Child<QProgressBar>(dialog, "Avancement")->value(), 99);
    dialog.Timer1Timer();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.Reply().yes, defaultYes);
    QVERIFY(!dialog.Reply().boxTicked);
    QVERIFY(!dialog.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
}

void TFDIalogTest::timerDrivesTheCountdown()
{
    // A notice counted down from 0 seconds ticks every millisecond: the real timer runs it out.
    TFDIalog dialog(QuestionRequest::ForInform(QStringLiteral("Avertissement"), false, 0, 0));
    dialog.show();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 5000);
    QVERIFY(dialog.Reply().yes);
}

void TFDIalogTest::escape_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("defaultYes");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("answer");
    const int ask = static_cast<int>(QuestionKind::Ask);
    const int fallback = static_cast<int>(QuestionKind::AskWithFallback);
    const int inform = static_cast<int>(QuestionKind::Inform);
    QTest::newRow("ask, default yes") << ask << true << true << false;
    QTest::newRow("ask, default no") << ask << false << true << false;
    QTest::newRow("fallback, default yes") << fallback << true << true << false;
    QTest::newRow("fallback, default no") << fallback << false << true << true;
    QTest::newRow("notice") << inform << true << false << false;
}

void TFDIalogTest::escape()
{
    QFETCH(int, kind);
    QFETCH(bool, defaultYes);
    QFETCH(bool, closes);
    QFETCH(bool, answer);
    const QString text = QStringLiteral("Question");
    const QuestionRequest request = kind == static_cast<int>(QuestionKind::Ask)
                                        ? QuestionRequest::ForAsk(text, defaultYes, true, 4)
                                    : kind == static_cast<int>(QuestionKind::AskWithFallback)
                                        ? QuestionRequest::ForAskWithFallback(text, defaultYes, true, 151)
                                        : QuestionRequest::ForInform(text, true, 205, 30);
    TFDIalog dialog(request);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(dialog.isVisible(), !closes);
    if (closes)
        QCOMPARE(dialog.Reply().yes, answer);
}

void TFDIalogTest::closingOtherwiseAnswersNo()
{
    TFDIalog dialog(QuestionRequest::ForAskWithFallback(QStringLiteral("Question"), true, false, 151));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.close();
    QVERIFY(!dialog.isVisible());
    QVERIFY(!dialog.Reply().yes);
}

void TFDIalogTest::defaultButtonHasFocusAndComesFirst()
{
    for (const bool defaultYes : {true, false}) {
        TFDIalog dialog(AskRequest(defaultYes, true));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QPushButton* first = dialog.DefaultButton();
        QPushButton* other = Child<QPushButton>(dialog, defaultYes ? "Non" : "Oui");
        QTRY_COMPARE(QApplication::focusWidget(), first);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), other);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), Child<QCheckBox>(dialog, "CheckBox1"));
        // Enter presses the button that has the focus, as the keyboard user expects.
        QTest::keyClick(other, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.Reply().yes, !defaultYes);
    }
}

void TFDIalogTest::defaultButtonOpensUnderTheCursor()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    // The buttons sit at the window's left, so the window reaches far to the right of the cursor.
    const QPoint cursor(screen.left() + 200, screen.center().y());
    QCursor::setPos(cursor);
    if (QCursor::pos() != cursor)
        QSKIP("this platform cannot move the cursor");
    TFDIalog dialog(AskRequest(true, true));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QApplication::processEvents();
    QPushButton* oui = dialog.DefaultButton();
    const QPoint centre = oui->mapToGlobal(QPoint(oui->width() / 2, oui->height() / 2));
    QCOMPARE(centre.x(), cursor.x());
    QVERIFY(qAbs(centre.y() - cursor.y()) <= 3);

    // Near the corners the window stays 5 pixels inside the screen.
    QCursor::setPos(screen.topLeft() + QPoint(2, 2));
    TFDIalog corner(AskRequest(false, false));
    corner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&corner));
    QApplication::processEvents();
    QCOMPARE(corner.frameGeometry().topLeft(), screen.topLeft() + QPoint(5, 5));

    QCursor::setPos(screen.bottomRight());
    TFDIalog far(AskRequest(true, true));
    far.show();
    QVERIFY(QTest::qWaitForWindowExposed(&far));
    QApplication::processEvents();
    QCOMPARE(far.frameGeometry().bottomRight(), screen.bottomRight() - QPoint(5, 5));
}

void TFDIalogTest::colourAndHints()
{
    Settings settings;
    settings.Couleur = static_cast<qint32>(MakeColour(40, 40, 120));
    settings.AideContextuelle = false;
    QuestionRequest request = AskRequest(false);
    request.look = QuestionAppearance::FromSettings(settings);
    TFDIalog dialog(request);
    const QColor panel = ToQColor(request.look.panelColour);
    QCOMPARE(Child<QFrame>(dialog, "Panel1")->palette().color(QPalette::Window), panel);
    QCOMPARE(Child<QPlainTextEdit>(dialog, "Texte")->palette().color(QPalette::Base), panel);
    QCOMPARE(Child<QPlainTextEdit>(dialog, "Texte")->palette().color(QPalette::Text), QColor(Qt::white));

    const auto showsHint = [](TFDIalog& d) {
        d.show();
        auto* bar = Child<QProgressBar>(d, "Avancement");
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), bar->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(bar, &help);
        const bool shown = QToolTip::isVisible();
        QToolTip::hideText();
        d.hide();
        return shown;
    };
    QVERIFY(!showsHint(dialog));
    TFDIalog withHints(AskRequest(false));
    QVERIFY(showsHint(withHints));
}

void TFDIalogTest::presenterAsksThroughTheWindow()
{
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("Config.Ini"));
    Settings settings;
    settings.NomInstance = QStringLiteral("Salon");
    FakePlatform fake;
    DialogQuestionPresenter presenter;
    Questions questions(presenter, settings, fake.View(), config);

    QString caption;
    OnModal([&](TFDIalog& d) {
        caption = d.windowTitle();
        RunOutCountdown(d);
    });
    QVERIFY(questions.Ask(QuestionId::ImportLists));
    QCOMPARE(caption, QStringLiteral("Vizezezoruvav Zomvara - Salon"));

    OnModal([](TFDIalog& d) {
        Child<QCheckBox>(d, "CheckBox1")->click();
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    QVERIFY(!questions.Ask(QuestionId::ImportLists));
    const IniFile ini(config);
    QCOMPARE(ini.ReadString(QStringLiteral("Dialog"), QStringLiteral("114")), QStringLiteral("0"));
    QCOMPARE(ini.ReadString(QStringLiteral("Dialog"), QStringLiteral("AskAgain114")), QStringLiteral("0"));
    // Silenced now: answered at once, no window.
    QVERIFY(!questions.Ask(QuestionId::ImportLists));
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(TFDIalogTest)
#include "TFDIalogTest.moc"
