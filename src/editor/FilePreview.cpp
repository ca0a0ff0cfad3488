#include "editor/FilePreview.h"

#include "channels/RecordingFolder.h"
#include "common/TextUtils.h"
#include "editor/RecordingDraft.h"
#include "engine/RecordingFileName.h"

#include <array>

namespace quorx {

QString FilePreview::BaseName(const RecordingDraft& draft)
{
    QString base = draft.nomAuto ? CleanFileName(draft.name.trimmed()) : draft.fileName;
    const QString channel = CleanFileName(draft.channel.trimmed());
    if (draft.addChaine && !channel.isEmpty())
        base += (base.isEmpty() ? QString() : QStringLiteral("_")) + channel;
    if (base.isEmpty())
        base = channel.isEmpty() ? QStringLiteral("Enreg") : channel;
    return base;
}

QString FilePreview::Text(const RecordingDraft& draft, const Inputs& in)
{
    QString folder = draft.folder;
    if (!RecordingFolder::IsValidPath(folder))
        folder =
            RecordingFolder::IsValidPath(in.viewerRecordingFolder) ? in.viewerRecordingFolder : in.driveRoot;
    QString text = RecordingFolder::WithTrailingSeparator(folder) + BaseName(draft);
    const DateTime when = std::max(draft.Start(), in.now);
    if (draft.addDate)
        text += RecordingFileName::DatePart(when, in.sansAnnee);
    if (draft.addHeure)
        text += RecordingFileName::TimePart(when);
    return text + ExtensionOf(draft.format);
}

RecordingFormat FilePreview::NextFormat(RecordingFormat format)
{
    switch (format) {
    case RecordingFormat::Mpg:
        return RecordingFormat::Pva;
    case RecordingFormat::Pva:
        return RecordingFormat::Mpa;
    case RecordingFormat::Mpa:
        break;
    }
    return RecordingFormat::Mpg;
}

void FilePreview::NextNameParts(bool& date, bool& time, bool& channel)
{
    struct Parts
    {
        bool date, time, channel;
    };
    static constexpr std::array<Parts, 7> kCycle{{{false, false, false},
                                                  {true, false, false},
                                                  {true, true, false},
                                                  {true, true, true},
                                                  {false, false, true},
                                                  {true, false, true},
                                                  {false, true, true}}};
    std::size_t next = 0;
    for (std::size_t i = 0; i < kCycle.size(); ++i) {
        if (kCycle[i].date == date && kCycle[i].time == time && kCycle[i].channel == channel) {
            next = (i + 1) % kCycle.size();
            break;
        }
    }
    date = kCycle[next].date;
    time = kCycle[next].time;
    channel = kCycle[next].channel;
}

} // namespace quorx
