// Load and save of a full schedule (256 recordings) in Programmes.Ini; both run on the main thread
// after every change, so they must stay well under a few milliseconds.
#include "common/IniFile.h"
#include "schedule/ScheduleStore.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace quorx;

namespace {

std::unique_ptr<ScheduleTable> FullTable()
{
    auto table = std::make_unique<ScheduleTable>();
    for (int n = 1; n <= ScheduleTable::kMaxRecordings; ++n) {
        TEmission e;
        e.Programme = QStringLiteral("Émission du soir numéro %1").arg(n);
        e.Chaine = QStringLiteral("Chaîne %1").arg(n % 40);
        e.Fichier = QStringLiteral("/media/enregistrements/emission-%1.ts").arg(n);
        e.Commande = n % 4 ? QString() : QStringLiteral("ffmpeg -i \"[file]\" -c copy \"[file].mkv\"");
        e.Repetition = n % 2 ? static_cast<std::uint8_t>(Lundi | Mercredi | Vendredi) : 0;
        e.DateDebut = DateTime::FromFields(2024, 3, 1 + n % 28);
        e.DateFin = e.DateDebut.AddDays(n % 3 == 0 ? 1 : 0);
        e.HeureDebut = DateTime::FromTime(n % 24, (n * 5) % 60);
        e.HeureFin = DateTime::FromTime((n + 1) % 24, (n * 5) % 60);
        e.Actif = true;
        e.AjouterDate = e.AjouterHeure = e.AjouterChaine = true;
        table->Append(e);
    }
    return table;
}

void BM_SaveSchedule(benchmark::State& state)
{
    QTemporaryDir dir;
    const auto table = FullTable();
    for (auto _ : state) {
        if (!ScheduleStore::SaveSchedule(dir.path(), *table))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveSchedule)->Unit(benchmark::kMillisecond);

void BM_LoadSchedule(benchmark::State& state)
{
    QTemporaryDir dir;
    if (!ScheduleStore::SaveSchedule(dir.path(), *FullTable()))
        state.SkipWithError("save failed");
    const Settings settings;
    const DateTime now = DateTime::FromFields(2024, 3, 6, 12, 0);
    auto table = std::make_unique<ScheduleTable>();
    for (auto _ : state) {
        ScheduleStore::LoadSchedule(dir.path(), *table, settings, now);
        benchmark::DoNotOptimize(table->Count());
    }
    if (table->Count() != ScheduleTable::kMaxRecordings)
        state.SkipWithError("the schedule did not load in full");
}
BENCHMARK(BM_LoadSchedule)->Unit(benchmark::kMillisecond);

// The same work without the file: what the disk (the flush of the atomic save) and the reading of the
// file add is the difference.
void BM_WriteScheduleInMemory(benchmark::State& state)
{
    const auto table = FullTable();
    IniFile stored;
    ScheduleStore::WriteSchedule(stored, *table);
    for (auto _ : state) {
        IniFile ini = stored;
        ScheduleStore::WriteSchedule(ini, *table);
        benchmark::DoNotOptimize(ini.ToBytes());
    }
}
BENCHMARK(BM_WriteScheduleInMemory)->Unit(benchmark::kMillisecond);

void BM_ReadScheduleInMemory(benchmark::State& state)
{
    IniFile stored;
    ScheduleStore::WriteSchedule(stored, *FullTable());
    const QByteArray bytes = stored.ToBytes();
    const Settings settings;
    const DateTime now = DateTime::FromFields(2024, 3, 6, 12, 0);
    auto table = std::make_unique<ScheduleTable>();
    for (auto _ : state) {
        IniFile ini;
        ini.LoadFromBytes(bytes);
        ScheduleStore::ReadSchedule(ini, *table, settings, now, {});
        benchmark::DoNotOptimize(table->Count());
    }
}
BENCHMARK(BM_ReadScheduleInMemory)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
