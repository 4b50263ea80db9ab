#include "DialogChart.h"
#include "DialogChartProbe.h"
#include "RangeLimitAxis.h"
#include "RangeLimitAxisRect.h"

#include <QCheckBox>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

namespace {

QCheckBox *box(const DialogChart &dialog, int bit) { return DialogChartProbe::seriesBox(dialog, bit); }

// The box is checked and its indicator solid while its series is drawn; unchecked and faint otherwise.
bool shows(const DialogChart &dialog, int bit, bool on)
{
    const qreal alpha = box(dialog, bit)->palette().color(QPalette::Base).alphaF();
    return box(dialog, bit)->isChecked() == on && qAbs(alpha - (on ? 1.0 : 0.2)) < 0.01;
}

// The points in all graphs of a plot, after one more was added to each graph when add is set.
int points(const DialogChart &dialog, const char *plot, bool add = false)
{
    int count = 0;
    for (QCPGraph *graph : dialog.findChild<QCustomPlot *>(plot)->findChildren<QCPGraph *>()) {
        if (add)
            graph->addData(1.0, 2.0);
        count += graph->dataCount();
    }
    return count;
}

// Lays out a plot with limited axes: time 0 to 600 showing 0 to 60, angle -360 to 360 showing -1 to 1.
void limitAxes(QCustomPlot &plot)
{
    RangeLimitAxisRect::install(&plot);
    plot.resize(400, 300);
    RangeLimitAxis::of(plot.xAxis)->setRangeLimit(0, 600, QStringLiteral("time"));
    RangeLimitAxis::of(plot.yAxis)->setRangeLimit(-360, 360, QStringLiteral("angle"));
    plot.xAxis->setRange(0, 60);
    plot.yAxis->setRange(-1, 1);
    plot.replot();
}

} // namespace

// The chart window and the range-limited axes of its plots.
class TestChart : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        // A slot named for an object or signal the form lacks is left unconnected.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("No matching signal")));
    }

    // Each box shows its bit, and flips its own bit and tint; the unassigned bits 11 to 15 are kept.
    void selectionDrivesBoxesAndTints()
    {
        DialogChart dialog;
        QBitArray expected(DialogChart::SelectionBits);
        for (const int bit : {int(DialogChart::RollBit), int(DialogChart::AxBit), 11, 13, 15})
            expected.setBit(bit);
        dialog.DataDisplayFlag = expected;
        dialog.SetupPlot();
        for (int round = 0; round < 3; ++round) {
            for (int bit = 0; bit < DialogChart::SeriesCount; ++bit) {
                QVERIFY2(shows(dialog, bit, expected.testBit(bit)), qPrintable(box(dialog, bit)->objectName()));
                box(dialog, bit)->click();
                expected.toggleBit(bit);
            }
            QCOMPARE(dialog.DataDisplayFlag, expected);
        }
    }

    // A stored selection may be shorter than 16 bits: it is never indexed past its end.
    void shortSelectionBecomesSixteenClearedBits()
    {
        DialogChart dialog;
        dialog.DataDisplayFlag = QBitArray(5, true);
        dialog.SetupPlot();
        QBitArray expected(DialogChart::SelectionBits);
        QCOMPARE(dialog.DataDisplayFlag, expected);
        dialog.DataDisplayFlag = QBitArray();
        box(dialog, DialogChart::AzBit)->setChecked(true);
        expected.setBit(DialogChart::AzBit);
        QCOMPARE(dialog.DataDisplayFlag, expected);
    }

    // In the legend font every box is laid out at least as large as its text needs.
    void seriesBoxesShowTheirWholeText()
    {
        DialogChart dialog;
        dialog.DataDisplayFlag = QBitArray(DialogChart::SelectionBits);
        dialog.SetupPlot();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        for (int bit = 0; bit < DialogChart::SeriesCount; ++bit) {
            const QCheckBox *seriesBox = box(dialog, bit);
            const QSize needed = seriesBox->sizeHint();
            const QSize shown = seriesBox->size();
            QVERIFY2(shown.width() >= needed.width() && shown.height() >= needed.height(),
                     qPrintable(QStringLiteral("%1: %2 x %3 for %4 x %5").arg(seriesBox->objectName()).arg(shown.width())
                                    .arg(shown.height()).arg(needed.width()).arg(needed.height())));
        }
    }

    void sameThemeTwiceChangesNothing()
    {
        DialogChart dialog;
        dialog.updateTheme(QChart::ChartThemeBlueCerulean);
        QCOMPARE(dialog.palette().color(QPalette::Window), QColor(0x006286));
        dialog.setPalette(QPalette(Qt::red));
        dialog.updateTheme(QChart::ChartThemeBlueCerulean);
        QCOMPARE(dialog.palette().color(QPalette::Window), QColor(Qt::red));
    }

    // Activation, on or off, clears the acceleration and angle graphs and no others.
    void activationClearsAccelerationAndAngles()
    {
        DialogChart dialog;
        dialog.SetupPlot();
        for (const bool active : {true, false}) {
            for (const char *plot : {"linearDataPlot", "angularDataPlot", "linearAccDataPlot", "angularRateDataPlot"})
                points(dialog, plot, true);
            dialog.setActiveStatus(active);
            QCOMPARE(dialog.isActive(), active);
            QCOMPARE(points(dialog, "linearDataPlot") + points(dialog, "angularDataPlot"), 0);
            QVERIFY(points(dialog, "linearAccDataPlot") > 0 && points(dialog, "angularRateDataPlot") > 0);
        }
    }

    void everyWayOfClosingDeactivates_data()
    {
        QTest::addColumn<QString>("way");
        for (const char *way : {"Escape", "close", "reject", "accept"})
            QTest::newRow(way) << way;
    }

    // Twice: the window opens and activates again after it was closed.
    void everyWayOfClosingDeactivates()
    {
        QFETCH(QString, way);
        DialogChart dialog;
        dialog.SetupPlot();
        for (int round = 0; round < 2; ++round) {
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            dialog.setActiveStatus(true);
            points(dialog, "angularDataPlot", true);
            if (way == "Escape")
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else if (way == "close")
                QVERIFY(dialog.close());
            else if (way == "reject")
                dialog.reject();
            else
                dialog.accept();
            QVERIFY(!dialog.isVisible() && !dialog.isActive());
            QCOMPARE(points(dialog, "angularDataPlot"), 0);
        }
    }

    void clampedScaling_data()
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

    // On the angle axis, limited to -360 to 360; only the scaling is clamped, not the range set.
    void clampedScaling()
    {
        QFETCH(QCPRange, range);
        QFETCH(double, factor);
        QFETCH(double, center);
        QCustomPlot plot;
        limitAxes(plot);
        RangeLimitAxis *axis = RangeLimitAxis::of(plot.yAxis);
        axis->setRange(range);
        QCOMPARE(axis->range(), range);
        if (std::isnan(center))
            axis->scaleRange(factor);
        else
            axis->scaleRange(factor, center);
        QTEST(axis->range(), "expected");
    }

    // Each notch towards the user zooms both axes out, and signals both ranges every time, at the limits too.
    void wheelZoomIsClamped()
    {
        QCustomPlot plot;
        limitAxes(plot);
        plot.setInteractions(QCP::iRangeZoom);
        const QPointF pos = plot.axisRect()->rect().center();
        const double keyCenter = plot.xAxis->pixelToCoord(pos.x());
        const double factor = 1.0 / plot.axisRect()->rangeZoomFactor(Qt::Horizontal);
        QSignalSpy keySingle(plot.xAxis, qOverload<const QCPRange &>(&QCPAxis::rangeChanged));
        QSignalSpy keyPair(plot.xAxis, qOverload<const QCPRange &, const QCPRange &>(&QCPAxis::rangeChanged));
        QSignalSpy valueSingle(plot.yAxis, qOverload<const QCPRange &>(&QCPAxis::rangeChanged));
        QSignalSpy valuePair(plot.yAxis, qOverload<const QCPRange &, const QCPRange &>(&QCPAxis::rangeChanged));
        for (int notch = 1; notch <= 60; ++notch) {
            QWheelEvent event(pos, plot.mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(&plot, &event);
            if (notch == 1) // about the pointer, the lower end held at its limit
                QCOMPARE(plot.xAxis->range().upper, (60 - keyCenter) * factor + keyCenter);
        }
        for (const QSignalSpy *spy : {&keySingle, &keyPair, &valueSingle, &valuePair})
            QCOMPARE(spy->count(), 60);
        QCOMPARE(plot.xAxis->range(), QCPRange(0, 600));
        QCOMPARE(plot.yAxis->range(), QCPRange(-360, 360));
    }
};

QTEST_MAIN(TestChart)
#include "tst_chart.moc"
