#pragma once

#include "common/DateTime.h"

#include <QString>
#include <QVector>

#include <cstdint>

namespace quorx {

class ScheduleTable;
struct RecordingDraft;
struct TEmission;

// The editor's offer to join the recording being entered with a recording of the same channel,
// days and repetition end that overlaps it or lies less than five minutes from it.
class EditorMerge final
{
public:
    static constexpr int kCloseSeconds = 300;

    struct Interval
    {
        DateTime start;
        DateTime end;
    };

    // The entry's span, margins included; a repeating entry is placed on the other's start date.
    static Interval DraftInterval(const RecordingDraft& draft, const TEmission& other, DateTime delaiDeb,
                                  DateTime delaiFin);
    static Interval RecordInterval(const TEmission& other, DateTime delaiDeb, DateTime delaiFin);
    // Overlapping, touching, or less than five minutes apart.
    static bool AreClose(const Interval& a, const Interval& b);

    // Whether other may be joined with the entry at all: same channel in any letter case, same
    // days, same repetition end, active and not skipping its next occurrence.
    static bool IsCandidate(const RecordingDraft& draft, const TEmission& other);

    // The indexes, in table order, of the recordings the user will be offered, skipping the
    // entry's own index and the identifiers already waiting to be deleted.
    static QVector<int> Candidates(const ScheduleTable& table, const RecordingDraft& draft, int ownIndex,
                                   const QVector<std::int32_t>& pending, DateTime delaiDeb,
                                   DateTime delaiFin);

    // The entry takes other in: the names joined in start order, the earlier start and the later
    // end. An end already past moves the entry to the next broadcast.
    static void Merge(RecordingDraft& draft, const TEmission& other, DateTime now);

    // "first - second", the one that is not blank, or first when both are the same in any case.
    static QString JoinNames(const QString& first, const QString& second);
};

} // namespace quorx
