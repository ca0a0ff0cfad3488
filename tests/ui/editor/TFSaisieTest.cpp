#include "ui/editor/TFSaisie.h"

#include "channels/ChannelPreferenceStore.h"
#include "common/IniFile.h"
#include "editor/RepetitionKinds.h"
#include "i18n/LocalisedStrings.h"
#include "platform/fake/FakePlatform.h"
#include "power/Questions.h"
#include "power/ScriptedQuestionPresenter.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QtTest>

#include <memory>

namespace quorx {

namespace {

DateTime At(int day, int hour, int minute)
{
    return DateTime::FromFields(2024, 3, day, hour, minute);
}

// A program folder with three channels and one-off defaults, the virtual clock on Monday
// 4 March 2024 at noon, and the editor window over a new or listed entry.
struct Fixture
{
    Fixture() : fake(At(4, 12, 0)), view(fake.View()), questions(presenter, settings, view, ConfigPath())
    {
        settings.Majuscules = false;
        IniFile config(ConfigPath());
        config.WriteInteger(QStringLiteral("Chaines"), QStringLiteral("NbChaines"), 2);
        const QStringList names{QStringLiteral("Arte"), QStringLiteral("France 2"), QStringLiteral("TF1")};
        for (int i = 0; i < names.size(); ++i)
            config.WriteString(QStringLiteral("Chaines"), QStringLiteral("Chaine") + QString::number(i),
                               QLatin1Char('"') + names[i] + QLatin1Char('"'));
        config.Save();
        ChannelPreferences defaults;
        defaults.Folder = dir.path() + QLatin1Char('/');
        Store().WriteDefault(PreferenceProfile::OneOff, defaults);
    }

    QString ConfigPath() const { return dir.filePath(QStringLiteral("Config.Ini")); }
    ChannelPreferenceStore Store() const
    {
        return ChannelPreferenceStore(dir.filePath(QStringLiteral("ChannelPref.Ini")),
                                      dir.path() + QLatin1Char('/'));
    }

    TFSaisie::Services Services()
    {
        TFSaisie::Services s;
        s.table = &table;
        s.settings = &settings;
        s.questions = &questions;
        s.platform = view;
        s.programFolder = dir.path();
        return s;
    }

    int AddListed(const QString& name, DateTime start, DateTime end)
    {
        TEmission e;
        e.Programme = name;
        e.Chaine = QStringLiteral("Arte");
        e.DateDebut = start.DatePart();
        e.HeureDebut = start.TimePart();
        e.DateFin = end.DatePart();
        e.HeureFin = end.TimePart();
        e.Actif = true;
        e.Fichier = dir.path() + QLatin1Char('/') + name + QStringLiteral(".Mpg");
        return table.Append(e);
    }

    TFSaisie& Window(bool isNew = true, int index = -1)
    {
        if (isNew) {
            TEmission e;
            e.DateDebut = At(4, 0, 0);
            e.HeureDebut = DateTime::FromTime(12, 0);
            e.DateFin = At(4, 0, 0);
            e.HeureFin = DateTime::FromTime(14, 0);
            e.Actif = true;
            e.Chaine = QStringLiteral("Arte");
            Store().ApplyTo(e);
            index = table.Append(e);
        }
        window = std::make_unique<TFSaisie>(Services());
        window->Open(index, isNew);
        presenter.ScriptDefault(); // the channel-list notice when the window shows
        window->show();
        QCoreApplication::processEvents();
        return *window;
    }

    template <typename T> T* Find(const char* name)
    {
        T* w = window->findChild<T*>(QLatin1String(name));
        if (!w)
            qWarning("no control %s", name);
        return w;
    }

    void SetTime(const char* name, int h, int m)
    {
        auto* edit = Find<QTimeEdit>(name);
        edit->setTime(QTime(h, m));
    }

    QTemporaryDir dir;
    FakePlatform fake;
    Platform view;
    ScheduleTable table;
    Settings settings;
    ScriptedQuestionPresenter presenter;
    Questions questions;
    std::unique_ptr<TFSaisie> window;
};

} // namespace

class TFSaisieTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyControlHasItsName();
    void typedValuesAreCommittedWithTheValidateButton();
    void aRefusedCheckShowsItsTabAndKeepsTheValues();
    void existingEntryHidesThenAnotherAndCancelChangesNothing();
    void daysAndKindFollowEachOther();
    void previewAndSummaryPresses();
    void keypadButtonsAndRightPresses();
    void nameBoxRefusesFileNameCharacters();
    void mergeThroughTheWindow();
    void channelButtonsNeedAChannelWindow();
    void quickChannelButtonsShowTheFavouriteChannels();
};

void TFSaisieTest::everyControlHasItsName()
{
    Fixture f;
    TFSaisie& w = f.Window();
    QCOMPARE(w.objectName(), QStringLiteral("FSaisie"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Vizezezoruvav Zomvara"));
    QCOMPARE(w.size(), QSize(634, 497));
    for (const char* name : {"Panel1",       "CNom",      "BitBtn1",     "Nouv",         "Ann",
                             "PageControl1", "TabSheet1", "TabSheet4",   "TabSheet3",    "CChaine",
                             "D0",           "d11",       "BitBtn2",     "BitBtn4",      "CDateDebut",
                             "CHeureDebut",  "CDateFin",  "CHeureFin",   "CDuree",       "Button1",
                             "Button8",      "Button9",   "Button10",    "Button13",     "Panel3",
                             "B0",           "B25",       "B26",         "B27",          "B39",
                             "B40",          "CTypeRep",  "CLundi",      "CDimanche",    "CRepDateFinCheck",
                             "CRepDateFin",  "Button17",  "Button18",    "Panel6",       "Panel2",
                             "CDossier",     "BitBtn13",  "CEspace",     "CNomAuto",     "CFichier",
                             "CAddDate",     "CAddHeure", "CAddChaine",  "RMPg",         "RPva",
                             "RMpa",         "CheckBox1", "CFermer",     "CommandCheck", "Commande",
                             "BitBtn3",      "CCVeille",  "CCVeillePro", "CCEteindre",   "CLabelNomAuto",
                             "InfosFin",     "CFinLabel", "PopupMenu1",  "BitBtn5"})
        QVERIFY2(w.findChild<QObject*>(QLatin1String(name)), name);
    QCOMPARE(f.Find<QComboBox>("CTypeRep")->count(), RepetitionKinds::kCount);
    QCOMPARE(f.Find<QComboBox>("CChaine")->count(), 3);
    QVERIFY(!f.Find<QDateEdit>("CDateFin")->isEnabled());
    QCOMPARE(f.Find<QTimeEdit>("CDuree")->time(), QTime(2, 0));
    QCOMPARE(f.presenter.Requests().first().number, 149);
}

void TFSaisieTest::typedValuesAreCommittedWithTheValidateButton()
{
    Fixture f;
    f.Window();
    QTest::keyClicks(f.Find<QComboBox>("CNom")->lineEdit(), QStringLiteral("Le Film"));
    auto* chaine = f.Find<QComboBox>("CChaine");
    chaine->lineEdit()->clear();
    QTest::keyClicks(chaine->lineEdit(), QStringLiteral("france 2"));
    f.Find<QDateEdit>("CDateDebut")->setDate(QDate(2024, 3, 4));
    f.SetTime("CHeureDebut", 23, 30);
    f.SetTime("CHeureFin", 0, 30);
    QCOMPARE(f.Find<QDateEdit>("CDateFin")->date(), QDate(2024, 3, 5));
    QCOMPARE(f.Find<QTimeEdit>("CDuree")->time(), QTime(1, 0));
    QVERIFY(f.Find<QLabel>("CLabelNomAuto")
                ->text()
                .contains(QStringLiteral("Le Film_france 2_04-03-2024_23-30")));

    QTest::mouseClick(f.Find<QPushButton>("BitBtn1"), Qt::LeftButton);
    QCOMPARE(f.window->result(), int(QDialog::Accepted));
    QCOMPARE(f.window->Result(), TFSaisie::Outcome::Committed);
    QCOMPARE(f.table.Count(), 1);
    QCOMPARE(f.table[1].Programme, QStringLiteral("Le Film"));
    QCOMPARE(f.table[1].Chaine, QStringLiteral("France 2"));
    QCOMPARE(f.table[1].DateFin, At(5, 0, 0));
}

void TFSaisieTest::aRefusedCheckShowsItsTabAndKeepsTheValues()
{
    Fixture f;
    f.Window();
    QTest::keyClicks(f.Find<QComboBox>("CNom")->lineEdit(), QStringLiteral("Court"));
    f.SetTime("CHeureDebut", 20, 0);
    f.SetTime("CHeureFin", 20, 2);
    f.presenter.ScriptDefault();
    QTest::mouseClick(f.Find<QPushButton>("Nouv"), Qt::LeftButton);
    QVERIFY(f.window->isVisible());
    QCOMPARE(f.presenter.LastRequest().text, Ls(116));
    QCOMPARE(f.Find<QTabWidget>("PageControl1")->currentIndex(), 0);
    QCOMPARE(f.Find<QComboBox>("CNom")->currentText(), QStringLiteral("Court"));
    QCOMPARE(f.Find<QTimeEdit>("CHeureFin")->time(), QTime(20, 2));
    QCOMPARE(f.table.Count(), 1);

    // A folder that cannot be made brings the file tab forward.
    f.Find<QTabWidget>("PageControl1")->setCurrentIndex(1);
    auto* dossier = f.Find<QComboBox>("CDossier");
    dossier->lineEdit()->selectAll();
    QTest::keyClicks(dossier->lineEdit(), QStringLiteral("/proc/none"));
    f.Find<QTabWidget>("PageControl1")->setCurrentIndex(0);
    f.SetTime("CHeureFin", 21, 0);
    f.presenter.ScriptDefault();
    QTest::mouseClick(f.Find<QPushButton>("BitBtn1"), Qt::LeftButton);
    QCOMPARE(f.presenter.LastRequest().text, Ls(112));
    QCOMPARE(f.Find<QTabWidget>("PageControl1")->currentIndex(), 1);

    // Then another: the first is committed, the window stays for a blank one.
    dossier->lineEdit()->selectAll();
    QTest::keyClicks(dossier->lineEdit(), f.dir.path() + QLatin1Char('/'));
    QTest::mouseClick(f.Find<QPushButton>("Nouv"), Qt::LeftButton);
    QVERIFY(f.window->isVisible());
    QCOMPARE(f.table.Count(), 2);
    QCOMPARE(f.table[1].Programme, QStringLiteral("Court"));
    QVERIFY(f.Find<QComboBox>("CNom")->currentText().isEmpty());
    QTest::mouseClick(f.Find<QPushButton>("Ann"), Qt::LeftButton);
    QCOMPARE(f.window->Result(), TFSaisie::Outcome::CommittedAndNew);
    QCOMPARE(f.table.Count(), 1);
}

void TFSaisieTest::existingEntryHidesThenAnotherAndCancelChangesNothing()
{
    Fixture f;
    const int index = f.AddListed(QStringLiteral("Film"), At(5, 20, 0), At(5, 22, 0));
    f.Window(false, index);
    QVERIFY(!f.Find<QPushButton>("Nouv")->isVisible());
    QVERIFY(f.Find<QPushButton>("Ann")->isVisible());
    QCOMPARE(f.Find<QComboBox>("CNom")->currentText(), QStringLiteral("Film"));
    QCOMPARE(f.Find<QDateEdit>("CDateDebut")->date(), QDate(2024, 3, 5));
    f.SetTime("CHeureFin", 23, 0);
    QTest::mouseClick(f.Find<QPushButton>("Ann"), Qt::LeftButton);
    QCOMPARE(f.window->Result(), TFSaisie::Outcome::Cancelled);
    QCOMPARE(f.table.Count(), 1);
    QCOMPARE(f.table[1].HeureFin, DateTime::FromTime(22, 0));
}

void TFSaisieTest::daysAndKindFollowEachOther()
{
    Fixture f;
    f.Window();
    auto* kind = f.Find<QComboBox>("CTypeRep");
    auto* cover = f.Find<QFrame>("Panel6")->parentWidget();
    QCOMPARE(qobject_cast<QStackedWidget*>(cover)->currentWidget()->objectName(), QStringLiteral("Panel6"));
    for (const char* day : {"CLundi", "CMardi", "CMercredi", "CJeudi", "CVendredi"})
        f.Find<QCheckBox>(day)->click();
    QCOMPARE(kind->currentText(), QStringLiteral("Du lundi au vendredi"));
    f.Find<QCheckBox>("CSamedi")->click();
    QCOMPARE(kind->currentText(), QStringLiteral("Du lundi au samedi"));
    QVERIFY(qobject_cast<QStackedWidget*>(cover)->currentWidget()->objectName() != QStringLiteral("Panel6"));

    // "Personnalisé" from the list unticks every day; validating asks to make it one-off.
    kind->setCurrentIndex(RepetitionKinds::kPersonnalise);
    Q_EMIT kind->activated(RepetitionKinds::kPersonnalise);
    QVERIFY(!f.Find<QCheckBox>("CLundi")->isChecked());
    QVERIFY(!f.Find<QCheckBox>("CSamedi")->isChecked());
    f.SetTime("CHeureDebut", 20, 0);
    f.SetTime("CHeureFin", 21, 0);
    f.presenter.ScriptNo();
    QTest::mouseClick(f.Find<QPushButton>("BitBtn1"), Qt::LeftButton);
    QCOMPARE(f.presenter.LastRequest().text, QuestionTable::Text(QuestionId::RepeatWithoutDays));
    QVERIFY(f.window->isVisible());
}

void TFSaisieTest::previewAndSummaryPresses()
{
    Fixture f;
    f.Window();
    auto* preview = f.Find<QLabel>("CLabelNomAuto");
    QVERIFY(preview->text().endsWith(QStringLiteral(".Mpg")));
    QTest::mouseClick(preview, Qt::LeftButton);
    QVERIFY(preview->text().endsWith(QStringLiteral(".Pva")));
    QVERIFY(f.Find<QRadioButton>("RPva")->isChecked());

    QStringList parts;
    for (int i = 0; i < 7; ++i) {
        QTest::mouseClick(preview, Qt::RightButton);
        parts << QStringLiteral("%1%2%3")
                     .arg(int(f.Find<QCheckBox>("CAddDate")->isChecked()))
                     .arg(int(f.Find<QCheckBox>("CAddHeure")->isChecked()))
                     .arg(int(f.Find<QCheckBox>("CAddChaine")->isChecked()));
    }
    // All three start ticked, so the cycle continues from there and comes back.
    QCOMPARE(parts, (QStringList{QStringLiteral("001"), QStringLiteral("101"), QStringLiteral("011"),
                                 QStringLiteral("000"), QStringLiteral("100"), QStringLiteral("110"),
                                 QStringLiteral("111")}));

    auto* summary = f.Find<QLabel>("CFinLabel");
    f.fake.power.SetAllowed(true, false);
    QCOMPARE(summary->text(), QStringLiteral("Fermer"));
    QTest::mouseClick(summary, Qt::RightButton);
    QCOMPARE(summary->text(), QStringLiteral("Fermer et éteindre"));
    QVERIFY(f.Find<QCheckBox>("CCEteindre")->isChecked());
    QTest::mouseClick(summary, Qt::LeftButton);
    QCOMPARE(summary->text(), QStringLiteral("Ne pas fermer"));
    QVERIFY(!f.Find<QCheckBox>("CCEteindre")->isChecked());
    QVERIFY(!f.Find<QCheckBox>("CCEteindre")->isEnabled());

    // The boxes exclude each other.
    f.Find<QCheckBox>("CFermer")->click();
    f.Find<QCheckBox>("CCVeille")->click();
    f.Find<QCheckBox>("CCEteindre")->click();
    QVERIFY(!f.Find<QCheckBox>("CCVeille")->isChecked());
    QCOMPARE(summary->text(), QStringLiteral("Fermer et éteindre"));
}

void TFSaisieTest::keypadButtonsAndRightPresses()
{
    Fixture f;
    f.Window();
    auto* start = f.Find<QTimeEdit>("CHeureDebut");
    start->setFocus();
    QApplication::setActiveWindow(f.window.get());
    QCoreApplication::processEvents();
    auto* pad = f.Find<QFrame>("Panel3");
    QVERIFY(pad->isVisible());
    QVERIFY(f.Find<QPushButton>("Button1")->isVisible());
    QTest::mouseClick(f.Find<QPushButton>("BH20"), Qt::LeftButton);
    QTest::mouseClick(f.Find<QPushButton>("BM45"), Qt::LeftButton);
    QCOMPARE(start->time(), QTime(20, 45));
    QTest::mouseClick(f.Find<QPushButton>("BH21"), Qt::RightButton);
    QCOMPARE(start->time(), QTime(21, 0));
    QTest::mouseClick(f.Find<QPushButton>("B40"), Qt::LeftButton);
    QCOMPARE(start->time(), QTime(21, 1));
    QTest::mouseClick(f.Find<QPushButton>("BM30"), Qt::RightButton);
    QCOMPARE(start->time(), QTime(0, 30));
    // The end stays later the same day, and the duration follows.
    QCOMPARE(f.Find<QDateEdit>("CDateFin")->date(), QDate(2024, 3, 4));
    QCOMPARE(f.Find<QTimeEdit>("CDuree")->time(), QTime(13, 30));
}

void TFSaisieTest::nameBoxRefusesFileNameCharacters()
{
    Fixture f;
    f.Window();
    auto* nom = f.Find<QComboBox>("CNom");
    QTest::keyClicks(nom->lineEdit(), QStringLiteral("a:b/c?d"));
    QCOMPARE(nom->currentText(), QStringLiteral("abcd"));
    f.Find<QTabWidget>("PageControl1")->setCurrentIndex(1);
    auto* dossier = f.Find<QComboBox>("CDossier");
    dossier->lineEdit()->clear();
    QTest::keyClicks(dossier->lineEdit(), QStringLiteral("x//tmp//a*b"));
    QCOMPARE(dossier->currentText(), QStringLiteral("/tmp/ab"));
}

void TFSaisieTest::mergeThroughTheWindow()
{
    Fixture f;
    f.AddListed(QStringLiteral("Journal"), At(4, 20, 0), At(4, 21, 0));
    f.Window();
    QTest::keyClicks(f.Find<QComboBox>("CNom")->lineEdit(), QStringLiteral("Meteo"));
    f.SetTime("CHeureDebut", 21, 3);
    f.SetTime("CHeureFin", 22, 0);
    f.presenter.ScriptYes();
    QTest::mouseClick(f.Find<QPushButton>("BitBtn1"), Qt::LeftButton);
    QVERIFY(f.window->isVisible());
    QCOMPARE(f.Find<QComboBox>("CNom")->currentText(), QStringLiteral("Journal - Meteo"));
    QCOMPARE(f.Find<QTimeEdit>("CHeureDebut")->time(), QTime(20, 0));
    QCOMPARE(f.Find<QTimeEdit>("CDuree")->time(), QTime(2, 0));
    QCOMPARE(f.table.Count(), 2);
    QTest::mouseClick(f.Find<QPushButton>("BitBtn1"), Qt::LeftButton);
    QCOMPARE(f.window->Result(), TFSaisie::Outcome::Committed);
    QCOMPARE(f.table.Count(), 1);
    QCOMPARE(f.table[1].Programme, QStringLiteral("Journal - Meteo"));
}

void TFSaisieTest::channelButtonsNeedAChannelWindow()
{
    Fixture f;
    f.Window();
    QVERIFY(!f.Find<QPushButton>("BitBtn2")->isEnabled());

    int opened = -1;
    QString selected;
    TFSaisie::Services s = f.Services();
    s.openChannels = [&](QStringList& channels, int page) {
        opened = page;
        selected = channels.value(0);
        IniFile config(f.ConfigPath());
        config.WriteInteger(QStringLiteral("Chaines"), QStringLiteral("NbChaines"), 0);
        config.WriteString(QStringLiteral("Chaines"), QStringLiteral("Chaine0"), QStringLiteral("\"M6\""));
        config.Save();
        return true;
    };
    TFSaisie w(s);
    w.Open(1, true);
    auto* prefs = w.findChild<QPushButton*>(QStringLiteral("BitBtn2"));
    QVERIFY(prefs->isEnabled());
    prefs->click();
    QCOMPARE(opened, int(TFSaisie::ChannelPreferences));
    QCOMPARE(selected, QStringLiteral("Arte"));
    QCOMPARE(w.findChild<QComboBox*>(QStringLiteral("CChaine"))->count(), 1);
}

void TFSaisieTest::quickChannelButtonsShowTheFavouriteChannels()
{
    Fixture f;
    IniFile config(f.ConfigPath());
    config.WriteString(QStringLiteral("Saisie"), QStringLiteral("FavoriteChannelName0"),
                       QStringLiteral("\"TF1\""));
    config.WriteInteger(QStringLiteral("Saisie"), QStringLiteral("FavoriteChannelUsage0"), 3);
    config.WriteString(QStringLiteral("Saisie"), QStringLiteral("FavoriteChannelName5"),
                       QStringLiteral("\"France 2\""));
    config.WriteInteger(QStringLiteral("Saisie"), QStringLiteral("FavoriteChannelUsage5"), 1);
    config.Save();
    f.Window();
    QApplication::setActiveWindow(f.window.get());
    f.Find<QComboBox>("CChaine")->setFocus();
    QCoreApplication::processEvents();
    auto* d0 = f.Find<QPushButton>("D0");
    QVERIFY(d0->isVisible());
    QCOMPARE(d0->text(), QStringLiteral("France 2"));
    QCOMPARE(f.Find<QPushButton>("d1")->text(), QStringLiteral("TF1"));
    QVERIFY(!f.Find<QPushButton>("d2")->isVisible());
    QTest::mouseClick(f.Find<QPushButton>("d1"), Qt::LeftButton);
    QCOMPARE(f.Find<QComboBox>("CChaine")->currentText(), QStringLiteral("TF1"));
    QVERIFY2(d0->isVisible(), "the buttons stay while the channel box has the focus");
    f.Find<QComboBox>("CNom")->setFocus();
    QCoreApplication::processEvents();
    QVERIFY(!d0->isVisible());
}

} // namespace quorx

QTEST_MAIN(quorx::TFSaisieTest)
#include "TFSaisieTest.moc"
