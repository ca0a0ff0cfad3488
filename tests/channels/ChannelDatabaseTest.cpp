#include "ViewerFileBuilder.h"

#include "channels/ChannelDatabase.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace quorx;
using namespace quorx::test;
using Status = ViewerFileContent::Status;

namespace {

QVector<TTree> ThreeChannels()
{
    return {
        Ref(1, 20, 30, 4, 5, 60, 7, QStringLiteral("Arte")),
        Ref(2, 21, 31, 8, 9, 61, 70000, QStringLiteral("France 2")),
        Ref(0, 22, 32, 0, 0, 62, 0, QStringLiteral("TV5 Monde")),
    };
}

// What version 112 keeps of a channel: N2, N3, N6 and the name.
TTree As112(TTree t)
{
    t.N1 = t.N4 = t.N5 = t.N7 = 0;
    return t;
}

} // namespace

TEST(ChannelDatabase, Version112GivesNamesAndItsThreeNumbers)
{
    QVector<TTree> expected;
    for (const TTree& t : ThreeChannels())
        expected.append(As112(t));
    for (const bool wide : {false, true}) {
        const ViewerFileContent c = ChannelDatabase::Read(Dat112(ThreeChannels(), wide));
        EXPECT_EQ(c.status, Status::Ok);
        EXPECT_EQ(c.version, 112);
        EXPECT_EQ(c.entries, expected) << (wide ? "16-bit names" : "8-bit names");
    }
}

TEST(ChannelDatabase, Versions113And114GiveEveryNumber)
{
    for (const int version : {113, 114}) {
        const ViewerFileContent c = ChannelDatabase::Read(Dat113(version, ThreeChannels()));
        EXPECT_EQ(c.status, Status::Ok);
        EXPECT_EQ(c.entries, ThreeChannels()) << version;
    }
}

TEST(ChannelDatabase, NamesDropPaddingAndDecodeTheViewerCodePage)
{
    const QVector<TTree> channels = {Ref(1, 2, 3, 4, 5, 6, 7), Ref(1, 2, 3, 4, 5, 6, 8),
                                     Ref(1, 2, 3, 4, 5, 6, 9)};
    const ViewerFileContent c = ChannelDatabase::Read(Dat113(
        113, channels,
        {QByteArray("T\xE9l\xE9 Sud"), QByteArray("Canal\xFD\xFD+"), QByteArray("M\xC3\xA9t\xC3\xA9o")}));
    ASSERT_EQ(c.entries.size(), 3);
    EXPECT_EQ(c.entries[0].Name, QStringLiteral("Télé Sud"));
    EXPECT_EQ(c.entries[1].Name, QStringLiteral("Canal+"));
    EXPECT_EQ(c.entries[2].Name, QStringLiteral("Météo")); // written as UTF-8 by newer tools
}

TEST(ChannelDatabase, OtherVersionsGiveNoChannel)
{
    for (const int version : {111, 115, 105}) {
        const ViewerFileContent c = ChannelDatabase::Read(Dat113(version, ThreeChannels()));
        EXPECT_EQ(c.status, Status::UnsupportedVersion) << version;
        EXPECT_TRUE(c.entries.isEmpty());
    }
    EXPECT_EQ(ChannelDatabase::ReadFile(QStringLiteral("/nonexistent/channels.dat")).status,
              Status::Unreadable);
}

TEST(ChannelDatabase, EveryTruncationGivesTheChannelsBeforeTheCut)
{
    const QByteArray files[] = {Dat112(ThreeChannels()), Dat112(ThreeChannels(), true),
                                Dat113(113, ThreeChannels())};
    for (const QByteArray& full : files) {
        const QVector<TTree> all = ChannelDatabase::Read(full).entries;
        ASSERT_EQ(all.size(), 3);
        for (qsizetype n = 0; n < full.size(); ++n) {
            const ExactBuffer cut(full, n);
            const ViewerFileContent c = ChannelDatabase::Read(cut.Bytes());
            ASSERT_LE(c.entries.size(), all.size());
            for (int i = 0; i < c.entries.size(); ++i) {
                TTree numbersOnly = c.entries[i];
                numbersOnly.Name = all[i].Name;
                ASSERT_EQ(numbersOnly, all[i]) << "cut at " << n;
                // A name cut by the end of the file keeps the part that is there.
                ASSERT_TRUE(all[i].Name.startsWith(c.entries[i].Name)) << "cut at " << n;
            }
        }
    }
}

TEST(ChannelDatabase, DamagedRecordLengthsNeverLoopOrReadOutside)
{
    // A zero length in version 113 cannot lead anywhere: the reading stops there.
    QByteArray v113 = Dat113(113, ThreeChannels());
    v113[16 + 146] = 0;
    v113[16 + 147] = 0;
    ViewerFileContent c = ChannelDatabase::Read(v113);
    EXPECT_EQ(c.entries.size(), 1);
    EXPECT_EQ(c.status, Status::Incomplete);

    // A length too short for the fields: that record is skipped, the reading goes on after it.
    LeBytes shortRecord;
    shortRecord.I32(0).I32(113).I32(16).I32(0).W16(10).Zeros(8);
    shortRecord.Raw(Dat113(113, {ThreeChannels()[0]}).mid(16));
    c = ChannelDatabase::Read(shortRecord.Bytes());
    ASSERT_EQ(c.entries.size(), 1);
    EXPECT_EQ(c.entries[0].Name, QStringLiteral("Arte"));
    EXPECT_EQ(c.status, Status::Incomplete);

    // Version 112: a negative length stops; a length past the end keeps the record's channel.
    LeBytes v112;
    v112.Raw(Dat112(ThreeChannels()));
    const qint64 secondRecord = 20 + 4 + qFromLittleEndian<qint32>(v112.Bytes().constData() + 20);
    v112.PutI32At(secondRecord, -8);
    c = ChannelDatabase::Read(v112.Bytes());
    EXPECT_EQ(c.entries.size(), 1);
    EXPECT_EQ(c.status, Status::Incomplete);

    v112.PutI32At(secondRecord, 0x7FFFFFF0);
    const ExactBuffer exact(v112.Bytes(), v112.Size());
    c = ChannelDatabase::Read(exact.Bytes());
    ASSERT_EQ(c.entries.size(), 2);
    EXPECT_EQ(c.entries[1].Name, QStringLiteral("France 2"));
    EXPECT_EQ(c.status, Status::Incomplete);
}
