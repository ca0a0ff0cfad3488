#include "common/IniFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace quorx;

namespace {

struct CliRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

CliRun RunCli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(QUORX_CLI_PATH), args);
    CliRun r;
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.status = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString Key(const IniFile& ini, const char* key)
{
    return ini.ReadString(QStringLiteral("Programmes"), QString::fromLatin1(key));
}

} // namespace

TEST(ResaveCommand, RewritesTheScheduleWithTheStartUpFixUpsAndPrintsNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The end margin of Config.Ini keeps record 3's state: its occurrence ended at 11:45 and the
    // margin runs until 12:15.
    WriteFile(dir.filePath(QStringLiteral("Config.Ini")), "[Config]\r\nDelaiFin=00:30:00\r\n");
    WriteFile(dir.filePath(QStringLiteral("Programmes.Ini")),
              "[Config]\r\nInitialDirSauvegardeImage=/home/me/Images\r\n\r\n"
              "[Programmes]\r\nNbProgrammes=3\r\n"
              "Programme1=En cours\r\nDateDebut1=06/03/2024\r\nDateFin1=06/03/2024\r\nHeureDebut1=11:00\r\n"
              "HeureFin1=13:00\r\nDateStop1=06/03/2024\r\nEtat1=1\r\n"
              "Programme2=Quotidien\r\nRepetition2=LuMaMeJeVeSaDi\r\nHeureDebut2=23:00\r\nHeureFin2=01:00\r\n"
              "Programme3=Fini\r\nDateDebut3=06/03/2024\r\nDateFin3=06/03/2024\r\nHeureDebut3=10:00\r\n"
              "HeureFin3=11:45\r\nDateStop3=06/03/2024\r\nEtat3=2\r\n"
              "Programme9=Ancien\r\n");

    const CliRun r = RunCli({QStringLiteral("--home"), dir.path(), QStringLiteral("--now"),
                             QStringLiteral("2024-03-06 12:00:00"), QStringLiteral("resave")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.isEmpty()) << r.out.constData();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();

    const IniFile ini(dir.filePath(QStringLiteral("Programmes.Ini")));
    EXPECT_EQ(Key(ini, "Etat1"), QStringLiteral("0"));
    EXPECT_EQ(Key(ini, "DateDebut2"), QStringLiteral("05/03/2024"));
    EXPECT_EQ(Key(ini, "DateFin2"), QStringLiteral("06/03/2024"));
    EXPECT_EQ(Key(ini, "Etat3"), QStringLiteral("2"));
    EXPECT_EQ(Key(ini, "Actif2"), QStringLiteral("1"));
    EXPECT_EQ(Key(ini, "Programme9"), QStringLiteral("Ancien"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Config"), QStringLiteral("InitialDirSauvegardeImage")),
              QStringLiteral("/home/me/Images"));
}

TEST(ResaveCommand, SaveFailureIsOneLineOnStandardErrorAndStatusOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Programmes.Ini")));
    const CliRun r = RunCli({QStringLiteral("--home"), dir.path(), QStringLiteral("resave")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.endsWith('\n'));
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.constData();
    EXPECT_TRUE(r.err.contains("Programmes.Ini")) << r.err.constData();
}

TEST(ResaveCommand, UnusableProgramFolderIsRefusedWithStatusTwo)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("absent"));
    const QString plainFile = dir.filePath(QStringLiteral("file"));
    WriteFile(plainFile, "x");
    for (const QString& home : {missing, plainFile}) {
        const CliRun r = RunCli({QStringLiteral("--home"), home, QStringLiteral("resave")});
        EXPECT_EQ(r.status, 2) << home.toStdString();
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_FALSE(QFile::exists(home + QStringLiteral("/Programmes.Ini")));
    }
    EXPECT_FALSE(QFile::exists(missing));
}

TEST(ResaveCommand, UnreadableProgramFolderIsRefusedWithStatusTwo)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser reads every folder";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString locked = dir.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkdir(locked));
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    const CliRun r = RunCli({QStringLiteral("--home"), locked, QStringLiteral("resave")});
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(r.err.isEmpty());
}
