#include "IsoFrame.h"

#include "PaintKit.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>

namespace {

constexpr qreal Cos30 = 0.8660254;
constexpr qreal Sin30 = 0.5;

} // namespace

IsoFrame::IsoFrame(const QRectF &area, const QVector3D &low, const QVector3D &high)
{
    QPolygonF corners;
    for (int corner = 0; corner < 8; ++corner) {
        corners << project(corner & 1 ? high.x() : low.x(),
                           corner & 2 ? high.y() : low.y(),
                           corner & 4 ? high.z() : low.z());
    }
    const QRectF bounds = corners.boundingRect();
    m_scale = std::min(area.width() / bounds.width(), area.height() / bounds.height());
    m_origin = area.center() - bounds.center() * m_scale;
}

QPointF IsoFrame::project(qreal x, qreal y, qreal z)
{
    return QPointF((x - y) * Cos30, (x + y) * Sin30 - z);
}

QPointF IsoFrame::at(qreal x, qreal y, qreal z) const
{
    return m_origin + project(x, y, z) * m_scale;
}

QTransform IsoFrame::plane(const QPointF &u, const QPointF &v, const QPointF &anchor) const
{
    return QTransform(u.x() * m_scale, u.y() * m_scale, v.x() * m_scale, v.y() * m_scale,
                      anchor.x(), anchor.y());
}

QTransform IsoFrame::planeX(qreal x) const
{
    return plane(project(0, 1, 0), project(0, 0, 1), at(x, 0, 0));
}

QTransform IsoFrame::planeY(qreal y) const
{
    return plane(project(1, 0, 0), project(0, 0, 1), at(0, y, 0));
}

QTransform IsoFrame::planeZ(qreal z) const
{
    return plane(project(1, 0, 0), project(0, 1, 0), at(0, 0, z));
}

void IsoFrame::box(QPainter &painter, const QVector3D &low, const QVector3D &high,
                   const QColor &colour) const
{
    const qreal x0 = low.x(), y0 = low.y(), z0 = low.z();
    const qreal x1 = high.x(), y1 = high.y(), z1 = high.z();

    painter.save();
    painter.setPen(QPen(colour.darker(200), 1.2, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
    painter.setBrush(colour.lighter(125));
    painter.drawPath(PaintKit::polygon({at(x0, y0, z1), at(x1, y0, z1), at(x1, y1, z1), at(x0, y1, z1)}));
    painter.setBrush(colour);
    painter.drawPath(PaintKit::polygon({at(x0, y1, z0), at(x1, y1, z0), at(x1, y1, z1), at(x0, y1, z1)}));
    painter.setBrush(colour.darker(130));
    painter.drawPath(PaintKit::polygon({at(x1, y0, z0), at(x1, y1, z0), at(x1, y1, z1), at(x1, y0, z1)}));
    painter.restore();
}
