#include "viewer/ManualStop.h"

#include "RecordingJournal.h"
#include "SimulatedViewer.h"

#include "i18n/LocalisedStrings.h"
#include "platform/fake/FakePlatform.h"
#include "viewer/ViewerControl.h"

#include <gtest/gtest.h>

namespace quorx {
namespace {

using test::RecordingJournal;
using test::SimulatedViewer;

const QString kViewer = QStringLiteral("/opt/zomvara/zomvara");

DateTime At(int day, int hour, int minute, int second = 0)
{
    return DateTime::FromFields(2024, 3, day, hour, minute, second);
}
DateTime Time(int hour, int minute, int second = 0)
{
    return DateTime::FromTime(hour, minute, second);
}

// It is 23:30 on 1 March; the user started a recording by hand in the viewer, which runs.
class ManualStopTest : public ::testing::Test
{
protected:
    ManualStopTest()
        : m_fake(At(1, 23, 30)), m_viewer(m_fake, kViewer),
          m_control(m_fake.processes, m_fake.timers, &m_journal),
          m_stop(m_fake.clock, m_fake.timers, m_control, &m_journal,
                 {[this] { return m_busy; }, [this] { return m_next; }})
    {
        m_control.SetExecutable(kViewer);
        m_viewer.StartAlready();
        m_stop.UpdateVisibility(true);
    }

    void ArmAt(DateTime shown)
    {
        m_stop.SetShownTime(shown);
        m_stop.BitBtn3Click();
    }
    QStringList Launched() const
    {
        QStringList out;
        for (const FakeLaunch& l : m_fake.processes.Launches())
            out << l.arguments.join(QLatin1Char(' '));
        return out;
    }

    FakePlatform m_fake;
    SimulatedViewer m_viewer;
    RecordingJournal m_journal;
    ViewerControl m_control;
    bool m_busy = false;
    DateTime m_next = DateTime::NoTime();
    ManualStop m_stop;
};

TEST_F(ManualStopTest, WhereTheStopLands)
{
    struct Case
    {
        const char* name;
        DateTime shown;
        DateTime next;
        bool busy;
        DateTime expected; // NoTime: disarmed
    };
    const Case cases[] = {
        {"a time already past today stops tomorrow", Time(23, 0), DateTime::NoTime(), false, At(2, 23, 0)},
        {"a time later today", Time(23, 45), DateTime::NoTime(), false, At(1, 23, 45)},
        {"now itself is not later than now", Time(23, 30), DateTime::NoTime(), false, At(2, 23, 30)},
        {"a recording before the stop moves it 15 s ahead of it", Time(23, 0), At(2, 10, 0), false,
         At(2, 9, 59, 45)},
        {"a recording at the very moment moves it too", Time(23, 45), At(1, 23, 45), false,
         At(1, 23, 44, 45)},
        {"a recording after the stop does not", Time(23, 45), At(1, 23, 46), false, At(1, 23, 45)},
        {"a recording within 15 s leaves nothing to stop", Time(23, 45), At(1, 23, 30, 10), false,
         DateTime::NoTime()},
        {"a scheduled recording under way is not moved before", Time(23, 45), At(1, 23, 40), true,
         At(1, 23, 45)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_stop.Cancel();
        m_busy = c.busy;
        m_next = c.next;
        ArmAt(c.shown);
        if (c.expected.IsNoTime()) {
            EXPECT_FALSE(m_stop.IsArmed());
            EXPECT_FALSE(m_stop.TimerRunning());
            continue;
        }
        ASSERT_TRUE(m_stop.IsArmed());
        EXPECT_EQ(m_stop.StopMoment(), c.expected);
        EXPECT_EQ(m_stop.ShownTime(), c.expected.TimePart());
        EXPECT_TRUE(m_stop.TimerRunning());
    }
}

TEST_F(ManualStopTest, ClickingTwiceArmsThenDisarms)
{
    ArmAt(Time(23, 0));
    EXPECT_TRUE(m_stop.IsArmed());
    m_stop.BitBtn3Click();
    EXPECT_FALSE(m_stop.IsArmed());
    EXPECT_FALSE(m_stop.TimerRunning());
    m_stop.BitBtn3Click();
    EXPECT_TRUE(m_stop.IsArmed());
}

TEST_F(ManualStopTest, AStopMovedBeforeARecordingIsDisarmedByTheNextClick)
{
    m_next = At(2, 10, 0);
    ArmAt(Time(23, 0));
    ASSERT_EQ(m_stop.ShownTime(), Time(9, 59, 45));
    m_stop.BitBtn3Click();
    EXPECT_FALSE(m_stop.IsArmed());
}

TEST_F(ManualStopTest, LeavingTheTimeBoxWithAnotherTimeRearms)
{
    ArmAt(Time(23, 45));
    m_stop.CDelaiExit();
    EXPECT_EQ(m_stop.StopMoment(), At(1, 23, 45));
    m_stop.SetShownTime(Time(23, 50));
    m_stop.CDelaiExit();
    ASSERT_TRUE(m_stop.IsArmed());
    EXPECT_EQ(m_stop.StopMoment(), At(1, 23, 50));

    // Not armed: leaving the box arms nothing.
    m_stop.BitBtn3Click();
    m_stop.SetShownTime(Time(23, 55));
    m_stop.CDelaiExit();
    EXPECT_FALSE(m_stop.IsArmed());
}

TEST_F(ManualStopTest, AtTheStopTheViewerIsClosedAndTheStopIsOver)
{
    ArmAt(Time(23, 45));
    m_fake.timers.RunUntil(At(1, 23, 44, 59));
    EXPECT_TRUE(m_journal.entries.isEmpty());
    m_fake.timers.RunUntil(At(1, 23, 46));

    EXPECT_EQ(m_journal.Events(), QStringList{Ls(71)});
    EXPECT_EQ(Launched(), (QStringList{QStringLiteral("/StopRecord"), QStringLiteral("/Exit")}));
    EXPECT_EQ(m_fake.processes.Launches()[0].when, At(1, 23, 45));
    EXPECT_FALSE(m_control.IsViewerRunning());
    EXPECT_FALSE(m_stop.IsArmed());
    EXPECT_FALSE(m_stop.TimerRunning());
    // Closed without a second journal event of its own.
    EXPECT_EQ(m_journal.entries.size(), 1);
}

TEST_F(ManualStopTest, AStopCloseToARecordingOnlyStopsTheRecording)
{
    m_next = At(1, 23, 45, 50);
    ArmAt(Time(23, 45));
    m_fake.timers.RunUntil(At(1, 23, 46));
    EXPECT_EQ(m_journal.Events(), QStringList{Ls(71)});
    EXPECT_EQ(Launched(), QStringList{QStringLiteral("/StopRecord")});
    EXPECT_TRUE(m_control.IsViewerRunning());
    EXPECT_FALSE(m_stop.IsArmed());
}

TEST_F(ManualStopTest, TheClockHidingTheButtonWhileTheViewerClosesLeavesNoStopBehind)
{
    // The main window's one-second clock keeps running through the close and hides the button
    // as soon as the viewer has gone.
    auto clock = m_fake.timers.CreateTimer(QStringLiteral("Timer3"));
    clock->SetHandler([&] { m_stop.UpdateVisibility(m_control.IsViewerRunning()); });
    clock->SetInterval(1000);
    clock->SetEnabled(true);
    m_viewer.exitDelayMs = 900;
    ArmAt(Time(23, 45));
    // The close ends at 23:45:04, just after the clock's tick of that second.
    m_fake.timers.RunUntil(At(1, 23, 45, 4));
    EXPECT_EQ(Launched(), (QStringList{QStringLiteral("/StopRecord"), QStringLiteral("/Exit")}));
    EXPECT_FALSE(m_stop.IsVisible());
    EXPECT_FALSE(m_stop.IsArmed());
    EXPECT_FALSE(m_stop.TimerRunning());
}

TEST_F(ManualStopTest, NothingIsDoneWhenTheViewerIsGoneOrARecordingRuns)
{
    ArmAt(Time(23, 40));
    m_viewer.EndNow();
    m_fake.timers.RunUntil(At(1, 23, 41));
    EXPECT_TRUE(m_journal.entries.isEmpty());
    EXPECT_TRUE(m_fake.processes.Launches().isEmpty());
    EXPECT_FALSE(m_stop.IsArmed());

    m_viewer.StartAlready();
    ArmAt(Time(23, 50));
    m_busy = true;
    m_fake.timers.RunUntil(At(1, 23, 51));
    EXPECT_TRUE(m_journal.entries.isEmpty());
    EXPECT_TRUE(m_fake.processes.Launches().isEmpty());
}

TEST_F(ManualStopTest, RearmingFollowsAClockChangeAndANewRecording)
{
    ArmAt(Time(23, 45));
    // The clock is put back five minutes: the stop must still come at 23:45 on the new clock.
    m_fake.timers.SetNow(At(1, 23, 25));
    m_stop.Rearm();
    EXPECT_EQ(m_stop.StopMoment(), At(1, 23, 45));

    // The engine armed a recording that starts before the stop.
    m_next = At(1, 23, 40);
    m_stop.Rearm();
    EXPECT_EQ(m_stop.StopMoment(), At(1, 23, 39, 45));

    m_fake.timers.RunUntil(At(1, 23, 41));
    ASSERT_FALSE(m_fake.processes.Launches().isEmpty());
    EXPECT_EQ(m_fake.processes.Launches()[0].when, At(1, 23, 39, 45));

    // Rearming a stop that is not armed arms nothing.
    m_stop.Rearm();
    EXPECT_FALSE(m_stop.IsArmed());
}

TEST_F(ManualStopTest, HidingOrCancellingDropsTheStop)
{
    ArmAt(Time(23, 45));
    m_busy = true;
    m_stop.UpdateVisibility(true);
    EXPECT_FALSE(m_stop.IsVisible());
    EXPECT_FALSE(m_stop.IsArmed());
    EXPECT_FALSE(m_stop.TimerRunning());

    m_busy = false;
    m_stop.UpdateVisibility(true);
    EXPECT_TRUE(m_stop.IsVisible());
    m_stop.BitBtn3Click();
    ASSERT_TRUE(m_stop.IsArmed());
    m_stop.UpdateVisibility(false);
    EXPECT_FALSE(m_stop.IsArmed());

    m_stop.UpdateVisibility(true);
    m_stop.BitBtn3Click();
    ASSERT_TRUE(m_stop.IsArmed());
    m_stop.Cancel();
    EXPECT_FALSE(m_stop.IsArmed());
    EXPECT_FALSE(m_stop.TimerRunning());
    m_fake.timers.RunUntil(At(2, 0, 0));
    EXPECT_TRUE(m_journal.entries.isEmpty());
}

} // namespace
} // namespace quorx
