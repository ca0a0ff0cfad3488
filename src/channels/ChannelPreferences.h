#pragma once

#include <QString>

namespace quorx {

struct TEmission;

// The two sets of channel preferences: one for one-off recordings, one for repeating ones.
enum class PreferenceProfile
{
    OneOff,
    Repeating
};

// The recording formats and their file extensions.
enum class RecordingFormat
{
    Mpg,
    Pva,
    Mpa
};

// The power action after a recording; at most one of the three is chosen.
enum class AfterRecordingBox
{
    None,
    Veille,
    VeillePro,
    Eteindre
};

// The recording preferences of one channel, or of a profile's default entry. The member
// defaults are the values a missing key reads as.
struct ChannelPreferences
{
    QString Format = QStringLiteral(".Mpg");
    bool Date = true;
    bool Time = true;
    bool Channel = true;
    QString Folder;
    QString Command;
    bool CommandCheck = false;
    bool Fermer = true;
    bool Veille = false;
    bool VeillePro = false;
    bool Eteindre = false;

    // Ticking one of the three power boxes unticks the two others.
    void SetPowerBox(AfterRecordingBox box, bool ticked);
    AfterRecordingBox Power() const;
    // The command line counts only when its box is ticked and it is not blank.
    bool RunsCommand() const { return CommandCheck && !Command.trimmed().isEmpty(); }

    friend bool operator==(const ChannelPreferences&, const ChannelPreferences&) = default;
};

// "" for one-off recordings, "Rep" for repeating ones: the start of every key of the profile.
QString ProfilePrefix(PreferenceProfile profile);
// Repeating when the recording repeats on any day.
PreferenceProfile ProfileOf(const TEmission& recording);

// ".Pva" and ".Mpa" (any letter case) give their formats; anything else is Mpg.
RecordingFormat FormatOfExtension(const QString& extension);
QString ExtensionOf(RecordingFormat format);

} // namespace quorx
