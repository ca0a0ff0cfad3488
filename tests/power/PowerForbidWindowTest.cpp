#include "PowerFixture.h"

namespace quorx::test {
namespace {

// 21:00 on the first; the forbid window runs from 22:00 to 06:00 and the one-second clock ticks.
class PowerForbidWindowTest : public PowerFixture
{
public:
    PowerForbidWindowTest() : PowerFixture(At(1, 21, 0)) {}

    void Open(DateTime start, DateTime end, bool everyDay)
    {
        m_settings.Interdire = true;
        m_settings.InterdireToujours = everyDay;
        MakeClock();
        m_clock3->Start();
        m_power.SetForbidTimes(start, end);
    }
};

// Pressed at 23:30 and at 05:00, released in the minute of 06:00, then power-saving mode.
void OverMidnight(PowerForbidWindowTest& t, bool everyDay)
{
    t.m_presenter.ScriptYes(); // the hibernation question at the end of the window
    t.Open(DateTime::FromTime(22, 0), DateTime::FromTime(6, 0), everyDay);
    EXPECT_FALSE(t.m_power.PreventDown());

    t.m_fake.timers.RunUntil(At(1, 23, 30));
    EXPECT_TRUE(t.m_power.PreventDown());
    EXPECT_TRUE(t.m_power.InWindow());
    EXPECT_TRUE(t.m_fake.power.SuspendVetoHeld());
    t.m_fake.timers.RunUntil(At(2, 5, 0));
    EXPECT_TRUE(t.m_power.PreventDown());
    t.m_fake.timers.RunUntil(At(2, 5, 59, 59));
    EXPECT_TRUE(t.m_power.PreventDown()) << "not released before the end";
    EXPECT_EQ(t.Count(FakePowerOp::Hibernate), 0);

    t.m_fake.timers.RunUntil(At(2, 6, 1));
    EXPECT_FALSE(t.m_power.PreventDown());
    EXPECT_FALSE(t.m_power.InWindow());
    EXPECT_TRUE(t.m_settings.AutoForbidSuspend);
    EXPECT_EQ(t.m_settings.Interdire, everyDay);
    ASSERT_EQ(t.Count(FakePowerOp::Hibernate), 1) << "power-saving mode once the window is over";
    EXPECT_GE(t.m_fake.power.CallsOf(FakePowerOp::Hibernate).front().when, At(2, 6, 0));
    EXPECT_EQ(t.m_journal.events.back(), QStringLiteral("Mise en veille prolongée du micro-ordinateur"));
    EXPECT_FALSE(t.m_fake.power.SuspendVetoHeld());

    // Back from hibernation: the next evening presses again only when the window repeats.
    t.m_fake.power.RaisePrepareForSleep(false);
    t.m_power.ResumeWaitOver();
    t.m_fake.timers.RunUntil(At(2, 23, 0));
    EXPECT_EQ(t.m_power.PreventDown(), everyDay);
}

TEST_F(PowerForbidWindowTest, OnceOverMidnightUnticksAtTheEnd)
{
    OverMidnight(*this, false);
}

TEST_F(PowerForbidWindowTest, EveryDayOverMidnightStaysTicked)
{
    OverMidnight(*this, true);
}

TEST_F(PowerForbidWindowTest, BusyAtTheEndOfTheWindowStaysOn)
{
    Open(DateTime::FromTime(22, 0), DateTime::FromTime(6, 0), true);
    m_fake.timers.RunUntil(At(2, 5, 30));
    m_engine.recording = true;
    m_fake.timers.RunUntil(At(2, 6, 5));
    EXPECT_FALSE(m_power.InWindow());
    EXPECT_EQ(Count(FakePowerOp::Hibernate) + Count(FakePowerOp::Suspend), 0);
    EXPECT_TRUE(m_presenter.Requests().isEmpty());
}

TEST_F(PowerForbidWindowTest, StartEqualToEndNeverPresses)
{
    for (int hour : {0, 22}) {
        SCOPED_TRACE(hour);
        Open(DateTime::FromTime(hour, 0), DateTime::FromTime(hour, 0), true);
        bool everDown = false;
        for (int step = 0; step < 24 * 4; ++step) {
            m_fake.timers.RunFor(15 * 60 * 1000);
            everDown = everDown || m_power.PreventDown();
        }
        EXPECT_FALSE(everDown);
    }
}

TEST_F(PowerForbidWindowTest, ChangingTheWindowOrUntickingItTakesEffect)
{
    Open(DateTime::FromTime(22, 0), DateTime::FromTime(6, 0), true);
    m_fake.timers.RunUntil(At(1, 23, 0));
    ASSERT_TRUE(m_power.InWindow());

    m_power.CInterdireClick(false);
    EXPECT_FALSE(m_power.InWindow());
    m_fake.timers.RunUntil(At(1, 23, 0, 2));
    EXPECT_FALSE(m_power.PreventDown()) << "the follow rule releases the toggle at the next tick";

    m_power.CInterdireClick(true);
    EXPECT_TRUE(m_power.PreventDown()) << "ticking it again checks at once";
    m_power.SetForbidTimes(DateTime::FromTime(1, 0), DateTime::FromTime(2, 0));
    EXPECT_FALSE(m_power.InWindow());
    m_fake.timers.RunUntil(At(1, 23, 0, 4));
    EXPECT_FALSE(m_power.PreventDown());
}

} // namespace
} // namespace quorx::test
