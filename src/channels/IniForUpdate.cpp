#include "channels/IniForUpdate.h"

#include "common/IniFile.h"

#include <QFileInfo>

namespace quorx {

bool LoadIniForUpdate(const QString& path, IniFile* ini, QString* error)
{
    if (ini->Load(path) || !QFileInfo::exists(path))
        return true;
    if (error)
        *error = QStringLiteral("%1 cannot be read; it was left as it was").arg(path);
    return false;
}

} // namespace quorx
