#include "common/DateTime.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quorx {
namespace {

constexpr double kMs = 1.0 / DateTime::kMsPerDay;

struct CalendarCase
{
    int year, month, day;
    int dayCount;
    int dayOfWeek; // 1 = Monday
};

TEST(DateTimeTest, CalendarFieldsAndDayCountAgree)
{
    const CalendarCase cases[] = {
        {1899, 12, 30, 0, 6},     {1899, 12, 31, 1, 7},    {1900, 1, 1, 2, 1},       {1900, 3, 1, 61, 4},
        {1999, 12, 31, 36525, 5}, {2000, 2, 29, 36585, 2}, {2026, 12, 11, 46367, 5}, {2027, 1, 1, 46388, 5},
    };
    for (const CalendarCase& c : cases) {
        SCOPED_TRACE(c.dayCount);
        const DateTime d = DateTime::FromFields(c.year, c.month, c.day);
        EXPECT_DOUBLE_EQ(d.Value(), c.dayCount);
        const DateTime back(static_cast<double>(c.dayCount) + 0.75);
        EXPECT_EQ(back.Year(), c.year);
        EXPECT_EQ(back.Month(), c.month);
        EXPECT_EQ(back.Day(), c.day);
        EXPECT_EQ(back.DayOfWeek(), c.dayOfWeek);
        EXPECT_EQ(back.Hour(), 18);
        EXPECT_EQ(back.ToQDate(), QDate(c.year, c.month, c.day));
    }
    const DateTime t = DateTime::FromFields(2026, 12, 11, 21, 5, 30);
    EXPECT_EQ(t.Hour(), 21);
    EXPECT_EQ(t.Minute(), 5);
    EXPECT_EQ(t.Second(), 30);
    EXPECT_EQ(DateTime::FromQDateTime(t.ToQDateTime()), t);
}

TEST(DateTimeTest, MomentsWithinOneMillisecondAreEqual)
{
    const DateTime base = DateTime::FromFields(2026, 12, 11, 20, 0);
    const DateTime near(base.Value() + 0.9 * kMs);
    const DateTime far(base.Value() + 1.1 * kMs);

    EXPECT_TRUE(base == near);
    EXPECT_FALSE(base < near);
    EXPECT_FALSE(near > base);
    EXPECT_TRUE(base <= near && base >= near);

    EXPECT_TRUE(base != far);
    EXPECT_TRUE(base < far);
    EXPECT_TRUE(far > base);
    EXPECT_FALSE(base >= far);

    EXPECT_TRUE(DateTime(0.5 * kMs).IsZero());
    EXPECT_FALSE(DateTime(2 * kMs).IsZero());
}

TEST(DateTimeTest, DatesCompareByWholeDays)
{
    const DateTime lateEvening = DateTime::FromFields(2026, 12, 11, 23, 59);
    const DateTime earlyMorning = DateTime::FromFields(2026, 12, 11, 0, 1);
    const DateTime nextDay = DateTime::FromFields(2026, 12, 12, 0, 0);
    EXPECT_TRUE(DateTime::SameDay(lateEvening, earlyMorning));
    EXPECT_FALSE(DateTime::SameDay(lateEvening, nextDay));
    EXPECT_EQ(lateEvening.DatePart(), earlyMorning.DatePart());
}

TEST(DateTimeTest, NearMidnightTheRoundedMillisecondDecidesTheDay)
{
    const double day = 46367.0; // Friday 11/12/2026
    // 23:59:59.9996 is within half a millisecond of midnight: it is already the next day.
    const DateTime justBefore(day + (86399999.6) / DateTime::kMsPerDay);
    EXPECT_EQ(justBefore.DayNumber(), 46368);
    EXPECT_DOUBLE_EQ(justBefore.DatePart().Value(), 46368.0);
    EXPECT_TRUE(justBefore.TimePart().IsZero());
    EXPECT_EQ(justBefore.TimeTextWithSeconds(), QStringLiteral("00:00:00"));
    EXPECT_EQ(justBefore.DateText(), QStringLiteral("12/12/2026"));

    const DateTime stillToday(day + (86399999.4) / DateTime::kMsPerDay);
    EXPECT_EQ(stillToday.DayNumber(), 46367);
    EXPECT_EQ(stillToday.TimeTextWithSeconds(), QStringLiteral("23:59:59"));
    EXPECT_EQ(stillToday.TimePart().Hour(), 23);

    // Hours added one by one land a hair under the next day; that is still midnight.
    DateTime t(day);
    for (int i = 0; i < 24; ++i)
        t = t.AddSeconds(3600);
    EXPECT_EQ(t.DayNumber(), 46368);
    EXPECT_EQ(t.Hour(), 0);
    EXPECT_EQ(t.TimeText(), QStringLiteral("00:00"));
    EXPECT_TRUE(t.TimePart().IsZero());
}

TEST(DateTimeTest, AddingTimeCrossesDaysMonthsAndYears)
{
    const DateTime t = DateTime::FromFields(2026, 12, 31, 23, 30);
    const DateTime later = t.AddMinutes(45);
    EXPECT_EQ(later, DateTime::FromFields(2027, 1, 1, 0, 15));
    EXPECT_EQ(later.Year(), 2027);
    EXPECT_EQ(t.AddSeconds(-86400), DateTime::FromFields(2026, 12, 30, 23, 30));
    EXPECT_EQ(t.AddDays(1), DateTime::FromFields(2027, 1, 1, 23, 30));
    EXPECT_EQ(DateTime::FromFields(2026, 12, 11, 10, 20, 45).WithoutSeconds(),
              DateTime::FromFields(2026, 12, 11, 10, 20));
    EXPECT_EQ(DateTime::FromTime(0, 2, 30).TotalSeconds(), 150);
}

TEST(DateTimeTest, SecondsBetweenTruncatedAndRounded)
{
    struct Case
    {
        double seconds;
        qint64 truncated;
        qint64 rounded;
    };
    const Case cases[] = {{0.0, 0, 0},    {1.4, 1, 1},  {1.6, 1, 2},         {59.999, 59, 60},
                          {-1.6, -1, -2}, {-0.4, 0, 0}, {3600.5, 3600, 3601}};
    const DateTime from = DateTime::FromFields(2026, 12, 11, 20, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        const DateTime to = from.AddSeconds(c.seconds);
        EXPECT_EQ(DateTime::SecondsBetweenTruncated(from, to), c.truncated);
        EXPECT_EQ(DateTime::SecondsBetweenRounded(from, to), c.rounded);
    }
    // Whole minutes built from separate fields must not lose a second to floating point.
    for (int minute = 0; minute < 60; ++minute) {
        const DateTime a = DateTime::FromFields(2026, 12, 11, 23, minute);
        const DateTime b = DateTime::FromFields(2026, 12, 12, 0, 0);
        EXPECT_EQ(DateTime::SecondsBetweenTruncated(a, b), (60 - minute) * 60);
    }
}

TEST(DateTimeTest, TextForms)
{
    const DateTime t = DateTime::FromFields(2026, 12, 11, 9, 5, 7);
    EXPECT_EQ(t.DateText(), QStringLiteral("11/12/2026"));
    EXPECT_EQ(t.TimeText(), QStringLiteral("09:05"));
    EXPECT_EQ(t.TimeTextWithSeconds(), QStringLiteral("09:05:07"));
    EXPECT_EQ(t.LongDayText(CalendarNames::French()), QStringLiteral("vendredi 11 décembre"));
    EXPECT_EQ(DateTime::FromFields(2027, 3, 1).LongDayText(CalendarNames::French()),
              QStringLiteral("lundi 1 mars"));
    EXPECT_EQ(DateTime::FromFields(2027, 2, 1).DateText(), QStringLiteral("01/02/2027"));
    EXPECT_EQ(t.IsoText(), QStringLiteral("2026-12-11 09:05:07"));
    EXPECT_EQ(DateTime::NoTime().IsoText(), QStringLiteral("-"));
}

TEST(DateTimeTest, LongDayTextFollowsTheCurrentNames)
{
    CalendarNames english = CalendarNames::French();
    english.longDays = {QStringLiteral("Monday"),   QStringLiteral("Tuesday"), QStringLiteral("Wednesday"),
                        QStringLiteral("Thursday"), QStringLiteral("Friday"),  QStringLiteral("Saturday"),
                        QStringLiteral("Sunday")};
    english.longMonths[11] = QStringLiteral("December");
    CalendarNames::SetCurrent(english);
    const QString text = DateTime::FromFields(2026, 12, 11).LongDayText();
    CalendarNames::SetCurrent(CalendarNames::French());
    EXPECT_EQ(text, QStringLiteral("Friday 11 December"));
}

TEST(DateTimeTest, ParsesTheAcceptedDateForms)
{
    const struct
    {
        const char* text;
        int year, month, day;
    } good[] = {
        {"11/12/2026", 2026, 12, 11}, {"1/2/2027", 2027, 2, 1},      {"11.12.2026", 2026, 12, 11},
        {"2026-12-11", 2026, 12, 11}, {" 29/02/2000 ", 2000, 2, 29}, {"2027-1-5", 2027, 1, 5},
        {"30/12/1899", 1899, 12, 30},
    };
    for (const auto& c : good) {
        SCOPED_TRACE(c.text);
        DateTime d;
        ASSERT_TRUE(DateTime::ParseDate(QString::fromUtf8(c.text), &d));
        EXPECT_EQ(d, DateTime::FromFields(c.year, c.month, c.day));
    }

    const char* bad[] = {
        "",           "abc",        "31/02/2026",  "11/13/2026", "29/02/2026",      "11/12/26",
        "11/12.2026", "2026/12/11", "11/12/2026x", "1//2026",    "2026-12-11 10:00"};
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        DateTime d(123.0);
        EXPECT_FALSE(DateTime::ParseDate(QString::fromUtf8(text), &d));
        EXPECT_DOUBLE_EQ(d.Value(), 123.0) << "a failed parse must leave the value alone";
    }
}

TEST(DateTimeTest, ParsesTimesAndIsoTexts)
{
    DateTime t;
    ASSERT_TRUE(DateTime::ParseTime(QStringLiteral("9:05"), &t));
    EXPECT_EQ(t, DateTime::FromTime(9, 5));
    ASSERT_TRUE(DateTime::ParseTime(QStringLiteral("23:59:59"), &t));
    EXPECT_EQ(t, DateTime::FromTime(23, 59, 59));
    for (const char* text : {"24:00", "12:60", "12", "12:00:61", "ab:cd", ""}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(DateTime::ParseTime(QString::fromUtf8(text), &t));
    }

    ASSERT_TRUE(DateTime::ParseIso(QStringLiteral("2026-12-11T21:30"), &t));
    EXPECT_EQ(t, DateTime::FromFields(2026, 12, 11, 21, 30));
    ASSERT_TRUE(DateTime::ParseIso(QStringLiteral("2026-12-11 21:30:15"), &t));
    EXPECT_EQ(t, DateTime::FromFields(2026, 12, 11, 21, 30, 15));
    EXPECT_FALSE(DateTime::ParseIso(QStringLiteral("2026-02-30 10:00"), &t));
}

TEST(DateTimeTest, NoTimeAndDamagedValuesStayUsable)
{
    EXPECT_TRUE(DateTime::NoTime().IsNoTime());
    EXPECT_FALSE(DateTime::FromFields(9999, 12, 31).IsNoTime());
    EXPECT_TRUE(DateTime::FromFields(9999, 12, 31) < DateTime::NoTime());

    // Values a damaged file could produce give some date, never undefined arithmetic.
    for (const double v : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(), 1e300, -1e300}) {
        SCOPED_TRACE(v);
        const DateTime d(v);
        const int hour = d.Hour();
        EXPECT_GE(hour, 0);
        EXPECT_LT(hour, 24);
        EXPECT_FALSE(d.TimeText().isEmpty());
    }
    EXPECT_EQ(DateTime(std::numeric_limits<double>::quiet_NaN()).DayNumber(), 0);
}

} // namespace
} // namespace quorx
