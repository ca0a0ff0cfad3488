#pragma once

#include "common/DateTime.h"

namespace quorx {

struct Settings;
class Sound;

// The beeps of the interface: played only when the user wants them and outside the quiet hours.
class InterfaceSounds final
{
public:
    // Quiet hours count whole hours only: with 22:00 and 08:00, sounds play from 08:00 to 22:00.
    static bool AllowedNow(const Settings& settings, DateTime now);
    // Rising for a question, falling for a notice.
    static void PlayQuestion(Sound& sound);
    static void PlayNotice(Sound& sound);
};

} // namespace quorx
