#include "engine/RecordingWindow.h"

namespace quorx {

RecordingWindow& RecordingWindowTable::operator[](int index)
{
    if (index < 1 || index > kSlots) {
        m_scratch = RecordingWindow::None();
        return m_scratch;
    }
    return m_windows[static_cast<std::size_t>(index)];
}

const RecordingWindow& RecordingWindowTable::operator[](int index) const
{
    static const RecordingWindow none;
    if (index < 1 || index > kSlots)
        return none;
    return m_windows[static_cast<std::size_t>(index)];
}

void RecordingWindowTable::RemoveAt(int index, int count)
{
    if (index < 1 || index > count || count > kSlots)
        return;
    for (int i = index; i < count; ++i)
        m_windows[static_cast<std::size_t>(i)] = m_windows[static_cast<std::size_t>(i + 1)];
    m_windows[static_cast<std::size_t>(count)] = RecordingWindow::None();
}

void RecordingWindowTable::Reorder(const std::vector<int>& newOrderOfOldIndexes)
{
    // Refuses what the schedule table refuses (anything but a permutation of 1..n), so both stay in step.
    const int n = static_cast<int>(newOrderOfOldIndexes.size());
    if (n > kSlots)
        return;
    std::vector<bool> seen(static_cast<std::size_t>(n) + 1, false);
    for (const int old : newOrderOfOldIndexes) {
        if (old < 1 || old > n || seen[static_cast<std::size_t>(old)])
            return;
        seen[static_cast<std::size_t>(old)] = true;
    }
    const auto before = m_windows;
    for (int i = 1; i <= n; ++i)
        m_windows[static_cast<std::size_t>(i)] =
            before[static_cast<std::size_t>(newOrderOfOldIndexes[static_cast<std::size_t>(i - 1)])];
}

void RecordingWindowTable::Clear()
{
    m_windows.fill(RecordingWindow::None());
}

} // namespace quorx
