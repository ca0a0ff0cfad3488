#pragma once

#include "platform/Disks.h"

namespace quorx {

// Drives and files of this computer. A path's drive is the mount point that holds it; a path that
// does not exist yet (a recording about to be written) counts on the drive of its nearest
// existing folder.
class LinuxDisks final : public Disks
{
public:
    qint64 FreeBytes(const QString& path) const override;
    qint64 TotalBytes(const QString& path) const override;
    QString MountPointOf(const QString& path) const override;
    qint64 FileSize(const QString& path) const override;
    bool FileExists(const QString& path) const override;
    bool DeleteFile(const QString& path) override;
};

} // namespace quorx
