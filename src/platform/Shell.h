#pragma once

#include <QString>

namespace quorx {

// Opening files, folders and web addresses with the desktop's chosen program.
class Shell
{
public:
    virtual ~Shell() = default;
    virtual bool Open(const QString& fileFolderOrAddress) = 0;
    // Opens the folder holding the file, with the file selected where the desktop can.
    virtual bool ShowInFolder(const QString& file) = 0;
};

} // namespace quorx
