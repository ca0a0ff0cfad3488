#include "PowerFixture.h"

#include "power/ForbidWindow.h"
#include "power/UnattendedQuestionPresenter.h"

namespace quorx::test {
namespace {

class PowerManagerTest : public PowerFixture
{
};

TEST_F(PowerManagerTest, EachBusyConditionRefusesTheTestsOfItsRow)
{
    struct Row
    {
        const char* name;
        std::function<void(PowerManagerTest&)> make;
        bool full, after, idle, sessionEnd; // true: permitted
    };
    const Row rows[] = {
        {"nothing busy", [](PowerManagerTest&) {}, true, true, true, true},
        {"guide acquisition", [](PowerManagerTest& t) { t.m_engine.guide = true; }, false, true, false,
         false},
        {"manual stop timer", [](PowerManagerTest& t) { t.m_engine.manualStop = true; }, false, false, false,
         false},
        {"command line running", [](PowerManagerTest& t) { t.m_engine.commands = 1; }, false, true, false,
         false},
        {"prevent toggle down", [](PowerManagerTest& t) { t.m_power.ClickPrevent(true); }, false, false,
         false, true},
        {"start armed 10 minutes away", [](PowerManagerTest& t) { t.m_engine.start = At(1, 10, 10); }, false,
         false, true, false},
        {"start armed 10 minutes ago", [](PowerManagerTest& t) { t.m_engine.start = At(1, 9, 50); }, false,
         false, true, false},
        {"recording under way", [](PowerManagerTest& t) { t.m_engine.recording = true; }, false, false, true,
         false},
        {"delayed start pending", [](PowerManagerTest& t) { t.m_engine.delayedStart = true; }, false, false,
         true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        m_engine = FakeActivity();
        m_power.ClickPrevent(false);
        row.make(*this);
        EXPECT_EQ(m_power.SuspendPermitted(), row.full);
        EXPECT_EQ(m_power.SuspendPermittedAfterRecording(), row.after);
        EXPECT_EQ(m_power.IdleTest(), row.idle);
        EXPECT_EQ(m_power.SessionEndPermitted(), row.sessionEnd);
    }
}

TEST_F(PowerManagerTest, DistanceToTheNextStartAgainstDelaiArret)
{
    struct Case
    {
        int secondsAway;
        bool permitted;
    };
    // DelaiArret 00:15; equality refuses.
    const Case cases[] = {{14 * 60, false}, {15 * 60, false}, {15 * 60 + 1, true}, {16 * 60, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.secondsAway);
        m_engine.start = m_fake.clock.Now().AddSeconds(c.secondsAway);
        EXPECT_EQ(m_power.SuspendPermitted(), c.permitted);
        EXPECT_EQ(m_power.SessionEndPermitted(), c.permitted);
    }
}

TEST_F(PowerManagerTest, SleepNoticeFourteenMinutesBeforeARecordingKeepsTheViewer)
{
    m_engine.start = At(1, 10, 14);
    m_fake.power.RaisePrepareForSleep(true);

    EXPECT_EQ(m_engine.suspendPreparations, 0);
    EXPECT_EQ(m_journal.events, QStringList{QStringLiteral("Début de veille ou de veille prolongée")});
    EXPECT_FALSE(m_fake.power.DelayLockHeld()) << "the system must not be held up";
    EXPECT_TRUE(m_fake.power.SuspendVetoWanted());
}

TEST_F(PowerManagerTest, SleepNoticeSixteenMinutesBeforeClosesTheViewerFirst)
{
    m_engine.start = At(1, 10, 16);
    MakeClock();
    m_clock3->Start();
    bool delayHeldWhilePreparing = false;
    m_engine.onPrepareForSuspend = [this, &delayHeldWhilePreparing] {
        delayHeldWhilePreparing = m_fake.power.DelayLockHeld();
        m_journal.events << QStringLiteral("Fermeture de Zomvara");
    };
    m_fake.power.RaisePrepareForSleep(true);

    EXPECT_EQ(m_engine.suspendPreparations, 1);
    EXPECT_TRUE(delayHeldWhilePreparing);
    EXPECT_EQ(m_journal.events, (QStringList{QStringLiteral("Fermeture de Zomvara"),
                                             QStringLiteral("Début de veille ou de veille prolongée")}));
    EXPECT_FALSE(m_fake.power.DelayLockHeld());
    EXPECT_FALSE(m_clock3->Running()) << "Timer3 stops with the other scheduling timers";
}

TEST_F(PowerManagerTest, UnarmedScheduleIsRecomputedBeforeEveryTestButTheIdleOne)
{
    m_engine.armed = false;
    m_power.IdleTest();
    EXPECT_EQ(m_engine.powerPasses, 0);
    m_power.SuspendPermitted();
    EXPECT_EQ(m_engine.powerPasses, 1);
    m_power.SuspendPermitted();
    EXPECT_EQ(m_engine.powerPasses, 1) << "armed again by the pass";
    m_engine.armed = false;
    m_power.SessionEndPermitted();
    m_engine.armed = false;
    m_power.SuspendPermittedAfterRecording();
    EXPECT_EQ(m_engine.powerPasses, 3);
    EXPECT_EQ(m_engine.fullPasses, 0);
}

TEST_F(PowerManagerTest, ToggleDownRefusesSuspendButNotSessionEnd)
{
    m_power.ClickPrevent(true);
    EXPECT_FALSE(m_power.SuspendPermitted());
    EXPECT_TRUE(m_fake.power.SuspendVetoHeld());

    m_power.SetPendingAction(PowerAction::Standby);
    m_fake.power.RaisePrepareForShutdown(true);
    EXPECT_EQ(m_power.PendingAction(), PowerAction::None) << "an accepted session end drops the action";
    EXPECT_FALSE(m_power.RetryTimerRunning());
    EXPECT_FALSE(m_fake.power.DelayLockHeld());

    // Something else busy: the session end is refused and the pending action kept.
    m_fake.power.RaisePrepareForShutdown(false);
    m_engine.recording = true;
    m_power.SetPendingAction(PowerAction::Standby);
    m_fake.power.RaisePrepareForShutdown(true);
    EXPECT_EQ(m_power.PendingAction(), PowerAction::Standby);
}

TEST_F(PowerManagerTest, WakeTimerThreeMinutesBeforeTheWakeInstant)
{
    struct Case
    {
        const char* name;
        DateTime wake;
        bool switchedOn;
        DateTime expected; // NoTime: cancelled
    };
    const Case cases[] = {
        {"later wake", At(1, 12, 0), true, At(1, 11, 57)},
        {"wake in the past", At(1, 9, 0), true, At(1, 10, 3)},
        {"wake two minutes away", At(1, 10, 2), true, At(1, 10, 3)},
        {"nothing to wake for", DateTime::NoTime(), true, DateTime::NoTime()},
        {"recording switched off", At(1, 12, 0), false, DateTime::NoTime()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_power.SetWakeTimer(At(1, 20, 0));
        m_engine.switchedOn = c.switchedOn;
        m_power.FollowNextWake(c.wake);
        EXPECT_EQ(m_fake.power.WakeTimerInstant(), c.expected);
    }
    m_power.SetWakeTimer(At(1, 9, 59));
    EXPECT_EQ(m_fake.power.WakeTimerInstant(), At(1, 10, 3)) << "an instant not later than now";
    EXPECT_EQ(m_fake.power.CallsOf(FakePowerOp::SetWakeTimer).back().instant, At(1, 10, 3));
}

TEST_F(PowerManagerTest, TwoInstancesOneRecording)
{
    bool otherRecording = true;
    m_fake.peers.AddPeer(QStringLiteral("other"), [&otherRecording] { return !otherRecording; });

    m_power.PowerSavingModeNow();
    EXPECT_EQ(Count(FakePowerOp::Hibernate) + Count(FakePowerOp::Suspend), 0);
    ASSERT_EQ(m_presenter.Requests().size(), 1);
    const QuestionRequest& notice = m_presenter.LastRequest();
    EXPECT_EQ(notice.kind, QuestionKind::Inform);
    EXPECT_FALSE(notice.offerBox);
    EXPECT_EQ(notice.CountdownMs(), 30000);
    EXPECT_EQ(notice.text, Ls(141));

    // This instance answers its peers with its own test.
    m_engine.recording = true;
    EXPECT_FALSE(m_fake.peers.AnswerForThisInstance());
    m_engine.recording = false;
    EXPECT_TRUE(m_fake.peers.AnswerForThisInstance());

    otherRecording = false;
    m_presenter.ScriptYes();
    m_power.PowerSavingModeNow();
    EXPECT_EQ(Count(FakePowerOp::Hibernate), 1);
    EXPECT_EQ(m_journal.events.back(), QStringLiteral("Mise en veille prolongée du micro-ordinateur"));
}

TEST_F(PowerManagerTest, PowerSavingModeFallsBackToStandbyThenNothing)
{
    m_fake.power.SetAllowed(true, false);
    m_presenter.ScriptYes();
    m_power.PowerSavingModeNow();
    EXPECT_EQ(Count(FakePowerOp::Suspend), 1);
    EXPECT_EQ(Count(FakePowerOp::Hibernate), 0);

    m_fake.power.SetAllowed(false, false);
    m_power.PowerSavingModeNow();
    EXPECT_EQ(m_presenter.Requests().size(), 1) << "nothing is asked when neither is allowed";
    EXPECT_EQ(m_presenter.Unexpected(), 0);
}

TEST_F(PowerManagerTest, UnansweredQuestionsTakeTheirDefaults)
{
    UnattendedQuestionPresenter nobody(m_fake.timers);
    Questions questions(nobody, m_settings, m_fake.View(), m_dir.filePath(QStringLiteral("Config.Ini")));
    EventList journal;
    // The manager under test owns the backend's handlers; a second one on other fakes.
    FakePowerBackend power(m_fake.clock);
    FakeInstancePeers peers;
    PowerManager manager(m_settings, m_fake.clock, m_fake.timers, power, peers, questions, &journal,
                         m_engine);

    const qint64 before = m_fake.clock.ElapsedMs();
    EXPECT_FALSE(manager.Standby());
    EXPECT_FALSE(manager.Hibernate());
    EXPECT_GE(m_fake.clock.ElapsedMs() - before, 60000) << "each question waited out its countdown";
    EXPECT_TRUE(power.CallsOf(FakePowerOp::Suspend).isEmpty());
    EXPECT_TRUE(power.CallsOf(FakePowerOp::Hibernate).isEmpty());
    EXPECT_TRUE(journal.events.isEmpty());

    manager.ShutDown();
    EXPECT_EQ(power.CallsOf(FakePowerOp::PowerOff).size(), 1);
    EXPECT_EQ(journal.events, QStringList{QStringLiteral("Arrêt du micro-ordinateur")});
}

TEST_F(PowerManagerTest, PendingActionRetriedEveryTwentySecondsUntilThePeersAgree)
{
    bool otherAgrees = false;
    m_fake.peers.AddPeer(QStringLiteral("other"), [&otherAgrees] { return otherAgrees; });
    m_presenter.ScriptYes();
    const DateTime start = m_fake.clock.Now();

    m_power.SetPendingAction(PowerAction::Standby);
    EXPECT_EQ(m_power.RetryInterval(), 20000);
    m_fake.timers.RunFor(65000);
    EXPECT_EQ(Count(FakePowerOp::Suspend), 0);
    EXPECT_EQ(m_fake.peers.QueriesAsked(), 3);
    EXPECT_TRUE(m_power.RetryTimerRunning());

    otherAgrees = true;
    m_fake.timers.RunFor(60000);
    ASSERT_EQ(Count(FakePowerOp::Suspend), 1);
    EXPECT_EQ(m_fake.power.CallsOf(FakePowerOp::Suspend).front().when, start.AddSeconds(80));
    EXPECT_FALSE(m_power.RetryTimerRunning());
    EXPECT_EQ(m_power.PendingAction(), PowerAction::None);
    EXPECT_EQ(m_journal.events, QStringList{QStringLiteral("Mise en veille du micro-ordinateur")});
}

TEST_F(PowerManagerTest, ResumeDropsThePendingActionAndWaitsBeforeRecomputing)
{
    MakeClock();
    m_clock3->Start();
    m_power.SetPendingAction(PowerAction::ShutDown);
    m_fake.power.RaisePrepareForSleep(true);
    ASSERT_FALSE(m_clock3->Running());

    m_fake.power.RaisePrepareForSleep(false);
    EXPECT_FALSE(m_engine.armed);
    EXPECT_EQ(m_power.PendingAction(), PowerAction::None);
    EXPECT_FALSE(m_power.RetryTimerRunning());
    EXPECT_EQ(m_engine.resumeRefreshes, 1);
    EXPECT_EQ(m_journal.events.back(), QStringLiteral("Retour de veille ou de veille prolongée"));

    const int nudges = Count(FakePowerOp::KeepAwakeNudge);
    m_power.ResumeWaitOver();
    EXPECT_EQ(Count(FakePowerOp::KeepAwakeNudge), nudges + 1);
    EXPECT_TRUE(m_clock3->Running());
}

TEST_F(PowerManagerTest, PreventToggleByHandAndByCode)
{
    ASSERT_TRUE(m_settings.AutoForbidSuspend);
    m_power.PressVetoAutomatically(true);
    EXPECT_TRUE(m_power.PreventDown());
    EXPECT_TRUE(m_settings.AutoForbidSuspend) << "a change by code keeps Cauto";
    EXPECT_TRUE(m_power.TrayNosuspendChecked());
    EXPECT_EQ(m_power.PreventGlyphMargin(), 0);

    m_power.ClickPrevent(false);
    EXPECT_FALSE(m_settings.AutoForbidSuspend) << "a click by hand unticks Cauto";
    EXPECT_FALSE(m_power.TrayNosuspendChecked());
    EXPECT_EQ(m_power.PreventGlyphMargin(), 5);

    m_power.PressVetoAutomatically(true);
    EXPECT_FALSE(m_power.PreventDown()) << "no automatic press without Cauto";

    m_power.TrayNosuspendClick(true);
    EXPECT_TRUE(m_power.PreventDown());
    EXPECT_TRUE(m_fake.power.SuspendVetoHeld());
}

TEST_F(PowerManagerTest, BlockInhibitorFollowsTheSuspendTest)
{
    MakeClock();
    m_engine.start = At(1, 10, 30);
    m_clock3->Start();
    EXPECT_FALSE(m_fake.power.SuspendVetoHeld());

    m_fake.timers.RunUntil(At(1, 10, 14, 58));
    EXPECT_FALSE(m_fake.power.SuspendVetoHeld());
    m_fake.timers.RunUntil(At(1, 10, 15, 1));
    EXPECT_TRUE(m_fake.power.SuspendVetoHeld()) << "15 minutes before the start";

    // The recording starts, runs and ends; the block lasts until the next tick after the end.
    m_fake.timers.RunUntil(At(1, 10, 30));
    m_engine.start = DateTime::NoTime();
    m_engine.recording = true;
    m_fake.timers.RunUntil(At(1, 11, 0));
    EXPECT_TRUE(m_fake.power.SuspendVetoHeld());
    m_engine.recording = false;
    m_fake.timers.RunUntil(At(1, 11, 0, 2));
    EXPECT_FALSE(m_fake.power.SuspendVetoHeld());
    EXPECT_LE(Count(FakePowerOp::SetSuspendVeto), 3) << "the system is told only of changes";
}

TEST(ForbidWindowTest, InsideTheDailyWindow)
{
    struct Case
    {
        int startH, startM, endH, endM, nowH, nowM, nowS;
        bool inside;
    };
    const Case cases[] = {
        {22, 0, 6, 0, 23, 30, 0, true}, {22, 0, 6, 0, 5, 0, 0, true},    {22, 0, 6, 0, 6, 0, 0, true},
        {22, 0, 6, 0, 6, 0, 30, false}, {22, 0, 6, 0, 12, 0, 0, false},  {22, 0, 6, 0, 21, 59, 59, false},
        {8, 0, 17, 0, 8, 0, 0, true},   {8, 0, 17, 0, 7, 59, 0, false},  {8, 0, 17, 0, 17, 0, 0, true},
        {8, 0, 17, 0, 17, 0, 1, false}, {12, 0, 12, 0, 12, 0, 0, false}, {0, 0, 0, 0, 0, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1:%2-%3:%4 at %5:%6:%7")
                         .arg(c.startH)
                         .arg(c.startM)
                         .arg(c.endH)
                         .arg(c.endM)
                         .arg(c.nowH)
                         .arg(c.nowM)
                         .arg(c.nowS)
                         .toStdString());
        EXPECT_EQ(ForbidWindow::Contains(DateTime::FromTime(c.startH, c.startM),
                                         DateTime::FromTime(c.endH, c.endM), At(5, c.nowH, c.nowM, c.nowS)),
                  c.inside);
    }
    EXPECT_TRUE(ForbidWindow::JustEnded(DateTime::FromTime(0, 0), At(5, 0, 0, 59)));
    EXPECT_FALSE(ForbidWindow::JustEnded(DateTime::FromTime(0, 0), At(4, 23, 59, 59)));
}

} // namespace
} // namespace quorx::test
