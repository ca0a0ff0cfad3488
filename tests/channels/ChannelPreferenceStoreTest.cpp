#include "channels/ChannelPreferenceStore.h"
#include "common/IniFile.h"
#include "schedule/TEmission.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quorx;

namespace {

class ChannelPreferenceStoreTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString Path() const { return m_dir.filePath(ChannelPreferenceStore::FileName()); }
    ChannelPreferenceStore Store() const
    {
        return ChannelPreferenceStore(Path(), QStringLiteral("/media/disk"));
    }

    void WritePrefs(const QByteArray& lines)
    {
        QFile f(Path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Channels]\r\n" + lines);
    }

    static TEmission Recording(const QString& programme, const QString& channel, std::uint8_t days = 0)
    {
        TEmission e;
        e.Programme = programme;
        e.Chaine = channel;
        e.Repetition = days;
        return e;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ChannelPreferenceStoreTest, AMissingFileGivesTheDefaultsOfEveryPreference)
{
    TEmission e = Recording(QStringLiteral("Journal"), QStringLiteral("Arte"));
    Store().ApplyTo(e);
    EXPECT_EQ(e.Fichier, QStringLiteral("/media/disk/Journal.Mpg"));
    EXPECT_TRUE(e.AjouterDate && e.AjouterHeure && e.AjouterChaine && e.Fermer);
    EXPECT_FALSE(e.Veille || e.VeillePro || e.Eteindre);
    EXPECT_TRUE(e.Commande.isEmpty());

    const ChannelPreferences shown = Store().ReadShown(PreferenceProfile::OneOff, QStringLiteral("Arte"));
    ChannelPreferences expected;
    expected.Folder = QStringLiteral("/media/disk/");
    EXPECT_EQ(shown, expected);
    EXPECT_FALSE(QFile::exists(Path()));
}

TEST_F(ChannelPreferenceStoreTest, OwnPreferencesWinAndOthersTakeTheirProfilesDefault)
{
    WritePrefs("Format=.Pva\r\nFolder=/rec/once\r\nFermer=0\r\nCommand=notify [file]\r\nCommandCheck=1\r\n"
               "RepFormat=.Mpa\r\nRepFolder=/rec/series\r\nRepDate=0\r\nRepEteindre=1\r\n"
               "FormatArte=.Mpg\r\nFolderArte=/rec/arte/\r\nTimeArte=0\r\nVeilleArte=1\r\n");

    struct Case
    {
        const char* channel;
        std::uint8_t days;
        const char* file;
        bool date, time, close, standby, shutdown;
        const char* command;
    };
    const Case cases[] = {
        {"Arte", 0, "/rec/arte/Doc.Mpg", true, false, true, true, false, ""},
        {"ARTE", 0, "/rec/arte/Doc.Mpg", true, false, true, true, false, ""}, // keys ignore case
        {"TF1", 0, "/rec/once/Doc.Pva", true, true, false, false, false, "notify [file]"},
        {"TF1", Lundi | Jeudi, "/rec/series/Doc.Mpa", false, true, true, false, true, ""},
        // Arte has no repeating preferences of its own: the repeating default entry.
        {"Arte", Samedi, "/rec/series/Doc.Mpa", false, true, true, false, true, ""},
        {"", 0, "/rec/once/Doc.Pva", true, true, false, false, false, "notify [file]"},
    };
    for (const Case& c : cases) {
        TEmission e = Recording(QStringLiteral("Doc"), QString::fromUtf8(c.channel), c.days);
        Store().ApplyTo(e);
        const std::string what = std::string(c.channel) + " days " + std::to_string(c.days);
        EXPECT_EQ(e.Fichier, QString::fromUtf8(c.file)) << what;
        EXPECT_EQ(e.AjouterDate, c.date) << what;
        EXPECT_EQ(e.AjouterHeure, c.time) << what;
        EXPECT_EQ(e.Fermer, c.close) << what;
        EXPECT_EQ(e.Veille, c.standby) << what;
        EXPECT_EQ(e.Eteindre, c.shutdown) << what;
        EXPECT_EQ(e.Commande, QString::fromUtf8(c.command)) << what;
    }
    EXPECT_TRUE(Store().HasOwn(PreferenceProfile::OneOff, QStringLiteral("arte")));
    EXPECT_FALSE(Store().HasOwn(PreferenceProfile::Repeating, QStringLiteral("Arte")));
    EXPECT_FALSE(Store().HasOwn(PreferenceProfile::OneOff, QStringLiteral("  ")));
}

TEST_F(ChannelPreferenceStoreTest, FolderWithoutADriveFallsBackToTheOneOffDefaultThenTheDriveRoot)
{
    struct Case
    {
        const char* lines;
        std::uint8_t days;
        const char* file;
    };
    const Case cases[] = {
        // The channel's own folder lacks its trailing separator: the file still goes inside it.
        {"FormatArte=.Mpg\r\nFolderArte=/rec/arte\r\n", 0, "/rec/arte/Film.Mpg"},
        {"Folder=/rec/once/\r\nFormatArte=.Mpg\r\nFolderArte=Videos\\Arte\r\n", 0, "/rec/once/Film.Mpg"},
        // For a repeating recording too, the fall-back is the one-off default folder.
        {"Folder=/rec/once\r\nRepFormat=.Mpg\r\nRepFolder=D:\\Series\r\n", Mardi, "/rec/once/Film.Mpg"},
        {"Folder=Videos\r\nFormatArte=.Mpg\r\nFolderArte=\r\n", 0, "/media/disk/Film.Mpg"},
        {"FormatArte=.Pva\r\n", 0, "/media/disk/Film.Pva"},
    };
    for (const Case& c : cases) {
        WritePrefs(c.lines);
        TEmission e = Recording(QStringLiteral("Film"), QStringLiteral("Arte"), c.days);
        Store().ApplyTo(e);
        EXPECT_EQ(e.Fichier, QString::fromUtf8(c.file)) << c.lines;
    }
}

TEST_F(ChannelPreferenceStoreTest, CommandLineOnlyWhenItsBoxIsTicked)
{
    WritePrefs("Format=.Mpg\r\nCommand=  convert [file]  \r\nCommandCheck=0\r\n"
               "FormatM6=.Mpg\r\nCommandM6=  convert [file]  \r\nCommandCheckM6=1\r\n"
               "FormatW9=.Mpg\r\nCommandW9=   \r\nCommandCheckW9=1\r\n");
    TEmission e = Recording(QStringLiteral("X"), QStringLiteral("TF1"));
    e.Commande = QStringLiteral("left over");
    Store().ApplyTo(e);
    EXPECT_EQ(e.Commande, QString());
    e = Recording(QStringLiteral("X"), QStringLiteral("M6"));
    Store().ApplyTo(e);
    EXPECT_EQ(e.Commande, QStringLiteral("convert [file]"));
    // The page shows the box ticked only when there is a command line to run.
    EXPECT_TRUE(Store().ReadShown(PreferenceProfile::OneOff, QStringLiteral("M6")).CommandCheck);
    EXPECT_FALSE(Store().ReadShown(PreferenceProfile::OneOff, QStringLiteral("W9")).CommandCheck);
}

TEST_F(ChannelPreferenceStoreTest, AProgrammeNameNeverLeadsOutOfTheFolder)
{
    TEmission e = Recording(QStringLiteral("../../etc/AC/DC: live?"), QStringLiteral("Arte"));
    Store().ApplyTo(e);
    EXPECT_EQ(e.Fichier, QStringLiteral("/media/disk/.._.._etc_AC_DC_ live_.Mpg"));
}

TEST_F(ChannelPreferenceStoreTest, WrittenEntriesReadBackUnderTheirProfileAndChannel)
{
    ChannelPreferences v;
    v.Format = QStringLiteral(".pva");
    v.Date = false;
    v.Folder = QStringLiteral("/rec/news/");
    v.Command = QStringLiteral("echo [file]");
    v.CommandCheck = true;
    v.SetPowerBox(AfterRecordingBox::VeillePro, true);
    ASSERT_TRUE(Store().WriteOwn(PreferenceProfile::Repeating, QStringLiteral("France 2"), v));

    const IniFile ini(Path());
    EXPECT_EQ(ini.ReadString(QStringLiteral("Channels"), QStringLiteral("RepFormatFrance 2")),
              QStringLiteral(".Pva"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Channels"), QStringLiteral("RepFolderFrance 2")),
              QStringLiteral("/rec/news/"));
    EXPECT_EQ(ini.Keys(QStringLiteral("Channels")).size(), 11);

    ChannelPreferences expected = v;
    expected.Format = QStringLiteral(".Pva");
    EXPECT_EQ(Store().ReadShown(PreferenceProfile::Repeating, QStringLiteral("France 2")), expected);
    EXPECT_FALSE(Store().HasOwn(PreferenceProfile::OneOff, QStringLiteral("France 2")));
    EXPECT_FALSE(Store().HasDefault(PreferenceProfile::Repeating));

    // A channel name holding "=" keeps preferences of its own across a save and a load.
    ASSERT_TRUE(Store().WriteOwn(PreferenceProfile::OneOff, QStringLiteral("A=B"), v));
    EXPECT_TRUE(Store().HasOwn(PreferenceProfile::OneOff, QStringLiteral("A=B")));
    EXPECT_FALSE(Store().HasOwn(PreferenceProfile::OneOff, QStringLiteral("A")));
    EXPECT_EQ(Store().ReadShown(PreferenceProfile::OneOff, QStringLiteral("A=B")).Folder,
              QStringLiteral("/rec/news/"));
}

TEST_F(ChannelPreferenceStoreTest, EditorDefaultsAndWhatTheEditorWritesBack)
{
    const QString current = QStringLiteral("/shown/folder/");
    EXPECT_EQ(Store().ReadEditorDefaults(PreferenceProfile::OneOff, QString(), current), std::nullopt);
    // Without any key the folder shown stays.
    EXPECT_EQ(Store().ReadEditorDefaults(PreferenceProfile::OneOff, QStringLiteral("Arte"), current)->Folder,
              current);

    ChannelPreferences first;
    first.Folder = QStringLiteral("/rec/a/");
    // No default entry yet: it is written even without "apply to all", and Arte gets its own.
    ASSERT_TRUE(Store().WriteBackFromEditor(PreferenceProfile::OneOff, QStringLiteral("Arte"), first, false));
    EXPECT_TRUE(Store().HasDefault(PreferenceProfile::OneOff));
    EXPECT_TRUE(Store().HasOwn(PreferenceProfile::OneOff, QStringLiteral("Arte")));

    ChannelPreferences second;
    second.Folder = QStringLiteral("/rec/b/");
    second.Format = QStringLiteral(".Mpa");
    ASSERT_TRUE(
        Store().WriteBackFromEditor(PreferenceProfile::OneOff, QStringLiteral("Arte"), second, false));
    // Neither the default entry nor Arte's own values change once they exist.
    EXPECT_EQ(Store().ReadShown(PreferenceProfile::OneOff, QString()).Folder, QStringLiteral("/rec/a/"));
    EXPECT_EQ(Store().ReadShown(PreferenceProfile::OneOff, QStringLiteral("Arte")).Folder,
              QStringLiteral("/rec/a/"));

    ASSERT_TRUE(Store().WriteBackFromEditor(PreferenceProfile::OneOff, QStringLiteral("TF1"), second, true));
    EXPECT_EQ(Store().ReadShown(PreferenceProfile::OneOff, QString()).Format, QStringLiteral(".Mpa"));
    EXPECT_EQ(Store().ReadShown(PreferenceProfile::OneOff, QStringLiteral("Arte")).Format,
              QStringLiteral(".Mpg"));
    EXPECT_EQ(Store().ReadEditorDefaults(PreferenceProfile::OneOff, QStringLiteral("TF1"), current)->Folder,
              QStringLiteral("/rec/b/"));
    EXPECT_FALSE(Store().HasDefault(PreferenceProfile::Repeating));
}
