// The full recomputation on a full table: 256 recordings of every kind, all meeting in one evening.
#include "engine/ScheduleEngine.h"
#include "platform/fake/FakePlatform.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"

#include <benchmark/benchmark.h>

using namespace quorx;

namespace {

const DateTime kNow = DateTime::FromFields(2024, 3, 4, 12, 0); // a Monday

void Fill(ScheduleTable& table)
{
    const std::uint8_t masks[] = {0, 0x7F, 0x1F, Lundi, Samedi | Dimanche, Mercredi};
    for (int n = 0; n < ScheduleTable::kMaxRecordings; ++n) {
        TEmission e;
        e.Programme = QStringLiteral("Programme %1").arg(n);
        e.Chaine = QStringLiteral("Chaine %1").arg(n % 17);
        e.Fichier = QStringLiteral("/video/rec%1.ts").arg(n);
        e.Repetition = masks[n % 6];
        const int startMinute = 18 * 60 + (n * 7) % 360; // 18:00 to 23:59
        const int length = 30 + (n * 13) % 150;
        const int endMinute = (startMinute + length) % 1440;
        e.DateDebut = kNow.DatePart().AddDays(e.IsRepeating() ? -(n % 9) : n % 3);
        e.DateFin = startMinute + length >= 1440 ? e.DateDebut.AddDays(1) : e.DateDebut;
        e.HeureDebut = DateTime::FromTime(startMinute / 60, startMinute % 60);
        e.HeureFin = DateTime::FromTime(endMinute / 60, endMinute % 60);
        e.Actif = n % 23 != 0;
        e.Prioritaire = n % 5 == 0;
        if (e.IsRepeating() && n % 11 == 0)
            e.RepetitionFin = kNow.DatePart().AddDays(20);
        if (e.IsRepeating() && n % 13 == 0) {
            e.Etat = 3;
            e.DateStop = kNow.DatePart();
        }
        if (e.IsRepeating() && n % 17 == 0) {
            e.InactifPro = true;
            e.DateStop = kNow.DatePart();
        }
        if (e.IsRepeating() && n % 29 == 0)
            e.DateDebut = kNow.DatePart().AddDays(40); // first day far ahead
        if (e.IsRepeating() && n % 31 == 0)
            e.DateDebut = kNow.DatePart().AddDays(120); // beyond the search: no occurrence
        table.Append(e);
    }
}

void BM_RecomputeSchedule(benchmark::State& state)
{
    FakePlatform fake(kNow);
    const Platform view = fake.View();
    ScheduleTable table;
    Settings settings;
    settings.DelaiDeb = DateTime::FromTime(0, 2, 30);
    settings.DelaiFin = DateTime::FromTime(0, 5);
    settings.RepPrioritaire = true;
    Fill(table);
    ScheduleEngine engine(table, settings, view); // no program folder: nothing is saved
    engine.RecomputeSchedule();
    if (table.Count() != ScheduleTable::kMaxRecordings) {
        state.SkipWithError("the table lost recordings in the first pass");
        return;
    }
    for (auto _ : state) {
        engine.RecomputeSchedule();
        benchmark::DoNotOptimize(engine.Windows()[1].start);
    }
    state.counters["recordings"] = table.Count();
}
BENCHMARK(BM_RecomputeSchedule)->Unit(benchmark::kMicrosecond);

void BM_ComputeNextStartOfTheTable(benchmark::State& state)
{
    ScheduleTable table;
    Fill(table);
    const Occurrences occurrences(DateTime::FromTime(0, 2, 30), DateTime::FromTime(0, 5));
    for (auto _ : state) {
        occurrences.ComputeNextStart(table, kNow);
        benchmark::DoNotOptimize(table[1].NextStart);
    }
}
BENCHMARK(BM_ComputeNextStartOfTheTable)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
