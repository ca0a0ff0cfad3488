#include "PowerFixture.h"

namespace quorx::test {
namespace {

class OneSecondClockTest : public PowerFixture
{
protected:
    OneSecondClockTest() : PowerFixture(DateTime::FromFields(2024, 1, 1, 10, 0, 0, 250)) { MakeClock(); }
};

TEST(OneSecondClockText, LongDateAndTimeWithSpaces)
{
    LocalisedStrings::ResetToDefaults();
    CalendarNames::SetCurrent(CalendarNames::French());
    EXPECT_EQ(OneSecondClock::ClockText(DateTime::FromFields(2024, 1, 1, 9, 5, 7)),
              QStringLiteral(" Lundi 1 janvier 2024 - 09:05:07 "));
    EXPECT_EQ(OneSecondClock::ClockText(DateTime::FromFields(2024, 8, 15, 23, 59, 59)),
              QStringLiteral(" Jeudi 15 août 2024 - 23:59:59 "));
}

TEST(OneSecondClockInterval, ReArmsOnTheNextSecondBoundary)
{
    struct Case
    {
        int ms;
        int interval;
    };
    const Case cases[] = {{0, 999}, {1, 998}, {500, 499}, {974, 25}, {975, 1000}, {999, 1000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ms);
        EXPECT_EQ(OneSecondClock::NextInterval(DateTime::FromFields(2024, 1, 1, 10, 0, 0, c.ms)), c.interval);
    }
}

TEST_F(OneSecondClockTest, TicksSettleOnTheSecondAndShowTheTime)
{
    m_clock3->Start();
    EXPECT_EQ(m_clock3->TickCount(), 1);
    EXPECT_EQ(m_clock3->Interval(), 749);
    m_fake.timers.RunFor(749);
    EXPECT_EQ(m_clock3->TickCount(), 2);
    EXPECT_EQ(m_clock3->CHeure(), QStringLiteral(" Lundi 1 janvier 2024 - 10:00:00 "));
    EXPECT_EQ(m_clock3->Interval(), 1000);
    m_fake.timers.RunFor(10000);
    EXPECT_EQ(m_clock3->TickCount(), 12);
    EXPECT_EQ(m_clock3->CHeure(), QStringLiteral(" Lundi 1 janvier 2024 - 10:00:10 "));
}

TEST_F(OneSecondClockTest, PeriodicWorkOnItsTicks)
{
    m_settings.ProtVeille = true;
    m_fake.power.SetAllowed(false, true); // no standby: the nudge keeps the computer awake
    m_clock3->Start();
    EXPECT_EQ(m_engine.fullPasses, 1) << "the first tick sees a new day";
    EXPECT_EQ(m_updateChecks, 1);
    EXPECT_EQ(m_guideChecks, 1);

    // Tick n falls 749 ms + (n - 2) s after the start.
    m_fake.timers.RunFor(178 * 1000);
    EXPECT_EQ(m_clock3->TickCount(), 179);
    EXPECT_EQ(m_freeSpaceWatches, 0);
    m_fake.timers.RunFor(1000);
    EXPECT_EQ(m_freeSpaceWatches, 1);
    EXPECT_EQ(Count(FakePowerOp::KeepAwakeNudge), 1);

    m_fake.timers.RunFor(180 * 1000);
    EXPECT_EQ(m_clock3->TickCount(), 0) << "the counter starts again after 360 ticks";
    EXPECT_EQ(m_updateChecks, 2);
    EXPECT_EQ(m_freeSpaceWatches, 2);
    m_fake.timers.RunFor(360 * 1000);
    EXPECT_EQ(m_updateChecks, 3);
    EXPECT_EQ(m_freeSpaceWatches, 4);
    EXPECT_EQ(Count(FakePowerOp::KeepAwakeNudge), 4);
    EXPECT_EQ(m_engine.fullPasses, 1);

    m_fake.power.SetAllowed(true, true);
    m_fake.timers.RunFor(360 * 1000);
    EXPECT_EQ(Count(FakePowerOp::KeepAwakeNudge), 4) << "no nudge where standby is allowed";
    m_fake.power.SetAllowed(false, true);
    m_settings.ProtVeille = false;
    m_fake.timers.RunFor(360 * 1000);
    EXPECT_EQ(Count(FakePowerOp::KeepAwakeNudge), 4);
}

TEST_F(OneSecondClockTest, ForbidWindowIsCheckedEverySixtyTicks)
{
    m_settings.Interdire = true;
    m_settings.InterdireToujours = true;
    m_settings.InterdireDebut = DateTime::FromTime(10, 1);
    m_settings.InterdireFin = DateTime::FromTime(11, 0);
    m_clock3->Start();
    // Tick 60 falls at 10:00:58.999, tick 120 at 10:01:58.999.
    m_fake.timers.RunUntil(DateTime::FromFields(2024, 1, 1, 10, 1, 58, 500));
    EXPECT_FALSE(m_power.PreventDown());
    m_fake.timers.RunUntil(DateTime::FromFields(2024, 1, 1, 10, 1, 59, 500));
    EXPECT_TRUE(m_power.PreventDown());
}

TEST_F(OneSecondClockTest, NewDayRecomputesOnce)
{
    m_fake.timers.SetNow(DateTime::FromFields(2024, 1, 1, 23, 59, 50));
    m_clock3->Start();
    m_fake.timers.RunUntil(DateTime::FromFields(2024, 1, 1, 23, 59, 59, 500));
    EXPECT_EQ(m_engine.fullPasses, 1);
    m_fake.timers.RunUntil(DateTime::FromFields(2024, 1, 2, 0, 0, 10));
    EXPECT_EQ(m_engine.fullPasses, 2);
    EXPECT_EQ(m_guideChecks, 2);
    EXPECT_EQ(m_updateChecks, 2);
}

TEST_F(OneSecondClockTest, ViewerUseFollowedByTheToggleAndTheImports)
{
    m_settings.EPGStandard = true;
    m_settings.EPGKirvel = true;
    m_clock3->Start();
    m_fake.timers.RunFor(5000);
    EXPECT_EQ(m_schedulerImports + m_taskImports, 0) << "no import while the viewer never ran";

    const qint64 pid = m_fake.processes.StartRunning(kViewer);
    m_fake.timers.RunFor(1000);
    EXPECT_TRUE(m_clock3->BitBtn4Visible());
    EXPECT_TRUE(m_manualStop.IsVisible());
    EXPECT_TRUE(m_power.PreventDown()) << "the viewer used by hand keeps the computer awake";
    EXPECT_TRUE(m_fake.power.SuspendVetoHeld());
    EXPECT_TRUE(m_settings.AutoForbidSuspend);

    m_fake.timers.RunFor(60000);
    EXPECT_EQ(m_taskImports, 2) << "every 30th tick while the viewer runs";
    EXPECT_EQ(m_schedulerImports, 0);

    m_fake.processes.EndProcess(pid);
    m_fake.timers.RunFor(1000);
    EXPECT_EQ(m_schedulerImports, 1) << "the viewer has just stopped";
    EXPECT_EQ(m_taskImports, 3);
    EXPECT_FALSE(m_manualStop.IsVisible());
    EXPECT_FALSE(m_power.PreventDown());
    m_fake.timers.RunFor(5000);
    EXPECT_EQ(m_schedulerImports, 1);

    // During a scheduled recording the viewer runs but the button stays hidden.
    m_engine.recording = true;
    m_fake.processes.StartRunning(kViewer);
    m_fake.timers.RunFor(2000);
    EXPECT_TRUE(m_clock3->BitBtn4Visible());
    EXPECT_FALSE(m_manualStop.IsVisible());
    EXPECT_FALSE(m_power.PreventDown());
    EXPECT_TRUE(m_fake.power.SuspendVetoHeld()) << "the recording refuses through the test";
}

TEST_F(OneSecondClockTest, ToggleFollowLeavesAHandSetToggleAlone)
{
    m_clock3->Start();
    m_power.ClickPrevent(true);
    m_fake.timers.RunFor(5000);
    EXPECT_TRUE(m_power.PreventDown()) << "Cauto unticked by the click: nothing follows";
    EXPECT_FALSE(m_settings.AutoForbidSuspend);
}

TEST_F(OneSecondClockTest, FreeSpaceTextBlinksWhileMaroon)
{
    m_clock3->Start();
    m_maroon = true;
    QVector<bool> seen;
    for (int i = 0; i < 4; ++i) {
        m_fake.timers.RunFor(1000);
        seen << m_clock3->CEspaceBold();
    }
    EXPECT_EQ(seen, (QVector<bool>{true, false, true, false}));
    m_maroon = false;
    m_fake.timers.RunFor(2000);
    EXPECT_FALSE(m_clock3->CEspaceBold());
}

} // namespace
} // namespace quorx::test
