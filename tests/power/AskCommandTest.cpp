#include "common/IniFile.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef QUORX_CLI_PATH

namespace {

struct CliRun
{
    int status = -1;
    QString out;
    QString err;
};

class AskCommandTest : public ::testing::Test
{
protected:
    CliRun Ask(const QStringList& args)
    {
        QProcess p;
        p.start(QStringLiteral(QUORX_CLI_PATH),
                QStringList{QStringLiteral("--home"), m_dir.path(), QStringLiteral("--now"),
                            QStringLiteral("2026-03-02 12:00:00"), QStringLiteral("ask")} +
                    args);
        EXPECT_TRUE(p.waitForFinished(20000));
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    QString ConfigPath() const { return QDir(m_dir.path()).filePath(QStringLiteral("Config.Ini")); }
    void Write(const QByteArray& content)
    {
        QFile f(ConfigPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QTemporaryDir m_dir;
};

TEST_F(AskCommandTest, AsksWithTheStoredAnswersAndWritesWhatTheQuestionWrites)
{
    Write("[Config]\nNomInstance=Salon\n[Dialog]\n114=0\n");
    CliRun r = Ask({QStringLiteral("114")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("shown no\n")); // the stored no is the default the countdown presses

    const quorx::IniFile ini(ConfigPath());
    EXPECT_EQ(ini.ReadString(QStringLiteral("Dialog"), QStringLiteral("114")), QStringLiteral("0"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Dialog"), QStringLiteral("AskAgain114")), QStringLiteral("1"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Config"), QStringLiteral("NomInstance")),
              QStringLiteral("Salon"));

    r = Ask({QStringLiteral("240")});
    EXPECT_EQ(r.out, QStringLiteral("shown no\n"));
    r = Ask({QStringLiteral("200"), QStringLiteral("1")});
    EXPECT_EQ(r.out, QStringLiteral("shown yes\n"));
    r = Ask({QStringLiteral("205")});
    EXPECT_EQ(r.out, QStringLiteral("shown\n"));
}

TEST_F(AskCommandTest, SilencedQuestionsAnswerWithoutBeingShown)
{
    Write("[Dialog]\n4=1\nAskAgain4=0\n151=1\nAskAgain151=0\nAskAgain149=0\n");
    EXPECT_EQ(Ask({QStringLiteral("4")}).out, QStringLiteral("yes\n"));
    EXPECT_EQ(Ask({QStringLiteral("151")}).out, QStringLiteral("no\n")); // its fallback
    EXPECT_EQ(Ask({QStringLiteral("149")}).out, QStringLiteral("not shown\n"));
}

TEST_F(AskCommandTest, UnknownNumbersAndBadArgumentsAreRefused)
{
    const QStringList bad[] = {{QStringLiteral("6")},
                               {QStringLiteral("999")},
                               {QStringLiteral("abc")},
                               {},
                               {QStringLiteral("200"), QStringLiteral("3")},
                               {QStringLiteral("4"), QStringLiteral("2")}};
    for (const QStringList& args : bad) {
        const CliRun r = Ask(args);
        EXPECT_EQ(r.status, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(r.err.isEmpty());
    }
    EXPECT_TRUE(Ask({QStringLiteral("999")}).err.contains(QStringLiteral("no question has the number 999")));
    EXPECT_FALSE(QFile::exists(ConfigPath()));
}

} // namespace

#endif
