#include "ViewerOptions.h"

#include "common/IniFile.h"
#include "common/Paths.h"

#include <QDir>

namespace quorx::zomvara {

namespace {
const QString kOptions = QStringLiteral("Options");
const QString kAVManager = QStringLiteral("AVManager");
} // namespace

void ViewerOptions::Load(const QString& installFolder)
{
    m_installFolder = installFolder;
    m_path = FindFileNoCase(installFolder, QStringLiteral("Zomvara.Ini"));
    const QString defaultRecordDir =
        QDir(installFolder).filePath(QStringLiteral("Recordings")) + QLatin1Char('/');
    IniFile ini;
    if (!ini.Load(m_path)) {
        ini.SetPath(m_path);
        ini.WriteBool(kOptions, QStringLiteral("SetLastChannel"), true);
        ini.WriteBool(kOptions, QStringLiteral("ShowSplash"), true);
        ini.WriteString(kAVManager, QStringLiteral("RecordDir"), defaultRecordDir);
        ini.WriteInteger(kAVManager, QStringLiteral("RecType"), 1);
        ini.Save(); // without it the defaults still hold for this run
    }
    m_setLastChannel = ini.ReadBool(kOptions, QStringLiteral("SetLastChannel"), true);
    m_lastChannel = ini.ReadString(kOptions, QStringLiteral("LastChannel"));
    m_recordDir = ini.ReadString(kAVManager, QStringLiteral("RecordDir"), defaultRecordDir);
    m_recType = ini.ReadInteger(kAVManager, QStringLiteral("RecType"), 1);
}

QString ViewerOptions::RecordingExtension() const
{
    switch (m_recType) {
    case 1:
        return QStringLiteral(".Pva");
    case 2:
        return QStringLiteral(".Mpa");
    default:
        return QStringLiteral(".Mpg");
    }
}

bool ViewerOptions::SaveLastChannel(const QString& channel, QString* error) const
{
    IniFile ini(m_path);
    if (ini.ReadString(kOptions, QStringLiteral("LastChannel")) == channel && ini.Exists())
        return true;
    ini.SetPath(m_path);
    ini.WriteString(kOptions, QStringLiteral("LastChannel"), channel);
    return ini.Save(error);
}

} // namespace quorx::zomvara
