#include "ChannelList.h"

#include "common/IniFile.h"
#include "common/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace quorx::zomvara {

namespace {
const QString kSection = QStringLiteral("Channels");
}

QString ChannelList::ChannelsFolder(const QString& installFolder)
{
    return FindFileNoCase(installFolder, QStringLiteral("channels"));
}

bool ChannelList::Load(const QString& installFolder, QString* error)
{
    m_entries.clear();
    m_path = FindFileNoCase(installFolder, QStringLiteral("channels/sources.ini"));
    IniFile ini;
    if (!ini.Load(m_path)) {
        if (QFileInfo::exists(m_path)) {
            *error = QStringLiteral("cannot read %1").arg(m_path);
            return false;
        }
        ini = IniFile();
        ini.SetPath(m_path);
        ini.WriteString(kSection, QStringLiteral("Arte"), QStringLiteral("synthetic:256"));
        ini.WriteString(kSection, QStringLiteral("France 2"), QStringLiteral("synthetic:256"));
        ini.WriteString(kSection, QStringLiteral("TV5 Monde"), QStringLiteral("synthetic:512"));
        ini.WriteString(kSection, QStringLiteral("Sans signal"), QStringLiteral("none"));
        QString saveError;
        if (!ini.Save(&saveError)) {
            *error = QStringLiteral("cannot write %1: %2").arg(m_path, saveError);
            return false;
        }
    }
    for (const QString& key : ini.Keys(kSection)) {
        const QString name = key.trimmed();
        if (!name.isEmpty() && IndexOf(name) < 0)
            m_entries.push_back({name, ini.ReadString(kSection, key)});
    }
    return true;
}

int ChannelList::IndexOf(const QString& name) const
{
    const QString wanted = name.trimmed();
    for (int i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].name.compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace quorx::zomvara
