#ifndef INSTRUMENTDIAL_H
#define INSTRUMENTDIAL_H

#include <QPointF>
#include <QString>

class QPainter;
class QSize;

// Geometry and common drawing of the round instruments. A dial is drawn in
// dial units: origin at the window's centre, y downward, 225 units across the
// window's shorter side. Arc angles are in sixteenths of a degree,
// counter-clockwise from 3 o'clock, as QPainter takes them.
namespace InstrumentDial {

inline constexpr double UnitsAcross = 225.0;
inline constexpr int BezelRadius = 100;

// An angle that is not a finite number is drawn as 0.
double finiteAngle(double degrees);

// Truncates an angle in degrees toward zero in sixteenths of a degree, held
// within the range of int (a non-finite angle gives 0).
int toSixteenths(double degrees);

// Pixels per dial unit for a window of the given size.
double pixelsPerUnit(const QSize &size);

// Moves the painter's origin to the window's centre and scales it to dial units.
void setupDial(QPainter *painter, const QSize &size);

// The shaded ring behind every instrument.
void drawBezel(QPainter *painter);

// The glass highlight over the upper half, drawn at the painter's current opacity.
void drawGlass(QPainter *painter);

// Attitude meter: start and span of the ground chord.
int groundChordStart(float roll, float pitch);
int groundChordSpan(float pitch);
// Attitude meter: vertical shift of the pitch ladder for a bezel radius.
float pitchLadderOffset(float pitch, int radius);
// Attitude meter: rotation of the roll pointer, 2.5 dial degrees per degree of roll.
float rollPointerRotation(float roll);

// Compass: span of the heading arc that starts just right of north.
int headingArcSpan(double heading);
// Compass: baseline start of the heading value text.
QPointF headingTextOrigin(double heading);
// Compass: the heading value with one decimal; a heading that is no finite
// number reads as such ("nan", "inf", "-inf"), never as a real heading.
QString headingText(double heading);

} // namespace InstrumentDial

#endif // INSTRUMENTDIAL_H
