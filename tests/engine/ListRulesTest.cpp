#include "engine/ListRules.h"

#include "common/Colours.h"
#include "engine/RecordingWindow.h"
#include "platform/fake/FakePlatform.h"
#include "power/Questions.h"
#include "power/ScriptedQuestionPresenter.h"
#include "schedule/DefaultRecordingStopper.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quorx {
namespace {

using namespace ListRules;

// Monday 4 March 2024, noon.
DateTime Now()
{
    return DateTime::FromFields(2024, 3, 4, 12, 0);
}

TEmission Record(const QString& name, const QString& channel, DateTime nextStart, int startH, int endH)
{
    TEmission e;
    e.Programme = name;
    e.Chaine = channel;
    e.Actif = true;
    e.NextStart = nextStart;
    e.DateDebut = nextStart.DatePart();
    e.DateFin = nextStart.DatePart();
    e.HeureDebut = DateTime::FromTime(startH, 0);
    e.HeureFin = DateTime::FromTime(endH, 0);
    return e;
}

TEST(ListRulesTexts, StartEndAndRepetitionColumns)
{
    Settings s;
    TEmission e = Record(QStringLiteral("Film"), QStringLiteral("Arte"),
                         DateTime::FromFields(2024, 3, 4, 22, 0), 22, 1);
    EXPECT_EQ(StartText(e, s), QStringLiteral("04/03/2024 - 22:00"));
    EXPECT_EQ(EndText(e, s), QStringLiteral("01:00, le lendemain"));
    s.DateLetters = true;
    EXPECT_EQ(StartText(e, s), QStringLiteral("Lundi 4 mars - 22:00"));

    e.CutAtStart = 5;
    e.CutAtEnd = 10;
    e.HeureFin = DateTime::FromTime(23, 0);
    EXPECT_EQ(StartText(e, s), QStringLiteral("Lundi 4 mars - 22:00 | -5 mn"));
    EXPECT_EQ(EndText(e, s), QStringLiteral("23:00 | -10 mn"));
    // The end margin can carry the end past midnight on its own.
    s.DelaiFin = DateTime::FromTime(1, 30);
    e.CutAtEnd = 0;
    EXPECT_EQ(EndText(e, s), QStringLiteral("00:30, le lendemain"));

    EXPECT_EQ(RepetitionText(e, Now()), QString());
    e.Repetition = Lundi | Mercredi | Dimanche;
    EXPECT_EQ(RepetitionText(e, Now()), QStringLiteral("Lu | Me | Di"));
    e.RepetitionFin = DateTime::FromFields(2024, 4, 1);
    EXPECT_EQ(RepetitionText(e, Now()), QStringLiteral("Lu | Me | Di, jusqu'au 01/04/2024"));
    e.DateDebut = DateTime::FromFields(2024, 3, 10);
    EXPECT_EQ(RepetitionText(e, Now()), QStringLiteral("Lu | Me | Di,du 10/03/2024 au 01/04/2024"));
}

TEST(ListRulesTexts, TotalDuration)
{
    const QString prefix = QStringLiteral("Durée totale de la programmation affichée : ");
    const struct
    {
        int minutes;
        QString text;
    } cases[] = {
        {0, QString()},
        {1, prefix + QStringLiteral("1 minute ")},
        {45, prefix + QStringLiteral("45 minutes ")},
        {60, prefix + QStringLiteral("1 heure ")},
        {90, prefix + QStringLiteral("1 heure et 30 minutes ")},
        {120, prefix + QStringLiteral("2 heures ")},
        {121, prefix + QStringLiteral("2 heures et 1 minute ")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TotalDurationText(c.minutes), c.text) << c.minutes;

    Settings s;
    s.DelaiDeb = DateTime::FromTime(0, 5);
    s.DelaiFin = DateTime::FromTime(0, 10);
    const TEmission night = Record(QStringLiteral("N"), QStringLiteral("C"), Now(), 23, 1);
    EXPECT_EQ(OccurrenceMinutes(night, s), 120 + 15);
}

TEST(ListRulesFilter, ModesAndAlwaysShownRows)
{
    Settings s;
    const DateTime now = Now();
    const TEmission today = Record(QStringLiteral("A"), QStringLiteral("C"), now.AddMinutes(60), 13, 14);
    const TEmission nextWeek = Record(QStringLiteral("B"), QStringLiteral("C"), now.AddDays(7), 13, 14);
    TEmission tomorrowByDay = Record(QStringLiteral("D"), QStringLiteral("C"), now.AddDays(3), 13, 14);
    tomorrowByDay.Repetition = Mardi;
    const TEmission thursday = Record(QStringLiteral("E"), QStringLiteral("C"), now.AddDays(3), 13, 14);
    const RowState plain;
    RowState next;
    next.isNext = true;
    RowState recording;
    recording.isRecording = true;

    const struct
    {
        int mode;
        const TEmission* e;
        RowState state;
        bool alwaysNext;
        bool shown;
    } cases[] = {
        {ModeAll, &nextWeek, plain, true, true},
        {ModeRecording, &today, plain, true, false},
        {ModeRecording, &today, recording, true, true},
        {ModeNext, &today, plain, true, false},
        {ModeNext, &nextWeek, next, false, true},
        {ModeToday, &today, plain, true, true},
        {ModeToday, &nextWeek, plain, true, false},
        {ModeToday, &nextWeek, next, true, true}, // the next one shows even when it is next week
        {ModeToday, &nextWeek, next, false, false},
        {ModeWeek, &thursday, plain, true, true},
        {ModeWeek, &nextWeek, plain, true, false},
        {ModeTomorrow, &tomorrowByDay, plain, true, true},
        {ModeTomorrow, &thursday, plain, true, false},
        {ModeTomorrow, &today, recording, true, true}, // always show the recording under way
    };
    for (const auto& c : cases) {
        s.Afficher = c.mode;
        s.AlwaysShowNextProgram = c.alwaysNext;
        EXPECT_EQ(IsShown(*c.e, c.state, s, now), c.shown)
            << "mode " << c.mode << " " << qPrintable(c.e->Programme);
    }

    s.Afficher = ModeToday;
    TEmission failed = nextWeek;
    failed.Erreur = true;
    EXPECT_TRUE(IsShown(failed, plain, s, now));
    s.AlwaysShowErrorProgram = false;
    EXPECT_FALSE(IsShown(failed, plain, s, now));

    s.Afficher = ModeAll;
    s.HideDisabledPrograms = true;
    TEmission off = today;
    off.Actif = false;
    EXPECT_FALSE(IsShown(off, recording, s, now));
    off.Actif = true;
    off.InactifPro = true;
    EXPECT_FALSE(IsShown(off, plain, s, now));
}

TEST(ListRulesSort, StableOrdersAndWindowsFollowTheirRecords)
{
    ScheduleTable table;
    const DateTime now = Now();
    table.Append(Record(QStringLiteral("zeta"), QStringLiteral("TF1"), now.AddDays(2), 10, 11));
    table.Append(Record(QStringLiteral("Alpha"), QStringLiteral("arte"), now.AddDays(1), 10, 11));
    table.Append(Record(QStringLiteral("alpha"), QStringLiteral("Arte"), now.AddDays(3), 10, 11));
    TEmission daily = Record(QStringLiteral("beta"), QStringLiteral("M6"), now.AddDays(1), 10, 11);
    daily.Repetition = 0x7F;
    table.Append(daily);
    RecordingWindowTable windows;
    for (int i = 1; i <= table.Count(); ++i)
        windows[i].start = table[i].NextStart;

    const auto names = [&] {
        QStringList out;
        for (int i = 1; i <= table.Count(); ++i)
            out << table[i].Programme;
        return out.join(QLatin1Char(','));
    };
    EXPECT_TRUE(Sort(table, windows, ByName, now));
    EXPECT_EQ(names(), QStringLiteral("Alpha,alpha,beta,zeta")); // equal names keep their order
    EXPECT_FALSE(Sort(table, windows, ByName, now));
    // Already in channel order without regard to case: nothing moves.
    EXPECT_FALSE(Sort(table, windows, ByChannel, now));
    Sort(table, windows, ByStart, now);
    EXPECT_EQ(names(), QStringLiteral("Alpha,beta,zeta,alpha"));
    Sort(table, windows, ByRepetition, now);
    EXPECT_EQ(names().section(QLatin1Char(','), 0, 0), QStringLiteral("beta"));
    for (int i = 1; i <= table.Count(); ++i)
        EXPECT_EQ(windows[i].start, table[i].NextStart) << i;
}

TEST(ListRulesStyle, BackgroundsAndOverrides)
{
    const DateTime now = Now();
    TEmission e = Record(QStringLiteral("A"), QStringLiteral("C"), now, 13, 14);
    RowState plain;
    EXPECT_EQ(StyleOf(e, 0, plain, 0, now).background, MakeColour(255, 255, 255));
    EXPECT_TRUE(StyleOf(e, 0, plain, 0, now).bold);
    EXPECT_FALSE(StyleOf(e, 1, plain, 0, now).bold);
    e.Repetition = Lundi | Mardi;
    const int twoDays = ColorToHls(StyleOf(e, 1, plain, 0, now).background).luminance;
    e.Repetition = 0x7F;
    const int daily = ColorToHls(StyleOf(e, 1, plain, 0, now).background).luminance;
    EXPECT_LT(daily, twoDays);
    EXPECT_EQ(ColorToHls(RepeatingBackground(0)).luminance - daily, 18); // 17.5 rounds to even

    e.InactifPro = true;
    EXPECT_EQ(StyleOf(e, 1, plain, 0, now).text, MakeColour(129, 129, 129));
    e.Actif = false;
    EXPECT_EQ(StyleOf(e, 1, plain, 0, now).text, MakeColour(174, 174, 174));
    RowState next;
    next.isNext = true;
    EXPECT_EQ(StyleOf(e, 1, next, 0, now).text, MakeColour(255, 0, 0));
    e.NextStart = now.AddDays(2);
    EXPECT_EQ(StyleOf(e, 1, next, ModeToday, now).text, MakeColour(255, 117, 117));
    RowState recording;
    recording.isRecording = true;
    const CellStyle rec = StyleOf(e, 1, recording, 0, now);
    EXPECT_EQ(rec.background, MakeColour(255, 0, 0));
    EXPECT_TRUE(rec.bold);
    e.Erreur = true;
    e.Etat = 3;
    e.CutAtEnd = -1;
    EXPECT_EQ(StyleOf(e, 1, recording, 0, now).background, MakeColour(255, 128, 0));
    EXPECT_TRUE(StyleOf(e, 0, plain, 0, now).strikeOut);
    e.Etat = 0;
    EXPECT_FALSE(StyleOf(e, 1, plain, 0, now).strikeOut);
    EXPECT_TRUE(StyleOf(e, 3, plain, 0, now).strikeOut);
}

TEST(ListRulesMenu, VisibilityRules)
{
    ScheduleTable table;
    const DateTime now = Now();
    const int once = table.Append(Record(QStringLiteral("A"), QStringLiteral("C"), now.AddDays(1), 13, 14));
    TEmission rep = Record(QStringLiteral("B"), QStringLiteral("C"), now.AddDays(1), 13, 14);
    rep.Repetition = Lundi;
    const int repeating = table.Append(rep);

    MenuState m = MenuFor(table, {}, -1, once, QString(), now);
    EXPECT_FALSE(m.modify);
    EXPECT_FALSE(m.remove);
    EXPECT_TRUE(m.add);
    EXPECT_TRUE(m.wholeList);
    EXPECT_FALSE(m.inactive);

    m = MenuFor(table, {once}, once, once, QStringLiteral("vizezezoruvav zomvara\nrest"), now);
    EXPECT_TRUE(m.modify && m.remove && m.copy && m.cut && m.priority && m.duplicate && m.paste);
    EXPECT_TRUE(m.startStop);
    EXPECT_FALSE(m.startStopStops);
    EXPECT_FALSE(m.inactive);
    EXPECT_FALSE(m.reset);

    m = MenuFor(table, {once, repeating}, repeating, once, QStringLiteral("other"), now);
    EXPECT_TRUE(m.inactive && m.skipNext);
    EXPECT_FALSE(m.startStop);
    EXPECT_FALSE(m.paste);

    table[once].Etat = 1;
    m = MenuFor(table, {repeating, once}, once, once, QString(), now);
    EXPECT_FALSE(m.inactive); // the recording under way hides them again
    EXPECT_TRUE(m.startStopStops);

    table[repeating].Erreur = true;
    table[repeating].Prioritaire = true;
    table[repeating].Actif = false;
    m = MenuFor(table, {repeating}, repeating, once, QString(), now);
    EXPECT_TRUE(m.reset);
    EXPECT_TRUE(m.priorityChecked && m.inactiveChecked);
    table[repeating].Erreur = false;
    table[repeating].DateStop = now.AddDays(1).DatePart();
    EXPECT_TRUE(MenuFor(table, {repeating}, repeating, -1, QString(), now).reset);
    table[repeating].InactifPro = true;
    EXPECT_FALSE(MenuFor(table, {repeating}, repeating, -1, QString(), now).reset);

    table.Clear();
    for (int i = 0; i < ScheduleTable::kMaxRecordings; ++i)
        table.Append(Record(QStringLiteral("X"), QStringLiteral("C"), now, 13, 14));
    m = MenuFor(table, {1}, 1, -1, QString(), now);
    EXPECT_FALSE(m.add || m.import || m.duplicate);
}

TEST(ListRulesCommands, RecordChanges)
{
    TEmission e =
        Record(QStringLiteral("A"), QStringLiteral("C"), DateTime::FromFields(2024, 3, 5, 13, 0), 13, 14);
    ToggleSkipNext(e);
    EXPECT_FALSE(e.InactifPro) << "one-off recordings are left alone";
    e.Repetition = Mardi;
    e.EPG = true;
    e.Actif = false;
    e.Erreur = true;
    e.Etat = 3;
    ToggleSkipNext(e);
    EXPECT_TRUE(e.InactifPro && e.Actif);
    EXPECT_FALSE(e.EPG || e.Erreur);
    EXPECT_EQ(e.Etat, 0);
    EXPECT_EQ(e.DateStop, DateTime::FromFields(2024, 3, 5));
    ToggleInactive(e);
    EXPECT_FALSE(e.Actif || e.InactifPro);
    TogglePriority(e);
    EXPECT_TRUE(e.Prioritaire);
    e.Etat = 3;
    e.Erreur = true;
    Reset(e);
    EXPECT_EQ(e.Etat, 0);
    EXPECT_TRUE(e.DateStop.IsZero());
    EXPECT_FALSE(e.Erreur);
    e.Etat = 1;
    Reset(e);
    EXPECT_EQ(e.Etat, 1) << "the recording under way keeps its state";
}

TEST(ListRulesCommands, DeleteAsksOnceWithThePluralText)
{
    QTemporaryDir dir;
    FakePlatform fake(Now());
    const Platform view = fake.View();
    Settings settings;
    ScriptedQuestionPresenter presenter;
    Questions questions(presenter, settings, view, dir.filePath(QStringLiteral("Config.Ini")));
    DefaultRecordingStopper stopper;
    ScheduleTable table;
    for (const char* name : {"a", "b", "c", "d"})
        table.Append(Record(QString::fromLatin1(name), QStringLiteral("C"), Now(), 13, 14));

    presenter.ScriptNo();
    EXPECT_EQ(DeleteRecords(table, {1, 3, 4}, questions, stopper), 0);
    EXPECT_EQ(table.Count(), 4);
    presenter.ScriptYes();
    EXPECT_EQ(DeleteRecords(table, {4, 1, 3}, questions, stopper), 3);
    ASSERT_EQ(presenter.Requests().size(), 2);
    EXPECT_EQ(presenter.LastRequest().text, QStringLiteral("Voulez-vous vraiment effacer ces programmes ?"));
    EXPECT_EQ(presenter.LastRequest().number, 4);
    ASSERT_EQ(table.Count(), 1);
    EXPECT_EQ(table[1].Programme, QStringLiteral("b"));

    presenter.ScriptYes();
    EXPECT_EQ(DeleteRecords(table, {1}, questions, stopper, true), 1);
    EXPECT_EQ(presenter.LastRequest().text, QStringLiteral("Voulez-vous vraiment effacer ce programme ?"));
    EXPECT_EQ(presenter.LastRequest().number, 44);
    EXPECT_EQ(DeleteRecords(table, {}, questions, stopper), 0);
    EXPECT_EQ(presenter.Unexpected(), 0);
}

} // namespace
} // namespace quorx
