#ifndef ISOFRAME_H
#define ISOFRAME_H

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QTransform>
#include <QVector3D>

class QPainter;

// Isometric projection of device drawings: x runs to the lower right, y to the
// lower left and z up. Plane transforms let flat shapes be drawn onto box faces.
class IsoFrame
{
public:
    // Frame that fits the box from low to high centred into area.
    IsoFrame(const QRectF &area, const QVector3D &low, const QVector3D &high);

    QPointF at(qreal x, qreal y, qreal z) const;

    // Plane x = const, with u along y and v along z.
    QTransform planeX(qreal x) const;
    // Plane y = const, with u along x and v along z.
    QTransform planeY(qreal y) const;
    // Plane z = const, with u along x and v along y.
    QTransform planeZ(qreal z) const;

    // Draws the three visible faces of a box, shaded from colour.
    void box(QPainter &painter, const QVector3D &low, const QVector3D &high,
             const QColor &colour) const;

private:
    static QPointF project(qreal x, qreal y, qreal z);
    QTransform plane(const QPointF &u, const QPointF &v, const QPointF &anchor) const;

    QPointF m_origin;
    qreal m_scale = 1.0;
};

#endif // ISOFRAME_H
