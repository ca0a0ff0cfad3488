#include "common/FavouritesList.h"

#include "common/IniFile.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace quorx {
namespace {

IniFile FromText(const char* text)
{
    IniFile ini;
    ini.LoadFromBytes(QByteArray(text));
    return ini;
}

FavouritesList Folders()
{
    return FavouritesList(QStringLiteral("Dossiers"), QStringLiteral("NbDossiers"),
                          QStringLiteral("Dossier"));
}

TEST(FavouritesListTest, LoadSkipsEmptyAndRepeatedEntries)
{
    const IniFile ini = FromText("[Dossiers]\nNbDossiers=4\nDossier0=/video/\nDossier1=\nDossier2=/Films/\n"
                                 "Dossier3=/films/\nDossier4=/séries/\nDossier5=/beyond the count/\n");
    FavouritesList folders = Folders();
    folders.Load(ini);
    EXPECT_EQ(folders.Entries(), (QStringList{QStringLiteral("/video/"), QStringLiteral("/Films/"),
                                              QStringLiteral("/séries/")}));

    const struct
    {
        const char* text;
        int count;
    } cases[] = {
        {"[Dossiers]\nDossier0=/a/\n", 0},                        // no count key
        {"[Dossiers]\nNbDossiers=-1\nDossier0=/a/\n", 0},         // an empty list
        {"[Dossiers]\nNbDossiers=abc\nDossier0=/a/\n", 0},        // an unreadable count
        {"[Dossiers]\nNbDossiers=5\nDossier0=/a/\n", 1},          // keys missing after the first
        {"[Dossiers]\nNbDossiers=2147483647\nDossier0=/a/\n", 1}, // a damaged count
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        FavouritesList list = Folders();
        list.Load(FromText(c.text));
        EXPECT_EQ(list.Count(), c.count);
    }
}

TEST(FavouritesListTest, AddMovesToTheEndAndRefusesAFullList)
{
    FavouritesList list = Folders();
    EXPECT_EQ(list.Add(QStringLiteral("/a/")), FavouritesList::AddResult::Added);
    EXPECT_EQ(list.Add(QStringLiteral("/b/")), FavouritesList::AddResult::Added);
    EXPECT_EQ(list.Add(QStringLiteral("/A/")), FavouritesList::AddResult::Added);
    EXPECT_EQ(list.Entries(), (QStringList{QStringLiteral("/b/"), QStringLiteral("/A/")}));
    EXPECT_EQ(list.Add(QString()), FavouritesList::AddResult::Ignored);
    EXPECT_EQ(list.Count(), 2);

    EXPECT_TRUE(list.Contains(QStringLiteral("/a/")));
    EXPECT_FALSE(list.ContainsExactly(QStringLiteral("/a/")));
    EXPECT_TRUE(list.ContainsExactly(QStringLiteral("/A/")));
    EXPECT_EQ(list.IndexOf(QStringLiteral("/B/")), 0);

    EXPECT_TRUE(list.Remove(QStringLiteral("/B/")));
    EXPECT_FALSE(list.Remove(QStringLiteral("/b/")));
    EXPECT_EQ(list.Entries(), QStringList{QStringLiteral("/A/")});

    list.Clear();
    for (int i = 0; i < FavouritesList::kMaxEntries - 1; ++i)
        ASSERT_EQ(list.Add(QStringLiteral("/f%1/").arg(i)), FavouritesList::AddResult::Added);
    EXPECT_FALSE(list.IsFull());
    EXPECT_EQ(list.Add(QStringLiteral("/last/")), FavouritesList::AddResult::Added);
    EXPECT_TRUE(list.IsFull());
    EXPECT_EQ(list.Add(QStringLiteral("/one more/")), FavouritesList::AddResult::Full);
    EXPECT_EQ(list.Count(), 513);
    EXPECT_FALSE(list.Contains(QStringLiteral("/one more/")));
    EXPECT_EQ(list.Entries().last(), QStringLiteral("/last/"));
}

TEST(FavouritesListTest, SaveRewritesItsOwnKeysOnly)
{
    // The mail window keeps two lists and other keys in one section.
    IniFile ini = FromText("[Config]\nXEmail=10\nEMailEmailNb=2\nEMailEmail0=a@x.org\nEMailEmail1=b@x.org\n"
                           "EMailEmail2=c@x.org\nEMailEmailsNb=0\nEMailEMails0=r@x.org\nEMailEmail07=odd\n");
    FavouritesList addresses(QStringLiteral("Config"), QStringLiteral("EMailEmailNb"),
                             QStringLiteral("EMailEmail"));
    addresses.Load(ini);
    ASSERT_EQ(addresses.Count(), 3);
    ASSERT_TRUE(addresses.Remove(QStringLiteral("A@X.ORG")));
    ASSERT_TRUE(addresses.Remove(QStringLiteral("c@x.org")));
    addresses.Save(ini);

    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Config"), QStringLiteral("EMailEmailNb")), 0);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Config"), QStringLiteral("EMailEmail0")),
              QStringLiteral("b@x.org"));
    EXPECT_FALSE(ini.HasKey(QStringLiteral("Config"), QStringLiteral("EMailEmail1")));
    EXPECT_FALSE(ini.HasKey(QStringLiteral("Config"), QStringLiteral("EMailEmail2")));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Config"), QStringLiteral("EMailEMails0")),
              QStringLiteral("r@x.org"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Config"), QStringLiteral("EMailEmailsNb"), -5), 0);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Config"), QStringLiteral("XEmail")), 10);
    EXPECT_TRUE(ini.HasKey(QStringLiteral("Config"), QStringLiteral("EMailEmail07")));

    addresses.Clear();
    addresses.Save(ini);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Config"), QStringLiteral("EMailEmailNb")), -1);
    EXPECT_FALSE(ini.HasKey(QStringLiteral("Config"), QStringLiteral("EMailEmail0")));
}

TEST(FavouritesListTest, EntriesSurviveAFileRoundTrip)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Config.Ini"));
    const QStringList names{QStringLiteral("France 2"), QStringLiteral(" Arte "),
                            QStringLiteral("\"Quoted\""), QStringLiteral("Chaîne = 5")};
    FavouritesList channels(QStringLiteral("Chaines"), QStringLiteral("NbChaines"), QStringLiteral("Chaine"),
                            true);
    FavouritesList commands(QStringLiteral("Commandes"), QStringLiteral("NbCommandes"),
                            QStringLiteral("Commande"));
    for (const QString& n : names) {
        channels.Add(n);
        commands.Add(n);
    }
    IniFile ini(path);
    channels.Save(ini);
    commands.Save(ini);
    ASSERT_TRUE(ini.Save());

    const IniFile back(path);
    // Channel names are stored between double quotes, as other readers of the list expect.
    EXPECT_EQ(back.ReadString(QStringLiteral("Chaines"), QStringLiteral("Chaine0")),
              QStringLiteral("\"France 2\""));
    FavouritesList channelsBack(QStringLiteral("Chaines"), QStringLiteral("NbChaines"),
                                QStringLiteral("Chaine"), true);
    FavouritesList commandsBack(QStringLiteral("Commandes"), QStringLiteral("NbCommandes"),
                                QStringLiteral("Commande"));
    channelsBack.Load(back);
    commandsBack.Load(back);
    EXPECT_EQ(channelsBack.Entries(), names);
    EXPECT_EQ(commandsBack.Entries(), names);

    // A channel list written on Windows: one pair of quotes comes off.
    FavouritesList fromWindows(QStringLiteral("Chaines"), QStringLiteral("NbChaines"),
                               QStringLiteral("Chaine"), true);
    fromWindows.Load(FromText("[Chaines]\r\nNbChaines=1\r\nChaine0=\"TF1\"\r\nChaine1=\"\"\r\n"));
    EXPECT_EQ(fromWindows.Entries(), QStringList{QStringLiteral("TF1")});
}

} // namespace
} // namespace quorx
