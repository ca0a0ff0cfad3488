#pragma once

#include "common/DateTime.h"

namespace quorx {

struct Settings;
struct TEmission;
class ScheduleTable;

// When the occurrences of a recording start and end, with the two safety margins of the settings.
// The margins count in whole seconds; moments within one millisecond of each other are the same.
class Occurrences final
{
public:
    // Days examined by the search for a repeating recording: 14 blocks of seven from yesterday.
    static constexpr int kBlockDays = 7;
    static constexpr int kLastBlockStartAfterToday = 93;

    Occurrences(DateTime delaiDeb, DateTime delaiFin);
    explicit Occurrences(const Settings& settings);

    qint64 StartMarginSeconds() const { return m_startMargin; }
    qint64 EndMarginSeconds() const { return m_endMargin; }

    // DateDebut + HeureDebut - start margin (S0); its date is the first date D.
    DateTime FirstStart(const TEmission& e) const;
    // The candidate occurrence of a repeating recording on the day with this day number.
    DateTime CandidateStart(const TEmission& e, int day) const;
    DateTime CandidateEnd(const TEmission& e, int day) const;

    DateTime ComputeNextStart(const TEmission& e, DateTime now) const;
    // For one index of the table: an invalid index gives today's date.
    DateTime ComputeNextStart(const ScheduleTable& table, int index, DateTime now) const;
    // Stores NextStart of every record.
    void ComputeNextStart(ScheduleTable& table, DateTime now) const;

    // The end, end margin included, of the occurrence starting at NextStart; NoTime when there is none.
    DateTime OccurrenceEnd(const TEmission& e) const;

    DateTime EffectiveStartOf(const TEmission& e, DateTime now) const;
    // Stores EffectiveStart of every record.
    void ComputeEffectiveStart(ScheduleTable& table, DateTime now) const;

    static bool CrossesMidnight(const TEmission& e);
    bool CrossesMidnightWithMargins(const TEmission& e) const;
    // The end, end margin included, of the occurrence dated DateStop.
    DateTime EndOfStopOccurrence(const TEmission& e) const;
    // The end, end margin included, of the occurrence on the RepetitionFin day.
    DateTime EndOfLastDay(const TEmission& e) const;

    // 0 for Monday ... 6 for Sunday.
    static int WeekdayIndex(int day);

private:
    template <typename Accept> DateTime Search(const TEmission& e, DateTime now, Accept accept) const;

    DateTime m_delaiDeb;
    DateTime m_delaiFin;
    qint64 m_startMargin = 0;
    qint64 m_endMargin = 0;
};

} // namespace quorx
