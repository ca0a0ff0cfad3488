#include "viewer/ViewerLocator.h"

#include "common/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace quorx {

namespace {

QString WithFinalSlash(const QString& folder)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

bool IsFolder(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace

ViewerSearchRoots ViewerSearchRoots::ForProgramFolder(const QString& programFolder)
{
    ViewerSearchRoots roots;
    roots.programDriveRoot = WithFinalSlash(ProgramDriveRoot(programFolder));
    return roots;
}

QStringList ViewerLocator::ExecutableNames()
{
    return {QStringLiteral("Zomvara.Exe"), QStringLiteral("ZomvaraNet.Exe"), QStringLiteral("zomvara"),
            QStringLiteral("zomvaranet")};
}

QString ViewerLocator::DefaultViewerFolder(const ViewerSearchRoots& roots)
{
    if (IsFolder(roots.fixedFolder))
        return WithFinalSlash(roots.fixedFolder);
    const QString root =
        roots.programDriveRoot.isEmpty() ? QStringLiteral("/") : WithFinalSlash(roots.programDriveRoot);
    return FindFileNoCase(root, QStringLiteral("Zomvara")) + QLatin1Char('/');
}

QString ViewerLocator::FolderPartOf(const QString& cheminZomvara)
{
    QString value = cheminZomvara.trimmed();
    value.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (value.isEmpty() || !QDir::isAbsolutePath(value))
        return QString();
    if (value.endsWith(QLatin1Char('/')) || IsFolder(value))
        return WithFinalSlash(value);
    return value.left(value.lastIndexOf(QLatin1Char('/')) + 1);
}

QString ViewerLocator::FindExecutableIn(const QString& folder)
{
    if (!IsFolder(folder))
        return QString();
    for (const QString& name : ExecutableNames()) {
        const QString path = FindFileNoCase(folder, name);
        const QFileInfo info(path);
        // A Windows program copied beside ours has the same name but cannot run here.
        if (info.isFile() && info.isExecutable())
            return QDir::cleanPath(info.absoluteFilePath());
    }
    return QString();
}

ViewerLocator::Result ViewerLocator::SettleExecutable(const QString& cheminZomvara,
                                                      const ViewerSearchRoots& roots)
{
    const QString setting = cheminZomvara.trimmed().isEmpty() ? DefaultViewerFolder(roots) : cheminZomvara;
    const QStringList folders{
        FolderPartOf(setting),
        roots.programFilesFolder.isEmpty()
            ? QString()
            : FindFileNoCase(WithFinalSlash(roots.programFilesFolder), QStringLiteral("Zomvara")) +
                  QLatin1Char('/'),
    };
    Result result;
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        const QString found = FindExecutableIn(folder);
        if (!found.isEmpty()) {
            result.executable = found;
            result.found = true;
            return result;
        }
        result.executable = QDir::cleanPath(FindFileNoCase(folder, ExecutableNames().constLast()));
    }
    return result;
}

} // namespace quorx
