#include "startup/UnattendedRun.h"

#include "power/UnattendedQuestionPresenter.h"
#include "startup/ReportingQuestionPresenter.h"

#include <QByteArray>
#include <QString>

#include <cstdio>

namespace quorx {

bool UnattendedRun::Requested()
{
    const QByteArray value = qgetenv(kVariable).trimmed();
    return !value.isEmpty() && value != "0";
}

std::unique_ptr<QuestionPresenter> UnattendedRun::PresenterIfRequested(TimerService& timers)
{
    if (!Requested())
        return nullptr;
    return std::make_unique<ReportingQuestionPresenter>(
        std::make_unique<UnattendedQuestionPresenter>(timers), [](const QString& line) {
            // Flushed at once: the one reading it may be waiting for this very line.
            std::fprintf(stderr, "quorx: %s\n", line.toLocal8Bit().constData());
            std::fflush(stderr);
        });
}

} // namespace quorx
