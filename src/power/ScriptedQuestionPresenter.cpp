#include "power/ScriptedQuestionPresenter.h"

namespace quorx {

QuestionReply ScriptedQuestionPresenter::Present(const QuestionRequest& request)
{
    m_requests.append(request);
    Step step{Press::Default, false};
    if (m_script.isEmpty())
        ++m_unexpected;
    else
        step = m_script.takeFirst();

    QuestionReply reply;
    reply.boxTicked = step.tickBox && request.offerBox;
    switch (step.press) {
    case Press::Yes:
        reply.yes = true;
        break;
    case Press::No:
        reply.yes = false;
        break;
    case Press::Default:
        reply.yes = request.defaultYes;
        break;
    }
    return reply;
}

} // namespace quorx
