#include "EngineFixture.h"
#include "engine/ScheduleObserver.h"
#include "schedule/ScheduleStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

using namespace quorx;
using namespace quorx::test;

namespace {

TEmission Tonight(const char* channel, int h1, int m1, int h2, int m2)
{
    return OneOff(QString::fromLatin1(channel), March(4), Hm(h1, m1), Hm(h2, m2));
}

TEmission Nightly(const char* channel, int h1, int m1, int h2, int m2)
{
    return Daily(QString::fromLatin1(channel), March(1), Hm(h1, m1), Hm(h2, m2));
}

using SelectionTest = EngineFixture;

TEST_F(SelectionTest, NextRecordingIsTheEarliestWindowNotTheEarliestStart)
{
    Add(Tonight("Later", 21, 0, 22, 0));
    Add(Tonight("Covered", 19, 0, 19, 30)); // inside the Prioritaire one: no window
    Add(Tonight("Evening", 20, 0, 20, 30));
    TEmission winner = Tonight("Winner", 19, 0, 19, 45);
    winner.Prioritaire = true;
    Add(winner);
    engine.PassA();
    EXPECT_TRUE(Window(2).IsNone());
    EXPECT_EQ(engine.SelectNextRecording(), 4);

    table[4].Actif = false;
    engine.PassA();
    EXPECT_EQ(engine.SelectNextRecording(), 2);
}

TEST_F(SelectionTest, NoCandidateGivesMinusOne)
{
    EXPECT_EQ(engine.SelectNextRecording(), -1);
    Add(Tonight("A", 20, 0, 21, 0));
    table[1].Actif = false;
    engine.PassA();
    EXPECT_EQ(engine.SelectNextRecording(), -1);
    EXPECT_EQ(engine.SelectNextWake(), -1);
}

TEST_F(SelectionTest, RepetitionEndedYesterdayIsNotSelectedAndLeavesAfterItsLastOccurrence)
{
    TEmission ended = Nightly("Ended", 23, 30, 0, 30);
    ended.RepetitionFin = March(3);
    TEmission endsToday = Nightly("Today", 23, 30, 0, 30);
    endsToday.RepetitionFin = March(4);

    Add(ended);
    SetNow(March(4, 0, 10)); // Sunday's occurrence still runs
    engine.PassA();
    ASSERT_EQ(table.Count(), 1);
    EXPECT_FALSE(Window(1).IsNone());
    EXPECT_EQ(engine.SelectNextRecording(), -1);

    table.Clear();
    Add(endsToday);
    engine.PassA();
    EXPECT_EQ(engine.SelectNextRecording(), 1);

    table.Clear();
    Add(ended);
    SetNow(March(4, 0, 30));
    engine.PassA();
    EXPECT_EQ(table.Count(), 0);
}

TEST_F(SelectionTest, WakeIsTheEarliestEffectiveStartFirstInTableOnTies)
{
    Add(Tonight("Evening", 20, 0, 21, 0));
    Add(Nightly("Skipped", 18, 0, 19, 0));
    Add(Nightly("Early", 19, 0, 19, 30));
    table[2].InactifPro = true;
    table[2].DateStop = March(4);
    engine.PassA();
    EXPECT_EQ(engine.SelectNextWake(), 3);
    EXPECT_EQ(table[1].EffectiveStart, March(4, 20, 0));
    EXPECT_EQ(table[2].EffectiveStart, March(5, 18, 0));

    table[3].Actif = false;
    EXPECT_EQ(engine.SelectNextWake(), 1);
    EXPECT_TRUE(table[3].EffectiveStart == DateTime::NoTime());

    table[3].Actif = true;
    table[3].HeureDebut = Hm(20, 0);
    table[3].HeureFin = Hm(20, 30);
    engine.PassA();
    EXPECT_EQ(engine.SelectNextWake(), 1);
}

TEST_F(SelectionTest, SkipEndsWithTheSkippedOccurrenceSoTheNextOneIsRecorded)
{
    // Monday's 23:30 occurrence, ending Tuesday 00:30, is skipped. Tuesday's starts at 23:30, before
    // the day after the skipped one ends: it must be recorded.
    Add(Nightly("Late", 23, 30, 0, 30));
    table[1].InactifPro = true;
    table[1].DateStop = March(4);
    SetNow(March(5, 0, 20));
    engine.PassA();
    EXPECT_TRUE(table[1].InactifPro);
    EXPECT_TRUE(Window(1).IsNone());

    SetNow(March(5, 0, 30, 3));
    engine.PassA();
    EXPECT_FALSE(table[1].InactifPro);
    EXPECT_EQ(Window(1).start, March(5, 23, 30));
    EXPECT_EQ(engine.SelectNextRecording(), 1);
}

TEST_F(SelectionTest, RecordedStateLastsUntilTheEndOfItsOccurrence)
{
    settings.DelaiFin = Hm(0, 2);
    Add(Nightly("Daily", 20, 0, 21, 0));
    table[1].Etat = 2;
    table[1].DateStop = March(4);
    SetNow(March(4, 21, 1));
    engine.PassA();
    EXPECT_EQ(table[1].Etat, 2);
    EXPECT_TRUE(Window(1).IsNone());
    EXPECT_EQ(engine.SelectNextWake(), 1);
    EXPECT_EQ(table[1].EffectiveStart, March(5, 20, 0));

    SetNow(March(4, 21, 2));
    engine.PassA();
    EXPECT_EQ(table[1].Etat, 0);
    EXPECT_EQ(Window(1).start, March(5, 20, 0));
}

TEST_F(SelectionTest, PurgeKeepsEachWindowBesideItsRecord)
{
    Add(Tonight("Gone", 12, 0, 12, 30));
    Add(Tonight("Stays", 20, 0, 21, 0));
    engine.PassA();
    const RecordingWindow stays = Window(2);
    SetNow(March(4, 12, 31));
    engine.PurgeExpired();
    ASSERT_EQ(table.Count(), 1);
    EXPECT_EQ(Window(1).start, stays.start);
    EXPECT_EQ(Window(1).end, stays.end);
    EXPECT_TRUE(Window(2).IsNone());
}

TEST_F(SelectionTest, PurgeKeepsARecordingUnderWay)
{
    Add(Tonight("Overrun", 11, 0, 11, 30));
    table[1].Etat = 1;
    engine.PurgeExpired();
    EXPECT_EQ(table.Count(), 1);
    table[1].Etat = 2;
    engine.PurgeExpired();
    EXPECT_EQ(table.Count(), 0);
}

class RecordingObserver final : public ScheduleObserver
{
public:
    void ArmTimers() override
    {
        calls << QStringLiteral("arm");
        if (nested) {
            nested = false;
            nested_engine->RecomputeSchedule();
        }
    }
    void RefreshList() override { calls << QStringLiteral("refresh"); }
    void ScheduleSaveFailed(const QString& reason) override { calls << QStringLiteral("failed:") + reason; }

    QStringList calls;
    bool nested = false;
    ScheduleEngine* nested_engine = nullptr;
};

using PassTest = EngineFixture;

TEST_F(PassTest, FullPassArmsRefreshesAndSavesAtIdlePriority)
{
    QTemporaryDir home;
    RecordingObserver observer;
    engine.SetObserver(&observer);
    engine.SetProgramFolder(home.path());
    Add(Tonight("Gone", 9, 0, 10, 0));
    Add(Tonight("Evening", 20, 0, 21, 0));

    EXPECT_TRUE(engine.RecomputeSchedule());
    EXPECT_EQ(observer.calls, QStringList({QStringLiteral("arm"), QStringLiteral("refresh")}));
    ASSERT_EQ(table.Count(), 1);

    ScheduleTable reloaded;
    ScheduleStore::LoadSchedule(home.path(), reloaded, settings, fake.clock.Now());
    ASSERT_EQ(reloaded.Count(), 1);
    EXPECT_EQ(reloaded[1].Chaine, QStringLiteral("Evening"));

    const auto changes = fake.processes.PriorityChanges();
    ASSERT_EQ(changes.size(), 2);
    EXPECT_TRUE(changes[0].idle);
    EXPECT_FALSE(changes[1].idle);
    EXPECT_FALSE(fake.processes.IdlePriority());
}

TEST_F(PassTest, APassRunFromInsideAnotherLeavesThePriorityToTheOuterOne)
{
    RecordingObserver observer;
    observer.nested = true;
    observer.nested_engine = &engine;
    engine.SetObserver(&observer);
    Add(Tonight("Evening", 20, 0, 21, 0));
    engine.RecomputeSchedule();
    EXPECT_EQ(observer.calls.size(), 4);
    const auto changes = fake.processes.PriorityChanges();
    ASSERT_EQ(changes.size(), 2);
    EXPECT_TRUE(changes[0].idle);
    EXPECT_FALSE(changes[1].idle);
}

TEST_F(PassTest, PowerPassArmsWithoutRefreshOrSave)
{
    QTemporaryDir home;
    RecordingObserver observer;
    engine.SetObserver(&observer);
    engine.SetProgramFolder(home.path());
    Add(Tonight("Evening", 20, 0, 21, 0));
    Add(Tonight("Night", 20, 30, 22, 0));
    engine.RecomputeForPower();
    EXPECT_EQ(observer.calls, QStringList({QStringLiteral("arm")}));
    EXPECT_EQ(table[2].CutAtStart, 30);
    EXPECT_FALSE(QFile::exists(ScheduleStore::FilePath(home.path())));
    EXPECT_EQ(fake.processes.PriorityChanges().size(), 2);
}

TEST_F(PassTest, AfterARecordingPassAGivesTheFollowingOne)
{
    RecordingObserver observer;
    engine.SetObserver(&observer);
    Add(Tonight("Evening", 20, 0, 21, 0));
    Add(Tonight("Morning", 13, 0, 14, 0));
    EXPECT_EQ(engine.RecomputeAndSelectNextRecording(), 2);
    EXPECT_TRUE(observer.calls.isEmpty());
}

TEST_F(PassTest, FailedSaveIsReportedAndTheEngineCarriesOn)
{
    QTemporaryDir home;
    // Something that is not a file where the schedule belongs: the store refuses to replace it.
    ASSERT_TRUE(QDir(home.path()).mkdir(ScheduleStore::FileName()));
    RecordingObserver observer;
    engine.SetObserver(&observer);
    engine.SetProgramFolder(home.path());
    Add(Tonight("Evening", 20, 0, 21, 0));

    EXPECT_FALSE(engine.RecomputeSchedule());
    EXPECT_FALSE(engine.LastSaveError().isEmpty());
    ASSERT_EQ(observer.calls.size(), 3);
    EXPECT_EQ(observer.calls[2], QStringLiteral("failed:") + engine.LastSaveError());
    EXPECT_FALSE(Window(1).IsNone());
    EXPECT_TRUE(QFileInfo(ScheduleStore::FilePath(home.path())).isDir());

    QDir(home.path()).rmdir(ScheduleStore::FileName());
    EXPECT_TRUE(engine.RecomputeSchedule());
    EXPECT_TRUE(engine.LastSaveError().isEmpty());
}

} // namespace
