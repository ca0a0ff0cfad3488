#include "engine/ViewerSchedulerImport.h"

#include "channels/ChannelPreferenceStore.h"
#include "common/IniFile.h"
#include "common/Paths.h"
#include "engine/MergeAdjacent.h"
#include "engine/ScheduleEngine.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"

#include <QFileInfo>
#include <QVector>

namespace quorx {

namespace {

const QString kGlobal = QStringLiteral("Global");
const QString kCount = QStringLiteral("Count");

struct Event
{
    QString command;
    QString param;
    QString time;
    bool Is(const char* name) const
    {
        return command.trimmed().compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
    }
};

QString EventSection(int number)
{
    return QStringLiteral("Event_") + QString::number(number);
}

// Count as written, but never beyond the events that are there, so that a damaged count cannot
// make the reading run for ever.
QVector<Event> ReadEvents(const IniFile& ini)
{
    const int count = ini.ReadInteger(kGlobal, kCount, 0);
    int highest = -1;
    const QString prefix = QStringLiteral("event_");
    for (const QString& section : ini.Sections()) {
        if (!section.startsWith(prefix, Qt::CaseInsensitive))
            continue;
        bool ok = false;
        const int number = section.mid(prefix.size()).toInt(&ok);
        if (ok && number >= 0 && number > highest)
            highest = number;
    }
    const int n = qMin(count, highest + 1);
    QVector<Event> events;
    events.reserve(qMax(0, n));
    for (int e = 0; e < n; ++e) {
        const QString section = EventSection(e);
        events.append({ini.ReadString(section, QStringLiteral("Command")),
                       ini.ReadString(section, QStringLiteral("Param")),
                       ini.ReadString(section, QStringLiteral("Time"))});
    }
    return events;
}

// The channel is written in double quotes; the file reader may have taken one pair off already.
QString ChannelOf(const QString& param)
{
    QString channel = param.trimmed();
    if (channel.size() >= 2 && channel.startsWith(QLatin1Char('"')) && channel.endsWith(QLatin1Char('"')))
        channel = channel.mid(1, channel.size() - 2);
    return channel.trimmed();
}

bool ToNumber(const QString& text, int* out)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (ok)
        *out = value;
    return ok;
}

} // namespace

ViewerSchedulerImport::ViewerSchedulerImport(ScheduleTable& table, const Settings& settings,
                                             ScheduleEngine& engine,
                                             const ChannelPreferenceStore* preferences, MergeAdjacent* merge)
    : m_table(table), m_settings(settings), m_engine(engine), m_preferences(preferences), m_merge(merge)
{
}

bool ViewerSchedulerImport::ParseEventTime(const QString& text, DateTime* date, DateTime* time)
{
    const QString t = text.trimmed();
    if (t.size() < 6)
        return false;
    int year = 0, month = 0, day = 0;
    if (!ToNumber(t.left(4), &year))
        return false;
    const QString afterYear = t.mid(5);
    const qsizetype monthEnd = afterYear.indexOf(QLatin1Char('.'));
    if (monthEnd < 0 || !ToNumber(afterYear.left(monthEnd), &month))
        return false;
    const QString afterMonth = afterYear.mid(monthEnd + 1);
    const qsizetype dayEnd = afterMonth.indexOf(QLatin1Char('-'));
    if (dayEnd < 0 || !ToNumber(afterMonth.left(dayEnd), &day))
        return false;
    const QString clock = afterMonth.mid(dayEnd + 1);
    const QChar separator = clock.contains(QLatin1Char(':')) ? QLatin1Char(':') : QLatin1Char('.');
    const QStringList parts = clock.split(separator);
    int hour = 0, minute = 0, second = 0;
    if (parts.size() < 2 || parts.size() > 3 || !ToNumber(parts[0], &hour) || !ToNumber(parts[1], &minute))
        return false;
    if (parts.size() == 3 && !ToNumber(parts[2], &second))
        return false;
    if (!QDate::isValid(year, month, day) || !QTime::isValid(hour, minute, second))
        return false;
    *date = DateTime::FromFields(year, month, day);
    *time = DateTime::FromTime(hour, minute, second);
    return true;
}

ViewerSchedulerImport::Result ViewerSchedulerImport::Run(const QString& viewerFolder)
{
    Result result;
    if (!m_settings.EPGStandard || m_running || viewerFolder.isEmpty())
        return result;
    const QString path = FindFileNoCase(viewerFolder, FileRelativePath());
    if (!QFileInfo(path).isFile())
        return result;
    m_running = true;

    IniFile file(path);
    result.fileRead = true;
    const QVector<Event> events = ReadEvents(file);
    int firstLeft = -1; // the first event left in the file when the list is full

    for (int e = 0; e < events.size(); ++e) {
        if (!events[e].Is("StartRecord"))
            continue;
        int channelEvent = -1;
        for (int j = e - 1; j >= 0 && channelEvent < 0; --j)
            if (events[j].Is("CH"))
                channelEvent = j;
        int stopEvent = -1;
        for (int j = e + 1; j < events.size() && stopEvent < 0; ++j)
            if (events[j].Is("StopRecord"))
                stopEvent = j;
        if (channelEvent < 0 || stopEvent < 0)
            continue;
        TEmission record;
        record.Chaine = ChannelOf(events[channelEvent].param);
        record.Programme = events[e].param.trimmed();
        DateTime startDate, startTime, endDate, endTime;
        if (record.Chaine.isEmpty() || !ParseEventTime(events[e].time, &startDate, &startTime) ||
            !ParseEventTime(events[stopEvent].time, &endDate, &endTime))
            continue;
        // Stored times carry hours and minutes only.
        record.DateDebut = startDate;
        record.HeureDebut = DateTime::FromTime(startTime.Hour(), startTime.Minute());
        record.DateFin = endDate;
        record.HeureFin = DateTime::FromTime(endTime.Hour(), endTime.Minute());
        if (DateTime(record.DateFin.Value() + record.HeureFin.Value()) <=
            DateTime(record.DateDebut.Value() + record.HeureDebut.Value()))
            continue;
        record.Actif = true;
        record.EPG = true;
        record.Prioritaire = m_settings.RepPrioritaire;

        if (m_table.IsFull()) {
            result.listFull = true;
            firstLeft = e;
            break;
        }
        if (m_preferences)
            m_preferences->ApplyTo(record);
        const int index = m_table.Append(record);
        if (index < 0) {
            result.listFull = true;
            firstLeft = e;
            break;
        }
        const std::int32_t id = m_table[index].RecordId;
        bool kept = true;
        if (m_settings.EPGVerify) {
            if (m_verify && !m_verify(id)) {
                m_table.RemoveById(id);
                kept = false;
            }
        } else if (m_merge) {
            m_merge->Run(id);
        }
        if (kept) {
            for (int i = 1; i <= m_table.Count(); ++i)
                m_table[i].Selected = false;
            const int now = m_table.FindById(id);
            if (now > 0)
                m_table[now].Selected = true;
            ++result.taken;
        }
        m_engine.RecomputeSchedule();
    }

    // The file is written anew in one save. What could not be taken because the list is full stays
    // in it, behind the channel it belongs to, so that nothing planned in the viewer is lost.
    IniFile emptied;
    emptied.SetPath(file.Path());
    QVector<Event> left;
    if (firstLeft >= 0) {
        for (int j = firstLeft - 1; j >= 0; --j) {
            if (events[j].Is("CH")) {
                left.append(events[j]);
                break;
            }
        }
        for (int j = firstLeft; j < events.size(); ++j)
            left.append(events[j]);
    }
    emptied.WriteInteger(kGlobal, kCount, left.size());
    for (int j = 0; j < left.size(); ++j) {
        emptied.WriteString(EventSection(j), QStringLiteral("Command"), left[j].command);
        const QString param =
            left[j].Is("CH") ? QLatin1Char('"') + ChannelOf(left[j].param) + QLatin1Char('"') : left[j].param;
        emptied.WriteString(EventSection(j), QStringLiteral("Param"), param);
        emptied.WriteString(EventSection(j), QStringLiteral("Time"), left[j].time);
    }
    QString error;
    if (!emptied.Save(&error))
        result.error = error;
    if (result.listFull && result.error.isEmpty())
        result.error = ScheduleTable::FullListMessage();

    m_engine.RecomputeSchedule();
    m_running = false;
    return result;
}

} // namespace quorx
