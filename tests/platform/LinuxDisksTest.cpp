#include "platform/linux/LinuxDisks.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QTemporaryDir>

namespace quorx {
namespace {

TEST(LinuxDisksTest, SpaceOfAFolderAndOfAFileAboutToBeWritten)
{
    LinuxDisks disks;
    const qint64 freeTmp = disks.FreeBytes(QStringLiteral("/tmp"));
    EXPECT_GT(freeTmp, 0);
    EXPECT_GE(disks.TotalBytes(QStringLiteral("/tmp")), freeTmp);

    // A recording not yet written, in folders not yet made, counts on the drive that will hold it.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString future = dir.filePath(QStringLiteral("not/yet/made/rec.ts"));
    const QStorageInfo storage(dir.path());
    EXPECT_EQ(disks.TotalBytes(future), storage.bytesTotal());
    EXPECT_GT(disks.FreeBytes(future), 0);
    EXPECT_EQ(disks.MountPointOf(future), storage.rootPath());

    EXPECT_EQ(disks.FreeBytes(QString()), -1);
    EXPECT_EQ(disks.TotalBytes(QString()), -1);
}

TEST(LinuxDisksTest, FilesAreSizedFoundAndDeletedButFoldersAreNotFiles)
{
    LinuxDisks disks;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("rec.ts"));
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(QByteArray(131072, 'x'));
    }
    EXPECT_EQ(disks.FileSize(file), 131072);
    EXPECT_TRUE(disks.FileExists(file));

    EXPECT_EQ(disks.FileSize(dir.path()), -1);
    EXPECT_FALSE(disks.FileExists(dir.path()));
    EXPECT_FALSE(disks.DeleteFile(dir.path()));
    EXPECT_TRUE(QDir(dir.path()).exists());

    EXPECT_TRUE(disks.DeleteFile(file));
    EXPECT_FALSE(disks.FileExists(file));
    EXPECT_EQ(disks.FileSize(file), -1);
    EXPECT_FALSE(disks.DeleteFile(file));
    EXPECT_FALSE(disks.FileExists(QString()));
}

} // namespace
} // namespace quorx
