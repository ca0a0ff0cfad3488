#include "startup/OldVersionFiles.h"

#include "common/Paths.h"

#include <QFileInfo>

namespace quorx {

QString OldVersionFiles::Message()
{
    return QStringLiteral(
        "You have to delete .Fra and .Eng files located in Vizezezoruvav Zomvara folder to run this "
        "new version./Veuillez effacer les fichiers.Fra et .Eng situés dans le dossier de Programmatreur "
        "Zomvara pour faire fonctionner cette nouvelle version.");
}

OldVersionFilesFinding OldVersionFiles::Check(const QString& programFolder)
{
    OldVersionFilesFinding finding;
    const QStringList names{QStringLiteral("vizezezoruvav zomvara.fra"),
                            QStringLiteral("vizezezoruvav zomvara.eng")};
    for (const QString& name : names) {
        const QString path = FindFileNoCase(programFolder, name);
        const QFileInfo info(path);
        if (info.exists() && !info.isDir())
            finding.files.append(path);
    }
    if (finding.files.isEmpty())
        return finding;
    finding.found = true;
    finding.message = Message();
    finding.folderToOpen = programFolder;
    return finding;
}

} // namespace quorx
