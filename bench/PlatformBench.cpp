#include "platform/fake/VirtualClock.h"
#include "platform/fake/VirtualTimerService.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

using namespace quorx;

constexpr qint64 kWeekMs = 7LL * 24 * 3600 * 1000;

// A week of virtual time under the one-second clock, as a simulated run spends most of it.
void BM_WeekWithOneSecondTimer(benchmark::State& state)
{
    for (auto _ : state) {
        VirtualClock clock;
        VirtualTimerService service(clock);
        auto tick = service.CreateTimer(QStringLiteral("Timer3"));
        tick->SetInterval(1000);
        qint64 ticks = 0;
        tick->SetHandler([&ticks] { ++ticks; });
        tick->SetEnabled(true);
        service.RunFor(kWeekMs);
        benchmark::DoNotOptimize(ticks);
        state.counters["firings"] = static_cast<double>(service.FiredCount());
    }
}
BENCHMARK(BM_WeekWithOneSecondTimer)->Unit(benchmark::kMillisecond);

// The same week with the main window's other timers armed beside it (mostly idle, some re-armed
// from handlers on second boundaries), to show the cost of the scan over many timers.
void BM_WeekWithAllWindowTimers(benchmark::State& state)
{
    const int others = static_cast<int>(state.range(0));
    for (auto _ : state) {
        VirtualClock clock;
        VirtualTimerService service(clock);
        std::vector<std::unique_ptr<Timer>> timers;
        auto tick = service.CreateTimer(QStringLiteral("Timer3"));
        Timer* t = tick.get();
        tick->SetHandler(
            [t, &service] { t->SetInterval(static_cast<int>(1000 - service.ElapsedMs() % 1000)); });
        tick->SetEnabled(true);
        for (int i = 0; i < others; ++i) {
            auto timer = service.CreateTimer(QStringLiteral("other"));
            timer->SetInterval(60000 + 1000 * i);
            timer->SetEnabled(i % 2 == 0);
            timers.push_back(std::move(timer));
        }
        service.RunFor(kWeekMs);
        state.counters["firings"] = static_cast<double>(service.FiredCount());
    }
}
BENCHMARK(BM_WeekWithAllWindowTimers)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
