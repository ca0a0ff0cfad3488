#include "platform/linux/LinuxDisks.h"

#include "common/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace quorx {

namespace {

// The storage of the nearest existing folder on the way up to the root.
QStorageInfo StorageOf(const QString& path)
{
    if (path.isEmpty())
        return QStorageInfo();
    QString probe = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    while (!QFileInfo::exists(probe)) {
        const QString parent = QFileInfo(probe).path();
        if (parent == probe)
            return QStorageInfo();
        probe = parent;
    }
    QStorageInfo storage(probe);
    return storage.isValid() && storage.isReady() ? storage : QStorageInfo();
}

} // namespace

qint64 LinuxDisks::FreeBytes(const QString& path) const
{
    const QStorageInfo storage = StorageOf(path);
    return storage.isValid() ? storage.bytesAvailable() : -1;
}

qint64 LinuxDisks::TotalBytes(const QString& path) const
{
    const QStorageInfo storage = StorageOf(path);
    return storage.isValid() ? storage.bytesTotal() : -1;
}

QString LinuxDisks::MountPointOf(const QString& path) const
{
    return quorx::MountPointOf(path);
}

qint64 LinuxDisks::FileSize(const QString& path) const
{
    if (path.isEmpty())
        return -1;
    const QFileInfo info(path);
    return info.isFile() ? info.size() : -1;
}

bool LinuxDisks::FileExists(const QString& path) const
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool LinuxDisks::DeleteFile(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile() && QFile::remove(path);
}

} // namespace quorx
