#include "ChannelSource.h"

#include <QDir>

namespace quorx::zomvara {

namespace {
constexpr int kMaxKibPerSecond = 64 * 1024; // far above any broadcast, low enough to stay harmless
}

bool ChannelSource::Parse(const QString& text, const QString& baseFolder, ChannelSource* out, QString* error)
{
    const QString t = text.trimmed();
    ChannelSource origin;
    if (t.isEmpty() || t.compare(QLatin1String("synthetic"), Qt::CaseInsensitive) == 0) {
        *out = origin;
        return true;
    }
    if (t.startsWith(QLatin1String("synthetic:"), Qt::CaseInsensitive)) {
        bool ok = false;
        const int rate = t.mid(10).trimmed().toInt(&ok);
        if (!ok || rate <= 0 || rate > kMaxKibPerSecond) {
            *error = QStringLiteral("the rate of \"%1\" must be a number of KiB per second from 1 to %2")
                         .arg(t)
                         .arg(kMaxKibPerSecond);
            return false;
        }
        origin.kibPerSecond = rate;
        *out = origin;
        return true;
    }
    if (t.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QString path = t.mid(5).trimmed();
        if (path.isEmpty()) {
            *error = QStringLiteral("\"%1\" names no file").arg(t);
            return false;
        }
        origin.kind = Kind::File;
        origin.location = QDir::cleanPath(QDir(baseFolder).absoluteFilePath(path));
        *out = origin;
        return true;
    }
    if (t.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
        t.startsWith(QLatin1String("https://"), Qt::CaseInsensitive)) {
        origin.kind = Kind::Http;
        origin.location = t;
        *out = origin;
        return true;
    }
    if (t.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0) {
        origin.kind = Kind::None;
        *out = origin;
        return true;
    }
    *error = QStringLiteral("unknown source \"%1\"").arg(t);
    return false;
}

} // namespace quorx::zomvara
