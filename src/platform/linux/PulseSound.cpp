#include "platform/linux/PulseSound.h"

#include <QFileInfo>
#include <QThread>

#include <pulse/simple.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>
#include <unistd.h>

namespace quorx {

namespace {

constexpr int kFadeMs = 5;
constexpr double kAmplitude = 0.3 * 32767.0;

} // namespace

QString PulseSound::ServerAddress()
{
    const QString named = qEnvironmentVariable("PULSE_SERVER").trimmed();
    if (!named.isEmpty())
        return named;
    QStringList sockets;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        sockets << runtime + QStringLiteral("/pulse/native");
    sockets << QStringLiteral("/run/user/%1/pulse/native").arg(::getuid())
            << QStringLiteral("/var/run/pulse/native");
    for (const QString& socket : sockets) {
        if (QFileInfo::exists(socket))
            return QStringLiteral("unix:") + socket;
    }
    return QString();
}

QByteArray PulseSound::ToneSamples(int frequencyHz, int durationMs)
{
    if (durationMs <= 0)
        return QByteArray();
    const qsizetype count = static_cast<qsizetype>(qint64(kSampleRate) * durationMs / 1000);
    QByteArray bytes(count * 2, '\0');
    // Outside the audible range the tone is silence of the same length.
    if (frequencyHz < 20 || frequencyHz > 20000)
        return bytes;
    const qsizetype fade = std::min<qsizetype>(qint64(kSampleRate) * kFadeMs / 1000, count / 2);
    auto* samples = reinterpret_cast<qint16*>(bytes.data());
    const double step = 2.0 * std::numbers::pi * frequencyHz / kSampleRate;
    for (qsizetype i = 0; i < count; ++i) {
        double gain = 1.0;
        if (fade > 0) {
            if (i < fade)
                gain = static_cast<double>(i) / fade;
            else if (i >= count - fade)
                gain = static_cast<double>(count - 1 - i) / fade;
        }
        samples[i] = static_cast<qint16>(std::lround(kAmplitude * gain * std::sin(step * i)));
    }
    return bytes;
}

void PulseSound::Play(const QByteArray& samples)
{
    const QString server = ServerAddress();
    if (server.isEmpty() || samples.isEmpty())
        return;
    pa_sample_spec format{};
    format.format = PA_SAMPLE_S16NE;
    format.rate = kSampleRate;
    format.channels = 1;
    const QByteArray serverName = server.toLocal8Bit();
    int error = 0;
    // An explicit server: the library never spawns a daemon for a named server.
    pa_simple* stream = pa_simple_new(serverName.constData(), "Vizezezoruvav Zomvara", PA_STREAM_PLAYBACK,
                                      nullptr, "Beep", &format, nullptr, nullptr, &error);
    if (!stream)
        return;
    if (pa_simple_write(stream, samples.constData(), static_cast<size_t>(samples.size()), &error) == 0)
        pa_simple_drain(stream, &error);
    pa_simple_free(stream);
}

void PulseSound::Beep(int frequencyHz, int durationMs)
{
    if (durationMs <= 0)
        return;
    const auto start = std::chrono::steady_clock::now();
    Play(ToneSamples(frequencyHz, durationMs));
    const auto spent =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count();
    if (spent < durationMs)
        QThread::msleep(static_cast<unsigned long>(durationMs - spent));
}

} // namespace quorx
