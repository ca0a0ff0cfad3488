#include "engine/OverlapResolver.h"

#include "engine/Occurrences.h"
#include "engine/RecordingWindow.h"
#include "schedule/ScheduleTable.h"

#include <algorithm>
#include <cmath>

namespace quorx {

OverlapResolver::OverlapResolver(ScheduleTable& table, RecordingWindowTable& windows,
                                 const Occurrences& occurrences, bool repPrioritaire)
    : m_table(table), m_windows(windows), m_occurrences(occurrences), m_repPrioritaire(repPrioritaire)
{
}

bool OverlapResolver::HasPriorityOver(int a, int b) const
{
    return HasPriorityOver(m_table, a, b, m_repPrioritaire);
}

bool OverlapResolver::HasPriorityOver(const ScheduleTable& table, int a, int b, bool repPrioritaire)
{
    const TEmission& ra = table[a];
    const TEmission& rb = table[b];
    if (ra.Prioritaire != rb.Prioritaire)
        return ra.Prioritaire;
    if (ra.NextStart != rb.NextStart)
        return ra.NextStart < rb.NextStart;
    // At equal starts the one-off recording wins only over a repeating one, and never the
    // other way round, so that exactly one of the two records.
    if (repPrioritaire && ra.IsRepeating() != rb.IsRepeating())
        return !ra.IsRepeating();
    return b < a;
}

void OverlapResolver::Prepare()
{
    const int count = m_table.Count();
    m_start.assign(static_cast<std::size_t>(count) + 1, DateTime::NoTime());
    m_end.assign(static_cast<std::size_t>(count) + 1, DateTime::NoTime());
    m_eligible.assign(static_cast<std::size_t>(count) + 1, 0);
    for (int i = 1; i <= count; ++i) {
        const TEmission& e = m_table[i];
        m_start[static_cast<std::size_t>(i)] = e.NextStart;
        m_end[static_cast<std::size_t>(i)] =
            e.NextStart.IsNoTime() ? DateTime::NoTime() : m_occurrences.OccurrenceEnd(e);
        m_eligible[static_cast<std::size_t>(i)] = m_table.IsEligible(i) && !e.NextStart.IsNoTime();
    }
}

void OverlapResolver::ResolveOverlaps(DateTime now)
{
    Prepare();
    const int count = m_table.Count();
    // The rivals of a record all start before its end and end after its start: with the eligible
    // records in order of start and the longest occurrence known, each record looks only at the
    // few that can meet it rather than at the whole table. The bounds are widened by more than the
    // tolerance of the moment comparisons, so that the exact tests below see every rival.
    std::vector<int> byStart;
    byStart.reserve(static_cast<std::size_t>(count));
    double longest = 0.0;
    for (int j = 1; j <= count; ++j) {
        const auto sj = static_cast<std::size_t>(j);
        if (!m_eligible[sj])
            continue;
        byStart.push_back(j);
        longest = std::max(longest, m_end[sj].Value() - m_start[sj].Value());
    }
    std::sort(byStart.begin(), byStart.end(), [this](int a, int b) {
        return m_start[static_cast<std::size_t>(a)].Value() < m_start[static_cast<std::size_t>(b)].Value();
    });
    constexpr double kSlack = 2.0 / DateTime::kMsPerDay;
    for (int i = 1; i <= count; ++i) {
        const auto si = static_cast<std::size_t>(i);
        if (!m_eligible[si]) {
            m_windows[i] = RecordingWindow::None();
            continue;
        }
        TEmission& e = m_table[i];
        const DateTime startI = m_start[si];
        const DateTime endI = m_end[si];
        DateTime windowStart = startI;
        DateTime windowEnd = endI;
        const double from = startI.Value() - longest - kSlack;
        const double to = std::max(startI.Value(), endI.Value()) + kSlack;
        auto it = std::lower_bound(byStart.begin(), byStart.end(), from, [this](int j, double value) {
            return m_start[static_cast<std::size_t>(j)].Value() < value;
        });
        for (; it != byStart.end(); ++it) {
            const int j = *it;
            const auto sj = static_cast<std::size_t>(j);
            const DateTime startJ = m_start[sj];
            if (startJ.Value() > to)
                break;
            if (j == i || !m_eligible[sj])
                continue;
            const DateTime endJ = m_end[sj];
            // Several winners may meet the same record: it starts after the last of their ends
            // and ends at the first of their starts, so that it never overlaps any of them.
            if (startJ <= startI && endJ >= startI) {
                if (HasPriorityOver(j, i) && endJ > windowStart)
                    windowStart = endJ;
            } else if (startJ > startI && startJ <= endI) {
                if (HasPriorityOver(j, i) && startJ < windowEnd)
                    windowEnd = startJ;
            }
        }
        if (windowEnd < windowStart)
            windowStart = windowEnd;
        if (e.Etat != 1 && windowStart < now)
            windowStart = now;
        const bool closed = !(windowEnd > now);
        if (closed && e.Etat == 0) {
            e.DateStop = startI.DatePart();
            e.Etat = 3;
            m_eligible[si] = 0;
        }
        if (closed || windowEnd == windowStart)
            m_windows[i] = RecordingWindow::None();
        else
            m_windows[i] = RecordingWindow{windowStart, windowEnd};
    }
}

int OverlapResolver::CutMinutes(DateTime from, DateTime to)
{
    const qint64 ms = std::llabs(DateTime::MsBetween(from, to));
    const qint64 whole = ms / 60000;
    return static_cast<int>(ms % 60000 != 0 ? whole + 1 : whole);
}

bool OverlapResolver::IsHeavilyTruncated(int totalMinutes, int cutAtStart, int cutAtEnd)
{
    if (cutAtStart == -1)
        return true;
    const int left = totalMinutes - cutAtStart - cutAtEnd;
    return left < kMinimumMinutesLeft || static_cast<double>(left) / totalMinutes < kMinimumShareLeft;
}

void OverlapResolver::ComputeCutMinutes()
{
    const int count = m_table.Count();
    for (int i = 1; i <= count; ++i) {
        m_table[i].CutAtStart = 0;
        m_table[i].CutAtEnd = 0;
    }
    if (count < 2)
        return;
    for (int i = 1; i <= count; ++i) {
        if (!m_table.IsEligible(i))
            continue;
        TEmission& e = m_table[i];
        const RecordingWindow& w = m_windows[i];
        if (w.start.IsNoTime())
            e.CutAtStart = -1;
        else if (w.start != e.NextStart)
            e.CutAtStart = CutMinutes(e.NextStart, w.start);
        if (!w.end.IsNoTime()) {
            const DateTime end = m_occurrences.OccurrenceEnd(e);
            if (w.end != end)
                e.CutAtEnd = CutMinutes(w.end, end);
        }
    }
}

bool OverlapResolver::DeactivateTruncated()
{
    // The cut minutes are taken from the windows just computed rather than from the previous
    // pass, which gives the same answer when nothing changed and the right one when something did.
    ComputeCutMinutes();
    bool changed = false;
    for (int i = 1; i <= m_table.Count(); ++i) {
        TEmission& e = m_table[i];
        // A record without any occurrence has nothing to disable: marking it would leave a
        // DateStop that no occurrence ever reaches, and the flag would never clear.
        if (!e.IsRepeating() || e.Etat != 0 || e.NextStart.IsNoTime() || !e.Actif || e.InactifPro)
            continue;
        const DateTime end = m_occurrences.OccurrenceEnd(e);
        const auto minutes =
            std::llround(static_cast<double>(DateTime::MsBetween(e.NextStart, end)) / 60000.0);
        const int total = static_cast<int>(std::max<long long>(1, minutes));
        if (!IsHeavilyTruncated(total, e.CutAtStart, e.CutAtEnd))
            continue;
        e.InactifPro = true;
        e.DateStop = e.NextStart.DatePart();
        changed = true;
    }
    return changed;
}

} // namespace quorx
