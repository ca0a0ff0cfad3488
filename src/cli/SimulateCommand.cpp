#include "cli/CliCommand.h"
#include "cli/Simulation.h"

namespace quorx::cli {

namespace {

int RunSimulate(CliContext& ctx, const QStringList& args)
{
    SimulationOptions options;
    options.from = ctx.now;
    bool untilGiven = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QStringLiteral("--until") && hasValue) {
            if (!DateTime::ParseIso(args[++i], &options.until)) {
                ctx.err << "quorx-cli simulate: --until takes \"YYYY-MM-DD HH:MM:SS\", not \"" << args[i]
                        << "\"\n";
                return kExitUsage;
            }
            untilGiven = true;
        } else if (arg == QStringLiteral("--viewer") && hasValue) {
            options.viewerMode = args[++i];
        } else if (arg == QStringLiteral("--rate") && hasValue) {
            bool ok = false;
            options.rateKiBPerSecond = args[++i].toDouble(&ok);
            if (!ok || options.rateKiBPerSecond < 0) {
                ctx.err << "quorx-cli simulate: --rate takes a number of KiB per second, not \"" << args[i]
                        << "\"\n";
                return kExitUsage;
            }
        } else {
            ctx.err << "quorx-cli simulate: unknown or incomplete argument \"" << arg << "\"\n";
            return kExitUsage;
        }
    }
    if (!untilGiven || !(options.from < options.until)) {
        ctx.err << "quorx-cli simulate: --until must be given and later than the present moment\n";
        return kExitUsage;
    }
    QStringList acts;
    QString error;
    const bool ok = Simulation::Run(ctx.home, options, &acts, &error);
    for (const QString& line : acts)
        ctx.out << line << '\n';
    ctx.out.flush();
    if (!ok) {
        ctx.err << "quorx-cli simulate: " << error << '\n';
        return acts.isEmpty() ? kExitUsage : kExitFailure;
    }
    return kExitOk;
}

} // namespace

QUORX_REGISTER_CLI_COMMAND("simulate",
                           "simulate --until U [--viewer ok|silent|vanish=SECONDS] [--rate KIB_PER_S]",
                           "runs the scheduler on a virtual clock and prints what it does", &RunSimulate);

} // namespace quorx::cli
