#pragma once

#include "platform/Sound.h"

#include <QByteArray>
#include <QString>

namespace quorx {

// Beeps as sine tones through the sound server's simple API (PipeWire answers it too). Where no
// server runs, a beep is silent but still lasts its length, so that alarm rhythms keep their pace.
// The server is never started on our behalf: only a server named by PULSE_SERVER or a socket that
// exists is tried.
class PulseSound final : public Sound
{
public:
    static constexpr int kSampleRate = 44100;

    void Beep(int frequencyHz, int durationMs) override;

    // The 16-bit mono samples of a tone, faded in and out over a few milliseconds against clicks.
    static QByteArray ToneSamples(int frequencyHz, int durationMs);
    // The server to ask, empty when none is there.
    static QString ServerAddress();

private:
    static void Play(const QByteArray& samples);
};

} // namespace quorx
