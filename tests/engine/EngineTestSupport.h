#pragma once

#include "common/DateTime.h"
#include "schedule/TEmission.h"

#include <QString>

#include <ostream>

namespace quorx {

// Readable failures: a moment prints as "yyyy-mm-dd hh:nn:ss".
inline void PrintTo(const DateTime& value, std::ostream* os)
{
    *os << value.IsoText().toStdString();
}

namespace test {

constexpr std::uint8_t kEveryDay = 0x7F;

inline DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    return DateTime::FromFields(y, mo, d, h, mi, s, ms);
}
inline DateTime Hm(int h, int mi, int s = 0)
{
    return DateTime::FromTime(h, mi, s);
}

// Monday 4 March 2024 and the days around it.
inline DateTime March(int day, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    return At(2024, 3, day, h, mi, s, ms);
}

// A broadcast on one channel from start to end on day; an end not after the start is on the next day.
inline TEmission Broadcast(const QString& channel, DateTime day, DateTime start, DateTime end,
                           std::uint8_t days = 0)
{
    TEmission e;
    e.Programme = channel + QStringLiteral(" news");
    e.Chaine = channel;
    e.Fichier = QStringLiteral("/video/") + channel + QStringLiteral(".ts");
    e.Repetition = days;
    e.DateDebut = day.DatePart();
    e.DateFin = end.Value() <= start.Value() ? day.DatePart().AddDays(1) : day.DatePart();
    e.HeureDebut = start;
    e.HeureFin = end;
    e.Actif = true;
    return e;
}

inline TEmission OneOff(const QString& channel, DateTime day, DateTime start, DateTime end)
{
    return Broadcast(channel, day, start, end);
}

inline TEmission Daily(const QString& channel, DateTime firstDay, DateTime start, DateTime end)
{
    return Broadcast(channel, firstDay, start, end, kEveryDay);
}

} // namespace test
} // namespace quorx
