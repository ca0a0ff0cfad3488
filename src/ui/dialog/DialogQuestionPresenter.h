#pragma once

#include "power/QuestionPresenter.h"

#include <QPointer>
#include <QWidget>

namespace quorx {

// The program's presenter: each question is a modal countdown window owned by the main window.
class DialogQuestionPresenter final : public QuestionPresenter
{
public:
    explicit DialogQuestionPresenter(QWidget* owner = nullptr) : m_owner(owner) {}

    QuestionReply Present(const QuestionRequest& request) override;

private:
    QPointer<QWidget> m_owner;
};

} // namespace quorx
