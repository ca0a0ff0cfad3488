#include "startup/CommandLineArguments.h"
#include "startup/ProgramTitles.h"

#include "common/IniFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace quorx {
namespace {

const QString kProgram = QStringLiteral("/opt/Vizezezoruvav Zomvara/quorx");

TEST(HandOverSlot, ArgumentIsWhatFollowsTheQuotedProgramAndOneBlank)
{
    struct Case
    {
        QString line;
        QString argument;
    };
    const Case cases[] = {
        {QStringLiteral("\"/opt/Vizezezoruvav Zomvara/quorx\" /home/u/Semaine.Quorx"),
         QStringLiteral("/home/u/Semaine.Quorx")},
        // Blanks inside the argument belong to it; only the one after the quote separates.
        {QStringLiteral("\"/opt/Vizezezoruvav Zomvara/quorx\" /home/u/ma liste.quorx"),
         QStringLiteral("/home/u/ma liste.quorx")},
        {QStringLiteral("\"/opt/Vizezezoruvav Zomvara/quorx\"  /lead"), QStringLiteral(" /lead")},
        // A shell that quoted the file too.
        {QStringLiteral("\"/opt/Vizezezoruvav Zomvara/quorx\" \"/home/u/a b.Quorx\""),
         QStringLiteral("/home/u/a b.Quorx")},
        // Another build of the program sharing the folder: its own path, not ours, is skipped.
        {QStringLiteral("\"/usr/local/bin/quorx-5.01\" /srv/x.quorx"), QStringLiteral("/srv/x.quorx")},
        // The unquoted form of a registered open command.
        {QStringLiteral("/opt/Vizezezoruvav Zomvara/quorx /srv/x.quorx"), QStringLiteral("/srv/x.quorx")},
        {QStringLiteral("\"/opt/Vizezezoruvav Zomvara/quorx\""), QString()},
        {QStringLiteral("\"/opt/Vizezezoruvav Zomvara/quorx\" "), QString()},
        {QString(), QString()},
        {QStringLiteral("\"/opt/never closed /srv/x.quorx"), QString()},
        {QStringLiteral("/usr/bin/other /srv/x.quorx"), QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CommandLineArguments::ArgumentOfHandOverLine(c.line, kProgram), c.argument)
            << qPrintable(c.line);
}

// What a second start writes must come back unchanged through Config.Ini and the reader of the
// running instance, whatever the argument holds.
TEST(HandOverSlot, ArgumentsSurviveTheSlotRoundTrip)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString ini = dir.filePath(QStringLiteral("Config.Ini"));
    struct Case
    {
        QString argument;
        QString expected;
    };
    const Case cases[] = {
        {QStringLiteral("/srv/x.Quorx"), QStringLiteral("/srv/x.Quorx")},
        {QStringLiteral("/srv/deux mots.quorx"), QStringLiteral("/srv/deux mots.quorx")},
        {QStringLiteral("/srv/quoted\".quorx\""), QStringLiteral("/srv/quoted\".quorx\"")},
        {QStringLiteral("/srv/blank at end.quorx "), QStringLiteral("/srv/blank at end.quorx ")},
        {QStringLiteral("/srv/accentué é.quorx"), QStringLiteral("/srv/accentué é.quorx")},
        {QStringLiteral("lists/../week.quorx"), QStringLiteral("/home/u/week.quorx")},
        {QString(), QString()},
    };
    for (const Case& c : cases) {
        IniFile write(ini);
        write.WriteString(
            QStringLiteral("CommandLine"), QStringLiteral("Commands"),
            CommandLineArguments::HandOverLine(kProgram, c.argument, QStringLiteral("/home/u")));
        ASSERT_TRUE(write.Save());
        const QString line =
            IniFile(ini).ReadString(QStringLiteral("CommandLine"), QStringLiteral("Commands"));
        EXPECT_EQ(CommandLineArguments::ArgumentOfHandOverLine(line, QStringLiteral("/elsewhere/quorx")),
                  c.expected)
            << qPrintable(line);
    }
}

TEST(HandOverSlot, ListFilesAreKnownByTheirExtensionInAnyCase)
{
    struct Case
    {
        const char* argument;
        bool listFile;
    };
    const Case cases[] = {
        {"/srv/a.Quorx", true},  {"/srv/a.QUORX", true},       {"a.quorx", true},
        {"/srv/.quorx", true},   {"/srv/a.quorx.bak", false},  {"/srv/a.quorxc", false},
        {"/srv/a_quorx", false}, {"/srv/x.quorx/list", false}, {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CommandLineArguments::IsListFile(QString::fromUtf8(c.argument)), c.listFile) << c.argument;
}

TEST(FirstStart, OnlyAnExistingFileIsTakenFromTheArguments)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString list = dir.filePath(QStringLiteral("ma liste.Quorx"));
    QFile file(list);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    EXPECT_EQ(CommandLineArguments::FirstStartListFile({list}), list);
    EXPECT_EQ(CommandLineArguments::FirstStartListFile({list, QStringLiteral("/srv/other.quorx")}), list);
    EXPECT_EQ(CommandLineArguments::FirstStartListFile({dir.filePath(QStringLiteral("missing.quorx"))}),
              QString());
    EXPECT_EQ(CommandLineArguments::FirstStartListFile({dir.path()}), QString());
    EXPECT_EQ(CommandLineArguments::FirstStartListFile({}), QString());
    EXPECT_EQ(CommandLineArguments::FirstStartListFile({QString()}), QString());

    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    EXPECT_EQ(CommandLineArguments::FirstStartListFile({QStringLiteral("ma liste.Quorx")}), list);
    QDir::setCurrent(saved);
}

TEST(MainCaption, InstanceNameFollowsTheVersion)
{
    EXPECT_EQ(ProgramTitles::MainCaption(QString()), QStringLiteral("Vizezezoruvav Zomvara 5.01.000 R010"));
    EXPECT_EQ(ProgramTitles::MainCaption(QStringLiteral("Salon")),
              QStringLiteral("Vizezezoruvav Zomvara 5.01.000 R010  |  Salon"));
    EXPECT_TRUE(
        ProgramTitles::MainCaption(QStringLiteral("x")).startsWith(QStringLiteral("Vizezezoruvav Zomvara ")));
}

} // namespace
} // namespace quorx
