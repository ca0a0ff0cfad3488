#include "EngineTestSupport.h"
#include "engine/Alarm.h"
#include "engine/FreeSpaceWatch.h"
#include "platform/fake/FakePlatform.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"

#include <QMutex>
#include <QThread>

#include <gtest/gtest.h>

namespace quorx::test {
namespace {

class AlarmTest : public ::testing::Test
{
protected:
    AlarmTest() : fake(March(4, 21, 0)), sounder(fake.timers, fake.sound), alarm(settings, sounder) {}

    qint64 MsFromStart(const FakeBeep& beep) const { return DateTime::MsBetween(March(4, 21, 0), beep.when); }

    FakePlatform fake;
    Settings settings;
    VirtualAlarmSounder sounder;
    Alarm alarm;
};

TEST_F(AlarmTest, PatternRepeatsWithItsPauseUntilSilenced)
{
    ASSERT_TRUE(alarm.Request());
    fake.timers.RunFor(5000);
    const QVector<FakeBeep> beeps = fake.sound.Beeps();
    // 0: 440/100, 100: 400/50, 150: 440/100, then 2000 ms of silence after the last tone ends.
    const struct
    {
        qint64 at;
        int hz, ms;
    } expected[] = {{0, 440, 100},    {100, 400, 50},   {150, 440, 100}, {2250, 440, 100}, {2350, 400, 50},
                    {2400, 440, 100}, {4500, 440, 100}, {4600, 400, 50}, {4650, 440, 100}};
    ASSERT_EQ(beeps.size(), int(std::size(expected)));
    for (int i = 0; i < beeps.size(); ++i) {
        EXPECT_EQ(MsFromStart(beeps[i]), expected[i].at) << i;
        EXPECT_EQ(beeps[i].frequencyHz, expected[i].hz) << i;
        EXPECT_EQ(beeps[i].durationMs, expected[i].ms) << i;
    }

    // Silenced during the pause: no more beeps, and no new alarm until a recording starts.
    alarm.Silence();
    EXPECT_FALSE(alarm.Sounding());
    EXPECT_TRUE(alarm.Silenced());
    fake.timers.RunFor(10000);
    EXPECT_EQ(fake.sound.Beeps().size(), beeps.size());
    EXPECT_FALSE(alarm.Request());
    alarm.AllowAgain();
    EXPECT_TRUE(alarm.Request());
}

TEST_F(AlarmTest, StopDuringTheTonesFinishesThePatternAndSkipsThePause)
{
    ASSERT_TRUE(alarm.Request());
    fake.timers.RunFor(120); // inside the second tone
    alarm.Silence();
    fake.timers.RunFor(10000);
    ASSERT_EQ(fake.sound.Beeps().size(), 3);
    EXPECT_FALSE(alarm.Sounding());
    // The sounder is free at once after the pattern: a new alarm (once allowed) starts without delay.
    alarm.AllowAgain();
    fake.sound.ClearRecords();
    const DateTime now = fake.clock.Now();
    ASSERT_TRUE(alarm.Request());
    ASSERT_FALSE(fake.sound.Beeps().isEmpty());
    EXPECT_EQ(fake.sound.Beeps()[0].when, now);
}

TEST_F(AlarmTest, RequestRules)
{
    struct Case
    {
        const char* what;
        bool signalSonore, switchedOn, silenced, sounding;
        bool sounds;
    };
    const Case cases[] = {
        {"all allowed", true, true, false, false, true},
        {"SignalSonore off", false, true, false, false, false},
        {"recording switched off", true, false, false, false, false},
        {"silenced by the user", true, true, true, false, false},
        {"sounding already", true, true, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakePlatform local(March(4, 21, 0));
        Settings s;
        s.SignalSonore = c.signalSonore;
        VirtualAlarmSounder localSounder(local.timers, local.sound);
        Alarm a(s, localSounder);
        a.SetRecordingSwitchedOn([&c] { return c.switchedOn; });
        if (c.silenced) {
            ASSERT_TRUE(a.Request());
            a.Silence();
            local.timers.RunFor(5000);
            local.sound.ClearRecords();
        }
        if (c.sounding) {
            ASSERT_TRUE(a.Request());
        }
        EXPECT_EQ(a.Request(), c.sounds);
        if (!c.sounding) {
            EXPECT_EQ(!local.sound.Beeps().isEmpty(), c.sounds);
        }
    }
}

// The thread used by the program: beeps the pattern and ends soon after a stop request.
class CountingSound final : public Sound
{
public:
    void Beep(int frequencyHz, int durationMs) override
    {
        QMutexLocker lock(&m_mutex);
        m_beeps.append({frequencyHz, durationMs});
    }
    QVector<std::pair<int, int>> Beeps()
    {
        QMutexLocker lock(&m_mutex);
        return m_beeps;
    }

private:
    QMutex m_mutex;
    QVector<std::pair<int, int>> m_beeps;
};

TEST(AlarmThreadTest, BeepsOnAWorkerThreadAndStopsDuringThePause)
{
    CountingSound sound;
    AlarmThread thread(sound);
    Settings settings;
    Alarm alarm(settings, thread);
    ASSERT_TRUE(alarm.Request());
    while (sound.Beeps().size() < 3)
        QThread::yieldCurrentThread();
    alarm.Silence();
    ASSERT_TRUE(thread.Wait(2000)); // a pause of 2 s would not end within the stop's slice
    const auto beeps = sound.Beeps();
    ASSERT_EQ(beeps.size(), 3);
    EXPECT_EQ(beeps[0], std::make_pair(440, 100));
    EXPECT_EQ(beeps[1], std::make_pair(400, 50));
    EXPECT_EQ(beeps[2], std::make_pair(440, 100));
    EXPECT_FALSE(alarm.Sounding());
}

class FreeSpaceTest : public ::testing::Test
{
protected:
    FreeSpaceTest() : fake(March(4, 21, 0)), sounder(fake.timers, fake.sound), alarm(settings, sounder)
    {
        fake.disks.SetDefaultSpace(500 * FakeDisks::kGiB, 1000 * FakeDisks::kGiB);
    }
    void Record(const QString& file)
    {
        TEmission e = OneOff(QStringLiteral("Arte"), March(5), Hm(20, 0), Hm(21, 0));
        e.Fichier = file;
        table.Append(e);
    }

    FakePlatform fake;
    Settings settings;
    ScheduleTable table;
    VirtualAlarmSounder sounder;
    Alarm alarm;
};

TEST_F(FreeSpaceTest, TextAndColourForEachDrive)
{
    constexpr qint64 G = FakeDisks::kGiB;
    struct Case
    {
        const char* what;
        qint64 freeBytes, totalBytes;
        const char* text;
        FreeSpaceColour colour;
        bool alarm;
    };
    const Case cases[] = {
        {"ample", 30 * G, 100 * G, " /media/usb : 30 Go 30%", FreeSpaceColour::Green, false},
        {"just above orange", 21 * G, 100 * G, " /media/usb : 21 Go 21%", FreeSpaceColour::Green, false},
        {"orange at 20", 20 * G, 100 * G, " /media/usb : 20 Go 20%", FreeSpaceColour::Orange, false},
        {"orange, truncated GiB", 12 * G + G / 2, 30 * G + G / 3, " /media/usb : 12 Go 40%",
         FreeSpaceColour::Orange, false},
        {"orange at 8", 8 * G, 16 * G, " /media/usb : 8 Go 50%", FreeSpaceColour::Orange, false},
        {"maroon below 8", 8 * G - 1, 16 * G, " /media/usb : 7 Go 44%", FreeSpaceColour::Maroon, false},
        {"alarm below 4", 3 * G, 9 * G, " /media/usb : 3 Go 33%", FreeSpaceColour::Maroon, true},
        {"absent", -1, -1, " /media/usb : Absent", FreeSpaceColour::Maroon, true},
        {"size unknown", 0, 0, " /media/usb : 0 Go 0%", FreeSpaceColour::Maroon, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        table.Clear();
        fake.disks.SetSpace(QStringLiteral("/media/usb"), c.freeBytes, c.totalBytes);
        Record(QStringLiteral("/media/usb/films/a.ts"));
        const FreeSpaceStatus status = FreeSpaceWatch::Compute(table, fake.disks);
        EXPECT_EQ(status.text, QString::fromUtf8(c.text));
        EXPECT_EQ(status.colour, c.colour);
        EXPECT_EQ(status.alarm, c.alarm);
        EXPECT_TRUE(status.ButtonVisible());
        EXPECT_EQ(status.Blinks(), c.colour == FreeSpaceColour::Maroon);
    }
    EXPECT_EQ(WindowsColourOf(FreeSpaceColour::Orange), 255 | (128 << 8));
    EXPECT_EQ(WindowsColourOf(FreeSpaceColour::Maroon), 128);
    EXPECT_EQ(WindowsColourOf(FreeSpaceColour::Green), 128 << 8);
}

TEST_F(FreeSpaceTest, DrivesSortedOnceEachAndTheWorstColourKept)
{
    constexpr qint64 G = FakeDisks::kGiB;
    fake.disks.SetSpace(QStringLiteral("/media/usb"), -1, -1);
    fake.disks.SetSpace(QStringLiteral("/srv/tv"), 15 * G, 60 * G);
    Record(QStringLiteral("/srv/tv/b.ts"));
    Record(QStringLiteral("/media/usb/a.ts"));
    Record(QStringLiteral("/srv/tv/sub/c.ts"));
    Record(QStringLiteral("relative/d.ts")); // no drive: ignored
    Record(QString());

    FreeSpaceWatch watch(table, fake.disks, &alarm);
    const FreeSpaceStatus& status = watch.Refresh();
    EXPECT_EQ(status.drives, (QStringList{QStringLiteral("/media/usb"), QStringLiteral("/srv/tv")}));
    EXPECT_EQ(status.text, QStringLiteral(" /media/usb : Absent  |  /srv/tv : 15 Go 25%"));
    // The orange drive listed after the missing one does not hide it.
    EXPECT_EQ(status.colour, FreeSpaceColour::Maroon);
    EXPECT_TRUE(alarm.Sounding());

    table.Clear();
    const FreeSpaceStatus& none = watch.Refresh();
    EXPECT_TRUE(none.text.isEmpty());
    EXPECT_FALSE(none.ButtonVisible());
    EXPECT_EQ(none.colour, FreeSpaceColour::Green);
}

} // namespace
} // namespace quorx::test
