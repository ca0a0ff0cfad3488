#pragma once

#include "channels/TTree.h"

#include <QByteArray>
#include <QString>
#include <QVector>

namespace quorx {

// What reading one of the viewer's channel files gave.
struct ViewerFileContent
{
    enum class Status
    {
        Ok,
        Incomplete,         // cut short, or a count or offset points past the end: what was read is kept
        UnsupportedVersion, // a version this program does not know: no entries
        Unreadable,         // missing, unreadable or too short to hold a version: no entries
    };

    Status status = Status::Unreadable;
    qint32 version = 0;
    QVector<TTree> entries;
};

// Reads at most maxBytes of a file; false when it is missing or cannot be read. Larger files are
// cut at maxBytes, so a stray huge file named like a list never fills the memory.
bool ReadViewerFile(const QString& path, qint64 maxBytes, QByteArray* out);

// The limit used for whole list files and channel databases.
constexpr qint64 kViewerFileReadLimit = 256ll * 1024 * 1024;

} // namespace quorx
