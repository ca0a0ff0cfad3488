#pragma once

#include <QString>

namespace quorx {

class Disks;

// The editor's rules for the recording folder and file name: where a folder without a usable
// drive goes, whether a path may be used, the free-space text and what the boxes let one type.
class EditorFolder final
{
public:
    enum class SpaceLevel
    {
        Low,       // below 8 GB free
        Medium,    // 8 to 20 GB
        High,      // above 20 GB
        Unreadable // the drive cannot be read
    };

    struct FreeSpace
    {
        QString text;
        SpaceLevel level = SpaceLevel::Unreadable;
        quint32 colour = 0; // Windows colour value
    };

    // A folder without a drive is put on the program's drive, the rest of the path kept.
    static QString OnProgramDrive(const QString& folder, const QString& driveRoot);
    // A folder part without " * < > ? | and a drive, and a file name without " * / : < > ? \ |.
    static bool IsValidPath(const QString& folder, const QString& fileName);
    static bool IsValidFileName(const QString& fileName);
    // With a trailing "/", the folder exists or has been created.
    static bool MakeUsable(const QString& folder);

    static FreeSpace FreeSpaceOf(const Disks& disks, const QString& folder);

    // The name and file-name boxes refuse the characters no file name may hold.
    static bool NameAcceptsKey(QChar key);
    // The folder box: see RecordingFolder::AcceptsKey.
    static bool FolderAcceptsKey(const QString& text, int position, QChar key);
};

} // namespace quorx
