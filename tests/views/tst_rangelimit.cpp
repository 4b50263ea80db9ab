#include "RangeLimitAxis.h"
#include "RangeLimitAxisRect.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>

namespace {

// A laid-out plot with limited axes: time 0 to 600 at 0 to 60, angle -360 to 360 at -1 to 1.
struct LimitedPlot
{
    LimitedPlot()
    {
        RangeLimitAxisRect::install(&plot);
        plot.resize(400, 300);
        x()->setRangeLimit(0, 600, QStringLiteral("time"));
        x()->setRange(0, 60);
        y()->setRangeLimit(-360, 360, QStringLiteral("angle"));
        y()->setRange(-1, 1);
        plot.replot();
    }
    RangeLimitAxis *x() const { return RangeLimitAxis::of(plot.xAxis); }
    RangeLimitAxis *y() const { return RangeLimitAxis::of(plot.yAxis); }

    QCustomPlot plot;
};

} // namespace

class TestRangeLimit : public QObject
{
    Q_OBJECT

private slots:
    void clampedScaling_data();
    void clampedScaling();
    void setRangeIgnoresTheLimits();
    void wheelZoomIsClamped();
};

void TestRangeLimit::clampedScaling_data()
{
    QTest::addColumn<QCPRange>("range");
    QTest::addColumn<double>("factor");
    QTest::addColumn<double>("center");
    QTest::addColumn<QCPRange>("expected");

    const double middle = std::nan("");
    using R = QCPRange;
    QTest::newRow("zoom out stops at the lower limit") << R(-360, -300) << 1.5 << -330.0 << R(-360, -285);
    QTest::newRow("stops at both limits") << R(-1, 1) << 1000.0 << 0.0 << R(-360, 360);
    QTest::newRow("range set past the limits") << R(-400, 500) << 1.0 << 0.0 << R(-360, 360);
    QTest::newRow("zoom in") << R(100, 200) << 0.5 << 150.0 << R(125, 175);
    QTest::newRow("about the middle") << R(-360, -300) << 2.0 << middle << R(-360, -270);
    QTest::newRow("beyond the upper limit") << R(400, 500) << 1.0 << 450.0 << R(360, 400);
    QTest::newRow("collapsed pair keeps the range") << R(360, 460) << 1.0 << 410.0 << R(360, 460);
}

// The value axis is limited to -360 to 360.
void TestRangeLimit::clampedScaling()
{
    QFETCH(QCPRange, range);
    QFETCH(double, factor);
    QFETCH(double, center);
    QFETCH(QCPRange, expected);

    LimitedPlot limited;
    RangeLimitAxis *axis = limited.y();
    axis->setRange(range);
    if (std::isnan(center))
        axis->scaleRange(factor);
    else
        axis->scaleRange(factor, center);
    QCOMPARE(axis->range().lower, expected.lower);
    QCOMPARE(axis->range().upper, expected.upper);
}

void TestRangeLimit::setRangeIgnoresTheLimits()
{
    LimitedPlot limited;
    limited.y()->setRange(-400, 500);
    QCOMPARE(limited.y()->range(), QCPRange(-400, 500));
    limited.x()->setRange(590, 60, Qt::AlignLeft);
    QCOMPARE(limited.x()->range(), QCPRange(590, 650));
}

void TestRangeLimit::wheelZoomIsClamped()
{
    LimitedPlot limited;
    QCustomPlot &plot = limited.plot;
    plot.setInteractions(QCP::iRangeZoom);
    const QPointF pos = plot.axisRect()->rect().center();
    const double keyCenter = plot.xAxis->pixelToCoord(pos.x());
    const double factor = 1.0 / plot.axisRect()->rangeZoomFactor(Qt::Horizontal);
    using Single = void (QCPAxis::*)(const QCPRange &);
    using Pair = void (QCPAxis::*)(const QCPRange &, const QCPRange &);
    QSignalSpy keySingle(plot.xAxis, Single(&QCPAxis::rangeChanged));
    QSignalSpy keyPair(plot.xAxis, Pair(&QCPAxis::rangeChanged));
    QSignalSpy valueSingle(plot.yAxis, Single(&QCPAxis::rangeChanged));
    QSignalSpy valuePair(plot.yAxis, Pair(&QCPAxis::rangeChanged));

    // Each notch towards the user zooms both axes out, and signals both ranges even at the limits.
    for (int notch = 1; notch <= 60; ++notch) {
        QWheelEvent event(pos, plot.mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&plot, &event);
        if (notch == 1) {
            QCOMPARE(plot.xAxis->range().lower, 0.0);
            QCOMPARE(plot.xAxis->range().upper, (60 - keyCenter) * factor + keyCenter);
        }
    }
    for (const QSignalSpy *spy : {&keySingle, &keyPair, &valueSingle, &valuePair})
        QCOMPARE(spy->count(), 60);
    QCOMPARE(plot.xAxis->range(), QCPRange(0, 600));
    QCOMPARE(plot.yAxis->range(), QCPRange(-360, 360));
}

QTEST_MAIN(TestRangeLimit)
#include "tst_rangelimit.moc"
