#pragma once

#include <memory>

namespace quorx {

class QuestionPresenter;
class TimerService;

// A run with nobody at the screen (a machine that records on its own, the demonstration on a
// virtual display), asked for with QUORX_UNATTENDED=1: every question waits out its countdown
// and takes its preselected answer, and each is written to standard error as it is asked and
// answered, so that whoever looks later knows what the program decided alone.
class UnattendedRun final
{
public:
    static constexpr const char* kVariable = "QUORX_UNATTENDED";

    // The variable is set to anything but empty or "0".
    static bool Requested();
    // The presenter of such a run; null when none was asked for, so that the windows ask.
    static std::unique_ptr<QuestionPresenter> PresenterIfRequested(TimerService& timers);
};

} // namespace quorx
