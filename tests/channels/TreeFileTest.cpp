#include "ViewerFileBuilder.h"

#include "channels/TreeFile.h"

#include <gtest/gtest.h>

using namespace quorx;
using namespace quorx::test;
using Status = ViewerFileContent::Status;

namespace {

QVector<Group> TwoGroups()
{
    return {
        Group{"Films", {Ref(0, 20, 30, 0, 0, 60, 0), Ref(0, 21, 31, 0, 0, 61, 0)}},
        Group{"Sport", {Ref(0, 22, 32, 0, 0, 62, 0)}},
    };
}

QVector<Group> TwoGroupsAllNumbers()
{
    return {
        Group{"Films", {Ref(1, 20, 30, 4, 5, 60, 7), Ref(2, 21, 31, 8, 9, 61, 70000)}},
        Group{"Sport", {Ref(3, 22, 32, 0, 0, 62, -1)}},
    };
}

QByteArray BuildVersion(int version, const QVector<Group>& groups)
{
    return version == 104 ? Tree104("Mes favoris", true, groups)
                          : Tree105(version, "Mes favoris", true, groups);
}

} // namespace

TEST(TreeFileHeader, ReadsNameAndFavouritesFlagOfEveryVersion)
{
    struct Case
    {
        QByteArray bytes;
        qint32 version;
        bool favourites;
        QString name;
    };
    const Case cases[] = {
        {Tree104(QByteArray("  TNT\0 gratuite ", 16), true, {}), 104, true, QStringLiteral("TNT gratuite")},
        {Tree104("Satellite", false, {}), 104, false, QStringLiteral("Satellite")},
        {Tree105(105, " Favoris 1 ", true, {}), 105, true, QStringLiteral("Favoris 1")},
        {Tree105(106, "Favoris 2", false, {}), 106, false, QStringLiteral("Favoris 2")},
        // 0xFD bytes are padding in version 107 only; elsewhere they are the letter they stand for.
        {Tree105(107, "Fav\xFDoris\xFD 3", true, {}), 107, true, QStringLiteral("Favoris 3")},
        {Tree105(105, "Caf\xE9", true, {}), 105, true, QStringLiteral("Café")},
        {Tree105(106, "Fav\xFD", true, {}), 106, true, QStringLiteral("Favý")},
        {Tree105(108, "Nouveau", true, {}), 108, false, QString()},
    };
    for (const Case& c : cases) {
        const TreeFile::Header h = TreeFile::ReadHeader(c.bytes);
        EXPECT_EQ(h.version, c.version);
        EXPECT_EQ(h.favourites, c.favourites) << c.version;
        EXPECT_EQ(h.name, c.name) << c.version;
    }
}

TEST(TreeFileHeader, DamagedHeadersGiveWhatIsThere)
{
    EXPECT_EQ(TreeFile::ReadHeader(QByteArray("TREE", 4)).version, 0);
    EXPECT_FALSE(TreeFile::ReadHeader(QByteArray()).favourites);

    // Cut before the favourites flag: not a favourites list.
    const QByteArray full = Tree105(105, "Favoris", true, {});
    EXPECT_FALSE(TreeFile::ReadHeader(full.left(20)).favourites);
    EXPECT_EQ(TreeFile::ReadHeader(full.left(44)).name, QStringLiteral("Favo"));

    // A name length far past the end, or negative, never reads outside the file.
    LeBytes huge;
    huge.Raw(Tree104("Liste", true, {}));
    huge.PutI32At(56, 0x7FFFFFF0);
    const ExactBuffer hugeBuffer(huge.Bytes(), huge.Size());
    EXPECT_TRUE(TreeFile::ReadHeader(hugeBuffer.Bytes()).name.startsWith(QStringLiteral("Liste")));
    huge.PutI32At(56, -5);
    EXPECT_EQ(TreeFile::ReadHeader(huge.Bytes()).name, QString());
}

TEST(TreeFileReferences, EveryVersionGivesItsNumbersAndGroupNames)
{
    const QVector<TTree> expected104 = {
        Ref(0, 20, 30, 0, 0, 60, 0, QStringLiteral("Films")),
        Ref(0, 21, 31, 0, 0, 61, 0, QStringLiteral("Films")),
        Ref(0, 22, 32, 0, 0, 62, 0, QStringLiteral("Sport")),
    };
    // Version 104 holds only N2, N3 and N6; the others stay 0 whatever the source had.
    const ViewerFileContent c104 = TreeFile::ReadReferences(Tree104("L", true, TwoGroupsAllNumbers()));
    EXPECT_EQ(c104.status, Status::Ok);
    EXPECT_EQ(c104.entries, expected104);

    const QVector<TTree> expectedFull = {
        Ref(1, 20, 30, 4, 5, 60, 7, QStringLiteral("Films")),
        Ref(2, 21, 31, 8, 9, 61, 70000, QStringLiteral("Films")),
        Ref(3, 22, 32, 0, 0, 62, -1, QStringLiteral("Sport")),
    };
    for (const int version : {105, 106, 107}) {
        const ViewerFileContent c =
            TreeFile::ReadReferences(Tree105(version, "L", true, TwoGroupsAllNumbers()));
        EXPECT_EQ(c.status, Status::Ok) << version;
        EXPECT_EQ(c.version, version);
        EXPECT_EQ(c.entries, expectedFull) << version;
    }
}

TEST(TreeFileReferences, WordsAreUnsignedAndGroupNamesFollowTheirVersion)
{
    const QVector<Group> groups = {Group{"S\xFDries", {Ref(65535, 40000, 2, 0, 0, 3, 0)}}};
    const ViewerFileContent c105 = TreeFile::ReadReferences(Tree105(105, "L", true, groups));
    ASSERT_EQ(c105.entries.size(), 1);
    EXPECT_EQ(c105.entries[0].N1, 65535);
    EXPECT_EQ(c105.entries[0].N2, 40000);
    EXPECT_EQ(c105.entries[0].Name, QStringLiteral("Sýries"));
    EXPECT_EQ(TreeFile::ReadReferences(Tree105(107, "L", true, groups)).entries[0].Name,
              QStringLiteral("Sries"));
    EXPECT_EQ(TreeFile::ReadReferences(Tree104("L", true, {Group{"Cin\xE9ma", {Ref(0, 1, 2, 0, 0, 3, 0)}}}))
                  .entries[0]
                  .Name,
              QStringLiteral("Cinéma"));
}

TEST(TreeFileReferences, OtherVersionsGiveNoReference)
{
    for (const int version : {0, 103, 108, 113}) {
        const ViewerFileContent c = TreeFile::ReadReferences(Tree105(version, "L", true, TwoGroups()));
        EXPECT_EQ(c.status, Status::UnsupportedVersion) << version;
        EXPECT_TRUE(c.entries.isEmpty());
    }
    EXPECT_EQ(TreeFile::ReadReferences(QByteArray("abc")).status, Status::Unreadable);
    EXPECT_EQ(TreeFile::ReadReferencesOfFile(QStringLiteral("/nonexistent/x.Tree")).status,
              Status::Unreadable);
}

// Every prefix of a valid file, in a buffer that ends exactly there: what is read is a prefix of
// the full reading, and the file is reported incomplete unless it is whole.
TEST(TreeFileReferences, EveryTruncationGivesTheReferencesBeforeTheCut)
{
    for (const int version : {104, 105, 106, 107}) {
        const QByteArray full = BuildVersion(version, TwoGroupsAllNumbers());
        const QVector<TTree> all = TreeFile::ReadReferences(full).entries;
        ASSERT_EQ(all.size(), 3);
        // Versions 105 to 107 read groups to the end of the file, so a cut between two groups
        // is a shorter whole file; version 104 counts its groups and knows better.
        QVector<qsizetype> groupStarts;
        if (version != 104) {
            const qsizetype reference = 16 + (version == 106 ? 13 : version == 107 ? 17 : 0);
            groupStarts = {kTree105FirstGroupOffset, kTree105FirstGroupOffset + 136 + 2 * reference};
        }
        for (qsizetype n = 0; n < full.size(); ++n) {
            const ExactBuffer cut(full, n);
            const ViewerFileContent c = TreeFile::ReadReferences(cut.Bytes());
            ASSERT_LE(c.entries.size(), all.size()) << version << " cut at " << n;
            for (int i = 0; i < c.entries.size(); ++i)
                ASSERT_EQ(c.entries[i], all[i]) << version << " cut at " << n;
            if (n >= 8 && !groupStarts.contains(n)) {
                EXPECT_EQ(c.status, Status::Incomplete) << version << " cut at " << n;
            }
        }
    }
}

TEST(TreeFileReferences, DamagedCountsAndLengthsStopTheReading)
{
    // Version 104 with a group count above the groups present: both groups, then incomplete.
    LeBytes moreGroups;
    moreGroups.Raw(Tree104("L", true, TwoGroups()));
    moreGroups.PutI32At(kTree104GroupCountOffset, 1000000);
    ViewerFileContent c = TreeFile::ReadReferences(moreGroups.Bytes());
    EXPECT_EQ(c.entries.size(), 3);
    EXPECT_EQ(c.status, Status::Incomplete);

    // A group count below the groups present: the reading stops after that many groups.
    moreGroups.PutI32At(kTree104GroupCountOffset, 1);
    c = TreeFile::ReadReferences(moreGroups.Bytes());
    EXPECT_EQ(c.entries.size(), 2);
    EXPECT_EQ(c.status, Status::Ok);

    // The integer table of version 104 claiming far more entries than the file holds, or fewer
    // than none.
    for (const qint32 tableCount : {0x3FFFFFFF, -1}) {
        LeBytes bigTable;
        bigTable.Raw(Tree104("L", true, TwoGroups()));
        bigTable.PutI32At(60 + 1, tableCount);
        c = TreeFile::ReadReferences(bigTable.Bytes());
        EXPECT_TRUE(c.entries.isEmpty());
        EXPECT_EQ(c.status, Status::Incomplete);
    }

    // A reference count that runs past the group record (104) or the file (105).
    QByteArray lying = Tree104("L", true, {Group{"G", {Ref(0, 1, 2, 0, 0, 3, 0)}}});
    const qint64 countAt = lying.size() - 28 - 4;
    LeBytes patched;
    patched.Raw(lying);
    patched.PutI32At(countAt, 50);
    c = TreeFile::ReadReferences(patched.Bytes());
    EXPECT_EQ(c.entries.size(), 1);
    EXPECT_EQ(c.status, Status::Incomplete);

    LeBytes v105;
    v105.Raw(Tree105(105, "L", true, {Group{"G", {Ref(1, 2, 3, 4, 5, 6, 7)}}}));
    v105.PutI32At(kTree105FirstGroupOffset + 4 + 128, 0x7FFFFFFF);
    c = TreeFile::ReadReferences(v105.Bytes());
    EXPECT_EQ(c.entries.size(), 1);
    EXPECT_EQ(c.status, Status::Incomplete);

    // A first-group offset outside the file, or negative.
    v105.PutI32At(8, 0x7FFFFFFF);
    EXPECT_TRUE(TreeFile::ReadReferences(v105.Bytes()).entries.isEmpty());
    v105.PutI32At(8, -100);
    EXPECT_EQ(TreeFile::ReadReferences(v105.Bytes()).status, Status::Incomplete);
}

TEST(TreeFileReferences, NegativeRecordLengthOfVersion104Stops)
{
    LeBytes b;
    b.Raw(Tree104("L", true, TwoGroups()));
    // The first group record starts after the table of 2 integers and 15 filler bytes.
    const qint64 firstGroup = 60 + 1 + 4 + 2 * 4 + 15;
    b.PutI32At(firstGroup, -4);
    const ViewerFileContent c = TreeFile::ReadReferences(b.Bytes());
    EXPECT_TRUE(c.entries.isEmpty());
    EXPECT_EQ(c.status, Status::Incomplete);
}
