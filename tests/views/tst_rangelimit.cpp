#include "RangeLimitAxis.h"
#include "RangeLimitAxisRect.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>

namespace {

// Counts both range signals of one axis.
struct RangeSpies
{
    explicit RangeSpies(QCPAxis *axis)
        : single(axis, qOverload<const QCPRange &>(&QCPAxis::rangeChanged))
        , pair(axis, qOverload<const QCPRange &, const QCPRange &>(&QCPAxis::rangeChanged))
    {
    }
    QSignalSpy single;
    QSignalSpy pair;
};

// A plot with the limited axes, laid out at a fixed size.
struct LimitedPlot
{
    LimitedPlot()
    {
        RangeLimitAxisRect::install(&plot);
        plot.resize(400, 300);
        plot.replot();
    }
    RangeLimitAxis *x() const { return RangeLimitAxis::of(plot.xAxis); }
    RangeLimitAxis *y() const { return RangeLimitAxis::of(plot.yAxis); }

    QCustomPlot plot;
};

void sendWheel(QWidget *target, QPointF pos, int delta)
{
    QWheelEvent event(pos, target->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(target, &event);
}

} // namespace

class TestRangeLimit : public QObject
{
    Q_OBJECT

private slots:
    void installGivesEveryAxisDefaultLimits();
    void clampedScaling_data();
    void clampedScaling();
    void repeatedZoomOutStopsAtTheLimits();
    void zoomInsideTheLimitsIsTheLibrarysZoom();
    void scalingAboutTheMiddle();
    void everyStepEmitsBothSignals();
    void setRangeIgnoresTheLimits();
    void setRangeLimitChecksThePair();
    void wheelOverThePlotIsClamped();
    void wheelOverAnAxisZoomsOnlyThatAxis();
};

void TestRangeLimit::installGivesEveryAxisDefaultLimits()
{
    LimitedPlot limited;
    QCustomPlot &plot = limited.plot;
    QCOMPARE(plot.axisRectCount(), 1);
    QCOMPARE(plot.axisRect()->axes().size(), 4);
    for (QCPAxis *axis : plot.axisRect()->axes()) {
        RangeLimitAxis *limitedAxis = RangeLimitAxis::of(axis);
        QVERIFY(limitedAxis);
        QCOMPARE(limitedAxis->rangeLimitLower(), -100.0f);
        QCOMPARE(limitedAxis->rangeLimitUpper(), 100.0f);
    }
    QCOMPARE(plot.xAxis, plot.axisRect()->axis(QCPAxis::atBottom));
    QCOMPARE(plot.yAxis, plot.axisRect()->axis(QCPAxis::atLeft));
    QCOMPARE(plot.xAxis2, plot.axisRect()->axis(QCPAxis::atTop));
    QCOMPARE(plot.yAxis2, plot.axisRect()->axis(QCPAxis::atRight));
    QVERIFY(!plot.xAxis2->visible());
    QVERIFY(plot.legend);
    QVERIFY(plot.axisRect()->insetLayout()->elements(false).contains(plot.legend));
    QCOMPARE(plot.axisRect()->rangeZoomAxes(Qt::Horizontal), QList<QCPAxis *>{plot.xAxis});

    // Graphs go on the new axes and the plot draws.
    QCPGraph *graph = plot.addGraph();
    QCOMPARE(graph->keyAxis(), plot.xAxis);
    graph->addData(1, 2);
    plot.replot();
    QVERIFY(!plot.toPixmap(200, 100).isNull());
    QVERIFY(!RangeLimitAxis::of(QCustomPlot().xAxis));
}

void TestRangeLimit::clampedScaling_data()
{
    QTest::addColumn<float>("limitLower");
    QTest::addColumn<float>("limitUpper");
    QTest::addColumn<QCPRange>("range");
    QTest::addColumn<double>("factor");
    QTest::addColumn<double>("center");
    QTest::addColumn<QCPRange>("expected");

    QTest::newRow("time axis zoom out stops at 0") << 0.0f << 600.0f << QCPRange(0, 60) << 1.5 << 30.0
                                                   << QCPRange(0, 75);
    QTest::newRow("angle axis stops at both limits") << -360.0f << 360.0f << QCPRange(-1, 1) << 1000.0 << 0.0
                                                     << QCPRange(-360, 360);
    QTest::newRow("grown heave range clamps to the limits") << -10.0f << 10.0f << QCPRange(-12, 15) << 1.5
                                                            << 1.5 << QCPRange(-10, 10);
    QTest::newRow("grown heave range, factor 1") << -10.0f << 10.0f << QCPRange(-12, 15) << 1.0 << 0.0
                                                 << QCPRange(-10, 10);
    QTest::newRow("zoom in inside the limits") << 0.0f << 600.0f << QCPRange(100, 200) << 0.5 << 150.0
                                               << QCPRange(125, 175);
    QTest::newRow("ends exactly at the limits stay") << 0.0f << 600.0f << QCPRange(0, 600) << 1.0 << 300.0
                                                     << QCPRange(0, 600);
    QTest::newRow("already at the limits") << -360.0f << 360.0f << QCPRange(-360, 360) << 2.0 << 0.0
                                           << QCPRange(-360, 360);
    QTest::newRow("a range past the limit is brought into order") << 0.0f << 600.0f << QCPRange(700, 800) << 1.0
                                                                  << 750.0 << QCPRange(600, 700);
    QTest::newRow("a collapsed pair keeps the old range") << 0.0f << 600.0f << QCPRange(600, 700) << 1.0 << 650.0
                                                          << QCPRange(600, 700);
}

void TestRangeLimit::clampedScaling()
{
    QFETCH(float, limitLower);
    QFETCH(float, limitUpper);
    QFETCH(QCPRange, range);
    QFETCH(double, factor);
    QFETCH(double, center);
    QFETCH(QCPRange, expected);

    LimitedPlot limited;
    RangeLimitAxis *axis = limited.x();
    axis->setRangeLimit(limitLower, limitUpper, QStringLiteral("test"));
    axis->setRange(range);
    axis->scaleRange(factor, center);
    QCOMPARE(axis->range().lower, expected.lower);
    QCOMPARE(axis->range().upper, expected.upper);
}

void TestRangeLimit::repeatedZoomOutStopsAtTheLimits()
{
    LimitedPlot limited;
    RangeLimitAxis *axis = limited.x();
    axis->setRangeLimit(0, 600, QStringLiteral("time"));
    axis->setRange(0, 60);
    double previousUpper = 60;
    for (int step = 0; step < 30; ++step) {
        axis->scaleRange(1.5, 30);
        QVERIFY(axis->range().lower >= 0);
        QVERIFY(axis->range().upper <= 600);
        QVERIFY(axis->range().upper >= previousUpper);
        previousUpper = axis->range().upper;
    }
    QCOMPARE(axis->range(), QCPRange(0, 600));
}

void TestRangeLimit::zoomInsideTheLimitsIsTheLibrarysZoom()
{
    LimitedPlot limited;
    QCustomPlot stock;
    limited.x()->setRangeLimit(-1000, 1000, QStringLiteral("wide"));
    for (QCPAxis *axis : {static_cast<QCPAxis *>(limited.x()), stock.xAxis})
        axis->setRange(-37.5, 212.25);
    limited.x()->scaleRange(0.85, 12.3);
    stock.xAxis->scaleRange(0.85, 12.3);
    QCOMPARE(limited.x()->range(), stock.xAxis->range());
}

void TestRangeLimit::scalingAboutTheMiddle()
{
    LimitedPlot limited;
    RangeLimitAxis *axis = limited.x();
    axis->setRangeLimit(0, 600, QStringLiteral("time"));
    axis->setRange(0, 60);
    axis->scaleRange(2.0);
    QCOMPARE(axis->range(), QCPRange(0, 90));
    axis->scaleRange(0.5);
    QCOMPARE(axis->range(), QCPRange(22.5, 67.5));
}

void TestRangeLimit::everyStepEmitsBothSignals()
{
    LimitedPlot limited;
    RangeLimitAxis *axis = limited.y();
    axis->setRangeLimit(-360, 360, QStringLiteral("angle"));
    axis->setRange(-360, 360);
    RangeSpies spies(axis);
    for (int step = 1; step <= 3; ++step) {
        axis->scaleRange(1.2, 0);
        QCOMPARE(spies.single.count(), step);
        QCOMPARE(spies.pair.count(), step);
    }
    QCOMPARE(axis->range(), QCPRange(-360, 360));
    const QList<QVariant> last = spies.pair.takeLast();
    QCOMPARE(last.at(0).value<QCPRange>(), QCPRange(-360, 360));
    QCOMPARE(last.at(1).value<QCPRange>(), QCPRange(-360, 360));
}

void TestRangeLimit::setRangeIgnoresTheLimits()
{
    LimitedPlot limited;
    RangeLimitAxis *axis = limited.y();
    axis->setRangeLimit(-10, 10, QStringLiteral("Hv value"));
    axis->setRange(-12, 15);
    QCOMPARE(axis->range(), QCPRange(-12, 15));
    axis->scaleRange(1.0, 0);
    QCOMPARE(axis->range(), QCPRange(-10, 10));
    axis->setRange(-12, 15);
    QCOMPARE(axis->range(), QCPRange(-12, 15));

    RangeLimitAxis *time = limited.x();
    time->setRangeLimit(0, 600, QStringLiteral("time"));
    time->setRange(590, 60, Qt::AlignLeft);
    QCOMPARE(time->range(), QCPRange(590, 650));
}

void TestRangeLimit::setRangeLimitChecksThePair()
{
    LimitedPlot limited;
    RangeLimitAxis *axis = limited.y();
    axis->setRange(-1, 1);
    RangeSpies spies(axis);

    axis->setRangeLimit(5, 5, QStringLiteral("empty"));
    QCOMPARE(axis->rangeLimitLower(), -100.0f);
    QCOMPARE(axis->rangeLimitUpper(), 100.0f);
    QCOMPARE(spies.single.count(), 0);
    QCOMPARE(spies.pair.count(), 0);

    axis->setRangeLimit(-360, 360, QStringLiteral("angle value"));
    QCOMPARE(axis->rangeLimitLower(), -360.0f);
    QCOMPARE(axis->rangeLimitUpper(), 360.0f);
    QCOMPARE(axis->range(), QCPRange(-1, 1));
    QCOMPARE(spies.single.count(), 1);
    QCOMPARE(spies.single.first().at(0).value<QCPRange>(), QCPRange(-1, 1));
    QCOMPARE(spies.pair.count(), 0);
}

void TestRangeLimit::wheelOverThePlotIsClamped()
{
    LimitedPlot limited;
    QCustomPlot &plot = limited.plot;
    plot.setInteractions(QCP::iRangeZoom);
    limited.x()->setRangeLimit(0, 600, QStringLiteral("time"));
    limited.x()->setRange(0, 60);
    limited.y()->setRangeLimit(-360, 360, QStringLiteral("angle"));
    limited.y()->setRange(-1, 1);
    plot.replot();

    const QPointF pos = plot.axisRect()->rect().center();
    const double keyCenter = plot.xAxis->pixelToCoord(pos.x());
    const double valueCenter = plot.yAxis->pixelToCoord(pos.y());
    const double factor = 1.0 / plot.axisRect()->rangeZoomFactor(Qt::Horizontal);
    RangeSpies keySpies(plot.xAxis);
    RangeSpies valueSpies(plot.yAxis);

    // One notch towards the user zooms out.
    sendWheel(&plot, pos, -120);
    QCOMPARE(keySpies.single.count(), 1);
    QCOMPARE(keySpies.pair.count(), 1);
    QCOMPARE(valueSpies.single.count(), 1);
    QCOMPARE(valueSpies.pair.count(), 1);
    QCOMPARE(plot.xAxis->range().lower, 0.0);
    QCOMPARE(plot.xAxis->range().upper, (60 - keyCenter) * factor + keyCenter);
    QVERIFY(qFuzzyCompare(plot.yAxis->range().upper, (1 - valueCenter) * factor + valueCenter));

    for (int notch = 0; notch < 60; ++notch)
        sendWheel(&plot, pos, -120);
    QCOMPARE(keySpies.pair.count(), 61);
    QCOMPARE(valueSpies.pair.count(), 61);
    QCOMPARE(plot.xAxis->range(), QCPRange(0, 600));
    QCOMPARE(plot.yAxis->range(), QCPRange(-360, 360));
}

void TestRangeLimit::wheelOverAnAxisZoomsOnlyThatAxis()
{
    LimitedPlot limited;
    QCustomPlot &plot = limited.plot;
    plot.setInteractions(QCP::iRangeZoom);
    limited.x()->setRangeLimit(0, 600, QStringLiteral("time"));
    limited.x()->setRange(0, 60);
    limited.y()->setRange(-1, 1);
    plot.replot();

    const QRect area = plot.axisRect()->rect();
    const QPointF onAxis(area.center().x(), area.bottom() + 8);
    RangeSpies keySpies(plot.xAxis);
    RangeSpies valueSpies(plot.yAxis);
    for (int notch = 0; notch < 40; ++notch)
        sendWheel(&plot, onAxis, -120);
    QCOMPARE(keySpies.single.count(), 40);
    QCOMPARE(keySpies.pair.count(), 40);
    QCOMPARE(valueSpies.pair.count(), 0);
    QCOMPARE(plot.xAxis->range(), QCPRange(0, 600));
    QCOMPARE(plot.yAxis->range(), QCPRange(-1, 1));
}

QTEST_MAIN(TestRangeLimit)
#include "tst_rangelimit.moc"
