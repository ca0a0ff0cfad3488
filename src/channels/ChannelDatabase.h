#pragma once

#include "channels/ViewerFileContent.h"

#include <QByteArray>
#include <QString>

namespace quorx {

// The viewer's channel database (channels.dat), versions 112 to 114: the names of the channels
// the list files refer to by number.
class ChannelDatabase final
{
public:
    static constexpr const char* kFileName = "channels.dat";

    // Every channel, in file order; each entry's Name is the channel name.
    static ViewerFileContent Read(const QByteArray& bytes);
    static ViewerFileContent ReadFile(const QString& path);

private:
    static void ReadVersion112(const QByteArray& bytes, ViewerFileContent* content);
    static void ReadVersion113(const QByteArray& bytes, ViewerFileContent* content);
};

} // namespace quorx
