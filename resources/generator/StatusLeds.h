#ifndef STATUSLEDS_H
#define STATUSLEDS_H

#include <QImage>

class QColor;

// Painter of the round link LEDs of the status strip.
namespace StatusLeds {

// A lit LED of the colour; its light spot sits upper left and is turned clockwise
// by turnDegrees, so turned copies read as a spinning LED.
QImage led(const QColor &colour, qreal turnDegrees = 0.0);

} // namespace StatusLeds

#endif // STATUSLEDS_H
