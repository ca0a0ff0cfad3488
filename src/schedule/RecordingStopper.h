#pragma once

#include <QString>

namespace quorx {

// What deleting a record that is being recorded needs from the rest of the program: the question
// to the user and the stop command. The countdown questions and the recording engine implement it.
class RecordingStopper
{
public:
    // The question asked before a record under way is deleted: number 1, "no" preselected, with the
    // box that stops it from being asked again.
    static constexpr int kQuestionNumber = 1;
    static constexpr bool kDefaultAnswer = false;
    static constexpr bool kOffersNeverAskAgain = true;

    virtual ~RecordingStopper() = default;

    // "Un enregistrement est en cours. Voulez-vous y mettre fin ?"; true when the answer is yes.
    virtual bool AskStopRunningRecording() = 0;
    // Stops the recording under way; it may re-sort or shorten the schedule.
    virtual void StopRunningRecording() = 0;

    // The question's text, from the localised table.
    static QString QuestionText();
};

} // namespace quorx
