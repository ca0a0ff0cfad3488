#pragma once

#include <QString>

namespace quorx {

class IniFile;

// Loads a file that is about to be changed and saved. A file that exists but cannot be read must
// not be replaced by one holding only our keys, so that case is a failure with a message.
bool LoadIniForUpdate(const QString& path, IniFile* ini, QString* error);

} // namespace quorx
