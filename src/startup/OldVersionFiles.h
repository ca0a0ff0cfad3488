#pragma once

#include <QString>
#include <QStringList>

namespace quorx {

// The language files of the old version, which this one must not start beside: when one is in
// the program folder, the entry shows the message (in a box with an empty caption), opens the
// folder so that the user can delete them, and ends.
struct OldVersionFilesFinding
{
    bool found = false;
    QStringList files;    // the real paths of the files found
    QString message;      // empty when nothing was found
    QString folderToOpen; // the program folder; empty when nothing was found
};

class OldVersionFiles final
{
public:
    // Names are compared without regard to case, as the file system of the old version did.
    static OldVersionFilesFinding Check(const QString& programFolder);
    static QString Message();
};

} // namespace quorx
