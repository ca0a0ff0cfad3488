// The list of recordings: the rules alone (filter, sort, texts) and the window's whole rebuild,
// with the schedule full (256 recordings).
#include "engine/ListRules.h"
#include "engine/ScheduleEngine.h"
#include "platform/fake/FakePlatform.h"
#include "power/Questions.h"
#include "power/ScriptedQuestionPresenter.h"
#include "schedule/DefaultRecordingStopper.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"
#include "ui/main/TFListe.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace quorx;

namespace {

DateTime Now()
{
    return DateTime::FromFields(2024, 3, 4, 12, 0);
}

void Fill(ScheduleTable& table)
{
    table.SeedForTests(7);
    for (int i = 0; i < ScheduleTable::kMaxRecordings; ++i) {
        TEmission e;
        e.Programme = QStringLiteral("Emission %1").arg((i * 37) % 256);
        e.Chaine = QStringLiteral("Chaîne %1").arg(i % 9);
        e.Actif = true;
        e.GridRow = -1;
        e.Repetition = static_cast<quint8>(i % 3 == 0 ? (i % 127) + 1 : 0);
        e.DateDebut = Now().DatePart().AddDays(i % 20);
        e.DateFin = e.DateDebut;
        e.HeureDebut = DateTime::FromTime(i % 24, (i * 7) % 60);
        e.HeureFin = DateTime::FromTime((i + 1) % 24, (i * 7) % 60);
        table.Append(e);
    }
}

void BM_ListRules_SortAndTexts(benchmark::State& state)
{
    ScheduleTable table;
    Fill(table);
    Settings settings;
    FakePlatform fake(Now());
    const Platform view = fake.View();
    ScheduleEngine engine(table, settings, view);
    engine.ComputeNextStart();
    int order = 0;
    for (auto _ : state) {
        ListRules::Sort(table, engine.Windows(), order++ % 4, Now());
        for (int i = 1; i <= table.Count(); ++i) {
            for (int c = 0; c < ListRules::ColumnCount; ++c)
                benchmark::DoNotOptimize(ListRules::CellText(table[i], c, settings, Now()));
        }
    }
}
BENCHMARK(BM_ListRules_SortAndTexts)->Unit(benchmark::kMillisecond);

void BM_TFListe_Rebuild(benchmark::State& state)
{
    ScheduleTable table;
    Fill(table);
    Settings settings;
    FakePlatform fake(Now());
    const Platform view = fake.View();
    ScheduleEngine engine(table, settings, view);
    ScriptedQuestionPresenter presenter;
    QTemporaryDir dir;
    Questions questions(presenter, settings, view, dir.filePath(QStringLiteral("Config.Ini")));
    DefaultRecordingStopper stopper;
    TFListe::Services s;
    s.table = &table;
    s.settings = &settings;
    s.schedule = &engine;
    s.questions = &questions;
    s.stopper = &stopper;
    s.platform = view;
    TFListe window(s);
    window.show();
    engine.ComputeNextStart();
    window.SelectRecords({1, 50, 200});
    int order = 0;
    for (auto _ : state) {
        settings.Tri = order++ % 4;
        window.Rebuild();
        QApplication::processEvents(); // the repaint is part of what the user waits for
    }
}
BENCHMARK(BM_TFListe_Rebuild)->Unit(benchmark::kMillisecond);

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
