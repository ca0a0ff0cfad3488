#pragma once

#include "schedule/Settings.h"

#include <QLatin1String>
#include <QString>

#include <array>
#include <variant>
#include <vector>

namespace quorx {

class IniFile;

// The core keys of Config.Ini: one table giving each key's section, name, encoding and the member of
// Settings it fills. Defaults are the members' initial values, so no default is written twice.
class SettingsStore final
{
public:
    enum class Encoding
    {
        Bool,       // "1"/"0", any non-zero integer reads as true
        Integer,    // decimal
        Colour,     // a Windows colour, written as a signed 32-bit decimal
        Time,       // hh:nn
        Margin,     // hh:nn:ss, the seconds kept
        Text,       // as is
        SignedByte, // read as a signed byte, negatives become 0
        WindowState // 0 normal, 2 maximised; 1 (minimised) reads as normal
    };
    using Member = std::variant<bool Settings::*, int Settings::*, qint64 Settings::*, DateTime Settings::*,
                                QString Settings::*, std::array<int, 5> Settings::*>;

    struct Key
    {
        int group; // the start-up sequence reads groups 1, 2 and 3 at different moments
        QLatin1String section;
        QLatin1String name;
        Encoding encoding;
        Member member;
        int element = -1; // for the array of column widths
        // The caller puts a value found elsewhere in memory before reading (the viewer folder found
        // on disk); a missing key keeps it instead of taking the member's initial value.
        bool defaultFromCaller = false;
    };

    enum class WindowStartState
    {
        Normal,
        Minimised,
        Maximised
    };

    static QString FileName();
    static QString FilePath(const QString& programFolder);

    static const std::vector<Key>& Keys();
    static const Key* FindKey(const QString& name);

    // Group one (TotalGo to DetectRecordingErrors) is read before the schedule, groups two
    // (the XMLTV keys to Langue) and three (Majuscules to CheminZomvara) after it.
    static void LoadGroupOne(const IniFile& ini, Settings& settings);
    static void LoadGroupTwo(const IniFile& ini, Settings& settings);
    static void LoadGroupThree(const IniFile& ini, Settings& settings);
    static void Load(const IniFile& ini, Settings& settings);

    // What the main window writes back when it is destroyed, in its order; EtatListe is written as 1
    // when the application is minimised.
    static void WriteAtExit(IniFile& ini, const Settings& settings, bool applicationMinimised);
    // Every core key, in the table's order.
    static void Save(IniFile& ini, const Settings& settings);

    // The state the main window starts in: Minimized wins over the stored EtatListe.
    static WindowStartState EffectiveStartState(const Settings& settings);

    static void ReadKey(const IniFile& ini, const Key& key, Settings& settings);
    static void WriteKey(IniFile& ini, const Key& key, const Settings& settings);
};

} // namespace quorx
