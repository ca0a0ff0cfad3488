#include "ui/channels/TFChaines.h"

#include "ViewerFileBuilder.h"

#include "channels/ChannelPreferenceStore.h"
#include "common/IniFile.h"
#include "common/Paths.h"
#include "platform/fake/FakePlatform.h"
#include "power/Questions.h"
#include "power/ScriptedQuestionPresenter.h"
#include "schedule/Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDataStream>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace quorx {

namespace {

using namespace quorx::test;

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
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

void DoubleClick(QListWidget* list, const QString& text)
{
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(text));
    list->clearSelection();
    const QPoint at = list->visualItemRect(found.front()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

// What a drag out of one of the window's lists carries.
QMimeData* Dragged(const QString& origin, const QStringList& entries)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out << origin << entries;
    auto* data = new QMimeData;
    data->setData(QStringLiteral("application/x-quorx-channel-entries"), payload);
    return data;
}

// Drag events sent to a widget travel up to the first one that takes them, as a real drop does.
bool Drop(QWidget* target, const QString& origin, const QStringList& entries)
{
    std::unique_ptr<QMimeData> data(Dragged(origin, entries));
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

} // namespace

class TFChainesTest : public QObject
{
    Q_OBJECT

private:
    // A program folder and a viewer folder whose channels folder holds a favourites list "Favoris"
    // (group Films, referring twice to Arte, once without its N7), a list "Tout" that is not a
    // favourites list, and the channel database.
    struct Fixture
    {
        Fixture() : view(fake.View())
        {
            const QVector<TTree> channels = {Ref(1, 10, 11, 0, 0, 12, 5, QStringLiteral("Arte")),
                                             Ref(1, 20, 21, 0, 0, 22, 6, QStringLiteral("TF1")),
                                             Ref(1, 30, 31, 0, 0, 32, 7, QStringLiteral("France 2"))};
            WriteFile(Channels() + QStringLiteral("/channels.dat"), Dat113(114, channels));
            WriteFile(Channels() + QStringLiteral("/Favourites.tree"),
                      Tree105(107, "Favoris", true,
                              {Group{"Films", {Ref(1, 10, 11, 0, 0, 12, 0), Ref(0, 10, 11, 0, 0, 12, 5)}}}));
            WriteFile(Channels() + QStringLiteral("/All.tree"),
                      Tree104("Tout", false,
                              {Group{"TNT", {Ref(0, 20, 21, 0, 0, 22, 0), Ref(0, 30, 31, 0, 0, 32, 0)}}}));
            questions = std::make_unique<Questions>(presenter, settings, view, ConfigPath());
        }

        QString Channels() const { return viewer.filePath(QStringLiteral("channels")); }
        QString ConfigPath() const { return program.filePath(QStringLiteral("Config.Ini")); }
        QString PrefPath() const { return program.filePath(ChannelPreferenceStore::FileName()); }
        IniFile Config() const { return IniFile(ConfigPath()); }
        QString Pref(const QString& key) const
        {
            return IniFile(PrefPath()).ReadString(QStringLiteral("Channels"), key, QStringLiteral("<none>"));
        }

        TFChaines::Services Services(const QString& viewerFolder = QString())
        {
            TFChaines::Services s;
            s.programFolder = program.path();
            s.settings = &settings;
            s.questions = questions.get();
            s.viewerFolder = viewerFolder.isEmpty() ? viewer.path() : viewerFolder;
            return s;
        }

        std::unique_ptr<TFChaines> Window(const QStringList& channels, const TFChaines::Opening& opening = {},
                                          const QString& viewerFolder = QString())
        {
            auto w = std::make_unique<TFChaines>(Services(viewerFolder), channels, opening);
            w->show();
            return w;
        }

        QTemporaryDir program;
        QTemporaryDir viewer;
        Settings settings;
        FakePlatform fake;
        Platform view;
        ScriptedQuestionPresenter presenter;
        std::unique_ptr<Questions> questions;
    };

    template <typename T> static T* Find(QWidget* w, const char* name)
    {
        T* child = w->findChild<T*>(QLatin1String(name));
        if (!child)
            qFatal("no control %s", name);
        return child;
    }

private Q_SLOTS:
    void importPageListsTheChosenListAndBuildsTheSchedulerList()
    {
        Fixture f;
        auto w = f.Window({QStringLiteral("M6")});
        QCOMPARE(w->objectName(), QStringLiteral("FChaines"));
        auto* combo = Find<QComboBox>(w.get(), "ComboBox1");
        auto* list1 = Find<QListWidget>(w.get(), "ListBox1");
        auto* list2 = Find<QListWidget>(w.get(), "ListBox2");
        QCOMPARE(Items(combo), QStringList{QStringLiteral("Favoris")});
        // Two references to Arte, one without N7: a single entry, with its folder name.
        QCOMPARE(Items(list1), QStringList{QStringLiteral("Films     Arte")});
        QCOMPARE(Items(list2), QStringList{QStringLiteral("M6")});

        Find<QCheckBox>(w.get(), "CDossier")->setChecked(false);
        QCOMPARE(Items(list1), QStringList{QStringLiteral("Arte")});
        Find<QCheckBox>(w.get(), "CDossier")->setChecked(true);
        DoubleClick(list1, QStringLiteral("Films     Arte"));
        QCOMPARE(Items(list2), (QStringList{QStringLiteral("Arte"), QStringLiteral("M6")}));

        // Every list, then the one that is not a favourites list, all of whose channels are added.
        Find<QCheckBox>(w.get(), "CheckBox1")->setChecked(false);
        QCOMPARE(Items(combo), (QStringList{QStringLiteral("Favoris"), QStringLiteral("Tout")}));
        QCOMPARE(combo->currentText(), QStringLiteral("Favoris"));
        Q_EMIT combo->activated(1);
        QCOMPARE(Items(list1),
                 (QStringList{QStringLiteral("TNT     France 2"), QStringLiteral("TNT     TF1")}));
        QTest::mouseClick(Find<QPushButton>(w.get(), "BitBtn3"), Qt::LeftButton);
        QCOMPARE(Items(list2), (QStringList{QStringLiteral("Arte"), QStringLiteral("France 2"),
                                            QStringLiteral("M6"), QStringLiteral("TF1")}));

        // Typed names are trimmed and taken once, whatever their letter case.
        auto* edit = Find<QLineEdit>(w.get(), "Edit1");
        QTest::keyClicks(edit, QStringLiteral("  W9 "));
        QTest::mouseClick(Find<QPushButton>(w.get(), "BitBtn5"), Qt::LeftButton);
        QVERIFY(edit->text().isEmpty());
        QTest::keyClicks(edit, QStringLiteral("arte"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(edit->text(), QStringLiteral("arte"));
        QCOMPARE(Items(list2).size(), 5);

        DoubleClick(list2, QStringLiteral("M6"));
        QVERIFY(!Items(list2).contains(QStringLiteral("M6")));
        QTest::mouseClick(Find<QPushButton>(w.get(), "BitBtn7"), Qt::LeftButton);
        QVERIFY(Items(list2).isEmpty());
    }

    void draggingAddsOntoTheSchedulerListAndRemovesWhenDraggedOut()
    {
        Fixture f;
        auto w = f.Window({QStringLiteral("TF1"), QStringLiteral("M6")});
        auto* list1 = Find<QListWidget>(w.get(), "ListBox1");
        auto* list2 = Find<QListWidget>(w.get(), "ListBox2");
        QVERIFY(Drop(list2->viewport(), QStringLiteral("ListBox1"), {QStringLiteral("Films     Arte")}));
        QCOMPARE(Items(list2),
                 (QStringList{QStringLiteral("Arte"), QStringLiteral("M6"), QStringLiteral("TF1")}));
        // The right list's own entries dropped back onto it stay; dropped anywhere else they go.
        QVERIFY(!Drop(list2->viewport(), QStringLiteral("ListBox2"), {QStringLiteral("M6")}));
        QCOMPARE(Items(list2).size(), 3);
        QVERIFY(Drop(list1->viewport(), QStringLiteral("ListBox2"),
                     {QStringLiteral("M6"), QStringLiteral("TF1")}));
        QCOMPARE(Items(list2), QStringList{QStringLiteral("Arte")});
        // The left list's entries dropped anywhere but on the right list change nothing.
        QVERIFY(
            !Drop(Find<QLineEdit>(w.get(), "Edit1"), QStringLiteral("ListBox1"), {QStringLiteral("Arte")}));
        QVERIFY(!Drop(list1->viewport(), QStringLiteral("ListBox1"), {QStringLiteral("Films     Arte")}));
        QCOMPARE(Items(list2), QStringList{QStringLiteral("Arte")});
    }

    void okWritesTheListAndClosingOtherwiseKeepsWhatWasStored_data()
    {
        QTest::addColumn<QStringList>("channels");
        QTest::addColumn<int>("last");
        QTest::newRow("three channels")
            << QStringList{QStringLiteral("TF1"), QStringLiteral("Arte"), QStringLiteral("France 2")} << 2;
        QTest::newRow("empty list") << QStringList() << -1;
    }

    void okWritesTheListAndClosingOtherwiseKeepsWhatWasStored()
    {
        QFETCH(QStringList, channels);
        QFETCH(int, last);
        Fixture f;
        // A longer list stored before: its surplus entries must not survive.
        WriteFile(f.ConfigPath(),
                  "[Chaines]\r\nNbChaines=3\r\nChaine0=\"a\"\r\nChaine1=\"b\"\r\nChaine2=\"c\"\r\n"
                  "Chaine3=\"d\"\r\n[Config]\r\nOther=kept\r\n");
        {
            // Cancelled: nothing of the list changes.
            auto w = f.Window(channels);
            w->reject();
            QCOMPARE(f.Config().ReadInteger(QStringLiteral("Chaines"), QStringLiteral("NbChaines")), 3);
        }
        QStringList handed = channels;
        auto w = f.Window(handed);
        QTest::mouseClick(Find<QPushButton>(w.get(), "BitBtn1"), Qt::LeftButton);
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QStringList sorted = channels;
        sorted.sort(Qt::CaseInsensitive);
        QCOMPARE(w->Channels(), sorted);

        const IniFile config = f.Config();
        QCOMPARE(config.ReadString(QStringLiteral("Chaines"), QStringLiteral("NbChaines")),
                 QString::number(last));
        for (int i = 0; i <= last; ++i)
            QCOMPARE(config.ReadString(QStringLiteral("Chaines"), QStringLiteral("Chaine%1").arg(i)),
                     QLatin1Char('"') + sorted[i] + QLatin1Char('"'));
        QVERIFY(!config.HasKey(QStringLiteral("Chaines"), QStringLiteral("Chaine%1").arg(last + 1)));
        QVERIFY(!config.HasKey(QStringLiteral("Chaines"), QStringLiteral("Chaine3")));
        QCOMPARE(config.ReadString(QStringLiteral("Config"), QStringLiteral("Other")),
                 QStringLiteral("kept"));
        // The import page's settings and the window position are kept when it closes.
        QCOMPARE(config.ReadString(QStringLiteral("Channels"), QStringLiteral("SelectedFile")),
                 QStringLiteral("Favoris"));
        QCOMPARE(config.ReadString(QStringLiteral("Channels"), QStringLiteral("FilePath")), f.Channels());
        QVERIFY(config.HasKey(QStringLiteral("Config"), QStringLiteral("XChaines")));
    }

    void aListThatCannotBeSavedIsReportedAndTheWindowStaysOpen()
    {
        Fixture f;
        // Config.Ini that cannot be read must not be replaced by one holding only the list.
        QVERIFY(QDir().mkpath(f.ConfigPath()));
        auto w = f.Window({QStringLiteral("Arte")});
        QTest::mouseClick(Find<QPushButton>(w.get(), "BitBtn1"), Qt::LeftButton);
        QVERIFY(w->isVisible());
        QCOMPARE(w->result(), int(QDialog::Rejected));
        QCOMPARE(f.presenter.Requests().size(), 1);
        QVERIFY2(f.presenter.LastRequest().text.contains(QStringLiteral("cannot be read")),
                 qPrintable(f.presenter.LastRequest().text));
        QVERIFY(QFileInfo(f.ConfigPath()).isDir());
    }

    void preferencesPageEditsBothProfilesAndTheDefaultEntry()
    {
        Fixture f;
        TFChaines::Opening opening;
        opening.page = TFChaines::PreferencesPage;
        auto w = f.Window({QStringLiteral("TF1"), QStringLiteral("Arte")}, opening);
        auto* entries = Find<QComboBox>(w.get(), "ComboBox2");
        auto* folder = Find<QComboBox>(w.get(), "ComboBox3");
        QCOMPARE(Items(entries),
                 (QStringList{QStringLiteral("Arte"), QStringLiteral("TF1"), QStringLiteral("Par défaut")}));
        QCOMPARE(entries->currentIndex(), 2);
        QCOMPARE(folder->currentText(), ProgramDriveRoot(f.program.path()));
        QVERIFY(Find<QRadioButton>(w.get(), "RMPg")->isChecked());

        // The one-off default entry, changed, then left for Arte: question 240 answered no writes
        // the default entry only.
        Find<QRadioButton>(w.get(), "RPva")->setChecked(true);
        folder->setEditText(QStringLiteral("/rec"));
        f.presenter.ScriptNo();
        Q_EMIT entries->activated(0);
        QCOMPARE(f.presenter.Requests().size(), 1);
        QCOMPARE(f.presenter.LastRequest().number, 240);
        QCOMPARE(f.Pref(QStringLiteral("Format")), QStringLiteral(".Pva"));
        QCOMPARE(f.Pref(QStringLiteral("Folder")), QStringLiteral("/rec"));
        QCOMPARE(f.Pref(QStringLiteral("FormatArte")), QStringLiteral("<none>"));
        // Arte has none of its own: it shows the default entry.
        QVERIFY(Find<QRadioButton>(w.get(), "RPva")->isChecked());

        // Arte's own values; ticking shut-down after standby unticks standby.
        Find<QCheckBox>(w.get(), "CAddDate")->setChecked(false);
        Find<QCheckBox>(w.get(), "CCVeille")->setChecked(true);
        Find<QCheckBox>(w.get(), "CCEteindre")->setChecked(true);
        QVERIFY(!Find<QCheckBox>(w.get(), "CCVeille")->isChecked());
        Find<QComboBox>(w.get(), "Commande")->setEditText(QStringLiteral("echo [file]"));
        QTest::mouseClick(Find<QPushButton>(w.get(), "BitBtn51"), Qt::LeftButton);
        QCOMPARE(f.presenter.Requests().size(), 1); // a channel's own values ask nothing
        QCOMPARE(f.Pref(QStringLiteral("FormatArte")), QStringLiteral(".Pva"));
        QCOMPARE(f.Pref(QStringLiteral("DateArte")), QStringLiteral("0"));
        QCOMPARE(f.Pref(QStringLiteral("EteindreArte")), QStringLiteral("1"));
        QCOMPARE(f.Pref(QStringLiteral("VeilleArte")), QStringLiteral("0"));
        QCOMPARE(f.Pref(QStringLiteral("CommandArte")), QStringLiteral("echo [file]"));
        QCOMPARE(f.Pref(QStringLiteral("CommandCheckArte")), QStringLiteral("0"));
        QCOMPARE(f.Pref(QStringLiteral("FormatTF1")), QStringLiteral("<none>"));
        QCOMPARE(entries->currentIndex(), 2);

        // The repeating profile takes effect at the next choice of an entry.
        Q_EMIT Find<QComboBox>(w.get(), "ComboBox4")->activated(1);
        QVERIFY(Find<QRadioButton>(w.get(), "RPva")->isChecked());
        QTest::mouseClick(Find<QPushButton>(w.get(), "BitBtn51"), Qt::LeftButton);
        QVERIFY(Find<QRadioButton>(w.get(), "RMPg")->isChecked()); // nothing stored for it yet
        QCOMPARE(f.presenter.Requests().size(), 1);
        Find<QRadioButton>(w.get(), "RMpa")->setChecked(true);
        folder->setEditText(QStringLiteral("/rep/"));

        // "&OK" saves the pending entry; yes gives every channel the values as its own.
        f.presenter.ScriptYes();
        QTest::mouseClick(Find<QPushButton>(w.get(), "BitBtn1"), Qt::LeftButton);
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QCOMPARE(f.presenter.Requests().size(), 2);
        QCOMPARE(f.presenter.LastRequest().number, 240);
        for (const char* key : {"RepFormat", "RepFormatArte", "RepFormatTF1"})
            QCOMPARE(f.Pref(QLatin1String(key)), QStringLiteral(".Mpa"));
        QCOMPARE(f.Pref(QStringLiteral("RepFolderTF1")), QStringLiteral("/rep/"));
        // The one-off profile is untouched by the repeating one.
        QCOMPARE(f.Pref(QStringLiteral("Format")), QStringLiteral(".Pva"));
        QCOMPARE(f.Pref(QStringLiteral("FormatTF1")), QStringLiteral("<none>"));
        QCOMPARE(f.presenter.Unexpected(), 0);
    }

    void opensOnAChannelsEntryInTheProfileAsked()
    {
        Fixture f;
        WriteFile(f.PrefPath(),
                  "[Channels]\r\nRepFormatTF1=.Mpa\r\nRepFolderTF1=/tf1/\r\nFormatTF1=.Pva\r\n");
        TFChaines::Opening opening;
        opening.page = TFChaines::PreferencesPage;
        opening.channel = QStringLiteral("tf1");
        opening.profile = PreferenceProfile::Repeating;
        auto w = f.Window({QStringLiteral("Arte"), QStringLiteral("TF1")}, opening);
        QCOMPARE(Find<QComboBox>(w.get(), "ComboBox2")->currentText(), QStringLiteral("TF1"));
        QCOMPARE(Find<QComboBox>(w.get(), "ComboBox4")->currentIndex(), 1);
        QVERIFY(Find<QRadioButton>(w.get(), "RMpa")->isChecked());
        QCOMPARE(Find<QComboBox>(w.get(), "ComboBox3")->currentText(), QStringLiteral("/tf1/"));
        // Looking writes nothing and asks nothing.
        w->reject();
        QCOMPARE(f.presenter.Requests().size(), 0);
        QCOMPARE(f.Pref(QStringLiteral("RepFormatArte")), QStringLiteral("<none>"));
    }

    void folderFieldRefusesWhatNoFolderMayHold_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("starts at the root") << QStringLiteral("rec/") << QStringLiteral("/");
        QTest::newRow("no doubled separator") << QStringLiteral("/a//b") << QStringLiteral("/a/b");
        QTest::newRow("no forbidden characters") << QStringLiteral("/a?*|\"<>b") << QStringLiteral("/ab");
        QTest::newRow("no backslash") << QStringLiteral("/a\\b") << QStringLiteral("/ab");
    }

    void folderFieldRefusesWhatNoFolderMayHold()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        Fixture f;
        TFChaines::Opening opening;
        opening.page = TFChaines::PreferencesPage;
        auto w = f.Window({}, opening);
        QLineEdit* edit = Find<QComboBox>(w.get(), "ComboBox3")->lineEdit();
        edit->clear();
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), kept);
    }

    void favouritesOfTheFolderAreKeptInConfig()
    {
        Fixture f;
        QTemporaryDir recordings;
        TFChaines::Opening opening;
        opening.page = TFChaines::PreferencesPage;
        auto w = f.Window({}, opening);
        auto* folder = Find<QComboBox>(w.get(), "ComboBox3");
        folder->setEditText(recordings.path());
        QTest::mouseClick(Find<QLabel>(w.get(), "Image1"), Qt::LeftButton);
        auto* menu = Find<QMenu>(w.get(), "PopupMenu1");
        QTRY_VERIFY(menu->isVisible());
        Find<QAction>(menu, "Maj")->trigger();
        menu->hide();
        QCOMPARE(folder->currentText(), recordings.path() + QLatin1Char('/'));
        QCOMPARE(Items(folder), QStringList{recordings.path() + QLatin1Char('/')});
        // A folder that does not exist is refused.
        folder->setEditText(QStringLiteral("/no/such/folder/"));
        Find<QAction>(menu, "Maj")->trigger();
        QCOMPARE(Items(folder).size(), 1);
        w->reject();
        const IniFile config = f.Config();
        QCOMPARE(config.ReadInteger(QStringLiteral("Dossiers"), QStringLiteral("NbDossiers"), -5), 0);
        QCOMPARE(config.ReadString(QStringLiteral("Dossiers"), QStringLiteral("Dossier0")),
                 recordings.path() + QLatin1Char('/'));
    }

    void channelsWrittenByTheRealViewerAppearOnTheImportPage()
    {
        Fixture f;
        QTemporaryDir install;
        const QString exe = install.filePath(QStringLiteral("zomvara"));
        QVERIFY(QFile::copy(QStringLiteral(QUORX_ZOMVARA_PATH), exe));
        QFile(exe).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        WriteFile(install.filePath(QStringLiteral("channels/sources.ini")),
                  "[Channels]\nArte=synthetic:256\nFrance 2=none\nTV5 Monde=none\n");

        QProcess viewer;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        viewer.setProcessEnvironment(env);
        viewer.start(exe, {QStringLiteral("/Exit")});
        QVERIFY(viewer.waitForFinished(30000));
        QCOMPARE(viewer.exitCode(), 0);

        auto w = f.Window({}, TFChaines::Opening(), install.path());
        QCOMPARE(Find<QComboBox>(w.get(), "ComboBox1")->count(), 1);
        Find<QCheckBox>(w.get(), "CDossier")->setChecked(false);
        const QStringList expected{QStringLiteral("Arte"), QStringLiteral("France 2"),
                                   QStringLiteral("TV5 Monde")};
        QCOMPARE(Items(Find<QListWidget>(w.get(), "ListBox1")), expected);
        QTest::mouseClick(Find<QPushButton>(w.get(), "BitBtn3"), Qt::LeftButton);
        QTest::mouseClick(Find<QPushButton>(w.get(), "BitBtn1"), Qt::LeftButton);
        QCOMPARE(w->Channels(), expected);
        QCOMPARE(f.Config().ReadInteger(QStringLiteral("Chaines"), QStringLiteral("NbChaines")), 2);
    }
};

} // namespace quorx

QTEST_MAIN(quorx::TFChainesTest)
#include "TFChainesTest.moc"
