#include "schedule/RecordTimes.h"
#include "schedule/TEmission.h"

#include <gtest/gtest.h>

using namespace quorx;

namespace {

const QDate kDay(2024, 3, 4); // a Monday

DateTime At(int dayOffset, int hour, int minute, int second = 0)
{
    const QDate d = kDay.addDays(dayOffset);
    return DateTime::FromFields(d.year(), d.month(), d.day(), hour, minute, second);
}

struct Case
{
    const char* name;
    int startHour, startMinute, endHour, endMinute;
    int endDayOffset;  // DateFin - DateDebut
    int stopDayOffset; // DateStop - DateDebut: the date of the occurrence's start with its margin
    int startMarginSeconds, endMarginSeconds;
    bool crosses, crossesWithMargins;
    int endDay, endHourOfDay, endMinuteOfDay, endSecond; // expected end of the stop occurrence
};

TEmission RecordOf(const Case& c)
{
    TEmission e;
    e.DateDebut = At(0, 0, 0);
    e.DateFin = At(c.endDayOffset, 0, 0);
    e.HeureDebut = DateTime::FromTime(c.startHour, c.startMinute);
    e.HeureFin = DateTime::FromTime(c.endHour, c.endMinute);
    e.DateStop = At(c.stopDayOffset, 0, 0);
    return e;
}

} // namespace

TEST(RecordTimes, MidnightCrossingsAndTheEndOfTheStopOccurrence)
{
    const Case cases[] = {
        {"same evening", 20, 0, 21, 0, 0, 0, 0, 0, false, false, 0, 21, 0, 0},
        {"margins within the day", 20, 0, 21, 0, 0, 0, 150, 150, false, false, 0, 21, 2, 30},
        {"broadcast past midnight", 23, 30, 0, 30, 1, 0, 0, 300, true, true, 1, 0, 35, 0},
        // The end margin alone runs past midnight: the occurrence still ends the next night, not a
        // day later.
        {"end margin past midnight", 23, 0, 23, 55, 0, 0, 0, 600, false, true, 1, 0, 5, 0},
        // A start margin taking 00:05 back to 23:55 dates the occurrence the day before; it belongs
        // to the broadcast of the day after that.
        {"start margin before midnight", 0, 5, 1, 0, 0, -1, 600, 0, false, true, 0, 1, 0, 0},
        {"stop occurrence of a later week", 20, 0, 21, 0, 0, 7, 0, 60, false, false, 7, 21, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TEmission e = RecordOf(c);
        const DateTime delaiDeb = DateTime::FromSeconds(c.startMarginSeconds);
        const DateTime delaiFin = DateTime::FromSeconds(c.endMarginSeconds);
        EXPECT_EQ(CrossesMidnight(e), c.crosses);
        EXPECT_EQ(CrossesMidnightWithMargins(e, delaiDeb, delaiFin), c.crossesWithMargins);
        EXPECT_EQ(EndOfStopOccurrence(e, delaiDeb, delaiFin).IsoText(),
                  At(c.endDay, c.endHourOfDay, c.endMinuteOfDay, c.endSecond).IsoText());
    }
}

TEST(RecordTimes, MarginsCountTheirWholeSecondsOnly)
{
    EXPECT_EQ(MarginSeconds(DateTime::FromTime(0, 2, 30)), 150);
    EXPECT_EQ(MarginSeconds(DateTime::FromTime(0, 2, 30, 400)), 150);
    EXPECT_EQ(MarginSeconds(DateTime::FromTime(0, 2, 30, 600)), 151);
    // A margin carrying a date by mistake still counts as its time of day.
    EXPECT_EQ(MarginSeconds(DateTime(3.0 + DateTime::FromTime(0, 10).Value())), 600);
    EXPECT_EQ(MarginSeconds(DateTime()), 0);
}
