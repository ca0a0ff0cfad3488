#include "viewer/ViewerIni.h"

#include "common/IniFile.h"
#include "common/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace quorx {

namespace {

const QString kOptions = QStringLiteral("Options");
const QString kAVManager = QStringLiteral("AVManager");
const QString kRecordDir = QStringLiteral("RecordDir");
const QString kRecType = QStringLiteral("RecType");

bool UsableFolder(const QString& folder)
{
    if (folder.trimmed().isEmpty() || !QDir::isAbsolutePath(folder))
        return false;
    if (QFileInfo(folder).isDir())
        return true;
    return QDir().mkpath(folder);
}

} // namespace

QString ViewerIni::PathIn(const QString& viewerFolder)
{
    return FindFileNoCase(viewerFolder, QStringLiteral("Zomvara.Ini"));
}

QString ViewerIni::DefaultFallbackRecordDir()
{
    QString home = QDir::homePath();
    if (!home.endsWith(QLatin1Char('/')))
        home += QLatin1Char('/');
    return home;
}

bool ViewerIni::PrepareForScheduler(const QString& viewerFolder, const QString& fallbackRecordDir,
                                    QString* error)
{
    if (!QFileInfo(viewerFolder).isDir())
        return true;
    IniFile ini(PathIn(viewerFolder));
    bool changed = false;
    for (const QString& key : {QStringLiteral("SetLastChannel"), QStringLiteral("ShowSplash")}) {
        if (!ini.HasKey(kOptions, key) || ini.ReadBool(kOptions, key, true)) {
            ini.WriteBool(kOptions, key, false);
            changed = true;
        }
    }
    const QString recordDir = ini.ReadString(kAVManager, kRecordDir, fallbackRecordDir);
    if (!UsableFolder(recordDir)) {
        ini.WriteString(kAVManager, kRecordDir, fallbackRecordDir);
        changed = true;
    }
    return !changed || ini.Save(error);
}

QString ViewerIni::RecordDir(const QString& viewerFolder, const QString& fallback)
{
    return IniFile(PathIn(viewerFolder)).ReadString(kAVManager, kRecordDir, fallback);
}

int ViewerIni::RecType(const QString& viewerFolder)
{
    return IniFile(PathIn(viewerFolder)).ReadInteger(kAVManager, kRecType, 1);
}

bool ViewerIni::WriteRecType(const QString& viewerFolder, int recType, QString* error)
{
    IniFile ini(PathIn(viewerFolder));
    if (ini.Exists() && ini.HasKey(kAVManager, kRecType) &&
        ini.ReadInteger(kAVManager, kRecType, 1) == recType)
        return true;
    ini.WriteInteger(kAVManager, kRecType, recType);
    return ini.Save(error);
}

QString ViewerIni::ExtensionOfRecType(int recType)
{
    switch (recType) {
    case 1:
        return QStringLiteral(".Pva");
    case 2:
        return QStringLiteral(".Mpa");
    default:
        return QStringLiteral(".Mpg");
    }
}

int ViewerIni::RecTypeOfExtension(const QString& extension)
{
    QString e = extension.trimmed().toLower();
    if (!e.startsWith(QLatin1Char('.')))
        e.prepend(QLatin1Char('.'));
    if (e == QLatin1String(".pva"))
        return 1;
    if (e == QLatin1String(".mpa"))
        return 2;
    return 0;
}

} // namespace quorx
