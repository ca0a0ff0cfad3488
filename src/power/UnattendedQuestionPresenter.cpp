#include "power/UnattendedQuestionPresenter.h"

#include "platform/TimerService.h"

#include <limits>

namespace quorx {

QuestionReply UnattendedQuestionPresenter::Present(const QuestionRequest& request)
{
    ++m_presented;
    // Wait takes an int; a countdown longer than that is waited out in pieces.
    qint64 remaining = request.CountdownMs();
    while (remaining > 0) {
        const int step = static_cast<int>(std::min<qint64>(remaining, std::numeric_limits<int>::max()));
        m_timers.Wait(step);
        remaining -= step;
    }
    QuestionReply reply;
    reply.yes = request.DefaultButton() == QuestionButton::Oui;
    return reply;
}

} // namespace quorx
