#pragma once

#include "viewer/ViewerLocator.h"

#include <QString>

#include <functional>

namespace quorx {

struct Settings;

// Settling the viewer when the scheduler starts: its executable, the user's help when it is not
// found, and the viewer's settings the scheduler relies on.
class ViewerSetup final
{
public:
    struct Outcome
    {
        bool found = false;
        QString executable; // the viewer, or the last path tried
        QString message;    // why the program cannot start, when not found
    };

    // askFolder opens the preferences window on the viewer folder and returns the folder the user
    // gave (empty when cancelled). A folder holding the viewer is kept in CheminZomvara.
    static Outcome Settle(Settings& settings, const ViewerSearchRoots& roots,
                          const std::function<QString(const QString& lastTried)>& askFolder,
                          const QString& fallbackRecordDir);
};

} // namespace quorx
