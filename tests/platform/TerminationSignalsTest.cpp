#include "platform/linux/TerminationSignals.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <csignal>
#include <vector>

namespace quorx {

namespace {

std::vector<int> RaiseAndCollect(TerminationSignals& watcher, const std::vector<int>& raised)
{
    std::vector<int> received;
    QObject::connect(&watcher, &TerminationSignals::Requested, [&](int s) { received.push_back(s); });
    for (const int s : raised)
        std::raise(s);
    const QDeadlineTimer deadline(5000);
    while (received.size() < raised.size() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return received;
}

} // namespace

TEST(TerminationSignalsTest, EachSignalReachesTheEventLoopInsteadOfEndingTheProcess)
{
    TerminationSignals watcher;
    ASSERT_TRUE(watcher.Installed());
    EXPECT_EQ(RaiseAndCollect(watcher, {SIGTERM, SIGINT, SIGHUP}), (std::vector<int>{SIGTERM, SIGINT, SIGHUP}));
}

TEST(TerminationSignalsTest, ASecondWatcherAfterTheFirstIsGoneCatchesAgain)
{
    { TerminationSignals first; }
    TerminationSignals second;
    ASSERT_TRUE(second.Installed());
    EXPECT_EQ(RaiseAndCollect(second, {SIGTERM}), (std::vector<int>{SIGTERM}));
}

} // namespace quorx
