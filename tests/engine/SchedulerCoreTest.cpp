#include "startup/SchedulerCore.h"
#include "common/IniFile.h"
#include "engine/RecordingEngine.h"
#include "i18n/LocalisedStrings.h"
#include "platform/fake/FakePlatform.h"
#include "power/ScriptedQuestionPresenter.h"
#include "schedule/ScheduleStore.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"
#include "schedule/SettingsStore.h"
#include "viewer/ViewerControl.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quorx {
namespace {

// Monday 4 March 2024 at noon: one recording at 20:00 and a key of another part in Config.Ini.
class SchedulerCoreTest : public ::testing::Test
{
protected:
    SchedulerCoreTest() : fake(DateTime::FromFields(2024, 3, 4, 12, 0))
    {
        Write(QStringLiteral("Programmes.Ini"),
              "[Programmes]\r\nNbProgrammes=1\r\nProgramme1=Soir\r\nChaine1=M6\r\nDateDebut1=04/03/2024\r\n"
              "DateFin1=04/03/2024\r\nHeureDebut1=20:00\r\nHeureFin1=20:30\r\nActif1=1\r\nFichier1=/video/"
              "Soir.ts\r\n");
        Write(QStringLiteral("Config.Ini"), "[Config]\r\nDelaiDeb=00:02:00\r\n[Autre]\r\nGarde=oui\r\n");
    }

    void Write(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray Read(const QString& name) const
    {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString MakeViewer()
    {
        const QString folder = dir.filePath(QStringLiteral("viewer/"));
        QDir().mkpath(folder);
        QFile exe(folder + QStringLiteral("zomvara"));
        EXPECT_TRUE(exe.open(QIODevice::WriteOnly));
        exe.close();
        exe.setPermissions(exe.permissions() | QFileDevice::ExeOwner);
        return folder;
    }

    QTemporaryDir dir;
    FakePlatform fake;
    ScriptedQuestionPresenter presenter;
};

TEST_F(SchedulerCoreTest, StartUpReadsTheFilesComputesTheDayAndArmsTheEngine)
{
    const QString viewerFolder = MakeViewer();
    SchedulerCore::Options options;
    QString askedWith;
    options.askViewerFolder = [&](const QString& lastTried) {
        askedWith = lastTried;
        return viewerFolder;
    };
    SchedulerCore core(dir.path(), fake.View(), presenter, std::move(options));
    ASSERT_TRUE(core.Start()) << core.StartError().toStdString();
    EXPECT_FALSE(askedWith.isEmpty());
    EXPECT_EQ(core.Viewer().Executable(), viewerFolder + QStringLiteral("zomvara"));
    EXPECT_EQ(core.CoreSettings().CheminZomvara, viewerFolder);
    // Group one (the margins) was read before the schedule, and the first tick computed the day.
    ASSERT_EQ(core.Table().Count(), 1);
    EXPECT_EQ(core.Table()[1].NextStart, DateTime::FromFields(2024, 3, 4, 19, 58));
    EXPECT_TRUE(core.Engine().Armed());
    DateTime armed;
    EXPECT_TRUE(core.Engine().StartArmed(&armed));

    ASSERT_TRUE(core.Shutdown()) << core.LastError().toStdString();
    IniFile config;
    ASSERT_TRUE(config.Load(SettingsStore::FilePath(dir.path())));
    EXPECT_EQ(config.ReadString(QStringLiteral("Autre"), QStringLiteral("Garde")), QStringLiteral("oui"));
    EXPECT_EQ(config.ReadString(QStringLiteral("Config"), QStringLiteral("DelaiDeb")),
              QStringLiteral("00:02:00"));
    EXPECT_TRUE(Read(QStringLiteral("Programmes.Ini")).contains("Programme1=Soir"));
}

TEST_F(SchedulerCoreTest, WithoutAViewerNothingStartsAndNothingIsWritten)
{
    const QByteArray config = Read(QStringLiteral("Config.Ini"));
    const QByteArray schedule = Read(QStringLiteral("Programmes.Ini"));
    for (const bool canAsk : {false, true}) {
        SchedulerCore::Options options;
        if (canAsk)
            options.askViewerFolder = [this](const QString&) {
                return dir.filePath(QStringLiteral("nothing/"));
            };
        SchedulerCore core(dir.path(), fake.View(), presenter, std::move(options));
        EXPECT_FALSE(core.Start());
        EXPECT_EQ(core.StartError(), Ls(92));
        EXPECT_FALSE(core.Engine().Armed());
        fake.timers.RunFor(60000);
        EXPECT_TRUE(fake.processes.Launches().isEmpty());
        EXPECT_TRUE(core.Shutdown());
    }
    EXPECT_EQ(Read(QStringLiteral("Config.Ini")), config);
    EXPECT_EQ(Read(QStringLiteral("Programmes.Ini")), schedule);
}

} // namespace
} // namespace quorx
