#ifndef ATTITUDEMETER_H
#define ATTITUDEMETER_H

#include "RasterWindow.h"

#include <QRectF>

// The attitude indicator: a horizon that follows roll and pitch, a pitch
// ladder, a fixed aircraft symbol and a roll scale with its pointer.
// It repaints on its own timer, not on data.
class AttitudeMeter : public RasterWindow
{
public:
    AttitudeMeter();
    ~AttitudeMeter() override;

    // Degrees, written by the main window from each decoded sample.
    float roll = 0.0f;
    float pitch = 0.0f;

    // The rim point of rect's circle at angle degrees, measured from 9 o'clock
    // towards 12 o'clock, relative to the dial's centre.
    QPointF getPoint(float angle, const QRectF &rect) const;
    // A short mark inward from the rim point at angle: a tenth of the way to rect's centre.
    void drawDegree(QPainter *painter, const QRectF &rect, float angle) const;
    // White marks on the horizon rim: thin at 60, 70, 80, 100, 110 and 120
    // degrees, thick at 0, 30, 90, 150 and 180.
    void drawDegrees(QPainter *painter) const;

protected:
    void timerEvent(QTimerEvent *event) override;
    void render(QPainter *painter) override;

private:
    void drawHorizon(QPainter *painter, float safeRoll, float safePitch);
    void drawRollPointer(QPainter *painter, float safeRoll);
    void drawPitchSteps(QPainter *painter, const QRectF &rect, float safeRoll);
    void drawHandle(QPainter *painter);
    void drawRollScale(QPainter *painter);

    int timerId = 0;
    QRectF horizonRect;
    int radius = 100;
    float pitchOffset = 0.0f;
};

#endif // ATTITUDEMETER_H
