#include "ActionIcons.h"

#include "PaintKit.h"

#include <QPainter>
#include <QPolygonF>

using namespace PaintKit;

namespace {

const QRectF BadgeRect(2, 2, 60, 60);

QPen whiteStroke(qreal width)
{
    return QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Lines of figures on a sheet, as a log or data file shows them.
void dataRows(QPainter &painter, const QRectF &sheet)
{
    painter.save();
    painter.setPen(QPen(Colour::Blue, 3.0, Qt::SolidLine, Qt::RoundCap));
    const qreal left = sheet.left() + 6;
    for (int row = 0; row < 5; ++row) {
        const qreal y = sheet.top() + 18 + row * 8;
        painter.drawLine(QPointF(left, y), QPointF(left + 9, y));
        painter.drawLine(QPointF(left + 14, y), QPointF(sheet.right() - 6 - (row % 2) * 5, y));
    }
    painter.restore();
}

} // namespace

namespace ActionIcons {

QImage help()
{
    QImage image = iconCanvas();
    QPainter painter(&image);
    prepare(painter);
    roundBadge(painter, BadgeRect, Colour::Blue);

    QPainterPath mark;
    const QRectF bow(23, 13, 18, 18);
    mark.arcMoveTo(bow, 160);
    mark.arcTo(bow, 160, -250);
    mark.lineTo(32, 37);
    painter.setPen(whiteStroke(6.5));
    painter.drawPath(mark);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(32, 47), 4.2, 4.2);
    return image;
}

QImage info()
{
    QImage image = iconCanvas();
    QPainter painter(&image);
    prepare(painter);
    roundBadge(painter, BadgeRect, Colour::Blue.darker(110));

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(32, 17), 4.6, 4.6);
    painter.drawRoundedRect(QRectF(27.5, 26, 9, 24), 2, 2);
    painter.drawRoundedRect(QRectF(23, 26, 13, 5), 2, 2);
    painter.drawRoundedRect(QRectF(23, 46, 18, 5), 2, 2);
    return image;
}

QImage clear()
{
    QImage image = iconCanvas();
    QPainter painter(&image);
    prepare(painter);

    painter.setPen(QPen(Colour::Steel, 3.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(8, 56), QPointF(56, 56));

    painter.translate(32, 32);
    painter.rotate(-35);
    const QRectF rubber(-24, -10, 26, 22);
    const QRectF sleeve(2, -10, 22, 22);
    painter.setPen(QPen(Colour::Outline, 2.0));
    painter.setBrush(shadedBrush(QColor(0xf2, 0x7a, 0x8a), rubber));
    painter.drawRoundedRect(rubber, 4, 4);
    painter.setBrush(shadedBrush(Colour::Blue, sleeve));
    painter.drawRoundedRect(sleeve, 4, 4);
    return image;
}

QImage exit()
{
    QImage image = iconCanvas();
    QPainter painter(&image);
    prepare(painter);
    roundBadge(painter, BadgeRect, Colour::Red);

    painter.setPen(whiteStroke(6.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(16, 18, 32, 32), 125 * 16, 290 * 16);
    painter.drawLine(QPointF(32, 12), QPointF(32, 32));
    return image;
}

QImage play()
{
    QImage image = iconCanvas();
    QPainter painter(&image);
    prepare(painter);
    roundBadge(painter, BadgeRect, Colour::Green);

    painter.setPen(whiteStroke(3.0));
    painter.setBrush(Qt::white);
    painter.drawPath(polygon({{25, 18}, {47, 32}, {25, 46}}));
    return image;
}

QImage pause()
{
    QImage image = iconCanvas();
    QPainter painter(&image);
    prepare(painter);
    roundBadge(painter, BadgeRect, Colour::Orange);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(21, 18, 8, 28), 2, 2);
    painter.drawRoundedRect(QRectF(35, 18, 8, 28), 2, 2);
    return image;
}

QImage readSettings()
{
    QImage image = iconCanvas();
    QPainter painter(&image);
    prepare(painter);
    roundBadge(painter, BadgeRect, Colour::Blue);

    const QRectF ring(17, 17, 30, 30);
    painter.setPen(whiteStroke(5.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(ring, 100 * 16, 150 * 16);
    painter.drawArc(ring, 280 * 16, 150 * 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(polygon({{25, 10}, {36, 17}, {25, 24}}));
    painter.drawPath(polygon({{39, 40}, {28, 47}, {39, 54}}));
    return image;
}

QImage chart()
{
    QImage image = iconCanvas();
    QPainter painter(&image);
    prepare(painter);

    const QRectF card(4, 6, 56, 52);
    painter.setPen(QPen(Colour::Outline, 2.0));
    painter.setBrush(Colour::Paper);
    painter.drawRoundedRect(card, 5, 5);

    painter.setPen(QPen(Colour::Silver, 1.0));
    for (int y = 18; y <= 42; y += 8)
        painter.drawLine(QPointF(12, y), QPointF(54, y));
    painter.setPen(QPen(Colour::Outline, 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawPolyline(QPolygonF({{12, 12}, {12, 50}, {55, 50}}));

    painter.setPen(QPen(Colour::Blue, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({{14, 42}, {22, 30}, {30, 36}, {39, 18}, {47, 26}, {54, 16}}));
    painter.setPen(QPen(Colour::Red, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({{14, 34}, {23, 40}, {32, 44}, {41, 38}, {54, 42}}));
    return image;
}

QImage heading()
{
    QImage image = iconCanvas();
    QPainter painter(&image);
    prepare(painter);

    painter.setPen(QPen(Colour::DeepBlue, 3.0));
    painter.setBrush(shadedBrush(Colour::Blue, BadgeRect));
    painter.drawEllipse(BadgeRect.adjusted(1, 1, -1, -1));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Colour::Paper);
    painter.drawEllipse(QPointF(32, 32), 24, 24);

    painter.translate(32, 32);
    painter.setPen(QPen(Colour::Steel, 2.0, Qt::SolidLine, Qt::RoundCap));
    for (int tick = 0; tick < 8; ++tick) {
        painter.drawLine(QPointF(0, -22), QPointF(0, tick % 2 ? -19 : -16));
        painter.rotate(45);
    }
    painter.rotate(40);
    painter.setPen(QPen(Colour::Outline, 1.0));
    painter.setBrush(Colour::Red);
    painter.drawPath(polygon({{0, -20}, {6, 0}, {-6, 0}}));
    painter.setBrush(Colour::Silver);
    painter.drawPath(polygon({{0, 20}, {6, 0}, {-6, 0}}));
    painter.setBrush(Colour::Outline);
    painter.drawEllipse(QPointF(0, 0), 2.5, 2.5);
    return image;
}

QImage viewer3d()
{
    QImage image = iconCanvas();
    QPainter painter(&image);
    prepare(painter);

    const QColor sea(0x1d, 0x8c, 0xb8);
    painter.setPen(QPen(sea.darker(180), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(sea.lighter(150));
    painter.drawPath(polygon({{32, 6}, {56, 18}, {32, 30}, {8, 18}}));
    painter.setBrush(sea);
    painter.drawPath(polygon({{8, 18}, {32, 30}, {32, 58}, {8, 46}}));
    painter.setBrush(sea.darker(130));
    painter.drawPath(polygon({{32, 30}, {56, 18}, {56, 46}, {32, 58}}));
    return image;
}

QImage attitude()
{
    QImage image = iconCanvas();
    QPainter painter(&image);
    prepare(painter);

    const QRectF dial(4, 4, 56, 56);
    QPainterPath face;
    face.addEllipse(dial);
    painter.setClipPath(face);
    painter.fillRect(dial, QColor(0x4a, 0x9b, 0xe8));
    painter.translate(32, 32);
    painter.rotate(-15);
    painter.fillRect(QRectF(-40, 4, 80, 40), QColor(0x9a, 0x64, 0x30));
    painter.setPen(QPen(Qt::white, 2.0));
    painter.drawLine(QPointF(-40, 4), QPointF(40, 4));
    painter.setPen(QPen(Qt::white, 1.5));
    painter.drawLine(QPointF(-8, -6), QPointF(8, -6));
    painter.drawLine(QPointF(-8, 14), QPointF(8, 14));
    painter.resetTransform();
    painter.setClipping(false);

    painter.setPen(QPen(Colour::Yellow, 4.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({{14, 34}, {25, 34}, {32, 40}, {39, 34}, {50, 34}}));
    painter.setPen(QPen(Colour::Outline, 4.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(dial.adjusted(1, 1, -1, -1));
    return image;
}

QImage openFile()
{
    QImage image = iconCanvas();
    QPainter painter(&image);
    prepare(painter);

    painter.setPen(QPen(QColor(0x9a, 0x6b, 0x12), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(0xd9, 0xa0, 0x2a));
    painter.drawPath(polygon({{4, 14}, {22, 14}, {27, 20}, {54, 20}, {54, 54}, {4, 54}}));
    painter.setBrush(shadedBrush(Colour::Yellow, QRectF(4, 28, 56, 26)));
    painter.drawPath(polygon({{14, 28}, {61, 28}, {52, 54}, {4, 54}}));
    return image;
}

QImage dataFile()
{
    QImage image = iconCanvas();
    QPainter painter(&image);
    prepare(painter);
    const QRectF sheet(10, 3, 44, 58);
    paperSheet(painter, sheet);
    dataRows(painter, sheet);
    return image;
}

QImage dataCapture()
{
    QImage image = dataFile();
    QPainter painter(&image);
    prepare(painter);
    const QRectF dot(34, 34, 28, 28);
    painter.setPen(QPen(Qt::white, 3.0));
    painter.setBrush(shadedBrush(Colour::Red, dot));
    painter.drawEllipse(dot.adjusted(1.5, 1.5, -1.5, -1.5));
    return image;
}

QImage compassTool()
{
    QImage image = iconCanvas();
    QPainter painter(&image);
    prepare(painter);

    QPainterPath horseshoe;
    horseshoe.moveTo(14, 6);
    horseshoe.lineTo(14, 32);
    horseshoe.arcTo(QRectF(14, 14, 36, 36), 180, 180);
    horseshoe.lineTo(50, 6);
    painter.setPen(QPen(Colour::Outline, 16.0, Qt::SolidLine, Qt::FlatCap));
    painter.drawPath(horseshoe);
    painter.setPen(QPen(Colour::Red, 12.0, Qt::SolidLine, Qt::FlatCap));
    painter.drawPath(horseshoe);

    painter.setPen(QPen(Colour::Outline, 2.0));
    painter.setBrush(Colour::Silver);
    painter.drawRect(QRectF(8, 4, 12, 10));
    painter.drawRect(QRectF(44, 4, 12, 10));
    return image;
}

} // namespace ActionIcons
