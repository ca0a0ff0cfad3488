#pragma once

#include "common/DateTime.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace quorx {

class IniFile;
class ScheduleTable;
struct TEmission;
struct Settings;

// Programmes.Ini in the program folder: the schedule, one section "Programmes" with NbProgrammes
// and one numbered key per stored field. Other sections of the file (the calendar's [Config]) and
// keys numbered past the count are never touched.
class ScheduleStore final
{
public:
    struct LoadReport
    {
        int storedCount = 0;     // NbProgrammes as the file gives it (0 when missing or unreadable)
        int loadedCount = 0;     // records now in the table
        bool clamped = false;    // the file lists more recordings than the table holds
        bool unreadable = false; // the file exists but could not be read; the list was left empty
    };

    static QString FileName();
    // The schedule file of a program folder; a file brought from Windows under another case is used
    // as it is rather than shadowed by a second one.
    static QString FilePath(const QString& programFolder);

    // Fills the table from the file (the table is emptied first). The margins of the settings and
    // the present moment drive the first-day and state fix-ups. A missing file gives an empty list.
    static void LoadSchedule(const QString& programFolder, ScheduleTable& table, const Settings& settings,
                             DateTime now, LoadReport* report = nullptr);
    // Rewrites the schedule's keys in the file with one atomic save. On failure (full disk, folder
    // that cannot be written, file that cannot be read back first) returns false with the reason and
    // leaves the previous file whole.
    static bool SaveSchedule(const QString& programFolder, const ScheduleTable& table,
                             QString* error = nullptr);

    // The same on a file already in memory. defaultFileFolder is the folder, with a trailing "/",
    // under which a record without Fichier records ("Enreg_" and a random number); it is asked only
    // when such a record is met.
    static void ReadSchedule(const IniFile& ini, ScheduleTable& table, const Settings& settings, DateTime now,
                             const std::function<QString()>& defaultFileFolder, LoadReport* report = nullptr);
    static void WriteSchedule(IniFile& ini, const ScheduleTable& table);

    // Whether two records agree on every field the file stores (the run-time fields do not count).
    static bool SameStoredFields(const TEmission& a, const TEmission& b);
    // The days of a repeating recording as stored: two-letter codes, Monday first ("LuMeVe").
    static QString RepetitionText(std::uint8_t days);
    // Pairs of characters, case ignored; pairs naming no day and an odd last character are skipped.
    static std::uint8_t ParseRepetition(const QString& text);
};

} // namespace quorx
