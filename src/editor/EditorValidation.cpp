#include "editor/EditorValidation.h"

#include "editor/EditorFolder.h"
#include "editor/RecordingDraft.h"
#include "i18n/LocalisedStrings.h"

namespace quorx {

std::optional<ValidationFailure> EditorValidation::CheckFolder(const RecordingDraft& draft)
{
    if (EditorFolder::MakeUsable(draft.folder))
        return std::nullopt;
    return ValidationFailure{Ls(112), EditorTab::File, QStringLiteral("CDossier")};
}

std::optional<ValidationFailure> EditorValidation::CheckFileName(const RecordingDraft& draft)
{
    if (EditorFolder::IsValidPath(draft.folder, draft.fileName))
        return std::nullopt;
    return ValidationFailure{Ls(113), EditorTab::File, QStringLiteral("CFichier")};
}

std::optional<ValidationFailure> EditorValidation::CheckOneOffEnd(const RecordingDraft& draft,
                                                                  const Timing& timing)
{
    if (draft.IsRepeatingKind())
        return std::nullopt;
    if (timing.newMode || !timing.beingRecorded) {
        const DateTime endWithMargin(draft.End().Value() + timing.delaiFin.Value());
        if (!(timing.now.AddSeconds(60) < endWithMargin))
            return ValidationFailure{Ls(65), EditorTab::ChannelAndTimes, QStringLiteral("CHeureFin")};
    }
    if (draft.End() > timing.now.AddDays(kMaxDaysAhead))
        return ValidationFailure{Ls(145), EditorTab::ChannelAndTimes, QStringLiteral("CDateDebut")};
    return std::nullopt;
}

std::optional<ValidationFailure> EditorValidation::CheckChannel(const RecordingDraft& draft)
{
    if (!draft.channel.trimmed().isEmpty())
        return std::nullopt;
    return ValidationFailure{Ls(104), EditorTab::ChannelAndTimes, QStringLiteral("CChaine")};
}

bool EditorValidation::RepeatsWithoutDays(const RecordingDraft& draft)
{
    return draft.IsRepeatingKind() && draft.days == 0;
}

std::optional<ValidationFailure> EditorValidation::CheckDuration(const RecordingDraft& draft)
{
    const DateTime start = draft.Start();
    const DateTime end = draft.End();
    if (end > start && DateTime::SecondsBetweenRounded(start, end) >= kMinimumSeconds)
        return std::nullopt;
    return ValidationFailure{Ls(116), EditorTab::ChannelAndTimes, QStringLiteral("CDuree")};
}

} // namespace quorx
