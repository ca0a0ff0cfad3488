#include "common/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace quorx {

namespace {

// mountinfo writes blanks, tabs, newlines and backslashes of mount points as \ooo octal escapes.
QByteArray UnescapeMountField(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool ok = true;
            for (const char d : digits)
                ok = ok && d >= '0' && d <= '7';
            if (ok) {
                out.append(static_cast<char>(digits.toInt(nullptr, 8)));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return out;
}

bool IsUnder(const QString& path, const QString& mountPoint)
{
    if (mountPoint == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == mountPoint ||
           (path.startsWith(mountPoint) && path.at(mountPoint.size()) == QLatin1Char('/'));
}

// The entry of dir whose name equals name without regard to case; the exact spelling first,
// then the first in name order so that the answer does not depend on the directory's order.
QString MatchEntry(const QString& dir, const QString& name, bool mustBeFolder)
{
    const QFileInfo exact(dir + QLatin1Char('/') + name);
    if (exact.exists() && (!mustBeFolder || exact.isDir()))
        return name;
    const QDir::Filters filters =
        (mustBeFolder ? QDir::Dirs : QDir::AllEntries) | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    const QStringList entries = QDir(dir).entryList(filters, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return QString();
}

} // namespace

QString ProgramFolder::Resolve(const QString& explicitHome)
{
    const QString exeDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    return Resolve(explicitHome, exeDir);
}

QString ProgramFolder::Resolve(const QString& explicitHome, const QString& executableFolder)
{
    if (!explicitHome.isEmpty())
        return QDir::cleanPath(QDir(explicitHome).absolutePath());
    const QString env = qEnvironmentVariable("QUORX_HOME");
    if (!env.isEmpty())
        return QDir::cleanPath(QDir(env).absolutePath());
    if (!executableFolder.isEmpty() && QFileInfo(executableFolder).isDir() &&
        QFileInfo(executableFolder).isWritable())
        return QDir::cleanPath(QDir(executableFolder).absolutePath());
    // A relative XDG_DATA_HOME is invalid and must be ignored.
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || QDir::isRelativePath(data))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(data + QStringLiteral("/quorx"));
}

QString ProgramFolder::InstanceKey(const QString& programFolder)
{
    const QFileInfo info(programFolder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QString FindFileNoCase(const QString& folder, const QString& relativePath)
{
    QString rel = relativePath;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString current;
    if (rel.startsWith(QLatin1Char('/')))
        current = QStringLiteral("/");
    else
        current = folder.isEmpty() ? QStringLiteral(".") : QDir::cleanPath(folder);

    const QStringList parts = rel.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const auto join = [](const QString& dir, const QString& name) -> QString {
        if (dir.endsWith(QLatin1Char('/')))
            return dir + name;
        return dir + QLatin1Char('/') + name;
    };
    bool found = true;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            current = join(current, part);
            continue;
        }
        const bool last = i == parts.size() - 1;
        const QString match = found ? MatchEntry(current, part, !last) : QString();
        if (match.isEmpty())
            found = false;
        current = join(current, found ? match : part);
    }
    return QDir::cleanPath(current);
}

QString MountPointFromMountInfo(const QByteArray& mountInfo, const QString& canonicalPath)
{
    QString best;
    for (const QByteArray& line : mountInfo.split('\n')) {
        // id parent major:minor root mount-point options ...
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 5)
            continue;
        const QString mountPoint = QFile::decodeName(UnescapeMountField(fields[4]));
        if (!mountPoint.startsWith(QLatin1Char('/')) || !IsUnder(canonicalPath, mountPoint))
            continue;
        if (mountPoint.size() > best.size())
            best = mountPoint;
    }
    return best.isEmpty() ? QStringLiteral("/") : best;
}

QString MountPointOf(const QString& path)
{
    // A file about to be created has no canonical path yet: its folder decides.
    QFileInfo info(QFileInfo(path).absoluteFilePath());
    QString canonical = info.canonicalFilePath();
    while (canonical.isEmpty()) {
        const QString parent = info.absolutePath();
        if (parent == info.absoluteFilePath())
            break;
        info = QFileInfo(parent);
        canonical = info.canonicalFilePath();
    }
    if (canonical.isEmpty())
        return QStringLiteral("/");
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("/");
    // /proc files report no size, so readAll is the way to get them whole.
    return MountPointFromMountInfo(file.readAll(), canonical);
}

QString ProgramDriveRoot(const QString& programFolder)
{
    const QString mountPoint = MountPointOf(programFolder);
    return mountPoint.endsWith(QLatin1Char('/')) ? mountPoint : mountPoint + QLatin1Char('/');
}

} // namespace quorx
