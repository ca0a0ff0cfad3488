// quorx-cli: the scheduler's core without windows. Every subcommand calls the same functions as
// the program's windows, so what it prints is what the program would do.
#include "cli/CliCommand.h"
#include "common/Paths.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>

using namespace quorx;
using namespace quorx::cli;

namespace {

void PrintHelp(QTextStream& out)
{
    out << "Usage: quorx-cli [--home DIR] [--now \"YYYY-MM-DD HH:MM:SS\"] COMMAND [ARGS]\n"
           "\n"
           "Options:\n"
           "  --home DIR   the program folder holding Programmes.Ini and Config.Ini\n"
           "               (default: QUORX_HOME, else the usual program folder)\n"
           "  --now T      the present moment, in local time (default: the system clock)\n"
           "  --help       this text\n"
           "\n"
           "Commands:\n";
    for (const CliCommand& c : CliRegistry::All())
        out << "  " << QString::fromUtf8(c.usage).leftJustified(40) << ' ' << QString::fromUtf8(c.summary) << '\n';
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorx-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList args = QCoreApplication::arguments().mid(1);
    QString home;
    bool homeGiven = false;
    DateTime now = DateTime::FromQDateTime(QDateTime::currentDateTime());
    bool nowGiven = false;

    while (!args.isEmpty() && args.front().startsWith(QStringLiteral("--"))) {
        const QString opt = args.takeFirst();
        if (opt == QStringLiteral("--help")) {
            PrintHelp(out);
            return kExitOk;
        }
        if ((opt == QStringLiteral("--home") || opt == QStringLiteral("--now")) && args.isEmpty()) {
            err << "quorx-cli: " << opt << " needs a value (see quorx-cli --help)\n";
            return kExitUsage;
        }
        if (opt == QStringLiteral("--home")) {
            home = args.takeFirst();
            homeGiven = true;
        } else if (opt == QStringLiteral("--now")) {
            const QString text = args.takeFirst();
            if (!DateTime::ParseIso(text, &now)) {
                err << "quorx-cli: --now takes \"YYYY-MM-DD HH:MM:SS\", not \"" << text << "\"\n";
                return kExitUsage;
            }
            nowGiven = true;
        } else {
            err << "quorx-cli: unknown option " << opt << " (see quorx-cli --help)\n";
            return kExitUsage;
        }
    }

    if (args.isEmpty()) {
        PrintHelp(err);
        return kExitUsage;
    }
    const QString name = args.takeFirst();
    if (name == QStringLiteral("help")) {
        PrintHelp(out);
        return kExitOk;
    }
    const CliCommand* command = CliRegistry::Find(name);
    if (!command) {
        err << "quorx-cli: unknown command \"" << name << "\" (see quorx-cli --help)\n";
        return kExitUsage;
    }

    if (!homeGiven)
        home = ProgramFolder::Resolve(QString());
    const QFileInfo homeInfo(home);
    if (!homeInfo.exists() || !homeInfo.isDir()) {
        err << "quorx-cli: the program folder " << home << " does not exist\n";
        return kExitUsage;
    }
    if (!homeInfo.isReadable() || !homeInfo.isExecutable()) {
        err << "quorx-cli: the program folder " << home << " cannot be read\n";
        return kExitUsage;
    }

    CliContext ctx{homeInfo.absoluteFilePath(), now, nowGiven, out, err};
    const int status = command->run(ctx, args);
    out.flush();
    err.flush();
    return status;
}
