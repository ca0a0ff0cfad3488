#pragma once

#include <QString>
#include <QStringList>

namespace quorx {

class Alarm;
class Disks;
class ScheduleTable;

// The colours of the free-space label, with their Windows colour values (red in the low byte).
enum class FreeSpaceColour
{
    Green,  // 0x008000
    Orange, // red 255, green 128, blue 0
    Maroon, // 0x000080
};
int WindowsColourOf(FreeSpaceColour colour);

// What the label beside the list shows: one part per drive holding a recording's file, e.g.
// " /media/usb : 12 Go 40%", parts separated by "  | ". A drive is a mount point and is named by
// its path.
struct FreeSpaceStatus
{
    QString text;
    FreeSpaceColour colour = FreeSpaceColour::Green;
    bool alarm = false; // a drive is missing or has less than 4 GiB free
    QStringList drives; // sorted, each once
    bool ButtonVisible() const { return !text.isEmpty(); }
    // While maroon the one-second clock makes the label blink.
    bool Blinks() const { return colour == FreeSpaceColour::Maroon; }
};

// Watches the free space of the drives the recordings are written to. Called when a recording
// starts, every 180 seconds, when the main window is shown and on a click on the label.
class FreeSpaceWatch final
{
public:
    FreeSpaceWatch(const ScheduleTable& table, const Disks& disks, Alarm* alarm = nullptr);
    Q_DISABLE_COPY_MOVE(FreeSpaceWatch)

    // Computes the status, keeps it and requests the alarm when a drive is short or missing.
    const FreeSpaceStatus& Refresh();
    const FreeSpaceStatus& Status() const { return m_status; }

    static FreeSpaceStatus Compute(const ScheduleTable& table, const Disks& disks);

private:
    const ScheduleTable& m_table;
    const Disks& m_disks;
    Alarm* m_alarm;
    FreeSpaceStatus m_status;
};

} // namespace quorx
