#pragma once

#include "common/DateTime.h"

#include <QString>

namespace quorx {

class IniFile;
class ScheduleTable;

// The entry a new recording starts from, before the editor opens on it: the main window's add and
// the editor's "validate and define another" both prepare it this way.
class NewRecording final
{
public:
    // Appends the entry to the table and returns its index, or -1 when the list is full (nothing
    // is added). Starts now, ends two hours later, active, on the last channel used, with that
    // channel's preferences from ChannelPref.Ini of the program folder.
    static int Prepare(ScheduleTable& table, const QString& programFolder, DateTime now);
    // The channel the editor used last (Saisie/Chaine), one enclosing pair of quotes dropped.
    static QString LastChannel(const IniFile& config);
};

} // namespace quorx
