#include "channels/ViewerChannelList.h"

#include "channels/ChannelDatabase.h"
#include "channels/TreeFile.h"
#include "common/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace quorx {

namespace {

bool SameOrUnknown(qint32 a, qint32 b)
{
    return a == 0 || b == 0 || a == b;
}

// The three numbers that must be equal, as one hash key.
struct StrictKey
{
    qint32 n6, n3, n2;
    friend bool operator==(const StrictKey&, const StrictKey&) = default;
};

size_t qHash(const StrictKey& k, size_t seed = 0)
{
    return qHashMulti(seed, k.n6, k.n3, k.n2);
}

} // namespace

QString ViewerChannelList::FolderSeparator()
{
    return QStringLiteral("     ");
}

bool ViewerChannelList::Matches(const TTree& reference, const TTree& channel)
{
    return reference.N6 == channel.N6 && reference.N3 == channel.N3 && reference.N2 == channel.N2 &&
           SameOrUnknown(reference.N1, channel.N1) && SameOrUnknown(reference.N4, channel.N4) &&
           SameOrUnknown(reference.N5, channel.N5) && SameOrUnknown(reference.N7, channel.N7);
}

ChannelNameList ViewerChannelList::Match(const QVector<TTree>& references, const QVector<TTree>& channels,
                                         bool showFolders)
{
    // Channels by their strict numbers, each bucket in file order, so that the first match of the
    // file is found without scanning the whole database for every reference.
    QHash<StrictKey, QVector<int>> byKey;
    byKey.reserve(channels.size());
    for (int i = 0; i < channels.size(); ++i) {
        if (!channels[i].Name.trimmed().isEmpty())
            byKey[StrictKey{channels[i].N6, channels[i].N3, channels[i].N2}].append(i);
    }
    ChannelNameList names;
    for (const TTree& ref : references) {
        const auto it = byKey.constFind(StrictKey{ref.N6, ref.N3, ref.N2});
        if (it == byKey.cend())
            continue;
        for (const int i : it.value()) {
            if (Matches(ref, channels[i])) {
                names.Insert(showFolders ? ref.Name + FolderSeparator() + channels[i].Name
                                         : channels[i].Name);
                break;
            }
        }
    }
    return names;
}

QString ViewerChannelList::ChannelOfEntry(const QString& entry, bool showFolders)
{
    if (!showFolders)
        return entry;
    const qsizetype at = entry.indexOf(FolderSeparator());
    return at < 0 ? entry : entry.mid(at + FolderSeparator().size());
}

ViewerChannelList::Result ViewerChannelList::Read(const QString& listPath, bool showFolders)
{
    Result result;
    result.listPath = listPath;
    const ViewerFileContent list = TreeFile::ReadReferencesOfFile(listPath);
    result.listStatus = list.status;
    result.listVersion = list.version;
    if (list.status == ViewerFileContent::Status::Unreadable)
        return result;
    result.databasePath =
        FindInFolder(QFileInfo(listPath).absolutePath(), QLatin1String(ChannelDatabase::kFileName));
    if (result.databasePath.isEmpty())
        return result;
    const ViewerFileContent database = ChannelDatabase::ReadFile(result.databasePath);
    result.databaseStatus = database.status;
    result.databaseVersion = database.version;
    result.names = Match(list.entries, database.entries, showFolders);
    return result;
}

QString ViewerChannelList::FindInFolder(const QString& folder, const QString& fileName)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return {};
    const QString path = FindFileNoCase(folder, fileName);
    return QFileInfo(path).isFile() ? path : QString();
}

QString ViewerChannelList::DefaultListFile(const QString& folder)
{
    for (int digit = 0; digit <= 5; ++digit) {
        const QString path = FindInFolder(folder, QStringLiteral("ChannelList%1.tree").arg(digit));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

} // namespace quorx
