#include "schedule/ScheduleTable.h"

#include "i18n/LocalisedStrings.h"

#include <algorithm>

namespace quorx {

namespace {

constexpr int kFullListText = 66;
constexpr std::int32_t kLargestRecordId = 2147483646;

const TEmission& ClearedRecord()
{
    static const TEmission cleared;
    return cleared;
}

} // namespace

ScheduleTable::ScheduleTable()
{
    std::random_device device;
    m_random.seed(device());
}

QString ScheduleTable::FullListMessage()
{
    return Ls(kFullListText);
}

TEmission& ScheduleTable::operator[](int index)
{
    if (index < 1 || index > kSlots) {
        // Whatever a stray caller wrote here before must not show through.
        m_scratch = TEmission();
        return m_scratch;
    }
    return m_slots[static_cast<std::size_t>(index)];
}

const TEmission& ScheduleTable::operator[](int index) const
{
    if (index < 1 || index > kSlots)
        return ClearedRecord();
    return m_slots[static_cast<std::size_t>(index)];
}

bool ScheduleTable::IsEligible(int index) const
{
    if (!IsValidIndex(index))
        return false;
    const TEmission& e = (*this)[index];
    return e.Actif && !e.InactifPro && e.Etat < 2;
}

int ScheduleTable::FindById(std::int32_t recordId) const
{
    for (int i = 1; i <= m_count; ++i)
        if (m_slots[static_cast<std::size_t>(i)].RecordId == recordId)
            return i;
    return -1;
}

int ScheduleTable::Append(const TEmission& record)
{
    if (IsFull())
        return -1;
    const std::int32_t id = NewRecordId();
    ++m_count;
    TEmission& slot = m_slots[static_cast<std::size_t>(m_count)];
    slot = record;
    slot.RecordId = id;
    return m_count;
}

void ScheduleTable::RemoveAt(int index)
{
    if (!IsValidIndex(index))
        return;
    for (int i = index; i < m_count; ++i)
        m_slots[static_cast<std::size_t>(i)] = std::move(m_slots[static_cast<std::size_t>(i + 1)]);
    m_slots[static_cast<std::size_t>(m_count)] = TEmission();
    --m_count;
}

void ScheduleTable::RemoveById(std::int32_t recordId)
{
    RemoveAt(FindById(recordId));
}

void ScheduleTable::Clear()
{
    for (TEmission& slot : m_slots)
        slot = TEmission();
    m_count = 0;
}

void ScheduleTable::SetCount(int count)
{
    m_count = std::clamp(count, 0, kMaxRecordings);
    for (int i = m_count + 1; i <= kSlots; ++i)
        m_slots[static_cast<std::size_t>(i)] = TEmission();
}

std::int32_t ScheduleTable::NewRecordId()
{
    std::uniform_int_distribution<std::int32_t> draw(0, kLargestRecordId);
    for (;;) {
        const std::int32_t id = draw(m_random);
        if (FindById(id) < 0)
            return id;
    }
}

std::uint32_t ScheduleTable::RandomNumber(std::uint32_t max)
{
    std::uniform_int_distribution<std::uint32_t> draw(0, max);
    return draw(m_random);
}

void ScheduleTable::Reorder(const std::vector<int>& newOrderOfOldIndexes)
{
    if (static_cast<int>(newOrderOfOldIndexes.size()) != m_count)
        return;
    std::vector<bool> seen(static_cast<std::size_t>(m_count) + 1, false);
    for (const int old : newOrderOfOldIndexes) {
        if (old < 1 || old > m_count || seen[static_cast<std::size_t>(old)])
            return;
        seen[static_cast<std::size_t>(old)] = true;
    }
    std::vector<TEmission> reordered;
    reordered.reserve(newOrderOfOldIndexes.size());
    for (const int old : newOrderOfOldIndexes)
        reordered.push_back(std::move(m_slots[static_cast<std::size_t>(old)]));
    for (int i = 1; i <= m_count; ++i)
        m_slots[static_cast<std::size_t>(i)] = std::move(reordered[static_cast<std::size_t>(i - 1)]);
}

} // namespace quorx
