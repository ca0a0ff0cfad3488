#include "channels/RecordingFolder.h"

#include <QFileInfo>

namespace quorx {

namespace {

bool IsForbidden(QChar c)
{
    switch (c.unicode()) {
    case u'"':
    case u'*':
    case u'<':
    case u'>':
    case u'?':
    case u'|':
        return true;
    default:
        return c.unicode() < 0x20;
    }
}

} // namespace

bool RecordingFolder::HasDrive(const QString& folder)
{
    return folder.startsWith(QLatin1Char('/'));
}

QString RecordingFolder::WithTrailingSeparator(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

bool RecordingFolder::IsValidPath(const QString& folder)
{
    if (!HasDrive(folder))
        return false;
    for (const QChar c : folder) {
        if (IsForbidden(c))
            return false;
    }
    return true;
}

bool RecordingFolder::IsExistingFolder(const QString& folder)
{
    return IsValidPath(folder) && QFileInfo(folder).isDir();
}

bool RecordingFolder::AcceptsKey(const QString& text, int position, QChar key)
{
    if (IsForbidden(key) || key == QLatin1Char('\\'))
        return false;
    if (position <= 0 && key != QLatin1Char('/'))
        return false;
    if (key == QLatin1Char('/')) {
        const bool slashBefore =
            position > 0 && position <= text.size() && text.at(position - 1) == QLatin1Char('/');
        const bool slashAfter = position < text.size() && text.at(position) == QLatin1Char('/');
        return !slashBefore && !slashAfter;
    }
    return true;
}

QString RecordingFolder::FromBrowse(const QString& chosen, const QString& programFolder)
{
    return WithTrailingSeparator(IsExistingFolder(chosen) ? chosen : programFolder);
}

} // namespace quorx
