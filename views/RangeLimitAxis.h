#ifndef RANGELIMITAXIS_H
#define RANGELIMITAXIS_H

#include <qcustomplot.h>

// A plot axis whose wheel zoom stays inside a lower and an upper limit.
// Only wheel zoom is clamped: dragging, the rubber-band zoom and ranges the
// program sets go through the library's own setRange and ignore the limits.
class RangeLimitAxis : public QCPAxis
{
public:
    RangeLimitAxis(QCPAxisRect *parent, AxisType type);

    // The limited axis behind an axis of a plot set up with RangeLimitAxisRect, or null.
    static RangeLimitAxis *of(QCPAxis *axis);

    // Sets both limits; a pair the library would not take as a range is ignored.
    // name appears only in the debug trace.
    void setRangeLimit(float lower, float upper, const QString &name);
    float rangeLimitLower() const;
    float rangeLimitUpper() const;

    // Clamped zoom: scales the range about center (or about its middle), keeps
    // each end inside its limit and emits both range signals every time.
    void scaleRange(double factor);
    void scaleRange(double factor, double center);

    // Wheel delta of one notch of a common mouse wheel.
    static constexpr double WheelStepDelta = 120.0;

protected:
    void wheelEvent(QWheelEvent *event) override;

private:
    float mRangeLimitLower = -100.0f;
    float mRangeLimitUpper = 100.0f;
};

#endif // RANGELIMITAXIS_H
