#pragma once

#include "channels/ViewerFileContent.h"

#include <QByteArray>
#include <QString>

namespace quorx {

// The viewer's favourites and channel-list files (*.Tree), versions 104 to 107.
class TreeFile final
{
public:
    struct Header
    {
        qint32 version = 0;
        bool favourites = false;
        QString name; // the list name, trimmed; blank when the version holds none
    };

    // The header is all the catalogue needs; only its first bytes are read from disk.
    static constexpr qint64 kHeaderReadLimit = 64 * 1024;

    static Header ReadHeader(const QByteArray& bytes);
    static Header ReadHeaderOfFile(const QString& path);

    // Every channel reference, in file order; each entry's Name is its group (folder) name.
    static ViewerFileContent ReadReferences(const QByteArray& bytes);
    static ViewerFileContent ReadReferencesOfFile(const QString& path);

private:
    static void ReadVersion104(const QByteArray& bytes, ViewerFileContent* content);
    static void ReadVersion105To107(const QByteArray& bytes, int trailingBytes, bool dropFD,
                                    ViewerFileContent* content);
};

} // namespace quorx
