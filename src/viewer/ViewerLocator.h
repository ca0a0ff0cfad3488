#pragma once

#include <QString>
#include <QStringList>

namespace quorx {

// Where the viewer is looked for on this system.
struct ViewerSearchRoots
{
    // Linux keeps no installer record of the viewer's folder, so the search starts here.
    QString fixedFolder = QStringLiteral("/opt/zomvara/");
    // The mount point holding the scheduler's own folder, with a final "/".
    QString programDriveRoot;
    // The system's folder of installed programs, with a final "/".
    QString programFilesFolder = QStringLiteral("/opt/");

    static ViewerSearchRoots ForProgramFolder(const QString& programFolder);
};

// Finding the viewer: first its folder (the default of the setting CheminZomvara), then, once
// the settings are read, its executable.
class ViewerLocator final
{
public:
    struct Result
    {
        QString executable; // the path found, or the last path tried
        bool found = false;
    };

    // The executable names, in the order they are tried; each is found without regard to case.
    static QStringList ExecutableNames();

    // First stage: the fixed folder when it exists, else the viewer folder on the scheduler's
    // drive. Always ends with "/".
    static QString DefaultViewerFolder(const ViewerSearchRoots& roots);

    // Second stage: the executable in the folder of cheminZomvara (an empty setting means the
    // first stage's folder), then in the viewer folder of the programs folder.
    static Result SettleExecutable(const QString& cheminZomvara, const ViewerSearchRoots& roots);

    // The first executable of ExecutableNames() in the folder; empty when there is none.
    static QString FindExecutableIn(const QString& folder);
    static bool FolderHoldsViewer(const QString& folder) { return !FindExecutableIn(folder).isEmpty(); }

    // The folder a CheminZomvara value names, with a final "/". A value naming a folder that exists
    // is that folder even without the final "/"; any other value loses its last component.
    // Empty for a relative value, which would depend on the current folder.
    static QString FolderPartOf(const QString& cheminZomvara);
};

} // namespace quorx
