#include "InstrumentDial.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QSize>

#include <algorithm>
#include <cmath>
#include <limits>

namespace InstrumentDial {

namespace {
constexpr double SixteenthsPerDegree = 16.0;
constexpr float HalfTurn = 180.0f;
constexpr float PitchScaleBelowZero = 0.0135f;
constexpr float PitchScaleAboveZero = 0.015f;
constexpr float RollPointerGearing = 2.5f;
constexpr double HeadingArcLead = 32.0;

// Truncates toward zero; a value beyond int is held at its end, a non-finite one gives 0.
int truncatedToInt(double value)
{
    if (!std::isfinite(value))
        return 0;
    const double bounded = std::clamp(std::trunc(value),
                                      static_cast<double>(std::numeric_limits<int>::min()),
                                      static_cast<double>(std::numeric_limits<int>::max()));
    return static_cast<int>(bounded);
}
} // namespace

double finiteAngle(double degrees)
{
    return std::isfinite(degrees) ? degrees : 0.0;
}

int toSixteenths(double degrees)
{
    return truncatedToInt(degrees * SixteenthsPerDegree);
}

double pixelsPerUnit(const QSize &size)
{
    return qMin(size.width(), size.height()) / UnitsAcross;
}

void setupDial(QPainter *painter, const QSize &size)
{
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(size.width() / 2, size.height() / 2);
    const double scale = pixelsPerUnit(size);
    painter->scale(scale, scale);
}

void drawBezel(QPainter *painter)
{
    QRadialGradient gradient(QPointF(0, 0), BezelRadius);
    gradient.setColorAt(0.1, Qt::white);
    gradient.setColorAt(0.86, Qt::gray);
    gradient.setColorAt(0.99, Qt::black);
    gradient.setColorAt(1.0, Qt::darkMagenta);
    painter->setPen(Qt::NoPen);
    painter->setBrush(gradient);
    painter->drawEllipse(QRect(-BezelRadius, -BezelRadius, 2 * BezelRadius, 2 * BezelRadius));
}

void drawGlass(QPainter *painter)
{
    QColor shade(Qt::gray);
    shade.setAlphaF(0.2f);
    QColor shine(Qt::white);
    shine.setAlphaF(0.4f);
    QLinearGradient gradient(QPointF(-85, -85), QPointF(85, 85));
    gradient.setColorAt(0.1, shade);
    gradient.setColorAt(0.5, shine);
    painter->setPen(Qt::NoPen);
    painter->setBrush(gradient);
    painter->drawPie(QRect(-85, -85, 171, 171), 0, 2880);
    painter->drawPie(QRect(-85, -42, 171, 85), 0, -2880);
}

int groundChordStart(float roll, float pitch)
{
    return toSixteenths(-(roll + HalfTurn + pitch));
}

int groundChordSpan(float pitch)
{
    return toSixteenths(2.0f * pitch + HalfTurn);
}

float pitchLadderOffset(float pitch, int radius)
{
    const float scale = static_cast<float>(radius) * (pitch < 0.0f ? PitchScaleBelowZero : PitchScaleAboveZero);
    return pitch * scale;
}

float rollPointerRotation(float roll)
{
    return roll * RollPointerGearing;
}

int headingArcSpan(double heading)
{
    return truncatedToInt(std::trunc(-heading * SixteenthsPerDegree) + HeadingArcLead);
}

QPointF headingTextOrigin(double heading)
{
    if (heading < 10.0)
        return QPointF(-8, -50);
    if (heading < 100.0)
        return QPointF(-10, -50);
    return QPointF(-12, -50);
}

QString headingText(double heading)
{
    return QString::number(heading, 'f', 1);
}

} // namespace InstrumentDial
