#include "startup/ReportingQuestionPresenter.h"

#include "power/QuestionRequest.h"

namespace quorx {

namespace {

QString Noun(const QuestionRequest& request)
{
    return request.kind == QuestionKind::Inform ? QStringLiteral("notice") : QStringLiteral("question");
}

} // namespace

ReportingQuestionPresenter::ReportingQuestionPresenter(std::unique_ptr<QuestionPresenter> inner, Sink sink)
    : m_inner(std::move(inner)), m_sink(std::move(sink))
{
}

ReportingQuestionPresenter::~ReportingQuestionPresenter() = default;

QString ReportingQuestionPresenter::AskedLine(const QuestionRequest& request)
{
    QString text = request.text;
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return QStringLiteral("%1 %2: %3").arg(Noun(request)).arg(request.number).arg(text);
}

QString ReportingQuestionPresenter::AnsweredLine(const QuestionRequest& request, const QuestionReply& reply)
{
    if (request.kind == QuestionKind::Inform)
        return QStringLiteral("notice %1 closed").arg(request.number);
    return QStringLiteral("question %1 answered: %2")
        .arg(request.number)
        .arg(reply.yes ? QStringLiteral("yes") : QStringLiteral("no"));
}

QuestionReply ReportingQuestionPresenter::Present(const QuestionRequest& request)
{
    if (m_sink)
        m_sink(AskedLine(request));
    const QuestionReply reply = m_inner->Present(request);
    if (m_sink)
        m_sink(AnsweredLine(request, reply));
    return reply;
}

} // namespace quorx
