#pragma once

#include "power/QuestionPresenter.h"

namespace quorx {

class TimerService;

// Nobody is at the screen: every question waits out its countdown and takes its default button,
// the box left unticked. The wait goes through the timer service, so the engine's timers fire
// during it exactly as they would while the window is shown.
class UnattendedQuestionPresenter final : public QuestionPresenter
{
public:
    explicit UnattendedQuestionPresenter(TimerService& timers) : m_timers(timers) {}

    QuestionReply Present(const QuestionRequest& request) override;

    int PresentedCount() const { return m_presented; }

private:
    TimerService& m_timers;
    int m_presented = 0;
};

} // namespace quorx
