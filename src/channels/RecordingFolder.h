#pragma once

#include <QString>

namespace quorx {

// Rules for the recording folders typed or chosen by the user. Paths use "/", and a folder's
// "drive" is the root it starts from, so a folder has a drive when it is an absolute path.
class RecordingFolder final
{
public:
    static bool HasDrive(const QString& folder);
    static QString WithTrailingSeparator(const QString& folder);
    // A drive, and none of the characters " * < > ? | that no folder name may hold.
    static bool IsValidPath(const QString& folder);
    // A valid path naming a folder that exists.
    static bool IsExistingFolder(const QString& folder);

    // The key filter of a folder field: whether key may be typed at position in text. Refused:
    // " * < > ? | and "\"; anything but "/" at the first position; a "/" beside another "/".
    static bool AcceptsKey(const QString& text, int position, QChar key);

    // What a folder chosen in the folder dialog becomes: itself when it exists, else the program's
    // folder; with a trailing "/" in both cases.
    static QString FromBrowse(const QString& chosen, const QString& programFolder);
};

} // namespace quorx
