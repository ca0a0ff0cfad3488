#pragma once

#include "channels/ChannelPreferences.h"
#include "common/DateTime.h"

#include <QString>

namespace quorx {

struct RecordingDraft;

// The file name the editor shows under the name box, as the recording will be named when it
// starts, and the presses on it that change the format and the parts added to the name.
class FilePreview final
{
public:
    struct Inputs
    {
        DateTime now;
        bool sansAnnee = false;
        QString viewerRecordingFolder; // the viewer's own recording folder; may be empty
        QString driveRoot;             // the program's drive, with a trailing "/"
    };

    static QString Text(const RecordingDraft& draft, const Inputs& in);
    // The file name without folder and extension, before the date and time parts.
    static QString BaseName(const RecordingDraft& draft);

    // Left press: Mpg, Pva, Mpa, Mpg...
    static RecordingFormat NextFormat(RecordingFormat format);
    // Right press: none, date, date and time, all three, channel, date and channel, time and
    // channel, none again. A combination outside the cycle starts it over.
    static void NextNameParts(bool& date, bool& time, bool& channel);
};

} // namespace quorx
