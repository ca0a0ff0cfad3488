#include "engine/AfterRecording.h"
#include "EngineTestSupport.h"
#include "common/JournalSink.h"
#include "engine/CommandRunner.h"
#include "engine/JournalWriter.h"
#include "engine/ScheduleEngine.h"
#include "platform/fake/FakePlatform.h"
#include "platform/linux/LinuxProcesses.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quorx::test {
namespace {

// The power manager as the after-recording actions see it: answers as scripted, records the rest.
class RecordingPowerControl final : public PowerControl
{
public:
    void PressVetoAutomatically(bool) override {}
    bool AutoForbidSuspend() const override { return true; }
    void SetWakeTimer(DateTime) override {}
    void CancelWakeTimer() override {}
    void FollowNextWake(DateTime) override {}
    void RefreshSuspendVeto() override {}
    void ResumeWaitOver() override {}
    void SetPendingAction(PowerAction action) override { pending = action; }
    void DropPendingAction() override { pending = PowerAction::None; }
    PowerAction PendingAction() const override { return pending; }
    bool SuspendPermitted() override { return permittedAfterRecording; }
    bool SuspendPermittedAfterRecording() override { return permittedAfterRecording; }
    bool IdleTest() override { return idle; }
    bool InstancesAgree() override
    {
        ++agreementQueries;
        return agree;
    }
    bool HibernateAllowed() override { return hibernateAllowed; }
    bool StandbyAllowed() override { return true; }
    void ShutDown() override { acts.append(PowerAction::ShutDown); }
    bool Standby() override
    {
        acts.append(PowerAction::Standby);
        return true;
    }
    bool Hibernate() override
    {
        acts.append(PowerAction::Hibernate);
        return true;
    }

    bool permittedAfterRecording = true;
    bool idle = true;
    bool agree = true;
    bool hibernateAllowed = true;
    int agreementQueries = 0;
    PowerAction pending = PowerAction::None;
    QVector<PowerAction> acts;
};

struct JournalLine
{
    QString event, program, comment, file;
};

class MemoryJournal final : public JournalSink
{
public:
    void WriteJournalEvent(const QString& event, const QString& program, const QString& comment,
                           const QString& file) override
    {
        lines.append({event, program, comment, file});
    }
    QVector<JournalLine> lines;
};

// A shell that never starts anything, as when /bin/sh cannot be run.
class UnstartableShell final : public Processes
{
public:
    LaunchResult Launch(const QString&, const QStringList&, const QString&, ShowState, bool) override
    {
        return {};
    }
    LaunchResult RunShellCommand(const QString&, const QString&) override
    {
        LaunchResult result;
        result.error = QStringLiteral("no shell");
        return result;
    }
    QVector<qint64> FindByExecutable(const QString&) const override { return {}; }
    bool IsAlive(qint64) const override { return false; }
    void Terminate(qint64) override {}
    void Kill(qint64) override {}
    void SetIdlePriority(bool) override {}
};

const char* Name(PowerAction action)
{
    switch (action) {
    case PowerAction::None:
        return "none";
    case PowerAction::ShutDown:
        return "shutdown";
    case PowerAction::Standby:
        return "standby";
    case PowerAction::Hibernate:
        return "hibernate";
    }
    return "?";
}

class AfterRecordingTest : public ::testing::Test
{
protected:
    AfterRecordingTest()
        : fake(March(4, 21, 0)), view(fake.View()), engine(table, settings, view),
          runner(fake.timers, fake.processes), after(settings, power, engine, runner, journal)
    {
    }

    // The recording that just ended, with the given flags.
    static TEmission Ended(bool eteindre, bool veille, bool veillePro, const QString& command = QString())
    {
        TEmission e = OneOff(QStringLiteral("Arte"), March(4), Hm(20, 0), Hm(21, 0));
        e.Eteindre = eteindre;
        e.Veille = veille;
        e.VeillePro = veillePro;
        e.Commande = command;
        return e;
    }
    void PlanAnotherRecording()
    {
        table.Append(OneOff(QStringLiteral("TF1"), March(6), Hm(20, 0), Hm(21, 0)));
    }

    FakePlatform fake;
    Platform view;
    ScheduleTable table;
    Settings settings;
    ScheduleEngine engine;
    RecordingPowerControl power;
    MemoryJournal journal;
    VirtualCommandRunner runner;
    AfterRecording after;
};

// Shut down comes first when the action has to wait, standby first when it is carried out at once;
// only a record with several flags shows the difference.
TEST_F(AfterRecordingTest, DeferredAndImmediateOrdersDifferForSeveralFlags)
{
    struct Case
    {
        bool eteindre, veille, veillePro;
        PowerAction deferred, immediate;
    };
    const Case cases[] = {
        {true, true, true, PowerAction::ShutDown, PowerAction::Standby},
        {true, false, true, PowerAction::ShutDown, PowerAction::Hibernate},
        {false, true, true, PowerAction::Standby, PowerAction::Standby},
        {true, false, false, PowerAction::ShutDown, PowerAction::ShutDown},
        {false, false, true, PowerAction::Hibernate, PowerAction::Hibernate},
        {false, false, false, PowerAction::None, PowerAction::None},
    };
    PlanAnotherRecording();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.eteindre << c.veille << c.veillePro);
        // Deferred: something keeps the computer busy, so the pending action is set and nothing runs.
        power.idle = false;
        power.pending = PowerAction::None;
        power.acts.clear();
        after.Run(Ended(c.eteindre, c.veille, c.veillePro), QStringLiteral("/video/a.ts"), true);
        EXPECT_STREQ(Name(power.pending), Name(c.deferred));
        EXPECT_TRUE(power.acts.isEmpty());

        // Immediate: nothing else going on.
        power.idle = true;
        power.pending = PowerAction::None;
        after.Run(Ended(c.eteindre, c.veille, c.veillePro), QStringLiteral("/video/a.ts"), true);
        EXPECT_EQ(power.pending, PowerAction::None);
        if (c.immediate == PowerAction::None)
            EXPECT_TRUE(power.acts.isEmpty());
        else
            EXPECT_EQ(power.acts, QVector<PowerAction>{c.immediate});
    }
}

TEST_F(AfterRecordingTest, LastRecordingWithOffQuandDernierHibernatesWhateverVeilleSays)
{
    settings.OffQuandDernier = true;
    after.Run(Ended(false, true, false), QStringLiteral("/video/a.ts"), true);
    EXPECT_EQ(power.acts, QVector<PowerAction>{PowerAction::Hibernate});

    // Deferred by a command line, the same choice.
    power.acts.clear();
    after.Run(Ended(false, true, false, QStringLiteral("true")), QStringLiteral("/video/a.ts"), true);
    EXPECT_EQ(power.pending, PowerAction::Hibernate);
    EXPECT_TRUE(power.acts.isEmpty());

    // Without hibernation, or with Eteindre, the computer is shut down.
    power.pending = PowerAction::None;
    power.hibernateAllowed = false;
    after.Run(Ended(false, true, false), QStringLiteral("/video/a.ts"), true);
    EXPECT_EQ(power.acts.back(), PowerAction::ShutDown);
    power.hibernateAllowed = true;
    after.Run(Ended(true, false, false), QStringLiteral("/video/a.ts"), true);
    EXPECT_EQ(power.acts.back(), PowerAction::ShutDown);

    // Another recording still planned: the record's own flags decide.
    PlanAnotherRecording();
    after.Run(Ended(false, true, false), QStringLiteral("/video/a.ts"), true);
    EXPECT_EQ(power.acts.back(), PowerAction::Standby);
}

TEST_F(AfterRecordingTest, EteindreWithNothingPlannedShutsDownAtOnceOrAfterTheCommand)
{
    after.Run(Ended(true, false, false), QStringLiteral("/video/a.ts"), true);
    EXPECT_EQ(power.acts, QVector<PowerAction>{PowerAction::ShutDown});
    EXPECT_EQ(power.pending, PowerAction::None);

    power.acts.clear();
    runner.SetDuration(90000);
    after.Run(Ended(true, false, false, QStringLiteral("  nice -n 19 cp [file] /backup  ")),
              QStringLiteral("/video/a.ts"), true);
    // The shutdown waits for the command: the power code retries while the counter is above zero.
    EXPECT_TRUE(power.acts.isEmpty());
    EXPECT_EQ(power.pending, PowerAction::ShutDown);
    EXPECT_EQ(after.RunningCommands(), 1);
    fake.timers.RunFor(89000);
    EXPECT_EQ(after.RunningCommands(), 1);
    fake.timers.RunFor(2000);
    EXPECT_EQ(after.RunningCommands(), 0);
}

TEST_F(AfterRecordingTest, NothingHappensWhenThePowerCodeForbidsOrAnInstanceRefuses)
{
    power.permittedAfterRecording = false;
    after.Run(Ended(true, false, false, QStringLiteral("echo [file]")), QStringLiteral("/video/a.ts"), true);
    EXPECT_TRUE(power.acts.isEmpty());
    EXPECT_EQ(power.pending, PowerAction::None);
    EXPECT_TRUE(runner.StartedCommands().isEmpty());
    EXPECT_TRUE(journal.lines.isEmpty());

    power.permittedAfterRecording = true;
    power.agree = false;
    after.Run(Ended(false, true, false), QStringLiteral("/video/a.ts"), true);
    EXPECT_TRUE(power.acts.isEmpty());
    EXPECT_EQ(power.agreementQueries, 1);
}

TEST_F(AfterRecordingTest, CommandLineIsJournalledAndRunInTheRecordingsFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("Film.ts"));
    after.Run(Ended(false, false, false, QStringLiteral("convert [FILE] --to mp4 [file]")), file, true);

    ASSERT_EQ(runner.StartedCommands().size(), 1);
    const QString expected = QStringLiteral("convert '") + file + QStringLiteral("' --to mp4 [file]");
    EXPECT_EQ(runner.StartedCommands()[0].commandLine, expected);
    EXPECT_EQ(runner.StartedCommands()[0].workingFolder, dir.path());
    ASSERT_EQ(fake.processes.ShellCommands().size(), 1);
    EXPECT_EQ(fake.processes.ShellCommands()[0].commandLine, expected);

    ASSERT_EQ(journal.lines.size(), 1);
    EXPECT_EQ(journal.lines[0].event, QStringLiteral("Exécution d'une ligne de commande"));
    EXPECT_EQ(journal.lines[0].program, QStringLiteral("Arte news - Arte"));
    EXPECT_EQ(journal.lines[0].comment, expected);
    EXPECT_TRUE(journal.lines[0].file.isEmpty());
    // No power flag: nothing pending.
    EXPECT_EQ(power.pending, PowerAction::None);

    // A folder that is gone: the command still runs, in no particular folder.
    EXPECT_TRUE(AfterRecording::WorkingFolderFor(QStringLiteral("/no/such/folder/x.ts")).isEmpty());
}

// The path comes from a guide title: whatever it holds, the shell must see it as one word.
TEST(AfterRecordingShellTest, HostilePathStaysOneArgumentThroughTheRealShell)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("args"));
    const QString hostile =
        dir.filePath(QStringLiteral("Tom's \"Big\" Show; touch pwned $(id) `id` & | x.ts"));
    const QString line = AfterRecording::BuildCommandLine(
        QStringLiteral("printf '%s\\n' [file] > ") + AfterRecording::ShellQuote(out), hostile);

    LinuxProcesses processes;
    ThreadCommandRunner runner(processes);
    runner.Start(line, dir.path(), QStringLiteral("Show"));
    ASSERT_TRUE(runner.WaitForAll(10000));
    EXPECT_EQ(runner.Running(), 0);

    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), hostile + QLatin1Char('\n'));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("pwned"))));
}

TEST(AfterRecordingShellTest, CommandThatCannotStartLowersTheCounterAndLeavesAJournalTrace)
{
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    FakePlatform fake(March(4, 21, 0));
    Platform view = fake.View();
    ScheduleTable table;
    Settings settings;
    ScheduleEngine engine(table, settings, view);
    RecordingPowerControl power;
    MemoryJournal journal;
    UnstartableShell shell;
    ThreadCommandRunner runner(shell);
    AfterRecording after(settings, power, engine, runner, journal);

    TEmission e = OneOff(QStringLiteral("Arte"), March(4), Hm(20, 0), Hm(21, 0));
    e.Commande = QStringLiteral("archive [file]");
    after.Run(e, QStringLiteral("/video/a.ts"), true);
    ASSERT_TRUE(runner.WaitForAll(10000));
    EXPECT_EQ(after.RunningCommands(), 0);

    // The failure is handed back to the main thread's event loop and journalled there.
    QCoreApplication::processEvents();
    ASSERT_EQ(journal.lines.size(), 2);
    EXPECT_EQ(journal.lines[0].event, QStringLiteral("Exécution d'une ligne de commande"));
    EXPECT_EQ(journal.lines[1].event, QStringLiteral("Echec"));
    EXPECT_EQ(journal.lines[1].program, QStringLiteral("Arte news - Arte"));
    EXPECT_EQ(journal.lines[1].comment, QStringLiteral("archive '/video/a.ts' (no shell)"));

    // The virtual runner behaves the same way.
    VirtualCommandRunner virtualRunner(fake.timers, shell);
    int failures = 0;
    virtualRunner.SetFailureHandler([&failures](const CommandFailure&) { ++failures; });
    virtualRunner.Start(QStringLiteral("x"), QString(), QString());
    EXPECT_EQ(virtualRunner.Running(), 0);
    EXPECT_EQ(failures, 1);
}

} // namespace
} // namespace quorx::test
