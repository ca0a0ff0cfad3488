#include "channels/ChannelPreferenceStore.h"
#include "common/WindowPlacement.h"
#include "engine/ListLayout.h"
#include "engine/NewRecording.h"
#include "engine/RecordingDrive.h"
#include "engine/TimeKeypad.h"
#include "platform/fake/FakeDisks.h"
#include "schedule/ScheduleTable.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quorx {
namespace {

using B = TimeKeypad::Button;

TEST(TimeKeypadTest, ButtonsGiveTheTimeOfTheTable)
{
    const struct
    {
        const char* from;
        B button;
        int tag;
        bool right;
        const char* to;
    } cases[] = {
        {"00:30", B::HourMinus, 0, false, "23:30"},  // over midnight backwards
        {"23:10", B::HourPlus, 0, false, "00:10"},   // and forwards
        {"14:59", B::MinutePlus, 0, false, "14:00"}, // the minutes turn within the hour
        {"14:00", B::MinuteMinus, 0, false, "14:59"},
        {"14:25", B::Hour, 7, false, "07:25"},
        {"14:25", B::Hour, 7, true, "07:00"}, // right press clears the minutes first
        {"14:25", B::Minute, 45, false, "14:45"},
        {"14:25", B::Minute, 45, true, "00:45"}, // right press clears the hour first
        {"14:25", B::Hour, 0, false, "00:25"},
        {"18:47", B::Midnight, 0, false, "00:00"},
    };
    for (const auto& c : cases) {
        const QTime from = QTime::fromString(QLatin1String(c.from), QStringLiteral("hh:mm")).addSecs(33);
        EXPECT_EQ(TimeKeypad::Apply(from, c.button, c.tag, c.right),
                  QTime::fromString(QLatin1String(c.to), QStringLiteral("hh:mm")))
            << c.from << " -> " << c.to;
    }
}

TEST(ListLayoutTest, RowsAndHeightFollowTheFontAndTheSpace)
{
    EXPECT_EQ(ListLayout::RowHeight(8), 19);
    EXPECT_EQ(ListLayout::RowHeight(14), 27);
    // Three rows and the title at 19 pixels: 77 + 3 fit in 100 without scroll bar.
    EXPECT_EQ(ListLayout::GridHeight(3, 19, 100).height, 80);
    EXPECT_FALSE(ListLayout::GridHeight(3, 19, 100).scrollBar);
    const ListLayout::Height full = ListLayout::GridHeight(30, 19, 300);
    EXPECT_EQ(full.height, 300);
    EXPECT_TRUE(full.scrollBar);
    EXPECT_EQ(ListLayout::MinimumWindowHeight(120, 19), 158);
    EXPECT_TRUE(ListLayout::HintText(549).isEmpty());
    EXPECT_EQ(ListLayout::HintText(550), QStringLiteral(" Double-cliquez ici pour ajouter une émission"));
}

TEST(ListLayoutTest, ColumnsScaleWithTheGridAndTheLastTakesTheRest)
{
    // Nothing stored: a fifth each of the grid, the last less the 8 pixels of the frame.
    EXPECT_EQ(ListLayout::Scaled({-1, -1, -1, -1, -1}, -1, 500),
              (ListLayout::Widths{100, 100, 100, 100, 92}));
    // Doubling the grid doubles the first four.
    EXPECT_EQ(ListLayout::Scaled({200, 100, 150, 50, 90}, 600, 1200),
              (ListLayout::Widths{400, 200, 300, 100, 192}));
    // A grid narrower than the first four keeps a visible last column.
    EXPECT_GE(ListLayout::Scaled({200, 200, 200, 200, 10}, 100, 100).back(), 20);
}

TEST(ListLayoutTest, UserResizeFillsTheGrid)
{
    // Room left: the last column takes it, less 10.
    EXPECT_EQ(ListLayout::AfterUserResize({100, 100, 100, 100, 50}, 600),
              (ListLayout::Widths{100, 100, 100, 100, 190}));
    // A first column dragged too wide: all five shrink in proportion to the grid.
    const ListLayout::Widths shrunk = ListLayout::AfterUserResize({400, 100, 100, 100, 100}, 400);
    EXPECT_EQ(shrunk, (ListLayout::Widths{200, 50, 50, 50, 50}));
}

TEST(WindowPlacementTest, CopiesShareTheScreen)
{
    EXPECT_EQ(WindowPlacement::ForCopies(1), WindowPlacement::Action::Maximise);
    EXPECT_EQ(WindowPlacement::ForCopies(3), WindowPlacement::Action::Choose);
    EXPECT_EQ(WindowPlacement::ForCopies(5), WindowPlacement::Action::Nothing);
    EXPECT_TRUE(WindowPlacement::Choices(5, 1280, 800).isEmpty());
    // Halves and quarters by integer division of an odd screen.
    EXPECT_EQ(WindowPlacement::Choices(2, 1281, 801),
              (QVector<QRect>{QRect(1, 1, 1279, 398), QRect(1, 401, 1279, 398)}));
    EXPECT_EQ(WindowPlacement::Choices(3, 1280, 800),
              (QVector<QRect>{QRect(1, 1, 1278, 398), QRect(1, 401, 638, 398), QRect(641, 401, 638, 398)}));
    const QVector<QRect> four = WindowPlacement::Choices(4, 1280, 800);
    ASSERT_EQ(four.size(), 4);
    EXPECT_EQ(four[1], QRect(641, 1, 638, 398));
    EXPECT_EQ(four[2], QRect(1, 401, 638, 398));
}

class NewRecordingTest : public ::testing::Test
{
protected:
    void WriteConfig(const QByteArray& bytes)
    {
        QFile f(dir.filePath(QStringLiteral("Config.Ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QTemporaryDir dir;
    ScheduleTable table;
};

TEST_F(NewRecordingTest, StartsNowForTwoHoursOnTheLastChannel)
{
    WriteConfig("[Saisie]\r\nChaine=\"\"Arte\"\"\r\n");
    TEmission other;
    other.Programme = QStringLiteral("Avant");
    table.Append(other);
    const int index = NewRecording::Prepare(table, dir.path(), DateTime::FromFields(2024, 3, 4, 23, 10, 42));
    ASSERT_EQ(index, 2);
    const TEmission& e = table[index];
    EXPECT_EQ(e.Chaine, QStringLiteral("Arte"));
    EXPECT_EQ(e.DateDebut, DateTime::FromFields(2024, 3, 4));
    EXPECT_EQ(e.HeureDebut, DateTime::FromTime(23, 10));
    // Two hours later is on the next day.
    EXPECT_EQ(e.DateFin, DateTime::FromFields(2024, 3, 5));
    EXPECT_EQ(e.HeureFin, DateTime::FromTime(1, 10));
    EXPECT_TRUE(e.Actif);
    EXPECT_FALSE(e.InactifPro);
    EXPECT_EQ(e.GridRow, 0);
    EXPECT_NE(e.RecordId, table[1].RecordId);
    EXPECT_EQ(e.Repetition, 0);
}

TEST_F(NewRecordingTest, TakesTheChannelsPreferences)
{
    WriteConfig("[Saisie]\r\nChaine=Arte\r\n");
    const QString folder = dir.filePath(QStringLiteral("arte/"));
    QFile pref(dir.filePath(QStringLiteral("ChannelPref.Ini")));
    ASSERT_TRUE(pref.open(QIODevice::WriteOnly));
    pref.write("[Channels]\r\nFormatArte=.ts\r\nFolderArte=" + folder.toUtf8() + "\r\nFermerArte=1\r\n");
    pref.close();

    const int index = NewRecording::Prepare(table, dir.path(), DateTime::FromFields(2024, 3, 4, 12, 0));
    ASSERT_GT(index, 0);
    EXPECT_EQ(table[index].Fichier, folder + QStringLiteral(".ts"));
    EXPECT_TRUE(table[index].Fermer);
}

TEST_F(NewRecordingTest, AFullListTakesNoMore)
{
    for (int i = 0; i < 256; ++i)
        ASSERT_GT(table.Append(TEmission{}), 0);
    EXPECT_EQ(NewRecording::Prepare(table, dir.path(), DateTime::FromFields(2024, 3, 4, 12, 0)), -1);
    EXPECT_EQ(table.Count(), 256);
}

} // namespace
} // namespace quorx

namespace quorx {
namespace {

TEST(RecordingDriveTest, FilesKeepTheirPathBelowTheNewMountPoint)
{
    FakeDisks disks;
    disks.SetSpace(QStringLiteral("/media/usb"), 1, 2);
    disks.SetSpace(QStringLiteral("/media/big"), 1, 2);
    ScheduleTable table;
    TEmission a;
    a.Fichier = QStringLiteral("/media/usb/tv/soir.ts");
    TEmission b;
    b.Fichier = QStringLiteral("/home/me/video/film.ts"); // on the root file system
    TEmission c;
    c.Fichier = QStringLiteral("/media/big/deja.ts");
    table.Append(a);
    table.Append(b);
    table.Append(c);
    EXPECT_EQ(RecordingDrive::ChangeAll(table, QStringLiteral("/media/big/un/dossier"), disks), 2);
    EXPECT_EQ(table[1].Fichier, QStringLiteral("/media/big/tv/soir.ts"));
    EXPECT_EQ(table[2].Fichier, QStringLiteral("/media/big/home/me/video/film.ts"));
    EXPECT_EQ(table[3].Fichier, QStringLiteral("/media/big/deja.ts"));
    // Back to the root file system.
    RecordingDrive::ChangeAll(table, QStringLiteral("/tmp"), disks);
    EXPECT_EQ(table[1].Fichier, QStringLiteral("/tv/soir.ts"));
}

} // namespace
} // namespace quorx
