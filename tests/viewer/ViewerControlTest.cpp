#include "viewer/ViewerControl.h"

#include "FakeDesktopWindows.h"
#include "RecordingJournal.h"
#include "SimulatedViewer.h"

#include "i18n/LocalisedStrings.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

namespace quorx {
namespace {

using test::FakeDesktopWindows;
using test::RecordingJournal;
using test::SimulatedViewer;

const QString kViewer = QStringLiteral("/opt/zomvara/zomvara");

class ViewerControlTest : public ::testing::Test
{
protected:
    ViewerControlTest()
        : m_viewer(m_fake, kViewer), m_control(m_fake.processes, m_fake.timers, &m_journal,
                                               std::make_unique<FakeDesktopWindows>(m_desktop))
    {
        m_control.SetExecutable(kViewer);
        m_control.SetFailureNotice([this](const QString& message) { m_notices << message; });
    }

    QStringList LaunchedArguments() const
    {
        QStringList out;
        for (const FakeLaunch& l : m_fake.processes.Launches())
            out << l.arguments.join(QLatin1Char(' '));
        return out;
    }
    qint64 MsSinceStart(const FakeLaunch& l) const
    {
        return DateTime::MsBetween(m_fake.clock.Start(), l.when);
    }

    FakePlatform m_fake;
    SimulatedViewer m_viewer;
    RecordingJournal m_journal;
    FakeDesktopWindows::Shared m_desktop;
    ViewerControl m_control;
    QStringList m_notices;
};

TEST_F(ViewerControlTest, RunningMeansRunningFromTheViewerExecutable)
{
    EXPECT_FALSE(m_control.IsViewerRunning());
    m_fake.processes.StartRunning(QStringLiteral("/home/user/other/zomvara"));
    EXPECT_FALSE(m_control.IsViewerRunning());
    m_viewer.StartAlready();
    EXPECT_TRUE(m_control.IsViewerRunning());

    ViewerControl unsettled(m_fake.processes, m_fake.timers, &m_journal);
    EXPECT_FALSE(unsettled.IsViewerRunning());
}

TEST_F(ViewerControlTest, LaunchStartsInTheViewerFolderWithTheShowState)
{
    const LaunchResult r =
        m_control.LaunchViewer({ViewerControl::ChannelSwitch(QStringLiteral("Arte")),
                                ViewerControl::StartRecordSwitch(QStringLiteral("/rec/a b.ts"))},
                               ViewerControl::ShowStateFor(6));
    ASSERT_TRUE(r.started);
    const QVector<FakeLaunch> launches = m_fake.processes.Launches();
    ASSERT_EQ(launches.size(), 1);
    EXPECT_EQ(launches[0].program, kViewer);
    EXPECT_EQ(launches[0].arguments,
              (QStringList{QStringLiteral("/CH:Arte"), QStringLiteral("/StartRecord:/rec/a b.ts")}));
    EXPECT_EQ(launches[0].show, ShowState::Minimised);
    EXPECT_FALSE(launches[0].waitForExit);
    EXPECT_TRUE(m_notices.isEmpty());
    EXPECT_TRUE(m_control.IsViewerRunning());

    // Any other program runs in its own folder and may be waited for.
    ASSERT_TRUE(m_control.Launch(QStringLiteral("/usr/bin/true"), {}, ShowState::Normal, true).started);
    EXPECT_TRUE(m_fake.processes.Launches().last().waitForExit);
}

TEST_F(ViewerControlTest, ShowStatesFromTheSetting)
{
    EXPECT_EQ(ViewerControl::ShowStateFor(6), ShowState::Minimised);
    EXPECT_EQ(ViewerControl::ShowStateFor(3), ShowState::Maximised);
    for (const int other : {0, 1, 10, 2})
        EXPECT_EQ(ViewerControl::ShowStateFor(other), ShowState::Normal);
}

TEST_F(ViewerControlTest, FailedLaunchReachesTheUserWithTheReason)
{
    m_fake.processes.SetLaunchFailure(kViewer, QStringLiteral("No such file or directory"));
    const LaunchResult r = m_control.LaunchViewer({}, ShowState::Normal);
    EXPECT_FALSE(r.started);
    EXPECT_EQ(r.error, QStringLiteral("No such file or directory"));
    ASSERT_EQ(m_notices.size(), 1);
    EXPECT_TRUE(m_notices[0].contains(kViewer));
    EXPECT_TRUE(m_notices[0].contains(QStringLiteral("No such file or directory")));

    ViewerControl unsettled(m_fake.processes, m_fake.timers, &m_journal);
    EXPECT_FALSE(unsettled.LaunchViewer({}, ShowState::Normal).started);
}

TEST_F(ViewerControlTest, CloseStopsWaitsThreeSecondsExitsAndJournals)
{
    m_viewer.StartAlready();
    m_viewer.exitDelayMs = 5000;
    const ViewerControl::CloseOutcome outcome = m_control.CloseViewer(true);
    EXPECT_TRUE(outcome.wasRunning);
    EXPECT_TRUE(outcome.ended);
    EXPECT_TRUE(outcome.error.isEmpty());

    const QVector<FakeLaunch> launches = m_fake.processes.Launches();
    ASSERT_EQ(launches.size(), 2);
    EXPECT_EQ(launches[0].arguments, QStringList{QStringLiteral("/StopRecord")});
    EXPECT_EQ(launches[1].arguments, QStringList{QStringLiteral("/Exit")});
    EXPECT_EQ(MsSinceStart(launches[0]), 0);
    EXPECT_EQ(MsSinceStart(launches[1]), 3000);
    // Polled every 250 ms: it returns at the first look after the viewer ended.
    EXPECT_EQ(m_fake.clock.ElapsedMs(), 3000 + 5000);
    EXPECT_EQ(m_journal.Events(), QStringList{Ls(70)});
    EXPECT_FALSE(m_control.IsViewerRunning());
}

TEST_F(ViewerControlTest, AViewerThatDoesNotEndIsLeftAfterThirtySeconds)
{
    m_viewer.StartAlready();
    m_viewer.exitDelayMs = -1;
    const ViewerControl::CloseOutcome outcome = m_control.CloseViewer(false);
    EXPECT_TRUE(outcome.wasRunning);
    EXPECT_FALSE(outcome.ended);
    EXPECT_EQ(m_fake.clock.ElapsedMs(), 3000 + 30000);
    EXPECT_TRUE(m_journal.entries.isEmpty());
    EXPECT_TRUE(m_fake.processes.Signals().isEmpty()); // not killed
}

TEST_F(ViewerControlTest, CloseDoesNothingWhenTheViewerDoesNotRun)
{
    const ViewerControl::CloseOutcome outcome = m_control.CloseViewer(true);
    EXPECT_FALSE(outcome.wasRunning);
    EXPECT_TRUE(outcome.ended);
    EXPECT_TRUE(m_fake.processes.Launches().isEmpty());
    EXPECT_TRUE(m_journal.entries.isEmpty());
    EXPECT_EQ(m_fake.clock.ElapsedMs(), 0);
}

TEST_F(ViewerControlTest, CloseDoesNotWaitForAnExitThatCouldNotBeSent)
{
    m_viewer.StartAlready();
    m_fake.processes.SetLaunchFailure(kViewer, QStringLiteral("Permission denied"));
    const ViewerControl::CloseOutcome outcome = m_control.CloseViewer(true);
    EXPECT_FALSE(outcome.ended);
    EXPECT_EQ(outcome.error, QStringLiteral("Permission denied"));
    EXPECT_EQ(m_fake.clock.ElapsedMs(), 3000);
    EXPECT_EQ(m_notices.size(), 2);
}

TEST_F(ViewerControlTest, TimersKeepFiringDuringTheWaits)
{
    m_viewer.StartAlready();
    m_viewer.exitDelayMs = 1000;
    auto tick = m_fake.timers.CreateTimer(QStringLiteral("clock"));
    int ticks = 0;
    tick->SetHandler([&] { ++ticks; });
    tick->SetInterval(1000);
    tick->SetEnabled(true);
    m_control.CloseViewer(false);
    EXPECT_EQ(ticks, 4);
}

TEST_F(ViewerControlTest, BringToFrontLaunchesAViewerThatDoesNotRun)
{
    ASSERT_TRUE(m_control.BringToFront(3));
    ASSERT_EQ(m_fake.processes.Launches().size(), 1);
    EXPECT_TRUE(m_fake.processes.Launches()[0].arguments.isEmpty());
    EXPECT_EQ(m_fake.processes.Launches()[0].show, ShowState::Maximised);
    EXPECT_TRUE(m_desktop.activated.isEmpty());
}

TEST_F(ViewerControlTest, BringToFrontActivatesTheViewersOwnWindow)
{
    m_viewer.StartAlready();
    const qint64 copy = m_fake.processes.StartRunning(QStringLiteral("/elsewhere/zomvara"));
    m_desktop.windows = {
        {11, copy, QStringLiteral("Zomvara"), false, {}},
        {12, m_viewer.Primary(), QStringLiteral("Zomvara - Options"), false, {}},
        {13, m_viewer.Primary(), QStringLiteral("  ZOMVARA "), true, {}},
        {14, m_viewer.Primary(), QStringLiteral("Zomvara"), false, {}},
    };
    EXPECT_TRUE(m_control.BringToFront(0));
    EXPECT_EQ(m_desktop.activated, QVector<quint64>{13});
    EXPECT_TRUE(m_fake.processes.Launches().isEmpty());
}

TEST_F(ViewerControlTest, NoViewerWindowMeansNothingHappens)
{
    m_viewer.StartAlready();
    m_desktop.windows = {{11, m_viewer.Primary(), QStringLiteral("Enregistrement"), false, {}}};
    EXPECT_FALSE(m_control.BringToFront(0));
    EXPECT_FALSE(m_control.PlaceViewer(QRect(0, 0, 100, 100), 90));
    EXPECT_TRUE(m_desktop.activated.isEmpty());
    EXPECT_TRUE(m_desktop.moved.isEmpty());

    ViewerControl withoutDesktop(m_fake.processes, m_fake.timers, &m_journal);
    withoutDesktop.SetExecutable(kViewer);
    EXPECT_FALSE(withoutDesktop.BringToFront(0));
    EXPECT_FALSE(withoutDesktop.PlaceViewer(QRect(0, 0, 100, 100), 90));
}

TEST_F(ViewerControlTest, PlaceCoversTheSchedulerDownToItsStatusBar)
{
    m_viewer.StartAlready();
    m_desktop.windows = {{21, m_viewer.Primary(), QStringLiteral("Zomvara"), false, QRect(5, 5, 300, 200)}};
    EXPECT_TRUE(m_control.PlaceViewer(QRect(100, 50, 800, 600), 620));
    ASSERT_EQ(m_desktop.moved.size(), 1);
    EXPECT_EQ(m_desktop.moved[0].first, 21u);
    EXPECT_EQ(m_desktop.moved[0].second, QRect(100, 50, 800, 570));
    EXPECT_EQ(m_desktop.activated, QVector<quint64>{21});
}

} // namespace
} // namespace quorx
