#include "ui/dialog/DialogPictures.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

namespace quorx {

namespace {

constexpr int kGlyphSize = 16;

QPixmap Transparent(QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void DrawMark(QPainter& p, const QRectF& area, const QString& mark, const QColor& colour)
{
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(static_cast<int>(area.height() * 0.72));
    p.setFont(font);
    p.setPen(colour);
    p.drawText(area, Qt::AlignCenter, mark);
}

} // namespace

QPixmap DialogPictures::Question(QSize size)
{
    QPixmap pixmap = Transparent(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal d = std::min(size.width(), size.height()) - 8.0;
    const QRectF circle((size.width() - d) / 2.0, (size.height() - d) / 2.0, d, d);
    QLinearGradient fill(circle.topLeft(), circle.bottomRight());
    fill.setColorAt(0.0, QColor(90, 150, 230));
    fill.setColorAt(1.0, QColor(20, 70, 160));
    p.setPen(QPen(QColor(15, 50, 120), 2.0));
    p.setBrush(fill);
    p.drawEllipse(circle);
    DrawMark(p, circle, QStringLiteral("?"), Qt::white);
    return pixmap;
}

QPixmap DialogPictures::Exclamation(QSize size)
{
    QPixmap pixmap = Transparent(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = std::min(size.width(), size.height()) - 6.0;
    const qreal h = w * 0.88;
    const QPointF top(size.width() / 2.0, (size.height() - h) / 2.0);
    QPainterPath triangle;
    triangle.moveTo(top);
    triangle.lineTo(top.x() + w / 2.0, top.y() + h);
    triangle.lineTo(top.x() - w / 2.0, top.y() + h);
    triangle.closeSubpath();
    p.setPen(QPen(QColor(150, 105, 0), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(250, 200, 40));
    p.drawPath(triangle);
    DrawMark(p, QRectF(top.x() - w / 2.0, top.y() + h * 0.28, w, h * 0.72), QStringLiteral("!"), Qt::black);
    return pixmap;
}

QPixmap DialogPictures::YesGlyph()
{
    QPixmap pixmap = Transparent(QSize(kGlyphSize, kGlyphSize));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 140, 0), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(2.5, 8.5);
    tick.lineTo(6.5, 12.5);
    tick.lineTo(13.5, 3.5);
    p.drawPath(tick);
    return pixmap;
}

QPixmap DialogPictures::NoGlyph()
{
    QPixmap pixmap = Transparent(QSize(kGlyphSize, kGlyphSize));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 0, 0), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    return pixmap;
}

} // namespace quorx
