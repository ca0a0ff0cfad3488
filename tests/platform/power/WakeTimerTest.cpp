#include "platform/linux/WakeTimer.h"
#include "platform/fake/VirtualClock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

#include <cerrno>
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorx {

// Readable failures: gtest finds this beside DateTime.
inline void PrintTo(DateTime value, std::ostream* out)
{
    *out << value.IsoText().toStdString();
}

namespace {

const DateTime kNow = DateTime::FromFields(2024, 3, 1, 20, 0);

qint64 EpochOf(DateTime local)
{
    return local.ToQDateTime().toSecsSinceEpoch();
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool DescriptorOpen(int fd)
{
    return ::fcntl(fd, F_GETFD) != -1;
}

class WakeTimerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_rtc = m_dir.filePath(QStringLiteral("wakealarm"));
        QFile file(m_rtc);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("0\n");
    }

    VirtualClock m_clock{kNow};
    QTemporaryDir m_dir;
    QString m_rtc;
};

// The alarm timer is preferred; when the kernel refuses it (typically EPERM without
// CAP_WAKE_ALARM, EINVAL where alarm timers are missing) the real-time clock is written, and when
// that is not writable either, nothing will wake the computer.
TEST_F(WakeTimerTest, FallsBackFromTheAlarmTimerToTheClockToNothing)
{
    const DateTime wake = kNow.AddMinutes(90);
    const struct
    {
        const char* name;
        int armResult; // >= 0: a descriptor is handed out
        bool rtcWritable;
        WakeTimerType expected;
    } cases[] = {
        {"alarm timer", 0, true, WakeTimerType::AlarmTimer},
        {"no capability", -EPERM, true, WakeTimerType::RtcAlarm},
        {"no alarm timers", -EINVAL, true, WakeTimerType::RtcAlarm},
        {"no capability, clock read-only", -EPERM, false, WakeTimerType::None},
        {"nothing at all", -EINVAL, false, WakeTimerType::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString rtc = c.rtcWritable ? m_rtc : m_dir.filePath(QStringLiteral("missing/wakealarm"));
        QVector<qint64> armedAt;
        int handedFd = -1;
        WakeTimer timer(m_clock, rtc, [&](qint64 utc) {
            armedAt.append(utc);
            if (c.armResult < 0)
                return c.armResult;
            handedFd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
            return handedFd;
        });

        EXPECT_EQ(timer.Set(wake), c.expected);
        EXPECT_EQ(timer.Kind(), c.expected);
        EXPECT_EQ(armedAt, QVector<qint64>{EpochOf(wake)});
        const QByteArray expectedRtc = c.expected == WakeTimerType::RtcAlarm
                                           ? QByteArray::number(EpochOf(wake)) + '\n'
                                           : QByteArray("0\n");
        EXPECT_EQ(ReadFile(m_rtc), expectedRtc);
        EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("missing"))));
        EXPECT_EQ(timer.Instant(), c.expected == WakeTimerType::None ? DateTime::NoTime() : wake);

        timer.Cancel();
        EXPECT_EQ(timer.Kind(), WakeTimerType::None);
        EXPECT_TRUE(timer.Instant().IsNoTime());
        EXPECT_EQ(ReadFile(m_rtc), QByteArray("0\n"));
        if (handedFd >= 0) {
            EXPECT_FALSE(DescriptorOpen(handedFd)) << "the alarm timer's descriptor is closed on cancel";
        }
    }
}

TEST_F(WakeTimerTest, AnInstantNotLaterThanNowWakesThreeMinutesFromNow)
{
    const struct
    {
        const char* name;
        DateTime asked;
        DateTime kept;
    } cases[] = {
        {"an hour ago", kNow.AddMinutes(-60), kNow.AddMinutes(3)},
        {"now", kNow, kNow.AddMinutes(3)},
        {"a minute ahead", kNow.AddMinutes(1), kNow.AddMinutes(1)},
        {"tomorrow", kNow.AddDays(1), kNow.AddDays(1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WakeTimer timer(m_clock, m_rtc, [](qint64) { return -EPERM; });
        ASSERT_EQ(timer.Set(c.asked), WakeTimerType::RtcAlarm);
        EXPECT_EQ(timer.Instant(), c.kept);
        EXPECT_EQ(ReadFile(m_rtc), QByteArray::number(EpochOf(c.kept)) + '\n');
    }
}

TEST_F(WakeTimerTest, SettingAgainReplacesAndNoTimeOrTheEndCancels)
{
    int armed = 0;
    {
        WakeTimer timer(m_clock, m_rtc,
                        [&](qint64) { return armed++ == 0 ? -EPERM : ::open("/dev/null", O_RDONLY); });
        ASSERT_EQ(timer.Set(kNow.AddMinutes(30)), WakeTimerType::RtcAlarm);
        // The clock's alarm is cleared once the alarm timer takes over.
        ASSERT_EQ(timer.Set(kNow.AddMinutes(40)), WakeTimerType::AlarmTimer);
        EXPECT_EQ(ReadFile(m_rtc), QByteArray("0\n"));
        EXPECT_EQ(timer.Set(DateTime::NoTime()), WakeTimerType::None);
        EXPECT_EQ(armed, 2) << "NoTime arms nothing";
    }
    {
        WakeTimer timer(m_clock, m_rtc, [](qint64) { return -EPERM; });
        ASSERT_EQ(timer.Set(kNow.AddMinutes(30)), WakeTimerType::RtcAlarm);
    }
    EXPECT_EQ(ReadFile(m_rtc), QByteArray("0\n")) << "nobody records once the program is gone";
}

// Seconds left on the armed CLOCK_REALTIME_ALARM timer of this process, as the kernel shows it
// in /proc/self/fdinfo; -1 when there is none.
qint64 AlarmTimerSecondsLeft()
{
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& name : fds.entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System)) {
        QFile info(QStringLiteral("/proc/self/fdinfo/") + name);
        if (!info.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = info.readAll();
        if (!text.contains("clockid: 8\n"))
            continue;
        const qsizetype at = text.indexOf("it_value: (");
        if (at < 0)
            continue;
        const qsizetype from = at + qsizetype(sizeof "it_value: (") - 1;
        const qint64 seconds = text.mid(from, text.indexOf(',', from) - from).toLongLong();
        if (seconds > 0)
            return seconds;
    }
    return -1;
}

bool HaveCapability(int capability)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    return (data[capability / 32].effective & (1u << (capability % 32))) != 0;
}

bool DropCapability(int capability)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    const unsigned bit = 1u << (capability % 32);
    data[capability / 32].effective &= ~bit;
    data[capability / 32].permitted &= ~bit;
    data[capability / 32].inheritable &= ~bit;
    return ::syscall(SYS_capset, &header, data) == 0;
}

enum ChildExit
{
    kCouldNotDrop = 100,
    kStillCapable = 101
};

// The kernel's own alarm timer needs real time: a wake instant half an hour from the present.
TEST_F(WakeTimerTest, TheKernelAlarmTimerIsUsedWhenAllowedAndTheClockWhenNot)
{
    const VirtualClock realNow(DateTime::FromQDateTime(QDateTime::currentDateTime()));
    const DateTime wake = realNow.Now().AddMinutes(30);

    if (HaveCapability(CAP_WAKE_ALARM)) {
        WakeTimer timer(realNow, m_rtc);
        ASSERT_EQ(AlarmTimerSecondsLeft(), -1);
        EXPECT_EQ(timer.Set(wake), WakeTimerType::AlarmTimer);
        const qint64 left = AlarmTimerSecondsLeft();
        EXPECT_GE(left, 30 * 60 - 10);
        EXPECT_LE(left, 30 * 60);
        EXPECT_EQ(ReadFile(m_rtc), QByteArray("0\n"));
        timer.Cancel();
        EXPECT_EQ(AlarmTimerSecondsLeft(), -1);
    }

    // In a child without CAP_WAKE_ALARM (nothing to drop when the test runs unprivileged).
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (HaveCapability(CAP_WAKE_ALARM) && !DropCapability(CAP_WAKE_ALARM))
            ::_exit(kCouldNotDrop);
        if (HaveCapability(CAP_WAKE_ALARM))
            ::_exit(kStillCapable);
        WakeTimer timer(realNow, m_rtc);
        const WakeTimerType kind = timer.Set(wake);
        const bool alarmArmed = AlarmTimerSecondsLeft() > 0;
        // Leave without the destructor, which would clear the clock's alarm the parent reads.
        ::_exit(static_cast<int>(kind) + (alarmArmed ? 10 : 0));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), kCouldNotDrop) << "could not drop CAP_WAKE_ALARM";
    ASSERT_NE(WEXITSTATUS(status), kStillCapable) << "CAP_WAKE_ALARM still held after the drop";
    EXPECT_EQ(WEXITSTATUS(status), static_cast<int>(WakeTimerType::RtcAlarm));
    EXPECT_EQ(ReadFile(m_rtc), QByteArray::number(EpochOf(wake)) + '\n');
}

} // namespace
} // namespace quorx
