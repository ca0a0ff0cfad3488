#include "platform/linux/LocalSocketPeers.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

// One AllAgree against n other instances answering from this thread's event loop, which the
// asking side runs while it waits: the cost of one "may we stop?" round before a power action.
void BM_AllAgree(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString peers = dir.filePath(QStringLiteral("peers"));
    std::vector<std::unique_ptr<quorx::LocalSocketPeers>> others;
    for (int i = 0; i < state.range(0); ++i) {
        const QString folder = dir.filePath(QStringLiteral("instance%1").arg(i));
        QDir().mkpath(folder);
        others.push_back(std::make_unique<quorx::LocalSocketPeers>(folder, peers));
        others.back()->SetQueryHandler([] { return true; });
    }
    QDir().mkpath(dir.filePath(QStringLiteral("asker")));
    quorx::LocalSocketPeers asker(dir.filePath(QStringLiteral("asker")), peers);
    for (auto _ : state) {
        const bool agree = asker.AllAgree();
        benchmark::DoNotOptimize(agree);
        if (!agree)
            state.SkipWithError("an instance refused");
    }
}
BENCHMARK(BM_AllAgree)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
