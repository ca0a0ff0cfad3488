#include "editor/EditorMerge.h"

#include "editor/RecordingDraft.h"
#include "schedule/ScheduleTable.h"

namespace quorx {

namespace {

std::uint8_t DaysOfDraft(const RecordingDraft& draft)
{
    return draft.IsRepeatingKind() ? draft.days : 0;
}

DateTime RepetitionEndOfDraft(const RecordingDraft& draft)
{
    return draft.IsRepeatingKind() && draft.repEndChecked ? draft.repEnd.DatePart() : DateTime();
}

// The entry's own span, without margins.
EditorMerge::Interval RawDraftInterval(const RecordingDraft& draft, const TEmission& other)
{
    if (!draft.IsRepeatingKind())
        return {draft.Start(), draft.End()};
    const DateTime day = other.DateDebut.DatePart();
    const DateTime startTime = draft.startTime.WithoutSeconds().TimePart();
    const DateTime endTime = draft.endTime.WithoutSeconds().TimePart();
    const DateTime endDay = endTime <= startTime ? day.AddDays(1) : day;
    return {DateTime(day.Value() + startTime.Value()), DateTime(endDay.Value() + endTime.Value())};
}

EditorMerge::Interval RawRecordInterval(const TEmission& e)
{
    return {DateTime(e.DateDebut.DatePart().Value() + e.HeureDebut.WithoutSeconds().TimePart().Value()),
            DateTime(e.DateFin.DatePart().Value() + e.HeureFin.WithoutSeconds().TimePart().Value())};
}

EditorMerge::Interval WithMargins(EditorMerge::Interval i, DateTime delaiDeb, DateTime delaiFin)
{
    return {DateTime(i.start.Value() - delaiDeb.Value()), DateTime(i.end.Value() + delaiFin.Value())};
}

} // namespace

EditorMerge::Interval EditorMerge::DraftInterval(const RecordingDraft& draft, const TEmission& other,
                                                 DateTime delaiDeb, DateTime delaiFin)
{
    return WithMargins(RawDraftInterval(draft, other), delaiDeb, delaiFin);
}

EditorMerge::Interval EditorMerge::RecordInterval(const TEmission& other, DateTime delaiDeb,
                                                  DateTime delaiFin)
{
    return WithMargins(RawRecordInterval(other), delaiDeb, delaiFin);
}

bool EditorMerge::AreClose(const Interval& a, const Interval& b)
{
    const DateTime laterStart = std::max(a.start, b.start);
    const DateTime earlierEnd = std::min(a.end, b.end);
    return DateTime::MsBetween(earlierEnd, laterStart) < qint64(kCloseSeconds) * 1000;
}

bool EditorMerge::IsCandidate(const RecordingDraft& draft, const TEmission& other)
{
    return other.Chaine.trimmed().compare(draft.channel.trimmed(), Qt::CaseInsensitive) == 0 &&
           other.Repetition == DaysOfDraft(draft) &&
           other.RepetitionFin.DatePart() == RepetitionEndOfDraft(draft) && other.Actif && !other.InactifPro;
}

QVector<int> EditorMerge::Candidates(const ScheduleTable& table, const RecordingDraft& draft, int ownIndex,
                                     const QVector<std::int32_t>& pending, DateTime delaiDeb,
                                     DateTime delaiFin)
{
    QVector<int> found;
    for (int i = 1; i <= table.Count(); ++i) {
        const TEmission& other = table[i];
        if (i == ownIndex || pending.contains(other.RecordId) || !IsCandidate(draft, other))
            continue;
        if (AreClose(DraftInterval(draft, other, delaiDeb, delaiFin),
                     RecordInterval(other, delaiDeb, delaiFin)))
            found.append(i);
    }
    return found;
}

QString EditorMerge::JoinNames(const QString& first, const QString& second)
{
    if (first.trimmed().isEmpty())
        return second;
    if (second.trimmed().isEmpty() || first.compare(second, Qt::CaseInsensitive) == 0)
        return first;
    return first + QLatin1String(" - ") + second;
}

void EditorMerge::Merge(RecordingDraft& draft, const TEmission& other, DateTime now)
{
    const Interval mine = RawDraftInterval(draft, other);
    const Interval theirs = RawRecordInterval(other);
    const bool otherFirst = theirs.start < mine.start;
    if (otherFirst) {
        draft.name = draft.name.compare(other.Programme, Qt::CaseInsensitive) == 0
                         ? draft.name
                         : JoinNames(other.Programme, draft.name);
    } else {
        draft.name = JoinNames(draft.name, other.Programme);
    }
    const DateTime start = otherFirst ? theirs.start : mine.start;
    // A recording lying inside the other never shortens the joined one.
    const DateTime end = std::max(mine.end, theirs.end);
    draft.startDate = start.DatePart();
    draft.startTime = start.TimePart();
    draft.endTime = end.TimePart();
    draft.endDate = draft.startTime > draft.endTime ? draft.startDate.AddDays(1) : draft.startDate;

    if (draft.End() < now) {
        const DateTime tomorrow = now.DatePart().AddDays(1);
        draft.endDate = tomorrow;
        draft.startDate = draft.endTime >= draft.startTime ? tomorrow : now.DatePart();
    }
    draft.RepetitionEndFollows();
    draft.RefreshDuration();
}

} // namespace quorx
