#pragma once

#include <QString>

namespace quorx {

// Free space and the "drive" of a path, which on Linux is the mount point that holds it.
class Disks
{
public:
    virtual ~Disks() = default;
    // Bytes free for this user on the drive of path; -1 when the drive cannot be read.
    virtual qint64 FreeBytes(const QString& path) const = 0;
    virtual qint64 TotalBytes(const QString& path) const = 0;
    virtual QString MountPointOf(const QString& path) const = 0;
    virtual qint64 FileSize(const QString& path) const = 0; // -1 when missing
    virtual bool FileExists(const QString& path) const = 0;
    virtual bool DeleteFile(const QString& path) = 0;
};

} // namespace quorx
