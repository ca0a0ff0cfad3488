#include "schedule/RecordTimes.h"

#include "schedule/TEmission.h"

namespace quorx {

qint64 MarginSeconds(DateTime margin)
{
    return margin.TimePart().TotalSeconds();
}

bool CrossesMidnight(const TEmission& e)
{
    return !DateTime::SameDay(e.DateFin, e.DateDebut);
}

bool CrossesMidnightWithMargins(const TEmission& e, DateTime delaiDeb, DateTime delaiFin)
{
    const DateTime firstStart = DateTime(e.DateDebut.DatePart().Value() + e.HeureDebut.TimePart().Value())
                                    .AddSeconds(-static_cast<double>(MarginSeconds(delaiDeb)));
    const DateTime lastEnd = DateTime(e.DateFin.DatePart().Value() + e.HeureFin.TimePart().Value())
                                 .AddSeconds(static_cast<double>(MarginSeconds(delaiFin)));
    return !DateTime::SameDay(firstStart, lastEnd);
}

DateTime EndOfStopOccurrence(const TEmission& e, DateTime delaiDeb, DateTime delaiFin)
{
    // The broadcast's own day: one later when the start margin took its start back over midnight.
    const bool startMovedToDayBefore = e.HeureDebut.TimePart().TotalSeconds() < MarginSeconds(delaiDeb);
    double day = e.DateStop.DatePart().Value() + (startMovedToDayBefore ? 1.0 : 0.0);
    if (CrossesMidnight(e))
        day += 1.0;
    return DateTime(day + e.HeureFin.TimePart().Value())
        .AddSeconds(static_cast<double>(MarginSeconds(delaiFin)));
}

} // namespace quorx
