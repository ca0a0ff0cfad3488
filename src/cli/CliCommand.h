#pragma once

#include "common/DateTime.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <vector>

namespace quorx::cli {

// What every subcommand receives: the program folder, the present moment and the streams.
struct CliContext
{
    QString home;          // the program folder, already checked to exist and be readable
    DateTime now;          // --now, or the system clock's present moment
    bool nowGiven = false; // --now was on the command line
    QTextStream& out;
    QTextStream& err;
};

// Exit statuses shared by every subcommand.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1; // the command ran and failed
constexpr int kExitUsage = 2;   // bad command line or unusable folder; nothing was written

struct CliCommand
{
    const char* name;
    const char* usage;   // "agenda [--save]"
    const char* summary; // one line for --help
    int (*run)(CliContext& ctx, const QStringList& args);
};

// Subcommands register themselves from their own source files, so adding one touches no
// shared file.
class CliRegistry
{
public:
    static bool Add(const CliCommand& command);
    static const std::vector<CliCommand>& All();
    static const CliCommand* Find(const QString& name);
};

} // namespace quorx::cli

#define QUORX_CLI_CONCAT2(a, b) a##b
#define QUORX_CLI_CONCAT(a, b) QUORX_CLI_CONCAT2(a, b)
#define QUORX_REGISTER_CLI_COMMAND(...)                                                                     \
    static const bool QUORX_CLI_CONCAT(quorxCliRegistered_, __LINE__) =                                     \
        ::quorx::cli::CliRegistry::Add(::quorx::cli::CliCommand{__VA_ARGS__})
