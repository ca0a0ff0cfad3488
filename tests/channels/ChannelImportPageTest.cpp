#include "ViewerFileBuilder.h"

#include "channels/ChannelImportPage.h"
#include "common/IniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quorx;
using namespace quorx::test;

namespace {

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A viewer folder with a channels folder holding a favourites list "Favoris" (group Films
// referring to Arte, and to Arte a second time), a non-favourites list "Tout" and the database.
class ChannelImportPageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_viewer.isValid());
        const QVector<TTree> channels = {Ref(1, 10, 11, 0, 0, 12, 5, QStringLiteral("Arte")),
                                         Ref(1, 20, 21, 0, 0, 22, 6, QStringLiteral("TF1")),
                                         Ref(1, 30, 31, 0, 0, 32, 7, QStringLiteral("France 2"))};
        WriteFile(Channels() + QStringLiteral("/channels.dat"), Dat113(113, channels));
        WriteFile(Channels() + QStringLiteral("/Favourites.tree"),
                  Tree105(105, "Favoris", true,
                          {Group{"Films", {Ref(1, 10, 11, 0, 0, 12, 0), Ref(0, 10, 11, 0, 0, 12, 5)}}}));
        WriteFile(Channels() + QStringLiteral("/All.tree"),
                  Tree104("Tout", false,
                          {Group{"TNT", {Ref(0, 20, 21, 0, 0, 22, 0), Ref(0, 30, 31, 0, 0, 32, 0)}}}));
    }

    QString Channels() const { return m_viewer.filePath(QStringLiteral("channels")); }

    QTemporaryDir m_viewer;
};

} // namespace

TEST_F(ChannelImportPageTest, AFavouritesGroupShowsItsFolderAndAddsTheChannelAlone)
{
    ChannelImportPage page;
    ChannelImportPage::Settings settings;
    page.Open(settings, m_viewer.path());
    EXPECT_EQ(page.Folder(), Channels());
    EXPECT_EQ(page.Choices().items, QStringList{QStringLiteral("Favoris")});
    EXPECT_EQ(page.Available().Names(), QStringList{QStringLiteral("Films     Arte")});

    EXPECT_EQ(page.AddAll(), 1);
    EXPECT_EQ(page.Chosen().Names(), QStringList{QStringLiteral("Arte")});
    EXPECT_EQ(page.AddEntries({QStringLiteral("Films     ARTE")}), 0); // already there

    page.SetShowFolders(false);
    EXPECT_EQ(page.Available().Names(), QStringList{QStringLiteral("Arte")});
}

TEST_F(ChannelImportPageTest, FavouritesOnlyAndTheRememberedList)
{
    ChannelImportPage page;
    ChannelImportPage::Settings settings;
    settings.favoritesOnly = false;
    settings.showFolders = false;
    settings.selectedFile = QStringLiteral("Tout");
    page.Open(settings, m_viewer.path());
    EXPECT_EQ(page.Choices().items, (QStringList{QStringLiteral("Favoris"), QStringLiteral("Tout")}));
    EXPECT_EQ(page.SelectedItemText(), QStringLiteral("Tout"));
    EXPECT_EQ(page.Available().Names(), (QStringList{QStringLiteral("France 2"), QStringLiteral("TF1")}));

    // Showing only favourites lists catalogues again; the chosen list is gone, so the first
    // favourites list is read.
    page.SetFavoritesOnly(true);
    EXPECT_EQ(page.SelectedItemText(), QStringLiteral("Favoris"));
    EXPECT_EQ(page.Available().Names(), QStringList{QStringLiteral("Arte")});

    const ChannelImportPage::Settings out = page.CurrentSettings();
    EXPECT_EQ(out.filePath, Channels());
    EXPECT_EQ(out.selectedFile, QStringLiteral("Favoris"));
    EXPECT_TRUE(out.favoritesOnly);
    EXPECT_FALSE(out.showFolders);

    IniFile config;
    out.Save(config);
    EXPECT_EQ(ChannelImportPage::Settings::Load(config).selectedFile, QStringLiteral("Favoris"));
    EXPECT_FALSE(ChannelImportPage::Settings::Load(config).showFolders);
    // Nothing stored: favourites only and folder names shown.
    const ChannelImportPage::Settings none = ChannelImportPage::Settings::Load(IniFile());
    EXPECT_TRUE(none.favoritesOnly && none.showFolders);
}

TEST_F(ChannelImportPageTest, ChoosingAFileCataloguesItsFolder)
{
    QTemporaryDir other;
    ASSERT_TRUE(other.isValid());
    WriteFile(other.filePath(QStringLiteral("Mine.Tree")),
              Tree105(107, "Mine", true, {Group{"Info", {Ref(0, 20, 21, 0, 0, 22, 0)}}}));
    WriteFile(other.filePath(QStringLiteral("CHANNELS.DAT")),
              Dat112({Ref(0, 20, 21, 0, 0, 22, 0, QStringLiteral("TF1"))}));
    ChannelImportPage page;
    page.Open(ChannelImportPage::Settings(), m_viewer.path());
    page.ChooseFile(other.filePath(QStringLiteral("Mine.Tree")));
    EXPECT_EQ(page.Folder(), other.path());
    EXPECT_EQ(page.SelectedItemText(), QStringLiteral("Mine"));
    EXPECT_EQ(page.Available().Names(), QStringList{QStringLiteral("Info     TF1")});
}

TEST_F(ChannelImportPageTest, TypedNamesAndRemovals)
{
    ChannelImportPage page;
    EXPECT_TRUE(page.AddTyped(QStringLiteral("  M6 ")));
    EXPECT_FALSE(page.AddTyped(QStringLiteral("m6")));
    EXPECT_FALSE(page.AddTyped(QStringLiteral("   ")));
    EXPECT_TRUE(page.AddTyped(QStringLiteral("Arte")));
    EXPECT_EQ(page.Chosen().Names(), (QStringList{QStringLiteral("Arte"), QStringLiteral("M6")}));
    EXPECT_EQ(page.Remove({QStringLiteral("M6"), QStringLiteral("W9")}), 1);
    page.RemoveAll();
    EXPECT_TRUE(page.Chosen().IsEmpty());
}

TEST_F(ChannelImportPageTest, FolderFallsBackToTheViewersOwnSettingThenItsChannelsFolder)
{
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    // The configured folder wins when it exists.
    EXPECT_EQ(ChannelImportPage::ResolveFolder(elsewhere.path(), m_viewer.path()), elsewhere.path());
    // A configured folder that is gone: the viewer's channels folder, found in any letter case.
    QDir(m_viewer.path()).rename(QStringLiteral("channels"), QStringLiteral("Channels"));
    EXPECT_EQ(ChannelImportPage::ResolveFolder(QStringLiteral("/gone"), m_viewer.path()),
              m_viewer.filePath(QStringLiteral("Channels")));
    // Without a channels folder, the viewer's own Config.Ini names one.
    QDir(m_viewer.path()).rename(QStringLiteral("Channels"), QStringLiteral("lists"));
    WriteFile(m_viewer.filePath(QStringLiteral("config.ini")),
              QStringLiteral("[Channels]\r\nFilePath=%1\r\n").arg(elsewhere.path()).toUtf8());
    EXPECT_EQ(ChannelImportPage::ResolveFolder(QString(), m_viewer.path()), elsewhere.path());
    // Nothing exists: the viewer's channels folder all the same, which catalogues as empty.
    QFile::remove(m_viewer.filePath(QStringLiteral("config.ini")));
    EXPECT_EQ(ChannelImportPage::ResolveFolder(QString(), m_viewer.path()),
              m_viewer.filePath(QStringLiteral("channels")));
    ChannelImportPage page;
    page.Open(ChannelImportPage::Settings(), m_viewer.path());
    EXPECT_TRUE(page.Catalogue().isEmpty());
    EXPECT_EQ(page.Choices().selected, -1);
    EXPECT_TRUE(page.Available().IsEmpty());
}

TEST_F(ChannelImportPageTest, WithNoListToChooseTheFirstChannelListOfTheViewerIsRead)
{
    // Only lists that are not favourites: showing favourites only leaves the selector empty, and
    // the viewer's own ChannelList file (the lowest digit present) fills the left list.
    QFile::remove(Channels() + QStringLiteral("/Favourites.tree"));
    WriteFile(Channels() + QStringLiteral("/ChannelList3.tree"),
              Tree105(106, "Trois", false, {Group{"TNT", {Ref(0, 30, 31, 0, 0, 32, 0)}}}));
    WriteFile(Channels() + QStringLiteral("/ChannelList1.TREE"),
              Tree105(107, "Un", false, {Group{"TNT", {Ref(0, 10, 11, 0, 0, 12, 0)}}}));
    ChannelImportPage page;
    ChannelImportPage::Settings settings;
    settings.showFolders = false;
    page.Open(settings, m_viewer.path());
    EXPECT_TRUE(page.Choices().items.isEmpty());
    EXPECT_EQ(page.Available().Names(), QStringList{QStringLiteral("Arte")});

    // Once lists are offered, the chosen one is read again, not the fallback.
    page.SetFavoritesOnly(false);
    ASSERT_EQ(page.Choices().items,
              (QStringList{QStringLiteral("Tout"), QStringLiteral("Trois"), QStringLiteral("Un")}));
    page.ChooseItem(0);
    EXPECT_EQ(page.Available().Names(), (QStringList{QStringLiteral("France 2"), QStringLiteral("TF1")}));
}

TEST_F(ChannelImportPageTest, WindowPositionIsKeptOnlyWhenBothCoordinatesAreStored)
{
    IniFile config;
    EXPECT_FALSE(ChannelImportPage::Settings::Load(config).x.has_value());
    config.WriteInteger(QStringLiteral("Config"), QStringLiteral("XChaines"), 120);
    EXPECT_FALSE(ChannelImportPage::Settings::Load(config).x.has_value()); // no YChaines: centred

    ChannelImportPage::Settings s;
    s.x = -40;
    s.y = 300;
    s.Save(config);
    const ChannelImportPage::Settings back = ChannelImportPage::Settings::Load(config);
    EXPECT_EQ(back.x, std::optional<int>(-40));
    EXPECT_EQ(back.y, std::optional<int>(300));
}
