#include "RangeLimitAxisRect.h"

#include "RangeLimitAxis.h"

#include <QWheelEvent>

#include <cmath>

namespace {
constexpr int InsetMargin = 12;
}

RangeLimitAxisRect::RangeLimitAxisRect(QCustomPlot *plot)
    : QCPAxisRect(plot, false)
{
    // The same axes as the library's default rect, each with its limits.
    QCPAxis *top = addAxis(QCPAxis::atTop, new RangeLimitAxis(this, QCPAxis::atTop));
    QCPAxis *right = addAxis(QCPAxis::atRight, new RangeLimitAxis(this, QCPAxis::atRight));
    QCPAxis *bottom = addAxis(QCPAxis::atBottom, new RangeLimitAxis(this, QCPAxis::atBottom));
    QCPAxis *left = addAxis(QCPAxis::atLeft, new RangeLimitAxis(this, QCPAxis::atLeft));
    setRangeDragAxes(bottom, left);
    setRangeZoomAxes(bottom, left);
    top->setVisible(false);
    right->setVisible(false);
    bottom->grid()->setVisible(true);
    left->grid()->setVisible(true);
    top->grid()->setVisible(false);
    right->grid()->setVisible(false);
    top->grid()->setZeroLinePen(Qt::NoPen);
    right->grid()->setZeroLinePen(Qt::NoPen);
}

RangeLimitAxisRect *RangeLimitAxisRect::install(QCustomPlot *plot)
{
    auto *rect = new RangeLimitAxisRect(plot);
    QCPAxisRect *old = plot->axisRect();
    if (old && plot->legend && old->insetLayout()->take(plot->legend))
        rect->insetLayout()->addElement(plot->legend, Qt::AlignRight | Qt::AlignTop);
    rect->insetLayout()->setMargins(QMargins(InsetMargin, InsetMargin, InsetMargin, InsetMargin));
    if (old)
        plot->plotLayout()->remove(old);
    plot->plotLayout()->addElement(0, 0, rect);

    // Layers as the library gives its default rect.
    rect->setLayer(QStringLiteral("background"));
    for (QCPAxis *axis : rect->axes()) {
        axis->setLayer(QStringLiteral("axes"));
        axis->grid()->setLayer(QStringLiteral("grid"));
    }
    plot->xAxis = rect->axis(QCPAxis::atBottom);
    plot->yAxis = rect->axis(QCPAxis::atLeft);
    plot->xAxis2 = rect->axis(QCPAxis::atTop);
    plot->yAxis2 = rect->axis(QCPAxis::atRight);
    return rect;
}

void RangeLimitAxisRect::wheelEvent(QWheelEvent *event)
{
    if (!mParentPlot->interactions().testFlag(QCP::iRangeZoom) || rangeZoom() == Qt::Orientations())
        return;
    for (const Qt::Orientation direction : {Qt::Horizontal, Qt::Vertical}) {
        if (rangeZoom().testFlag(direction))
            zoomAxes(event, direction);
    }
    mParentPlot->replot();
}

void RangeLimitAxisRect::zoomAxes(QWheelEvent *event, Qt::Orientation direction)
{
    const double steps = event->angleDelta().y() / RangeLimitAxis::WheelStepDelta;
    const double factor = std::pow(rangeZoomFactor(direction), steps);
    const QPointF pos = event->position();
    for (QCPAxis *axis : rangeZoomAxes(direction)) {
        const double center = axis->pixelToCoord(direction == Qt::Horizontal ? pos.x() : pos.y());
        if (RangeLimitAxis *limited = RangeLimitAxis::of(axis))
            limited->scaleRange(factor, center);
        else
            axis->scaleRange(factor, center);
    }
}
