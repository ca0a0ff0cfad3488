#include "CliFolderTest.h"

#include "i18n/LocalisedStrings.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Monday 4 March 2024 at noon, no margins; one recording of Arte from 12:02 to 12:10.
const QByteArray kConfig = "[Config]\r\nDelaiDeb=00:00:00\r\nDelaiFin=00:00:00\r\n";
QByteArray Programmes(const QString& file)
{
    return "[Programmes]\r\nNbProgrammes=1\r\n"
           "Programme1=Midi\r\nChaine1=Arte\r\nRepetition1=\r\nDateDebut1=04/03/2024\r\nDateFin1=04/03/"
           "2024\r\n"
           "HeureDebut1=12:02\r\nHeureFin1=12:10\r\nActif1=1\r\nEtat1=0\r\nFichier1=" +
           file.toUtf8() + "\r\n";
}

struct Line
{
    QString moment;
    QStringList fields;
};

struct CliRun
{
    int status = -1;
    QVector<Line> lines;
    QString err;

    QVector<Line> Of(const QString& kind) const
    {
        QVector<Line> found;
        for (const Line& line : lines)
            if (line.fields.value(0) == kind)
                found << line;
        return found;
    }
    QStringList JournalEvents() const
    {
        QStringList events;
        for (const Line& line : Of(QStringLiteral("journal")))
            events << line.fields.value(1);
        return events;
    }
};

class SimulateCommandTest : public quorx::test::CliFolderTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral("video"))));
        Write(QStringLiteral("Config.Ini"), kConfig);
        Write(QStringLiteral("Programmes.Ini"), Programmes(VideoFile()));
    }

    QString VideoFile() const { return home.filePath(QStringLiteral("video/Midi.Pva")); }

    CliRun Simulate(const QStringList& extra) const
    {
        const quorx::test::CliOutput output =
            RunCli(QStringLiteral("2024-03-04 12:00:00"), QStringList{QStringLiteral("simulate")} + extra, 60000);
        CliRun run;
        run.status = output.status;
        for (const QString& text : output.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            QStringList fields = text.split(QLatin1Char('\t'));
            const QString moment = fields.takeFirst();
            run.lines.append({moment, fields});
        }
        run.err = output.err;
        return run;
    }
};

TEST_F(SimulateCommandTest, ARecordingThroughAViewerThatRecordsIsStartedAndEnded)
{
    const CliRun run = Simulate({QStringLiteral("--until"), QStringLiteral("2024-03-04 12:20:00"),
                                 QStringLiteral("--viewer"), QStringLiteral("ok")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    ASSERT_FALSE(run.lines.isEmpty());

    // Every line starts with its moment, and the moments never go back.
    const QRegularExpression momentForm(QStringLiteral("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}$"));
    for (int i = 0; i < run.lines.size(); ++i) {
        EXPECT_TRUE(momentForm.match(run.lines[i].moment).hasMatch()) << run.lines[i].moment.toStdString();
        if (i > 0) {
            EXPECT_LE(run.lines[i - 1].moment, run.lines[i].moment);
        }
    }

    const QVector<Line> viewer = run.Of(QStringLiteral("viewer"));
    ASSERT_FALSE(viewer.isEmpty());
    EXPECT_TRUE(viewer.first().fields.value(1).contains(QStringLiteral("Arte")))
        << viewer.first().fields.value(1).toStdString();

    const QVector<Line> journal = run.Of(QStringLiteral("journal"));
    ASSERT_GE(journal.size(), 2);
    const Line& started = journal[0];
    EXPECT_EQ(started.fields.value(1), quorx::Ls(50));
    EXPECT_TRUE(started.fields.value(2).startsWith(QStringLiteral("Midi")))
        << started.fields.value(2).toStdString();
    // The file is named by the engine after the recording, in the folder the record gives.
    const QString file = started.fields.value(4);
    EXPECT_TRUE(file.startsWith(home.filePath(QStringLiteral("video/Midi")))) << file.toStdString();
    EXPECT_TRUE(viewer.first().fields.value(1).contains(file));
    EXPECT_GE(started.moment, QStringLiteral("2024-03-04 12:01:50"));
    EXPECT_LE(started.moment, QStringLiteral("2024-03-04 12:02:10"));
    EXPECT_LE(viewer.first().moment, started.moment);

    const Line& ended = journal[1];
    EXPECT_EQ(ended.fields.value(1), quorx::Ls(51));
    EXPECT_EQ(ended.fields.value(4), file);
    // Eight minutes at 1 MiB/s, within a few seconds of lead and lag.
    EXPECT_NEAR(ended.fields.value(3).toInt(), 480, 15) << ended.fields.value(3).toStdString();
    EXPECT_GE(ended.moment, QStringLiteral("2024-03-04 12:09:55"));
    EXPECT_LE(ended.moment, QStringLiteral("2024-03-04 12:10:30"));
    EXPECT_FALSE(run.JournalEvents().contains(quorx::Ls(29)));

    // The program's files were written as at the program's end.
    const QByteArray log = Read(QStringLiteral("Journal.Log"));
    EXPECT_TRUE(log.contains("EventsNb")) << log.constData();
    EXPECT_TRUE(Read(QStringLiteral("Programmes.Ini")).contains("NbProgrammes"));
    EXPECT_FALSE(Read(QStringLiteral("Config.Ini")).isEmpty());
}

TEST_F(SimulateCommandTest, AViewerThatNeverRecordsIsRestartedTwiceThenTheRecordingFails)
{
    const CliRun run = Simulate({QStringLiteral("--until"), QStringLiteral("2024-03-04 12:20:00"),
                                 QStringLiteral("--viewer"), QStringLiteral("silent")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList events = run.JournalEvents();
    ASSERT_FALSE(events.isEmpty());
    EXPECT_EQ(events.first(), quorx::Ls(50));
    EXPECT_EQ(events.count(quorx::Ls(121)), 2) << events.join(QLatin1Char('|')).toStdString();
    ASSERT_TRUE(events.contains(quorx::Ls(29))) << events.join(QLatin1Char('|')).toStdString();
    EXPECT_GT(events.indexOf(quorx::Ls(29)), events.lastIndexOf(quorx::Ls(121)));
    EXPECT_FALSE(events.contains(quorx::Ls(51)));
    // Each restart records again: three starts of recording in the viewer.
    int recordStarts = 0;
    for (const Line& line : run.Of(QStringLiteral("viewer")))
        if (line.fields.value(1).contains(QStringLiteral("/StartRecord:"), Qt::CaseInsensitive))
            ++recordStarts;
    EXPECT_EQ(recordStarts, 3);
}

TEST_F(SimulateCommandTest, AShutDownAfterTheCommandWakesTheComputerForTheNextRecording)
{
    // The evening recording closes the viewer, runs a command line, then shuts the computer down;
    // the night one is recorded after the wake timer started the computer and the program again.
    Write(QStringLiteral("Programmes.Ini"),
          "[Programmes]\r\nNbProgrammes=2\r\n"
          "Programme1=Soir\r\nChaine1=M6\r\nDateDebut1=04/03/2024\r\nDateFin1=04/03/2024\r\n"
          "HeureDebut1=12:05\r\nHeureFin1=12:20\r\nActif1=1\r\nEteindre1=1\r\nFermer1=1\r\n"
          "Commande1=echo [file]\r\nFichier1=" +
              home.filePath(QStringLiteral("video/Soir.Pva")).toUtf8() +
              "\r\n"
              "Programme2=Nuit\r\nChaine2=Arte\r\nDateDebut2=04/03/2024\r\nDateFin2=04/03/2024\r\n"
              "HeureDebut2=15:00\r\nHeureFin2=15:10\r\nActif2=1\r\nFermer2=1\r\nFichier2=" +
              home.filePath(QStringLiteral("video/Nuit.Pva")).toUtf8() + "\r\n");
    const CliRun run = Simulate({QStringLiteral("--until"), QStringLiteral("2024-03-04 16:00:00")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();

    const QVector<Line> commands = run.Of(QStringLiteral("command"));
    ASSERT_EQ(commands.size(), 1);
    EXPECT_TRUE(commands[0].fields.value(1).startsWith(QStringLiteral("echo '") +
                                                       home.filePath(QStringLiteral("video/Soir"))))
        << commands[0].fields.value(1).toStdString();
    const QVector<Line> power = run.Of(QStringLiteral("power"));
    ASSERT_EQ(power.size(), 1);
    EXPECT_EQ(power[0].fields.value(1), QStringLiteral("shutdown"));
    // Not before the command line has ended.
    EXPECT_GT(power[0].moment, commands[0].moment);

    // The last wake set before the shutdown is three minutes before the night recording.
    QString lastWake;
    for (const Line& line : run.Of(QStringLiteral("wake")))
        if (line.moment <= power[0].moment && line.fields.value(1) != QStringLiteral("cancel"))
            lastWake = line.fields.value(1);
    EXPECT_EQ(lastWake, QStringLiteral("2024-03-04 14:57:00"));

    QStringList afterWake;
    for (const Line& line : run.Of(QStringLiteral("journal")))
        if (line.moment > power[0].moment)
            afterWake << line.fields.value(1) + QLatin1Char('/') + line.fields.value(2);
    ASSERT_GE(afterWake.size(), 2) << afterWake.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(afterWake[0], quorx::Ls(50) + QStringLiteral("/Nuit - Arte"));
    EXPECT_EQ(afterWake[1], quorx::Ls(51) + QStringLiteral("/Nuit - Arte"));
    // Nothing happens while the computer is off.
    for (const Line& line : run.lines)
        EXPECT_FALSE(line.moment > power[0].moment && line.moment < QStringLiteral("2024-03-04 14:57:00"))
            << line.moment.toStdString() << ' ' << line.fields.join(QLatin1Char(' ')).toStdString();
}

TEST_F(SimulateCommandTest, BadArgumentsAreRefusedWithoutTouchingTheFolder)
{
    const QByteArray before = Read(QStringLiteral("Programmes.Ini"));
    for (const QStringList& args :
         {QStringList{QStringLiteral("--until"), QStringLiteral("2024-03-04 12:20:00"),
                      QStringLiteral("--viewer"), QStringLiteral("loud")},
          QStringList{QStringLiteral("--until"), QStringLiteral("2024-03-04 11:00:00")},
          QStringList{QStringLiteral("--viewer"), QStringLiteral("ok")},
          QStringList{QStringLiteral("--until"), QStringLiteral("2024-03-04 12:20:00"),
                      QStringLiteral("--rate"), QStringLiteral("fast")}}) {
        const CliRun run = Simulate(args);
        EXPECT_EQ(run.status, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.lines.isEmpty());
        EXPECT_FALSE(run.err.isEmpty());
    }
    EXPECT_EQ(Read(QStringLiteral("Programmes.Ini")), before);
    EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral("Journal.Log"))));
}

} // namespace
