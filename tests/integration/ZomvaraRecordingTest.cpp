#include "ZomvaraFixture.h"

#include "i18n/LocalisedStrings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace quorx::test {
namespace {

using ZomvaraRecording = ZomvaraTest;

TEST_F(ZomvaraRecording, ASecondStartMakesTheRunningViewerRecord)
{
    StartViewer(*m_control);
    const QString file = Path(QStringLiteral("records/first.Pva"));
    // Switch names in any letter case, values with or without their quotes.
    ASSERT_TRUE(m_control
                    ->LaunchViewer({QStringLiteral("/ch:\"Arte\""), QStringLiteral("/STARTRECORD:") + file},
                                   ShowState::Minimised)
                    .started);
    EXPECT_TRUE(Grows(file));
    // The second start handed its switches over and ended; one viewer is left.
    EXPECT_TRUE(WaitFor([&] { return m_control->ViewerProcesses().size() == 1; }));

    ASSERT_TRUE(m_control->LaunchViewer({ViewerControl::StopRecordSwitch()}, ShowState::Normal).started);
    ASSERT_TRUE(WaitFor([&] { return StaysStill(file, 300); }));
    EXPECT_TRUE(StaysStill(file));
    EXPECT_TRUE(IsTransportStream(Read(file)));
    EXPECT_TRUE(m_control->IsViewerRunning());

    const ViewerControl::CloseOutcome closed = m_control->CloseViewer(true);
    EXPECT_TRUE(closed.wasRunning);
    EXPECT_TRUE(closed.ended);
    EXPECT_FALSE(m_control->IsViewerRunning());
    EXPECT_EQ(m_journal.Events(), QStringList{Ls(70)});
    EXPECT_TRUE(m_notices.isEmpty());
}

TEST_F(ZomvaraRecording, AFirstStartActsOnItsOwnSwitchesAndExitEndsIt)
{
    const QString file = Path(QStringLiteral("records/own.ts"));
    ASSERT_TRUE(m_control
                    ->LaunchViewer({ViewerControl::ChannelSwitch(QStringLiteral("arte")),
                                    ViewerControl::StartRecordSwitch(file)},
                                   ShowState::Hidden)
                    .started);
    EXPECT_TRUE(Grows(file));
    ASSERT_TRUE(m_control->LaunchViewer({ViewerControl::ExitSwitch()}, ShowState::Normal).started);
    EXPECT_TRUE(WaitFor([&] { return !m_control->IsViewerRunning(); }));
    EXPECT_TRUE(StaysStill(file));
    EXPECT_TRUE(IsTransportStream(Read(file)));
    // It kept the tuned channel for its next start.
    EXPECT_TRUE(Read(QFileInfo(m_executable).absolutePath() + QStringLiteral("/Zomvara.Ini"))
                    .contains("LastChannel=Arte"));
}

TEST_F(ZomvaraRecording, SourcesThatWriteNothingAndSourcesThatLoop)
{
    QByteArray pattern;
    for (int i = 0; i < 1000; ++i)
        pattern.append(static_cast<char>((i * 7 + i / 256) & 0xFF));
    QFile loop(QFileInfo(m_executable).absolutePath() + QStringLiteral("/loop.bin"));
    ASSERT_TRUE(loop.open(QIODevice::WriteOnly));
    loop.write(pattern);
    loop.close();

    const QString looped = Path(QStringLiteral("records/looped.bin"));
    ASSERT_TRUE(m_control
                    ->LaunchViewer({ViewerControl::ChannelSwitch(QStringLiteral("Boucle")),
                                    ViewerControl::StartRecordSwitch(looped)},
                                   ShowState::Normal)
                    .started);
    ASSERT_TRUE(WaitFor([&] { return SizeOf(looped) > 5 * pattern.size(); }));
    const QByteArray recorded = Read(looped);
    for (qsizetype at = 0; at + pattern.size() <= recorded.size(); at += pattern.size())
        ASSERT_EQ(recorded.mid(at, pattern.size()), pattern) << "at " << at;

    // A channel without signal tunes and creates the file, which stays empty.
    const QString empty = Path(QStringLiteral("records/empty.ts"));
    ASSERT_TRUE(m_control
                    ->LaunchViewer({ViewerControl::ChannelSwitch(QStringLiteral("Vide")),
                                    ViewerControl::StartRecordSwitch(empty)},
                                   ShowState::Normal)
                    .started);
    ASSERT_TRUE(WaitFor([&] { return QFileInfo::exists(empty); }));
    m_timers.Wait(800);
    EXPECT_EQ(SizeOf(empty), 0);
    // Tuning another channel ended the looped recording.
    EXPECT_TRUE(StaysStill(looped, 300));
}

TEST_F(ZomvaraRecording, AFullDiskEndsTheRecordingNotTheViewer)
{
    ASSERT_TRUE(m_control
                    ->LaunchViewer({ViewerControl::ChannelSwitch(QStringLiteral("Arte")),
                                    ViewerControl::StartRecordSwitch(QStringLiteral("/dev/full"))},
                                   ShowState::Normal)
                    .started);
    ASSERT_TRUE(WaitFor([&] { return m_control->IsViewerRunning(); }));
    const QVector<qint64> viewer = m_control->ViewerProcesses();
    m_timers.Wait(500);
    const QString file = Path(QStringLiteral("records/after-full.ts"));
    ASSERT_TRUE(m_control->LaunchViewer({ViewerControl::StartRecordSwitch(file)}, ShowState::Normal).started);
    EXPECT_TRUE(Grows(file));
    // The same viewer, still on its channel, took the new recording.
    EXPECT_TRUE(WaitFor([&] { return m_control->ViewerProcesses() == viewer; }));
}

TEST_F(ZomvaraRecording, AnUnknownChannelRecordsNothing)
{
    const QString file = Path(QStringLiteral("records/unknown.ts"));
    ASSERT_TRUE(m_control
                    ->LaunchViewer({ViewerControl::ChannelSwitch(QStringLiteral("Nulle part")),
                                    ViewerControl::StartRecordSwitch(file)},
                                   ShowState::Normal)
                    .started);
    ASSERT_TRUE(WaitFor([&] { return m_control->IsViewerRunning(); }));
    m_timers.Wait(600);
    EXPECT_FALSE(QFileInfo::exists(file));
}

// A live stream served by the test itself on the loopback interface.
TEST_F(ZomvaraRecording, AnHttpSourceIsRecordedAsItArrives)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    QByteArray served;
    QTimer feed;
    QTcpSocket* client = nullptr;
    QObject::connect(&server, &QTcpServer::newConnection, &server, [&] {
        client = server.nextPendingConnection();
        QObject::connect(client, &QTcpSocket::readyRead, client, [&] {
            if (!client->readAll().contains("\r\n\r\n") || feed.isActive())
                return;
            client->write("HTTP/1.1 200 OK\r\nContent-Type: video/mp2t\r\nConnection: close\r\n\r\n");
            feed.start(20);
        });
    });
    QObject::connect(&feed, &QTimer::timeout, &server, [&] {
        QByteArray chunk;
        for (int i = 0; i < 4096; ++i)
            chunk.append(static_cast<char>((served.size() + i) % 253));
        served += chunk;
        client->write(chunk);
    });

    const QString exe =
        Install(QStringLiteral("live"),
                "[Channels]\nDirect=http://127.0.0.1:" + QByteArray::number(server.serverPort()) + "/live\n");
    ViewerControl live(m_processes, m_timers, nullptr);
    live.SetExecutable(exe);
    const QString file = Path(QStringLiteral("records/live.ts"));
    ASSERT_TRUE(live.LaunchViewer({ViewerControl::ChannelSwitch(QStringLiteral("Direct")),
                                   ViewerControl::StartRecordSwitch(file)},
                                  ShowState::Normal)
                    .started);
    ASSERT_TRUE(WaitFor([&] { return SizeOf(file) > 64 * 1024; }));
    const QByteArray recorded = Read(file);
    EXPECT_EQ(recorded, served.left(recorded.size()));
    live.CloseViewer(false);
    EXPECT_FALSE(live.IsViewerRunning());
}

TEST_F(ZomvaraRecording, ACopyInAnotherFolderIsNotTheViewer)
{
    const QString copy = Install(QStringLiteral("copy"), "[Channels]\nArte=synthetic:64\n");
    ViewerControl other(m_processes, m_timers, nullptr);
    other.SetExecutable(copy);
    StartViewer(other);

    EXPECT_FALSE(m_control->IsViewerRunning());
    const ViewerControl::CloseOutcome outcome = m_control->CloseViewer(true);
    EXPECT_FALSE(outcome.wasRunning);
    EXPECT_TRUE(m_journal.entries.isEmpty());
    EXPECT_TRUE(other.IsViewerRunning());

    // Each folder has its own instance: ours starts beside the copy instead of handing over to it.
    StartViewer(*m_control);
    EXPECT_TRUE(other.IsViewerRunning());
    EXPECT_EQ(m_control->ViewerProcesses().size(), 1);
}

TEST_F(ZomvaraRecording, AViewerThatCrashedIsReplacedByTheNextStart)
{
    StartViewer(*m_control);
    const QVector<qint64> pids = m_control->ViewerProcesses();
    ASSERT_EQ(pids.size(), 1);
    m_processes.Kill(pids[0]); // leaves its lock file and socket behind
    ASSERT_TRUE(WaitFor([&] { return !m_control->IsViewerRunning(); }));

    const QString file = Path(QStringLiteral("records/after-crash.ts"));
    ASSERT_TRUE(m_control
                    ->LaunchViewer({ViewerControl::ChannelSwitch(QStringLiteral("Arte")),
                                    ViewerControl::StartRecordSwitch(file)},
                                   ShowState::Normal)
                    .started);
    EXPECT_TRUE(Grows(file));
    EXPECT_EQ(m_control->ViewerProcesses().size(), 1);
}

TEST_F(ZomvaraRecording, AMissingViewerGivesAClearErrorAndNoCrash)
{
    ViewerControl missing(m_processes, m_timers, &m_journal);
    missing.SetExecutable(Path(QStringLiteral("nowhere/zomvara")));
    QStringList notices;
    missing.SetFailureNotice([&](const QString& message) { notices << message; });

    const LaunchResult r =
        missing.LaunchViewer({ViewerControl::ChannelSwitch(QStringLiteral("Arte"))}, ShowState::Normal);
    EXPECT_FALSE(r.started);
    EXPECT_FALSE(r.error.isEmpty());
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].contains(Path(QStringLiteral("nowhere/zomvara"))));
    EXPECT_TRUE(notices[0].contains(r.error));
    EXPECT_FALSE(missing.IsViewerRunning());
    EXPECT_FALSE(missing.CloseViewer(true).wasRunning);
    EXPECT_TRUE(m_journal.entries.isEmpty());
}

} // namespace
} // namespace quorx::test
