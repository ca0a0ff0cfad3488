#pragma once

#include "power/QuestionRequest.h"

namespace quorx {

// Shows one question and waits for its answer: the countdown window in the program, an
// unattended presenter in the simulation and the command line, a scripted one in tests.
class QuestionPresenter
{
public:
    virtual ~QuestionPresenter() = default;
    virtual QuestionReply Present(const QuestionRequest& request) = 0;
};

} // namespace quorx
