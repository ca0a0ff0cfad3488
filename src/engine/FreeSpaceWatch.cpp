#include "engine/FreeSpaceWatch.h"

#include "engine/Alarm.h"
#include "platform/Disks.h"
#include "schedule/ScheduleTable.h"

#include <QDir>

#include <cmath>

namespace quorx {

namespace {

constexpr qint64 kGiB = qint64(1) << 30;
constexpr qint64 kMaroonBelowGiB = 8;
constexpr qint64 kOrangeUpToGiB = 20;
constexpr qint64 kAlarmBelowGiB = 4;

int Severity(FreeSpaceColour colour)
{
    return static_cast<int>(colour);
}

} // namespace

int WindowsColourOf(FreeSpaceColour colour)
{
    switch (colour) {
    case FreeSpaceColour::Green:
        return 0x008000;
    case FreeSpaceColour::Orange:
        return 0x0080FF;
    case FreeSpaceColour::Maroon:
        return 0x000080;
    }
    return 0x008000;
}

FreeSpaceWatch::FreeSpaceWatch(const ScheduleTable& table, const Disks& disks, Alarm* alarm)
    : m_table(table), m_disks(disks), m_alarm(alarm)
{
}

const FreeSpaceStatus& FreeSpaceWatch::Refresh()
{
    m_status = Compute(m_table, m_disks);
    if (m_status.alarm && m_alarm)
        m_alarm->Request();
    return m_status;
}

FreeSpaceStatus FreeSpaceWatch::Compute(const ScheduleTable& table, const Disks& disks)
{
    FreeSpaceStatus status;
    for (int i = 1; i <= table.Count(); ++i) {
        const QString& file = table[i].Fichier;
        // A path without a drive is one that names no place on the disks.
        if (file.trimmed().isEmpty() || !QDir::isAbsolutePath(file))
            continue;
        const QString drive = disks.MountPointOf(file);
        if (!drive.isEmpty() && !status.drives.contains(drive))
            status.drives.append(drive);
    }
    status.drives.sort();

    // The most severe colour wins, so that a missing drive is not hidden by a later one that is
    // merely getting full.
    auto raise = [&status](FreeSpaceColour colour) {
        if (Severity(colour) > Severity(status.colour))
            status.colour = colour;
    };
    for (const QString& drive : std::as_const(status.drives)) {
        if (!status.text.isEmpty())
            status.text += QLatin1String("  | ");
        status.text += QLatin1Char(' ') + drive + QLatin1String(" : ");
        const qint64 freeBytes = disks.FreeBytes(drive);
        if (freeBytes < 0) {
            raise(FreeSpaceColour::Maroon);
            status.text += QStringLiteral("Absent");
            status.alarm = true;
            continue;
        }
        const qint64 freeGiB = freeBytes / kGiB;
        const qint64 totalGiB = qMax<qint64>(0, disks.TotalBytes(drive)) / kGiB;
        if (freeGiB < kMaroonBelowGiB)
            raise(FreeSpaceColour::Maroon);
        else if (freeGiB <= kOrangeUpToGiB)
            raise(FreeSpaceColour::Orange);
        const qint64 percent = totalGiB == 0 ? 0 : std::llround(double(freeGiB) * 100.0 / double(totalGiB));
        status.text +=
            QString::number(freeGiB) + QLatin1String(" Go ") + QString::number(percent) + QLatin1Char('%');
        if (freeGiB < kAlarmBelowGiB)
            status.alarm = true;
    }
    return status;
}

} // namespace quorx
