#include "ViewerFileBuilder.h"

#include "channels/ViewerChannelList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quorx;
using namespace quorx::test;

namespace {

const QString kSep = QStringLiteral("     ");

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(ChannelMatching, StrictNumbersMustBeEqualAndZerosMatchAnything)
{
    const TTree channel = Ref(1, 20, 30, 4, 5, 60, 7);
    struct Case
    {
        TTree reference;
        bool matches;
        const char* why;
    };
    const Case cases[] = {
        {Ref(1, 20, 30, 4, 5, 60, 7), true, "all equal"},
        {Ref(1, 20, 30, 4, 5, 60, 0), true, "N7 = 0 on the reference"},
        {Ref(0, 20, 30, 0, 0, 60, 0), true, "only the strict numbers given"},
        {Ref(9, 20, 30, 4, 5, 60, 7), false, "N1 differs"},
        {Ref(1, 20, 30, 9, 5, 60, 7), false, "N4 differs"},
        {Ref(1, 20, 30, 4, 9, 60, 7), false, "N5 differs"},
        {Ref(1, 20, 30, 4, 5, 60, 8), false, "N7 differs"},
        {Ref(1, 21, 30, 4, 5, 60, 7), false, "N2 differs"},
        {Ref(1, 20, 31, 4, 5, 60, 7), false, "N3 differs"},
        {Ref(1, 20, 30, 4, 5, 61, 7), false, "N6 differs"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ViewerChannelList::Matches(c.reference, channel), c.matches) << c.why;
    // Zeros are never wildcards for the three strict numbers.
    EXPECT_FALSE(ViewerChannelList::Matches(Ref(1, 0, 30, 4, 5, 60, 7), channel));
    // A channel without N7 matches a reference that has one.
    EXPECT_TRUE(ViewerChannelList::Matches(channel, Ref(1, 20, 30, 4, 5, 60, 0)));
}

TEST(ChannelMatching, ResultIsSortedWithoutCaseOrDuplicates)
{
    const QVector<TTree> channels = {
        Ref(0, 1, 1, 0, 0, 1, 0, QStringLiteral("arte")),
        Ref(0, 2, 2, 0, 0, 2, 0, QStringLiteral("Équipe 21")),
        Ref(0, 3, 3, 0, 0, 3, 0, QStringLiteral("France 2")),
        Ref(0, 4, 4, 0, 0, 4, 0, QStringLiteral("ARTE")),
        Ref(0, 5, 5, 0, 0, 5, 0, QStringLiteral("Zdf")),
    };
    const QVector<TTree> references = {
        Ref(0, 5, 5, 0, 0, 5, 0, QStringLiteral("G")), Ref(0, 3, 3, 0, 0, 3, 0, QStringLiteral("G")),
        Ref(0, 1, 1, 0, 0, 1, 0, QStringLiteral("G")), Ref(0, 4, 4, 0, 0, 4, 0, QStringLiteral("G")),
        Ref(0, 2, 2, 0, 0, 2, 0, QStringLiteral("G")), Ref(0, 3, 3, 0, 0, 3, 0, QStringLiteral("G")),
        Ref(0, 9, 9, 0, 0, 9, 0, QStringLiteral("G")), // no channel has these numbers
    };
    // The first spelling met is kept; accents do not move a name away from its letter.
    EXPECT_EQ(ViewerChannelList::Match(references, channels, false).Names(),
              (QStringList{QStringLiteral("arte"), QStringLiteral("Équipe 21"), QStringLiteral("France 2"),
                           QStringLiteral("Zdf")}));
}

TEST(ChannelMatching, FolderNamesAndTheFirstNonBlankMatch)
{
    const QVector<TTree> channels = {
        Ref(0, 7, 8, 0, 0, 9, 0, QStringLiteral("   ")), // a blank match does not count
        Ref(3, 7, 8, 0, 0, 9, 0, QStringLiteral("Arte HD")),
        Ref(0, 7, 8, 0, 0, 9, 0, QStringLiteral("Arte")),
    };
    const QVector<TTree> references = {
        Ref(0, 7, 8, 0, 0, 9, 0, QStringLiteral("Films")),
        Ref(0, 7, 8, 0, 0, 9, 0, QStringLiteral("Films")), // two references to one channel
        Ref(4, 7, 8, 0, 0, 9, 0, QStringLiteral("Docs")),  // N1 4 rules out "Arte HD"
    };
    EXPECT_EQ(ViewerChannelList::Match(references, channels, false).Names(),
              (QStringList{QStringLiteral("Arte"), QStringLiteral("Arte HD")}));
    EXPECT_EQ(ViewerChannelList::Match(references, channels, true).Names(),
              (QStringList{QStringLiteral("Docs") + kSep + QStringLiteral("Arte"),
                           QStringLiteral("Films") + kSep + QStringLiteral("Arte HD")}));
}

TEST(ChannelMatching, ChannelOfAnEntry)
{
    EXPECT_EQ(ViewerChannelList::ChannelOfEntry(QStringLiteral("Films     Arte"), true),
              QStringLiteral("Arte"));
    EXPECT_EQ(ViewerChannelList::ChannelOfEntry(QStringLiteral("Films      Arte"), true),
              QStringLiteral(" Arte"));
    EXPECT_EQ(ViewerChannelList::ChannelOfEntry(QStringLiteral("Arte"), true), QStringLiteral("Arte"));
    // Without folder names an entry is the channel name, blanks and all.
    EXPECT_EQ(ViewerChannelList::ChannelOfEntry(QStringLiteral("A     B"), false), QStringLiteral("A     B"));
}

TEST(ViewerChannelListFiles, ReadsTheListThenTheDatabaseOfItsFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QVector<Group> groups = {Group{"Films", {Ref(0, 7, 8, 0, 0, 9, 0)}}};
    WriteFile(dir.filePath(QStringLiteral("Favourites.tree")), Tree105(105, "Favoris", true, groups));
    // The database is found whatever the letter case of its name.
    WriteFile(dir.filePath(QStringLiteral("Channels.DAT")),
              Dat113(113, {Ref(1, 7, 8, 2, 3, 9, 4, QStringLiteral("Arte"))}));

    const ViewerChannelList::Result r =
        ViewerChannelList::Read(dir.filePath(QStringLiteral("Favourites.tree")), true);
    EXPECT_EQ(r.listStatus, ViewerFileContent::Status::Ok);
    EXPECT_EQ(r.databaseStatus, ViewerFileContent::Status::Ok);
    EXPECT_EQ(r.names.Names(), QStringList{QStringLiteral("Films     Arte")});

    // Without the database, or without the list, nothing is offered.
    QFile::remove(dir.filePath(QStringLiteral("Channels.DAT")));
    EXPECT_TRUE(
        ViewerChannelList::Read(dir.filePath(QStringLiteral("Favourites.tree")), true).names.IsEmpty());
    EXPECT_TRUE(ViewerChannelList::Read(dir.filePath(QStringLiteral("Missing.tree")), true).names.IsEmpty());
}

TEST(ViewerChannelListFiles, DefaultListIsTheFirstChannelListPresent)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(ViewerChannelList::DefaultListFile(dir.path()), QString());
    WriteFile(dir.filePath(QStringLiteral("ChannelList6.tree")), "x");
    WriteFile(dir.filePath(QStringLiteral("ChannelList4.tree")), "x");
    EXPECT_EQ(ViewerChannelList::DefaultListFile(dir.path()),
              dir.filePath(QStringLiteral("ChannelList4.tree")));
    WriteFile(dir.filePath(QStringLiteral("channellist2.TREE")), "x");
    EXPECT_EQ(ViewerChannelList::DefaultListFile(dir.path()),
              dir.filePath(QStringLiteral("channellist2.TREE")));
    EXPECT_EQ(ViewerChannelList::DefaultListFile(dir.filePath(QStringLiteral("nowhere"))), QString());
}
