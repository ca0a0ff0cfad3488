#pragma once

#include "common/DateTime.h"

#include <vector>

namespace quorx {

class Occurrences;
class RecordingWindowTable;
class ScheduleTable;

// How overlapping recordings share the single tuner: priorities, the recording windows, the
// minutes the overlaps cut, and the disabling of heavily truncated repeating recordings.
class OverlapResolver final
{
public:
    // Heavily truncated: fewer than 10 minutes left, or less than 0.67 of the occurrence.
    static constexpr int kMinimumMinutesLeft = 10;
    static constexpr double kMinimumShareLeft = 0.67;

    OverlapResolver(ScheduleTable& table, RecordingWindowTable& windows, const Occurrences& occurrences,
                    bool repPrioritaire);

    // Whether record a wins over record b where their occurrences meet (1-based indexes).
    bool HasPriorityOver(int a, int b) const;
    static bool HasPriorityOver(const ScheduleTable& table, int a, int b, bool repPrioritaire);
    // Fills the window of every record and marks missed occurrences (Etat 3).
    void ResolveOverlaps(DateTime now);
    // CutAtStart and CutAtEnd of every record, from the windows.
    void ComputeCutMinutes();
    // Disables the next occurrence of repeating recordings left heavily truncated by the windows
    // just computed; true when a record changed.
    bool DeactivateTruncated();

    // Whole minutes between two different moments, counting a started minute as lost.
    static int CutMinutes(DateTime from, DateTime to);
    static bool IsHeavilyTruncated(int totalMinutes, int cutAtStart, int cutAtEnd);

private:
    void Prepare();

    ScheduleTable& m_table;
    RecordingWindowTable& m_windows;
    const Occurrences& m_occurrences;
    bool m_repPrioritaire;
    // Per pass, indexed like the table: NextStart, OccurrenceEnd and eligibility.
    std::vector<DateTime> m_start;
    std::vector<DateTime> m_end;
    std::vector<char> m_eligible;
};

} // namespace quorx
