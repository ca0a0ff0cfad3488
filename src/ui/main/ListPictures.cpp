#include "ui/main/ListPictures.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace quorx {

namespace {

constexpr int kSize = 14;

void DrawSkip(QPainter& p, int x)
{
    // Two bars: the next occurrence is paused.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 90, 90));
    p.drawRect(x + 3, 2, 3, kSize - 4);
    p.drawRect(x + 8, 2, 3, kSize - 4);
}

void DrawInactive(QPainter& p, int x)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(120, 120, 120), 2));
    p.drawEllipse(QRect(x + 2, 2, kSize - 4, kSize - 4));
    p.drawLine(x + 4, kSize - 4, x + kSize - 4, 4);
}

void DrawPriority(QPainter& p, int x)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(210, 0, 0));
    const QPolygon arrow({QPoint(x + kSize / 2, 1), QPoint(x + kSize - 2, kSize / 2),
                          QPoint(x + 9, kSize / 2), QPoint(x + 9, kSize - 1), QPoint(x + 5, kSize - 1),
                          QPoint(x + 5, kSize / 2), QPoint(x + 2, kSize / 2)});
    p.drawPolygon(arrow);
}

void DrawGuide(QPainter& p, int x)
{
    p.setPen(QPen(QColor(0, 70, 160), 1));
    p.setBrush(QColor(200, 220, 255));
    p.drawRect(x + 1, 2, kSize - 3, kSize - 5);
    p.drawLine(x + 3, 5, x + kSize - 4, 5);
    p.drawLine(x + 3, 8, x + kSize - 4, 8);
}

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
    const auto next = [&](void (*draw)(QPainter&, int)) {
        draw(painter, x);
        x += kSize;
    };
    if (priority)
        next(DrawPriority);
    if (skip)
        next(DrawSkip);
    if (inactive)
        next(DrawInactive);
    if (guide)
        next(DrawGuide);
    painter.end();
    const QIcon icon(pixmap);
    cache.insert(key, icon);
    return icon;
}

} // namespace quorx
