#include "engine/ScheduleEngine.h"

#include <QFileInfo>

#include "engine/OverlapResolver.h"
#include "engine/ScheduleObserver.h"
#include "platform/Clock.h"
#include "platform/Processes.h"
#include "schedule/ScheduleStore.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"

namespace quorx {

// Lowers the process for the length of the outermost pass; a pass run from inside another (a
// handler waiting while the outer pass arms its timers) leaves the priority to the outer one.
class ScheduleEngine::IdlePriority final
{
public:
    explicit IdlePriority(ScheduleEngine& engine) : m_engine(engine)
    {
        if (m_engine.m_idleDepth++ == 0 && m_engine.m_processes)
            m_engine.m_processes->SetIdlePriority(true);
    }
    ~IdlePriority()
    {
        if (--m_engine.m_idleDepth == 0 && m_engine.m_processes)
            m_engine.m_processes->SetIdlePriority(false);
    }
    Q_DISABLE_COPY_MOVE(IdlePriority)

private:
    ScheduleEngine& m_engine;
};

ScheduleEngine::ScheduleEngine(ScheduleTable& table, const Settings& settings, const Platform& platform)
    : m_table(table), m_settings(settings), m_clock(platform.clock), m_processes(platform.processes)
{
    Q_ASSERT(m_clock);
}

DateTime ScheduleEngine::Now() const
{
    return m_clock->Now();
}

bool ScheduleEngine::RecomputeSchedule()
{
    IdlePriority idle(*this);
    const DateTime now = Now();
    PassAAt(now);
    ComputeCutMinutes();
    if (m_observer) {
        m_observer->ArmTimers();
        m_observer->RefreshList();
    }
    return Save();
}

void ScheduleEngine::RecomputeForPower()
{
    IdlePriority idle(*this);
    PassAAt(Now());
    ComputeCutMinutes();
    if (m_observer)
        m_observer->ArmTimers();
}

int ScheduleEngine::RecomputeAndSelectNextRecording()
{
    IdlePriority idle(*this);
    PassAAt(Now());
    return SelectNextRecording();
}

bool ScheduleEngine::DeactivateHeavilyTruncated()
{
    const bool before = m_deactivateTruncated;
    m_deactivateTruncated = true;
    const bool saved = RecomputeSchedule();
    m_deactivateTruncated = before;
    return saved;
}

bool ScheduleEngine::Save()
{
    m_lastSaveError.clear();
    if (m_programFolder.isEmpty())
        return true;
    const QString path = ScheduleStore::FilePath(m_programFolder);
    if (UnchangedSinceLastSave(path))
        return true;
    QString error;
    if (ScheduleStore::SaveSchedule(m_programFolder, m_table, &error)) {
        m_savedRecords.assign(&m_table[1], &m_table[1] + m_table.Count());
        const QFileInfo written(path);
        m_savedFilePath = path;
        m_savedFileSize = written.exists() ? written.size() : -1;
        m_savedFileTime = written.lastModified();
        return true;
    }
    m_savedFilePath.clear();
    m_lastSaveError = error;
    if (m_observer)
        m_observer->ScheduleSaveFailed(error);
    return false;
}

void ScheduleEngine::PassA()
{
    IdlePriority idle(*this);
    PassAAt(Now());
}

void ScheduleEngine::PassAAt(DateTime now)
{
    PurgeExpiredAt(now);
    ResetRepeatingStatesAt(now);
    CurrentOccurrences().ComputeNextStart(m_table, now);
    ResetInactifProAt(now);
    ResolveOverlapsAt(now);
    if (DeactivateTruncated()) {
        ResolveOverlapsAt(now);
        DeactivateTruncated();
    }
}

void ScheduleEngine::PurgeExpired()
{
    PurgeExpiredAt(Now());
}

void ScheduleEngine::PurgeExpiredAt(DateTime now)
{
    const Occurrences occurrences = CurrentOccurrences();
    int i = 1;
    while (i <= m_table.Count()) {
        const TEmission& e = m_table[i];
        bool keep = true;
        if (e.Etat == 1) {
            keep = true;
        } else if (!e.IsRepeating()) {
            keep = occurrences.OccurrenceEnd(e) > now;
        } else if (!e.RepetitionFin.IsZero()) {
            keep = occurrences.EndOfLastDay(e) > now;
        }
        if (keep) {
            ++i;
            continue;
        }
        m_windows.RemoveAt(i, m_table.Count());
        m_table.RemoveAt(i);
    }
}

void ScheduleEngine::ResetRepeatingStates()
{
    ResetRepeatingStatesAt(Now());
}

void ScheduleEngine::ResetRepeatingStatesAt(DateTime now)
{
    const Occurrences occurrences = CurrentOccurrences();
    for (int i = 1; i <= m_table.Count(); ++i) {
        TEmission& e = m_table[i];
        if (e.IsRepeating() && (e.Etat == 2 || e.Etat == 3) && !(occurrences.EndOfStopOccurrence(e) > now))
            e.Etat = 0;
    }
}

void ScheduleEngine::ResetInactifPro()
{
    ResetInactifProAt(Now());
}

void ScheduleEngine::ResetInactifProAt(DateTime now)
{
    // The skip ends with the skipped occurrence. Waiting for the next day would also skip an
    // occurrence that starts before midnight of the day the skipped one ends (a broadcast
    // across midnight, or one whose start margin reaches back into the day before).
    const Occurrences occurrences = CurrentOccurrences();
    for (int i = 1; i <= m_table.Count(); ++i) {
        TEmission& e = m_table[i];
        if (e.InactifPro && !(occurrences.EndOfStopOccurrence(e) > now))
            e.InactifPro = false;
    }
}

void ScheduleEngine::ComputeNextStart()
{
    CurrentOccurrences().ComputeNextStart(m_table, Now());
}

void ScheduleEngine::ResolveOverlaps()
{
    ResolveOverlapsAt(Now());
}

void ScheduleEngine::ResolveOverlapsAt(DateTime now)
{
    const Occurrences occurrences = CurrentOccurrences();
    OverlapResolver(m_table, m_windows, occurrences, m_settings.RepPrioritaire).ResolveOverlaps(now);
}

bool ScheduleEngine::DeactivateTruncated()
{
    if (!m_deactivateTruncated)
        return false;
    const Occurrences occurrences = CurrentOccurrences();
    return OverlapResolver(m_table, m_windows, occurrences, m_settings.RepPrioritaire).DeactivateTruncated();
}

void ScheduleEngine::ComputeCutMinutes()
{
    const Occurrences occurrences = CurrentOccurrences();
    OverlapResolver(m_table, m_windows, occurrences, m_settings.RepPrioritaire).ComputeCutMinutes();
}

bool ScheduleEngine::HasPriorityOver(int a, int b) const
{
    return OverlapResolver::HasPriorityOver(m_table, a, b, m_settings.RepPrioritaire);
}

int ScheduleEngine::SelectNextRecording() const
{
    bool anyCandidate = false;
    for (int i = 1; i <= m_table.Count() && !anyCandidate; ++i)
        anyCandidate = m_table[i].Actif && m_table[i].Etat != 3;
    if (!anyCandidate)
        return -1;
    const int today = Now().DayNumber();
    int best = -1;
    for (int i = 1; i <= m_table.Count(); ++i) {
        const TEmission& e = m_table[i];
        if (!m_table.IsEligible(i))
            continue;
        if (e.IsRepeating() && !e.RepetitionFin.IsZero() && e.RepetitionFin.DayNumber() < today)
            continue;
        const DateTime start = m_windows[i].start;
        if (start.IsNoTime())
            continue;
        if (best == -1 || start < m_windows[best].start)
            best = i;
    }
    return best;
}

int ScheduleEngine::SelectNextWake()
{
    CurrentOccurrences().ComputeEffectiveStart(m_table, Now());
    bool anyActive = false;
    for (int i = 1; i <= m_table.Count() && !anyActive; ++i)
        anyActive = m_table[i].Actif;
    if (!anyActive)
        return -1;
    int best = -1;
    for (int i = 1; i <= m_table.Count(); ++i) {
        const DateTime start = m_table[i].EffectiveStart;
        if (start.IsNoTime())
            continue;
        if (best == -1 || start < m_table[best].EffectiveStart)
            best = i;
    }
    return best;
}

bool ScheduleEngine::UnchangedSinceLastSave(const QString& path) const
{
    if (m_savedFilePath != path || m_savedFileSize < 0 || int(m_savedRecords.size()) != m_table.Count())
        return false;
    for (int i = 1; i <= m_table.Count(); ++i) {
        if (!ScheduleStore::SameStoredFields(m_table[i], m_savedRecords[std::size_t(i - 1)]))
            return false;
    }
    // Someone else may have replaced or removed the file since: then it is written again.
    const QFileInfo now(path);
    return now.exists() && now.size() == m_savedFileSize && now.lastModified() == m_savedFileTime;
}

} // namespace quorx
