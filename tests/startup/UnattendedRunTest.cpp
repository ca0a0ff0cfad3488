#include "startup/UnattendedRun.h"
#include "startup/ReportingQuestionPresenter.h"

#include "platform/fake/FakePlatform.h"
#include "power/QuestionRequest.h"
#include "power/UnattendedQuestionPresenter.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace quorx {
namespace {

TEST(UnattendedRun, EachQuestionIsReportedAsAskedThenAnsweredAfterItsCountdown)
{
    FakePlatform platform;
    QStringList lines;
    qint64 askedAtMs = -1;
    ReportingQuestionPresenter presenter(std::make_unique<UnattendedQuestionPresenter>(platform.timers),
                                         [&](const QString& line) {
                                             if (askedAtMs < 0)
                                                 askedAtMs = platform.timers.ElapsedMs();
                                             lines.append(line);
                                         });

    const QuestionRequest import =
        QuestionRequest::ForAsk(QStringLiteral("Voulez-vous importer\ncette liste ?"), true, true, 114);
    const qint64 before = platform.timers.ElapsedMs();
    EXPECT_TRUE(presenter.Present(import).yes);
    EXPECT_EQ(askedAtMs, before);
    EXPECT_EQ(platform.timers.ElapsedMs() - before, import.CountdownMs());

    EXPECT_FALSE(presenter.Present(QuestionRequest::ForAsk(QStringLiteral("Quitter ?"), false, true, 7)).yes);
    presenter.Present(QuestionRequest::ForInform(QStringLiteral("Disque plein"), false, 0, 30));

    EXPECT_EQ(lines,
              (QStringList{QStringLiteral("question 114: Voulez-vous importer cette liste ?"),
                           QStringLiteral("question 114 answered: yes"),
                           QStringLiteral("question 7: Quitter ?"), QStringLiteral("question 7 answered: no"),
                           QStringLiteral("notice 0: Disque plein"), QStringLiteral("notice 0 closed")}));
}

TEST(UnattendedRun, IsAskedForByTheVariableUnlessItIsEmptyOrZero)
{
    FakePlatform platform;
    const QByteArray saved = qgetenv(UnattendedRun::kVariable);
    const bool wasSet = qEnvironmentVariableIsSet(UnattendedRun::kVariable);
    struct Case
    {
        const char* value; // null: unset
        bool requested;
    };
    const Case cases[] = {{nullptr, false}, {"", false}, {"0", false}, {"1", true}, {"yes", true}};
    for (const Case& c : cases) {
        if (c.value)
            qputenv(UnattendedRun::kVariable, c.value);
        else
            qunsetenv(UnattendedRun::kVariable);
        EXPECT_EQ(UnattendedRun::Requested(), c.requested) << (c.value ? c.value : "(unset)");
        EXPECT_EQ(UnattendedRun::PresenterIfRequested(platform.timers) != nullptr, c.requested);
    }
    if (wasSet)
        qputenv(UnattendedRun::kVariable, saved);
    else
        qunsetenv(UnattendedRun::kVariable);
}

} // namespace
} // namespace quorx
