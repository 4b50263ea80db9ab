#include "PaintKit.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QtMath>

namespace PaintKit {

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage iconCanvas()
{
    return canvas(IconSide, IconSide);
}

void prepare(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

QBrush shadedBrush(const QColor &colour, const QRectF &rect)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0.0, colour.lighter(135));
    gradient.setColorAt(1.0, colour.darker(120));
    return gradient;
}

void roundBadge(QPainter &painter, const QRectF &rect, const QColor &colour)
{
    painter.save();
    painter.setPen(QPen(colour.darker(150), 2.0));
    painter.setBrush(shadedBrush(colour, rect));
    painter.drawEllipse(rect.adjusted(1, 1, -1, -1));
    painter.restore();
}

void statusMark(QPainter &painter, bool ok)
{
    const QRectF mark(36, 36, 27, 27);
    roundBadge(painter, mark, ok ? Colour::Green : Colour::Red);

    painter.save();
    painter.setPen(QPen(Qt::white, 4.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    if (ok) {
        painter.drawPolyline(QPolygonF({{43, 50}, {48, 55}, {56, 44}}));
    } else {
        painter.drawLine(QPointF(44, 44), QPointF(55, 55));
        painter.drawLine(QPointF(55, 44), QPointF(44, 55));
    }
    painter.restore();
}

void paperSheet(QPainter &painter, const QRectF &rect)
{
    const qreal fold = rect.width() * 0.3;
    painter.save();
    painter.setPen(QPen(Colour::Outline, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
    painter.setBrush(Colour::Paper);
    painter.drawPath(polygon({rect.topLeft(), {rect.right() - fold, rect.top()},
                              {rect.right(), rect.top() + fold}, rect.bottomRight(),
                              rect.bottomLeft()}));
    painter.setBrush(Colour::Silver);
    painter.drawPath(polygon({{rect.right() - fold, rect.top()},
                              {rect.right() - fold, rect.top() + fold},
                              {rect.right(), rect.top() + fold}}));
    painter.restore();
}

QPainterPath gear(const QRectF &rect, int teeth)
{
    const QPointF centre = rect.center();
    const qreal outer = rect.width() / 2.0;
    const qreal inner = outer * 0.72;
    const qreal step = 2.0 * M_PI / teeth;

    QPolygonF outline;
    for (int tooth = 0; tooth < teeth; ++tooth) {
        const qreal angle = tooth * step;
        const qreal corners[] = {angle - step * 0.30, angle - step * 0.18,
                                 angle + step * 0.18, angle + step * 0.30};
        const qreal radii[] = {inner, outer, outer, inner};
        for (int i = 0; i < 4; ++i)
            outline << centre + QPointF(qCos(corners[i]), qSin(corners[i])) * radii[i];
    }
    outline << outline.first();

    QPainterPath wheel;
    wheel.addPolygon(outline);
    QPainterPath hole;
    hole.addEllipse(centre, outer * 0.32, outer * 0.32);
    return wheel.subtracted(hole);
}

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPolygonF shape(points);
    shape << shape.first();
    QPainterPath path;
    path.addPolygon(shape);
    return path;
}

} // namespace PaintKit
