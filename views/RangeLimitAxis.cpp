#include "RangeLimitAxis.h"

#include "ViewsLogging.h"

#include <QDebug>
#include <QWheelEvent>

#include <cmath>

RangeLimitAxis::RangeLimitAxis(QCPAxisRect *parent, AxisType type)
    : QCPAxis(parent, type)
{
}

RangeLimitAxis *RangeLimitAxis::of(QCPAxis *axis)
{
    return dynamic_cast<RangeLimitAxis *>(axis);
}

void RangeLimitAxis::setRangeLimit(float lower, float upper, const QString &name)
{
    if (!QCPRange::validRange(lower, upper))
        return;
    mRangeLimitLower = lower;
    mRangeLimitUpper = upper;
    emit rangeChanged(mRange);
    qCDebug(lcViews) << "$mRange.setRangeLimit#" << name << lower << upper;
}

float RangeLimitAxis::rangeLimitLower() const
{
    return mRangeLimitLower;
}

float RangeLimitAxis::rangeLimitUpper() const
{
    return mRangeLimitUpper;
}

void RangeLimitAxis::scaleRange(double factor)
{
    scaleRange(factor, mRange.center());
}

void RangeLimitAxis::scaleRange(double factor, double center)
{
    const QCPRange oldRange = mRange;
    double lower = (mRange.lower - center) * factor + center;
    double upper = (mRange.upper - center) * factor + center;
    if (lower < mRangeLimitLower)
        lower = mRangeLimitLower;
    if (upper > mRangeLimitUpper)
        upper = mRangeLimitUpper;
    if (QCPRange::validRange(lower, upper))
        mRange = QCPRange(lower, upper).sanitizedForLinScale();
    emit rangeChanged(mRange);
    emit rangeChanged(mRange, oldRange);
}

void RangeLimitAxis::wheelEvent(QWheelEvent *event)
{
    const Qt::Orientation direction = orientation();
    if (!mParentPlot->interactions().testFlag(QCP::iRangeZoom) || !mAxisRect->rangeZoom().testFlag(direction)
        || !mAxisRect->rangeZoomAxes(direction).contains(this)) {
        event->ignore();
        return;
    }
    const double steps = event->angleDelta().y() / WheelStepDelta;
    const double factor = std::pow(mAxisRect->rangeZoomFactor(direction), steps);
    const QPointF pos = event->position();
    scaleRange(factor, pixelToCoord(direction == Qt::Horizontal ? pos.x() : pos.y()));
    mParentPlot->replot();
}
