// quorx-cli resave: loads the settings and the schedule as the program's start does, then writes
// the schedule again, so the first-day and state fix-ups reach the file.
#include "cli/CliCommand.h"
#include "common/IniFile.h"
#include "schedule/ScheduleStore.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"
#include "schedule/SettingsStore.h"

#include <memory>

namespace quorx::cli {

namespace {

int RunResave(CliContext& ctx, const QStringList& args)
{
    if (!args.isEmpty()) {
        ctx.err << "quorx-cli: resave takes no arguments (see quorx-cli --help)\n";
        return kExitUsage;
    }
    Settings settings;
    const IniFile config(SettingsStore::FilePath(ctx.home));
    SettingsStore::LoadGroupOne(config, settings);

    // The table is large; keep it off the stack.
    const auto table = std::make_unique<ScheduleTable>();
    ScheduleStore::LoadReport report;
    ScheduleStore::LoadSchedule(ctx.home, *table, settings, ctx.now, &report);
    if (report.unreadable) {
        ctx.err << "quorx-cli: " << ScheduleStore::FilePath(ctx.home)
                << " cannot be read; nothing was written\n";
        return kExitFailure;
    }
    QString error;
    if (!ScheduleStore::SaveSchedule(ctx.home, *table, &error)) {
        ctx.err << "quorx-cli: the schedule was not saved: " << error << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace

QUORX_REGISTER_CLI_COMMAND("resave", "resave",
                           "load the schedule as the program's start does and save it again", &RunResave);

} // namespace quorx::cli
