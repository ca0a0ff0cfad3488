#include "viewer/ViewerLocator.h"
#include "viewer/ViewerSetup.h"

#include "i18n/LocalisedStrings.h"
#include "schedule/Settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace quorx {
namespace {

// A throwaway file system with the scheduler's drive, a fixed viewer folder and a programs
// folder, all kept apart so each search step can be told from the others.
class ViewerSearchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(m_dir->isValid());
        m_roots.fixedFolder = Path(QStringLiteral("opt-zomvara/"));
        m_roots.programDriveRoot = Path(QStringLiteral("drive/"));
        m_roots.programFilesFolder = Path(QStringLiteral("programs/"));
        QDir().mkpath(m_roots.programDriveRoot);
        QDir().mkpath(m_roots.programFilesFolder);
    }

    QString Path(const QString& relative) const { return m_dir->path() + QLatin1Char('/') + relative; }

    void MakeFile(const QString& relative, bool executable = true)
    {
        const QString path = Path(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n");
        f.close();
        QFile::Permissions p = QFile::ReadOwner | QFile::WriteOwner;
        if (executable)
            p |= QFile::ExeOwner;
        f.setPermissions(p);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    ViewerSearchRoots m_roots;
};

TEST_F(ViewerSearchTest, FirstStageTakesTheFixedFolderThenTheDriveFolder)
{
    // Nothing installed: the viewer folder on the scheduler's drive, whether it exists or not.
    EXPECT_EQ(ViewerLocator::DefaultViewerFolder(m_roots), Path(QStringLiteral("drive/Zomvara/")));

    // An existing folder on the drive is found whatever its letter case.
    QDir().mkpath(Path(QStringLiteral("drive/ZOMVARA")));
    EXPECT_EQ(ViewerLocator::DefaultViewerFolder(m_roots), Path(QStringLiteral("drive/ZOMVARA/")));

    QDir().mkpath(m_roots.fixedFolder);
    EXPECT_EQ(ViewerLocator::DefaultViewerFolder(m_roots), m_roots.fixedFolder);
}

TEST_F(ViewerSearchTest, SecondStageFindsTheExecutable)
{
    struct Case
    {
        const char* name;
        QVector<QPair<const char*, bool>> files; // relative path, executable
        const char* setting;                     // CheminZomvara, "@" standing for the temp folder
        const char* expected;                    // relative path of the viewer, nullptr: not found
    };
    const Case cases[] = {
        {"main name in the setting's folder",
         {{"v/Zomvara.Exe", true}, {"v/zomvara", true}},
         "@/v/",
         "v/Zomvara.Exe"},
        {"second name", {{"v/ZomvaraNet.Exe", true}}, "@/v/", "v/ZomvaraNet.Exe"},
        {"Linux name in another letter case", {{"v/ZOMVARA", true}}, "@/v/", "v/ZOMVARA"},
        {"a file that cannot run is passed over",
         {{"v/Zomvara.Exe", false}, {"v/zomvaranet", true}},
         "@/v/",
         "v/zomvaranet"},
        {"folder without executable: the programs folder",
         {{"v/readme.txt", true}, {"programs/zomvara/zomvara", true}},
         "@/v/",
         "programs/zomvara/zomvara"},
        {"empty setting: the fixed folder",
         {{"opt-zomvara/zomvara", true}, {"programs/Zomvara/zomvara", true}},
         "",
         "opt-zomvara/zomvara"},
        {"empty setting, nothing fixed: the programs folder",
         {{"programs/Zomvara/ZomvaraNet.Exe", true}},
         "",
         "programs/Zomvara/ZomvaraNet.Exe"},
        {"empty setting: the drive's folder", {{"drive/Zomvara/zomvara", true}}, "", "drive/Zomvara/zomvara"},
        {"an existing folder without a final slash", {{"v/zomvara", true}}, "@/v", "v/zomvara"},
        {"a setting naming a file keeps its folder", {{"v/zomvara", true}}, "@/v/zomvara", "v/zomvara"},
        {"a relative setting is not looked up",
         {{"programs/Zomvara/zomvara", true}},
         "v/",
         "programs/Zomvara/zomvara"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        for (const auto& f : c.files)
            MakeFile(QString::fromUtf8(f.first), f.second);
        const QString setting = QString::fromUtf8(c.setting).replace(QLatin1Char('@'), m_dir->path());
        const ViewerLocator::Result r = ViewerLocator::SettleExecutable(setting, m_roots);
        ASSERT_TRUE(r.found);
        EXPECT_EQ(r.executable, Path(QString::fromUtf8(c.expected)));
    }
}

TEST_F(ViewerSearchTest, NothingFoundLeavesTheLastPathTried)
{
    MakeFile(QStringLiteral("v/Zomvara.Exe"), false);
    const ViewerLocator::Result r = ViewerLocator::SettleExecutable(Path(QStringLiteral("v/")), m_roots);
    EXPECT_FALSE(r.found);
    EXPECT_EQ(r.executable, Path(QStringLiteral("programs/Zomvara/zomvaranet")));
}

TEST_F(ViewerSearchTest, StartUpAsksForTheFolderAndKeepsAGoodAnswer)
{
    MakeFile(QStringLiteral("elsewhere/zomvara"));
    Settings settings;
    settings.CheminZomvara = Path(QStringLiteral("missing/"));
    QString askedWith;
    const ViewerSetup::Outcome outcome = ViewerSetup::Settle(
        settings, m_roots,
        [&](const QString& lastTried) {
            askedWith = lastTried;
            return Path(QStringLiteral("elsewhere"));
        },
        Path(QStringLiteral("records/")));
    EXPECT_EQ(askedWith, Path(QStringLiteral("programs/Zomvara/zomvaranet")));
    ASSERT_TRUE(outcome.found);
    EXPECT_EQ(outcome.executable, Path(QStringLiteral("elsewhere/zomvara")));
    EXPECT_EQ(settings.CheminZomvara, Path(QStringLiteral("elsewhere/")));
    EXPECT_TRUE(outcome.message.isEmpty());
    // The viewer's settings were prepared in the folder found.
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("elsewhere/Zomvara.Ini"))));
}

TEST_F(ViewerSearchTest, StartUpEndsWhenTheUserGivesNoViewerFolder)
{
    Settings settings;
    settings.CheminZomvara = Path(QStringLiteral("missing/"));
    for (const QString& answer : {QString(), Path(QStringLiteral("programs"))}) {
        const ViewerSetup::Outcome outcome = ViewerSetup::Settle(
            settings, m_roots, [&](const QString&) { return answer; }, QString());
        EXPECT_FALSE(outcome.found);
        EXPECT_EQ(outcome.message, Ls(92));
        EXPECT_EQ(settings.CheminZomvara, Path(QStringLiteral("missing/")));
    }
}

} // namespace
} // namespace quorx
