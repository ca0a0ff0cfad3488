#include "engine/Occurrences.h"

#include "schedule/RecordTimes.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"
#include "schedule/TEmission.h"

#include <cstdlib>

namespace quorx {

namespace {

constexpr qint64 kSecondsPerDay = 86400;

qint64 SecondsOfDay(DateTime timeOfDay)
{
    return timeOfDay.TimePart().TotalSeconds();
}

// A day number and a count of seconds from its midnight (which may run past either end of the day).
DateTime At(int day, qint64 seconds)
{
    return DateTime(static_cast<double>(day) + static_cast<double>(seconds) / DateTime::kSecondsPerDay);
}

} // namespace

Occurrences::Occurrences(DateTime delaiDeb, DateTime delaiFin)
    : m_delaiDeb(delaiDeb), m_delaiFin(delaiFin), m_startMargin(MarginSeconds(delaiDeb)),
      m_endMargin(MarginSeconds(delaiFin))
{
}

Occurrences::Occurrences(const Settings& settings) : Occurrences(settings.DelaiDeb, settings.DelaiFin) {}

int Occurrences::WeekdayIndex(int day)
{
    // Day 0, 1899-12-30, was a Saturday.
    return ((day + 5) % 7 + 7) % 7;
}

DateTime Occurrences::FirstStart(const TEmission& e) const
{
    return CandidateStart(e, e.DateDebut.DayNumber());
}

DateTime Occurrences::CandidateStart(const TEmission& e, int day) const
{
    return At(day, SecondsOfDay(e.HeureDebut) - m_startMargin);
}

DateTime Occurrences::CandidateEnd(const TEmission& e, int day) const
{
    const qint64 extraDay = CrossesMidnight(e) ? kSecondsPerDay : 0;
    return At(day, SecondsOfDay(e.HeureFin) + m_endMargin + extraDay);
}

template <typename Accept> DateTime Occurrences::Search(const TEmission& e, DateTime now, Accept accept) const
{
    const int today = now.DayNumber();
    const int firstDate = FirstStart(e).DayNumber();
    int day = today - 1;
    for (;;) {
        for (int n = 0; n < kBlockDays; ++n, ++day) {
            if ((e.Repetition & (1u << WeekdayIndex(day))) == 0)
                continue;
            const DateTime start = CandidateStart(e, day);
            if (start.DayNumber() < firstDate)
                continue;
            if (!(CandidateEnd(e, day) > now))
                continue;
            if (accept(day, start))
                return start;
        }
        if (day > today + kLastBlockStartAfterToday)
            return DateTime::NoTime();
    }
}

DateTime Occurrences::ComputeNextStart(const TEmission& e, DateTime now) const
{
    if (!e.IsRepeating())
        return FirstStart(e);
    const bool stateBlocksEarlier = e.Etat != 0 && e.Etat != 1;
    const int stopDay = e.DateStop.DayNumber();
    return Search(e, now, [&](int day, DateTime) { return !stateBlocksEarlier || day >= stopDay; });
}

DateTime Occurrences::ComputeNextStart(const ScheduleTable& table, int index, DateTime now) const
{
    if (!table.IsValidIndex(index))
        return now.DatePart();
    return ComputeNextStart(table[index], now);
}

void Occurrences::ComputeNextStart(ScheduleTable& table, DateTime now) const
{
    for (int i = 1; i <= table.Count(); ++i)
        table[i].NextStart = ComputeNextStart(table[i], now);
}

DateTime Occurrences::OccurrenceEnd(const TEmission& e) const
{
    if (!e.IsRepeating())
        return At(e.DateFin.DayNumber(), SecondsOfDay(e.HeureFin) + m_endMargin);
    if (e.NextStart.IsNoTime())
        return DateTime::NoTime();
    const qint64 from =
        static_cast<qint64>(e.DateDebut.DayNumber()) * kSecondsPerDay + SecondsOfDay(e.HeureDebut);
    const qint64 to = static_cast<qint64>(e.DateFin.DayNumber()) * kSecondsPerDay + SecondsOfDay(e.HeureFin);
    const qint64 duration = std::llabs(to - from);
    return e.NextStart.AddSeconds(static_cast<double>(m_startMargin + duration + m_endMargin));
}

DateTime Occurrences::EffectiveStartOf(const TEmission& e, DateTime now) const
{
    if (!e.IsRepeating()) {
        // An inactive one-off recording is never recorded, so nothing should wake the computer for it.
        return (e.Etat != 0 || !e.Actif) ? DateTime::NoTime() : e.NextStart;
    }
    if (!e.Actif)
        return DateTime::NoTime();
    if (e.Etat == 0 && !e.InactifPro)
        return e.NextStart;
    // The occurrence concerned is the one dated DateStop (being recorded, recorded, over or
    // skipped); the computer wakes for the first one after it. Once that occurrence is over,
    // NextStart already lies after it and is the answer.
    const int concernedDay = e.DateStop.DayNumber();
    return Search(e, now, [&](int, DateTime start) { return start.DayNumber() > concernedDay; });
}

void Occurrences::ComputeEffectiveStart(ScheduleTable& table, DateTime now) const
{
    for (int i = 1; i <= table.Count(); ++i)
        table[i].EffectiveStart = EffectiveStartOf(table[i], now);
}

bool Occurrences::CrossesMidnight(const TEmission& e)
{
    return quorx::CrossesMidnight(e);
}

bool Occurrences::CrossesMidnightWithMargins(const TEmission& e) const
{
    return quorx::CrossesMidnightWithMargins(e, m_delaiDeb, m_delaiFin);
}

DateTime Occurrences::EndOfStopOccurrence(const TEmission& e) const
{
    return quorx::EndOfStopOccurrence(e, m_delaiDeb, m_delaiFin);
}

DateTime Occurrences::EndOfLastDay(const TEmission& e) const
{
    return CandidateEnd(e, e.RepetitionFin.DayNumber());
}

} // namespace quorx
