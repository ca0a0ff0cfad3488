// The recording editor with the schedule full (256 recordings): the search for a recording to
// merge with, which runs at every validation, the checks of a validation, and the file preview,
// which runs at every key typed.
#include "editor/EditorMerge.h"
#include "editor/FilePreview.h"
#include "editor/RecordingEditor.h"
#include "platform/fake/FakePlatform.h"
#include "power/Questions.h"
#include "power/ScriptedQuestionPresenter.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace quorx;

namespace {

DateTime Now()
{
    return DateTime::FromFields(2024, 3, 4, 12, 0);
}

void Fill(ScheduleTable& table, int count)
{
    table.SeedForTests(7);
    for (int i = 0; i < count; ++i) {
        TEmission e;
        e.Programme = QStringLiteral("Emission %1").arg(i);
        e.Chaine = QStringLiteral("Chaîne %1").arg(i % 3);
        e.Actif = true;
        e.DateDebut = Now().DatePart().AddDays(i % 20);
        e.DateFin = e.DateDebut;
        e.HeureDebut = DateTime::FromTime(i % 24, 0);
        e.HeureFin = DateTime::FromTime(i % 24, 50);
        table.Append(e);
    }
}

RecordingDraft Draft()
{
    RecordingDraft d;
    d.name = QStringLiteral("Le Film");
    d.channel = QStringLiteral("chaîne 1");
    d.folder = QStringLiteral("/media/rec/");
    d.startDate = Now().DatePart().AddDays(3);
    d.startTime = DateTime::FromTime(20, 55);
    d.endTime = DateTime::FromTime(22, 0);
    d.FollowEndDate();
    return d;
}

void BM_MergeCandidatesFullList(benchmark::State& state)
{
    ScheduleTable table;
    Fill(table, ScheduleTable::kMaxRecordings);
    const RecordingDraft d = Draft();
    for (auto _ : state) {
        auto found = EditorMerge::Candidates(table, d, -1, {}, DateTime(), DateTime());
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_MergeCandidatesFullList);

void BM_Preview(benchmark::State& state)
{
    const RecordingDraft d = Draft();
    FilePreview::Inputs in;
    in.now = Now();
    in.driveRoot = QStringLiteral("/");
    for (auto _ : state) {
        QString text = FilePreview::Text(d, in);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_Preview);

// Every check down to the last one, the duration, which refuses, so that nothing is committed
// or written and each iteration sees the same list (the folder check creates nothing new).
void BM_ValidateRefusedByTheLastCheck(benchmark::State& state)
{
    QTemporaryDir dir;
    FakePlatform fake(Now());
    Platform view = fake.View();
    ScheduleTable table;
    Fill(table, ScheduleTable::kMaxRecordings - 1);
    Settings settings;
    ScriptedQuestionPresenter presenter;
    Questions questions(presenter, settings, view, dir.filePath(QStringLiteral("Config.Ini")));
    RecordingEditor::Context c;
    c.table = &table;
    c.settings = &settings;
    c.questions = &questions;
    c.platform = view;
    c.programFolder = dir.path();
    c.driveRoot = dir.path();
    TEmission e;
    e.Chaine = QStringLiteral("Chaîne 1");
    e.Actif = true;
    const int index = table.Append(e);
    RecordingEditor editor(c);
    editor.Open(index, true);
    editor.SetStartDate(Now().DatePart().AddDays(3));
    editor.SetStartTime(DateTime::FromTime(20, 0));
    editor.SetEndTime(DateTime::FromTime(20, 1));
    for (auto _ : state) {
        auto result = editor.Validate(false);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_ValidateRefusedByTheLastCheck);

} // namespace

BENCHMARK_MAIN();
