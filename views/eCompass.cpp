#include "eCompass.h"

#include "InstrumentDial.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QRadialGradient>
#include <QTimerEvent>

namespace {
constexpr int RepaintIntervalMs = 200;
constexpr int ArcStart = 1424; // 89 degrees: just right of north
constexpr int MarkStep = 5;
constexpr int LabelStep = 45;
constexpr int FullTurn = 360;

const QPolygonF &needle()
{
    static const QPolygonF shape({QPointF(0, 84), QPointF(-7, 0), QPointF(0, -84), QPointF(7, 0)});
    return shape;
}
} // namespace

eCompass::eCompass()
{
    setTitle(QStringLiteral("Heading"));
    setMinimumSize(QSize(50, 50));
    resize(400, 400);
    timerId = startTimer(RepaintIntervalMs, Qt::CoarseTimer);
}

eCompass::~eCompass()
{
    killTimer(timerId);
    destroy();
}

void eCompass::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == timerId)
        renderLater();
}

void eCompass::render(QPainter *painter)
{
    // A heading that is no finite number turns neither needle nor arc; its text says so.
    const double safeHeading = InstrumentDial::finiteAngle(heading);

    InstrumentDial::setupDial(painter, size());
    InstrumentDial::drawBezel(painter);
    drawNeedle(painter, safeHeading);
    drawHeadingArc(painter, safeHeading);
    drawCentreCap(painter);
    drawMarks(painter);
    drawLabels(painter);
    drawValue(painter, heading);
    // Still at the value's opacity.
    InstrumentDial::drawGlass(painter);
}

void eCompass::drawNeedle(QPainter *painter, double safeHeading)
{
    QLinearGradient gradient(QPointF(0, 84), QPointF(-7, 0));
    gradient.setColorAt(0.85, Qt::blue);
    gradient.setColorAt(1.0, Qt::red);
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrush(gradient);
    painter->rotate(safeHeading);
    painter->drawConvexPolygon(needle());
    painter->restore();
}

void eCompass::drawHeadingArc(QPainter *painter, double safeHeading)
{
    QColor green(Qt::green);
    green.setAlphaF(0.5f);
    QPen pen(QBrush(green), 12);
    pen.setCapStyle(Qt::RoundCap);
    painter->setPen(pen);
    painter->drawArc(QRect(-93, -93, 186, 186), ArcStart, InstrumentDial::headingArcSpan(safeHeading));
}

void eCompass::drawCentreCap(QPainter *painter)
{
    QRadialGradient gradient(QPointF(0, 0), 9);
    gradient.setColorAt(0.0, Qt::white);
    gradient.setColorAt(0.9, Qt::gray);
    gradient.setColorAt(0.95, Qt::darkMagenta);
    gradient.setColorAt(1.0, Qt::black);
    painter->setPen(Qt::NoPen);
    painter->setBrush(gradient);
    painter->drawEllipse(QRect(-9, -9, 18, 18));
}

void eCompass::drawMarks(QPainter *painter)
{
    QPen pen(Qt::magenta, 2, Qt::SolidLine, Qt::RoundCap);
    painter->setPen(pen);
    painter->setOpacity(0.75);
    for (int angle = 0; angle < FullTurn; angle += LabelStep) {
        painter->drawLine(QPointF(88, 0), QPointF(96, 0));
        painter->rotate(LabelStep);
    }

    pen.setColor(Qt::cyan);
    painter->setPen(pen);
    for (int angle = 0; angle < FullTurn; angle += MarkStep) {
        if (angle % LabelStep != 0)
            painter->drawLine(QPointF(90, 0), QPointF(96, 0));
        painter->rotate(MarkStep);
    }
}

void eCompass::drawLabels(QPainter *painter)
{
    painter->setPen(Qt::darkGray);
    painter->drawText(QPointF(-10, -102), QStringLiteral("Yaw"));

    painter->setPen(Qt::darkMagenta);
    for (int angle = 0; angle < FullTurn; angle += LabelStep) {
        const QString text = QString::number(angle);
        // Centre one, two or three digits over the mark.
        painter->drawText(QPointF(-3.0 * text.size(), -75), text);
        painter->rotate(LabelStep);
    }
}

void eCompass::drawValue(QPainter *painter, double heading)
{
    painter->setPen(Qt::black);
    painter->setOpacity(0.75);
    painter->drawText(InstrumentDial::headingTextOrigin(heading), InstrumentDial::headingText(heading));
}
