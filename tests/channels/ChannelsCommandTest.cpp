#include "ViewerFileBuilder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quorx;
using namespace quorx::test;

namespace {

struct CliRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

class ChannelsCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        ASSERT_TRUE(m_channels.isValid());
        const QVector<TTree> channels = {Ref(1, 10, 11, 0, 0, 12, 5, QStringLiteral("Arte")),
                                         Ref(1, 20, 21, 0, 0, 22, 6, QStringLiteral("TF1")),
                                         Ref(1, 30, 31, 0, 0, 32, 7, QStringLiteral("France 2"))};
        Write(QStringLiteral("channels.dat"), Dat113(113, channels));
        Write(QStringLiteral("ChannelList2.tree"),
              Tree105(106, "Tout", false,
                      {Group{"TNT", {Ref(0, 20, 21, 0, 0, 22, 0), Ref(0, 30, 31, 0, 0, 32, 0)}},
                       Group{"Culture", {Ref(0, 10, 11, 0, 0, 12, 0)}}}));
        Write(QStringLiteral("Favourites.tree"),
              Tree105(105, "Favoris", true,
                      {Group{"Films", {Ref(1, 10, 11, 0, 0, 12, 0), Ref(1, 10, 11, 0, 0, 12, 0)}}}));
    }

    void Write(const QString& name, const QByteArray& bytes)
    {
        QFile f(m_channels.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    CliRun Cli(const QStringList& args)
    {
        QProcess p;
        p.start(QStringLiteral(QUORX_CLI_PATH), QStringList{QStringLiteral("--home"), m_home.path()} + args);
        CliRun r;
        if (!p.waitForFinished(30000))
            return r;
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = p.readAllStandardOutput();
        r.err = p.readAllStandardError();
        return r;
    }

    QStringList Read(const QStringList& extra = {})
    {
        return QStringList{QStringLiteral("channels"), QStringLiteral("read"), QStringLiteral("--folder"),
                           m_channels.path()} +
               extra;
    }

    QTemporaryDir m_home;
    QTemporaryDir m_channels;
};

} // namespace

TEST_F(ChannelsCommandTest, PrintsTheChannelsOfTheFirstChannelListOnePerLine)
{
    const CliRun r = Cli(Read());
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QByteArray("Arte\nFrance 2\nTF1\n"));
    EXPECT_TRUE(r.err.isEmpty());

    const CliRun folders = Cli(Read({QStringLiteral("--show-folders")}));
    EXPECT_EQ(folders.out, QByteArray("Culture     Arte\nTNT     France 2\nTNT     TF1\n"));
}

TEST_F(ChannelsCommandTest, ANamedListFileInAnyLetterCase)
{
    const CliRun r = Cli(Read(
        {QStringLiteral("--file"), QStringLiteral("favourites.TREE"), QStringLiteral("--show-folders")}));
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QByteArray("Films     Arte\n"));
}

TEST_F(ChannelsCommandTest, DamagedAndUnknownFilesWarnAndListWhatCouldBeRead)
{
    const QByteArray full =
        Tree105(105, "Favoris", true,
                {Group{"A", {Ref(1, 10, 11, 0, 0, 12, 0)}}, Group{"B", {Ref(1, 20, 21, 0, 0, 22, 0)}}});
    Write(QStringLiteral("Cut.tree"), full.left(full.size() - 5));
    CliRun r = Cli(Read({QStringLiteral("--file"), QStringLiteral("Cut.tree")}));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, QByteArray("Arte\n"));
    EXPECT_TRUE(r.err.contains("cut short or damaged")) << r.err.toStdString();

    Write(QStringLiteral("New.tree"),
          Tree105(120, "Favoris", true, {Group{"A", {Ref(1, 10, 11, 0, 0, 12, 0)}}}));
    r = Cli(Read({QStringLiteral("--file"), QStringLiteral("New.tree")}));
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains("version 120")) << r.err.toStdString();
}

TEST_F(ChannelsCommandTest, FailuresSayWhatIsMissing)
{
    struct Case
    {
        QStringList args;
        int status;
        const char* message;
    };
    QFile::remove(m_channels.filePath(QStringLiteral("ChannelList2.tree")));
    const Case cases[] = {
        {{QStringLiteral("channels"), QStringLiteral("read")}, 2, "--folder DIR is required"},
        {{QStringLiteral("channels")}, 2, "usage"},
        {Read({QStringLiteral("--bogus")}), 2, "unknown argument --bogus"},
        {Read({QStringLiteral("--file")}), 2, "--file needs a value"},
        {{QStringLiteral("channels"), QStringLiteral("read"), QStringLiteral("--folder"),
          QStringLiteral("/no/such")},
         1,
         "does not exist"},
        {Read(), 1, "holds no ChannelList0.tree to ChannelList5.tree"},
        {Read({QStringLiteral("--file"), QStringLiteral("Other.tree")}), 1, "is not in"},
    };
    for (const Case& c : cases) {
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.status, c.status) << c.message;
        EXPECT_TRUE(r.out.isEmpty()) << c.message;
        EXPECT_TRUE(r.err.contains(c.message)) << c.message << ": " << r.err.toStdString();
    }

    QFile::remove(m_channels.filePath(QStringLiteral("channels.dat")));
    const CliRun r = Cli(Read({QStringLiteral("--file"), QStringLiteral("Favourites.tree")}));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("no channels.dat")) << r.err.toStdString();
}
