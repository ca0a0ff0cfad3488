#include "cli/CliCommand.h"

#include <algorithm>

namespace quorx::cli {

namespace {
std::vector<CliCommand>& Commands()
{
    static std::vector<CliCommand> commands;
    return commands;
}
} // namespace

bool CliRegistry::Add(const CliCommand& command)
{
    auto& all = Commands();
    const auto pos = std::lower_bound(all.begin(), all.end(), command, [](const CliCommand& a, const CliCommand& b) {
        return QString::fromUtf8(a.name) < QString::fromUtf8(b.name);
    });
    all.insert(pos, command);
    return true;
}

const std::vector<CliCommand>& CliRegistry::All() { return Commands(); }

const CliCommand* CliRegistry::Find(const QString& name)
{
    for (const CliCommand& c : Commands())
        if (name == QString::fromUtf8(c.name))
            return &c;
    return nullptr;
}

} // namespace quorx::cli
