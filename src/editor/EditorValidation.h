#pragma once

#include "common/DateTime.h"

#include <QString>

#include <optional>

namespace quorx {

struct RecordingDraft;

// The tabs of the editor, in their order.
enum class EditorTab
{
    ChannelAndTimes = 0,
    File = 1,
    End = 2
};

// A refused check: the message shown, the tab brought to the front and the control to focus.
struct ValidationFailure
{
    QString message;
    EditorTab tab = EditorTab::ChannelAndTimes;
    QString control;
};

// The checks the editor runs before it accepts an entry, each on its own so that the editor
// runs them in their order with the question that sits between them.
class EditorValidation final
{
public:
    struct Timing
    {
        DateTime now;
        DateTime delaiFin;
        bool newMode = false;
        bool beingRecorded = false;
    };

    static constexpr int kMaxDaysAhead = 21;
    static constexpr qint64 kMinimumSeconds = 179;

    // The folder must be a valid path and exist or be created (it is created here).
    static std::optional<ValidationFailure> CheckFolder(const RecordingDraft& draft);
    static std::optional<ValidationFailure> CheckFileName(const RecordingDraft& draft);
    // A one-off entry must end more than a minute from now, and within three weeks.
    static std::optional<ValidationFailure> CheckOneOffEnd(const RecordingDraft& draft, const Timing& timing);
    static std::optional<ValidationFailure> CheckChannel(const RecordingDraft& draft);
    // A repeating kind with no day: the editor asks whether to make it one-off.
    static bool RepeatsWithoutDays(const RecordingDraft& draft);
    static std::optional<ValidationFailure> CheckDuration(const RecordingDraft& draft);
};

} // namespace quorx
