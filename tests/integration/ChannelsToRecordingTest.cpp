#include "LaunchRecorder.h"
#include "ModalDriver.h"
#include "MachineStandIns.h"
#include "ZomvaraFixture.h"

#include "channels/SchedulerChannelList.h"
#include "common/IniFile.h"
#include "common/TextUtils.h"
#include "engine/JournalWriter.h"
#include "engine/RecordingEngine.h"
#include "engine/ScheduleEngine.h"
#include "i18n/LocalisedStrings.h"
#include "power/Questions.h"
#include "power/ScriptedQuestionPresenter.h"
#include "schedule/ScheduleStore.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"
#include "schedule/SettingsStore.h"
#include "startup/SchedulerCore.h"
#include "ui/channels/TFChaines.h"
#include "ui/editor/TFSaisie.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimeEdit>

#include <cstdio>

namespace quorx::test {

namespace {

struct Event
{
    QString event;
    QString program;
    QString comment;
    QString file;
};

QVector<Event> JournalOf(const QString& path)
{
    QVector<Event> events;
    IniFile ini;
    ini.Load(path);
    const int count = ini.ReadInteger(QStringLiteral("Configuration"), QStringLiteral("EventsNb"));
    for (int n = 1; n <= count; ++n) {
        const QString s = QString::number(n);
        events.append(
            {ini.ReadString(s, QStringLiteral("Event")), ini.ReadString(s, QStringLiteral("Program")),
             ini.ReadString(s, QStringLiteral("Comment")), ini.ReadString(s, QStringLiteral("File"))});
    }
    return events;
}

const Event* FindEvent(const QVector<Event>& events, const QString& event, const QString& program)
{
    for (const Event& e : events)
        if (e.event == event && e.program == program)
            return &e;
    return nullptr;
}

template <typename T> T* Find(QWidget* window, const char* name)
{
    T* child = window->findChild<T*>(QLatin1String(name));
    if (!child)
        qFatal("no control %s in %s", name, qPrintable(window->objectName()));
    return child;
}

QStringList Items(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

QStringList Items(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts.append(box->itemText(i));
    return texts;
}

// As a user picks an entry: the list drops down and the entry is clicked.
void ChooseFromList(QComboBox* box, const QString& text)
{
    const int index = box->findText(text);
    if (index < 0)
        return;
    box->showPopup();
    QAbstractItemView* view = box->view();
    if (!QTest::qWaitFor([&] { return view->isVisible(); }, 2000))
        return;
    const QRect item = view->visualRect(view->model()->index(index, box->modelColumn()));
    QTest::mouseMove(view->viewport(), item.center());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
}

void TypeInto(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void Print(const QString& line)
{
    std::printf("[   seen   ] %s\n", qPrintable(line));
    std::fflush(stdout);
}

} // namespace

// A fresh program folder beside a freshly installed viewer, used as a first-time user would: the
// viewer's channels are imported in the channel window, a recording a minute or two ahead is
// entered in the editor, and the scheduler on the real clock records it through the viewer.
class ChannelsToRecordingTest : public ZomvaraTest
{
protected:
    // The viewer writes its channel files when it starts; ending it at once leaves them behind.
    void RunViewerOnce(const QString& exe)
    {
        QProcess viewer;
        viewer.start(exe, {QStringLiteral("/Exit")});
        ASSERT_TRUE(viewer.waitForFinished(30000)) << viewer.errorString().toStdString();
        ASSERT_EQ(viewer.exitCode(), 0);
    }

    void WriteConfig(const QString& home, const QString& viewerFolder)
    {
        IniFile ini;
        // No margins, so that the recording starts at the minute typed, not before it.
        ini.WriteString(QStringLiteral("Config"), QStringLiteral("DelaiDeb"), QStringLiteral("00:00:00"));
        ini.WriteString(QStringLiteral("Config"), QStringLiteral("DelaiFin"), QStringLiteral("00:00:00"));
        const SettingsStore::Key* viewerKey = SettingsStore::FindKey(QStringLiteral("CheminZomvara"));
        ASSERT_NE(viewerKey, nullptr);
        ini.WriteString(QString(viewerKey->section), QString(viewerKey->name),
                        viewerFolder + QLatin1Char('/'));
        ASSERT_TRUE(ini.SaveAs(SettingsStore::FilePath(home)));
    }
};

TEST_F(ChannelsToRecordingTest, ChannelsImportedFromTheViewerAreRecordedFromTheEditor)
{
    const QStringList expected{QStringLiteral("Arte"), QStringLiteral("France 5"),
                               QStringLiteral("TV5 Monde")};
    const QString chosen = QStringLiteral("France 5");
    const QString viewerExe = Install(QStringLiteral("zomvara"), "[Channels]\nArte=synthetic:256\n"
                                                                 "France 5=synthetic:256\nTV5 Monde=none\n");
    const QString viewerFolder = QFileInfo(viewerExe).absolutePath();
    ASSERT_NO_FATAL_FAILURE(RunViewerOnce(viewerExe));
    EXPECT_TRUE(QFileInfo::exists(viewerFolder + QStringLiteral("/channels/Favourites.tree")));
    EXPECT_TRUE(QFileInfo::exists(viewerFolder + QStringLiteral("/channels/channels.dat")));

    const QString home = Path(QStringLiteral("home"));
    const QString video = Path(QStringLiteral("video"));
    ASSERT_TRUE(QDir().mkpath(home));
    ASSERT_NO_FATAL_FAILURE(WriteConfig(home, viewerFolder));

    LaunchRecorder processes(m_processes);
    MachineStandIns machine;
    const Platform platform = machine.With(m_timers, processes);
    // Nobody at the screen: every question takes its default answer at once.
    ScriptedQuestionPresenter presenter;
    SchedulerCore core(home, platform, presenter);
    ASSERT_TRUE(core.Start()) << core.StartError().toStdString();
    EXPECT_EQ(core.Viewer().Executable(), viewerExe);
    const QString configPath = SettingsStore::FilePath(home);

    // The channel window over the caller's list, empty in a fresh folder; the viewer's folder comes
    // from the settings as it does in the program.
    TFChaines::Services channelServices;
    channelServices.programFolder = home;
    channelServices.settings = &core.CoreSettings();
    channelServices.questions = &core.Ask();
    QStringList channels;
    QStringList listsOffered;
    QStringList offered;
    {
        ModalDriver user(60000);
        user.Then(QStringLiteral("FChaines"), [&](QWidget* w) {
            listsOffered = Items(Find<QComboBox>(w, "ComboBox1"));
            Find<QCheckBox>(w, "CDossier")->setChecked(false);
            offered = Items(Find<QListWidget>(w, "ListBox1"));
            QTest::mouseClick(Find<QPushButton>(w, "BitBtn3"), Qt::LeftButton);
            QTest::mouseClick(Find<QPushButton>(w, "BitBtn1"), Qt::LeftButton);
        });
        EXPECT_TRUE(TFChaines::Edit(nullptr, channelServices, channels));
        EXPECT_TRUE(user.Done() && user.Failures().isEmpty())
            << user.Failures().join(QLatin1Char('|')).toStdString();
    }
    EXPECT_EQ(listsOffered.size(), 1);
    EXPECT_EQ(offered, expected);
    EXPECT_EQ(channels, expected);
    EXPECT_EQ(SchedulerChannelList::LoadFile(configPath).Names(), expected);

    // The editor as the main window opens it, with the channel window behind its channel buttons.
    QVector<int> channelPagesOpened;
    TFSaisie::Services editorServices;
    editorServices.table = &core.Table();
    editorServices.settings = &core.CoreSettings();
    editorServices.questions = &core.Ask();
    editorServices.platform = platform;
    editorServices.programFolder = home;
    editorServices.openChannels = [&](QStringList& list, int page) {
        channelPagesOpened << page;
        TFChaines::Opening opening;
        opening.page =
            page == TFSaisie::ChannelImportPage ? TFChaines::ImportPage : TFChaines::PreferencesPage;
        opening.channel = list.value(0);
        opening.profile =
            page == TFSaisie::RepeatingPreferences ? PreferenceProfile::Repeating : PreferenceProfile::OneOff;
        // The editor holds no list of its own: it reads [Chaines] again afterwards.
        return TFChaines::EditStoredList(QApplication::activeModalWidget(), channelServices, opening);
    };

    QStringList preferenceEntries;
    QStringList selectorChannels;
    QString channelShown;
    QString preview;
    DateTime start;
    DateTime end;
    const auto editorAsked = [&](int number) {
        for (const QuestionRequest& r : presenter.Requests())
            if (r.number == number)
                return true;
        return false;
    };
    TFSaisie::Outcome outcome = TFSaisie::Outcome::Cancelled;
    {
        ModalDriver user(60000);
        // A fresh folder has no default preferences: the editor offers to define them, which its
        // default answer accepts; they are left as they come.
        user.Then(
            QStringLiteral("FChaines"),
            [&](QWidget* w) {
                preferenceEntries = Items(Find<QComboBox>(w, "ComboBox2"));
                QTest::mouseClick(Find<QPushButton>(w, "BitBtn1"), Qt::LeftButton);
            },
            [](QWidget* w) {
                return Find<QTabWidget>(w, "PageControl1")->currentIndex() == TFChaines::PreferencesPage;
            });
        user.Then(
            QStringLiteral("FSaisie"),
            [&](QWidget* w) {
                Find<QTabWidget>(w, "PageControl1")->setCurrentIndex(0);
                TypeInto(Find<QComboBox>(w, "CNom")->lineEdit(), QStringLiteral("Essai"));
                auto* chaine = Find<QComboBox>(w, "CChaine");
                selectorChannels = Items(chaine);
                ChooseFromList(chaine, chosen);
                channelShown = chaine->currentText();

                // The next whole minute, or the one after when this one is too close to tell a
                // start on time from a start at once.
                const DateTime now = machine.clock.Now();
                start = now.WithoutSeconds().AddMinutes(1);
                if (DateTime::SecondsBetweenTruncated(now, start) < 20)
                    start = start.AddMinutes(1);
                end = start.AddMinutes(3);
                Find<QDateEdit>(w, "CDateDebut")->setDate(start.ToQDate());
                Find<QTimeEdit>(w, "CHeureDebut")->setTime(QTime(start.Hour(), start.Minute()));
                Find<QTimeEdit>(w, "CHeureFin")->setTime(QTime(end.Hour(), end.Minute()));

                Find<QTabWidget>(w, "PageControl1")->setCurrentIndex(1);
                TypeInto(Find<QComboBox>(w, "CDossier")->lineEdit(), video + QLatin1Char('/'));
                preview = Find<QLabel>(w, "CLabelNomAuto")->text();
                QTest::mouseClick(Find<QPushButton>(w, "BitBtn1"), Qt::LeftButton);
            },
            [&](QWidget*) { return editorAsked(149); });
        outcome = TFSaisie::AddNew(nullptr, editorServices);
        EXPECT_TRUE(user.Done() && user.Failures().isEmpty())
            << user.Failures().join(QLatin1Char('|')).toStdString();
    }
    ASSERT_EQ(outcome, TFSaisie::Outcome::Committed);
    EXPECT_EQ(channelPagesOpened, QVector<int>{TFSaisie::ChannelPreferences});
    // The editor shows the names capitalised under Majuscules, which is on in a fresh folder.
    ASSERT_TRUE(core.CoreSettings().Majuscules);
    for (const QString& name : expected) {
        EXPECT_TRUE(selectorChannels.contains(CapitaliseFirst(name))) << name.toStdString();
        EXPECT_TRUE(preferenceEntries.contains(name)) << name.toStdString();
    }
    EXPECT_EQ(channelShown, chosen);
    // Going through the preferences must not have cut the stored channel list down; the editor
    // writes its channel favourites back as it shows them.
    const QStringList storedAfter = SchedulerChannelList::LoadFile(configPath).Names();
    ASSERT_EQ(storedAfter.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(storedAfter[i].compare(expected[i], Qt::CaseInsensitive), 0)
            << storedAfter[i].toStdString();
    Print(QStringLiteral("[Chaines] after the editor: ") + storedAfter.join(QStringLiteral(", ")));
    Print(QStringLiteral("file name shown by the editor: ") + preview);

    // What the main window does after the editor: one pass over the schedule, saved.
    ASSERT_TRUE(core.Schedule().RecomputeSchedule()) << core.Schedule().LastSaveError().toStdString();
    {
        ScheduleTable stored;
        ScheduleStore::LoadSchedule(home, stored, core.CoreSettings(), machine.clock.Now());
        ASSERT_EQ(stored.Count(), 1);
        EXPECT_EQ(stored[1].Programme, QStringLiteral("Essai"));
        EXPECT_EQ(stored[1].Chaine, chosen);
        EXPECT_EQ(stored[1].DateDebut, start.DatePart());
        EXPECT_EQ(stored[1].HeureDebut, start.TimePart());
        EXPECT_EQ(stored[1].HeureFin, end.TimePart());
        EXPECT_TRUE(stored[1].Fichier.startsWith(video + QLatin1Char('/')))
            << stored[1].Fichier.toStdString();
    }
    ASSERT_EQ(core.Table().Count(), 1);
    const std::int32_t id = core.Table()[1].RecordId;
    EXPECT_EQ(core.Engine().CurrentId(), id);
    EXPECT_FALSE(core.Engine().RecordingFlag());

    // The start on the real clock: at most a minute and twenty seconds away, with room for a slow machine.
    const QString title = QStringLiteral("Essai - ") + chosen;
    const QString journalPath = core.Journal().FilePath();
    const QString started = Ls(JournalWriter::RecordingStarted);
    const qint64 toStartMs = DateTime::SecondsBetweenTruncated(machine.clock.Now(), start) * 1000;
    ASSERT_TRUE(WaitFor([&] { return FindEvent(JournalOf(journalPath), started, title) != nullptr; },
                        int(toStartMs) + 45000));
    // The engine starts the viewer a few seconds ahead of the minute; not a minute early.
    EXPECT_GE(machine.clock.Now().TotalSeconds(), start.TotalSeconds() - 10);
    Print(QStringLiteral("started at %1, %2 s before the minute typed")
              .arg(machine.clock.Now().ToQDateTime().toString(QStringLiteral("hh:mm:ss")))
              .arg(start.TotalSeconds() - machine.clock.Now().TotalSeconds()));
    const QString file = core.Engine().CurrentFile();
    Print(QStringLiteral("recording into ") + file);
    EXPECT_EQ(QFileInfo(file).absolutePath(), video);
    EXPECT_EQ(FindEvent(JournalOf(journalPath), started, title)->file, file);

    QStringList viewerArguments;
    for (const LaunchRecorder::Launched& l : processes.Launches())
        if (QFileInfo(l.program).canonicalFilePath() == QFileInfo(viewerExe).canonicalFilePath())
            viewerArguments << l.arguments;
    const qsizetype tune = viewerArguments.indexOf(QStringLiteral("/CH:") + chosen);
    const qsizetype record = viewerArguments.indexOf(QStringLiteral("/StartRecord:") + file);
    EXPECT_GE(tune, 0);
    EXPECT_GT(record, tune);

    // The viewer writes the tuned channel's stream at 256 KiB a second.
    EXPECT_TRUE(WaitFor([&] { return SizeOf(file) >= 1536 * 1024; }, 30000)) << SizeOf(file);
    EXPECT_TRUE(Grows(file));
    EXPECT_TRUE(core.Engine().RecordingFlag());
    EXPECT_EQ(core.Table()[1].Etat, 1);
    Print(QStringLiteral("size before the stop: %1 bytes").arg(SizeOf(file)));

    // Stopped early through the engine's stop command, as the stop button does.
    core.Engine().CStopClick();
    const QString ended = Ls(JournalWriter::RecordingEnded);
    ASSERT_TRUE(WaitFor([&] { return FindEvent(JournalOf(journalPath), ended, title) != nullptr; }, 20000));
    EXPECT_TRUE(processes.AllArguments().mid(record).contains(QStringLiteral("/StopRecord")));
    EXPECT_TRUE(StaysStill(file, 1000));
    const qint64 finalSize = SizeOf(file);
    Print(QStringLiteral("size after the stop: %1 bytes").arg(finalSize));
    EXPECT_GE(finalSize, 1536 * 1024);
    EXPECT_TRUE(IsTransportStream(Read(file)));

    for (const LaunchRecorder::Launched& l : processes.Launches())
        Print(QStringLiteral("started: %1 %2").arg(l.program, l.arguments.join(QLatin1Char(' '))));
    const QVector<Event> events = JournalOf(journalPath);
    for (const Event& e : events)
        Print(QStringLiteral("journal: %1 | %2 | %3 | %4").arg(e.event, e.program, e.comment, e.file));
    const Event* end_ = FindEvent(events, ended, title);
    EXPECT_EQ(end_->file, file);
    EXPECT_FALSE(end_->comment.isEmpty());
    EXPECT_EQ(FindEvent(events, Ls(JournalWriter::RecordingFailed), title), nullptr);

    // Over for this occurrence: kept in the list, not recording, not armed again.
    EXPECT_FALSE(core.Engine().RecordingFlag());
    ASSERT_EQ(core.Table().Count(), 1);
    EXPECT_EQ(core.Table()[1].Etat, 3);
    EXPECT_FALSE(core.Table()[1].Erreur);
    EXPECT_FALSE(core.Engine().TimerDebut().Enabled());

    QStringList asked;
    for (const QuestionRequest& r : presenter.Requests())
        asked << QString::number(r.number);
    Print(QStringLiteral("questions asked: ") + asked.join(QLatin1Char(' ')));
    EXPECT_TRUE(core.Shutdown()) << core.LastError().toStdString();
}

} // namespace quorx::test
