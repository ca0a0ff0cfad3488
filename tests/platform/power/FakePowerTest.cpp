#include "platform/fake/FakeClockWatch.h"
#include "platform/fake/FakeInstancePeers.h"
#include "platform/fake/FakePowerBackend.h"
#include "platform/fake/VirtualClock.h"

#include <gtest/gtest.h>

#include <ostream>

namespace quorx {

// Readable failures: gtest finds this beside DateTime.
inline void PrintTo(DateTime value, std::ostream* out)
{
    *out << value.IsoText().toStdString();
}

namespace {

const DateTime kStart = DateTime::FromFields(2024, 3, 1, 20, 0);

TEST(FakePowerBackendTest, RecordsEveryCallWithTheVirtualTime)
{
    VirtualClock clock(kStart);
    FakePowerBackend power(clock);
    EXPECT_TRUE(power.CanSuspend());
    EXPECT_TRUE(power.CanHibernate());
    clock.Advance(60'000);
    power.SetAllowed(true, false);
    EXPECT_FALSE(power.CanHibernate());
    EXPECT_FALSE(power.Hibernate()) << "not allowed, so not accepted";
    EXPECT_TRUE(power.Suspend());
    power.KeepAwakeNudge();

    const auto calls = power.Calls();
    ASSERT_EQ(calls.size(), 6);
    EXPECT_EQ(calls[0].when, kStart);
    EXPECT_EQ(calls[2].op, FakePowerOp::CanHibernate);
    EXPECT_EQ(calls[2].when, kStart.AddMinutes(1));
    EXPECT_FALSE(calls[3].flag);
    EXPECT_EQ(calls[4].op, FakePowerOp::Suspend);
    EXPECT_TRUE(calls[4].flag);
    EXPECT_EQ(power.CallsOf(FakePowerOp::KeepAwakeNudge).size(), 1);
}

TEST(FakePowerBackendTest, LocksBehaveAsTheLoginManagersDo)
{
    VirtualClock clock(kStart);
    FakePowerBackend power(clock);
    std::vector<bool> notices;
    power.SetPrepareForSleepHandler([&](bool sleeping) { notices.push_back(sleeping); });
    EXPECT_TRUE(power.DelayLockHeld());

    power.SetSuspendVeto(true, QStringLiteral("Enregistrement"));
    EXPECT_TRUE(power.SuspendVetoHeld());
    EXPECT_EQ(power.SuspendVetoReason(), QLatin1String("Enregistrement"));

    power.SetAcceptsActions(false);
    EXPECT_FALSE(power.Suspend());
    EXPECT_TRUE(power.SuspendVetoHeld()) << "a refused action leaves the veto in place";

    power.SetAcceptsActions(true);
    EXPECT_TRUE(power.Suspend());
    EXPECT_FALSE(power.SuspendVetoHeld());
    EXPECT_TRUE(power.SuspendVetoWanted());

    power.RaisePrepareForSleep(true);
    EXPECT_EQ(notices, std::vector<bool>{true});
    EXPECT_TRUE(power.DelayLockHeld());
    power.ReadyForSleep();
    EXPECT_FALSE(power.DelayLockHeld());

    power.RaisePrepareForSleep(false);
    EXPECT_EQ(notices, (std::vector<bool>{true, false}));
    EXPECT_TRUE(power.DelayLockHeld());
    EXPECT_TRUE(power.SuspendVetoHeld());

    power.SetSuspendVeto(false, QString());
    EXPECT_FALSE(power.SuspendVetoHeld());
}

TEST(FakePowerBackendTest, WakeTimerFollowsTheSameRules)
{
    VirtualClock clock(kStart);
    FakePowerBackend power(clock);
    EXPECT_EQ(power.SetWakeTimer(kStart.AddMinutes(-5)), WakeTimerType::AlarmTimer);
    EXPECT_EQ(power.WakeTimerInstant(), kStart.AddMinutes(3));
    EXPECT_EQ(power.SetWakeTimer(kStart.AddDays(1)), WakeTimerType::AlarmTimer);
    EXPECT_EQ(power.WakeTimerInstant(), kStart.AddDays(1));
    EXPECT_EQ(power.CallsOf(FakePowerOp::SetWakeTimer).constFirst().instant, kStart.AddMinutes(-5));

    power.SetAvailableWakeTimer(WakeTimerType::None);
    EXPECT_EQ(power.SetWakeTimer(kStart.AddDays(1)), WakeTimerType::None);
    EXPECT_TRUE(power.WakeTimerInstant().IsNoTime());

    power.SetAvailableWakeTimer(WakeTimerType::RtcAlarm);
    power.SetWakeTimer(kStart.AddDays(1));
    power.CancelWakeTimer();
    EXPECT_EQ(power.WakeTimerKind(), WakeTimerType::None);
    EXPECT_TRUE(power.WakeTimerInstant().IsNoTime());
}

TEST(FakeInstancePeersTest, AgreesUnlessAnAnsweringInstanceRefuses)
{
    FakeInstancePeers peers;
    EXPECT_TRUE(peers.AllAgree()) << "alone and without a handler";

    bool thisPermits = true;
    peers.SetQueryHandler([&] { return thisPermits; });
    peers.AddPeer(QStringLiteral("other"), true);
    peers.AddSilentPeer(QStringLiteral("hung"));
    EXPECT_TRUE(peers.AllAgree());

    peers.AddPeer(QStringLiteral("other"), false);
    EXPECT_FALSE(peers.AllAgree());
    peers.RemovePeer(QStringLiteral("other"));
    EXPECT_TRUE(peers.AllAgree());

    thisPermits = false;
    EXPECT_FALSE(peers.AllAgree());
    EXPECT_FALSE(peers.AnswerForThisInstance());
    EXPECT_EQ(peers.QueriesAsked(), 5);
}

TEST(FakeClockWatchTest, RaisesTheChangeToTheHandler)
{
    FakeClockWatch watch;
    watch.RaiseClockChange();
    int changes = 0;
    watch.SetClockChangeHandler([&] { ++changes; });
    watch.RaiseClockChange();
    EXPECT_EQ(changes, 1);
}

} // namespace
} // namespace quorx
