#include "ui/dialog/DialogQuestionPresenter.h"

#include "ui/dialog/TFDIalog.h"

namespace quorx {

QuestionReply DialogQuestionPresenter::Present(const QuestionRequest& request)
{
    TFDIalog dialog(request, m_owner.data());
    dialog.exec();
    return dialog.Reply();
}

} // namespace quorx
