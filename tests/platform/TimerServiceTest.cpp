#include "platform/fake/VirtualClock.h"
#include "platform/fake/VirtualTimerService.h"
#include "platform/linux/QtTimerService.h"

#include <gtest/gtest.h>

#include <QString>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace quorx {
namespace {

// The rules every timer service keeps. The virtual service is held to the exact millisecond; the
// Qt one runs on real time with small intervals, so it is held to the order of events and to
// moments within a tolerance (a loaded machine delivers late, never early).
struct VirtualTimers
{
    static constexpr bool kExact = true;
    VirtualClock clock;
    VirtualTimerService service{clock};
};

struct QtTimers
{
    static constexpr bool kExact = false;
    QtTimerService service;
};

constexpr qint64 kLateMs = 60;

template <typename T> class TimerServiceTest : public ::testing::Test
{
protected:
    qint64 Now() const { return m_timers.service.ElapsedMs() - m_origin; }
    void SetUp() override { m_origin = m_timers.service.ElapsedMs(); }

    std::unique_ptr<Timer> Make(const QString& name, int intervalMs)
    {
        auto timer = m_timers.service.CreateTimer(name);
        timer->SetInterval(intervalMs);
        return timer;
    }
    // Each firing as (timer name, moment since the start of the test).
    void Record(Timer& timer, std::function<void()> then = {})
    {
        Timer* t = &timer;
        timer.SetHandler([this, t, then] {
            m_events.push_back({t->Name(), Now()});
            if (then)
                then();
        });
    }
    void Wait(int ms) { m_timers.service.Wait(ms); }

    // A moment: exactly, or for real time within the lateness allowed.
    void ExpectAt(qint64 actual, qint64 expected) const
    {
        if (T::kExact) {
            EXPECT_EQ(actual, expected);
        } else {
            EXPECT_GE(actual, expected - 1);
            EXPECT_LE(actual, expected + kLateMs);
        }
    }
    std::vector<qint64> TimesOf(const QString& name) const
    {
        std::vector<qint64> times;
        for (const auto& e : m_events) {
            if (e.name == name)
                times.push_back(e.at);
        }
        return times;
    }

    struct Event
    {
        QString name;
        qint64 at;
    };
    T m_timers;
    qint64 m_origin = 0;
    std::vector<Event> m_events;
};

using Services = ::testing::Types<VirtualTimers, QtTimers>;
TYPED_TEST_SUITE(TimerServiceTest, Services);

TYPED_TEST(TimerServiceTest, NewTimerIsDisabledWithOneSecondAndStaysSilent)
{
    auto timer = this->m_timers.service.CreateTimer(QStringLiteral("T"));
    EXPECT_FALSE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 1000);
    this->Record(*timer);
    this->Wait(40);
    EXPECT_TRUE(this->m_events.empty());
}

TYPED_TEST(TimerServiceTest, FiresEveryIntervalAndWaitReturnsAtItsDeadline)
{
    auto timer = this->Make(QStringLiteral("T"), 30);
    this->Record(*timer);
    timer->SetEnabled(true);
    this->Wait(100);
    const qint64 returned = this->Now();
    this->ExpectAt(returned, 100);

    const auto times = this->TimesOf(QStringLiteral("T"));
    if (TypeParam::kExact) {
        EXPECT_EQ(times, (std::vector<qint64>{30, 60, 90}));
    } else {
        // Never more firings than whole intervals in the time that really passed.
        ASSERT_GE(times.size(), 2u);
        EXPECT_LE(static_cast<qint64>(times.size()), returned / 30);
        for (size_t i = 0; i < times.size(); ++i)
            this->ExpectAt(times[i], 30 * static_cast<qint64>(i + 1));
    }
}

TYPED_TEST(TimerServiceTest, DisablingStopsAndAZeroIntervalNeverFires)
{
    auto timer = this->Make(QStringLiteral("T"), 20);
    this->Record(*timer);
    timer->SetEnabled(true);
    this->Wait(50);
    const size_t fired = this->m_events.size();
    EXPECT_GE(fired, TypeParam::kExact ? 2u : 1u);
    timer->SetEnabled(false);
    this->Wait(80);
    EXPECT_EQ(this->m_events.size(), fired);

    // Stopping a timer by setting its interval to 0 leaves it enabled but silent.
    timer->SetInterval(0);
    timer->SetEnabled(true);
    this->Wait(60);
    EXPECT_TRUE(timer->Enabled());
    EXPECT_EQ(this->m_events.size(), fired);
}

// Setting the interval, even to the same value, and enabling again, even when already enabled,
// start the count anew from that moment; so does disabling and enabling.
TYPED_TEST(TimerServiceTest, SettingTheIntervalOrEnablingAgainRestartsTheCount)
{
    struct Case
    {
        const char* what;
        std::function<void(Timer&)> restart;
        qint64 firstAt;
    };
    const std::vector<Case> cases = {
        {"same interval", [](Timer& t) { t.SetInterval(40); }, 25 + 40},
        {"shorter interval", [](Timer& t) { t.SetInterval(20); }, 25 + 20},
        {"enabled again", [](Timer& t) { t.SetEnabled(true); }, 25 + 40},
        {"disabled and enabled",
         [](Timer& t) {
             t.SetEnabled(false);
             t.SetEnabled(true);
         },
         25 + 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        this->m_events.clear();
        auto timer = this->Make(QStringLiteral("T"), 40);
        this->Record(*timer);
        const qint64 start = this->Now();
        timer->SetEnabled(true);
        this->Wait(25);
        const qint64 restartedAt = this->Now();
        c.restart(*timer);
        this->Wait(static_cast<int>(c.firstAt - 25 + 10));
        // Under load the first wait may return after the old count ended; only firings after the
        // restart belong to the new count, and none may come at the 40 ms of the old one.
        std::vector<qint64> after;
        for (qint64 at : this->TimesOf(QStringLiteral("T"))) {
            if (at > restartedAt)
                after.push_back(at);
        }
        ASSERT_FALSE(after.empty());
        this->ExpectAt(after.front() - start, restartedAt - start + (c.firstAt - 25));
        timer->SetEnabled(false);
    }
}

TYPED_TEST(TimerServiceTest, AHandlerThatDisablesItsOwnTimerFiresOnce)
{
    auto timer = this->Make(QStringLiteral("T"), 10);
    Timer* t = timer.get();
    this->Record(*timer, [t] { t->SetEnabled(false); });
    timer->SetEnabled(true);
    this->Wait(100);
    ASSERT_EQ(this->m_events.size(), 1u);
    this->ExpectAt(this->m_events.front().at, 10);
}

// A handler that waits keeps every timer alive, its own included, as a message loop does.
TYPED_TEST(TimerServiceTest, ANestedWaitInAHandlerLetsEveryTimerFireIncludingItsOwn)
{
    auto a = this->Make(QStringLiteral("A"), 20);
    auto b = this->Make(QStringLiteral("B"), 15);
    int depth = 0;
    int deepest = 0;
    qint64 nestedFrom = -1;
    qint64 nestedTo = -1;
    this->Record(*a, [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        if (nestedFrom < 0) {
            nestedFrom = this->Now();
            this->Wait(50);
            nestedTo = this->Now();
        }
        --depth;
    });
    this->Record(*b);
    a->SetEnabled(true);
    b->SetEnabled(true);
    this->Wait(100);

    EXPECT_EQ(deepest, 2) << "A fired again inside its own wait";
    this->ExpectAt(nestedFrom, 20);
    EXPECT_GE(nestedTo - nestedFrom, 50);
    this->ExpectAt(this->Now(), 100);
    if (TypeParam::kExact) {
        EXPECT_EQ(this->TimesOf(QStringLiteral("A")), (std::vector<qint64>{20, 40, 60, 80, 100}));
        EXPECT_EQ(this->TimesOf(QStringLiteral("B")), (std::vector<qint64>{15, 30, 45, 60, 75, 90}));
        // A and B are both due at 60: A was armed first.
        const auto at60 = std::find_if(this->m_events.begin(), this->m_events.end(),
                                       [](const auto& e) { return e.at == 60; });
        ASSERT_NE(at60, this->m_events.end());
        EXPECT_EQ(at60->name, QStringLiteral("A"));
    } else {
        const auto bTimes = this->TimesOf(QStringLiteral("B"));
        const qint64 firedInside = std::count_if(
            bTimes.begin(), bTimes.end(), [&](qint64 at) { return at > nestedFrom && at <= nestedTo; });
        EXPECT_GE(firedInside, 2);
    }
}

// Time never goes back: when the wait of a handler outlasts the wait it runs in, the outer one
// returns as soon as the handler does.
TYPED_TEST(TimerServiceTest, AnOuterWaitEndsAtOnceWhenAnInnerWaitPassedItsDeadline)
{
    auto timer = this->Make(QStringLiteral("T"), 20);
    Timer* t = timer.get();
    this->Record(*timer, [this, t] {
        t->SetEnabled(false);
        this->Wait(100);
    });
    timer->SetEnabled(true);
    this->Wait(50);
    this->ExpectAt(this->Now(), 120);
}

} // namespace
} // namespace quorx
