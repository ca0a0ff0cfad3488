#include "ui/main/MainProgram.h"

#include "common/IniFile.h"
#include "common/WindowPlacement.h"
#include "engine/RecordingEngine.h"
#include "platform/fake/FakePlatform.h"
#include "platform/fake/SimulatedViewer.h"
#include "power/OneSecondClock.h"
#include "power/PowerManager.h"
#include "power/ScriptedQuestionPresenter.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"
#include "startup/SchedulerCore.h"
#include "ui/main/QuickTimeKeypad.h"
#include "ui/main/ScheduleListModel.h"
#include "ui/main/TFListe.h"
#include "ui/main/TrayMenu.h"
#include "viewer/ManualStop.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace quorx {

namespace {

DateTime At(int hour, int minute, int second = 0)
{
    return DateTime::FromFields(2024, 3, 4, hour, minute, second);
}

// A started core for a program folder on the virtual clock of Monday 4 March 2024, noon, with
// the simulated viewer and one recording from 12:05 to 12:30, and the windows over it.
struct Program
{
    explicit Program(const QByteArray& schedule = QByteArray()) : fake(At(12, 0))
    {
        QDir().mkpath(dir.filePath(QStringLiteral("viewer")));
        QDir().mkpath(dir.filePath(QStringLiteral("video")));
        viewerExe = dir.filePath(QStringLiteral("viewer/zomvara"));
        QFile exe(viewerExe);
        exe.open(QIODevice::WriteOnly);
        exe.close();
        exe.setPermissions(exe.permissions() | QFileDevice::ExeOwner);
        viewer =
            std::make_unique<SimulatedViewer>(fake.clock, fake.timers, fake.processes, fake.disks, viewerExe);
        QFile store(dir.filePath(QStringLiteral("Programmes.Ini")));
        store.open(QIODevice::WriteOnly);
        store.write(
            schedule.isEmpty()
                ? "[Programmes]\r\nNbProgrammes=1\r\nProgramme1=Soir\r\nChaine1=M6\r\nDateDebut1=04/03/"
                  "2024\r\n"
                  "DateFin1=04/03/2024\r\nHeureDebut1=12:05\r\nHeureFin1=12:30\r\nActif1=1\r\nFichier1=" +
                      dir.filePath(QStringLiteral("video/Soir.ts")).toUtf8() + "\r\n"
                : schedule);
        store.close();
        QFile config(dir.filePath(QStringLiteral("Config.Ini")));
        config.open(QIODevice::WriteOnly);
        config.write("[Config]\r\nDelaiDeb=00:00:00\r\nDelaiFin=00:00:00\r\nSignalSonore=0\r\n"
                     "SignalSonoreInterface=0\r\n");
        config.close();

        SchedulerCore::Options options;
        const QString folder = dir.filePath(QStringLiteral("viewer/"));
        options.askViewerFolder = [folder](const QString&) { return folder; };
        core = std::make_unique<SchedulerCore>(dir.path(), fake.View(), presenter, std::move(options));
        started = core->Start();
        MainProgram::Options windows;
        windows.editRecording = [this](int index, bool isNew) {
            edits.append({index, isNew});
            return commitEdits;
        };
        windows.quit = [this] { ++quits; };
        windows.chooseFolder = [this](const QString&) { return chosenFolder; };
        windows.programPath = dir.filePath(QStringLiteral("quorx"));
        program = std::make_unique<MainProgram>(*core, fake.View(), std::move(windows));
    }

    TFListe& Window() { return program->Window(); }
    template <typename T> T* Find(const char* name) { return Window().findChild<T*>(QLatin1String(name)); }
    QAction* Tray(const char* name) { return program->Tray().Item(name); }

    QTemporaryDir dir;
    FakePlatform fake;
    QString viewerExe;
    std::unique_ptr<SimulatedViewer> viewer;
    ScriptedQuestionPresenter presenter;
    std::unique_ptr<SchedulerCore> core;
    std::unique_ptr<MainProgram> program;
    bool started = false;
    QVector<QPair<int, bool>> edits;
    bool commitEdits = true;
    int quits = 0;
    QString chosenFolder;
};

// A move of the mouse over a widget, delivered straight to it (synthetic moves through the
// window system are dropped when the cursor is already there).
void MoveOver(QWidget* widget, const QPoint& pos)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(widget->mapToGlobal(pos)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

} // namespace

class MainProgramTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void quitWithARecordingUnderWayAsksFirst_data()
    {
        QTest::addColumn<bool>("stop");
        QTest::newRow("yes ends it") << true;
        QTest::newRow("no keeps it") << false;
    }
    void quitWithARecordingUnderWayAsksFirst()
    {
        QFETCH(bool, stop);
        Program p;
        QVERIFY(p.started);
        p.program->Show();
        p.fake.timers.RunUntil(At(12, 6));
        QVERIFY(p.core->Engine().RecordingUnderWay());
        stop ? p.presenter.ScriptYes() : p.presenter.ScriptNo();
        p.Tray("Quitter1")->trigger();

        QVERIFY(!p.presenter.Requests().isEmpty());
        QCOMPARE(p.presenter.Requests()[0].number, 7);
        QCOMPARE(p.presenter.Requests()[0].text,
                 QStringLiteral("Un enregistrement est en cours. Voulez-vous y mettre fin ?"));
        QCOMPARE(p.core->Engine().RecordingUnderWay(), !stop);
        QCOMPARE(p.quits, stop ? 1 : 0);
        QCOMPARE(p.Window().isVisible(), !stop);
        // Kept running, the clock goes on ticking and the recording still ends on time.
        QCOMPARE(p.core->Clock3().Running(), !stop);
        if (!stop) {
            p.fake.timers.RunUntil(At(12, 31));
            QVERIFY(!p.core->Engine().RecordingUnderWay());
        }
        QVERIFY(p.program->Finish());
        QFile store(p.dir.filePath(QStringLiteral("Programmes.Ini")));
        QVERIFY(store.open(QIODevice::ReadOnly));
        QVERIFY(store.readAll().contains("Programme1=Soir"));
    }

    void quitWithoutRecordingAsksNothing()
    {
        Program p;
        p.program->Show();
        QVERIFY(p.Window().Quit());
        QVERIFY(p.presenter.Requests().isEmpty());
        QCOMPARE(p.quits, 1);
        QVERIFY(!p.core->Clock3().Running());
    }

    void closeBoxOnlyMinimises()
    {
        Program p;
        p.program->Show();
        QVERIFY(QTest::qWaitForWindowExposed(&p.Window()));
        p.Window().SetMinimiseToTray(false);
        QVERIFY(!p.Window().close());
        QVERIFY(p.Window().isMinimized());
        QCOMPARE(p.quits, 0);
        // With a tray the window goes into it.
        p.Window().showNormal();
        p.Window().SetMinimiseToTray(true);
        QVERIFY(!p.Window().close());
        QVERIFY(!p.Window().isVisible());
        QVERIFY(p.core->Clock3().Running());
    }

    void trayMenuItems()
    {
        Program p;
        p.program->Show();
        QMenu* menu = p.program->Tray().Menu();
        QCOMPARE(menu->objectName(), QStringLiteral("PopupMenuG"));
        Q_EMIT menu->aboutToShow();
        QCOMPARE(p.Tray("Afficherleprogrammateur1")->text(), QStringLiteral("&Masquer le programmateur"));
        QCOMPARE(p.Tray("Afficherleprogrammateur1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F12));
        p.Tray("Afficherleprogrammateur1")->trigger();
        QVERIFY(!p.Window().isVisible());
        Q_EMIT menu->aboutToShow();
        QCOMPARE(p.Tray("Afficherleprogrammateur1")->text(), QStringLiteral("&Afficher le programmateur"));
        p.Tray("Afficherleprogrammateur1")->trigger();
        QVERIFY(p.Window().isVisible());

        // Pause switches recording off, and the window's check box follows.
        p.Tray("Pause1")->trigger();
        QVERIFY(!p.core->Engine().RecordingSwitchedOn());
        QVERIFY(!p.Find<QCheckBox>("CACtif")->isChecked());
        Q_EMIT menu->aboutToShow();
        QVERIFY(p.Tray("Pause1")->isChecked());
        p.Tray("Pause1")->trigger();
        QVERIFY(p.core->Engine().RecordingSwitchedOn());

        // The prevent toggle, from the tray and from the window.
        p.Tray("nosuspend")->trigger();
        QVERIFY(p.core->Power().PreventDown());
        QVERIFY(p.Find<QToolButton>("Nosuspend1")->isChecked());
        QVERIFY(!p.core->CoreSettings().AutoForbidSuspend); // a change by hand unticks Cauto
        QVERIFY(!p.Find<QCheckBox>("Cauto")->isChecked());
        p.Find<QToolButton>("Nosuspend1")->click();
        QVERIFY(!p.core->Power().PreventDown());
        Q_EMIT menu->aboutToShow();
        QVERIFY(!p.Tray("nosuspend")->isChecked());

        // The calendar shows with a recording, the journal once there is one; windows that do
        // not exist yet keep their items disabled.
        QVERIFY(p.Tray("MCalendrier")->isVisible());
        QCOMPARE(p.Tray("MJournal")->isVisible(),
                 QFile::exists(p.dir.filePath(QStringLiteral("Journal.Log"))));
        QFile journal(p.dir.filePath(QStringLiteral("Journal.Log")));
        journal.open(QIODevice::Append);
        journal.close();
        Q_EMIT menu->aboutToShow();
        QVERIFY(p.Tray("MJournal")->isVisible());
        for (const char* later : {"XMLTV1", "MCalendrier", "MJournal", "CPref", "CTips"})
            QVERIFY2(!p.Tray(later)->isEnabled(), later);
        QVERIFY(p.Tray("Quitter1")->isEnabled());
        // So do the list exchange's items in the list's menu; printing shows no item at all.
        QMenu* list = p.Window().ListMenu();
        for (const char* later :
             {"MCopier", "MColler", "outelaliste1", "Lesprogrammesslectionns4", "outelaliste3"}) {
            QAction* item = list->findChild<QAction*>(QLatin1String(later));
            QVERIFY2(item && !item->isEnabled(), later);
        }
        QVERIFY(!list->findChild<QAction*>(QStringLiteral("MImprimer"))->isVisible());
        QVERIFY(p.Tray("LancerZomvara")->isEnabled());
    }

    void trayStartsTheViewerByHand()
    {
        Program p;
        p.program->Show();
        QVERIFY(p.fake.processes.FindByExecutable(p.viewerExe).isEmpty());
        p.program->Tray().IconActivated(QSystemTrayIcon::DoubleClick);
        QCOMPARE(p.fake.processes.FindByExecutable(p.viewerExe).size(), 1);
        // Running by hand, the manual stop controls show on the next tick.
        p.fake.timers.RunFor(1100);
        QVERIFY(p.Find<QToolButton>("BitBtn3")->isVisible());
        QVERIFY(p.Find<QTimeEdit>("CDelai")->isVisible());
        QVERIFY(p.Find<QToolButton>("BitBtn4")->isVisible());
        p.Find<QTimeEdit>("CDelai")->setTime(QTime(12, 3));
        p.Find<QToolButton>("BitBtn3")->click();
        QVERIFY(p.core->ViewerManualStop().IsArmed());
        QCOMPARE(p.core->ViewerManualStop().StopMoment(), At(12, 3));
        p.fake.timers.RunUntil(At(12, 3, 2));
        QVERIFY(p.fake.processes.FindByExecutable(p.viewerExe).isEmpty());
        p.fake.timers.RunFor(1100);
        QVERIFY(!p.Find<QToolButton>("BitBtn3")->isVisible());
    }

    void changingTheDriveMovesEveryFile()
    {
        Program p;
        p.fake.disks.SetSpace(QStringLiteral("/media/usb"), 50LL << 30, 100LL << 30);
        p.program->Show();
        const QString before = p.core->Table()[1].Fichier;
        p.chosenFolder.clear();
        p.Tray("Changerlelecteurdenregistrementdelensembledesprogrammes1")->trigger();
        QCOMPARE(p.core->Table()[1].Fichier, before); // cancelled
        p.chosenFolder = QStringLiteral("/media/usb/films");
        p.Tray("Changerlelecteurdenregistrementdelensembledesprogrammes1")->trigger();
        QCOMPARE(p.core->Table()[1].Fichier, QStringLiteral("/media/usb") + before);
        QVERIFY(p.Find<QLabel>("CEspace")->text().contains(QStringLiteral("/media/usb")));
    }

    void labelsFollowTheOneSecondClock()
    {
        Program p;
        p.program->Show();
        p.fake.timers.RunUntil(At(12, 1, 7).AddSeconds(0.5));
        const QString shown = p.Find<QLabel>("CHeure")->text();
        QCOMPARE(shown, p.core->Clock3().CHeure());
        QVERIFY2(shown.startsWith(QStringLiteral(" Lundi 4 mars 2024 - 12:01:0")), qPrintable(shown));
        p.fake.timers.RunFor(2000);
        QVERIFY(p.Find<QLabel>("CHeure")->text() != shown);
        QCOMPARE(p.Find<QLabel>("CHeure")->text(), p.core->Clock3().CHeure());
        // The countdown to the recording at 12:05.
        QVERIFY2(p.Find<QLabel>("CInfos")->text().contains(QStringLiteral("minutes")),
                 qPrintable(p.Find<QLabel>("CInfos")->text()));
        QCOMPARE(p.Find<QLabel>("CInfos")->text(), p.core->Engine().Status().text);
    }

    void keypadEditsThePickerUnderIt()
    {
        Program p;
        p.program->Show();
        QVERIFY(QTest::qWaitForWindowExposed(&p.Window()));
        p.Find<QToolButton>("Image1")->click();
        auto* from = p.Find<QTimeEdit>("CInterdire1");
        QVERIFY(from->isVisible());
        from->setTime(QTime(0, 30));
        QTest::mouseClick(from, Qt::LeftButton);
        QuickTimeKeypad* keypad = p.Window().Keypad();
        QVERIFY(keypad->isVisible());
        QCOMPARE(keypad->Picker(), from);
        QCOMPARE(from->palette().color(QPalette::Base), QColor(254, 218, 165));

        QTest::mouseClick(keypad->findChild<QToolButton*>(QStringLiteral("B25")), Qt::LeftButton);
        QCOMPARE(from->time(), QTime(23, 30));
        QCOMPARE(p.core->CoreSettings().InterdireDebut, DateTime::FromTime(23, 30));
        // A right press on hour 7 clears the minutes first.
        QTest::mouseClick(keypad->findChild<QToolButton*>(QStringLiteral("B8")), Qt::RightButton);
        QCOMPARE(from->time(), QTime(7, 0));
        QTest::mouseClick(keypad->findChild<QToolButton*>(QStringLiteral("B33")), Qt::LeftButton);
        QCOMPARE(from->time(), QTime(7, 30));
        QVERIFY(from->hasFocus() || !p.Window().isActiveWindow());

        // Moving over the list hides it and gives the picker its colour back.
        MoveOver(p.Window().List()->viewport(), QPoint(20, 10));
        QVERIFY(!keypad->isVisible());
        QVERIFY(from->palette().color(QPalette::Base) != QColor(254, 218, 165));
    }

    void addAndModifyGoThroughTheEditor()
    {
        Program p;
        p.program->Show();
        TFListe& w = p.Window();
        ScheduleTable& table = p.core->Table();
        QVERIFY(w.ListMenu()->findChild<QAction*>(QStringLiteral("MAjouter"))->isEnabled());

        // Cancelled: the prepared entry goes again.
        p.commitEdits = false;
        w.AddRecording();
        QCOMPARE(p.edits.size(), 1);
        QCOMPARE(p.edits[0], qMakePair(2, true));
        QCOMPARE(table.Count(), 1);
        // Committed: it stays, starting now on the last channel.
        p.commitEdits = true;
        w.AddRecording();
        QCOMPARE(table.Count(), 2);
        const int added = table[1].Programme.isEmpty() ? 1 : 2;
        QCOMPARE(table[added].HeureDebut, DateTime::FromTime(12, 0));
        QCOMPARE(table[added].HeureFin, DateTime::FromTime(14, 0));

        // The current row is modified, not added to.
        const int soir = 3 - added;
        w.SelectRecords({soir});
        QVERIFY(soir > 0);
        w.ModifyRecording();
        QCOMPARE(p.edits.last(), qMakePair(soir, false));
        QCOMPARE(table[soir].Programme, QStringLiteral("Soir"));
        QCOMPARE(table.Count(), 2);

        // An Enter released over the list without its press (a dialog closed) opens nothing.
        w.SelectRecords({1});
        const int before = p.edits.size();
        QTest::keyRelease(w.List(), Qt::Key_Return);
        QCOMPARE(p.edits.size(), before);
        QTest::keyClick(w.List(), Qt::Key_Return);
        QCOMPARE(p.edits.size(), before + 1);

        // A double click on a band adds, whatever was selected.
        w.SelectRecords({soir});
        QTest::mouseDClick(p.Find<QLabel>("Panel6"), Qt::LeftButton);
        QCOMPARE(p.edits.last().second, true);
        QCOMPARE(table.Count(), 3);
    }

    void forbidWindowPanelFollowsCauto()
    {
        Program p;
        p.program->Show();
        auto* cauto = p.Find<QCheckBox>("Cauto");
        auto* image1 = p.Find<QToolButton>("Image1");
        QFrame* panel = p.Find<QFrame>("Panel12");
        QVERIFY(cauto->isChecked());
        QVERIFY(image1->isVisible());
        QVERIFY(!panel->isVisible()); // hidden at start
        image1->click();
        QVERIFY(panel->isVisible());
        p.Find<QCheckBox>("CInterdire")->click();
        QVERIFY(p.core->CoreSettings().Interdire);
        p.Find<QTimeEdit>("CInterdire2")->setTime(QTime(13, 0));
        QCOMPARE(p.core->CoreSettings().InterdireFin, DateTime::FromTime(13, 0));
        // Unticking Cauto hides the panel and its picture.
        cauto->click();
        QVERIFY(!p.core->CoreSettings().AutoForbidSuspend);
        QVERIFY(!panel->isVisible());
        QVERIFY(!image1->isVisible());
    }

    void aFullListRefusesToAdd()
    {
        QByteArray store = "[Programmes]\r\nNbProgrammes=256\r\n";
        for (int i = 1; i <= 256; ++i)
            store += "Programme" + QByteArray::number(i) + "=P" + QByteArray::number(i) + "\r\nChaine" +
                     QByteArray::number(i) + "=M6\r\nDateDebut" + QByteArray::number(i) +
                     "=05/03/2024\r\nDateFin" + QByteArray::number(i) + "=05/03/2024\r\nHeureDebut" +
                     QByteArray::number(i) + "=10:00\r\nHeureFin" + QByteArray::number(i) +
                     "=10:30\r\nActif" + QByteArray::number(i) + "=1\r\n";
        Program p(store);
        QCOMPARE(p.core->Table().Count(), 256);
        p.program->Show();
        p.presenter.ScriptDefault();
        p.Window().AddRecording();
        QVERIFY(p.edits.isEmpty());
        QCOMPARE(p.presenter.Requests().size(), 1);
        QCOMPARE(p.presenter.LastRequest().text,
                 QStringLiteral("La liste de programmation ne peut pas contenir plus de 256 programmes."));
        QCOMPARE(p.core->Table().Count(), 256);
    }

    void quickCommandsPanel()
    {
        Program p;
        p.program->Show();
        QVERIFY(QTest::qWaitForWindowExposed(&p.Window()));
        TFListe& w = p.Window();
        const QRect row = w.List()->visualRect(w.Model()->index(0, 1));
        QTest::mouseClick(w.List()->viewport(), Qt::MiddleButton, {}, row.center());
        QFrame* panel = w.CommandsPanel();
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->width(), 21); // a one-off: priority only
        QCOMPARE(w.CurrentRecord(), 1);
        panel->findChild<QToolButton*>(QStringLiteral("BtPri"))->click();
        QVERIFY(!panel->isVisible());
        QVERIFY(p.core->Table()[1].Prioritaire);
        // Another middle press toggles it off again.
        QTest::mouseClick(w.List()->viewport(), Qt::MiddleButton, {}, row.center());
        QVERIFY(panel->isVisible());
        QTest::mouseClick(w.List()->viewport(), Qt::MiddleButton, {}, row.center());
        QVERIFY(!panel->isVisible());
    }

    void placementSharesTheScreenWithTheOtherCopies()
    {
        Program p;
        p.program->Show();
        QVERIFY(QTest::qWaitForWindowExposed(&p.Window()));
        const QString me = p.dir.filePath(QStringLiteral("quorx"));
        p.fake.processes.StartRunning(me);
        p.fake.processes.StartRunning(me);
        p.Find<QToolButton>("ShowP")->click();
        QFrame* two = p.Find<QFrame>("p2");
        QVERIFY(two->isVisible());
        QVERIFY(!p.Find<QFrame>("p3")->isVisible());
        p.Find<QToolButton>("p2_2")->click();
        QVERIFY(!two->isVisible());
        const QRect screen = p.Window().screen()->geometry();
        QCOMPARE(
            p.Window().geometry(),
            WindowPlacement::Choices(2, screen.width(), screen.height())[1].translated(screen.topLeft()));
        // Moving over the list hides the choices too.
        p.Find<QToolButton>("ShowP")->click();
        QVERIFY(two->isVisible());
        MoveOver(p.Window().List()->viewport(), QPoint(30, 8));
        QVERIFY(!two->isVisible());
    }

    void placeAndColumnsAreKeptAcrossRuns()
    {
        QRect placed;
        {
            Program p;
            p.program->Show();
            QVERIFY(QTest::qWaitForWindowExposed(&p.Window()));
            p.Window().setGeometry(40, 50, 700, 380);
            QTest::qWait(0);
            placed = p.Window().geometry();
            const QString store = p.dir.filePath(QStringLiteral("Config.Ini"));
            // The columns follow the list's width; the last one takes the rest.
            QTableView* list = p.Window().List();
            int sum = 0;
            for (int c = 0; c < 5; ++c)
                sum += list->columnWidth(c);
            QCOMPARE(sum, list->viewport()->width() - 8);
            QVERIFY(p.Window().Quit());
            QVERIFY(p.program->Finish());
            IniFile config;
            QVERIFY(config.Load(store));
            QCOMPARE(config.ReadInteger(QStringLiteral("Config"), QStringLiteral("XXListe")), placed.width());
            QCOMPARE(config.ReadInteger(QStringLiteral("Config"), QStringLiteral("YListe")), placed.y());
            QCOMPARE(config.ReadInteger(QStringLiteral("Config"), QStringLiteral("EtatListe")), 0);
            QCOMPARE(config.ReadInteger(QStringLiteral("Config"), QStringLiteral("ColonnesTotal")),
                     list->viewport()->width());
        }
    }

    void f8ResetsOnTheListAndShowsTomorrowOnTheBands()
    {
        Program p;
        p.program->Show();
        p.Window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&p.Window()));
        TEmission& soir = p.core->Table()[1];
        soir.Erreur = true;
        p.Window().SelectRecords({1});
        p.Window().List()->setFocus();
        QTest::keyClick(p.Window().List(), Qt::Key_F8);
        QVERIFY(!p.core->Table()[1].Erreur);
        QCOMPARE(p.core->CoreSettings().Afficher, 0);
        QCheckBox* onBand = p.Find<QCheckBox>("Cauto");
        onBand->setFocus();
        QTest::keyClick(onBand, Qt::Key_F8);
        QCOMPARE(p.core->CoreSettings().Afficher, 11);
    }

    void handedOverListFilesAreOfferedForImport()
    {
        Program p;
        p.program->Show();
        const QString list = p.dir.filePath(QStringLiteral("Semaine.Quorx"));
        QFile(list).open(QIODevice::WriteOnly);
        // Anything but a list file is ignored without a word.
        p.program->HandOver(p.dir.filePath(QStringLiteral("Programmes.Ini")), true);
        QVERIFY(p.presenter.Requests().isEmpty());
        // A list file from a second start is asked about first.
        p.presenter.ScriptNo();
        p.program->HandOver(list, true);
        QCOMPARE(p.presenter.Requests().size(), 1);
        QCOMPARE(p.presenter.LastRequest().number, 114);
        QCOMPARE(p.presenter.LastRequest().text,
                 QStringLiteral("Voulez-vous importer cette liste de programmes ?"));
        QVERIFY(p.Window().isVisible());
        // Named on the first start, it is not asked about (nothing imports lists yet: a notice).
        p.presenter.ScriptDefault();
        p.program->HandOver(list, false);
        QCOMPARE(p.presenter.Requests().size(), 2);
        QVERIFY(p.presenter.LastRequest().number != 114);
    }

    void freeSpaceButton()
    {
        Program p;
        p.program->Show();
        auto* dd = p.Find<QToolButton>("DD");
        QVERIFY(p.Find<QLabel>("CEspace")->isVisible());
        QVERIFY(dd->isVisible());
        QTest::mouseClick(dd, Qt::RightButton);
        QCOMPARE(p.fake.shell.Requests().size(), 1);
        QCOMPARE(p.fake.shell.Requests()[0].target, p.dir.filePath(QStringLiteral("video")));
    }
};

} // namespace quorx

QTEST_MAIN(quorx::MainProgramTest)
#include "MainProgramTest.moc"
