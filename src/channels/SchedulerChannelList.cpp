#include "channels/SchedulerChannelList.h"

#include "channels/IniForUpdate.h"
#include "common/IniFile.h"

#include <QMap>

namespace quorx {

namespace {

// The entry number of a key "Chaine<n>", or -1 for any other key. Only the plain decimal form
// counts, so "Chaine01" is not taken for entry 1.
qint64 EntryNumber(const QString& key)
{
    const QString stem = SchedulerChannelList::EntryStem();
    if (key.size() <= stem.size() || !key.startsWith(stem, Qt::CaseInsensitive))
        return -1;
    const QString digits = key.mid(stem.size());
    bool ok = false;
    const qint64 n = digits.toLongLong(&ok);
    return ok && n >= 0 && QString::number(n) == digits ? n : -1;
}

QString Unquote(QString text)
{
    if (text.startsWith(QLatin1Char('"')))
        text.remove(0, 1);
    if (text.endsWith(QLatin1Char('"')))
        text.chop(1);
    return text;
}

} // namespace

ChannelNameList SchedulerChannelList::Load(const IniFile& config)
{
    ChannelNameList names;
    const int last = config.ReadInteger(Section(), CountKey(), -1);
    if (last < 0)
        return names;
    // Walking the keys that are there, rather than counting up to NbChaines, keeps a damaged
    // count from making us look up billions of keys.
    QMap<qint64, QString> byNumber;
    for (const QString& key : config.Keys(Section())) {
        const qint64 n = EntryNumber(key);
        if (n >= 0 && n <= last && !byNumber.contains(n))
            byNumber.insert(n, key);
    }
    for (const QString& key : std::as_const(byNumber))
        names.Insert(Unquote(config.ReadString(Section(), key)));
    return names;
}

void SchedulerChannelList::Save(const ChannelNameList& names, IniFile& config)
{
    for (const QString& key : config.Keys(Section())) {
        if (EntryNumber(key) >= names.Count())
            config.DeleteKey(Section(), key);
    }
    config.WriteInteger(Section(), CountKey(), names.Count() - 1);
    for (int i = 0; i < names.Count(); ++i)
        config.WriteString(Section(), EntryStem() + QString::number(i),
                           QLatin1Char('"') + names.Names()[i] + QLatin1Char('"'));
}

ChannelNameList SchedulerChannelList::LoadFile(const QString& configPath)
{
    return Load(IniFile(configPath));
}

bool SchedulerChannelList::SaveFile(const ChannelNameList& names, const QString& configPath, QString* error)
{
    IniFile config;
    if (!LoadIniForUpdate(configPath, &config, error))
        return false;
    Save(names, config);
    return config.Save(error);
}

} // namespace quorx
