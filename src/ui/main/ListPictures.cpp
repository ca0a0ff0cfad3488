#include "ui/main/ListPictures.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace quorx {

namespace {

constexpr int kSize = 14;

} // namespace

QIcon ListPictures::RowIcon(bool skip, bool inactive, bool priority, bool guide)
{
    const int key = (skip ? 1 : 0) | (inactive ? 2 : 0) | (priority ? 4 : 0) | (guide ? 8 : 0);
    static QHash<int, QIcon> cache;
    if (key == 0)
        return QIcon();
    const auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    const int count = (skip ? 1 : 0) + (inactive ? 1 : 0) + (priority ? 1 : 0) + (guide ? 1 : 0);
    QPixmap pixmap(kSize * count, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    int x = 0;
    const auto next = [&](const char* name) {
        painter.drawPixmap(x, 0, Picture(QLatin1String(name)).pixmap(kSize, kSize));
        x += kSize;
    };
    if (priority)
        next("priority");
    if (skip)
        next("skip");
    if (inactive)
        next("inactive");
    if (guide)
        next("guide");
    painter.end();
    const QIcon icon(pixmap);
    cache.insert(key, icon);
    return icon;
}

QIcon ListPictures::Picture(const QString& name)
{
    static QHash<QString, QIcon> cache;
    auto it = cache.find(name);
    if (it == cache.end())
        it = cache.insert(name, QIcon(QStringLiteral(":/pictures/%1.png").arg(name)));
    return *it;
}

} // namespace quorx
