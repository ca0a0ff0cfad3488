#pragma once

#include <QString>

namespace quorx {

struct RecordingDraft;

// The end-of-recording actions of the editor: the summary in its header and the presses on it,
// and which power boxes may be ticked.
class EndActions final
{
public:
    // "Fermer" with the chosen power action, or "Ne pas fermer".
    static QString Summary(const RecordingDraft& draft);
    // Left press: close or not.
    static void LeftPress(RecordingDraft& draft);
    // Right press: close, and the next action of none, hibernate, shut down, standby; actions the
    // computer does not allow are passed over.
    static void RightPress(RecordingDraft& draft, bool canSuspend, bool canHibernate);

    static bool EteindreEnabled(const RecordingDraft& draft);
    static bool VeilleEnabled(const RecordingDraft& draft, bool canSuspend);
    static bool VeilleProEnabled(const RecordingDraft& draft, bool canHibernate);
};

} // namespace quorx
