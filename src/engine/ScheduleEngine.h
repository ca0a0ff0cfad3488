#pragma once

#include "common/DateTime.h"
#include "engine/Occurrences.h"
#include "engine/RecordingWindow.h"
#include "platform/Platform.h"

#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <vector>

namespace quorx {

class Clock;
class Processes;
class ScheduleObserver;
class ScheduleTable;
struct Settings;

// The pass that every change of the schedule ends with: finished recordings leave, occurrences
// are computed, overlapping recordings share the tuner, the next recording and the recording to
// wake the computer for are chosen, and the rest of the program is told. The present moment comes
// from the platform clock; the process runs at idle priority while a pass runs, so that the
// viewer keeps the processor while it records.
class ScheduleEngine final
{
public:
    ScheduleEngine(ScheduleTable& table, const Settings& settings, const Platform& platform);
    Q_DISABLE_COPY_MOVE(ScheduleEngine)

    void SetObserver(ScheduleObserver* observer) { m_observer = observer; }
    // Where the full pass saves Programmes.Ini; with an empty folder nothing is written.
    void SetProgramFolder(const QString& folder) { m_programFolder = folder; }

    // Pass A, the cut minutes, arming, the list refresh, the save. False when the save failed
    // (LastSaveError says why; the observer is told).
    bool RecomputeSchedule();
    // The same without the list refresh and the save, for the power code, which needs fresh
    // timers before it answers a suspend query.
    void RecomputeForPower();
    // Pass A, then the recording that will follow the one under way (index or -1).
    int RecomputeAndSelectNextRecording();
    // The list command that disables the next occurrence of every heavily truncated repeating
    // recording: one full pass with the deactivation switched on.
    bool DeactivateHeavilyTruncated();

    // The steps, each at the present moment of the clock.
    void PassA();
    void PurgeExpired();
    void ResetRepeatingStates();
    void ResetInactifPro();
    void ComputeNextStart();
    void ResolveOverlaps();
    // Does nothing (and returns false) unless the deactivation is switched on.
    bool DeactivateTruncated();
    void ComputeCutMinutes();

    bool HasPriorityOver(int a, int b) const;
    int SelectNextRecording() const;
    // Computes EffectiveStart of every record first.
    int SelectNextWake();

    void SetTruncatedDeactivation(bool on) { m_deactivateTruncated = on; }
    bool TruncatedDeactivation() const { return m_deactivateTruncated; }

    Occurrences CurrentOccurrences() const { return Occurrences(m_settings); }
    const RecordingWindowTable& Windows() const { return m_windows; }
    RecordingWindowTable& Windows() { return m_windows; }
    const QString& LastSaveError() const { return m_lastSaveError; }
    DateTime Now() const;

private:
    class IdlePriority;

    void PassAAt(DateTime now);
    void PurgeExpiredAt(DateTime now);
    void ResetRepeatingStatesAt(DateTime now);
    void ResetInactifProAt(DateTime now);
    void ResolveOverlapsAt(DateTime now);
    bool Save();
    bool UnchangedSinceLastSave(const QString& path) const;

    ScheduleTable& m_table;
    const Settings& m_settings;
    Clock* m_clock;
    Processes* m_processes;
    ScheduleObserver* m_observer = nullptr;
    QString m_programFolder;
    QString m_lastSaveError;
    // What the last successful save wrote, and how the file looked afterwards: a pass that changed
    // nothing stored (most of them: the run-time fields move, the stored ones rarely do) need not
    // rewrite and flush the whole file, as long as the file is still the one written.
    std::vector<TEmission> m_savedRecords;
    qint64 m_savedFileSize = -1;
    QDateTime m_savedFileTime;
    QString m_savedFilePath;
    RecordingWindowTable m_windows;
    bool m_deactivateTruncated = false;
    int m_idleDepth = 0;
};

} // namespace quorx
