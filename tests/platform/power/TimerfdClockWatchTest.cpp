#include "TestEventLoop.h"

#include "platform/linux/TimerfdClockWatch.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <unistd.h>

namespace quorx {
namespace {

using test::EnsureApplication;
using test::SpinUntil;

// A pipe in place of the timer: the test writes a byte to make it readable, and scripts what
// reading it gives and how the wall clock stands against the boot clock at that moment.
class ScriptedTimer
{
public:
    ScriptedTimer()
    {
        int fds[2] = {-1, -1};
        if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) == 0) {
            m_readEnd = fds[0];
            m_writeEnd = fds[1];
        }
    }
    ~ScriptedTimer()
    {
        if (m_writeEnd >= 0)
            ::close(m_writeEnd);
    }

    TimerfdClockWatch::Source Source()
    {
        TimerfdClockWatch::Source source;
        source.open = [this] { return m_readEnd; };
        source.arm = [this](int) {
            ++armed;
            return armSucceeds;
        };
        source.read = [this](int fd) {
            char byte = 0;
            if (::read(fd, &byte, 1) != 1)
                return EAGAIN;
            ++reads;
            const int result = results.empty() ? EAGAIN : results.front();
            if (!results.empty())
                results.pop_front();
            return result;
        };
        source.wallMinusBootMs = [this] { return wallMinusBootMs; };
        source.close = [this](int fd) {
            ++closed;
            ::close(fd);
        };
        return source;
    }

    // One readable event, read as result.
    void Fire(int result)
    {
        results.push_back(result);
        const char byte = 1;
        ASSERT_EQ(::write(m_writeEnd, &byte, 1), 1);
    }

    std::deque<int> results;
    qint64 wallMinusBootMs = 1'700'000'000'000;
    bool armSucceeds = true;
    int armed = 0;
    int reads = 0;
    int closed = 0;

private:
    int m_readEnd = -1;
    int m_writeEnd = -1;
};

TEST(TimerfdClockWatchTest, OnlyASetOfTheWallClockIsReported)
{
    EnsureApplication();
    const struct
    {
        const char* name;
        int readResult;
        qint64 wallMovedMs; // against the boot clock, between arming and the event
        int reported;
    } cases[] = {
        {"clock set an hour ahead", ECANCELED, 3'600'000, 1},
        {"clock set back two hours", ECANCELED, -7'200'000, 1},
        {"resume from a suspend", ECANCELED, 0, 0},
        {"a step below the tolerance", ECANCELED, 200, 0},
        {"the far timer expiring", 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedTimer timer;
        TimerfdClockWatch watch(timer.Source());
        ASSERT_TRUE(watch.Watching());
        int reported = 0;
        watch.SetClockChangeHandler([&] { ++reported; });
        ASSERT_EQ(timer.armed, 1);

        timer.wallMinusBootMs += c.wallMovedMs;
        timer.Fire(c.readResult);
        ASSERT_TRUE(SpinUntil([&] { return timer.reads == 1; }));
        EXPECT_EQ(reported, c.reported);
        EXPECT_EQ(timer.armed, 2) << "armed again after every event, so the next set is seen";
        EXPECT_TRUE(watch.Watching());

        // The next set is measured from this one, not from the start.
        timer.wallMinusBootMs += 60'000;
        timer.Fire(ECANCELED);
        ASSERT_TRUE(SpinUntil([&] { return timer.reads == 2; }));
        EXPECT_EQ(reported, c.reported + 1);
    }
}

TEST(TimerfdClockWatchTest, ABrokenTimerStopsTheWatchInsteadOfSpinning)
{
    EnsureApplication();
    const struct
    {
        const char* name;
        int readResult;
        bool armSucceeds;
    } cases[] = {{"read fails", EBADF, true}, {"arming again fails", ECANCELED, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedTimer timer;
        TimerfdClockWatch watch(timer.Source());
        ASSERT_TRUE(watch.Watching());
        timer.armSucceeds = c.armSucceeds;
        timer.Fire(c.readResult);
        ASSERT_TRUE(SpinUntil([&] { return !watch.Watching(); }));
        EXPECT_EQ(timer.closed, 1);
    }
}

TEST(TimerfdClockWatchTest, NoWatchWhenTheTimerCannotBeArmed)
{
    EnsureApplication();
    ScriptedTimer timer;
    timer.armSucceeds = false;
    TimerfdClockWatch watch(timer.Source());
    EXPECT_FALSE(watch.Watching());
    EXPECT_EQ(timer.closed, 1);
}

// Setting the machine's clock is not for a test, so the real timer is checked as armed: the kernel
// shows clock 0 (CLOCK_REALTIME) and the flags TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET.
TEST(TimerfdClockWatchTest, TheSystemTimerIsArmedToBeCancelledOnASet)
{
    EnsureApplication();
    auto countArmed = [] {
        int count = 0;
        const QDir fds(QStringLiteral("/proc/self/fd"));
        for (const QString& name : fds.entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System)) {
            QFile info(QStringLiteral("/proc/self/fdinfo/") + name);
            if (info.open(QIODevice::ReadOnly)) {
                const QByteArray text = info.readAll();
                if (text.contains("clockid: 0\n") && text.contains("settime flags: 03\n"))
                    ++count;
            }
        }
        return count;
    };
    const int before = countArmed();
    {
        TimerfdClockWatch watch;
        EXPECT_TRUE(watch.Watching());
        EXPECT_EQ(countArmed(), before + 1);
    }
    EXPECT_EQ(countArmed(), before);
}

} // namespace
} // namespace quorx
