#include "common/DateTime.h"

#include <QRegularExpression>

#include <algorithm>
#include <limits>

namespace quorx {

namespace {

const QDate& Origin()
{
    static const QDate origin(1899, 12, 30);
    return origin;
}

CalendarNames& CurrentNames()
{
    static CalendarNames names = CalendarNames::French();
    return names;
}

constexpr qint64 kMsPerDayInt = 86400000LL;
// Far beyond any real date, yet small enough that the milliseconds fit in 64 bits.
constexpr double kLargestDays = 1.0e11;

// A damaged file may hand us NaN or an absurd value; clamp it rather than let the
// conversion overflow.
qint64 TotalMs(double days)
{
    if (!std::isfinite(days))
        return 0;
    days = std::clamp(days, -kLargestDays, kLargestDays);
    return static_cast<qint64>(std::llround(days * DateTime::kMsPerDay));
}

qint64 FloorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace

const CalendarNames& CalendarNames::French()
{
    static const CalendarNames names{
        {QStringLiteral("lundi"), QStringLiteral("mardi"), QStringLiteral("mercredi"), QStringLiteral("jeudi"),
         QStringLiteral("vendredi"), QStringLiteral("samedi"), QStringLiteral("dimanche")},
        {QStringLiteral("lun."), QStringLiteral("mar."), QStringLiteral("mer."), QStringLiteral("jeu."),
         QStringLiteral("ven."), QStringLiteral("sam."), QStringLiteral("dim.")},
        {QStringLiteral("janvier"), QStringLiteral("février"), QStringLiteral("mars"), QStringLiteral("avril"),
         QStringLiteral("mai"), QStringLiteral("juin"), QStringLiteral("juillet"), QStringLiteral("août"),
         QStringLiteral("septembre"), QStringLiteral("octobre"), QStringLiteral("novembre"),
         QStringLiteral("décembre")},
        {QStringLiteral("janv."), QStringLiteral("févr."), QStringLiteral("mars"), QStringLiteral("avr."),
         QStringLiteral("mai"), QStringLiteral("juin"), QStringLiteral("juil."), QStringLiteral("août"),
         QStringLiteral("sept."), QStringLiteral("oct."), QStringLiteral("nov."), QStringLiteral("déc.")},
    };
    return names;
}

const CalendarNames& CalendarNames::Current() { return CurrentNames(); }

void CalendarNames::SetCurrent(const CalendarNames& names) { CurrentNames() = names; }

DateTime DateTime::FromFields(int year, int month, int day, int hour, int minute, int second, int msec)
{
    return DateTime(FromDate(QDate(year, month, day)).m_days + FromTime(hour, minute, second, msec).m_days);
}

DateTime DateTime::FromDate(const QDate& date)
{
    if (!date.isValid())
        return DateTime();
    return DateTime(static_cast<double>(Origin().daysTo(date)));
}

DateTime DateTime::FromTime(int hour, int minute, int second, int msec)
{
    const qint64 ms = ((static_cast<qint64>(hour) * 60 + minute) * 60 + second) * 1000 + msec;
    return DateTime(static_cast<double>(ms) / kMsPerDay);
}

DateTime DateTime::FromQDateTime(const QDateTime& dt)
{
    if (!dt.isValid())
        return DateTime();
    const QTime t = dt.time();
    return DateTime(FromDate(dt.date()).m_days + FromTime(t.hour(), t.minute(), t.second(), t.msec()).m_days);
}

int DateTime::DayNumber() const
{
    const qint64 day = FloorDiv(TotalMs(m_days), kMsPerDayInt);
    return static_cast<int>(std::clamp<qint64>(day, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}

DateTime DateTime::DatePart() const
{
    return DateTime(static_cast<double>(DayNumber()));
}

DateTime DateTime::TimePart() const
{
    const qint64 total = TotalMs(m_days);
    const qint64 ms = total - FloorDiv(total, kMsPerDayInt) * kMsPerDayInt;
    return DateTime(static_cast<double>(ms) / kMsPerDay);
}

void DateTime::Split(int* hour, int* minute, int* second, int* msec) const
{
    const qint64 total = TotalMs(m_days);
    qint64 ms = total - FloorDiv(total, kMsPerDayInt) * kMsPerDayInt;
    *msec = static_cast<int>(ms % 1000);
    ms /= 1000;
    *second = static_cast<int>(ms % 60);
    ms /= 60;
    *minute = static_cast<int>(ms % 60);
    *hour = static_cast<int>(ms / 60);
}

int DateTime::Hour() const
{
    int h, m, s, ms;
    Split(&h, &m, &s, &ms);
    return h;
}

int DateTime::Minute() const
{
    int h, m, s, ms;
    Split(&h, &m, &s, &ms);
    return m;
}

int DateTime::Second() const
{
    int h, m, s, ms;
    Split(&h, &m, &s, &ms);
    return s;
}

QDate DateTime::ToQDate() const { return Origin().addDays(DayNumber()); }

QTime DateTime::ToQTime() const
{
    int h, m, s, ms;
    Split(&h, &m, &s, &ms);
    return QTime(h, m, s, ms);
}

QDateTime DateTime::ToQDateTime() const { return QDateTime(ToQDate(), ToQTime()); }

DateTime DateTime::WithoutSeconds() const
{
    int h, m, s, ms;
    Split(&h, &m, &s, &ms);
    return DateTime(static_cast<double>(DayNumber()) + FromTime(h, m).m_days);
}

qint64 DateTime::MsBetween(DateTime from, DateTime to) { return TotalMs(to.m_days - from.m_days); }

qint64 DateTime::SecondsBetweenTruncated(DateTime from, DateTime to) { return MsBetween(from, to) / 1000; }

qint64 DateTime::SecondsBetweenRounded(DateTime from, DateTime to)
{
    return static_cast<qint64>(std::llround(static_cast<double>(MsBetween(from, to)) / 1000.0));
}

QString DateTime::DateText() const
{
    const QDate d = ToQDate();
    return QStringLiteral("%1/%2/%3")
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.year(), 4, 10, QLatin1Char('0'));
}

QString DateTime::TimeText() const
{
    int h, m, s, ms;
    Split(&h, &m, &s, &ms);
    return QStringLiteral("%1:%2").arg(h, 2, 10, QLatin1Char('0')).arg(m, 2, 10, QLatin1Char('0'));
}

QString DateTime::TimeTextWithSeconds() const
{
    int h, m, s, ms;
    Split(&h, &m, &s, &ms);
    return QStringLiteral("%1:%2:%3")
        .arg(h, 2, 10, QLatin1Char('0'))
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(s, 2, 10, QLatin1Char('0'));
}

QString DateTime::LongDayText(const CalendarNames& names) const
{
    const QDate d = ToQDate();
    const QString day = names.longDays.value(d.dayOfWeek() - 1);
    const QString month = names.longMonths.value(d.month() - 1);
    return day + QLatin1Char(' ') + QString::number(d.day()) + QLatin1Char(' ') + month;
}

QString DateTime::IsoText() const
{
    if (IsNoTime())
        return QStringLiteral("-");
    const QDate d = ToQDate();
    return QStringLiteral("%1-%2-%3 ")
               .arg(d.year(), 4, 10, QLatin1Char('0'))
               .arg(d.month(), 2, 10, QLatin1Char('0'))
               .arg(d.day(), 2, 10, QLatin1Char('0')) +
           TimeTextWithSeconds();
}

bool DateTime::ParseDate(const QString& text, DateTime* out)
{
    // One separator throughout: "11/12.2026" is a typing error, not a date.
    static const QRegularExpression dmy(QStringLiteral("^\\s*(\\d{1,2})([/.\\-])(\\d{1,2})\\2(\\d{4})\\s*$"));
    static const QRegularExpression ymd(QStringLiteral("^\\s*(\\d{4})-(\\d{1,2})-(\\d{1,2})\\s*$"));
    QDate date;
    if (const auto m = ymd.match(text); m.hasMatch())
        date = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    else if (const auto m2 = dmy.match(text); m2.hasMatch())
        date = QDate(m2.captured(4).toInt(), m2.captured(3).toInt(), m2.captured(1).toInt());
    if (!date.isValid())
        return false;
    *out = FromDate(date);
    return true;
}

bool DateTime::ParseTime(const QString& text, DateTime* out)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return false;
    const int h = m.captured(1).toInt();
    const int mi = m.captured(2).toInt();
    const int s = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    if (h > 23 || mi > 59 || s > 59)
        return false;
    *out = FromTime(h, mi, s);
    return true;
}

bool DateTime::ParseIso(const QString& text, DateTime* out)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[ T](\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return false;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const int h = m.captured(4).isEmpty() ? 0 : m.captured(4).toInt();
    const int mi = m.captured(5).isEmpty() ? 0 : m.captured(5).toInt();
    const int s = m.captured(6).isEmpty() ? 0 : m.captured(6).toInt();
    if (!date.isValid() || h > 23 || mi > 59 || s > 59)
        return false;
    *out = DateTime(FromDate(date).m_days + FromTime(h, mi, s).m_days);
    return true;
}

} // namespace quorx
