#pragma once

#include "channels/ChannelNameList.h"

#include <QString>

namespace quorx {

class IniFile;

// The scheduler's own channel list, section [Chaines] of Config.Ini: NbChaines holds the index of
// the last channel (-1 for none) and Chaine0, Chaine1, ... the names between double quotes.
class SchedulerChannelList final
{
public:
    static QString Section() { return QStringLiteral("Chaines"); }
    static QString CountKey() { return QStringLiteral("NbChaines"); }
    static QString EntryStem() { return QStringLiteral("Chaine"); }

    // The names of Chaine0 to Chaine<NbChaines>, each with one leading and one trailing double
    // quote removed; empty names and repeats are skipped. A missing section gives an empty list.
    static ChannelNameList Load(const IniFile& config);
    // Writes the count and the names, and removes the entries left over from a longer list.
    static void Save(const ChannelNameList& names, IniFile& config);

    // One load and one atomic save of the file.
    static ChannelNameList LoadFile(const QString& configPath);
    static bool SaveFile(const ChannelNameList& names, const QString& configPath, QString* error = nullptr);
};

} // namespace quorx
