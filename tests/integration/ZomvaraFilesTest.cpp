#include "ZomvaraFixture.h"

#include "common/IniFile.h"
#include "viewer/ViewerIni.h"

#include <QFileInfo>
#include <QtEndian>

namespace quorx::test {
namespace {

using ZomvaraFiles = ZomvaraTest;

std::int32_t Int32At(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<qint32>(b.constData() + at);
}
quint16 WordAt(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}
QString TextAt(const QByteArray& b, qsizetype at, int size)
{
    QByteArray t = b.mid(at, size);
    t.replace('\0', QByteArray());
    return QString::fromUtf8(t).trimmed();
}

// N1 to N7 as the files keep them: N1, N3, N2, N4, N5, N6 in words, then N7.
struct Identity
{
    quint16 n1, n3, n2, n4, n5, n6;
    std::int32_t n7;
    static Identity At(const QByteArray& b, qsizetype at)
    {
        return {WordAt(b, at),     WordAt(b, at + 2),  WordAt(b, at + 4),  WordAt(b, at + 6),
                WordAt(b, at + 8), WordAt(b, at + 10), Int32At(b, at + 12)};
    }
    // A reference matches a channel on N6, N3 and N2, and on N1, N4, N5, N7 unless one side is 0.
    bool Matches(const Identity& o) const
    {
        const auto loose = [](std::int64_t a, std::int64_t b) { return a == 0 || b == 0 || a == b; };
        return n6 == o.n6 && n3 == o.n3 && n2 == o.n2 && loose(n1, o.n1) && loose(n4, o.n4) &&
               loose(n5, o.n5) && loose(n7, o.n7);
    }
};

TEST_F(ZomvaraFiles, TheChannelFilesDescribeTheChannelList)
{
    const QString exe = Install(QStringLiteral("lists"),
                                "[Channels]\nArte=synthetic\nFrance 2=synthetic:128\nTélé Île=none\n");
    ViewerControl control(m_processes, m_timers, nullptr);
    control.SetExecutable(exe);
    StartViewer(control);
    const QString channels = QFileInfo(exe).absolutePath() + QStringLiteral("/channels/");
    ASSERT_TRUE(WaitFor([&] { return SizeOf(channels + QStringLiteral("channels.dat")) > 0; }));
    const QByteArray tree = Read(channels + QStringLiteral("Favourites.tree"));
    const QByteArray dat = Read(channels + QStringLiteral("channels.dat"));

    // The favourites list, version 105.
    ASSERT_GE(tree.size(), 104);
    EXPECT_EQ(Int32At(tree, 4), 105);
    EXPECT_EQ(Int32At(tree, 24), 0); // a favourites list
    EXPECT_FALSE(TextAt(tree, 40, 64).isEmpty());
    QVector<QPair<QString, Identity>> references;
    for (qsizetype at = Int32At(tree, 8); at + 4 + 128 + 4 <= tree.size();) {
        const QString group = TextAt(tree, at + 4, 128);
        const int count = Int32At(tree, at + 4 + 128);
        at += 4 + 128 + 4;
        for (int i = 0; i < count && at + 16 <= tree.size(); ++i, at += 16)
            references.push_back({group, Identity::At(tree, at)});
    }

    // The channel database, version 113.
    ASSERT_GE(dat.size(), 12);
    EXPECT_EQ(Int32At(dat, 4), 113);
    QVector<QPair<Identity, QString>> database;
    for (qsizetype at = Int32At(dat, 8); at + 2 + 16 + 128 <= dat.size();) {
        const quint16 length = WordAt(dat, at);
        ASSERT_GT(length, 0);
        database.push_back({Identity::At(dat, at + 2), TextAt(dat, at + 18, 128)});
        at += length;
    }

    QStringList matched;
    for (const auto& ref : references) {
        EXPECT_FALSE(ref.first.isEmpty());
        for (const auto& channel : database) {
            if (ref.second.Matches(channel.first)) {
                matched << channel.second;
                break;
            }
        }
    }
    EXPECT_EQ(matched,
              (QStringList{QStringLiteral("Arte"), QStringLiteral("France 2"), QStringLiteral("Télé Île")}));
}

TEST_F(ZomvaraFiles, PlanFillsTheViewersSchedulerFile)
{
    const auto plan = [&](const QStringList& args) {
        const LaunchResult r = m_control->Launch(m_executable, QStringList{QStringLiteral("--plan")} + args,
                                                 ShowState::Normal, true);
        EXPECT_TRUE(r.started);
        return r.exitCode;
    };
    ASSERT_EQ(plan({QStringLiteral("Arte"), QStringLiteral("2024-05-17 20:45"),
                    QStringLiteral("2024-05-17 22:00"), QStringLiteral("Le film")}),
              0);
    ASSERT_EQ(plan({QStringLiteral("France 2"), QStringLiteral("2024-05-18 23:50:30"),
                    QStringLiteral("2024-05-19 00:20"), QStringLiteral("Nuit")}),
              0);
    // Bad times and a stop before the start change nothing.
    EXPECT_EQ(plan({QStringLiteral("Arte"), QStringLiteral("demain"), QStringLiteral("2024-05-19 00:20"),
                    QStringLiteral("x")}),
              2);
    EXPECT_EQ(plan({QStringLiteral("Arte"), QStringLiteral("2024-05-19 01:00"),
                    QStringLiteral("2024-05-19 00:20"), QStringLiteral("x")}),
              2);

    const IniFile ini(QFileInfo(m_executable).absolutePath() + QStringLiteral("/modules/scheduler.ini"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Global"), QStringLiteral("Count")), 6);
    struct Event
    {
        const char* command;
        const char* param;
        const char* time;
    };
    const Event expected[] = {
        {"CH", "\"Arte\"", "2024.05.17-20:45:00"},      {"StartRecord", "Le film", "2024.05.17-20:45:00"},
        {"StopRecord", "", "2024.05.17-22:00:00"},      {"CH", "\"France 2\"", "2024.05.18-23:50:30"},
        {"StartRecord", "Nuit", "2024.05.18-23:50:30"}, {"StopRecord", "", "2024.05.19-00:20:00"},
    };
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const QString section = QStringLiteral("Event_%1").arg(i);
        EXPECT_EQ(ini.ReadString(section, QStringLiteral("Command")), QString::fromUtf8(expected[i].command));
        EXPECT_EQ(ini.ReadString(section, QStringLiteral("Param")), QString::fromUtf8(expected[i].param));
        EXPECT_EQ(ini.ReadString(section, QStringLiteral("Time")), QString::fromUtf8(expected[i].time));
    }
    EXPECT_FALSE(ini.HasSection(QStringLiteral("Event_6")));
    // Planning starts no viewer.
    EXPECT_FALSE(m_control->IsViewerRunning());
}

TEST_F(ZomvaraFiles, TheViewerStartsOnItsLastChannelUnlessTheSchedulerSwitchedThatOff)
{
    ASSERT_TRUE(
        m_control->LaunchViewer({ViewerControl::ChannelSwitch(QStringLiteral("Arte"))}, ShowState::Normal)
            .started);
    ASSERT_TRUE(WaitFor([&] { return m_control->IsViewerRunning(); }));
    m_control->CloseViewer(false);
    ASSERT_FALSE(m_control->IsViewerRunning());

    // Started again with a file only, it records the channel it had.
    const QString resumed = Path(QStringLiteral("records/resumed.ts"));
    ASSERT_TRUE(
        m_control->LaunchViewer({ViewerControl::StartRecordSwitch(resumed)}, ShowState::Normal).started);
    EXPECT_TRUE(Grows(resumed));
    m_control->CloseViewer(false);

    const QString folder = QFileInfo(m_executable).absolutePath();
    ASSERT_TRUE(ViewerIni::PrepareForScheduler(folder, Path(QStringLiteral("fallback/"))));
    const QString untuned = Path(QStringLiteral("records/untuned.ts"));
    ASSERT_TRUE(
        m_control->LaunchViewer({ViewerControl::StartRecordSwitch(untuned)}, ShowState::Normal).started);
    ASSERT_TRUE(WaitFor([&] { return m_control->IsViewerRunning(); }));
    m_timers.Wait(600);
    EXPECT_FALSE(QFileInfo::exists(untuned));
}

} // namespace
} // namespace quorx::test
