#include "engine/RecordingDrive.h"

#include "platform/Disks.h"
#include "schedule/ScheduleTable.h"

namespace quorx {

namespace {

QString WithoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

} // namespace

QString RecordingDrive::Moved(const QString& file, const QString& newMountPoint, const Disks& disks)
{
    const QString oldMount = WithoutTrailingSlash(disks.MountPointOf(file));
    QString rest = file;
    if (!oldMount.isEmpty() && oldMount != QLatin1String("/") &&
        (file == oldMount || file.startsWith(oldMount + QLatin1Char('/'))))
        rest = file.mid(oldMount.size());
    if (!rest.startsWith(QLatin1Char('/')))
        rest.prepend(QLatin1Char('/'));
    const QString mount = WithoutTrailingSlash(newMountPoint);
    return mount == QLatin1String("/") ? rest : mount + rest;
}

int RecordingDrive::ChangeAll(ScheduleTable& table, const QString& chosenFolder, const Disks& disks)
{
    const QString mount = disks.MountPointOf(chosenFolder);
    if (mount.isEmpty())
        return 0;
    int changed = 0;
    for (int i = 1; i <= table.Count(); ++i) {
        const QString moved = Moved(table[i].Fichier, mount, disks);
        if (moved != table[i].Fichier) {
            table[i].Fichier = moved;
            ++changed;
        }
    }
    return changed;
}

} // namespace quorx
