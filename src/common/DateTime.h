#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>

#include <cmath>
#include <cstdint>

namespace quorx {

// Day and month names used by the long date texts; the translator replaces them when the
// interface language changes. Days start on Monday.
struct CalendarNames
{
    QStringList longDays;   // 7 names, Monday first
    QStringList shortDays;  // 7 names, Monday first
    QStringList longMonths; // 12 names
    QStringList shortMonths;

    static const CalendarNames& French();
    static const CalendarNames& Current();
    static void SetCurrent(const CalendarNames& names);
};

// The program's date-time: a count of days since 1899-12-30 with the time of day as the
// fraction, in local wall time. Stored files and every rule of the scheduler use this value,
// so it stays a plain double rather than a QDateTime (which would bring time zones in).
class DateTime
{
public:
    static constexpr double kNoTimeValue = 2147483647.0;
    static constexpr double kMsPerDay = 86400000.0;
    static constexpr double kSecondsPerDay = 86400.0;

    constexpr DateTime() = default;
    constexpr explicit DateTime(double days) : m_days(days) {}

    static constexpr DateTime NoTime() { return DateTime(kNoTimeValue); }
    static DateTime FromFields(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                               int msec = 0);
    static DateTime FromDate(const QDate& date);
    static DateTime FromTime(int hour, int minute, int second = 0, int msec = 0);
    static DateTime FromQDateTime(const QDateTime& dt);
    static DateTime FromSeconds(double seconds) { return DateTime(seconds / kSecondsPerDay); }

    constexpr double Value() const { return m_days; }
    bool IsNoTime() const { return m_days >= kNoTimeValue - 0.5; }
    bool IsZero() const { return *this == DateTime(); }

    // Whole days (the date part) and the fraction (the time of day).
    DateTime DatePart() const;
    DateTime TimePart() const;
    // Taken after rounding to the millisecond, so 23:59:59.9996 already belongs to the next day.
    int DayNumber() const;

    QDate ToQDate() const;
    QTime ToQTime() const;
    QDateTime ToQDateTime() const;

    int Year() const { return ToQDate().year(); }
    int Month() const { return ToQDate().month(); }
    int Day() const { return ToQDate().day(); }
    int Hour() const;
    int Minute() const;
    int Second() const;
    // 1 = Monday ... 7 = Sunday.
    int DayOfWeek() const { return ToQDate().dayOfWeek(); }

    DateTime AddDays(double days) const { return DateTime(m_days + days); }
    DateTime AddSeconds(double seconds) const { return DateTime(m_days + seconds / kSecondsPerDay); }
    DateTime AddMinutes(double minutes) const { return AddSeconds(minutes * 60.0); }
    // Seconds of the time of day dropped (the stored times carry hours and minutes only).
    DateTime WithoutSeconds() const;

    // Milliseconds rounded to the nearest; positive when other is later.
    static qint64 MsBetween(DateTime from, DateTime to);
    // Whole seconds from one moment to the other: truncated toward zero or rounded to nearest.
    static qint64 SecondsBetweenTruncated(DateTime from, DateTime to);
    static qint64 SecondsBetweenRounded(DateTime from, DateTime to);
    // Seconds of a time-of-day value such as a margin, rounded to the nearest second.
    qint64 TotalSeconds() const { return static_cast<qint64>(std::llround(m_days * kSecondsPerDay)); }

    static bool SameDay(DateTime a, DateTime b) { return a.DayNumber() == b.DayNumber(); }

    // Two moments within one millisecond are the same moment.
    friend bool operator==(DateTime a, DateTime b) { return std::fabs(a.m_days - b.m_days) * kMsPerDay < 1.0; }
    friend bool operator!=(DateTime a, DateTime b) { return !(a == b); }
    friend bool operator<(DateTime a, DateTime b) { return a.m_days < b.m_days && a != b; }
    friend bool operator>(DateTime a, DateTime b) { return b < a; }
    friend bool operator<=(DateTime a, DateTime b) { return !(b < a); }
    friend bool operator>=(DateTime a, DateTime b) { return !(a < b); }

    // Text forms: dd/mm/yyyy, hh:nn, hh:nn:ss, and "dddd d mmmm" with the interface's names.
    QString DateText() const;
    QString TimeText() const;
    QString TimeTextWithSeconds() const;
    QString LongDayText(const CalendarNames& names = CalendarNames::Current()) const;
    // "yyyy-mm-dd hh:nn:ss", used by the command-line tools.
    QString IsoText() const;

    // Reading accepts dd/mm/yyyy, d/m/yyyy, dd.mm.yyyy and yyyy-mm-dd; a failure returns false and
    // leaves *out alone.
    static bool ParseDate(const QString& text, DateTime* out);
    // Reading accepts h:nn and h:nn:ss (hours 0 to 23).
    static bool ParseTime(const QString& text, DateTime* out);
    // "yyyy-mm-dd hh:nn[:ss]" or "yyyy-mm-ddThh:nn[:ss]".
    static bool ParseIso(const QString& text, DateTime* out);

private:
    void Split(int* hour, int* minute, int* second, int* msec) const;

    double m_days = 0.0;
};

} // namespace quorx
