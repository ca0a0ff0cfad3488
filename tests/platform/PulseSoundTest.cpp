#include "platform/linux/PulseSound.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>

namespace quorx {
namespace {

const qint16* Samples(const QByteArray& bytes)
{
    return reinterpret_cast<const qint16*>(bytes.constData());
}

TEST(PulseSoundTest, ToneHasTheLengthAndPitchAskedAndFadesAtBothEnds)
{
    const QByteArray tone = PulseSound::ToneSamples(1000, 200);
    const qsizetype count = tone.size() / 2;
    ASSERT_EQ(count, PulseSound::kSampleRate / 5);
    const qint16* s = Samples(tone);

    int crossings = 0;
    int peak = 0;
    for (qsizetype i = 1; i < count; ++i) {
        if ((s[i - 1] < 0) != (s[i] < 0))
            ++crossings;
        peak = std::max(peak, std::abs(int(s[i])));
    }
    // 1000 Hz over 0.2 s: 200 periods, two crossings each.
    EXPECT_NEAR(crossings, 400, 2);
    EXPECT_GT(peak, 8000);
    EXPECT_LT(peak, 32767);
    // Faded in and out: the ends are near silence, the middle is not.
    EXPECT_LT(std::abs(int(s[0])), 50);
    EXPECT_LT(std::abs(int(s[count - 1])), 50);
    int loudestStart = 0;
    for (int i = 0; i < 40; ++i)
        loudestStart = std::max(loudestStart, std::abs(int(s[i])));
    EXPECT_LT(loudestStart, peak / 4);

    EXPECT_TRUE(PulseSound::ToneSamples(440, 0).isEmpty());
    const QByteArray inaudible = PulseSound::ToneSamples(5, 50);
    EXPECT_EQ(inaudible.size(), PulseSound::kSampleRate / 20 * 2);
    EXPECT_EQ(inaudible.count('\0'), inaudible.size());
}

// With no server to answer the beep is silent, asks for no server to be started, and still lasts
// its length so that an alarm loop keeps its pace.
TEST(PulseSoundTest, WithoutAServerABeepIsSilentAndLastsItsLength)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QByteArray savedServer = qgetenv("PULSE_SERVER");
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("PULSE_SERVER", QByteArray("unix:") + runtime.filePath(QStringLiteral("none/native")).toUtf8());

    PulseSound sound;
    QElapsedTimer elapsed;
    elapsed.start();
    sound.Beep(880, 150);
    const qint64 took = elapsed.elapsed();
    EXPECT_GE(took, 149);
    EXPECT_LT(took, 1500);

    elapsed.restart();
    sound.Beep(880, 0);
    EXPECT_LT(elapsed.elapsed(), 50);

    // Without PULSE_SERVER only a socket that is there is tried; an empty runtime folder has none.
    qunsetenv("PULSE_SERVER");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    const QString found = PulseSound::ServerAddress();
    EXPECT_FALSE(found.contains(runtime.path()));
    EXPECT_TRUE(found.isEmpty() || found.startsWith(QLatin1String("unix:")));

    if (savedServer.isNull())
        qunsetenv("PULSE_SERVER");
    else
        qputenv("PULSE_SERVER", savedServer);
    if (savedRuntime.isNull())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", savedRuntime);
}

} // namespace
} // namespace quorx
