#include "engine/Occurrences.h"
#include "EngineTestSupport.h"
#include "schedule/ScheduleTable.h"

#include <gtest/gtest.h>

using namespace quorx;
using namespace quorx::test;

namespace {

struct NextStartCase
{
    const char* name;
    TEmission record;
    DateTime now;
    DateTime expected;
    DateTime delaiDeb = DateTime();
    DateTime delaiFin = DateTime();
};

TEmission WithState(TEmission e, int etat, DateTime dateStop)
{
    e.Etat = static_cast<std::int8_t>(etat);
    e.DateStop = dateStop;
    return e;
}

const TEmission kDaily = Daily(QStringLiteral("Arte"), March(1), Hm(20, 0), Hm(21, 0));
const TEmission kMondayLate = Broadcast(QStringLiteral("TF1"), At(2024, 2, 26), Hm(23, 30), Hm(0, 30), Lundi);
const TEmission kSundayLate =
    Broadcast(QStringLiteral("TF1"), At(2024, 2, 25), Hm(23, 30), Hm(0, 30), Dimanche);

class NextStartTest : public ::testing::TestWithParam<NextStartCase>
{
};

TEST_P(NextStartTest, FindsTheOccurrence)
{
    const NextStartCase& c = GetParam();
    const Occurrences occurrences(c.delaiDeb, c.delaiFin);
    EXPECT_EQ(occurrences.ComputeNextStart(c.record, c.now), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Occurrences, NextStartTest,
    ::testing::Values(
        NextStartCase{"DailyStillRunning", kDaily, March(4, 20, 30), March(4, 20, 0)},
        NextStartCase{"DailyAtItsEnd", kDaily, March(4, 21, 0), March(5, 20, 0)},
        // Less than a millisecond before the end is the end itself.
        NextStartCase{"DailyHalfAMillisecondBeforeItsEnd", kDaily, March(4, 20, 59, 59).AddSeconds(0.9995),
                      March(5, 20, 0)},
        NextStartCase{"DailyTwoMillisecondsBeforeItsEnd", kDaily, March(4, 20, 59, 59, 998), March(4, 20, 0)},
        NextStartCase{"AcrossMidnightFoundYesterday", kMondayLate, March(5, 0, 10), March(4, 23, 30)},
        NextStartCase{"AcrossMidnightOnceOver", kMondayLate, March(5, 0, 30), March(11, 23, 30)},
        NextStartCase{"SundayAcrossTheWeekBoundary", kSundayLate, March(4, 0, 10), March(3, 23, 30)},
        NextStartCase{"SundayAfterItsEnd", kSundayLate, March(4, 0, 31), March(10, 23, 30)},
        NextStartCase{"StartMarginInSeconds", kDaily, March(4, 12, 0), March(4, 19, 57, 30), Hm(0, 2, 30)},
        NextStartCase{"EndMarginKeepsItCurrent", kDaily, March(4, 21, 3), March(4, 20, 0), DateTime(),
                      Hm(0, 5)},
        NextStartCase{"FirstDayNextWednesday", Daily(QStringLiteral("M6"), March(6), Hm(20, 0), Hm(21, 0)),
                      March(4, 12, 0), March(6, 20, 0)},
        // The margin takes the Tuesday 00:05 start back to Monday, which is the first date.
        NextStartCase{"MarginMovesTheStartToTheDayBefore",
                      Daily(QStringLiteral("M6"), March(5), Hm(0, 5), Hm(1, 0)), March(4, 12, 0),
                      March(4, 23, 55), Hm(0, 10)},
        NextStartCase{"OverStateHoldsBackEarlierDays", WithState(kDaily, 3, March(6)), March(4, 12, 0),
                      March(6, 20, 0)},
        NextStartCase{"OverStateOfTodayWhileItRuns", WithState(kDaily, 3, March(4)), March(4, 20, 30),
                      March(4, 20, 0)},
        NextStartCase{"RecordingStateIsNotHeldBack", WithState(kDaily, 1, March(6)), March(4, 12, 0),
                      March(4, 20, 0)},
        NextStartCase{"LastDayOfTheHorizon",
                      Daily(QStringLiteral("M6"), At(2024, 6, 8), Hm(20, 0), Hm(21, 0)), March(4, 12, 0),
                      At(2024, 6, 8, 20, 0)},
        NextStartCase{"BeyondTheHorizon", Daily(QStringLiteral("M6"), At(2024, 6, 9), Hm(20, 0), Hm(21, 0)),
                      March(4, 12, 0), DateTime::NoTime()},
        NextStartCase{"OneOffIsItsFirstStartEvenWhenPast",
                      OneOff(QStringLiteral("M6"), March(4), Hm(20, 0), Hm(21, 0)), March(6, 12, 0),
                      March(4, 19, 59), Hm(0, 1)}),
    [](const ::testing::TestParamInfo<NextStartCase>& info) { return std::string(info.param.name); });

TEST(OccurrenceEndTest, AddsTheMarginsToTheOccurrence)
{
    const Occurrences occurrences(Hm(0, 2, 30), Hm(0, 5));

    const TEmission late = OneOff(QStringLiteral("TF1"), March(4), Hm(23, 30), Hm(0, 30));
    EXPECT_EQ(occurrences.OccurrenceEnd(late), March(5, 0, 35));

    TEmission daily = kDaily;
    daily.NextStart = occurrences.ComputeNextStart(daily, March(4, 12, 0));
    ASSERT_EQ(daily.NextStart, March(4, 19, 57, 30));
    EXPECT_EQ(occurrences.OccurrenceEnd(daily), March(4, 21, 5));

    TEmission acrossMidnight = kMondayLate;
    acrossMidnight.NextStart = occurrences.ComputeNextStart(acrossMidnight, March(4, 12, 0));
    EXPECT_EQ(occurrences.OccurrenceEnd(acrossMidnight), March(5, 0, 35));
}

TEST(OccurrenceEndTest, InconsistentDatesGiveThePositiveSpan)
{
    const Occurrences occurrences{DateTime(), DateTime()};
    TEmission e = kDaily;
    e.DateDebut = March(2);
    e.DateFin = March(1);
    e.NextStart = March(4, 20, 0);
    // From 1 March 21:00 to 2 March 20:00 is 23 hours.
    EXPECT_EQ(occurrences.OccurrenceEnd(e), March(5, 19, 0));
}

TEST(OccurrenceEndTest, NoOccurrenceHasNoEnd)
{
    const Occurrences occurrences{DateTime(), Hm(0, 5)};
    TEmission e = kDaily;
    e.NextStart = DateTime::NoTime();
    EXPECT_TRUE(occurrences.OccurrenceEnd(e) == DateTime::NoTime());
}

TEST(OccurrencesTest, CrossingMidnightWithAndWithoutMargins)
{
    const Occurrences plain{DateTime(), DateTime()};
    const Occurrences withMargins(Hm(0, 10), Hm(0, 10));
    const TEmission evening = OneOff(QStringLiteral("TF1"), March(4), Hm(22, 0), Hm(23, 55));
    const TEmission early = OneOff(QStringLiteral("TF1"), March(4), Hm(0, 5), Hm(1, 0));

    EXPECT_TRUE(Occurrences::CrossesMidnight(kMondayLate));
    EXPECT_FALSE(Occurrences::CrossesMidnight(evening));
    EXPECT_FALSE(plain.CrossesMidnightWithMargins(evening));
    EXPECT_TRUE(withMargins.CrossesMidnightWithMargins(evening));
    EXPECT_TRUE(withMargins.CrossesMidnightWithMargins(early));
}

TEST(OccurrencesTest, TableFormsStoreEveryRecordAndAnInvalidIndexGivesToday)
{
    ScheduleTable table;
    table.Append(kDaily);
    table.Append(OneOff(QStringLiteral("M6"), March(7), Hm(9, 0), Hm(10, 0)));
    const Occurrences occurrences{DateTime(), DateTime()};
    const DateTime now = March(4, 21, 30);

    occurrences.ComputeNextStart(table, now);
    EXPECT_EQ(table[1].NextStart, March(5, 20, 0));
    EXPECT_EQ(table[2].NextStart, March(7, 9, 0));
    EXPECT_EQ(occurrences.ComputeNextStart(table, 2, now), March(7, 9, 0));
    EXPECT_EQ(occurrences.ComputeNextStart(table, 0, now), March(4));
    EXPECT_EQ(occurrences.ComputeNextStart(table, 3, now), March(4));
}

struct EffectiveCase
{
    const char* name;
    TEmission record;
    DateTime now;
    DateTime expected;
};

TEmission Configured(TEmission e, bool actif, int etat, DateTime dateStop, bool inactifPro = false)
{
    e.Actif = actif;
    e.Etat = static_cast<std::int8_t>(etat);
    e.DateStop = dateStop;
    e.InactifPro = inactifPro;
    return e;
}

const TEmission kOneOff = OneOff(QStringLiteral("M6"), March(4), Hm(20, 0), Hm(21, 0));
const TEmission kMondays = Broadcast(QStringLiteral("M6"), March(4), Hm(20, 0), Hm(21, 0), Lundi);

class EffectiveStartTest : public ::testing::TestWithParam<EffectiveCase>
{
};

TEST_P(EffectiveStartTest, IsTheStartActedOn)
{
    const EffectiveCase& c = GetParam();
    const Occurrences occurrences{DateTime(), DateTime()};
    TEmission e = c.record;
    e.NextStart = occurrences.ComputeNextStart(e, c.now);
    EXPECT_EQ(occurrences.EffectiveStartOf(e, c.now), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Occurrences, EffectiveStartTest,
    ::testing::Values(
        EffectiveCase{"OneOffIdle", kOneOff, March(4, 12, 0), March(4, 20, 0)},
        EffectiveCase{"OneOffRecorded", Configured(kOneOff, true, 2, March(4)), March(4, 20, 30),
                      DateTime::NoTime()},
        // An inactive one-off recording never records: nothing should wake the computer for it.
        EffectiveCase{"OneOffInactive", Configured(kOneOff, false, 0, DateTime()), March(4, 12, 0),
                      DateTime::NoTime()},
        EffectiveCase{"RepeatingInactive", Configured(kDaily, false, 0, DateTime()), March(4, 12, 0),
                      DateTime::NoTime()},
        EffectiveCase{"RepeatingIdle", kDaily, March(4, 12, 0), March(4, 20, 0)},
        EffectiveCase{"RepeatingBeingRecorded", Configured(kDaily, true, 1, March(4)), March(4, 20, 30),
                      March(5, 20, 0)},
        EffectiveCase{"OverTodayWhileItRuns", Configured(kDaily, true, 3, March(4)), March(4, 20, 30),
                      March(5, 20, 0)},
        EffectiveCase{"NextOccurrenceSkipped", Configured(kDaily, true, 0, March(4), true), March(4, 12, 0),
                      March(5, 20, 0)},
        EffectiveCase{"SkippedMondayWaitsAWeek", Configured(kMondays, true, 0, March(4), true),
                      March(4, 12, 0), March(11, 20, 0)},
        // The skipped occurrence is over: the one now next is not skipped and wakes the computer.
        EffectiveCase{"SkipOfAnOccurrenceAlreadyOver", Configured(kDaily, true, 0, March(3), true),
                      March(4, 12, 0), March(4, 20, 0)},
        // Recorded, with the occurrence itself not yet over: the computer wakes for the next one.
        EffectiveCase{"RecordedWhileItsOccurrenceRuns", Configured(kDaily, true, 2, March(4)),
                      March(4, 20, 59), March(5, 20, 0)},
        EffectiveCase{"RecordedYesterday", Configured(kDaily, true, 2, March(3)), March(4, 12, 0),
                      March(4, 20, 0)}),
    [](const ::testing::TestParamInfo<EffectiveCase>& info) { return std::string(info.param.name); });

} // namespace
