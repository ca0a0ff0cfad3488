#pragma once

#include <QString>

namespace quorx {

class Disks;
class ScheduleTable;

// Moving every recording to another disk: each file keeps its path below the mount point that
// holds it, under the mount point of the chosen folder.
class RecordingDrive final
{
public:
    static QString Moved(const QString& file, const QString& newMountPoint, const Disks& disks);
    // Returns how many paths changed; the table is not recomputed.
    static int ChangeAll(ScheduleTable& table, const QString& chosenFolder, const Disks& disks);
};

} // namespace quorx
