#include "platform/fake/FakeDisks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quorx {

FakeDisks::FakeDisks() : m_default{500 * kGiB, 1000 * kGiB} {}

QString FakeDisks::Clean(const QString& path)
{
    return QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path));
}

QString FakeDisks::MountPointLocked(const QString& path) const
{
    // A relative path depends on the current folder, so only absolute ones are remembered.
    const bool absolute = QDir::isAbsolutePath(path);
    if (absolute) {
        const auto known = m_mountOf.constFind(path);
        if (known != m_mountOf.constEnd())
            return known.value();
    }
    const QString clean = Clean(path);
    QString best = QStringLiteral("/");
    for (auto it = m_mounts.constBegin(); it != m_mounts.constEnd(); ++it) {
        const QString& mount = it.key();
        const bool holds =
            clean == mount || mount == QLatin1String("/") || clean.startsWith(mount + QLatin1Char('/'));
        if (holds && mount.size() > best.size())
            best = mount;
    }
    if (absolute)
        m_mountOf.insert(path, best);
    return best;
}

FakeDisks::Space FakeDisks::SpaceOf(const QString& path) const
{
    if (path.isEmpty())
        return Space{-1, -1};
    return m_mounts.value(MountPointLocked(path), m_default);
}

qint64 FakeDisks::FreeBytes(const QString& path) const
{
    QMutexLocker lock(&m_mutex);
    return SpaceOf(path).freeBytes;
}

qint64 FakeDisks::TotalBytes(const QString& path) const
{
    QMutexLocker lock(&m_mutex);
    const Space space = SpaceOf(path);
    return space.freeBytes < 0 ? -1 : space.totalBytes;
}

QString FakeDisks::MountPointOf(const QString& path) const
{
    QMutexLocker lock(&m_mutex);
    return MountPointLocked(path);
}

qint64 FakeDisks::FileSize(const QString& path) const
{
    {
        QMutexLocker lock(&m_mutex);
        if (m_sizeSource) {
            const qint64 size = m_sizeSource(Clean(path));
            if (size >= 0)
                return size;
        }
        const auto it = m_sizes.constFind(Clean(path));
        if (it != m_sizes.constEnd())
            return it.value();
    }
    const QFileInfo info(path);
    return info.isFile() ? info.size() : -1;
}

bool FakeDisks::FileExists(const QString& path) const
{
    return FileSize(path) >= 0;
}

bool FakeDisks::DeleteFile(const QString& path)
{
    QMutexLocker lock(&m_mutex);
    const QString clean = Clean(path);
    const auto it = m_sizes.find(clean);
    bool deleted = false;
    if (it != m_sizes.end()) {
        deleted = it.value() >= 0;
        m_sizes.erase(it);
        // The real file, if any, goes too, so that the size does not come back from the disk.
        QFile::remove(path);
    } else {
        deleted = QFile::remove(path);
    }
    if (deleted)
        m_deleted.append(path);
    return deleted;
}

void FakeDisks::SetSpace(const QString& mountPoint, qint64 freeBytes, qint64 totalBytes)
{
    QMutexLocker lock(&m_mutex);
    m_mounts.insert(Clean(mountPoint), Space{freeBytes, totalBytes});
    m_mountOf.clear();
}

void FakeDisks::RemoveMountPoint(const QString& mountPoint)
{
    QMutexLocker lock(&m_mutex);
    m_mounts.remove(Clean(mountPoint));
    m_mountOf.clear();
}

void FakeDisks::SetDefaultSpace(qint64 freeBytes, qint64 totalBytes)
{
    QMutexLocker lock(&m_mutex);
    m_default = Space{freeBytes, totalBytes};
}

void FakeDisks::SetFileSize(const QString& path, qint64 bytes)
{
    QMutexLocker lock(&m_mutex);
    m_sizes.insert(Clean(path), bytes < 0 ? -1 : bytes);
}

void FakeDisks::SetSizeSource(std::function<qint64(const QString& path)> source)
{
    QMutexLocker lock(&m_mutex);
    m_sizeSource = std::move(source);
}

void FakeDisks::ClearFileSize(const QString& path)
{
    QMutexLocker lock(&m_mutex);
    m_sizes.remove(Clean(path));
}

QStringList FakeDisks::DeletedFiles() const
{
    QMutexLocker lock(&m_mutex);
    return m_deleted;
}

} // namespace quorx
