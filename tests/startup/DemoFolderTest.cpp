#include "startup/DemoFolder.h"

#include "channels/SchedulerChannelList.h"
#include "common/IniFile.h"
#include "platform/fake/FakePlatform.h"
#include "schedule/ScheduleStore.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"
#include "schedule/SettingsStore.h"
#include "viewer/ViewerLocator.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace quorx {
namespace {

const DateTime kNow = DateTime::FromFields(2026, 3, 14, 20, 30, 40);

class DemoFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        m_viewerProgram = m_root.filePath(QStringLiteral("built-zomvara"));
        Write(m_viewerProgram, "#!/bin/sh\nexit 0\n");
        m_folder = m_root.filePath(QStringLiteral("demo"));
    }

    static void Write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString InFolder(const QString& name) const { return m_folder + QLatin1Char('/') + name; }

    DemoFolder::Outcome Prepare(DateTime now = kNow)
    {
        return DemoFolder::Prepare(m_folder, m_viewerProgram, now, &m_platform.processes);
    }

    std::unique_ptr<ScheduleTable> Schedule(DateTime now = kNow) const
    {
        auto table = std::make_unique<ScheduleTable>();
        ScheduleStore::LoadSchedule(m_folder, *table, Settings(), now);
        return table;
    }

    QTemporaryDir m_root;
    QString m_viewerProgram;
    QString m_folder;
    FakePlatform m_platform;
};

TEST_F(DemoFolderTest, AFreshFolderGetsTheViewerThreeChannelsAndThreeRecordings)
{
    const DemoFolder::Outcome outcome = Prepare();
    ASSERT_EQ(outcome.result, DemoFolder::Result::Prepared) << qPrintable(outcome.message);

    // The viewer is a copy the locator finds through the folder Config.Ini names.
    const IniFile config(SettingsStore::FilePath(m_folder));
    const SettingsStore::Key* viewerKey = SettingsStore::FindKey(QStringLiteral("CheminZomvara"));
    const QString viewerFolder = config.ReadString(QString(viewerKey->section), QString(viewerKey->name));
    EXPECT_EQ(ViewerLocator::FindExecutableIn(viewerFolder), outcome.viewerExecutable);
    EXPECT_EQ(Read(outcome.viewerExecutable), Read(m_viewerProgram));
    EXPECT_TRUE(QFileInfo(outcome.viewerExecutable).isExecutable());
    EXPECT_EQ(config.ReadString(QStringLiteral("Config"), QStringLiteral("DelaiDeb")),
              QStringLiteral("00:00:00"));

    // It was run once, in its folder, to write its channel files from the three channels.
    const QVector<FakeLaunch> launches = m_platform.processes.Launches();
    ASSERT_EQ(launches.size(), 1);
    EXPECT_EQ(launches[0].program, outcome.viewerExecutable);
    EXPECT_EQ(launches[0].arguments, QStringList{QStringLiteral("/Exit")});
    EXPECT_TRUE(launches[0].waitForExit);
    const IniFile sources(viewerFolder + QStringLiteral("channels/sources.ini"));
    EXPECT_EQ(sources.Keys(QStringLiteral("Channels")), DemoFolder::ChannelNames());
    EXPECT_EQ(SchedulerChannelList::Load(config).Names(), DemoFolder::ChannelNames());

    const auto table = Schedule();
    ASSERT_EQ(table->Count(), 3);
    const TEmission& first = (*table)[1];
    const TEmission& daily = (*table)[2];
    const TEmission& overlapping = (*table)[3];
    const DateTime start = DateTime::FromFields(2026, 3, 14, 20, 33);
    EXPECT_FALSE(first.IsRepeating());
    EXPECT_TRUE(DateTime::SameDay(first.DateDebut, start));
    EXPECT_EQ(first.HeureDebut.TimeText(), QStringLiteral("20:33"));
    EXPECT_EQ(daily.Repetition, 0x7f);
    EXPECT_FALSE(overlapping.IsRepeating());
    EXPECT_LT(first.HeureDebut.Value(), overlapping.HeureDebut.Value());
    EXPECT_LT(overlapping.HeureDebut.Value(), first.HeureFin.Value());
    EXPECT_GT(overlapping.HeureFin.Value(), first.HeureFin.Value());
    for (int i = 1; i <= 3; ++i) {
        const TEmission& e = (*table)[i];
        EXPECT_TRUE(e.Actif);
        EXPECT_TRUE(DemoFolder::ChannelNames().contains(e.Chaine)) << qPrintable(e.Chaine);
        EXPECT_TRUE(e.Fichier.startsWith(InFolder(DemoFolder::RecordingFolderName()) + QLatin1Char('/')))
            << qPrintable(e.Fichier);
    }
    EXPECT_TRUE(QFileInfo(InFolder(DemoFolder::RecordingFolderName())).isDir());
}

TEST_F(DemoFolderTest, AnUntouchedDemoMovesToTheNewPresentButAChangedOneIsKept)
{
    ASSERT_EQ(Prepare().result, DemoFolder::Result::Prepared);
    const DateTime nextDay = DateTime::FromFields(2026, 3, 15, 9, 0, 0);
    ASSERT_EQ(Prepare(nextDay).result, DemoFolder::Result::Prepared);
    EXPECT_EQ((*Schedule(nextDay))[1].HeureDebut.TimeText(), QStringLiteral("09:02"));

    // The user (or the scheduler saving its state) changes a file: nothing is written again,
    // whichever file it was.
    for (const QString& name : {ScheduleStore::FileName(), QStringLiteral("Config.Ini"),
                                QStringLiteral("Zomvara/channels/sources.ini")}) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_EQ(Prepare(nextDay).result, DemoFolder::Result::Prepared);
        QByteArray changed = Read(InFolder(name));
        changed.append("\n; mine\n");
        Write(InFolder(name), changed);
        const QByteArray schedule = Read(InFolder(ScheduleStore::FileName()));
        const QByteArray config = Read(InFolder(QStringLiteral("Config.Ini")));

        const DemoFolder::Outcome kept = Prepare(nextDay.AddMinutes(30));
        EXPECT_EQ(kept.result, DemoFolder::Result::Kept);
        EXPECT_TRUE(kept.message.contains(name)) << qPrintable(kept.message);
        EXPECT_EQ(Read(InFolder(name)), changed);
        EXPECT_EQ(Read(InFolder(ScheduleStore::FileName())), schedule);
        EXPECT_EQ(Read(InFolder(QStringLiteral("Config.Ini"))), config);
        // Undo, so that the next file starts from an untouched demo.
        changed.chop(8);
        Write(InFolder(name), changed);
    }
}

TEST_F(DemoFolderTest, AFolderTheSchedulerHasUsedIsKeptThoughItsFilesAreAsPrepared)
{
    // The scheduler ended before saving its state, but it journalled and recorded.
    for (const QString& added : {QStringLiteral("Journal.Log"), QStringLiteral("Enregistrements/Premier.ts"),
                                 QStringLiteral("ChannelPref.Ini")}) {
        SCOPED_TRACE(added.toStdString());
        ASSERT_EQ(Prepare().result, DemoFolder::Result::Prepared);
        Write(InFolder(added), "x");
        const QByteArray schedule = Read(InFolder(ScheduleStore::FileName()));

        const DemoFolder::Outcome kept = Prepare(kNow.AddMinutes(45));
        EXPECT_EQ(kept.result, DemoFolder::Result::Kept);
        EXPECT_EQ(Read(InFolder(ScheduleStore::FileName())), schedule);
        ASSERT_TRUE(QFile::remove(InFolder(added)));
    }
}

TEST_F(DemoFolderTest, AKeptDemoStillGetsTheViewerThatWasBuilt)
{
    const DemoFolder::Outcome prepared = Prepare();
    ASSERT_EQ(prepared.result, DemoFolder::Result::Prepared);
    Write(InFolder(ScheduleStore::FileName()), "[Programmes]\nNombre=0\n");
    Write(m_viewerProgram, "#!/bin/sh\n# rebuilt\nexit 0\n");

    EXPECT_EQ(Prepare().result, DemoFolder::Result::Kept);
    EXPECT_EQ(Read(prepared.viewerExecutable), Read(m_viewerProgram));
    EXPECT_EQ(Read(InFolder(ScheduleStore::FileName())), QByteArray("[Programmes]\nNombre=0\n"));
}

TEST_F(DemoFolderTest, AFolderTheDemoDidNotMakeIsNeverWritten)
{
    ASSERT_TRUE(QDir().mkpath(m_folder));
    Write(InFolder(QStringLiteral("Config.Ini")), "[Config]\nNomInstance=Salon\n");

    const DemoFolder::Outcome outcome = Prepare();
    EXPECT_EQ(outcome.result, DemoFolder::Result::Kept);
    EXPECT_EQ(QDir(m_folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("Config.Ini")});
    EXPECT_EQ(Read(InFolder(QStringLiteral("Config.Ini"))), QByteArray("[Config]\nNomInstance=Salon\n"));
    EXPECT_TRUE(m_platform.processes.Launches().isEmpty());
}

TEST_F(DemoFolderTest, AFailedPreparationIsReportedAndTriedAgainNextTime)
{
    m_platform.processes.SetLaunchFailure(m_folder + QStringLiteral("/Zomvara/zomvara"),
                                          QStringLiteral("no display"));
    const DemoFolder::Outcome failed = Prepare();
    EXPECT_EQ(failed.result, DemoFolder::Result::Failed);
    EXPECT_TRUE(failed.message.contains(QLatin1String("no display"))) << qPrintable(failed.message);
    EXPECT_FALSE(QFileInfo::exists(InFolder(ScheduleStore::FileName())));

    m_platform.processes.SetLaunchFailure(m_folder + QStringLiteral("/Zomvara/zomvara"), QString());
    EXPECT_EQ(Prepare().result, DemoFolder::Result::Prepared);
    EXPECT_EQ(Schedule()->Count(), 3);

    const DemoFolder::Outcome missing =
        DemoFolder::Prepare(m_root.filePath(QStringLiteral("other")), m_root.filePath(QStringLiteral("none")),
                            kNow, &m_platform.processes);
    EXPECT_EQ(missing.result, DemoFolder::Result::Failed);
    EXPECT_FALSE(QFileInfo::exists(m_root.filePath(QStringLiteral("other"))));
}

TEST(DemoFolderFirstStart, IsTheFirstWholeMinuteAtLeastTwoMinutesAway)
{
    struct Case
    {
        DateTime now;
        DateTime expected;
    };
    const Case cases[] = {
        {DateTime::FromFields(2026, 3, 14, 12, 0, 0), DateTime::FromFields(2026, 3, 14, 12, 2, 0)},
        {DateTime::FromFields(2026, 3, 14, 12, 0, 1), DateTime::FromFields(2026, 3, 14, 12, 3, 0)},
        {DateTime::FromFields(2026, 3, 14, 12, 0, 59), DateTime::FromFields(2026, 3, 14, 12, 3, 0)},
        {DateTime::FromFields(2026, 3, 14, 23, 58, 30), DateTime::FromFields(2026, 3, 15, 0, 1, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DemoFolder::FirstStart(c.now).TotalSeconds(), c.expected.TotalSeconds())
            << qPrintable(c.now.IsoText());
}

} // namespace
} // namespace quorx
