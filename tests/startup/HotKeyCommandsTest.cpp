#include "startup/HotKeyCommands.h"

#include "platform/fake/FakeHotKeys.h"
#include "platform/fake/FakePlatform.h"
#include "schedule/Settings.h"
#include "viewer/ViewerControl.h"

#include <gtest/gtest.h>

namespace quorx {
namespace {

const QString kViewer = QStringLiteral("/opt/zomvara/zomvara");

class HotKeyCommandsTest : public ::testing::Test
{
protected:
    HotKeyCommandsTest() : m_viewer(m_platform.processes, m_platform.timers, nullptr)
    {
        m_viewer.SetExecutable(kViewer);
    }

    HotKeyCommands::Actions CountingActions()
    {
        return {[this] { ++m_toggles; }, [this] { ++m_guides; }};
    }

    QVector<FakeLaunch> ViewerLaunches() const
    {
        QVector<FakeLaunch> launches;
        for (const FakeLaunch& l : m_platform.processes.Launches())
            if (l.program == kViewer)
                launches.push_back(l);
        return launches;
    }

    FakePlatform m_platform;
    ViewerControl m_viewer;
    Settings m_settings;
    int m_toggles = 0;
    int m_guides = 0;
};

TEST_F(HotKeyCommandsTest, EachKeyRunsItsCommandOnlyWhileInstalled)
{
    FakeHotKeys keys;
    m_settings.EtatZomvara = 6;
    HotKeyCommands commands(keys, m_viewer, m_settings, CountingActions());
    EXPECT_FALSE(keys.Press(HotKey::ShowHide));

    EXPECT_EQ(commands.Install(), HotKeys::Reach::Global);
    EXPECT_TRUE(keys.Press(HotKey::ShowHide));
    EXPECT_TRUE(keys.Press(HotKey::ShowHide));
    EXPECT_TRUE(keys.Press(HotKey::Guide));
    EXPECT_EQ(m_toggles, 2);
    EXPECT_EQ(m_guides, 1);

    // The viewer does not run: the key launches it, in the state the settings ask for.
    EXPECT_TRUE(keys.Press(HotKey::Viewer));
    QVector<FakeLaunch> launches = ViewerLaunches();
    ASSERT_EQ(launches.size(), 1);
    EXPECT_TRUE(launches[0].arguments.isEmpty());
    EXPECT_EQ(launches[0].show, ShowState::Minimised);
    // Running now: a second press brings it forward instead of starting another copy.
    keys.Press(HotKey::Viewer);
    EXPECT_EQ(ViewerLaunches().size(), 1);

    commands.Uninstall();
    EXPECT_EQ(keys.CurrentReach(), HotKeys::Reach::None);
    EXPECT_FALSE(keys.Press(HotKey::ShowHide));
    EXPECT_EQ(m_toggles, 2);
}

TEST_F(HotKeyCommandsTest, KeysAreLetGoWhenTheCommandsEnd)
{
    FakeHotKeys keys(HotKeys::Reach::Window);
    {
        HotKeyCommands commands(keys, m_viewer, m_settings, CountingActions());
        EXPECT_EQ(commands.Install(), HotKeys::Reach::Window);
    }
    EXPECT_EQ(keys.CurrentReach(), HotKeys::Reach::None);
    EXPECT_FALSE(keys.Press(HotKey::Guide));
    EXPECT_EQ(m_guides, 0);
}

TEST_F(HotKeyCommandsTest, AKeyWithoutItsWindowDoesNothing)
{
    FakeHotKeys keys;
    HotKeyCommands commands(keys, m_viewer, m_settings, {[this] { ++m_toggles; }, {}});
    commands.Install();
    EXPECT_TRUE(keys.Press(HotKey::Guide));
    EXPECT_EQ(m_toggles, 0);
    EXPECT_TRUE(ViewerLaunches().isEmpty());
}

TEST(HotKeyIds, OnlyTheThreeRegisteredIdentifiersAreKeys)
{
    EXPECT_EQ(HotKeyFromId(0), HotKey::ShowHide);
    EXPECT_EQ(HotKeyFromId(1), HotKey::Guide);
    EXPECT_EQ(HotKeyFromId(2), HotKey::Viewer);
    EXPECT_EQ(HotKeyFromId(-1), std::nullopt);
    EXPECT_EQ(HotKeyFromId(3), std::nullopt);
    EXPECT_EQ(KeyCombinationOf(HotKey::ShowHide), QKeyCombination(Qt::ControlModifier, Qt::Key_F12));
    EXPECT_EQ(KeyCombinationOf(HotKey::Guide), QKeyCombination(Qt::ControlModifier, Qt::Key_F11));
    EXPECT_EQ(KeyCombinationOf(HotKey::Viewer), QKeyCombination(Qt::ControlModifier, Qt::Key_F10));
}

} // namespace
} // namespace quorx
