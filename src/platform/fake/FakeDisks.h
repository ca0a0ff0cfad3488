#pragma once

#include "platform/Disks.h"

#include <QHash>
#include <QMutex>
#include <QStringList>

#include <functional>

namespace quorx {

// Drives for tests and the simulation. Mount points and their space are declared by the test; a
// path belongs to the longest declared mount point that holds it, else to "/". Files are the real
// ones (the simulated viewer writes real files) unless a size is set for a path, which then wins.
class FakeDisks final : public Disks
{
public:
    static constexpr qint64 kGiB = qint64(1) << 30;

    FakeDisks();
    Q_DISABLE_COPY_MOVE(FakeDisks)

    qint64 FreeBytes(const QString& path) const override;
    qint64 TotalBytes(const QString& path) const override;
    QString MountPointOf(const QString& path) const override;
    qint64 FileSize(const QString& path) const override;
    bool FileExists(const QString& path) const override;
    bool DeleteFile(const QString& path) override;

    // Declares a drive; -1 for free space makes it unreadable, as an absent drive is.
    void SetSpace(const QString& mountPoint, qint64 freeBytes, qint64 totalBytes);
    void RemoveMountPoint(const QString& mountPoint);
    // The space of every drive the test has not declared: ample, so that nothing warns by default.
    void SetDefaultSpace(qint64 freeBytes, qint64 totalBytes);
    // The size of the file as the disks report it; -1 makes it missing. Clear returns to the real file.
    void SetFileSize(const QString& path, qint64 bytes);
    void ClearFileSize(const QString& path);
    // The size of every file is asked of this first; a negative answer leaves it to the rules above.
    // The simulated viewer grows its recording with the virtual time this way.
    void SetSizeSource(std::function<qint64(const QString& path)> source);

    QStringList DeletedFiles() const;

private:
    struct Space
    {
        qint64 freeBytes = 0;
        qint64 totalBytes = 0;
    };
    static QString Clean(const QString& path);
    QString MountPointLocked(const QString& path) const;
    Space SpaceOf(const QString& path) const;

    mutable QMutex m_mutex;
    QHash<QString, Space> m_mounts;
    // Absolute path as asked -> its mount point, forgotten when the mount points change: the
    // free-space check asks for every recording's file once a simulated second.
    mutable QHash<QString, QString> m_mountOf;
    Space m_default;
    QHash<QString, qint64> m_sizes;
    std::function<qint64(const QString&)> m_sizeSource;
    QStringList m_deleted;
};

} // namespace quorx
