// quorx-cli demo --viewer PATH: makes the program folder a demonstration folder (the viewer at
// PATH installed, three channels, three recordings starting within minutes), unless the user
// has changed it since, in which case it is left as it stands.
#include "cli/CliCommand.h"
#include "platform/linux/LinuxProcesses.h"
#include "startup/DemoFolder.h"

namespace quorx::cli {

namespace {

int RunDemo(CliContext& ctx, const QStringList& args)
{
    if (args.size() != 2 || args[0] != QLatin1String("--viewer")) {
        ctx.err << "quorx-cli: demo takes --viewer PATH, the substitute viewer to install\n";
        return kExitUsage;
    }
    LinuxProcesses processes;
    const DemoFolder::Outcome outcome = DemoFolder::Prepare(ctx.home, args[1], ctx.now, &processes);
    switch (outcome.result) {
    case DemoFolder::Result::Prepared:
        ctx.out << "demo folder " << ctx.home << " prepared: " << outcome.message << '\n';
        return kExitOk;
    case DemoFolder::Result::Kept:
        ctx.out << "demo folder kept: " << outcome.message << '\n';
        return kExitOk;
    case DemoFolder::Result::Failed:
        break;
    }
    ctx.err << "quorx-cli: the demo folder was not prepared: " << outcome.message << '\n';
    return kExitFailure;
}

} // namespace

QUORX_REGISTER_CLI_COMMAND("demo", "demo --viewer PATH",
                           "prepare the program folder as a demonstration, once", &RunDemo);

} // namespace quorx::cli
