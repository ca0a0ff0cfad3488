#pragma once

#include "power/QuestionPresenter.h"

#include <QVector>

namespace quorx {

// For tests: answers the questions from a script, in order, and keeps every request it was given.
// A question beyond the script is answered as the countdown would (its default button) and counted
// as unexpected, so a test can tell that something asked more than it should.
class ScriptedQuestionPresenter final : public QuestionPresenter
{
public:
    enum class Press
    {
        Yes,
        No,
        Default
    };

    void Script(Press press, bool tickBox = false) { m_script.append({press, tickBox}); }
    void ScriptYes(bool tickBox = false) { Script(Press::Yes, tickBox); }
    void ScriptNo(bool tickBox = false) { Script(Press::No, tickBox); }
    void ScriptDefault(bool tickBox = false) { Script(Press::Default, tickBox); }

    QuestionReply Present(const QuestionRequest& request) override;

    const QVector<QuestionRequest>& Requests() const { return m_requests; }
    const QuestionRequest& LastRequest() const { return m_requests.back(); }
    int Remaining() const { return static_cast<int>(m_script.size()); }
    int Unexpected() const { return m_unexpected; }

private:
    struct Step
    {
        Press press;
        bool tickBox;
    };
    QVector<Step> m_script;
    QVector<QuestionRequest> m_requests;
    int m_unexpected = 0;
};

} // namespace quorx
