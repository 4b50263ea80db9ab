#ifndef RANGELIMITAXISRECT_H
#define RANGELIMITAXISRECT_H

#include <qcustomplot.h>

// An axis rect with four range-limited axes whose wheel zoom goes through
// the axes' clamped scaling.
class RangeLimitAxisRect : public QCPAxisRect
{
public:
    explicit RangeLimitAxisRect(QCustomPlot *plot);

    // Puts a limited axis rect in place of the plot's default one, before any
    // graph is added: the plot's axis pointers and its legend move over.
    static RangeLimitAxisRect *install(QCustomPlot *plot);

protected:
    void wheelEvent(QWheelEvent *event) override;

private:
    void zoomAxes(QWheelEvent *event, Qt::Orientation direction);
};

#endif // RANGELIMITAXISRECT_H
