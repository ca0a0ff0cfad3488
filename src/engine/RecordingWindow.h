#pragma once

#include "common/DateTime.h"

#include <array>
#include <vector>

namespace quorx {

// The part of a record's next occurrence that will actually be recorded; both ends NoTime when
// the record will not record.
struct RecordingWindow
{
    DateTime start = DateTime::NoTime();
    DateTime end = DateTime::NoTime();

    bool IsNone() const { return start.IsNoTime(); }
    static RecordingWindow None() { return RecordingWindow(); }
};

// One window per slot of the schedule, numbered like it from 1. Whoever removes or reorders
// records of the schedule between two passes keeps this table in step through RemoveAt and
// Reorder, so that a window is always read beside its own record.
class RecordingWindowTable final
{
public:
    static constexpr int kSlots = 257;

    // An index outside 1..257 reads as no window and writes into a scratch slot.
    RecordingWindow& operator[](int index);
    const RecordingWindow& operator[](int index) const;

    // Removes the window of a record among count records; later windows move up.
    void RemoveAt(int index, int count);
    // The same permutation as ScheduleTable::Reorder.
    void Reorder(const std::vector<int>& newOrderOfOldIndexes);
    void Clear();

private:
    std::array<RecordingWindow, kSlots + 1> m_windows; // slot 0 unused
    RecordingWindow m_scratch;
};

} // namespace quorx
