#pragma once

#include "platform/Shell.h"

namespace quorx {

// The desktop's own programs for files, folders and addresses, through xdg-open (or gio where
// xdg-utils is not installed), started detached so that nothing here waits on them.
class LinuxShell final : public Shell
{
public:
    bool Open(const QString& fileFolderOrAddress) override;
    // Asks the file manager over the session bus to show the file selected; without a file
    // manager that answers there, the folder is opened instead.
    bool ShowInFolder(const QString& file) override;

private:
    static bool OpenLocal(const QString& path);
};

} // namespace quorx
