#include "StatusLeds.h"

#include "PaintKit.h"

#include <QPainter>
#include <QRadialGradient>

using namespace PaintKit;

namespace StatusLeds {

QImage led(const QColor &colour, qreal turnDegrees)
{
    QImage image = iconCanvas();
    QPainter painter(&image);
    prepare(painter);
    painter.translate(IconSide / 2.0, IconSide / 2.0);
    painter.rotate(turnDegrees);

    QRadialGradient bezel(QPointF(-10, -10), 40);
    bezel.setColorAt(0.0, Colour::Silver);
    bezel.setColorAt(1.0, Colour::Outline);
    painter.setPen(Qt::NoPen);
    painter.setBrush(bezel);
    painter.drawEllipse(QPointF(0, 0), 31, 31);

    QRadialGradient glow(QPointF(-6, -6), 30);
    glow.setColorAt(0.0, colour.lighter(170));
    glow.setColorAt(0.55, colour);
    glow.setColorAt(1.0, colour.darker(170));
    painter.setBrush(glow);
    painter.drawEllipse(QPointF(0, 0), 25, 25);

    QRadialGradient spot(QPointF(-10, -12), 11);
    spot.setColorAt(0.0, QColor(255, 255, 255, 230));
    spot.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setBrush(spot);
    painter.drawEllipse(QPointF(-10, -12), 11, 8);
    return image;
}

} // namespace StatusLeds
