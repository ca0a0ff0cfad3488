#include "common/Paths.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <optional>
#include <unistd.h>

namespace quorx {
namespace {

void Touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

TEST(FindFileNoCaseTest, MatchesEveryComponentWithoutRegardToCase)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    Touch(root + QStringLiteral("/Modules/Scheduler.INI"));
    Touch(root + QStringLiteral("/Languages/Français.Lang"));

    const struct
    {
        QString asked;
        QString found;
    } cases[] = {
        {QStringLiteral("modules\\scheduler.ini"), QStringLiteral("/Modules/Scheduler.INI")},
        {QStringLiteral("MODULES/SCHEDULER.INI"), QStringLiteral("/Modules/Scheduler.INI")},
        {QStringLiteral("./modules//scheduler.ini"), QStringLiteral("/Modules/Scheduler.INI")},
        {QStringLiteral("languages/FRANÇAIS.lang"), QStringLiteral("/Languages/Français.Lang")},
        {QStringLiteral("modules"), QStringLiteral("/Modules")},
        // Missing parts follow as given, after the parts that were found.
        {QStringLiteral("modules\\absent.ini"), QStringLiteral("/Modules/absent.ini")},
        {QStringLiteral("NoFolder\\File.txt"), QStringLiteral("/NoFolder/File.txt")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked.toStdString());
        EXPECT_EQ(FindFileNoCase(root, c.asked), root + c.found);
    }
}

TEST(FindFileNoCaseTest, PrefersTheExactSpellingAndFoldersForInnerComponents)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    Touch(root + QStringLiteral("/Zomvara.Exe"));
    Touch(root + QStringLiteral("/zomvara.exe"));
    // A file "channels" beside the folder "Channels": only the folder can hold the file asked for.
    Touch(root + QStringLiteral("/channels"));
    Touch(root + QStringLiteral("/Channels/channels.dat"));

    EXPECT_EQ(FindFileNoCase(root, QStringLiteral("zomvara.exe")), root + QStringLiteral("/zomvara.exe"));
    EXPECT_EQ(FindFileNoCase(root, QStringLiteral("Zomvara.Exe")), root + QStringLiteral("/Zomvara.Exe"));
    // No exact spelling: the answer is one of them, and always the same one.
    const QString either = FindFileNoCase(root, QStringLiteral("ZOMVARA.EXE"));
    EXPECT_TRUE(either == root + QStringLiteral("/Zomvara.Exe") ||
                either == root + QStringLiteral("/zomvara.exe"));
    EXPECT_EQ(FindFileNoCase(root, QStringLiteral("ZOMVARA.EXE")), either);

    EXPECT_EQ(FindFileNoCase(root, QStringLiteral("channels\\CHANNELS.DAT")),
              root + QStringLiteral("/Channels/channels.dat"));
    EXPECT_EQ(FindFileNoCase(root, QStringLiteral("channels")), root + QStringLiteral("/channels"));
}

TEST(MountPointTest, LongestMountPointOnAComponentBoundaryWins)
{
    const QByteArray mountInfo = "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                                 "30 22 8:2 / /home rw,relatime shared:2 - ext4 /dev/sda2 rw\n"
                                 "31 22 8:3 / /mnt/my rw,relatime - ext4 /dev/sda3 rw\n"
                                 "32 22 8:4 / /mnt/my\\040disk rw,relatime - vfat /dev/sdb1 rw\n"
                                 "33 32 8:5 / /mnt/my\\040disk/back\\134slash rw - vfat /dev/sdc1 rw\n"
                                 "garbage line\n"
                                 "\n";
    const struct
    {
        const char* path;
        const char* mount;
    } cases[] = {
        {"/home/user/Videos", "/home"},
        {"/home", "/home"},
        {"/homework", "/"},
        {"/mnt/my/rec", "/mnt/my"},
        {"/mnt/mydata/rec", "/"},
        {"/mnt/my disk/rec", "/mnt/my disk"},
        {"/mnt/my disk/back\\slash/x", "/mnt/my disk/back\\slash"},
        {"/usr/bin", "/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(MountPointFromMountInfo(mountInfo, QString::fromUtf8(c.path)), QString::fromUtf8(c.mount));
    }
    EXPECT_EQ(MountPointFromMountInfo(QByteArray(), QStringLiteral("/home")), QStringLiteral("/"));
}

TEST(MountPointTest, RealPathsFindTheirDrive)
{
    QTemporaryDir dir;
    const QString expected = QStorageInfo(dir.path()).rootPath();
    EXPECT_EQ(MountPointOf(dir.path()), expected);
    // A file not yet written is on its folder's drive.
    EXPECT_EQ(MountPointOf(dir.path() + QStringLiteral("/not/yet/Enreg.ts")), expected);
    EXPECT_EQ(MountPointOf(QStringLiteral("/proc/self")), QStringLiteral("/proc"));

    const QString root = ProgramDriveRoot(dir.path());
    EXPECT_TRUE(root.endsWith(QLatin1Char('/')));
    EXPECT_EQ(root, expected == QLatin1String("/") ? expected : expected + QLatin1Char('/'));
}

// Sets or clears environment variables for one test and puts them back afterwards.
class EnvironmentGuard
{
public:
    void Set(const char* name, const QByteArray& value)
    {
        Remember(name);
        qputenv(name, value);
    }
    void Unset(const char* name)
    {
        Remember(name);
        qunsetenv(name);
    }
    ~EnvironmentGuard()
    {
        for (const auto& [name, value] : m_saved) {
            if (value)
                qputenv(name, *value);
            else
                qunsetenv(name);
        }
    }

private:
    void Remember(const char* name)
    {
        m_saved.emplace_back(name,
                             qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    }
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_saved;
};

TEST(ProgramFolderTest, ChoosesHomeInOrderOfPrecedence)
{
    QTemporaryDir dir;
    const QString explicitHome = dir.filePath(QStringLiteral("explicit"));
    const QString envHome = dir.filePath(QStringLiteral("env"));
    const QString exeDir = dir.filePath(QStringLiteral("bin"));
    const QString data = dir.filePath(QStringLiteral("data"));
    QDir().mkpath(exeDir);

    EnvironmentGuard env;
    env.Set("QUORX_HOME", envHome.toLocal8Bit());
    env.Set("XDG_DATA_HOME", data.toLocal8Bit());
    EXPECT_EQ(ProgramFolder::Resolve(explicitHome, exeDir), explicitHome);
    EXPECT_EQ(ProgramFolder::Resolve(explicitHome + QStringLiteral("/sub/.."), exeDir), explicitHome);
    EXPECT_EQ(ProgramFolder::Resolve(QString(), exeDir), envHome);

    env.Unset("QUORX_HOME");
    EXPECT_EQ(ProgramFolder::Resolve(QString(), exeDir), exeDir);
    EXPECT_EQ(ProgramFolder::Resolve(QString(), dir.filePath(QStringLiteral("missing"))),
              data + QStringLiteral("/quorx"));
    EXPECT_EQ(ProgramFolder::Resolve(QString(), QString()), data + QStringLiteral("/quorx"));
    if (geteuid() != 0) { // root may write anywhere
        QFile::setPermissions(exeDir, QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_EQ(ProgramFolder::Resolve(QString(), exeDir), data + QStringLiteral("/quorx"));
        QFile::setPermissions(exeDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Without XDG_DATA_HOME, or with a relative one (which must be ignored), the home's own.
    env.Set("HOME", dir.path().toLocal8Bit());
    env.Unset("XDG_DATA_HOME");
    EXPECT_EQ(ProgramFolder::Resolve(QString(), QString()),
              dir.path() + QStringLiteral("/.local/share/quorx"));
    env.Set("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(ProgramFolder::Resolve(QString(), QString()),
              dir.path() + QStringLiteral("/.local/share/quorx"));
}

TEST(ProgramFolderTest, InstanceKeyNamesTheFolderNotTheWayToIt)
{
    QTemporaryDir dir;
    const QString real = dir.filePath(QStringLiteral("Quorx"));
    QDir().mkpath(real);
    const QString link = dir.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(real, link));
    EXPECT_EQ(ProgramFolder::InstanceKey(link), ProgramFolder::InstanceKey(real));
    EXPECT_EQ(ProgramFolder::InstanceKey(real + QStringLiteral("/")), ProgramFolder::InstanceKey(real));
    EXPECT_NE(ProgramFolder::InstanceKey(real), ProgramFolder::InstanceKey(dir.path()));
}

} // namespace
} // namespace quorx
