#include "channels/ChannelPreferencesPage.h"
#include "common/FavouritesList.h"
#include "common/IniFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quorx;

namespace {

class ChannelPreferencesPageTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString Path() const { return m_dir.filePath(ChannelPreferenceStore::FileName()); }
    IniFile File() const { return IniFile(Path()); }
    bool Has(const QString& key) const { return File().HasKey(QStringLiteral("Channels"), key); }
    QString Value(const QString& key) const { return File().ReadString(QStringLiteral("Channels"), key); }

    // The page, answering question 240 with the given answer and counting how often it is asked.
    ChannelPreferencesPage Page(bool answer)
    {
        return ChannelPreferencesPage(m_store, [this, answer](const ChannelQuestion& q) {
            m_asked.append(q.number);
            EXPECT_EQ(q.text,
                      QStringLiteral("Voulez-vous réinitialiser toutes les chaînes avec les paramètres "
                                     "par défaut indiqués ?"));
            EXPECT_FALSE(q.defaultAnswer);
            EXPECT_TRUE(q.offerBox);
            return answer;
        });
    }

    const QStringList m_channels{QStringLiteral("Arte"), QStringLiteral("TF1")};
    QTemporaryDir m_dir;
    ChannelPreferenceStore m_store{m_dir.filePath(ChannelPreferenceStore::FileName()),
                                   QStringLiteral("/media/disk/")};
    QVector<int> m_asked;
};

} // namespace

TEST_F(ChannelPreferencesPageTest, EnteringShowsTheDefaultEntryAfterTheChannels)
{
    ChannelPreferencesPage page = Page(false);
    page.Enter(m_channels);
    EXPECT_EQ(page.Entries(),
              (QStringList{QStringLiteral("Arte"), QStringLiteral("TF1"), QStringLiteral("Par défaut")}));
    EXPECT_EQ(page.CurrentIndex(), 2);
    EXPECT_EQ(page.Shown().Folder, QStringLiteral("/media/disk/"));
}

TEST_F(ChannelPreferencesPageTest, SavingTheDefaultEntryAndAnsweringNoGivesNoChannelItsOwn)
{
    ChannelPreferencesPage page = Page(false);
    page.Enter(m_channels);
    page.Shown().Folder = QStringLiteral("/rec/");
    ASSERT_TRUE(page.ChooseEntry(0));
    EXPECT_EQ(m_asked, QVector<int>{240});
    EXPECT_EQ(Value(QStringLiteral("Folder")), QStringLiteral("/rec/"));
    EXPECT_FALSE(Has(QStringLiteral("FormatArte")));
    EXPECT_FALSE(Has(QStringLiteral("FormatTF1")));
    // Arte now shows the default entry's values.
    EXPECT_EQ(page.Shown().Folder, QStringLiteral("/rec/"));
}

TEST_F(ChannelPreferencesPageTest, AnsweringYesGivesEveryChannelTheShownValuesAndKeepsThemAsDefault)
{
    ASSERT_TRUE(m_store.WriteOwn(PreferenceProfile::OneOff, QStringLiteral("Arte"), ChannelPreferences()));
    ChannelPreferencesPage page = Page(true);
    page.Enter(m_channels);
    page.Shown().Format = QStringLiteral(".Pva");
    page.Shown().SetPowerBox(AfterRecordingBox::Eteindre, true);
    ASSERT_TRUE(page.Commit());
    for (const QString& suffix : {QString(), QStringLiteral("Arte"), QStringLiteral("TF1")}) {
        EXPECT_EQ(Value(QStringLiteral("Format") + suffix), QStringLiteral(".Pva")) << suffix.toStdString();
        EXPECT_EQ(Value(QStringLiteral("Eteindre") + suffix), QStringLiteral("1")) << suffix.toStdString();
    }
    EXPECT_FALSE(Has(QStringLiteral("FormatPar défaut")));
}

TEST_F(ChannelPreferencesPageTest, AChangedChannelGetsItsOwnUnderTheProfileChosenWithIt)
{
    ChannelPreferencesPage page = Page(false);
    page.Enter(m_channels);
    page.SetProfile(PreferenceProfile::Repeating); // takes effect at the next choice
    EXPECT_EQ(page.ShownProfile(), PreferenceProfile::OneOff);
    page.ChooseEntry(1);
    EXPECT_EQ(page.ShownProfile(), PreferenceProfile::Repeating);
    page.Shown().Date = false;
    page.SetProfile(PreferenceProfile::OneOff);
    ASSERT_TRUE(page.ChooseEntry(0));
    EXPECT_TRUE(Has(QStringLiteral("RepFormatTF1")));
    EXPECT_EQ(Value(QStringLiteral("RepDateTF1")), QStringLiteral("0"));
    EXPECT_FALSE(Has(QStringLiteral("FormatTF1")));
    EXPECT_TRUE(m_asked.isEmpty());
}

TEST_F(ChannelPreferencesPageTest, LookingAtEntriesWritesNothingOnceTheDefaultExists)
{
    ChannelPreferences defaults;
    defaults.Folder = QStringLiteral("/rec/");
    ASSERT_TRUE(m_store.WriteDefault(PreferenceProfile::OneOff, defaults));
    ChannelPreferencesPage page = Page(false);
    page.Enter(m_channels);
    page.ChooseEntry(0);
    page.ChooseEntry(1);
    page.ChooseDefaultEntry();
    page.Enter(m_channels);
    ASSERT_TRUE(page.Commit());
    EXPECT_TRUE(m_asked.isEmpty());
    EXPECT_FALSE(Has(QStringLiteral("FormatArte")));
    EXPECT_FALSE(Has(QStringLiteral("FormatTF1")));

    // A default entry that was never stored is written when confirmed with "&OK", even unchanged,
    // so that the recording editor stops asking for one.
    ChannelPreferencesPage second = Page(false);
    second.SetProfile(PreferenceProfile::Repeating);
    second.Enter(m_channels);
    ASSERT_TRUE(second.Commit());
    EXPECT_TRUE(Has(QStringLiteral("RepFormat")));
    EXPECT_EQ(m_asked, QVector<int>{240});
}

TEST_F(ChannelPreferencesPageTest, ReEnteringKeepsTheChannelChosenBefore)
{
    ChannelPreferencesPage page = Page(false);
    page.Enter(m_channels);
    page.ChooseEntry(1);
    page.Enter({QStringLiteral("M6"), QStringLiteral("tf1")});
    EXPECT_EQ(page.CurrentIndex(), 1);
    page.Enter({QStringLiteral("M6")});
    EXPECT_EQ(page.CurrentIndex(), page.DefaultEntryIndex());
}

TEST_F(ChannelPreferencesPageTest, AutoFavouritesAddTheFolderAndCommandWhenSaving)
{
    FavouritesList folders(QStringLiteral("Dossiers"), QStringLiteral("NbDossiers"),
                           QStringLiteral("Dossier"));
    FavouritesList commands(QStringLiteral("Commandes"), QStringLiteral("NbCommandes"),
                            QStringLiteral("Commande"));
    folders.Add(QStringLiteral("/REC/A/"));
    ChannelPreferencesPage page = Page(false);
    page.SetFavourites(&folders, &commands, true);
    page.Enter(m_channels);
    page.ChooseEntry(0);
    page.Shown().Folder = QStringLiteral("/rec/a/");
    page.Shown().Command = QStringLiteral("notify [file]");
    ASSERT_TRUE(page.ChooseEntry(1));
    EXPECT_EQ(folders.Entries(), QStringList{QStringLiteral("/REC/A/")});
    EXPECT_EQ(commands.Entries(), QStringList{QStringLiteral("notify [file]")});
}

TEST(ChannelPreferences, TickingOnePowerBoxUnticksTheOthers)
{
    ChannelPreferences p;
    p.SetPowerBox(AfterRecordingBox::Veille, true);
    p.SetPowerBox(AfterRecordingBox::VeillePro, true);
    EXPECT_EQ(p.Power(), AfterRecordingBox::VeillePro);
    p.SetPowerBox(AfterRecordingBox::Eteindre, true);
    EXPECT_FALSE(p.Veille || p.VeillePro);
    EXPECT_TRUE(p.Eteindre);
    p.SetPowerBox(AfterRecordingBox::Eteindre, false);
    EXPECT_EQ(p.Power(), AfterRecordingBox::None);
}

TEST_F(ChannelPreferencesPageTest, FavouritesMenuAddsAnExistingFolderWithItsSeparatorAndRefusesAFullList)
{
    FavouritesList folders(QStringLiteral("Dossiers"), QStringLiteral("NbDossiers"),
                           QStringLiteral("Dossier"));
    FavouritesList commands(QStringLiteral("Commandes"), QStringLiteral("NbCommandes"),
                            QStringLiteral("Commande"));
    ChannelPreferencesPage page = Page(false);
    page.SetFavourites(&folders, &commands, false);
    page.Enter(m_channels);

    page.Shown().Folder = m_dir.filePath(QStringLiteral("missing"));
    EXPECT_EQ(page.AddShownFolderToFavourites(), ChannelPreferencesPage::FavouriteResult::Refused);
    page.Shown().Folder = m_dir.path();
    EXPECT_EQ(page.AddShownFolderToFavourites(), ChannelPreferencesPage::FavouriteResult::Added);
    EXPECT_EQ(folders.Entries(), QStringList{m_dir.path() + QLatin1Char('/')});
    EXPECT_EQ(page.Shown().Folder, m_dir.path() + QLatin1Char('/'));

    for (int i = 0; i < FavouritesList::kMaxEntries; ++i)
        commands.Add(QStringLiteral("cmd %1").arg(i));
    page.Shown().Command = QStringLiteral("one more");
    EXPECT_EQ(page.AddShownCommandToFavourites(), ChannelPreferencesPage::FavouriteResult::Full);
    EXPECT_TRUE(ChannelPreferencesPage::FullListMessage().startsWith(QStringLiteral("Impossible d'ajouter")));
    EXPECT_FALSE(commands.Contains(QStringLiteral("one more")));
}
