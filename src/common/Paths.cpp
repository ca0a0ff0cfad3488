#include "common/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quorx {

QString ProgramFolder::Resolve(const QString& explicitHome)
{
    if (!explicitHome.isEmpty())
        return QDir::cleanPath(QDir(explicitHome).absolutePath());
    const QString env = qEnvironmentVariable("QUORX_HOME");
    if (!env.isEmpty())
        return QDir::cleanPath(QDir(env).absolutePath());
    const QString exeDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    if (!exeDir.isEmpty() && QFileInfo(exeDir).isWritable())
        return exeDir;
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(data + QStringLiteral("/quorx"));
}

QString ProgramFolder::InstanceKey(const QString& programFolder)
{
    const QFileInfo info(programFolder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

} // namespace quorx
