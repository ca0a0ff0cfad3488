#pragma once

#include "power/QuestionPresenter.h"

#include <QString>

#include <functional>
#include <memory>

namespace quorx {

struct QuestionReply;
struct QuestionRequest;

// Hands each question to another presenter and tells a sink, one line each, what was asked and
// what the answer was, so that a run nobody watches leaves a trace of both.
class ReportingQuestionPresenter final : public QuestionPresenter
{
public:
    using Sink = std::function<void(const QString& line)>;

    ReportingQuestionPresenter(std::unique_ptr<QuestionPresenter> inner, Sink sink);
    ~ReportingQuestionPresenter() override;
    Q_DISABLE_COPY_MOVE(ReportingQuestionPresenter)

    QuestionReply Present(const QuestionRequest& request) override;

    // "question 114: <text>" (a notice is "notice <n>: <text>"), the text on one line.
    static QString AskedLine(const QuestionRequest& request);
    // "question 114 answered: yes" (or "no"); "notice <n> closed" for a notice.
    static QString AnsweredLine(const QuestionRequest& request, const QuestionReply& reply);

private:
    std::unique_ptr<QuestionPresenter> m_inner;
    Sink m_sink;
};

} // namespace quorx
