#include "CliFolderTest.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Monday 4 March 2024 at 19:00, margins of one minute before and two after, one-off recordings first
// at equal starts. "Old" ended yesterday; the daily one meets the one-off "Journal" at 19:59.
const QByteArray kConfig = "[Config]\r\nDelaiDeb=00:01:00\r\nDelaiFin=00:02:00\r\nRepPrioritaire=1\r\n";
const QByteArray kProgrammes =
    "[Programmes]\r\nNbProgrammes=4\r\n"
    "Programme1=Journal\r\nChaine1=Arte\r\nRepetition1=\r\nDateDebut1=04/03/2024\r\nDateFin1=04/03/2024\r\n"
    "HeureDebut1=20:00\r\nHeureFin1=20:30\r\nActif1=1\r\nEtat1=0\r\n"
    "Programme2=\r\nChaine2=M6\r\nRepetition2=LuMaMeJeVeSaDi\r\nDateDebut2=01/03/2024\r\nDateFin2=01/03/"
    "2024\r\n"
    "HeureDebut2=20:00\r\nHeureFin2=21:00\r\nActif2=1\r\nEtat2=0\r\n"
    "Programme3=Old\r\nChaine3=TF1\r\nRepetition3=\r\nDateDebut3=03/03/2024\r\nDateFin3=03/03/2024\r\n"
    "HeureDebut3=10:00\r\nHeureFin3=11:00\r\n"
    "Programme4=Film\tDeux\r\nChaine4=France 2\r\nDateDebut4=05/03/2024\r\nDateFin4=05/03/2024\r\n"
    "HeureDebut4=21:00\r\nHeureFin4=23:00\r\n";

const char* const kHeader = "n\ttitle\tnext_start\toccurrence_end\twindow_start\twindow_end\tcut_at_start\t"
                            "cut_at_end\tetat\tactif\tinactif_pro\teffective_start";

struct CliRun
{
    int status = -1;
    QStringList lines;
    QString err;
};

class AgendaCommandTest : public quorx::test::CliFolderTest
{
protected:
    void SetUp() override
    {
        Write(QStringLiteral("Config.Ini"), kConfig);
        Write(QStringLiteral("Programmes.Ini"), kProgrammes);
    }

    CliRun Agenda(const QStringList& extra) const
    {
        const quorx::test::CliOutput output =
            RunCli(QStringLiteral("2024-03-04 19:00:00"), QStringList{QStringLiteral("agenda")} + extra, 30000);
        CliRun run;
        run.status = output.status;
        run.lines = output.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        run.err = output.err;
        return run;
    }
};

TEST_F(AgendaCommandTest, ListsTheScheduleAsThePassLeavesIt)
{
    const CliRun run = Agenda({});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList expected{
        QString::fromLatin1(kHeader),
        QStringLiteral("1\tJournal - Arte\t2024-03-04 19:59:00\t2024-03-04 20:32:00\t2024-03-04 19:59:00\t"
                       "2024-03-04 20:32:00\t0\t0\t0\t1\t0\t2024-03-04 19:59:00"),
        QStringLiteral("2\tM6\t2024-03-04 19:59:00\t2024-03-04 21:02:00\t2024-03-04 20:32:00\t"
                       "2024-03-04 21:02:00\t33\t0\t0\t1\t0\t2024-03-04 19:59:00"),
        QStringLiteral(
            "3\tFilm Deux - France 2\t2024-03-05 20:59:00\t2024-03-05 23:02:00\t2024-03-05 20:59:00\t"
            "2024-03-05 23:02:00\t0\t0\t0\t1\t0\t2024-03-05 20:59:00"),
        QStringLiteral("next\t1"),
        QStringLiteral("wake\t1"),
    };
    EXPECT_EQ(run.lines, expected);
    EXPECT_EQ(Read(QStringLiteral("Programmes.Ini")), kProgrammes);
}

TEST_F(AgendaCommandTest, DeactivatesTheHeavilyTruncatedOccurrenceAndSavesWhenAsked)
{
    const CliRun run = Agenda({QStringLiteral("--deactivate-truncated"), QStringLiteral("--save")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    ASSERT_EQ(run.lines.size(), 6);
    EXPECT_EQ(run.lines[2],
              QStringLiteral("2\tM6\t2024-03-04 19:59:00\t2024-03-04 21:02:00\t-\t-\t0\t0\t0\t1\t1\t"
                             "2024-03-05 19:59:00"));
    EXPECT_EQ(run.lines[4], QStringLiteral("next\t1"));

    const QString saved = QString::fromUtf8(Read(QStringLiteral("Programmes.Ini")));
    EXPECT_TRUE(saved.contains(QStringLiteral("NbProgrammes=3\r\n")));
    EXPECT_TRUE(saved.contains(QStringLiteral("InactifPro2=1\r\n")));
    EXPECT_TRUE(saved.contains(QStringLiteral("DateStop2=04/03/2024\r\n")));

    // The next run starts from what was saved: the occurrence stays disabled.
    const CliRun again = Agenda({});
    ASSERT_EQ(again.lines.size(), 6);
    EXPECT_TRUE(again.lines[2].endsWith(QStringLiteral("\t1\t1\t2024-03-05 19:59:00")));
}

TEST_F(AgendaCommandTest, EmptyFolderListsNothing)
{
    QFile::remove(home.filePath(QStringLiteral("Programmes.Ini")));
    QFile::remove(home.filePath(QStringLiteral("Config.Ini")));
    const CliRun run = Agenda({});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.lines, QStringList({QString::fromLatin1(kHeader), QStringLiteral("next\t-1"),
                                      QStringLiteral("wake\t-1")}));
    EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral("Programmes.Ini"))));
}

TEST_F(AgendaCommandTest, BadArgumentsAndFailedSavesAreReported)
{
    const CliRun bad = Agenda({QStringLiteral("--sav")});
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(bad.lines.isEmpty());
    EXPECT_TRUE(bad.err.contains(QStringLiteral("--sav")));

    QFile::remove(home.filePath(QStringLiteral("Programmes.Ini")));
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("Programmes.Ini")));
    const CliRun failed = Agenda({QStringLiteral("--save")});
    EXPECT_EQ(failed.status, 1);
    EXPECT_TRUE(failed.err.contains(QStringLiteral("not saved")));
}

} // namespace
