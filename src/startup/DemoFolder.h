#pragma once

#include "common/DateTime.h"

#include <QString>
#include <QStringList>

namespace quorx {

class Processes;

// A program folder that shows a newcomer the scheduler at work within minutes: the substitute
// viewer installed as the viewer, three channels, and three recordings (one starting a couple
// of minutes after the first start, one repeating daily, one overlapping the first).
//
// The folder is the user's as soon as it differs from what was prepared: Demo.Ini keeps a digest
// of each file the demo wrote, and while every one of them still matches and nothing was added
// (a journal, a recording, a file of the user's), preparing again only moves the recordings to
// the new present moment. Once a file has changed (the user edited the list, or the scheduler ran
// and saved its state) or was added, or in a folder the demo did not make, nothing is written. The viewer
// program alone is refreshed whenever the built one differs, since it is a build product and no setting of
// the user's.
class DemoFolder final
{
public:
    enum class Result
    {
        Prepared, // written afresh
        Kept,     // left as it stands (message says why)
        Failed    // could not be written (message says why); what was there is whole
    };
    struct Outcome
    {
        Result result = Result::Failed;
        QString message;
        QString viewerExecutable; // the viewer as the demo installed it
    };

    static QString MarkerFileName() { return QStringLiteral("Demo.Ini"); }
    static QString ViewerFolderName() { return QStringLiteral("Zomvara"); }
    static QString RecordingFolderName() { return QStringLiteral("Enregistrements"); }
    static QStringList ChannelNames();

    // The first whole minute at least two minutes after now: the recordings are stored in hours
    // and minutes, and a start less than two minutes away would leave no time to look.
    static DateTime FirstStart(DateTime now);

    // viewerProgram is the built substitute viewer, copied into the demo's viewer folder (a link
    // would make the viewer keep its files beside the build). processes, when given, runs it
    // once so that it writes its channel files; without it the viewer writes them at its first
    // launch.
    static Outcome Prepare(const QString& folder, const QString& viewerProgram, DateTime now,
                           Processes* processes);
};

} // namespace quorx
