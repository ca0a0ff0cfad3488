#include "power/InterfaceSounds.h"

#include "platform/Sound.h"
#include "schedule/Settings.h"

namespace quorx {

bool InterfaceSounds::AllowedNow(const Settings& settings, DateTime now)
{
    if (!settings.SignalSonoreInterface)
        return false;
    if (!settings.NoSoundStartEnd)
        return true;
    const qint64 msPerHour = 3600 * 1000;
    const qint64 quietFrom = settings.NoSoundStart.Hour() * msPerHour;
    const qint64 quietUntil = settings.NoSoundEnd.Hour() * msPerHour;
    const qint64 t = DateTime::MsBetween(now.DatePart(), now);
    if (quietFrom > quietUntil) // quiet across midnight, the usual case: 22:00 to 08:00
        return t > quietUntil && t < quietFrom;
    if (quietFrom < quietUntil) // quiet within one day, such as 01:00 to 06:00
        return t < quietFrom || t > quietUntil;
    return false;
}

void InterfaceSounds::PlayQuestion(Sound& sound)
{
    sound.Beep(100, 100);
    sound.Beep(300, 50);
}

void InterfaceSounds::PlayNotice(Sound& sound)
{
    sound.Beep(300, 50);
    sound.Beep(100, 100);
}

} // namespace quorx
