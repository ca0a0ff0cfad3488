// The program's start with a full list: the core read from its folder and started, then the main
// window built, filled and shown, as the user waits for it. The clock, timers, processes and disks
// are the real ones; power, the other instances and the clock watch are stand-ins (no D-Bus).
#include "platform/fake/FakePlatform.h"
#include "platform/linux/LinuxPlatform.h"
#include "power/UnattendedQuestionPresenter.h"
#include "startup/SchedulerCore.h"
#include "ui/main/MainProgram.h"
#include "ui/main/TFListe.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

using namespace quorx;

namespace {

void WriteFolder(const QTemporaryDir& dir)
{
    QDir().mkpath(dir.filePath(QStringLiteral("viewer")));
    QDir().mkpath(dir.filePath(QStringLiteral("video")));
    QFile exe(dir.filePath(QStringLiteral("viewer/zomvara")));
    exe.open(QIODevice::WriteOnly);
    exe.close();
    exe.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // 256 recordings over the coming month, a third of them repeating.
    QByteArray store = "[Programmes]\r\nNbProgrammes=256\r\n";
    const QDate today = QDate::currentDate();
    for (int i = 1; i <= 256; ++i) {
        const QByteArray n = QByteArray::number(i);
        const QByteArray date = today.addDays(1 + i % 30).toString(QStringLiteral("dd/MM/yyyy")).toLatin1();
        const int hour = 6 + i % 17;
        store += "Programme" + n + "=Emission " + n + "\r\nChaine" + n + "=Chaine " +
                 QByteArray::number(i % 12) + "\r\nDateDebut" + n + "=" + date + "\r\nDateFin" + n + "=" +
                 date + "\r\nHeureDebut" + n + "=" + QByteArray::number(hour) + ":" + (i % 2 ? "00" : "30") +
                 "\r\nHeureFin" + n + "=" + QByteArray::number(hour + 1) + ":15\r\nActif" + n +
                 "=1\r\nFichier" + n + "=" + dir.filePath(QStringLiteral("video/e%1.ts").arg(i)).toUtf8() +
                 "\r\n";
        if (i % 3 == 0)
            store += "Repetition" + n + "=" + (i % 2 ? "LuMaMeJeVe" : "SaDi") + "\r\n";
    }
    QFile programmes(dir.filePath(QStringLiteral("Programmes.Ini")));
    programmes.open(QIODevice::WriteOnly);
    programmes.write(store);
    QFile config(dir.filePath(QStringLiteral("Config.Ini")));
    config.open(QIODevice::WriteOnly);
    config.write("[Config]\r\nCheminZomvara=" + dir.filePath(QStringLiteral("viewer/")).toUtf8() +
                 "\r\nSignalSonore=0\r\nSignalSonoreInterface=0\r\n");
}

void BM_StartWith256Recordings(benchmark::State& state)
{
    LinuxPlatform real;
    FakePlatform stand;
    Platform platform = real.View();
    platform.power = &stand.power;
    platform.peers = &stand.peers;
    platform.clockWatch = &stand.clockWatch;
    UnattendedQuestionPresenter presenter(*platform.timers);
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        WriteFolder(dir);
        state.ResumeTiming();

        SchedulerCore core(dir.path(), platform, presenter);
        if (!core.Start()) {
            state.SkipWithError("the core did not start");
            break;
        }
        MainProgram program(core, platform, MainProgram::Options{});
        program.Show();
        if (!QTest::qWaitForWindowExposed(&program.Window())) {
            state.SkipWithError("the window was not shown");
            break;
        }
        QApplication::processEvents();
        benchmark::DoNotOptimize(program.Window().Model());

        state.PauseTiming();
        core.Shutdown();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartWith256Recordings)->Unit(benchmark::kMillisecond)->Iterations(10);

// A rebuild of the shown list in the running program, status band included.
void BM_RebuildInTheProgram(benchmark::State& state)
{
    LinuxPlatform real;
    FakePlatform stand;
    Platform platform = real.View();
    platform.power = &stand.power;
    platform.peers = &stand.peers;
    platform.clockWatch = &stand.clockWatch;
    UnattendedQuestionPresenter presenter(*platform.timers);
    QTemporaryDir dir;
    WriteFolder(dir);
    SchedulerCore core(dir.path(), platform, presenter);
    if (!core.Start()) {
        state.SkipWithError("the core did not start");
        return;
    }
    MainProgram program(core, platform, MainProgram::Options{});
    program.Show();
    program.Window().SelectRecords({1, 50, 200});
    int order = 0;
    for (auto _ : state) {
        program.Window().SetOrder(order++ % 4);
        QApplication::processEvents();
    }
    core.Shutdown();
}
BENCHMARK(BM_RebuildInTheProgram)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
