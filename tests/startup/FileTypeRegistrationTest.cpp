#include "startup/FileTypeRegistration.h"

#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <unistd.h>

namespace quorx {
namespace {

const QString kProgram = QStringLiteral("/opt/Vizezezoruvav Zomvara/quorx");

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QHash<QString, QString> DesktopKeys(const QString& path)
{
    QHash<QString, QString> keys;
    const QList<QByteArray> lines = ReadAll(path).split('\n');
    for (const QByteArray& line : lines) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            keys.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
    }
    return keys;
}

class FileTypeRegistrationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        m_dataHome = m_root.filePath(QStringLiteral("xdg data"));
        m_tools = m_root.filePath(QStringLiteral("tools"));
        QDir().mkpath(m_tools);
        for (const QString& name :
             {QStringLiteral("update-mime-database"), QStringLiteral("update-desktop-database")}) {
            QFile tool(m_tools + QLatin1Char('/') + name);
            ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
            tool.write("#!/bin/sh\n");
            tool.close();
            tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }

    std::unique_ptr<FileTypeRegistration> Registration(const QString& dataHome)
    {
        auto registration = std::make_unique<FileTypeRegistration>(m_fake.processes, dataHome);
        registration->SetToolFolders({m_tools});
        return registration;
    }

    QTemporaryDir m_root;
    QString m_dataHome;
    QString m_tools;
    FakePlatform m_fake;
};

TEST_F(FileTypeRegistrationTest, WritesTheTypeAndTheEntryThenRefreshesTheCaches)
{
    auto registration = Registration(m_dataHome);
    ASSERT_TRUE(registration->Register(kProgram, {QStringLiteral("--home"), QStringLiteral("/srv/my home")},
                                       QStringLiteral("/opt/Vizezezoruvav Zomvara/quorx.png")));

    EXPECT_EQ(registration->MimePackagePath(), m_dataHome + QStringLiteral("/mime/packages/quorx.xml"));
    const QByteArray mime = ReadAll(registration->MimePackagePath());
    EXPECT_TRUE(mime.contains("<mime-type type=\"application/x-quorx\">")) << mime.constData();
    EXPECT_TRUE(mime.contains("<comment>Vizezezoruvav Zomvara programs</comment>"));
    EXPECT_TRUE(mime.contains("<glob pattern=\"*.quorx\" case-sensitive=\"false\"/>"));

    EXPECT_EQ(registration->DesktopFilePath(), m_dataHome + QStringLiteral("/applications/quorx.desktop"));
    const QHash<QString, QString> keys = DesktopKeys(registration->DesktopFilePath());
    EXPECT_TRUE(ReadAll(registration->DesktopFilePath()).startsWith("[Desktop Entry]\n"));
    EXPECT_EQ(keys.value(QStringLiteral("Type")), QStringLiteral("Application"));
    EXPECT_EQ(keys.value(QStringLiteral("Name")), QStringLiteral("Vizezezoruvav Zomvara"));
    EXPECT_EQ(keys.value(QStringLiteral("Exec")),
              QStringLiteral("\"/opt/Vizezezoruvav Zomvara/quorx\" --home \"/srv/my home\" %f"));
    EXPECT_EQ(keys.value(QStringLiteral("MimeType")), QStringLiteral("application/x-quorx;"));
    EXPECT_EQ(keys.value(QStringLiteral("Icon")), QStringLiteral("/opt/Vizezezoruvav Zomvara/quorx.png"));

    const QVector<FakeLaunch> launches = m_fake.processes.Launches();
    ASSERT_EQ(launches.size(), 2);
    EXPECT_EQ(launches[0].program, m_tools + QStringLiteral("/update-mime-database"));
    EXPECT_EQ(launches[0].arguments, QStringList{m_dataHome + QStringLiteral("/mime")});
    EXPECT_EQ(launches[1].program, m_tools + QStringLiteral("/update-desktop-database"));
    EXPECT_EQ(launches[1].arguments, QStringList{m_dataHome + QStringLiteral("/applications")});
    for (const FakeLaunch& launch : launches)
        EXPECT_FALSE(launch.waitForExit) << qPrintable(launch.program);
}

TEST_F(FileTypeRegistrationTest, EachStartRewritesBothFiles)
{
    auto registration = Registration(m_dataHome);
    ASSERT_TRUE(registration->Register(QStringLiteral("/old/place/quorx"), {}, QString()));
    QFile::remove(registration->MimePackagePath());
    QFile edited(registration->DesktopFilePath());
    ASSERT_TRUE(edited.open(QIODevice::WriteOnly));
    edited.write("[Desktop Entry]\nExec=/old/place/quorx %f\nNoDisplay=true\n");
    edited.close();

    ASSERT_TRUE(registration->Register(QStringLiteral("/new/place/quorx"), {}, QString()));
    EXPECT_EQ(ReadAll(registration->MimePackagePath()), FileTypeRegistration::MimePackage());
    const QHash<QString, QString> keys = DesktopKeys(registration->DesktopFilePath());
    EXPECT_EQ(keys.value(QStringLiteral("Exec")), QStringLiteral("/new/place/quorx %f"));
    EXPECT_FALSE(keys.contains(QStringLiteral("NoDisplay")));
    EXPECT_FALSE(keys.contains(QStringLiteral("Icon")));
    // The atomic writes leave nothing beside the files.
    EXPECT_EQ(QDir(m_dataHome + QStringLiteral("/applications")).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("quorx.desktop")});
    EXPECT_EQ(QDir(m_dataHome + QStringLiteral("/mime/packages")).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("quorx.xml")});
}

TEST_F(FileTypeRegistrationTest, MissingToolsAreNotStarted)
{
    auto registration = Registration(m_dataHome);
    registration->SetToolFolders({m_root.filePath(QStringLiteral("empty"))});
    EXPECT_TRUE(registration->Register(kProgram, {}, QString()));
    EXPECT_TRUE(m_fake.processes.Launches().isEmpty());
}

// The package must be one the desktop's own tool accepts, with the glob matching in any case.
TEST_F(FileTypeRegistrationTest, TheMimeToolAcceptsThePackage)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    if (tool.isEmpty())
        GTEST_SKIP() << "update-mime-database is not installed";
    auto registration = Registration(m_dataHome);
    ASSERT_TRUE(registration->Register(kProgram, {}, QString()));

    QProcess update;
    update.start(tool, {m_dataHome + QStringLiteral("/mime")});
    ASSERT_TRUE(update.waitForFinished(30000));
    ASSERT_EQ(update.exitCode(), 0) << update.readAllStandardError().constData();
    const QList<QByteArray> globs = ReadAll(m_dataHome + QStringLiteral("/mime/globs2")).split('\n');
    QList<QByteArray> ours;
    for (const QByteArray& line : globs) {
        if (line.contains("application/x-quorx"))
            ours.append(line);
    }
    ASSERT_EQ(ours.size(), 1);
    EXPECT_TRUE(ours[0].endsWith(":application/x-quorx:*.quorx")) << ours[0].constData();
    const QByteArray type = ReadAll(m_dataHome + QStringLiteral("/mime/application/x-quorx.xml"));
    EXPECT_TRUE(type.contains("Vizezezoruvav Zomvara programs")) << type.constData();
}

TEST_F(FileTypeRegistrationTest, UnwritablePlacesAreSilentAndSpareTheRest)
{
    // A file where the entry's folder should be: the type is still declared.
    {
        QDir().mkpath(m_dataHome);
        QFile blocker(m_dataHome + QStringLiteral("/applications"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        auto registration = Registration(m_dataHome);
        EXPECT_FALSE(registration->Register(kProgram, {}, QString()));
        EXPECT_EQ(ReadAll(registration->MimePackagePath()), FileTypeRegistration::MimePackage());
        ASSERT_EQ(m_fake.processes.Launches().size(), 1);
        EXPECT_TRUE(m_fake.processes.Launches()[0].program.endsWith(QStringLiteral("/update-mime-database")));
    }
    // A data folder below a file: nothing can be written and nothing is started.
    {
        m_fake.processes.ClearRecords();
        const QString file = m_root.filePath(QStringLiteral("plain file"));
        QFile plain(file);
        ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
        plain.close();
        auto registration = Registration(file + QStringLiteral("/share"));
        EXPECT_FALSE(registration->Register(kProgram, {}, QString()));
        EXPECT_TRUE(m_fake.processes.Launches().isEmpty());
    }
}

TEST_F(FileTypeRegistrationTest, AReadOnlyDataFolderKeepsTheFilesOfTheLastStart)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    auto registration = Registration(m_dataHome);
    ASSERT_TRUE(registration->Register(QStringLiteral("/old/place/quorx"), {}, QString()));
    const QByteArray before = ReadAll(registration->DesktopFilePath());
    const QString applications = m_dataHome + QStringLiteral("/applications");
    const QString packages = m_dataHome + QStringLiteral("/mime/packages");
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner;
    ASSERT_TRUE(QFile::setPermissions(applications, readOnly));
    ASSERT_TRUE(QFile::setPermissions(packages, readOnly));
    m_fake.processes.ClearRecords();

    EXPECT_FALSE(registration->Register(QStringLiteral("/new/place/quorx"), {}, QString()));
    EXPECT_EQ(ReadAll(registration->DesktopFilePath()), before);
    EXPECT_TRUE(m_fake.processes.Launches().isEmpty());
    QFile::setPermissions(applications, readOnly | QFile::WriteOwner);
    QFile::setPermissions(packages, readOnly | QFile::WriteOwner);
}

TEST(FileTypeEntry, ExecArgumentsAreQuotedByTheDesktopRules)
{
    struct Case
    {
        QString argument;
        QString exec;
    };
    const Case cases[] = {
        {QStringLiteral("/usr/bin/quorx"), QStringLiteral("/usr/bin/quorx")},
        {QStringLiteral("/opt/a b/quorx"), QStringLiteral("\"/opt/a b/quorx\"")},
        {QStringLiteral("/opt/$HOME/quorx"), QStringLiteral("\"/opt/\\$HOME/quorx\"")},
        {QStringLiteral("/opt/say \"hi\"/quorx"), QStringLiteral("\"/opt/say \\\"hi\\\"/quorx\"")},
        {QStringLiteral("/opt/back\\slash"), QStringLiteral("\"/opt/back\\\\slash\"")},
        {QStringLiteral("/opt/`cmd`"), QStringLiteral("\"/opt/\\`cmd\\`\"")},
        {QStringLiteral("/opt/100%/quorx"), QStringLiteral("/opt/100%%/quorx")},
        {QStringLiteral("/opt/it's"), QStringLiteral("\"/opt/it's\"")},
        {QString(), QStringLiteral("\"\"")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileTypeRegistration::ExecArgument(c.argument), c.exec) << qPrintable(c.argument);

    // The entry file escapes backslashes once more, as its string values require.
    const QByteArray entry =
        FileTypeRegistration::DesktopEntry(QStringLiteral("/opt/back\\slash"), {}, QString());
    EXPECT_TRUE(entry.contains("\nExec=\"/opt/back\\\\\\\\slash\" %f\n")) << entry.constData();
}

TEST(FileTypeEntry, DataFolderFollowsXdgDataHome)
{
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    const QString fallback = QDir::homePath() + QStringLiteral("/.local/share");
    qputenv("XDG_DATA_HOME", "/srv/data/");
    EXPECT_EQ(FileTypeRegistration::DefaultDataHome(), QStringLiteral("/srv/data"));
    qputenv("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(FileTypeRegistration::DefaultDataHome(), fallback);
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(FileTypeRegistration::DefaultDataHome(), fallback);
    if (wasSet)
        qputenv("XDG_DATA_HOME", saved);
}

} // namespace
} // namespace quorx
