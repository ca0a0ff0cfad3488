#include "editor/EditorFolder.h"

#include "channels/RecordingFolder.h"
#include "i18n/LocalisedStrings.h"
#include "platform/Disks.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace quorx {

namespace {

constexpr qint64 kGiB = qint64(1) << 30;
constexpr quint32 kMaroon = 0x000080;
constexpr quint32 kGreen = 0x008000;
constexpr quint32 kOrange = 0x0080FF; // RGB(255,128,0)

bool IsForbiddenInName(QChar c)
{
    switch (c.unicode()) {
    case u'?':
    case u'\\':
    case u':':
    case u'*':
    case u'"':
    case u'<':
    case u'>':
    case u'/':
    case u'|':
        return true;
    default:
        return c.unicode() < 0x20;
    }
}

} // namespace

QString EditorFolder::OnProgramDrive(const QString& folder, const QString& driveRoot)
{
    if (RecordingFolder::HasDrive(folder))
        return folder;
    QString rest = folder;
    while (rest.startsWith(QLatin1Char('/')) || rest.startsWith(QLatin1Char('\\')))
        rest.remove(0, 1);
    return RecordingFolder::WithTrailingSeparator(driveRoot) + rest;
}

bool EditorFolder::IsValidFileName(const QString& fileName)
{
    for (const QChar c : fileName) {
        if (IsForbiddenInName(c))
            return false;
    }
    return true;
}

bool EditorFolder::IsValidPath(const QString& folder, const QString& fileName)
{
    return RecordingFolder::IsValidPath(folder) && IsValidFileName(fileName);
}

bool EditorFolder::MakeUsable(const QString& folder)
{
    if (!RecordingFolder::IsValidPath(folder))
        return false;
    const QString path = RecordingFolder::WithTrailingSeparator(folder);
    return QDir().mkpath(path) && QFileInfo(path).isDir();
}

EditorFolder::FreeSpace EditorFolder::FreeSpaceOf(const Disks& disks, const QString& folder)
{
    FreeSpace result;
    const qint64 freeBytes = RecordingFolder::HasDrive(folder) ? disks.FreeBytes(folder) : -1;
    const qint64 totalBytes = freeBytes >= 0 ? disks.TotalBytes(folder) : -1;
    if (freeBytes < 0 || totalBytes < 0) {
        result.text = Ls(112);
        result.level = SpaceLevel::Unreadable;
        result.colour = kMaroon;
        return result;
    }
    const qint64 freeGo = freeBytes / kGiB;
    const qint64 totalGo = totalBytes / kGiB;
    const qint64 percent = totalBytes > 0 ? std::llround(100.0 * double(freeBytes) / double(totalBytes)) : 0;
    result.text = QString::number(percent) + Ls(110) + QString::number(freeGo) + Ls(109) +
                  QString::number(totalGo) + Ls(111);
    if (freeBytes < 8 * kGiB) {
        result.level = SpaceLevel::Low;
        result.colour = kMaroon;
    } else if (freeBytes > 20 * kGiB) {
        result.level = SpaceLevel::High;
        result.colour = kGreen;
    } else {
        result.level = SpaceLevel::Medium;
        result.colour = kOrange;
    }
    return result;
}

bool EditorFolder::NameAcceptsKey(QChar key)
{
    return !IsForbiddenInName(key);
}

bool EditorFolder::FolderAcceptsKey(const QString& text, int position, QChar key)
{
    return RecordingFolder::AcceptsKey(text, position, key);
}

} // namespace quorx
