#include "LinkIcons.h"

#include "PaintKit.h"

#include <QPainter>

using namespace PaintKit;

namespace {

// A nine-pin D-shaped serial connector seen from the front.
void serialConnector(QPainter &painter)
{
    painter.save();
    painter.setPen(QPen(Colour::Outline, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(shadedBrush(Colour::Silver, QRectF(2, 12, 60, 34)));
    painter.drawRoundedRect(QRectF(2, 14, 60, 30), 5, 5);
    painter.setBrush(Colour::Steel.darker(130));
    painter.drawPath(polygon({{10, 18}, {54, 18}, {48, 40}, {16, 40}}));

    painter.setPen(Qt::NoPen);
    painter.setBrush(Colour::Yellow);
    for (int pin = 0; pin < 5; ++pin)
        painter.drawEllipse(QPointF(17 + pin * 7.5, 25), 2.6, 2.6);
    for (int pin = 0; pin < 4; ++pin)
        painter.drawEllipse(QPointF(20.75 + pin * 7.5, 33), 2.6, 2.6);
    painter.restore();
}

// An eight-contact network jack seen from the front.
void ethernetJack(QPainter &painter)
{
    painter.save();
    painter.setPen(QPen(Colour::Outline, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
    painter.setBrush(shadedBrush(Colour::Silver, QRectF(6, 6, 52, 52)));
    painter.drawRoundedRect(QRectF(6, 6, 52, 50), 4, 4);
    painter.setBrush(Colour::Steel.darker(160));
    painter.drawPath(polygon({{13, 14}, {51, 14}, {51, 38}, {41, 38}, {41, 46},
                              {23, 46}, {23, 38}, {13, 38}}));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Colour::Yellow);
    for (int contact = 0; contact < 8; ++contact)
        painter.drawRect(QRectF(16.5 + contact * 4.2, 15, 2.2, 9));
    painter.restore();
}

} // namespace

namespace LinkIcons {

QImage serial(bool connected)
{
    QImage image = iconCanvas();
    QPainter painter(&image);
    prepare(painter);
    serialConnector(painter);
    statusMark(painter, connected);
    return image;
}

QImage serialConfig()
{
    QImage image = iconCanvas();
    QPainter painter(&image);
    prepare(painter);
    serialConnector(painter);

    painter.setPen(QPen(Colour::Outline, 1.5));
    painter.setBrush(shadedBrush(Colour::Blue, QRectF(32, 32, 31, 31)));
    painter.drawPath(gear(QRectF(33, 33, 30, 30), 8));
    return image;
}

QImage ethernet(bool connected)
{
    QImage image = iconCanvas();
    QPainter painter(&image);
    prepare(painter);
    ethernetJack(painter);
    statusMark(painter, connected);
    return image;
}

} // namespace LinkIcons
