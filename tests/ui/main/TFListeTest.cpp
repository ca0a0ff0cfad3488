#include "ui/main/TFListe.h"

#include "engine/ScheduleEngine.h"
#include "platform/fake/FakePlatform.h"
#include "power/Questions.h"
#include "power/ScriptedQuestionPresenter.h"
#include "schedule/DefaultRecordingStopper.h"
#include "schedule/ScheduleStore.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"
#include "ui/main/ScheduleListModel.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace quorx {

namespace {

// Monday 4 March 2024, noon.
DateTime Noon()
{
    return DateTime::FromFields(2024, 3, 4, 12, 0);
}

// A schedule on the virtual clock with the window over it, wired as the program wires it: the
// engine's list refresh is the window's rebuild.
struct Fixture
{
    Fixture()
        : fake(Noon()), view(fake.View()), engine(table, settings, view),
          questions(presenter, settings, view, dir.filePath(QStringLiteral("Config.Ini")))
    {
        engine.SetProgramFolder(dir.path());
    }

    int Add(const QString& name, const QString& channel, int dayOffset, int startH, int endH, quint8 days = 0)
    {
        TEmission e;
        e.Programme = name;
        e.Chaine = channel;
        e.Actif = true;
        e.GridRow = -1;
        e.Repetition = days;
        e.DateDebut = Noon().DatePart().AddDays(dayOffset);
        e.DateFin = e.DateDebut;
        e.HeureDebut = DateTime::FromTime(startH, 0);
        e.HeureFin = DateTime::FromTime(endH, 0);
        return table.Append(e);
    }

    TFListe& Window()
    {
        if (!window) {
            TFListe::Services s;
            s.table = &table;
            s.settings = &settings;
            s.schedule = &engine;
            s.questions = &questions;
            s.stopper = &stopper;
            s.platform = view;
            window = std::make_unique<TFListe>(s);
            engine.SetObserver(window.get());
            engine.RecomputeSchedule();
        }
        return *window;
    }

    QStringList Names() const
    {
        QStringList out;
        for (int i = 1; i <= table.Count(); ++i)
            out << table[i].Programme;
        return out;
    }

    QStringList ShownNames()
    {
        QStringList out;
        ScheduleListModel* m = Window().Model();
        for (int r = 0; r < m->rowCount(); ++r)
            out << m->data(m->index(r, 0)).toString();
        return out;
    }

    void Select(const QStringList& names)
    {
        std::vector<int> indexes;
        for (const QString& n : names) {
            for (int i = 1; i <= table.Count(); ++i) {
                if (table[i].Programme == n)
                    indexes.push_back(i);
            }
        }
        Window().SelectRecords(indexes);
    }

    QAction* ListAction(const char* name)
    {
        return Window().ListMenu()->findChild<QAction*>(QLatin1String(name));
    }

    QTemporaryDir dir;
    FakePlatform fake;
    Platform view;
    ScheduleTable table;
    Settings settings;
    ScheduleEngine engine;
    ScriptedQuestionPresenter presenter;
    Questions questions;
    DefaultRecordingStopper stopper;
    std::unique_ptr<TFListe> window;
};

} // namespace

class TFListeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modelPassesTheModelTester()
    {
        Fixture f;
        f.Add(QStringLiteral("a"), QStringLiteral("C"), 0, 14, 15);
        f.Add(QStringLiteral("b"), QStringLiteral("C"), 3, 14, 15, Lundi);
        QAbstractItemModelTester tester(f.Window().Model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        f.Window().SetMode(3);
        f.Window().SetMode(0);
        QCOMPARE(f.Window().Model()->rowCount(), 2);
        QCOMPARE(f.Window().Model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Chaîne"));
        QCOMPARE(f.Window().Model()->data(f.Window().Model()->index(0, 2)).toString(),
                 QStringLiteral("04/03/2024 - 14:00"));
    }

    void displayModesAndFilterItems()
    {
        Fixture f;
        f.Add(QStringLiteral("today"), QStringLiteral("C"), 0, 14, 15);
        f.Add(QStringLiteral("thursday"), QStringLiteral("C"), 3, 14, 15);
        f.Add(QStringLiteral("tuesdays"), QStringLiteral("C"), 8, 9, 10, Mardi);
        f.table[3].DateDebut = Noon().DatePart().AddDays(1);
        f.Window();
        QCOMPARE(f.ShownNames(), (QStringList{QStringLiteral("today"), QStringLiteral("tuesdays"),
                                              QStringLiteral("thursday")}));

        QMenu* menu = f.Window().DisplayMenu();
        menu->findChild<QAction*>(QStringLiteral("MAff3"))->trigger();
        QCOMPARE(f.settings.Afficher, 3);
        QCOMPARE(f.ShownNames(), QStringList{QStringLiteral("today")});
        // Tomorrow: the Tuesday repetition, and the next recording, which is always shown.
        menu->findChild<QAction*>(QStringLiteral("Maff5"))->trigger();
        QCOMPARE(f.ShownNames(), (QStringList{QStringLiteral("today"), QStringLiteral("tuesdays")}));
        menu->findChild<QAction*>(QStringLiteral("MAffPro"))->trigger();
        QVERIFY(!f.settings.AlwaysShowNextProgram);
        QCOMPARE(f.ShownNames(), QStringList{QStringLiteral("tuesdays")});
        menu->findChild<QAction*>(QStringLiteral("MAffPro"))->trigger();
        menu->findChild<QAction*>(QStringLiteral("MAff2"))->trigger();
        QCOMPARE(f.ShownNames(), QStringList{QStringLiteral("today")});
        QVERIFY(menu->findChild<QAction*>(QStringLiteral("MAff2"))->isChecked());

        menu->findChild<QAction*>(QStringLiteral("MAff0"))->trigger();
        f.Select({QStringLiteral("thursday")});
        f.Window().TogglePrioritySelection();
        f.table[f.table.Count()].Actif = false; // "thursday" is last in start order
        menu->findChild<QAction*>(QStringLiteral("MMasquer"))->trigger();
        QVERIFY(f.settings.HideDisabledPrograms);
        QCOMPARE(f.ShownNames(), (QStringList{QStringLiteral("today"), QStringLiteral("tuesdays")}));

        // The title switches between today's recordings and all of them.
        QLabel* title = f.Window().findChild<QLabel*>(QStringLiteral("Label5"));
        QTest::mouseClick(title, Qt::LeftButton);
        QCOMPARE(f.settings.Afficher, 3);
        QTest::mouseClick(title, Qt::LeftButton);
        QCOMPARE(f.settings.Afficher, 0);
    }

    void clickingATitleSortsAndSavesTheOrder()
    {
        Fixture f;
        f.Add(QStringLiteral("one"), QStringLiteral("TF1"), 0, 14, 15);
        f.Add(QStringLiteral("two"), QStringLiteral("arte"), 1, 14, 15);
        f.Add(QStringLiteral("three"), QStringLiteral("M6"), 2, 14, 15);
        f.Window();
        f.Select({QStringLiteral("three")});

        QHeaderView* header = f.Window().List()->horizontalHeader();
        f.Window().show();
        QTest::mousePress(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
        QCOMPARE(f.settings.Tri, 2);
        QCOMPARE(f.Names(),
                 (QStringList{QStringLiteral("two"), QStringLiteral("three"), QStringLiteral("one")}));
        for (int i = 1; i <= f.table.Count(); ++i)
            QCOMPARE(f.engine.Windows()[i].start.DayNumber(), f.table[i].NextStart.DayNumber());

        ScheduleTable stored;
        ScheduleStore::LoadSchedule(f.dir.path(), stored, f.settings, Noon());
        QCOMPARE(stored.Count(), 3);
        QCOMPARE(stored[1].Programme, QStringLiteral("two"));
        QCOMPARE(stored[3].Programme, QStringLiteral("one"));

        // The selection followed its recording to its new row.
        QCOMPARE(f.Window().SelectedRecords(), std::vector<int>{2});
        QCOMPARE(f.table[2].GridRow, 2);
    }

    void contextMenuVisibility()
    {
        Fixture f;
        f.Add(QStringLiteral("once"), QStringLiteral("C"), 0, 14, 15);
        f.Add(QStringLiteral("weekly"), QStringLiteral("C"), 1, 14, 15, Mardi);
        TFListe& w = f.Window();

        w.ClearSelection();
        w.UpdateListMenu();
        QVERIFY(!f.ListAction("MModifier")->isVisible());
        QVERIFY(!f.ListAction("MRetirer")->isVisible());
        QVERIFY(f.ListAction("MAjouter")->isVisible());
        QCOMPARE(w.ListMenu()->defaultAction(), f.ListAction("MAjouter"));

        f.Select({QStringLiteral("once")});
        w.UpdateListMenu();
        QVERIFY(f.ListAction("MRetirer")->isVisible());
        QVERIFY(f.ListAction("Mprioritaire")->isVisible());
        QVERIFY(!f.ListAction("MDesact")->isVisible());
        QVERIFY(f.ListAction("Mdemarrer")->isVisible()); // it is the next recording
        QCOMPARE(w.ListMenu()->defaultAction(), f.ListAction("MModifier"));
        // Windows that do not exist yet: present and disabled.
        QVERIFY(!f.ListAction("MModifier")->isEnabled());
        QVERIFY(!f.ListAction("MImporter")->isEnabled());

        f.Select({QStringLiteral("once"), QStringLiteral("weekly")});
        w.UpdateListMenu();
        QVERIFY(f.ListAction("MDesact")->isVisible());
        QVERIFY(f.ListAction("Mdesac1")->isVisible());
        QVERIFY(!f.ListAction("Mdemarrer")->isVisible());
        QVERIFY(!f.ListAction("Mreinit")->isVisible());

        // Hidden items come back once the menu closes, so their shortcuts keep working.
        w.ListMenu()->popup(QPoint(10, 10));
        w.UpdateListMenu();
        w.ListMenu()->hide();
        QVERIFY(f.ListAction("Mreinit")->isVisible());
    }

    void deleteOnAMultipleSelectionAsksOnce()
    {
        Fixture f;
        for (const char* n : {"a", "b", "c", "d"})
            f.Add(QString::fromLatin1(n), QStringLiteral("C"), 0, 14, 15);
        f.Window();
        f.Select({QStringLiteral("a"), QStringLiteral("c"), QStringLiteral("d")});
        f.presenter.ScriptYes();
        f.ListAction("MRetirer")->trigger();
        QCOMPARE(f.presenter.Requests().size(), 1);
        QCOMPARE(f.presenter.LastRequest().text,
                 QStringLiteral("Voulez-vous vraiment effacer ces programmes ?"));
        QCOMPARE(f.Names(), QStringList{QStringLiteral("b")});
        ScheduleTable stored;
        ScheduleStore::LoadSchedule(f.dir.path(), stored, f.settings, Noon());
        QCOMPARE(stored.Count(), 1);

        f.Window().ClearSelection();
        f.ListAction("MRetirer")->trigger();
        QCOMPARE(f.presenter.Requests().size(), 1); // nothing selected: nothing asked
    }

    void commandsOnASelection()
    {
        Fixture f;
        f.Add(QStringLiteral("once"), QStringLiteral("C"), 0, 14, 15);
        f.Add(QStringLiteral("daily"), QStringLiteral("C"), 0, 16, 17, 0x7F);
        f.Add(QStringLiteral("other"), QStringLiteral("C"), 0, 18, 19, 0x7F);
        TFListe& w = f.Window();
        f.Select({QStringLiteral("once"), QStringLiteral("daily")});

        f.ListAction("Mdesac1")->trigger();
        QVERIFY(!f.table[1].InactifPro); // one-off: left alone
        QVERIFY(f.table[2].InactifPro);
        QVERIFY(!f.table[3].InactifPro);
        QCOMPARE(f.table[2].DateStop, Noon().DatePart()); // the occurrence skipped is today's
        QCOMPARE(w.SelectedRecords(), (std::vector<int>{1, 2}));

        f.ListAction("Mprioritaire")->trigger();
        QVERIFY(f.table[1].Prioritaire);
        QVERIFY(f.table[2].Prioritaire);
        QVERIFY(!f.table[3].Prioritaire);

        f.table[2].Erreur = true;
        f.table[3].Erreur = true;
        QTest::keyClick(w.List(), Qt::Key_Backspace);
        QVERIFY(!f.table[2].Erreur);
        QVERIFY(f.table[2].DateStop.IsZero());
        QVERIFY(f.table[3].Erreur); // not selected
    }

    void closeBoxMinimisesUntilQuitting()
    {
        Fixture f;
        TFListe& w = f.Window();
        w.SetMinimiseToTray(true);
        w.show();
        QVERIFY(!w.close());
        QVERIFY(w.isHidden()); // gone to the tray, still alive
        w.show();
        w.SetCloseAllowed(true);
        QVERIFY(w.close());
    }

    void totalDurationLabel()
    {
        Fixture f;
        const int a = f.Add(QStringLiteral("a"), QStringLiteral("C"), 0, 14, 15);
        f.table[a].HeureFin = DateTime::FromTime(15, 30);
        TFListe& w = f.Window();
        QCOMPARE(w.TotalLabel()->text(),
                 QStringLiteral("Durée totale de la programmation affichée : 1 heure et 30 minutes "));
        QVERIFY(!w.TotalLabel()->isHidden());

        f.Select({QStringLiteral("a")});
        f.presenter.ScriptYes();
        w.DeleteSelection();
        QVERIFY(w.TotalLabel()->text().isEmpty());
        QVERIFY(w.TotalLabel()->isHidden());

        f.Add(QStringLiteral("b"), QStringLiteral("C"), 0, 20, 22);
        f.engine.RecomputeSchedule();
        QCOMPARE(w.TotalLabel()->text(),
                 QStringLiteral("Durée totale de la programmation affichée : 2 heures "));
        QVERIFY(!w.TotalLabel()->isHidden());
    }
};

} // namespace quorx

QTEST_MAIN(quorx::TFListeTest)
#include "TFListeTest.moc"
