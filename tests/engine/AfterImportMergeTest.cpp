#include "EngineTestSupport.h"
#include "channels/ChannelPreferenceStore.h"
#include "common/IniFile.h"
#include "engine/MergeAdjacent.h"
#include "engine/ScheduleEngine.h"
#include "engine/ViewerSchedulerImport.h"
#include "platform/fake/FakePlatform.h"
#include "power/Questions.h"
#include "power/ScriptedQuestionPresenter.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quorx::test {
namespace {

struct Ev
{
    const char* command;
    const char* param;
    const char* time;
};

class ImportMergeTest : public ::testing::Test
{
protected:
    ImportMergeTest()
        : fake(March(4, 12, 0)), view(fake.View()), engine(table, settings, view),
          questions(presenter, settings, view, dir.filePath(QStringLiteral("Config.Ini"))),
          preferences(dir.filePath(QStringLiteral("ChannelPref.Ini")), QStringLiteral("/")),
          merge(table, settings, questions), import(table, settings, engine, &preferences, &merge)
    {
        settings.EPGStandard = true;
        settings.EPGVerify = false;
        viewerFolder = dir.filePath(QStringLiteral("viewer"));
        QDir().mkpath(viewerFolder + QStringLiteral("/Modules"));
    }

    // The viewer writes Modules/Scheduler.INI in its own spelling.
    QString SchedulerFile() const { return viewerFolder + QStringLiteral("/Modules/Scheduler.INI"); }
    void WriteScheduler(std::initializer_list<Ev> events, int count = -1)
    {
        QByteArray text =
            "[Global]\r\nCount=" + QByteArray::number(count < 0 ? int(events.size()) : count) + "\r\n";
        int n = 0;
        for (const Ev& e : events) {
            text += "[Event_" + QByteArray::number(n++) + "]\r\nCommand=" + e.command +
                    "\r\nParam=" + e.param + "\r\nTime=" + e.time + "\r\n";
        }
        QFile f(SchedulerFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QTemporaryDir dir;
    FakePlatform fake;
    Platform view;
    ScheduleTable table;
    Settings settings;
    ScheduleEngine engine;
    ScriptedQuestionPresenter presenter;
    Questions questions;
    ChannelPreferenceStore preferences;
    MergeAdjacent merge;
    ViewerSchedulerImport import;
    QString viewerFolder;
};

TEST_F(ImportMergeTest, TwoStartRecordAfterOneChannelGiveTwoRecordingsAndEmptyTheFile)
{
    ChannelPreferences arte;
    arte.Folder = dir.filePath(QStringLiteral("films"));
    arte.Format = QStringLiteral(".Pva");
    arte.Eteindre = true;
    ASSERT_TRUE(preferences.WriteOwn(PreferenceProfile::OneOff, QStringLiteral("Arte"), arte));
    settings.RepPrioritaire = true;

    WriteScheduler({{"CH", "\"Arte\"", "2024.03.15-20:30:00"},
                    {"StartRecord", "Film", "2024.03.15-20:30:00"},
                    {"StopRecord", "", "2024.03.15-22:15:00"},
                    {"startrecord", "Doc", "2024.03.16-23.40.00"},
                    {"StopRecord", "", "2024.03.17-00.50.00"}});
    const auto result = import.Run(viewerFolder);

    EXPECT_TRUE(result.fileRead);
    EXPECT_EQ(result.taken, 2);
    EXPECT_TRUE(result.error.isEmpty());
    ASSERT_EQ(table.Count(), 2);
    const TEmission& film = table[1];
    EXPECT_EQ(film.Chaine, QStringLiteral("Arte"));
    EXPECT_EQ(film.Programme, QStringLiteral("Film"));
    EXPECT_EQ(film.DateDebut, March(15));
    EXPECT_EQ(film.HeureDebut, Hm(20, 30));
    EXPECT_EQ(film.DateFin, March(15));
    EXPECT_EQ(film.HeureFin, Hm(22, 15));
    EXPECT_TRUE(film.Actif);
    EXPECT_TRUE(film.EPG);
    EXPECT_TRUE(film.Prioritaire);
    EXPECT_TRUE(film.Eteindre);
    EXPECT_EQ(film.Fichier, dir.filePath(QStringLiteral("films/Film.Pva")));
    const TEmission& doc = table[2];
    EXPECT_EQ(doc.Chaine, QStringLiteral("Arte"));
    EXPECT_EQ(doc.DateDebut, March(16));
    EXPECT_EQ(doc.HeureDebut, Hm(23, 40));
    EXPECT_EQ(doc.DateFin, March(17));
    EXPECT_EQ(doc.HeureFin, Hm(0, 50));
    // The last one taken is the one selected.
    EXPECT_FALSE(film.Selected);
    EXPECT_TRUE(doc.Selected);

    const IniFile after(SchedulerFile());
    EXPECT_EQ(after.ReadInteger(QStringLiteral("Global"), QStringLiteral("Count"), -1), 0);
    EXPECT_EQ(after.Sections(), QStringList{QStringLiteral("Global")});
    // Taken once: a second run finds nothing more.
    EXPECT_EQ(import.Run(viewerFolder).taken, 0);
    EXPECT_EQ(table.Count(), 2);
}

TEST_F(ImportMergeTest, MalformedEventsAreSkippedSilently)
{
    WriteScheduler({{"StartRecord", "No channel before", "2024.03.15-18:00:00"},
                    {"StopRecord", "", "2024.03.15-19:00:00"},
                    {"CH", "\"TF1\"", ""},
                    {"StartRecord", "Bad time", "2024.13.15-18:00:00"},
                    {"StopRecord", "", "2024.03.15-19:00:00"},
                    {"StartRecord", "Ends before it starts", "2024.03.15-18:00:00"},
                    {"StopRecord", "", "2024.03.15-17:00:00"},
                    {"StartRecord", "Good", "2024.03.15-21:00:00"},
                    {"StopRecord", "", "2024.03.15-22:00:00"},
                    {"StartRecord", "No stop after", "2024.03.15-23:00:00"}},
                   1000000000);
    const auto result = import.Run(viewerFolder);
    EXPECT_EQ(result.taken, 1);
    ASSERT_EQ(table.Count(), 1);
    EXPECT_EQ(table[1].Programme, QStringLiteral("Good"));
    EXPECT_EQ(table[1].Chaine, QStringLiteral("TF1"));

    // Garbage in place of the file: nothing taken, nothing broken, the file emptied.
    QFile f(SchedulerFile());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("\x00\xff[Global\n=\n[Event_0]Command", 30));
    f.close();
    EXPECT_EQ(import.Run(viewerFolder).taken, 0);
    EXPECT_EQ(table.Count(), 1);
}

TEST_F(ImportMergeTest, NothingHappensWithoutTheSettingOrTheFile)
{
    WriteScheduler({{"CH", "\"Arte\"", ""},
                    {"StartRecord", "Film", "2024.03.15-20:30:00"},
                    {"StopRecord", "", "2024.03.15-22:15:00"}});
    settings.EPGStandard = false;
    EXPECT_FALSE(import.Run(viewerFolder).fileRead);
    EXPECT_EQ(table.Count(), 0);
    EXPECT_EQ(IniFile(SchedulerFile()).ReadInteger(QStringLiteral("Global"), QStringLiteral("Count")), 3);

    settings.EPGStandard = true;
    const QString elsewhere = dir.filePath(QStringLiteral("no-viewer"));
    EXPECT_FALSE(import.Run(elsewhere).fileRead);
    EXPECT_FALSE(QFileInfo::exists(elsewhere)); // no folder is made for a viewer that is not there
}

TEST_F(ImportMergeTest, VerifyHookWithdrawsACancelledRecord)
{
    settings.EPGVerify = true;
    QVector<std::int32_t> shown;
    import.SetVerifyHook([&](std::int32_t id) {
        shown.append(id);
    return shown.size() == 2; // the first is cancelled in the editor
});
WriteScheduler({{"CH", "\"Arte\"", ""},
                {"StartRecord", "One", "2024.03.15-20:00:00"},
                {"StopRecord", "", "2024.03.15-21:00:00"},
                {"StartRecord", "Two", "2024.03.15-21:00:00"},
                {"StopRecord", "", "2024.03.15-22:00:00"}});
const auto result = import.Run(viewerFolder);
EXPECT_EQ(shown.size(), 2);
EXPECT_EQ(result.taken, 1);
ASSERT_EQ(table.Count(), 1);
EXPECT_EQ(table[1].Programme, QStringLiteral("Two"));
// With the editor in charge, no merge is offered even though the two touch.
EXPECT_TRUE(presenter.Requests().isEmpty());
} // namespace

TEST_F(ImportMergeTest, AFullListKeepsWhatCouldNotBeTakenInTheFile)
{
    for (int i = 0; i < ScheduleTable::kMaxRecordings - 1; ++i)
        table.Append(OneOff(QStringLiteral("M6"), March(20), Hm(1, 0), Hm(2, 0)));
    WriteScheduler({{"CH", "\"Arte\"", ""},
                    {"StartRecord", "Taken", "2024.03.15-20:00:00"},
                    {"StopRecord", "", "2024.03.15-21:00:00"},
                    {"StartRecord", "Left", "2024.03.15-22:00:00"},
                    {"StopRecord", "", "2024.03.15-23:00:00"}});
    const auto result = import.Run(viewerFolder);
    EXPECT_EQ(result.taken, 1);
    EXPECT_TRUE(result.listFull);
    EXPECT_EQ(result.error, ScheduleTable::FullListMessage());
    EXPECT_EQ(table.Count(), ScheduleTable::kMaxRecordings);

    // Once room is made, the rest is taken on the same channel.
    table.RemoveAt(1);
    const auto second = import.Run(viewerFolder);
    EXPECT_EQ(second.taken, 1);
    EXPECT_EQ(table[table.Count()].Programme, QStringLiteral("Left"));
    EXPECT_EQ(table[table.Count()].Chaine, QStringLiteral("Arte"));
}

TEST(ViewerSchedulerTimeTest, TimeTextRule)
{
    struct Case
    {
        const char* text;
        bool ok;
        DateTime date, time;
    };
    const Case cases[] = {
        {"2024.03.15-20:30:05", true, March(15), Hm(20, 30, 5)},
        {"2024/3.5-7:05:00", true, March(5), Hm(7, 5)},
        {"2024.03.15-20.30.00", true, March(15), Hm(20, 30)},
        {"2024-03.15-20:30", true, March(15), Hm(20, 30)},
        {"2024.03.15 20:30:00", false, {}, {}},
        {"2024.02.30-20:30:00", false, {}, {}},
        {"2024.03.15-25:00:00", false, {}, {}},
        {"abcd.03.15-20:30:00", false, {}, {}},
        {"", false, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        DateTime date, time;
        EXPECT_EQ(ViewerSchedulerImport::ParseEventTime(QString::fromLatin1(c.text), &date, &time), c.ok);
        if (c.ok) {
            EXPECT_EQ(date, c.date);
            EXPECT_EQ(time, c.time);
        }
    }
}

class MergeTest : public ImportMergeTest
{
protected:
    std::int32_t AddGuide(const QString& programme, DateTime start, DateTime end,
                          const QString& channel = QStringLiteral("Arte"))
    {
        TEmission e = OneOff(channel, March(8), start, end);
        e.Programme = programme;
        e.Fichier = QStringLiteral("/video/") + programme + QStringLiteral(".Mpg");
        return table[table.Append(e)].RecordId;
    }
};

TEST_F(MergeTest, OfferedAt2104ButNotAt2105)
{
    AddGuide(QStringLiteral("Journal"), Hm(20, 0), Hm(21, 0));
    const std::int32_t late = AddGuide(QStringLiteral("Météo"), Hm(21, 5), Hm(21, 30));
    EXPECT_FALSE(merge.Run(late));
    EXPECT_TRUE(presenter.Requests().isEmpty());
    EXPECT_TRUE(table[2].EPG);
    table.RemoveById(late);

    presenter.ScriptYes();
    const std::int32_t a = AddGuide(QStringLiteral("Météo"), Hm(21, 4), Hm(21, 30));
    EXPECT_TRUE(merge.Run(a));
    ASSERT_EQ(presenter.Requests().size(), 1);
    EXPECT_EQ(presenter.LastRequest().number, 139);
    EXPECT_FALSE(presenter.LastRequest().defaultYes);
    EXPECT_TRUE(presenter.LastRequest().offerBox);
    EXPECT_TRUE(presenter.LastRequest().text.contains(QStringLiteral("«Journal»")));

    ASSERT_EQ(table.Count(), 1);
    const TEmission& merged = table[1];
    EXPECT_EQ(merged.RecordId, a);
    EXPECT_EQ(merged.Programme, QStringLiteral("Journal - Météo"));
    EXPECT_EQ(merged.HeureDebut, Hm(20, 0));
    EXPECT_EQ(merged.HeureFin, Hm(21, 30));
    EXPECT_EQ(merged.DateDebut, March(8));
    EXPECT_EQ(merged.DateFin, March(8));
    EXPECT_EQ(merged.Fichier, QStringLiteral("/video/Journal - Météo.Mpg"));
}

TEST_F(MergeTest, MergeRulesForTheOtherRecording)
{
    struct Case
    {
        const char* what;
        bool repeating, inactive, inactifPro, otherChannel;
        bool offered;
    };
    const Case cases[] = {
        {"one-off, same channel in other case", false, false, false, false, true},
        {"repeating", true, false, false, false, false},
        {"switched off", false, true, false, false, false},
        {"next occurrence disabled", false, false, true, false, false},
        {"other channel", false, false, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        table.Clear();
        TEmission b = OneOff(c.otherChannel ? QStringLiteral("TF1") : QStringLiteral("ARTE"), March(8),
                             Hm(20, 0), Hm(21, 0));
        if (c.repeating)
            b.Repetition = kEveryDay;
        b.Actif = !c.inactive;
        b.InactifPro = c.inactifPro;
        table.Append(b);
        // Unscripted, the question answers its default, "no".
        const int before = presenter.Requests().size();
        const std::int32_t a = AddGuide(QStringLiteral("Suite"), Hm(20, 30), Hm(22, 0));
        EXPECT_FALSE(merge.Run(a)); // answered no, or not asked
        EXPECT_EQ(presenter.Requests().size() - before, c.offered ? 1 : 0);
        EXPECT_EQ(table.Count(), 2);
    }
}

TEST_F(MergeTest, LaterRecordKeepsItsStartAndAContainedOneNeverShortensIt)
{
    presenter.ScriptYes();
    presenter.ScriptYes();
    // b follows a, ends the next day: a keeps its start and takes b's end and name after its own.
    AddGuide(QStringLiteral("Nuit"), Hm(23, 0), Hm(1, 0));
    const std::int32_t a = AddGuide(QString(), Hm(22, 0), Hm(22, 58));
    ASSERT_TRUE(merge.Run(a));
    ASSERT_EQ(table.Count(), 1);
    EXPECT_EQ(table[1].Programme, QStringLiteral("Nuit"));
    EXPECT_EQ(table[1].HeureDebut, Hm(22, 0));
    EXPECT_EQ(table[1].HeureFin, Hm(1, 0));
    EXPECT_EQ(table[1].DateFin, March(9));

    // b lies inside a: a keeps its own later end.
    table.Clear();
    AddGuide(QStringLiteral("Extrait"), Hm(20, 30), Hm(21, 0));
    const std::int32_t big = AddGuide(QStringLiteral("Soirée"), Hm(20, 0), Hm(23, 0));
    ASSERT_TRUE(merge.Run(big));
    EXPECT_EQ(table[1].Programme, QStringLiteral("Soirée - Extrait"));
    EXPECT_EQ(table[1].HeureDebut, Hm(20, 0));
    EXPECT_EQ(table[1].HeureFin, Hm(23, 0));
}

TEST_F(MergeTest, AtMostOneMergePerCallAndMarginsCount)
{
    presenter.ScriptYes();
    AddGuide(QStringLiteral("Avant"), Hm(19, 0), Hm(20, 0));
    AddGuide(QStringLiteral("Après"), Hm(21, 0), Hm(22, 0));
    const std::int32_t a = AddGuide(QStringLiteral("Milieu"), Hm(20, 0), Hm(21, 0));
    ASSERT_TRUE(merge.Run(a));
    ASSERT_EQ(table.Count(), 2);
    EXPECT_EQ(table[1].Programme, QStringLiteral("Après"));
    EXPECT_EQ(table[2].Programme, QStringLiteral("Avant - Milieu"));

    // Two minutes of margin at each end bring a gap of eight minutes under five.
    table.Clear();
    settings.DelaiDeb = Hm(0, 2);
    settings.DelaiFin = Hm(0, 2);
    AddGuide(QStringLiteral("Un"), Hm(20, 0), Hm(21, 0));
    const std::int32_t later = AddGuide(QStringLiteral("Deux"), Hm(21, 8), Hm(22, 0));
    EXPECT_EQ(MergeAdjacent::FindAdjacent(table, table.FindById(later), settings.DelaiDeb, settings.DelaiFin),
              1);
    EXPECT_EQ(MergeAdjacent::FindAdjacent(table, table.FindById(later), DateTime(), DateTime()), -1);
}

TEST_F(ImportMergeTest, ImportedRecordIsOfferedTheMergeWhenNotVerified)
{
    TEmission earlier = OneOff(QStringLiteral("Arte"), March(15), Hm(19, 0), Hm(20, 28));
    earlier.Programme = QStringLiteral("Avant");
    table.Append(earlier);
    presenter.ScriptYes();
    WriteScheduler({{"CH", "\"Arte\"", ""},
                    {"StartRecord", "Film", "2024.03.15-20:30:00"},
                    {"StopRecord", "", "2024.03.15-22:15:00"}});
    EXPECT_EQ(import.Run(viewerFolder).taken, 1);
    ASSERT_EQ(table.Count(), 1);
    EXPECT_EQ(table[1].Programme, QStringLiteral("Avant - Film"));
    EXPECT_EQ(table[1].HeureDebut, Hm(19, 0));
    EXPECT_TRUE(table[1].Selected);
}

} // namespace quorx::test
} // namespace quorx::test
