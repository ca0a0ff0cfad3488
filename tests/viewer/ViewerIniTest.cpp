#include "viewer/ViewerIni.h"

#include "common/IniFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace quorx {
namespace {

class ViewerIniTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_viewer = m_dir.path() + QStringLiteral("/viewer");
        m_fallback = m_dir.path() + QStringLiteral("/fallback/");
        QDir().mkpath(m_viewer);
    }

    void WriteIni(const QByteArray& text)
    {
        QFile f(m_viewer + QStringLiteral("/zomvara.ini")); // the viewer's own spelling may differ
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    IniFile Read() const { return IniFile(ViewerIni::PathIn(m_viewer)); }

    QTemporaryDir m_dir;
    QString m_viewer;
    QString m_fallback;
};

TEST_F(ViewerIniTest, PreparingSwitchesOffLastChannelAndSplashAndKeepsTheRest)
{
    const QString records = m_dir.path() + QStringLiteral("/records/");
    QDir().mkpath(records);
    WriteIni("[Options]\nSetLastChannel=1\nShowSplash=-1\nLanguage=fr\n[AVManager]\nRecordDir=" +
             records.toUtf8() + "\nRecType=2\n[Tuner]\nCard=3\n");
    ASSERT_TRUE(ViewerIni::PrepareForScheduler(m_viewer, m_fallback));

    const IniFile ini = Read();
    EXPECT_EQ(ini.ReadString(QStringLiteral("Options"), QStringLiteral("SetLastChannel")),
              QStringLiteral("0"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Options"), QStringLiteral("ShowSplash")), QStringLiteral("0"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Options"), QStringLiteral("Language")), QStringLiteral("fr"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("AVManager"), QStringLiteral("RecordDir")), records);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Tuner"), QStringLiteral("Card")), 3);
    EXPECT_EQ(ViewerIni::RecType(m_viewer), 2);
    EXPECT_EQ(QDir(m_viewer).entryList(QDir::Files), QStringList{QStringLiteral("zomvara.ini")});
}

TEST_F(ViewerIniTest, RecordingFolderIsCreatedOrReplaced)
{
    QFile blocker(m_dir.path() + QStringLiteral("/file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    struct Case
    {
        QString stored;
        QString expected;
        bool createdFolder;
    };
    const QString creatable = m_dir.path() + QStringLiteral("/new/records/");
    const Case cases[] = {
        {creatable, creatable, true},
        {m_dir.path() + QStringLiteral("/file/records/"), m_fallback, false}, // under a file: cannot exist
        {QStringLiteral("D:\\Enregistrements\\"), m_fallback, false},         // from a Windows installation
        {QString(), m_fallback, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.toStdString());
        WriteIni("[AVManager]\nRecordDir=" + c.stored.toUtf8() + "\n");
        ASSERT_TRUE(ViewerIni::PrepareForScheduler(m_viewer, m_fallback));
        EXPECT_EQ(ViewerIni::RecordDir(m_viewer, QStringLiteral("?")), c.expected);
        if (c.createdFolder) {
            EXPECT_TRUE(QFileInfo(c.expected).isDir());
        }
    }
    // A relative folder must not appear under whatever the current folder is.
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath(QStringLiteral("D:\\Enregistrements\\"))));
}

TEST_F(ViewerIniTest, MissingFileIsWrittenMissingFolderIsNot)
{
    ASSERT_TRUE(ViewerIni::PrepareForScheduler(m_viewer, m_fallback));
    const IniFile ini = Read();
    ASSERT_TRUE(ini.Exists());
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("Options"), QStringLiteral("SetLastChannel"), true));
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("Options"), QStringLiteral("ShowSplash"), true));

    const QString absent = m_dir.path() + QStringLiteral("/absent");
    EXPECT_TRUE(ViewerIni::PrepareForScheduler(absent, m_fallback));
    EXPECT_FALSE(QFileInfo::exists(absent));
}

TEST_F(ViewerIniTest, AFileAlreadyPreparedIsNotRewritten)
{
    WriteIni("[Options]\nSetLastChannel=0\nShowSplash=0\n[AVManager]\nRecordDir=" + m_dir.path().toUtf8() +
             "\n");
    int saves = 0;
    IniFile::SetBeforeCommitHookForTests([&] { ++saves; });
    EXPECT_TRUE(ViewerIni::PrepareForScheduler(m_viewer, m_fallback));
    EXPECT_EQ(saves, 0);
    EXPECT_TRUE(ViewerIni::WriteRecType(m_viewer, 2));
    EXPECT_EQ(saves, 1);
    EXPECT_TRUE(ViewerIni::WriteRecType(m_viewer, 2));
    IniFile::SetBeforeCommitHookForTests({});
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(ViewerIni::RecType(m_viewer), 2);
}

TEST(ViewerRecType, ExtensionsAndCodes)
{
    EXPECT_EQ(ViewerIni::ExtensionOfRecType(1), QStringLiteral(".Pva"));
    EXPECT_EQ(ViewerIni::ExtensionOfRecType(2), QStringLiteral(".Mpa"));
    for (const int other : {0, 3, -1})
        EXPECT_EQ(ViewerIni::ExtensionOfRecType(other), QStringLiteral(".Mpg"));
    EXPECT_EQ(ViewerIni::RecTypeOfExtension(QStringLiteral(".PVA")), 1);
    EXPECT_EQ(ViewerIni::RecTypeOfExtension(QStringLiteral("mpa")), 2);
    EXPECT_EQ(ViewerIni::RecTypeOfExtension(QStringLiteral(".ts")), 0);
    EXPECT_EQ(ViewerIni::RecTypeOfExtension(QStringLiteral(".Mpg")), 0);
}

} // namespace
} // namespace quorx
