#include "engine/RecordingStatus.h"

#include "i18n/LocalisedStrings.h"
#include "schedule/TEmission.h"

namespace quorx {

namespace {
enum Slot : int
{
    HourAnd = 13,
    Hour = 14,
    Hours = 15,
    OneMinute = 17,
    Minutes = 18,
    LessThanAMinute = 19,
    And = 22,
    On = 27,
    PlannedIn = 39,
    EndPlannedIn = 40,
    Untitled = 117,
};
} // namespace

QString RecordingCountdown::DurationText(int hours, int minutes)
{
    QString text;
    if (hours == 1) {
        text = QStringLiteral("1") + (minutes > 0 ? Ls(HourAnd) : Ls(Hour));
    } else if (hours > 1) {
        text = QString::number(hours) + Ls(Hours);
        if (minutes > 0)
            text += Ls(And);
    }
    if (minutes > 0) {
        if (hours == 0 && minutes == 1)
            text += Ls(LessThanAMinute);
        else if (minutes == 1)
            text += Ls(OneMinute);
        else
            text += QString::number(minutes) + Ls(Minutes);
    }
    return text;
}

QString RecordingCountdown::RecordSuffix(const TEmission& record)
{
    const QString name = record.Programme.isEmpty() ? Ls(Untitled) : QLatin1Char('(') + record.Programme;
    return name + Ls(On) + record.Chaine + QLatin1Char(')');
}

QString RecordingCountdown::EndText(DateTime now, DateTime plannedEnd)
{
    if (plannedEnd <= now)
        return Ls(EndPlannedIn) + Ls(LessThanAMinute);
    const qint64 seconds = DateTime::SecondsBetweenTruncated(now, plannedEnd);
    const qint64 minutes = (seconds + 59) / 60;
    return Ls(EndPlannedIn) + DurationText(int(minutes / 60), int(minutes % 60));
}

QString RecordingCountdown::StartText(DateTime now, DateTime plannedStart, StatusTextColour* colour)
{
    *colour = StatusTextColour::Black;
    if (plannedStart.IsNoTime() || DateTime::MsBetween(now, plannedStart) >= qint64(86400) * 1000)
        return QString();
    if (plannedStart <= now) {
        *colour = StatusTextColour::Red;
        return Ls(PlannedIn) + Ls(LessThanAMinute);
    }
    const qint64 minutes = DateTime::SecondsBetweenTruncated(now, plannedStart) / 60 + 1;
    const qint64 wholeLeft = minutes - 1;
    if (wholeLeft > 9)
        *colour = StatusTextColour::Black;
    else if (wholeLeft >= 5)
        *colour = StatusTextColour::Orange;
    else
        *colour = StatusTextColour::Red;
    return Ls(PlannedIn) + DurationText(int(minutes / 60), int(minutes % 60));
}

} // namespace quorx
