#include "schedule/SettingsStore.h"
#include "common/IniFile.h"
#include "schedule/Settings.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quorx;

namespace {

IniFile IniOf(const QByteArray& text)
{
    IniFile ini;
    ini.LoadFromBytes(text);
    return ini;
}

Settings Loaded(const IniFile& ini)
{
    Settings s;
    SettingsStore::Load(ini, s);
    return s;
}

QString Value(const IniFile& ini, const char* key, const char* section = "Config")
{
    return ini.ReadString(QString::fromLatin1(section), QString::fromLatin1(key),
                          QStringLiteral("<missing>"));
}

} // namespace

TEST(SettingsStore, MissingFileStartsWithTheDocumentedDefaults)
{
    QTemporaryDir dir;
    const IniFile ini(SettingsStore::FilePath(dir.path()));
    EXPECT_FALSE(ini.Exists());
    const Settings s = Loaded(ini);
    EXPECT_TRUE(s.DelaiDeb.IsZero());
    EXPECT_TRUE(s.DelaiFin.IsZero());
    EXPECT_EQ(s.DelaiArret.TotalSeconds(), 15 * 60);
    EXPECT_EQ(s.DelaiAtt, 15);
    EXPECT_TRUE(s.Actif);
    EXPECT_TRUE(s.DetectRecordingErrors);
    EXPECT_EQ(s.Couleur, -16777188);
    EXPECT_EQ(s.NoSoundStart, DateTime::FromTime(22, 0));
    EXPECT_EQ(s.TailleFonte, 8);
    EXPECT_EQ(SettingsStore::EffectiveStartState(s), SettingsStore::WindowStartState::Normal);

    // And every key written from these defaults reads back as the same values.
    IniFile written;
    SettingsStore::Save(written, s);
    EXPECT_EQ(Value(written, "Couleur"), QStringLiteral("-16777188"));
    EXPECT_EQ(Value(written, "DelaiArret"), QStringLiteral("00:15"));
    EXPECT_EQ(Value(written, "DelaiDeb"), QStringLiteral("00:00:00"));
    IniFile again;
    SettingsStore::Save(again, Loaded(written));
    EXPECT_EQ(again.ToBytes(), written.ToBytes());
}

TEST(SettingsStore, MarginsKeepTheirSecondsThroughAWriteAndARead)
{
    Settings s;
    s.DelaiDeb = DateTime::FromTime(0, 2, 30);
    s.DelaiFin = DateTime::FromTime(0, 5, 15);
    s.DelaiArret = DateTime::FromTime(0, 20);
    IniFile ini;
    SettingsStore::Save(ini, s);
    EXPECT_EQ(Value(ini, "DelaiDeb"), QStringLiteral("00:02:30"));
    EXPECT_EQ(Value(ini, "DelaiArret"), QStringLiteral("00:20"));

    IniFile reread;
    reread.LoadFromBytes(ini.ToBytes());
    Settings back;
    SettingsStore::LoadGroupOne(reread, back);
    EXPECT_EQ(back.DelaiDeb.TotalSeconds(), 150);
    EXPECT_EQ(back.DelaiFin.TotalSeconds(), 315);
    EXPECT_EQ(back.DelaiArret.TotalSeconds(), 1200);
}

TEST(SettingsStore, EveryKeyReadsBackWhatWasWrittenIntoItsOwnMember)
{
    // A value other than the default for each key, different from key to key where the type allows.
    Settings s;
    int i = 0;
    for (const SettingsStore::Key& k : SettingsStore::Keys()) {
        ++i;
        Settings one;
        IniFile ini;
        switch (k.encoding) {
        case SettingsStore::Encoding::Bool: {
            IniFile defaults;
            SettingsStore::WriteKey(defaults, k, Settings());
            const bool def = defaults.ReadBool(k.section, k.name);
            ini.WriteBool(k.section, k.name, !def);
            break;
        }
        case SettingsStore::Encoding::Integer:
        case SettingsStore::Encoding::Colour:
            ini.WriteInteger(k.section, k.name, 1000 + i);
            break;
        case SettingsStore::Encoding::SignedByte:
            ini.WriteInteger(k.section, k.name, i % 100 + 1);
            break;
        case SettingsStore::Encoding::WindowState:
            ini.WriteInteger(k.section, k.name, 2);
            break;
        case SettingsStore::Encoding::Time:
            ini.WriteString(k.section, k.name, DateTime::FromTime(1, i % 60).TimeText());
            break;
        case SettingsStore::Encoding::Margin:
            ini.WriteString(k.section, k.name, DateTime::FromTime(0, 1, i % 60).TimeTextWithSeconds());
            break;
        case SettingsStore::Encoding::Text:
            ini.WriteString(k.section, k.name, QStringLiteral("texte %1").arg(i));
            break;
        }
        // Reading this one key changes its member, and writing every key back shows it in this key only.
        SettingsStore::Load(ini, one);
        IniFile written;
        SettingsStore::Save(written, one);
        IniFile defaults;
        SettingsStore::Save(defaults, Settings());
        for (const SettingsStore::Key& other : SettingsStore::Keys()) {
            const bool same = written.ReadString(other.section, other.name) ==
                              defaults.ReadString(other.section, other.name);
            if (&other == &k) {
                EXPECT_FALSE(same) << k.name.data() << " was not read into its member";
                EXPECT_EQ(written.ReadString(k.section, k.name), ini.ReadString(k.section, k.name))
                    << k.name.data();
            } else {
                EXPECT_TRUE(same) << k.name.data() << " also changed " << other.name.data();
            }
        }
    }
}

TEST(SettingsStore, GroupsAreReadSeparately)
{
    const IniFile ini = IniOf("[Config]\nDelaiDeb=00:01:00\nChannelWaitRec=1\nLangue=English\nMajuscules=0\n"
                              "[XMLTV]\nJournalError=1\n");
    Settings s;
    SettingsStore::LoadGroupOne(ini, s);
    EXPECT_EQ(s.DelaiDeb.TotalSeconds(), 60);
    EXPECT_FALSE(s.ChannelWaitRec);
    EXPECT_TRUE(s.Langue.isEmpty());
    EXPECT_TRUE(s.Majuscules);
    SettingsStore::LoadGroupTwo(ini, s);
    EXPECT_TRUE(s.ChannelWaitRec);
    EXPECT_EQ(s.JournalError, 1);
    EXPECT_EQ(s.Langue, QStringLiteral("English"));
    EXPECT_TRUE(s.Majuscules);
    SettingsStore::LoadGroupThree(ini, s);
    EXPECT_FALSE(s.Majuscules);
}

TEST(SettingsStore, SortAndDisplayModeAreSignedBytesWithoutNegatives)
{
    struct Case
    {
        const char* text;
        int value;
    };
    const Case cases[] = {{"-3", 0}, {"4", 4}, {"127", 127}, {"200", 0}, {"258", 2}, {"abc", 0}};
    for (const Case& c : cases) {
        const Settings s =
            Loaded(IniOf(QByteArray("[Config]\nTri=") + c.text + "\nAfficher=" + c.text + "\n"));
        EXPECT_EQ(s.Tri, c.value) << c.text;
        EXPECT_EQ(s.Afficher, c.value) << c.text;
    }
}

TEST(SettingsStore, StartStateComesFromEtatListeAndMinimized)
{
    using W = SettingsStore::WindowStartState;
    struct Case
    {
        const char* keys;
        int etatListe;
        W state;
    };
    const Case cases[] = {
        {"EtatListe=0\n", 0, W::Normal},
        {"EtatListe=1\n", 0, W::Normal},
        {"EtatListe=2\n", 2, W::Maximised},
        {"EtatListe=1\nMinimized=1\n", 0, W::Minimised},
        {"EtatListe=2\nMinimized=1\n", 2, W::Minimised},
    };
    for (const Case& c : cases) {
        const Settings s = Loaded(IniOf(QByteArray("[Config]\n") + c.keys));
        EXPECT_EQ(s.EtatListe, c.etatListe) << c.keys;
        EXPECT_EQ(SettingsStore::EffectiveStartState(s), c.state) << c.keys;
    }
}

TEST(SettingsStore, UnreadableValuesGiveTheDefaults)
{
    const Settings s = Loaded(IniOf("[Config]\nDelaiAtt=quinze\nDelaiArret=bientot\nDelaiDeb=25:00:00\n"
                                    "Actif=oui\nDetectRecordingErrors=\nTotalGo=12.5\nCouleur=rouge\n"
                                    "NoSoundStart=22h\n"));
    const Settings d;
    EXPECT_EQ(s.DelaiAtt, 15);
    EXPECT_EQ(s.DelaiArret.TotalSeconds(), 900);
    EXPECT_TRUE(s.DelaiDeb.IsZero());
    EXPECT_TRUE(s.Actif);
    EXPECT_TRUE(s.DetectRecordingErrors);
    EXPECT_EQ(s.TotalGo, 0);
    EXPECT_EQ(s.Couleur, d.Couleur);
    EXPECT_EQ(s.NoSoundStart, d.NoSoundStart);
}

TEST(SettingsStore, ColourIsReadInAnyFormAndWrittenAsSignedDecimal)
{
    for (const char* text : {"$FF00001C", "0xFF00001C", "4278190108", "-16777188"}) {
        const Settings s = Loaded(IniOf(QByteArray("[Config]\nCouleur=") + text + "\n"));
        EXPECT_EQ(s.Couleur, -16777188) << text;
        IniFile out;
        SettingsStore::Save(out, s);
        EXPECT_EQ(Value(out, "Couleur"), QStringLiteral("-16777188"));
    }
}

TEST(SettingsStore, ViewerFolderFoundOnDiskStaysWhenTheKeyIsMissing)
{
    Settings s;
    s.CheminZomvara = QStringLiteral("/opt/zomvara/");
    SettingsStore::LoadGroupThree(IniOf("[Config]\nTri=1\n"), s);
    EXPECT_EQ(s.CheminZomvara, QStringLiteral("/opt/zomvara/"));
    SettingsStore::LoadGroupThree(IniOf("[Config]\nCheminZomvara=/srv/viewer/\n"), s);
    EXPECT_EQ(s.CheminZomvara, QStringLiteral("/srv/viewer/"));
}

TEST(SettingsStore, ExitWritesOnlyTheMainWindowKeysInItsOrder)
{
    Settings s;
    s.EtatListe = 2;
    s.Tri = 3;
    s.DelaiDeb = DateTime::FromTime(0, 1);
    for (const bool minimised : {false, true}) {
        IniFile ini = IniOf("[Config]\nDelaiDeb=00:05:00\nLangue=Deutsch\n");
        SettingsStore::WriteAtExit(ini, s, minimised);
        EXPECT_EQ(ini.Keys(QStringLiteral("Config")), (QStringList{QStringLiteral("DelaiDeb"),
                                                                   QStringLiteral("Langue"),
                                                                   QStringLiteral("TotalGo"),
                                                                   QStringLiteral("AutoForbidSuspend"),
                                                                   QStringLiteral("Colonne0"),
                                                                   QStringLiteral("Colonne1"),
                                                                   QStringLiteral("Colonne2"),
                                                                   QStringLiteral("Colonne3"),
                                                                   QStringLiteral("Colonne4"),
                                                                   QStringLiteral("ColonnesTotal"),
                                                                   QStringLiteral("Tri"),
                                                                   QStringLiteral("Afficher"),
                                                                   QStringLiteral("XListe"),
                                                                   QStringLiteral("YListe"),
                                                                   QStringLiteral("XXListe"),
                                                                   QStringLiteral("YYListe"),
                                                                   QStringLiteral("EtatListe"),
                                                                   QStringLiteral("DelaiFermeture"),
                                                                   QStringLiteral("InterdireDebut"),
                                                                   QStringLiteral("InterdireFin"),
                                                                   QStringLiteral("Interdire"),
                                                                   QStringLiteral("InterdireToujours"),
                                                                   QStringLiteral("Actif"),
                                                                   QStringLiteral("TailleFonte")}));
        EXPECT_EQ(
            ini.Keys(QStringLiteral("XMLTV")),
            (QStringList{QStringLiteral("HideDisabledPrograms"), QStringLiteral("AlwaysShowRecordingProgram"),
                         QStringLiteral("AlwaysShowNextProgram"), QStringLiteral("AlwaysShowErrorProgram"),
                         QStringLiteral("JournalError")}));
        // The preferences' keys are the preferences window's to write.
        EXPECT_EQ(Value(ini, "DelaiDeb"), QStringLiteral("00:05:00"));
        EXPECT_EQ(Value(ini, "Langue"), QStringLiteral("Deutsch"));
        EXPECT_EQ(Value(ini, "Tri"), QStringLiteral("3"));
        EXPECT_EQ(Value(ini, "EtatListe"), minimised ? QStringLiteral("1") : QStringLiteral("2"));
    }
}
