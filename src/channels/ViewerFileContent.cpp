#include "channels/ViewerFileContent.h"

#include <QFile>

namespace quorx {

bool ReadViewerFile(const QString& path, qint64 maxBytes, QByteArray* out)
{
    out->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *out = file.read(maxBytes);
    return file.error() == QFileDevice::NoError;
}

} // namespace quorx
