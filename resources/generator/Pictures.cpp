#include "Pictures.h"

#include "IsoFrame.h"
#include "PaintKit.h"

#include <QPainter>
#include <QRadialGradient>

using namespace PaintKit;

namespace {

const QSize ModelSize(320, 200);
const QRectF ModelArea(12, 10, 296, 180);

QImage modelCanvas()
{
    return canvas(ModelSize.width(), ModelSize.height());
}

// Arrow in the current coordinates from tail to head, with a filled head.
void arrow(QPainter &painter, const QPointF &tail, const QPointF &head, const QColor &colour)
{
    const QLineF shaft(head, tail);
    QLineF wing = shaft;
    wing.setLength(9);
    painter.save();
    painter.setPen(QPen(colour, 3.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(tail, wing.p2());
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    QLineF left = wing;
    left.setAngle(wing.angle() + 25);
    QLineF right = wing;
    right.setAngle(wing.angle() - 25);
    painter.drawPath(polygon({head, left.p2(), right.p2()}));
    painter.restore();
}

// The sensor axes drawn onto the top face of a housing at height z.
void sensorAxes(QPainter &painter, const IsoFrame &frame, const QPointF &corner, qreal z)
{
    const QPointF origin = frame.at(corner.x(), corner.y(), z);
    arrow(painter, origin, frame.at(corner.x() + 40, corner.y(), z), Colour::Red);
    arrow(painter, origin, frame.at(corner.x(), corner.y() + 40, z), Colour::Green);
    arrow(painter, origin, frame.at(corner.x(), corner.y(), z + 36), Colour::Blue);
}

// Round screw-on connector with its pins, in the coordinates of a face plane.
void roundConnector(QPainter &painter, const QTransform &plane, const QPointF &centre, qreal radius)
{
    painter.save();
    painter.setTransform(plane);
    painter.setPen(QPen(Colour::Outline, 0));
    painter.setBrush(Colour::Silver);
    painter.drawEllipse(centre, radius, radius);
    painter.setBrush(Colour::Outline);
    painter.drawEllipse(centre, radius * 0.7, radius * 0.7);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Colour::Yellow);
    for (int pin = 0; pin < 6; ++pin) {
        const QLineF spoke = QLineF::fromPolar(radius * 0.4, pin * 60.0).translated(centre);
        painter.drawEllipse(spoke.p2(), radius * 0.1, radius * 0.1);
    }
    painter.restore();
}

// Round holes drawn into the plane at the given points.
void holes(QPainter &painter, const QTransform &plane, std::initializer_list<QPointF> centres,
           const QColor &rim)
{
    painter.save();
    painter.setTransform(plane);
    painter.setPen(QPen(rim, 2.0));
    painter.setBrush(Colour::Outline);
    for (const QPointF &centre : centres)
        painter.drawEllipse(centre, 5, 5);
    painter.restore();
}

// Die face with n pips in the tile.
void dieFace(QPainter &painter, const QRectF &tile, int pips, const QColor &colour)
{
    static const QList<QList<QPointF>> layouts = {
        {{0, 0}},
        {{-1, -1}, {1, 1}},
        {{-1, -1}, {0, 0}, {1, 1}},
        {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}},
        {{-1, -1}, {1, -1}, {0, 0}, {-1, 1}, {1, 1}},
        {{-1, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {1, 1}},
    };
    painter.save();
    const QRectF face = tile.adjusted(4, 4, -4, -4);
    painter.setPen(QPen(colour.darker(160), 3.0));
    painter.setBrush(shadedBrush(colour, face));
    painter.drawRoundedRect(face, 16, 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Colour::Paper);
    const qreal pitch = face.width() * 0.27;
    for (const QPointF &offset : layouts.at(pips - 1))
        painter.drawEllipse(face.center() + offset * pitch, 11, 11);
    painter.restore();
}

} // namespace

namespace Pictures {

QImage makerLogo()
{
    QImage image = canvas(256, 256);
    QPainter painter(&image);
    prepare(painter);

    const QRectF disc(8, 8, 240, 240);
    QRadialGradient depth(QPointF(100, 80), 200);
    depth.setColorAt(0.0, Colour::Blue);
    depth.setColorAt(1.0, Colour::DeepBlue);
    painter.setPen(Qt::NoPen);
    painter.setBrush(depth);
    painter.drawEllipse(disc);

    painter.save();
    painter.translate(128, 134);
    painter.rotate(-18);
    painter.setPen(QPen(Colour::Orange, 11.0, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(-100, -34, 200, 68));
    painter.restore();

    painter.setPen(QPen(Colour::DeepBlue, 4.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Colour::Paper);
    painter.drawPath(polygon({{58, 58}, {100, 58}, {128, 150}, {156, 58}, {198, 58}, {148, 202}, {108, 202}}));
    return image;
}

QImage modelDravona()
{
    QImage image = modelCanvas();
    QPainter painter(&image);
    prepare(painter);
    const IsoFrame frame(ModelArea, QVector3D(-24, 0, 0), QVector3D(174, 90, 96));

    const QColor anodised(0x26, 0x4f, 0x9c);
    frame.box(painter, QVector3D(-24, 0, 0), QVector3D(174, 90, 6), Colour::Silver.darker(115));
    holes(painter, frame.planeZ(6), {{-12, 20}, {-12, 70}, {162, 20}, {162, 70}}, Colour::Silver);
    frame.box(painter, QVector3D(0, 4, 6), QVector3D(150, 86, 60), anodised);

    painter.save();
    painter.setTransform(frame.planeY(86));
    painter.setPen(QPen(anodised.darker(150), 0));
    painter.setBrush(anodised.lighter(140));
    painter.drawRoundedRect(QRectF(14, 20, 70, 28), 3, 3);
    painter.restore();
    roundConnector(painter, frame.planeY(86), QPointF(118, 33), 15);
    sensorAxes(painter, frame, QPointF(22, 24), 60);
    return image;
}

QImage modelQuorvex()
{
    QImage image = modelCanvas();
    QPainter painter(&image);
    prepare(painter);
    const IsoFrame frame(ModelArea, QVector3D(0, 0, 0), QVector3D(120, 84, 90));

    frame.box(painter, QVector3D(0, 0, 0), QVector3D(120, 84, 36), Colour::Silver);
    frame.box(painter, QVector3D(0, 0, 36), QVector3D(120, 84, 42), Colour::Orange);
    frame.box(painter, QVector3D(0, 0, 42), QVector3D(120, 84, 54), Colour::Silver);

    painter.save();
    painter.setTransform(frame.planeY(84));
    painter.setPen(QPen(Colour::Outline, 0));
    painter.setBrush(Colour::Steel.darker(160));
    painter.drawPath(polygon({{14, 28}, {44, 28}, {44, 12}, {36, 12}, {36, 6}, {22, 6}, {22, 12}, {14, 12}}));
    painter.restore();
    roundConnector(painter, frame.planeY(84), QPointF(86, 19), 12);
    sensorAxes(painter, frame, QPointF(18, 18), 54);
    return image;
}

QImage modelOem()
{
    QImage image = modelCanvas();
    QPainter painter(&image);
    prepare(painter);
    const IsoFrame frame(ModelArea, QVector3D(0, 0, 0), QVector3D(150, 100, 40));

    const QColor board(0x1f, 0x7a, 0x3a);
    frame.box(painter, QVector3D(0, 0, 0), QVector3D(150, 100, 4), board);

    painter.save();
    painter.setTransform(frame.planeZ(4));
    painter.setPen(QPen(board.lighter(150), 1.5));
    for (int trace = 0; trace < 5; ++trace)
        painter.drawPolyline(QPolygonF({{62, 40.0 + trace * 6}, {70, 40.0 + trace * 6},
                                        {76, 34.0 + trace * 6}, {86, 34.0 + trace * 6}}));
    painter.restore();
    holes(painter, frame.planeZ(4), {{8, 8}, {142, 8}, {8, 92}, {142, 92}}, Colour::Yellow);

    for (int pin = 0; pin < 8; ++pin) {
        const float x = 30 + pin * 12;
        frame.box(painter, QVector3D(x, 6, 4), QVector3D(x + 8, 16, 10), Colour::Outline);
        frame.box(painter, QVector3D(x + 3, 10, 10), QVector3D(x + 5, 12, 20), Colour::Yellow);
    }
    frame.box(painter, QVector3D(86, 26, 4), QVector3D(120, 54, 9), Colour::Steel);
    frame.box(painter, QVector3D(22, 34, 4), QVector3D(62, 74, 11), QColor(0x2b, 0x2d, 0x33));
    for (int cap = 0; cap < 4; ++cap) {
        const float x = 90 + cap * 8;
        frame.box(painter, QVector3D(x, 70, 4), QVector3D(x + 4, 76, 8), QColor(0xb0, 0x8a, 0x5a));
    }
    sensorAxes(painter, frame, QPointF(34, 46), 11);
    return image;
}

QImage cubeTexture()
{
    constexpr int Tile = 128;
    QImage image = canvas(3 * Tile, 2 * Tile);
    QPainter painter(&image);
    prepare(painter);

    const QColor faces[] = {Colour::Red, Colour::Green, Colour::Blue,
                            Colour::Orange, QColor(0x7d, 0x4c, 0xc0), Colour::Steel};
    for (int side = 0; side < 6; ++side) {
        const QRectF tile((side % 3) * Tile, (side / 3) * Tile, Tile, Tile);
        dieFace(painter, tile, side + 1, faces[side]);
    }
    return image;
}

} // namespace Pictures
