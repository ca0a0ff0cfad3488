#pragma once

#include <QString>
#include <QStringList>

namespace quorx {

// How the argument of a start is found: from the argument list at a first start, and from the
// hand-over slot of Config.Ini when a second start passes it to the running instance. The slot
// keeps the form Windows installations wrote, the quoted program path, one blank, then the
// argument, so that a file brought from there and our own reader agree.
class CommandLineArguments final
{
public:
    // The first of the positional arguments, as an absolute path, when it names an existing
    // file; empty otherwise.
    static QString FirstStartListFile(const QStringList& positionalArguments);
    // What a second start writes into the slot. A relative argument is made absolute against
    // workingFolder, since the running instance was started elsewhere.
    static QString HandOverLine(const QString& programPath, const QString& argument,
                                const QString& workingFolder);
    // The argument of a slot text: what follows the quoted program path and one blank (one pair
    // of quotes around it removed). Only a slot starting with the quoted path, or with
    // programPath itself and a blank, has one: any other text gives an empty argument.
    static QString ArgumentOfHandOverLine(const QString& line, const QString& programPath);
    // True when the extension is ".quorx" without regard to case.
    static bool IsListFile(const QString& argument);
};

} // namespace quorx
