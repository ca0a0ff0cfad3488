#pragma once

#include <QString>

namespace quorx {

// Where the program keeps its state, and how the names of files it shares with Windows
// installations are found on a case-sensitive file system.
class ProgramFolder
{
public:
    // explicitHome (from --home) wins, then QUORX_HOME, then the executable's folder when it is
    // writable (a portable install), else $XDG_DATA_HOME/quorx (~/.local/share/quorx).
    static QString Resolve(const QString& explicitHome);
    // A stable key naming one installation: the canonical program folder.
    static QString InstanceKey(const QString& programFolder);
};

// Finds folder/relativePath where every component may differ in case from the name on disk
// ("modules\\scheduler.ini" or "Modules/Scheduler.INI"). Backslashes are taken as separators.
// Returns the real path, or folder/relativePath as given when nothing matches.
QString FindFileNoCase(const QString& folder, const QString& relativePath);

// The mount point holding a path (its "drive"), from /proc/self/mountinfo; "/" when unknown.
QString MountPointOf(const QString& path);
// The mount point of the program folder, with a trailing "/".
QString ProgramDriveRoot(const QString& programFolder);

} // namespace quorx
