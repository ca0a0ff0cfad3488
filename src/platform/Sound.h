#pragma once

namespace quorx {

// Beeps of the interface and the alarm: a tone of a frequency and a length. Blocks for the
// length of the tone; silent when no sound device is there.
class Sound
{
public:
    virtual ~Sound() = default;
    virtual void Beep(int frequencyHz, int durationMs) = 0;
};

} // namespace quorx
