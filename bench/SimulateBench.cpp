// A week of the scheduler on the virtual clock with a full list: one-off and repeating recordings,
// priorities, overlaps, recordings across midnight, command lines, closing the viewer, standby and
// shutting down; and one recomputation of that list with the timers armed.
#include "cli/Simulation.h"
#include "common/IniFile.h"
#include "engine/ScheduleEngine.h"
#include "platform/fake/FakePlatform.h"
#include "power/UnattendedQuestionPresenter.h"
#include "schedule/ScheduleStore.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"
#include "schedule/SettingsStore.h"
#include "startup/SchedulerCore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace quorx;

namespace {

const DateTime kMonday = DateTime::FromFields(2024, 3, 4); // 00:00

void Fill(ScheduleTable& table, const QString& videoFolder)
{
    const std::uint8_t masks[] = {0x7F, 0x1F, Samedi | Dimanche, Mercredi};
    for (int n = 0; n < ScheduleTable::kMaxRecordings; ++n) {
        TEmission e;
        e.Programme = QStringLiteral("Programme %1").arg(n);
        e.Chaine = QStringLiteral("Chaine %1").arg(n % 13);
        e.Fichier = videoFolder + QStringLiteral("/rec%1.ts").arg(n);
        const bool repeating = n % 8 == 0;
        e.Repetition = repeating ? masks[(n / 8) % 4] : 0;
        const int startMinute = repeating ? 19 * 60 + (n * 11) % 240 : 6 * 60 + (n * 37) % 1080;
        const int length = repeating ? 25 : 15 + (n * 13) % 60;
        const int endMinute = (startMinute + length) % 1440;
        e.DateDebut = kMonday.AddDays(repeating ? 0 : n % 7);
        e.DateFin = startMinute + length >= 1440 ? e.DateDebut.AddDays(1) : e.DateDebut;
        e.HeureDebut = DateTime::FromTime(startMinute / 60, startMinute % 60);
        e.HeureFin = DateTime::FromTime(endMinute / 60, endMinute % 60);
        e.Actif = n % 31 != 0;
        e.Prioritaire = n % 5 == 0;
        e.Fermer = n % 3 == 0;
        e.Veille = n % 17 == 1;
        e.Eteindre = n % 29 == 2;
        if (n % 7 == 3)
            e.Commande = QStringLiteral("echo [file]");
        if (repeating && n % 24 == 0)
            e.RepetitionFin = kMonday.AddDays(5);
        table.Append(e);
    }
}

// A program folder holding the full list, no margins and the viewer's folder.
class Folder
{
public:
    // Under base when given (a tmpfs such as /dev/shm, to tell the disk's flushes from the rest),
    // else in the usual temporary folder.
    explicit Folder(const QString& base = QString())
        : m_temporary(base.isEmpty() ? std::make_unique<QTemporaryDir>()
                                     : std::make_unique<QTemporaryDir>(base + QStringLiteral("/quorx-bench-XXXXXX"))),
          m_dir(*m_temporary)
    {
        QDir().mkpath(Video());
        Settings settings;
        ScheduleTable table;
        Fill(table, Video());
        ScheduleStore::SaveSchedule(m_dir.path(), table);
        QFile list(ScheduleStore::FilePath(m_dir.path()));
        list.open(QIODevice::ReadOnly);
        m_schedule = list.readAll();
        IniFile config;
        config.WriteString(QStringLiteral("Config"), QStringLiteral("DelaiDeb"), QStringLiteral("00:00:00"));
        config.WriteString(QStringLiteral("Config"), QStringLiteral("DelaiFin"), QStringLiteral("00:00:00"));
        config.SaveAs(SettingsStore::FilePath(m_dir.path()));
        m_config = config;
    }
    QString Path() const { return m_dir.path(); }
    QString Video() const { return m_dir.path() + QStringLiteral("/video"); }
    // Back to the list as it was before a run.
    void Reset()
    {
        QFile list(ScheduleStore::FilePath(m_dir.path()));
        list.open(QIODevice::WriteOnly | QIODevice::Truncate);
        list.write(m_schedule);
        list.close();
        m_config.SaveAs(SettingsStore::FilePath(m_dir.path()));
        QFile::remove(m_dir.path() + QStringLiteral("/Journal.Log"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_temporary;
    QTemporaryDir& m_dir;
    QByteArray m_schedule;
    IniFile m_config;
};

// Argument 0: the program folder in the temporary folder (on disk here); 1: on the tmpfs /dev/shm.
void BM_SimulateWeek(benchmark::State& state)
{
    const bool onTmpfs = state.range(0) == 1;
    if (onTmpfs && !QFileInfo(QStringLiteral("/dev/shm")).isWritable()) {
        state.SkipWithError("no writable /dev/shm");
        return;
    }
    Folder folder(onTmpfs ? QStringLiteral("/dev/shm") : QString());
    qint64 acts = 0;
    for (auto _ : state) {
        state.PauseTiming();
        folder.Reset();
        state.ResumeTiming();
        cli::SimulationOptions options;
        options.from = kMonday;
        options.until = kMonday.AddDays(7);
        QStringList lines;
        QString error;
        if (!cli::Simulation::Run(folder.Path(), options, &lines, &error)) {
            state.SkipWithError(error.toUtf8().constData());
            break;
        }
        acts = lines.size();
        benchmark::DoNotOptimize(lines);
    }
    state.counters["acts"] = static_cast<double>(acts);
}
BENCHMARK(BM_SimulateWeek)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RecomputeScheduleWithArming(benchmark::State& state)
{
    Folder folder;
    folder.Reset();
    // A viewer folder, named in the settings, so that the start-up goes through.
    const QString viewerFolder = folder.Path() + QStringLiteral("/Zomvara/");
    QDir().mkpath(viewerFolder);
    QFile exe(viewerFolder + QStringLiteral("zomvara"));
    exe.open(QIODevice::WriteOnly);
    exe.close();
    exe.setPermissions(exe.permissions() | QFileDevice::ExeOwner);
    const SettingsStore::Key* key = SettingsStore::FindKey(QStringLiteral("CheminZomvara"));
    IniFile config;
    config.Load(SettingsStore::FilePath(folder.Path()));
    config.WriteString(QString(key->section), QString(key->name), viewerFolder);
    config.SaveAs(SettingsStore::FilePath(folder.Path()));

    FakePlatform fake(kMonday.AddMinutes(18 * 60));
    UnattendedQuestionPresenter presenter(fake.timers);
    SchedulerCore core(folder.Path(), fake.View(), presenter);
    if (!core.Start()) {
        state.SkipWithError("the start-up failed");
        return;
    }
    // Argument 0: the pass without writing Programmes.Ini, to tell the file's share of the cost.
    if (state.range(0) == 0)
        core.Schedule().SetProgramFolder(QString());
    for (auto _ : state)
        benchmark::DoNotOptimize(core.Schedule().RecomputeSchedule());
}
BENCHMARK(BM_RecomputeScheduleWithArming)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
