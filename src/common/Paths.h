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
    // The same choice with the executable's folder given (empty when unknown).
    static QString Resolve(const QString& explicitHome, const QString& executableFolder);
    // A stable key naming one installation: the canonical program folder.
    static QString InstanceKey(const QString& programFolder);
};

// Finds folder/relativePath where every component may differ in case from the name on disk
// ("modules\\scheduler.ini" or "Modules/Scheduler.INI"). Backslashes are taken as separators.
// When several entries differ only in case, the exact spelling wins. Returns the real path; when
// a component is missing, the components found keep their real spelling and the rest follow
// as given (with "/"), which is where such a file would be created.
QString FindFileNoCase(const QString& folder, const QString& relativePath);

// The mount point holding a path (its "drive"), from /proc/self/mountinfo; "/" when unknown.
// A path that does not exist yet is taken by its nearest existing parent.
QString MountPointOf(const QString& path);
// The same, from the text of a mountinfo file and a path already made canonical.
QString MountPointFromMountInfo(const QByteArray& mountInfo, const QString& canonicalPath);
// The mount point of the program folder, with a trailing "/".
QString ProgramDriveRoot(const QString& programFolder);

} // namespace quorx
