#ifndef ECOMPASS_H
#define ECOMPASS_H

#include "RasterWindow.h"

// The heading instrument: a needle turned by the heading, an arc from north
// to the heading, marks every 5 degrees, labels every 45 and the value.
// It repaints on its own timer, not on data.
class eCompass : public RasterWindow
{
public:
    eCompass();
    ~eCompass() override;

    // Degrees as the device reports them, written by the main window.
    double heading = 0.0;

protected:
    void timerEvent(QTimerEvent *event) override;
    void render(QPainter *painter) override;

private:
    static void drawNeedle(QPainter *painter, double safeHeading);
    static void drawHeadingArc(QPainter *painter, double safeHeading);
    static void drawCentreCap(QPainter *painter);
    static void drawMarks(QPainter *painter);
    static void drawLabels(QPainter *painter);
    static void drawValue(QPainter *painter, double heading);

    int timerId = 0;
};

#endif // ECOMPASS_H
