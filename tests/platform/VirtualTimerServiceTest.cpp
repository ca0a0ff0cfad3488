#include "platform/fake/VirtualTimerService.h"
#include "platform/fake/VirtualClock.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorx {
namespace {

const DateTime kStart = DateTime::FromFields(2024, 3, 4, 22, 0, 0);

struct Fixture : ::testing::Test
{
    VirtualClock clock{kStart};
    VirtualTimerService service{clock};
    std::vector<std::pair<QString, qint64>> fired;

    std::unique_ptr<Timer> Make(const QString& name, int intervalMs)
    {
        auto timer = service.CreateTimer(name);
        timer->SetInterval(intervalMs);
        Timer* t = timer.get();
        timer->SetHandler([this, t] { fired.emplace_back(t->Name(), service.ElapsedMs()); });
        return timer;
    }
    QStringList NamesAt(qint64 ms) const
    {
        QStringList names;
        for (const auto& [name, at] : fired) {
            if (at == ms)
                names << name;
        }
        return names;
    }
};

using VirtualTimerServiceTest = Fixture;

// Timers due at the same moment fire in the order they were armed, whatever order they were created
// in, and keep that order while they repeat; re-arming one sends it behind the others.
TEST_F(VirtualTimerServiceTest, TimersDueTogetherFireInTheOrderTheyWereArmed)
{
    auto first = Make(QStringLiteral("first"), 100);
    auto second = Make(QStringLiteral("second"), 100);
    auto slow = Make(QStringLiteral("slow"), 200);
    slow->SetEnabled(true);
    second->SetEnabled(true);
    first->SetEnabled(true);
    service.RunFor(300);
    const QString f = QStringLiteral("first"), s = QStringLiteral("second"), w = QStringLiteral("slow");
    EXPECT_EQ(NamesAt(100), (QStringList{s, f}));
    EXPECT_EQ(NamesAt(200), (QStringList{w, s, f}));
    EXPECT_EQ(NamesAt(300), (QStringList{s, f}));

    second->SetInterval(100);
    service.RunFor(100);
    EXPECT_EQ(NamesAt(400), (QStringList{w, f, s}));
    EXPECT_EQ(service.FiredCount(), 10u);
}

// A clock change moves the wall time only: timers stay due after the same monotonic time, and the
// elapsed count does not jump.
TEST_F(VirtualTimerServiceTest, AClockChangeMovesTheWallTimeButNotTheTimers)
{
    auto tick = Make(QStringLiteral("tick"), 1000);
    tick->SetEnabled(true);
    service.RunFor(400);
    EXPECT_EQ(clock.Now(), kStart.AddSeconds(0.4));

    struct Case
    {
        const char* what;
        double shiftHours;
    };
    for (const Case& c : {Case{"forward", 2.0}, Case{"back", -5.0}}) {
        SCOPED_TRACE(c.what);
        fired.clear();
        const qint64 elapsed = service.ElapsedMs();
        const qint64 due = service.NextDueMs();
        const DateTime newWall = clock.Now().AddSeconds(c.shiftHours * 3600.0);
        service.SetNow(newWall);
        EXPECT_EQ(clock.Now(), newWall);
        EXPECT_EQ(service.ElapsedMs(), elapsed);
        EXPECT_EQ(service.NextDueMs(), due);
        service.RunFor(due - elapsed);
        ASSERT_EQ(fired.size(), 1u);
        EXPECT_EQ(fired.front().second, due);
        EXPECT_EQ(clock.Now(), newWall.AddSeconds((due - elapsed) / 1000.0));
    }
}

TEST_F(VirtualTimerServiceTest, RunUntilCoversADayTimerByTimerAndStopsOnTheWallTime)
{
    auto second = Make(QStringLiteral("second"), 1000);
    auto minute = Make(QStringLiteral("minute"), 60000);
    second->SetEnabled(true);
    minute->SetEnabled(true);
    const DateTime end = kStart.AddDays(1);
    service.RunUntil(end);
    EXPECT_EQ(clock.Now(), end);
    EXPECT_EQ(service.ElapsedMs(), 86400000);
    EXPECT_EQ(service.FiredCount(), 86400u + 1440u);
    EXPECT_EQ(fired.back().second, 86400000);

    // A handler that sets the clock past the end ends the run there, without running the hour that
    // the wall time skipped.
    fired.clear();
    minute->SetEnabled(false);
    const DateTime target = end.AddSeconds(3600);
    int calls = 0;
    second->SetHandler([&] {
        if (++calls == 10)
            service.SetNow(target.AddSeconds(60));
    });
    service.RunUntil(target);
    EXPECT_EQ(calls, 10);
    EXPECT_EQ(service.ElapsedMs(), 86400000 + 10000);

    // An end already past does nothing.
    service.RunUntil(kStart);
    EXPECT_EQ(calls, 10);
    EXPECT_EQ(service.ElapsedMs(), 86400000 + 10000);
}

TEST_F(VirtualTimerServiceTest, NextDueIgnoresTimersThatCannotFire)
{
    auto off = Make(QStringLiteral("off"), 50);
    auto zero = Make(QStringLiteral("zero"), 0);
    zero->SetEnabled(true);
    EXPECT_EQ(service.NextDueMs(), -1);
    service.RunFor(500);
    EXPECT_EQ(service.ElapsedMs(), 500);
    EXPECT_TRUE(fired.empty());
    off->SetEnabled(true);
    EXPECT_EQ(service.NextDueMs(), 550);
}

// Handlers may create and destroy timers, and a timer may outlive its service.
TEST_F(VirtualTimerServiceTest, HandlersMayCreateAndDestroyTimers)
{
    auto victim = Make(QStringLiteral("victim"), 100);
    std::unique_ptr<Timer> child;
    auto killer = Make(QStringLiteral("killer"), 50);
    killer->SetHandler([&] {
        killer->SetEnabled(false);
        victim.reset();
        child = Make(QStringLiteral("child"), 30);
        child->SetEnabled(true);
    });
    victim->SetEnabled(true);
    killer->SetEnabled(true);
    service.RunFor(100);
    EXPECT_EQ(victim, nullptr);
    EXPECT_EQ(NamesAt(80), (QStringList{QStringLiteral("child")}));
    EXPECT_TRUE(NamesAt(100).isEmpty());

    auto orphan = std::make_unique<VirtualClock>();
    auto orphanService = std::make_unique<VirtualTimerService>(*orphan);
    auto survivor = orphanService->CreateTimer(QStringLiteral("survivor"));
    orphanService.reset();
    survivor->SetEnabled(true);
    survivor->SetInterval(10);
    EXPECT_TRUE(survivor->Enabled());
}

} // namespace
} // namespace quorx
