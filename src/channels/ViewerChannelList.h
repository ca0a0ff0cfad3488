#pragma once

#include "channels/ChannelNameList.h"
#include "channels/TTree.h"
#include "channels/ViewerFileContent.h"

#include <QString>
#include <QVector>

namespace quorx {

// The channels a viewer list file offers for import: its references matched against the
// channel database beside it, as the import page lists them.
class ViewerChannelList final
{
public:
    struct Result
    {
        ChannelNameList names;
        QString listPath;
        QString databasePath; // empty when the folder holds no channel database
        ViewerFileContent::Status listStatus = ViewerFileContent::Status::Unreadable;
        ViewerFileContent::Status databaseStatus = ViewerFileContent::Status::Unreadable;
        qint32 listVersion = 0;
        qint32 databaseVersion = 0;
    };

    // Between the group name and the channel name of an entry when folder names are shown.
    static QString FolderSeparator();

    // N6, N3 and N2 equal; N1, N4, N5 and N7 equal unless either side is 0.
    static bool Matches(const TTree& reference, const TTree& channel);

    // For each reference, the first channel with a non-blank name that matches it gives an entry:
    // the channel name, or the group name, the separator and the channel name.
    static ChannelNameList Match(const QVector<TTree>& references, const QVector<TTree>& channels,
                                 bool showFolders);

    // The channel name an entry of the list stands for: with folder names shown, the part after
    // the first run of five blanks (the whole entry when it has none).
    static QString ChannelOfEntry(const QString& entry, bool showFolders);

    // Reads the list file, then the channel database of the same folder, and matches them.
    static Result Read(const QString& listPath, bool showFolders);

    // The first of ChannelList0.tree ... ChannelList5.tree present in the folder (any letter
    // case), or an empty text.
    static QString DefaultListFile(const QString& folder);
    // A file of the folder by name, in any letter case; empty when the folder holds none.
    static QString FindInFolder(const QString& folder, const QString& fileName);
};

} // namespace quorx
