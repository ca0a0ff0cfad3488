// quorx-cli agenda: the schedule as the engine sees it at one moment, one tab-separated line per
// recording. Other tools read this output, so its fields and their forms do not change.
#include "cli/CliCommand.h"
#include "common/IniFile.h"
#include "engine/ScheduleEngine.h"
#include "cli/FixedClock.h"
#include "schedule/ScheduleStore.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"
#include "schedule/SettingsStore.h"

namespace quorx::cli {

namespace {

QString Flag(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

// A tab or a line break inside a title would split the line for whoever reads it.
QString Field(QString text)
{
    for (QChar& c : text)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return text;
}

int RunAgenda(CliContext& ctx, const QStringList& args)
{
    bool deactivateTruncated = false;
    bool save = false;
    for (const QString& arg : args) {
        if (arg == QStringLiteral("--deactivate-truncated")) {
            deactivateTruncated = true;
        } else if (arg == QStringLiteral("--save")) {
            save = true;
        } else {
            ctx.err << "quorx-cli agenda: unknown argument \"" << arg
                    << "\" (usage: agenda [--deactivate-truncated] [--save])\n";
            return kExitUsage;
        }
    }

    // Settings and schedule in the order of the program's start-up.
    Settings settings;
    const IniFile config(SettingsStore::FilePath(ctx.home));
    SettingsStore::LoadGroupOne(config, settings);
    ScheduleTable table;
    ScheduleStore::LoadReport report;
    ScheduleStore::LoadSchedule(ctx.home, table, settings, ctx.now, &report);
    if (report.unreadable)
        ctx.err << "quorx-cli agenda: " << ScheduleStore::FilePath(ctx.home)
                << " could not be read; the list is empty\n";
    else if (report.clamped)
        ctx.err << "quorx-cli agenda: the file lists " << report.storedCount << " recordings; the first "
                << report.loadedCount << " were loaded\n";
    SettingsStore::LoadGroupTwo(config, settings);
    SettingsStore::LoadGroupThree(config, settings);

    cli::FixedClock clock(ctx.now);
    Platform platform;
    platform.clock = &clock;
    ScheduleEngine engine(table, settings, platform);

    engine.PassA();
    engine.ComputeCutMinutes();
    if (deactivateTruncated) {
        // The command acts in a running program, after the pass above has shown the cuts.
        engine.SetTruncatedDeactivation(true);
        engine.PassA();
        engine.SetTruncatedDeactivation(false);
        engine.ComputeCutMinutes();
    }
    const int next = engine.SelectNextRecording();
    const int wake = engine.SelectNextWake();
    const Occurrences occurrences = engine.CurrentOccurrences();

    ctx.out << "n\ttitle\tnext_start\toccurrence_end\twindow_start\twindow_end\tcut_at_start\tcut_at_end\t"
               "etat\tactif\tinactif_pro\teffective_start\n";
    for (int i = 1; i <= table.Count(); ++i) {
        const TEmission& e = table[i];
        const RecordingWindow& w = engine.Windows()[i];
        const QStringList fields{QString::number(i),
                                 Field(e.Title()),
                                 e.NextStart.IsoText(),
                                 occurrences.OccurrenceEnd(e).IsoText(),
                                 w.start.IsoText(),
                                 w.end.IsoText(),
                                 QString::number(e.CutAtStart),
                                 QString::number(e.CutAtEnd),
                                 QString::number(e.Etat),
                                 Flag(e.Actif),
                                 Flag(e.InactifPro),
                                 e.EffectiveStart.IsoText()};
        ctx.out << fields.join(QLatin1Char('\t')) << '\n';
    }
    ctx.out << "next\t" << next << '\n';
    ctx.out << "wake\t" << wake << '\n';

    if (save) {
        QString error;
        if (!ScheduleStore::SaveSchedule(ctx.home, table, &error)) {
            ctx.err << "quorx-cli agenda: the schedule was not saved: " << error << '\n';
            return kExitFailure;
        }
    }
    return kExitOk;
}

} // namespace

QUORX_REGISTER_CLI_COMMAND("agenda", "agenda [--deactivate-truncated] [--save]",
                           "the schedule's next occurrences, windows and choices at --now", &RunAgenda);

} // namespace quorx::cli
