#include "platform/linux/LinuxProcesses.h"
#include "platform/linux/QtTimerService.h"
#include "viewer/ViewerControl.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

// The main window asks whether the viewer runs on every tick of its one-second clock, so this
// is paid once a second for as long as the program runs.
static void BM_IsViewerRunning(benchmark::State& state)
{
    quorx::LinuxProcesses processes;
    quorx::QtTimerService timers;
    quorx::ViewerControl control(processes, timers, nullptr);
    // Our own executable: one matching process among all of the machine's.
    control.SetExecutable(QCoreApplication::applicationFilePath());
    for (auto _ : state)
        benchmark::DoNotOptimize(control.IsViewerRunning());
}
BENCHMARK(BM_IsViewerRunning)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
