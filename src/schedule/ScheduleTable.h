#pragma once

#include "schedule/TEmission.h"

#include <array>
#include <functional>
#include <random>
#include <vector>

namespace quorx {

// The schedule: 257 slots numbered from 1 and a count. The user-facing limit is 256 recordings;
// slot 257 is spare. The table order is the list view's order and decides ties.
class ScheduleTable final
{
public:
    static constexpr int kSlots = 257;
    static constexpr int kMaxRecordings = 256;

    ScheduleTable();

    int Count() const { return m_count; }
    bool IsValidIndex(int index) const { return index >= 1 && index <= m_count; }
    bool IsFull() const { return m_count >= kMaxRecordings; }
    // What the user is told when an addition is refused because the list is full.
    static QString FullListMessage();

    // Slot access by 1-based index. An index outside 1..257 gives a cleared scratch record, so a
    // stray index never touches a real slot.
    TEmission& operator[](int index);
    const TEmission& operator[](int index) const;

    // The index is valid, the record active, its next occurrence not disabled and Etat below 2.
    bool IsEligible(int index) const;
    // The index of the record carrying this identifier, or -1.
    int FindById(std::int32_t recordId) const;

    // Appends a record (a fresh RecordId is drawn) and returns its index, or -1 at 256 records.
    int Append(const TEmission& record);
    // Removes the record at index; later records move up and the freed slot is cleared.
    void RemoveAt(int index);
    void RemoveById(std::int32_t recordId);
    void Clear();
    // For loading: sets the count directly (clamped to 0..256); slots beyond it are cleared.
    void SetCount(int count);

    // A random identifier from 0 to 2147483646 that no record in use carries.
    std::int32_t NewRecordId();
    // Replaces the random source (tests make identifiers repeatable).
    void SeedForTests(unsigned seed) { m_random.seed(seed); }
    // A random whole number from 0 to max, from the same source.
    std::uint32_t RandomNumber(std::uint32_t max);

    // Reorders slots 1..count; the order must be a permutation of 1..count (anything else is
    // ignored, so a faulty caller cannot lose or duplicate a record).
    void Reorder(const std::vector<int>& newOrderOfOldIndexes);

private:
    std::array<TEmission, kSlots + 1> m_slots; // slot 0 unused
    int m_count = 0;
    TEmission m_scratch;
    std::mt19937 m_random;
};

} // namespace quorx
