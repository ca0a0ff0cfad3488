#include "../common/QtPrinters.h"
#include "RecordingEngineFixture.h"

#include "engine/RecordingFileName.h"
#include "viewer/ViewerIni.h"

using namespace quorx;
using namespace quorx::test;

namespace {

// The first viewer launch carrying a switch that starts with prefix, or nullptr.
const FakeLaunch* FirstWith(const QVector<FakeLaunch>& launches, const QString& prefix)
{
    for (const FakeLaunch& l : launches)
        for (const QString& a : l.arguments)
            if (a.startsWith(prefix))
                return &l;
    return nullptr;
}

struct LeadCase
{
    const char* name;
    int armedSecondsBefore;
    bool channelWait;
    int tuneLeadMs;   // how long before the window start the channel is tuned
    int recordLeadMs; // how long before the window start the viewer is told to record
};

class LeadTimeTest : public RecordingEngineFixture, public ::testing::WithParamInterface<LeadCase>
{
};

} // namespace

TEST_P(LeadTimeTest, ViewerIsToldAtTheLeadBeforeTheWindowStart)
{
    const LeadCase c = GetParam();
    settings.ChannelWaitRec = c.channelWait;
    settings.DelaiAtt = 20;
    AddToday(QStringLiteral("Arte"), Hm(13, 0), Hm(13, 30));
    const DateTime start = March(4, 13, 0);
    fake.clock.SetNow(start.AddSeconds(-c.armedSecondsBefore));
    schedule.RecomputeSchedule();
    RunUntil(start.AddSeconds(2));

    const QVector<FakeLaunch> launches = ViewerLaunches();
    const FakeLaunch* tune = FirstWith(launches, QStringLiteral("/CH:"));
    const FakeLaunch* record = FirstWith(launches, QStringLiteral("/StartRecord:"));
    ASSERT_NE(tune, nullptr);
    ASSERT_NE(record, nullptr);
    // One millisecond is the timers' own rounding up.
    EXPECT_NEAR(double(MsFrom(tune->when, start)), c.tuneLeadMs, 2.0);
    EXPECT_NEAR(double(MsFrom(record->when, start)), c.recordLeadMs, 2.0);
    EXPECT_EQ(table[1].Etat, 1);
}

INSTANTIATE_TEST_SUITE_P(Leads, LeadTimeTest,
                         ::testing::Values(LeadCase{"ThreeSecondsAhead", 3, false, 0, 0},
                                           LeadCase{"TenMinutesAhead", 600, false, 4000, 4000},
                                           LeadCase{"DelayedTuning", 600, true, 25000, 5000}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordingEngineFixture, ALateStartBeginsOneSecondAfterArming)
{
    AddToday(QStringLiteral("Arte"), Hm(11, 50), Hm(12, 30));
    const DateTime armed = fake.clock.Now();
    schedule.RecomputeSchedule();
    EXPECT_EQ(engine.TimerDebut().Interval(), 1001);
    RunUntil(armed.AddSeconds(3));
    const FakeLaunch* record = FirstWith(ViewerLaunches(), QStringLiteral("/StartRecord:"));
    ASSERT_NE(record, nullptr);
    EXPECT_NEAR(double(MsFrom(armed, record->when)), 1001.0, 2.0);
}

TEST(RecordingFileNameTest, PartsAreAddedToTheBaseInOrder)
{
    TEmission e;
    e.Chaine = QStringLiteral("France 2");
    e.Fichier = QStringLiteral("/video/Film.Pva");
    e.AjouterChaine = e.AjouterDate = e.AjouterHeure = true;
    RecordingFileName::Inputs in;
    in.now = DateTime::FromFields(2024, 3, 4, 20, 45, 10);
    in.ensureFolder = [](const QString&) { return true; };
    EXPECT_EQ(RecordingFileName::Build(e, in).path, QStringLiteral("/video/Film_France 2_04-03-2024_20-45.Pva"));
    in.sansAnnee = true;
    EXPECT_EQ(RecordingFileName::Build(e, in).path, QStringLiteral("/video/Film_France 2_04-03_20-45.Pva"));
}

TEST(RecordingFileNameTest, AnUnusableFolderFallsBackToTheProgramDrive)
{
    TEmission e;
    e.Fichier = QStringLiteral("Film.Pva");
    RecordingFileName::Inputs in;
    in.driveRoot = QStringLiteral("/data/");
    in.ensureFolder = [](const QString&) { return false; };
    RecordingFileName::Result r = RecordingFileName::Build(e, in);
    EXPECT_EQ(r.path, QStringLiteral("/data/Film.Pva"));
    EXPECT_EQ(r.fichier, QStringLiteral("/data/Film.Pva"));
    e.Fichier = QStringLiteral("/readonly/Film.Pva");
    r = RecordingFileName::Build(e, in);
    EXPECT_EQ(r.path, QStringLiteral("/data/Film.Pva"));
}

TEST(RecordingFileNameTest, NePasEcraserAddsNumbersUntilTheNameIsFree)
{
    TEmission e;
    e.Fichier = QStringLiteral("/video/Film.Pva");
    RecordingFileName::Inputs in;
    in.ensureFolder = [](const QString&) { return true; };
    QStringList present{QStringLiteral("/video/Film.Pva"), QStringLiteral("/video/Film_5.Pva")};
    in.exists = [&](const QString& p) { return present.contains(p); };
    QVector<int> numbers{5, 1023};
    in.random = [&] { return numbers.takeFirst(); };
    in.nePasEcraser = true;
    EXPECT_EQ(RecordingFileName::Build(e, in).path, QStringLiteral("/video/Film_5_1023.Pva"));
    in.nePasEcraser = false;
    EXPECT_EQ(RecordingFileName::Build(e, in).path, QStringLiteral("/video/Film.Pva"));
}

TEST(RecordingFileNameTest, ExtensionDecidesTheViewerFormat)
{
    struct Case
    {
        const char* fichier;
        int viewerRecType;
        bool changed;
        int newRecType;
        const char* path;
    };
    const Case cases[] = {
        {"/v/a.Pva", 0, true, 1, "/v/a.Pva"},  {"/v/a.mpa", 1, true, 2, "/v/a.mpa"},
        {"/v/a.ts", 1, true, 0, "/v/a.ts"},    {"/v/a.PVA", 1, false, -1, "/v/a.PVA"},
        {"/v/a", 2, false, -1, "/v/a.Mpa"},
    };
    for (const Case& c : cases) {
        TEmission e;
        e.Fichier = QString::fromLatin1(c.fichier);
        RecordingFileName::Inputs in;
        in.viewerRecType = c.viewerRecType;
        in.ensureFolder = [](const QString&) { return true; };
        const RecordingFileName::Result r = RecordingFileName::Build(e, in);
        EXPECT_EQ(r.formatChanged, c.changed) << c.fichier;
        EXPECT_EQ(r.newRecType, c.newRecType) << c.fichier;
        EXPECT_EQ(r.path, QString::fromLatin1(c.path)) << c.fichier;
    }
}

TEST_F(RecordingEngineFixture, AFormatChangeStopsAndClosesARunningViewerBeforeTuning)
{
    WriteRecType(0);
    fake.processes.Launch(viewerControl.Executable(), {}, ViewerFolder(), ShowState::Normal, false);
    AddToday(QStringLiteral("Arte"), Hm(12, 0, 30), Hm(12, 30));
    schedule.RecomputeSchedule();
    RunUntil(March(4, 12, 1));

    const QVector<FakeLaunch> launches = ViewerLaunches();
    ASSERT_GE(launches.size(), 4);
    EXPECT_EQ(launches[1].arguments, QStringList{QStringLiteral("/StopRecord")});
    EXPECT_EQ(launches[2].arguments, QStringList{QStringLiteral("/Exit")});
    EXPECT_NEAR(double(MsFrom(launches[1].when, launches[2].when)), 3000.0, 1.0);
    EXPECT_TRUE(launches[3].arguments.first().startsWith(QStringLiteral("/CH:")));
    EXPECT_EQ(ViewerIni::RecType(ViewerFolder()), 1);
}

TEST_F(RecordingEngineFixture, ACompleteRecordingIsJournalledWithItsSizeAndAddsToTotalGo)
{
    viewer->SetRateKiBPerSecond(1024);
    AddToday(QStringLiteral("Arte"), Hm(12, 10), Hm(12, 30));
    schedule.RecomputeSchedule();
    RunUntil(March(4, 12, 40));

    const QVector<JournalLine> lines = Journal();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].event, Text(JournalWriter::RecordingStarted));
    EXPECT_EQ(lines[1].event, Text(JournalWriter::RecordingEnded));
    EXPECT_EQ(lines[1].program, QStringLiteral("Arte news - Arte"));
    // 20 minutes and 4 seconds of lead at 1 MiB/s.
    EXPECT_EQ(lines[1].comment, QStringLiteral("1204"));
    EXPECT_EQ(settings.TotalGo, 1);
    EXPECT_EQ(table.Count(), 0) << "the one-off recording leaves the list once over";
    EXPECT_FALSE(engine.RecordingFlag());
}

TEST_F(RecordingEngineFixture, StoppingEarlyAsksToCloseAndToDeleteTheFile)
{
    AddToday(QStringLiteral("Arte"), Hm(12, 10), Hm(12, 30));
    schedule.RecomputeSchedule();
    RunUntil(March(4, 12, 20));
    ASSERT_TRUE(engine.RecordingFlag());
    const QString file = engine.CurrentFile();
    presenter.ScriptNo();  // keep the viewer open
    presenter.ScriptYes(); // delete the file
    engine.CStopClick();

    ASSERT_EQ(presenter.Requests().size(), 2);
    EXPECT_EQ(presenter.Requests()[0].number, 5);
    EXPECT_EQ(presenter.Requests()[1].number, 0);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(table[1].Etat, 3);
    EXPECT_TRUE(viewer->Running()) << "the answer no keeps the viewer open";
    EXPECT_EQ(JournalEvents().last(), Text(JournalWriter::RecordingEnded));
}

TEST_F(RecordingEngineFixture, ErrorDetectionRestartsTwiceThenFails)
{
    viewer->SetMode(SimulatedViewer::Mode::Silent);
    AddToday(QStringLiteral("Arte"), Hm(12, 10), Hm(12, 30));
    schedule.RecomputeSchedule();
    RunUntil(March(4, 12, 15));

    const QStringList events = JournalEvents();
    EXPECT_EQ(events.count(Text(JournalWriter::RecordingStarted)), 3);
    EXPECT_EQ(events.count(Text(JournalWriter::ErrorDetected)), 2);
    EXPECT_EQ(events.count(Text(JournalWriter::RecordingFailed)), 1);
    EXPECT_EQ(events.count(Text(JournalWriter::RecordingEnded)), 0);
    ASSERT_EQ(table.Count(), 1);
    EXPECT_EQ(table[1].Etat, 3);
    EXPECT_TRUE(table[1].Erreur);
    EXPECT_EQ(settings.JournalError, 1);
    EXPECT_FALSE(QFile::exists(engine.CurrentFile())) << "the empty file is deleted without asking";
    EXPECT_EQ(presenter.Requests().size(), 0);
}

TEST_F(RecordingEngineFixture, NoRestartWhenLessThanTwoMinutesRemain)
{
    viewer->SetMode(SimulatedViewer::Mode::Silent);
    AddToday(QStringLiteral("Arte"), Hm(12, 10), Hm(12, 11));
    schedule.RecomputeSchedule();
    RunUntil(March(4, 12, 15));
    const QStringList events = JournalEvents();
    EXPECT_EQ(events.count(Text(JournalWriter::ErrorDetected)), 0);
    EXPECT_EQ(events.count(Text(JournalWriter::RecordingFailed)), 1);
}

TEST_F(RecordingEngineFixture, AViewerClosedByTheUserEndsTheRecordingWithinASecond)
{
    AddToday(QStringLiteral("Arte"), Hm(12, 10), Hm(12, 30));
    schedule.RecomputeSchedule();
    RunUntil(March(4, 12, 11));
    viewer->CloseByUser();
    const DateTime closed = fake.clock.Now();
    RunUntil(closed.AddSeconds(1.1));
    EXPECT_FALSE(engine.RecordingFlag());
    const QStringList events = JournalEvents();
    ASSERT_GE(events.size(), 2);
    EXPECT_EQ(events[1], Text(JournalWriter::ViewerClosedOutside));
    EXPECT_EQ(table[1].Etat, 3);
    // No close question for a viewer that is gone; only the question whether to delete the
    // interrupted file, which has grown for a minute.
    ASSERT_EQ(presenter.Requests().size(), 1);
    EXPECT_EQ(presenter.Requests()[0].number, 0);
}

TEST_F(RecordingEngineFixture, AClockSetForwardPastTheEndEndsTheRecordingAtOnce)
{
    AddToday(QStringLiteral("Arte"), Hm(12, 10), Hm(12, 30));
    schedule.RecomputeSchedule();
    RunUntil(March(4, 12, 11));
    ASSERT_TRUE(engine.RecordingFlag());
    fake.timers.SetNow(March(4, 13, 0));
    engine.ClockChanged();
    EXPECT_FALSE(engine.RecordingFlag());
    EXPECT_TRUE(JournalEvents().contains(Text(JournalWriter::RecordingEnded)));
    EXPECT_FALSE(engine.TimerFin().Enabled());
}

TEST_F(RecordingEngineFixture, ARecordingPastMidnightIsJudgedAgainstItsRealEnd)
{
    fake.clock.SetNow(March(4, 23, 0));
    TEmission e = OneOff(QStringLiteral("Arte"), March(4), Hm(23, 30), Hm(0, 30));
    e.Fichier = VideoFolder() + QStringLiteral("/Night.Pva");
    table.Append(e);
    schedule.RecomputeSchedule();
    RunUntil(March(5, 0, 10));
    presenter.ScriptNo(); // keep the file
    engine.CStopClick();  // the close question is answered by default
    ASSERT_EQ(table.Count(), 1);
    EXPECT_EQ(table[1].Etat, 3) << "stopped twenty minutes before its end on the next day";
    EXPECT_EQ(settings.TotalGo, 0);
}

namespace {
struct CloseCase
{
    const char* name;
    int nextGapSeconds; // from the end of the first recording to the start of the next; -1 none
    int delaiArretMinutes;
    bool forcerRedem;
    bool closes;
};
class CloseRuleTest : public RecordingEngineFixture, public ::testing::WithParamInterface<CloseCase>
{
};
} // namespace

TEST_P(CloseRuleTest, ViewerClosesOnlyWhenTheNextRecordingIsFarEnough)
{
    const CloseCase c = GetParam();
    settings.DelaiArret = DateTime::FromTime(0, c.delaiArretMinutes);
    settings.ForcerRedem = c.forcerRedem;
    const int first = AddToday(QStringLiteral("Arte"), Hm(12, 10), Hm(12, 20));
    table[first].Fermer = true;
    if (c.nextGapSeconds >= 0) {
        const DateTime start = Hm(12, 20).AddSeconds(c.nextGapSeconds);
        AddToday(QStringLiteral("TF1"), start, start.AddMinutes(30));
    }
    schedule.RecomputeSchedule();
    RunUntil(March(4, 12, 20, 5));
    const bool exited = FirstWith(ViewerLaunches(), QStringLiteral("/Exit")) != nullptr;
    EXPECT_EQ(exited, c.closes);
    EXPECT_EQ(JournalEvents().contains(Text(JournalWriter::ViewerClosed)), c.closes);
}

INSTANTIATE_TEST_SUITE_P(Rules, CloseRuleTest,
                         ::testing::Values(CloseCase{"NoNext", -1, 15, false, true},
                                           CloseCase{"NextFar", 3600, 15, false, true},
                                           CloseCase{"NextNearWithinDelaiArret", 120, 15, false, false},
                                           CloseCase{"NextNearBeyondDelaiArret", 120, 1, false, true},
                                           CloseCase{"NextNearForced", 120, 15, true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordingEngineFixture, ShorteningARunningRecordingAsksAndMovesTheEnd)
{
    const int i = AddToday(QStringLiteral("Arte"), Hm(12, 10), Hm(12, 40));
    schedule.RecomputeSchedule();
    RunUntil(March(4, 12, 15));
    table[i].HeureFin = Hm(12, 30);
    presenter.ScriptYes();
    schedule.RecomputeSchedule();
    ASSERT_EQ(presenter.Requests().size(), 1);
    EXPECT_EQ(presenter.Requests()[0].number, 3);
    EXPECT_EQ(engine.PlannedEnd(), March(4, 12, 30));
    RunUntil(March(4, 12, 31));
    EXPECT_FALSE(engine.RecordingFlag());
}

TEST_F(RecordingEngineFixture, SwitchedOffPassesTheOccurrenceOverWithoutTheViewer)
{
    AddToday(QStringLiteral("Arte"), Hm(12, 10), Hm(12, 30));
    TEmission daily = Daily(QStringLiteral("TF1"), March(4), Hm(13, 0), Hm(13, 30));
    daily.Fichier = VideoFolder() + QStringLiteral("/Daily.Pva");
    table.Append(daily);
    engine.SetRecordingSwitchedOn(false);
    RunUntil(March(4, 12, 11));
    EXPECT_TRUE(ViewerLaunches().isEmpty());
    EXPECT_TRUE(JournalEvents().isEmpty());
    EXPECT_EQ(table[1].Etat, 3);
    EXPECT_EQ(presenter.Requests().size(), 0);
}

TEST(RecordingCountdownTest, DurationTexts)
{
    struct Case
    {
        int h, m;
        const char16_t* text;
    };
    const Case cases[] = {
        {0, 1, u"moins d'une minute "}, {0, 7, u"7 minutes "},       {1, 0, u"1 heure "},
        {1, 1, u"1 heure et 1 minute "}, {2, 0, u"2 heures "},       {3, 25, u"3 heures et 25 minutes "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RecordingCountdown::DurationText(c.h, c.m), QString::fromUtf16(c.text)) << c.h << ":" << c.m;
}

TEST(RecordingCountdownTest, StartTextColourFollowsTheMinutesLeft)
{
    const DateTime now = March(4, 12, 0);
    StatusTextColour colour;
    EXPECT_EQ(RecordingCountdown::StartText(now, now.AddMinutes(30), &colour),
              QStringLiteral("Enregistrement prévu dans 31 minutes "));
    EXPECT_EQ(colour, StatusTextColour::Black);
    RecordingCountdown::StartText(now, now.AddMinutes(7), &colour);
    EXPECT_EQ(colour, StatusTextColour::Orange);
    RecordingCountdown::StartText(now, now.AddMinutes(3), &colour);
    EXPECT_EQ(colour, StatusTextColour::Red);
    EXPECT_TRUE(RecordingCountdown::StartText(now, now.AddDays(1), &colour).isEmpty());
    EXPECT_EQ(RecordingCountdown::EndText(now, now.AddSeconds(61)),
              QStringLiteral("Fin de l'enregistrement prévue dans 2 minutes "));
}

namespace {
// Two overlapping recordings: Arte from 12:10 to 12:20, then TF1, planned from 12:15 but cut to
// begin where Arte ends.
class TakeOverTest : public RecordingEngineFixture
{
protected:
    int AddTakeOver(bool closeFirst)
    {
        const int first = AddToday(QStringLiteral("Arte"), Hm(12, 10), Hm(12, 20));
        const int second = AddToday(QStringLiteral("TF1"), Hm(12, 15), Hm(12, 30));
        table[first].Fermer = closeFirst;
        return table[second].RecordId;
    }
};
} // namespace

TEST_F(TakeOverTest, TheEndOfARecordingKeepsItsOwnFileWhenTheNextTakesOver)
{
    viewer->SetRateKiBPerSecond(1024);
    AddTakeOver(false);
    struct Handed
    {
        QString title;
        QString file;
        bool nextStarted;
    };
    QVector<Handed> handed;
    RecordingHooks hooks;
    hooks.afterRecording = [&](const TEmission& ended, const QString& file, bool) {
        handed.append(
            {ended.Title(), file, FirstWith(ViewerLaunches(), QStringLiteral("/CH:TF1")) != nullptr});
    };
    engine.SetHooks(hooks);
    schedule.RecomputeSchedule();
    RunUntil(March(4, 12, 21));

    const QVector<JournalLine> lines = Journal();
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0].event, Text(JournalWriter::RecordingStarted));
    EXPECT_EQ(lines[1].event, Text(JournalWriter::RecordingEnded));
    EXPECT_EQ(lines[1].program, QStringLiteral("Arte news - Arte"));
    EXPECT_EQ(lines[1].file, lines[0].file);
    // Ten minutes and four seconds of lead at 1 MiB/s.
    EXPECT_EQ(lines[1].comment, QStringLiteral("604"));
    EXPECT_EQ(lines[2].event, Text(JournalWriter::RecordingStarted));
    EXPECT_EQ(lines[2].program, QStringLiteral("TF1 news - TF1"));
    EXPECT_NE(lines[2].file, lines[0].file);

    ASSERT_EQ(handed.size(), 1);
    EXPECT_EQ(handed[0].title, QStringLiteral("Arte news - Arte"));
    EXPECT_EQ(handed[0].file, lines[0].file) << "the after-recording command runs on the ended file";
    EXPECT_FALSE(handed[0].nextStarted) << "the next recording starts once this end is dealt with";
    EXPECT_TRUE(engine.RecordingFlag());
}

namespace {
struct InterruptCase
{
    const char* name;
    bool sounds;
    int afterEndMs; // when the recomputation comes, counted from the planned end
};
class EndInterruptedTest : public TakeOverTest, public ::testing::WithParamInterface<InterruptCase>
{
};
} // namespace

// A list command or the refresh timer may recompute the schedule while the end handler beeps or
// waits for the viewer; the recording armed by that pass must not start inside it, nor take the
// outcome of the one that ends.
TEST_P(EndInterruptedTest, TheNextRecordingWaitsUntilTheEndIsDealtWith)
{
    const InterruptCase c = GetParam();
    settings.SignalSonoreInterface = c.sounds;
    viewer->SetRateKiBPerSecond(1024);
    settings.ForcerRedem = true;
    const int secondId = AddTakeOver(true);
    std::unique_ptr<Timer> listCommand = fake.timers.CreateTimer(QStringLiteral("listCommand"));
    listCommand->SetHandler([&] {
        listCommand->SetEnabled(false);
        schedule.RecomputeSchedule();
    });
    schedule.RecomputeSchedule();
    RunUntil(March(4, 12, 20));
    listCommand->SetInterval(c.afterEndMs);
    listCommand->SetEnabled(true);
    RunUntil(March(4, 12, 22));

    const QVector<JournalLine> lines = Journal();
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[1].event, Text(JournalWriter::RecordingEnded));
    EXPECT_EQ(lines[1].program, QStringLiteral("Arte news - Arte"));
    EXPECT_EQ(lines[1].file, lines[0].file);
    EXPECT_EQ(lines[1].comment, QStringLiteral("604"));
    EXPECT_EQ(lines[2].event, Text(JournalWriter::ViewerClosed));
    EXPECT_EQ(lines[3].event, Text(JournalWriter::RecordingStarted));
    EXPECT_EQ(lines[3].program, QStringLiteral("TF1 news - TF1"));

    // The viewer closed for the first recording is not closed again under the second one.
    const QVector<FakeLaunch> launches = ViewerLaunches();
    const FakeLaunch* tune = FirstWith(launches, QStringLiteral("/CH:TF1"));
    ASSERT_NE(tune, nullptr);
    for (const FakeLaunch& l : launches) {
        if (l.arguments.contains(QStringLiteral("/Exit"))) {
            EXPECT_GT(MsFrom(l.when, tune->when), 0) << "an /Exit after the second was tuned";
        }
    }
    EXPECT_TRUE(viewer->Running());
    EXPECT_TRUE(engine.RecordingFlag());
    EXPECT_EQ(engine.CurrentId(), secondId);
    ASSERT_EQ(table.FindById(secondId), 1);
    EXPECT_EQ(table[1].Etat, 1);
}

INSTANTIATE_TEST_SUITE_P(Moments, EndInterruptedTest,
                         ::testing::Values(InterruptCase{"DuringTheBeeps", true, 100},
                                           InterruptCase{"DuringTheViewerWait", false, 1000}),
                         [](const auto& info) { return std::string(info.param.name); });
