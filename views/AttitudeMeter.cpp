// The attitude indicator window and its drawing.
#include "AttitudeMeter.h"

#include "InstrumentDial.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QTimerEvent>
#include <QtMath>

#include <cmath>

namespace {
constexpr int RepaintIntervalMs = 200;
constexpr int HorizonInset = 7;
constexpr int PointerInset = 16;
constexpr float DegreeMarkShare = 0.1f;
constexpr qreal DegreeMarkWidthDivisor = 30.0;

QColor withAlpha(const QColor &colour, float alpha)
{
    QColor result(colour);
    result.setAlphaF(alpha);
    return result;
}

// The roll pointer: a yellow arrow head at the rim, notched at its base.
QPolygonF rollPointer(int radius)
{
    const qreal length = radius - PointerInset;
    return QPolygonF({QPointF(0, -length), QPointF(-6, 6 - length), QPointF(0, 4 - length),
                      QPointF(6, 6 - length)});
}
} // namespace

AttitudeMeter::AttitudeMeter()
{
    setTitle(QStringLiteral("Attitude Meter"));
    setMinimumSize(QSize(50, 50));
    resize(400, 400);
    timerId = startTimer(RepaintIntervalMs, Qt::CoarseTimer);
}

AttitudeMeter::~AttitudeMeter()
{
    killTimer(timerId);
    destroy();
}

void AttitudeMeter::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == timerId)
        renderLater();
}

void AttitudeMeter::render(QPainter *painter)
{
    // A sample may carry a value that is not a number: draw it level.
    const float safeRoll = static_cast<float>(InstrumentDial::finiteAngle(roll));
    const float safePitch = static_cast<float>(InstrumentDial::finiteAngle(pitch));

    InstrumentDial::setupDial(painter, size());
    InstrumentDial::drawBezel(painter);

    const int inner = radius - HorizonInset;
    horizonRect = QRectF(-inner, -inner, 2 * inner, 2 * inner);
    pitchOffset = InstrumentDial::pitchLadderOffset(safePitch, radius);

    drawHorizon(painter, safeRoll, safePitch);
    drawRollPointer(painter, safeRoll);
    drawPitchSteps(painter, horizonRect, safeRoll);
    drawHandle(painter);
    drawRollScale(painter);
    InstrumentDial::drawGlass(painter);
}

void AttitudeMeter::drawHorizon(QPainter *painter, float safeRoll, float safePitch)
{
    QLinearGradient sky(horizonRect.topLeft(), horizonRect.bottomRight());
    sky.setColorAt(0.0, withAlpha(Qt::blue, 0.5f));
    sky.setColorAt(0.8, withAlpha(Qt::darkBlue, 0.5f));
    painter->setPen(Qt::NoPen);
    painter->setBrush(sky);
    painter->drawEllipse(horizonRect.toRect());

    QLinearGradient ground(horizonRect.topLeft(), horizonRect.bottomRight());
    ground.setColorAt(0.0, withAlpha(QColor(0xCD, 0x85, 0x3F), 0.5f));
    ground.setColorAt(0.9, withAlpha(QColor(0x80, 0x00, 0x00), 0.75f));
    painter->setBrush(ground);
    painter->drawChord(horizonRect, InstrumentDial::groundChordStart(safeRoll, safePitch),
                       InstrumentDial::groundChordSpan(safePitch));
}

void AttitudeMeter::drawRollPointer(QPainter *painter, float safeRoll)
{
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrush(Qt::yellow);
    painter->setOpacity(0.75);
    painter->rotate(InstrumentDial::rollPointerRotation(safeRoll));
    // The notch makes the outline concave: draw it as a general polygon.
    painter->drawPolygon(rollPointer(radius));
    painter->restore();
}

void AttitudeMeter::drawPitchSteps(QPainter *painter, const QRectF &rect, float safeRoll)
{
    painter->save();
    painter->translate(0, -pitchOffset);
    painter->rotate(safeRoll);

    QPen pen(withAlpha(Qt::white, 0.75f));
    pen.setCapStyle(Qt::RoundCap);
    pen.setWidth(2);
    painter->setPen(pen);
    painter->setRenderHint(QPainter::Antialiasing);

    const float half = static_cast<float>(rect.width()) / 2.0f;
    QFont font(QStringLiteral("Open Sans"));
    font.setWeight(QFont::DemiBold);
    font.setPointSizeF(half * 0.08f);
    painter->setFont(font);

    for (int value = -40; value <= 40; value += 10) {
        const qreal y = value * half / 70.0f;
        const qreal reach = 0.01f * half * std::abs(value);
        painter->drawLine(QPointF(-reach, y), QPointF(reach, y));
        if (value == 0)
            continue;

        const QString text = QString::number(std::abs(value));
        const QSizeF textSize = painter->fontMetrics().size(Qt::TextSingleLine, text);
        const qreal labelGap = 0.1f * half;
        for (const qreal x : {-reach - labelGap, reach + labelGap}) {
            QRectF box(QPointF(0, 0), textSize);
            box.moveCenter(QPointF(x, y));
            painter->drawText(box, Qt::TextSingleLine, text);
        }
    }
    painter->restore();
}

void AttitudeMeter::drawHandle(QPainter *painter)
{
    QLinearGradient gradient(QPointF(28, 0), QPointF(28, 28));
    gradient.setColorAt(0.0, withAlpha(Qt::yellow, 0.85f));
    gradient.setColorAt(0.5, withAlpha(Qt::gray, 0.75f));
    QPen pen(QBrush(gradient), 4);
    pen.setCapStyle(Qt::RoundCap);
    painter->setPen(pen);
    painter->drawArc(QRectF(-14, -14, 28, 28), 0, -2880);
    painter->drawLine(QPointF(-50, 0), QPointF(-15, 0));
    painter->drawLine(QPointF(50, 0), QPointF(15, 0));

    pen.setColor(withAlpha(Qt::gray, 0.75f));
    pen.setWidth(2);
    painter->setPen(pen);
    painter->drawLine(QPointF(0, 3), QPointF(0, 15));
    pen.setWidth(4);
    painter->setPen(pen);
    painter->drawLine(QPointF(0, 15), QPointF(0, 50));

    painter->setBrush(withAlpha(Qt::gray, 0.99f));
    painter->drawPolygon(QPolygonF({QPointF(0, 50), QPointF(10, 90), QPointF(-10, 90)}), Qt::OddEvenFill);

    pen.setColor(withAlpha(Qt::yellow, 0.85f));
    pen.setWidth(3);
    painter->setPen(pen);
    painter->drawEllipse(QRect(-2, -2, 4, 4));
}

void AttitudeMeter::drawRollScale(QPainter *painter)
{
    QPen pen(Qt::cyan, 2, Qt::SolidLine, Qt::RoundCap);

    painter->save();
    painter->setPen(pen);
    painter->setOpacity(0.75);
    painter->rotate(145);
    for (int mark = 0; mark < 50; ++mark) {
        painter->drawLine(QPointF(90, 0), QPointF(96, 0));
        painter->rotate(5);
    }
    painter->restore();

    painter->save();
    pen.setColor(Qt::magenta);
    painter->setPen(pen);
    painter->setOpacity(0.9);
    painter->rotate(145);
    for (int mark = 0; mark < 11; ++mark) {
        painter->drawLine(QPointF(88, 0), QPointF(96, 0));
        painter->rotate(25);
    }
    painter->restore();

    painter->save();
    painter->setPen(Qt::magenta);
    painter->setOpacity(0.75);
    painter->rotate(232.5);
    static constexpr int labels[] = {50, 40, 30, 20, 10, 0, 10, 20, 30, 40, 50};
    for (const int label : labels) {
        if (label != 0)
            painter->drawText(QPointF(-3, -75), QString::number(label));
        painter->rotate(25);
    }
    painter->restore();
}

QPointF AttitudeMeter::getPoint(float angle, const QRectF &rect) const
{
    const float r = static_cast<float>(rect.width()) / 2.0f;
    const float radians = qDegreesToRadians(angle);
    return QPointF(-std::cos(radians) * r, -std::sin(radians) * r);
}

void AttitudeMeter::drawDegree(QPainter *painter, const QRectF &rect, float angle) const
{
    const QPointF rim = getPoint(angle, rect);
    const QPointF inner = rim + (rect.center() - rim) * DegreeMarkShare;
    painter->setRenderHint(QPainter::Antialiasing);
    painter->drawLine(rim, inner);
}

void AttitudeMeter::drawDegrees(QPainter *painter) const
{
    QPen pen(Qt::white);
    painter->setPen(pen);
    for (const float angle : {60.0f, 70.0f, 80.0f, 100.0f, 110.0f, 120.0f})
        drawDegree(painter, horizonRect, angle);
    pen.setWidthF(horizonRect.width() / 2.0 / DegreeMarkWidthDivisor);
    painter->setPen(pen);
    for (const float angle : {0.0f, 90.0f, 180.0f, 30.0f, 150.0f})
        drawDegree(painter, horizonRect, angle);
}
