#include "EngineFixture.h"
#include "engine/OverlapResolver.h"

using namespace quorx;
using namespace quorx::test;

namespace {

TEmission Prio(TEmission e)
{
    e.Prioritaire = true;
    return e;
}

TEmission Tonight(const char* channel, int h1, int m1, int h2, int m2)
{
    return OneOff(QString::fromLatin1(channel), March(4), Hm(h1, m1), Hm(h2, m2));
}

TEmission Nightly(const char* channel, int h1, int m1, int h2, int m2)
{
    return Daily(QString::fromLatin1(channel), March(1), Hm(h1, m1), Hm(h2, m2));
}

struct Expected
{
    DateTime start;
    DateTime end;
    int cutAtStart;
    int cutAtEnd;
};

const Expected kNone{DateTime::NoTime(), DateTime::NoTime(), -1, 0};

struct PairCase
{
    const char* name;
    TEmission first;
    TEmission second;
    bool repPrioritaire;
    Expected firstExpected;
    Expected secondExpected;
};

class PairTest : public EngineFixture, public ::testing::WithParamInterface<PairCase>
{
};

void ExpectWindow(const RecordingWindow& w, const TEmission& e, const Expected& x, const char* which)
{
    SCOPED_TRACE(which);
    EXPECT_EQ(w.start, x.start);
    EXPECT_EQ(w.end, x.end);
    EXPECT_EQ(e.CutAtStart, x.cutAtStart);
    EXPECT_EQ(e.CutAtEnd, x.cutAtEnd);
}

TEST_P(PairTest, SharesTheTuner)
{
    const PairCase& c = GetParam();
    settings.RepPrioritaire = c.repPrioritaire;
    Add(c.first);
    Add(c.second);
    engine.PassA();
    engine.ComputeCutMinutes();
    ExpectWindow(Window(1), table[1], c.firstExpected, "first");
    ExpectWindow(Window(2), table[2], c.secondExpected, "second");
}

INSTANTIATE_TEST_SUITE_P(Overlaps, PairTest,
                         ::testing::Values(PairCase{"TenMinutesNeitherPrioritaire",
                                                    Tonight("A", 20, 0, 21, 0),
                                                    Tonight("B", 20, 50, 22, 0),
                                                    false,
                                                    {March(4, 20, 0), March(4, 21, 0), 0, 0},
                                                    {March(4, 21, 0), March(4, 22, 0), 10, 0}},
                                           PairCase{"LaterOnePrioritaire",
                                                    Tonight("A", 20, 0, 21, 0),
                                                    Prio(Tonight("B", 20, 50, 22, 0)),
                                                    false,
                                                    {March(4, 20, 0), March(4, 20, 50), 0, 10},
                                                    {March(4, 20, 50), March(4, 22, 0), 0, 0}},
                                           PairCase{"EqualStartsLaterInTableRecords",
                                                    Tonight("A", 20, 0, 21, 0),
                                                    Tonight("B", 20, 0, 20, 30),
                                                    false,
                                                    {March(4, 20, 30), March(4, 21, 0), 30, 0},
                                                    {March(4, 20, 0), March(4, 20, 30), 0, 0}},
                                           PairCase{"EqualStartsOneOffFirstWithRepPrioritaire",
                                                    Tonight("A", 20, 0, 21, 0),
                                                    Nightly("B", 20, 0, 20, 30),
                                                    true,
                                                    {March(4, 20, 0), March(4, 21, 0), 0, 0},
                                                    kNone},
                                           PairCase{"EqualStartsOneOffSecondWithRepPrioritaire",
                                                    Nightly("A", 20, 0, 20, 30),
                                                    Tonight("B", 20, 0, 21, 0),
                                                    true,
                                                    kNone,
                                                    {March(4, 20, 0), March(4, 21, 0), 0, 0}},
                                           PairCase{"EqualStartsWithoutRepPrioritaireTableDecides",
                                                    Tonight("A", 20, 0, 21, 0),
                                                    Nightly("B", 20, 0, 20, 30),
                                                    false,
                                                    {March(4, 20, 30), March(4, 21, 0), 30, 0},
                                                    {March(4, 20, 0), March(4, 20, 30), 0, 0}},
                                           PairCase{"InsideAPrioritaireOne",
                                                    Prio(Tonight("A", 20, 0, 22, 0)),
                                                    Tonight("B", 20, 30, 21, 0),
                                                    false,
                                                    {March(4, 20, 0), March(4, 22, 0), 0, 0},
                                                    kNone},
                                           PairCase{"BackToBack",
                                                    Tonight("A", 20, 0, 21, 0),
                                                    Tonight("B", 21, 0, 22, 0),
                                                    false,
                                                    {March(4, 20, 0), March(4, 21, 0), 0, 0},
                                                    {March(4, 21, 0), March(4, 22, 0), 0, 0}}),
                         [](const ::testing::TestParamInfo<PairCase>& info) {
                             return std::string(info.param.name);
                         });

using OverlapTest = EngineFixture;

TEST_F(OverlapTest, PriorityIsOneWayAtEqualStarts)
{
    settings.RepPrioritaire = true;
    Add(Tonight("A", 20, 0, 21, 0));
    Add(Nightly("B", 20, 0, 20, 30));
    Add(Nightly("C", 20, 0, 20, 30));
    engine.ComputeNextStart();
    for (int a = 1; a <= 3; ++a)
        for (int b = 1; b <= 3; ++b)
            if (a != b) {
                EXPECT_NE(engine.HasPriorityOver(a, b), engine.HasPriorityOver(b, a))
                    << a << " against " << b;
            }
    EXPECT_TRUE(engine.HasPriorityOver(1, 2));
    EXPECT_TRUE(engine.HasPriorityOver(3, 2));
}

TEST_F(OverlapTest, ARecordMetBySeveralWinnersOverlapsNoneOfThem)
{
    // The window must start after the last end of the winners that began before it and end at
    // the first start of those that begin during it, whatever their order in the table.
    Add(Prio(Tonight("Long", 19, 0, 21, 30)));
    Add(Prio(Tonight("Short", 19, 30, 20, 30)));
    Add(Tonight("Loser", 20, 0, 22, 0));
    Add(Prio(Tonight("Sooner", 21, 40, 21, 50)));
    Add(Prio(Tonight("Later", 21, 45, 22, 30)));
    engine.PassA();
    EXPECT_EQ(Window(3).start, March(4, 21, 30));
    EXPECT_EQ(Window(3).end, March(4, 21, 40));
}

TEST_F(OverlapTest, LateStartBeginsNowAndShowsTheLostMinutes)
{
    Add(Tonight("Late", 11, 0, 13, 0));
    Add(Tonight("Evening", 20, 0, 21, 0));
    SetNow(March(4, 12, 5, 30));
    engine.PassA();
    engine.ComputeCutMinutes();
    EXPECT_EQ(Window(1).start, March(4, 12, 5, 30));
    EXPECT_EQ(Window(1).end, March(4, 13, 0));
    EXPECT_EQ(table[1].CutAtStart, 66); // 65 minutes 30 seconds, the started minute counting
    EXPECT_EQ(table[1].CutAtEnd, 0);
}

TEST_F(OverlapTest, RunningRecordingIsNotMovedToNow)
{
    Add(Tonight("Running", 11, 30, 12, 30));
    table[1].Etat = 1;
    table[1].DateStop = March(4);
    engine.PassA();
    EXPECT_EQ(Window(1).start, March(4, 11, 30));
    EXPECT_EQ(Window(1).end, March(4, 12, 30));
}

TEST_F(OverlapTest, MissedOneOffIsMarkedOverThenPurgedAfterItsEnd)
{
    // The program starts at 12:10: the winner took the tuner at 11:30, before "Missed" could start.
    settings.DelaiFin = Hm(0, 5);
    Add(Tonight("Missed", 11, 0, 12, 30));
    Add(Prio(Tonight("Winner", 11, 30, 13, 0)));
    SetNow(March(4, 12, 10));
    engine.PassA();
    EXPECT_TRUE(Window(1).IsNone());
    EXPECT_EQ(table[1].Etat, 3);
    EXPECT_EQ(table[1].DateStop, March(4));

    SetNow(March(4, 12, 34, 59));
    engine.PassA();
    ASSERT_EQ(table.Count(), 2);

    SetNow(March(4, 12, 35));
    engine.PassA();
    ASSERT_EQ(table.Count(), 1);
    EXPECT_EQ(table[1].Chaine, QStringLiteral("Winner"));
}

TEST_F(OverlapTest, MissedRepeatingOccurrenceWaitsForItsEndThenComesBack)
{
    settings.DelaiFin = Hm(0, 5);
    Add(Prio(Tonight("Winner", 20, 15, 22, 0)));
    Add(Nightly("Daily", 20, 0, 21, 0));
    SetNow(March(4, 20, 30));
    engine.PassA();
    EXPECT_EQ(table[2].Etat, 3);
    EXPECT_EQ(table[2].DateStop, March(4));
    EXPECT_TRUE(Window(2).IsNone());

    SetNow(March(4, 21, 4, 59));
    engine.PassA();
    EXPECT_EQ(table[2].Etat, 3);
    EXPECT_EQ(table[2].NextStart, March(4, 20, 0));

    SetNow(March(4, 21, 5));
    engine.PassA();
    EXPECT_EQ(table[2].Etat, 0);
    EXPECT_EQ(table[2].NextStart, March(5, 20, 0));
    EXPECT_EQ(Window(2).start, March(5, 20, 0));
    EXPECT_EQ(Window(2).end, March(5, 21, 5));
}

TEST(CutMinutesTest, CountsAStartedMinuteAsLost)
{
    const DateTime at = March(4, 20, 0);
    EXPECT_EQ(OverlapResolver::CutMinutes(at, at.AddMinutes(10)), 10);
    EXPECT_EQ(OverlapResolver::CutMinutes(at, at.AddSeconds(601)), 11);
    EXPECT_EQ(OverlapResolver::CutMinutes(at.AddMinutes(10), at), 10);
    EXPECT_EQ(OverlapResolver::CutMinutes(at, at.AddSeconds(1)), 1);
}

TEST_F(OverlapTest, ASingleRecordShowsNoCuts)
{
    Add(Tonight("Late", 11, 0, 13, 0));
    engine.PassA();
    engine.ComputeCutMinutes();
    EXPECT_EQ(Window(1).start, March(4, 12, 0));
    EXPECT_EQ(table[1].CutAtStart, 0);
}

// A daily recording 20:00 to 21:00 (or as given) loses its first minutes to a one-off Prioritaire one.
struct TruncationCase
{
    const char* name;
    int lengthMinutes;
    int cutMinutes;
    bool disabled;
};

class TruncationTest : public EngineFixture, public ::testing::WithParamInterface<TruncationCase>
{
};

TEST_P(TruncationTest, OneShotCommandDisablesHeavilyTruncatedOccurrences)
{
    const TruncationCase& c = GetParam();
    const DateTime start = Hm(20, 0);
    Add(Daily(QStringLiteral("Daily"), March(1), start, start.AddMinutes(c.lengthMinutes)));
    Add(Prio(OneOff(QStringLiteral("Winner"), March(4), Hm(19, 0), start.AddMinutes(c.cutMinutes))));

    engine.DeactivateHeavilyTruncated();
    EXPECT_EQ(table[1].InactifPro, c.disabled);
    EXPECT_EQ(table[1].DateStop, c.disabled ? March(4) : DateTime());
    EXPECT_FALSE(engine.TruncatedDeactivation());
    if (c.disabled) {
        EXPECT_TRUE(Window(1).IsNone());
        EXPECT_EQ(table[1].CutAtStart, 0); // not eligible any more, so no cut shown
    }
}

INSTANTIATE_TEST_SUITE_P(Overlaps, TruncationTest,
                         ::testing::Values(TruncationCase{"NineOutOfSixty", 60, 51, true},
                                           TruncationCase{"ThirtyFiveOutOfSixty", 60, 25, true},
                                           TruncationCase{"FortyFiveOutOfSixty", 60, 15, false},
                                           TruncationCase{"TenOutOfTwelve", 12, 2, false},
                                           TruncationCase{"NineOutOfTwelve", 12, 3, true},
                                           TruncationCase{"EntirelyCovered", 60, 70, true}),
                         [](const ::testing::TestParamInfo<TruncationCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(OverlapTest, HeavilyTruncatedRecordingsStayWithoutTheCommand)
{
    Add(Nightly("Daily", 20, 0, 21, 0));
    Add(Prio(Tonight("Winner", 19, 0, 20, 51)));
    engine.RecomputeSchedule();
    EXPECT_FALSE(table[1].InactifPro);
    EXPECT_EQ(table[1].CutAtStart, 51);
    EXPECT_EQ(Window(1).start, March(4, 20, 51));
}

TEST_F(OverlapTest, DisablingARecordFreesTheTimeItHeldInTheSecondRound)
{
    // "Cutter" is itself cut to five minutes by "Winner" and gets disabled; "Follower" then only
    // waits for "Winner".
    Add(Prio(Tonight("Winner", 19, 0, 20, 55)));
    Add(Prio(Nightly("Cutter", 20, 0, 21, 0)));
    Add(Tonight("Follower", 20, 50, 21, 30));
    engine.DeactivateHeavilyTruncated();
    EXPECT_TRUE(table[2].InactifPro);
    EXPECT_EQ(Window(3).start, March(4, 20, 55));
    EXPECT_EQ(table[3].CutAtStart, 5);
}

TEST_F(OverlapTest, ARecordWithoutOccurrenceIsNotDisabled)
{
    Add(Nightly("Daily", 20, 0, 21, 0));
    Add(Daily(QStringLiteral("Far"), At(2024, 9, 1), Hm(20, 0), Hm(21, 0)));
    engine.DeactivateHeavilyTruncated();
    EXPECT_TRUE(table[2].NextStart == DateTime::NoTime());
    EXPECT_FALSE(table[2].InactifPro);
    EXPECT_EQ(table[2].DateStop, DateTime());
    EXPECT_EQ(table[2].CutAtStart, -1);
}

} // namespace

// Every record of a crowded evening against every other, the rule read pair by pair: long
// recordings that began hours before, back-to-back ends, equal starts, starts a fraction of a
// second apart and priorities all have to give the same windows as looking at the whole table.
TEST_F(OverlapTest, ACrowdedEveningGivesTheWindowsOfTheWholeTable)
{
    settings.RepPrioritaire = true;
    for (int n = 0; n < 90; ++n) {
        const int start = 17 * 60 + (n * 37) % 300;
        const int length = n % 11 == 0 ? 240 + n : 5 + (n * 13) % 50;
        const int end = std::min(start + length, 23 * 60 + 59);
        TEmission e = n % 6 == 0 ? Nightly("R", start / 60, start % 60, end / 60, end % 60)
                                 : Tonight("O", start / 60, start % 60, end / 60, end % 60);
        e.Prioritaire = n % 4 == 0;
        if (n % 9 == 5) // less than the comparisons' tolerance later than a minute
            e.HeureDebut = DateTime(e.HeureDebut.Value() + 0.4 / DateTime::kMsPerDay);
        Add(e);
    }
    table[7].Actif = false;
    SetNow(March(4, 17, 30));
    engine.ComputeNextStart();
    const Occurrences occurrences = engine.CurrentOccurrences();
    const ScheduleTable before = table;
    engine.PassA();

    const DateTime now = March(4, 17, 30);
    std::vector<char> eligible(static_cast<std::size_t>(table.Count()) + 1);
    for (int i = 1; i <= table.Count(); ++i)
        eligible[static_cast<std::size_t>(i)] = before.IsEligible(i) && !before[i].NextStart.IsNoTime();
    int met = 0;
    for (int i = 1; i <= before.Count(); ++i) {
        SCOPED_TRACE(i);
        if (!eligible[static_cast<std::size_t>(i)]) {
            EXPECT_TRUE(Window(i).start.IsNoTime());
            continue;
        }
        const DateTime startI = before[i].NextStart;
        const DateTime endI = occurrences.OccurrenceEnd(before[i]);
        DateTime windowStart = startI;
        DateTime windowEnd = endI;
        for (int j = 1; j <= before.Count(); ++j) {
            if (j == i || !eligible[static_cast<std::size_t>(j)])
                continue;
            const DateTime startJ = before[j].NextStart;
            const DateTime endJ = occurrences.OccurrenceEnd(before[j]);
            const bool wins = OverlapResolver::HasPriorityOver(before, j, i, settings.RepPrioritaire);
            if (startJ <= startI && endJ >= startI && wins) {
                windowStart = std::max(windowStart, endJ);
                ++met;
            } else if (startJ > startI && startJ <= endI && wins) {
                windowEnd = std::min(windowEnd, startJ);
                ++met;
            }
        }
        windowStart = std::min(windowStart, windowEnd);
        if (before[i].Etat != 1 && windowStart < now)
            windowStart = now;
        if (!(windowEnd > now)) {
            EXPECT_EQ(table[i].Etat, 3);
            eligible[static_cast<std::size_t>(i)] = 0;
        }
        if (!(windowEnd > now) || windowEnd == windowStart) {
            EXPECT_TRUE(Window(i).start.IsNoTime());
        } else {
            EXPECT_EQ(Window(i).start, windowStart);
            EXPECT_EQ(Window(i).end, windowEnd);
        }
    }
    EXPECT_GT(met, 90); // the evening really is crowded
}
