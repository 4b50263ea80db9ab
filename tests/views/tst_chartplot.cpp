#include "DialogChart.h"
#include "RangeLimitAxis.h"

#include <QCheckBox>
#include <QTest>

#include <cmath>

namespace {

using F = OutputDataType;

// A chart window with the given series checked, open, on a clock the test sets.
struct Chart
{
    DialogChart dialog;
    qint64 now = 0;

    explicit Chart(std::initializer_list<int> bits)
    {
        QBitArray selection(DialogChart::SelectionBits);
        for (const int bit : bits)
            selection.setBit(bit);
        dialog.DataDisplayFlag = selection;
        dialog.SetupPlot();
        dialog.setClock([this] { return now; });
        dialog.setActiveStatus(true);
    }

    QCustomPlot *plot(const char *name) const { return dialog.findChild<QCustomPlot *>(QLatin1String(name)); }
    QCustomPlot *angles() const { return plot("angularDataPlot"); }
    QCustomPlot *heave() const { return plot("linearAccDataPlot"); }
    QCustomPlot *acc() const { return plot("linearDataPlot"); }
    QCustomPlot *rates() const { return plot("angularRateDataPlot"); }
    QCheckBox *box(const char *name) const { return dialog.findChild<QCheckBox *>(QLatin1String(name)); }

    // The four plots take the sample at the given second of the test clock.
    void feed(double seconds, const OutputDataType &data = OutputDataType())
    {
        now = std::llround(seconds * 1000.0);
        dialog.RealtimeHeaveDataPlot(data);
        dialog.RealtimeAccDataPlot(data);
        dialog.RealtimeAngDataPlot(data);
        dialog.RealtimeAngRateDataPlot(data);
    }
};

OutputDataType sample(int field, const char *text)
{
    OutputDataType data;
    data.field[std::size_t(field)] = QString::fromLatin1(text);
    return data;
}

QList<double> keys(const QCPGraph *graph)
{
    QList<double> result;
    for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it)
        result << it->key;
    return result;
}

QCPRange timeLimits(QCustomPlot *plot)
{
    const RangeLimitAxis *axis = RangeLimitAxis::of(plot->xAxis);
    return QCPRange(axis->rangeLimitLower(), axis->rangeLimitUpper());
}

bool near(const QCPRange &range, double lower, double upper)
{
    return std::fabs(range.lower - lower) < 1e-6 && std::fabs(range.upper - upper) < 1e-6;
}

} // namespace

// Samples into the four real-time plots, on a clock the test drives.
class TestChartPlot : public QObject
{
    Q_OBJECT

private slots:
    // Nothing is taken, and no time origin set, while the window is closed or
    // no box of the plot is checked; each plot's time starts at its first accepted sample.
    void originsSetByFirstAcceptedSample()
    {
        Chart chart({DialogChart::RollBit});
        chart.dialog.setActiveStatus(false);
        chart.feed(1.0);
        chart.dialog.setActiveStatus(true);
        chart.feed(5.0);
        chart.feed(125.5);
        QCOMPARE(keys(chart.angles()->graph(0)), (QList<double>{0.0, 120.5}));
        QCOMPARE(chart.heave()->graph(0)->dataCount(), 0);

        chart.box("checkBoxHeave")->setChecked(true);
        chart.feed(300.25);
        QCOMPARE(keys(chart.heave()->graph(0)), QList<double>{0.0});
        QCOMPARE(keys(chart.angles()->graph(0)).last(), 295.25);
    }

    // Keys keep millisecond resolution however long the run.
    void keysKeepMillisecondsOverLongRuns()
    {
        Chart chart({DialogChart::RollBit});
        chart.feed(0.0);
        chart.feed(18000.001);
        chart.feed(18000.002);
        chart.feed(30 * 3600 + 0.003);
        QCOMPARE(keys(chart.angles()->graph(0)), (QList<double>{0.0, 18000.001, 18000.002, 30 * 3600 + 0.003}));
    }

    void trim_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<double>("key");
        QTest::addColumn<int>("kept"); // of the points held before the sample
        // Points at keys 0, 0.39, 0.78, ... (400 s over 1024 points).
        QTest::newRow("1023 points, key 400") << 1023 << 400.0 << 1023;
        QTest::newRow("1024 points, key 300") << 1024 << 300.0 << 1024;
        QTest::newRow("1024 points, key 300.001: the point at 0 goes") << 1024 << 300.001 << 1023;
        QTest::newRow("1024 points, key 400: below 100 s go") << 1024 << 400.0 << 768;
        QTest::newRow("1024 points, key 1000: all go") << 1024 << 1000.0 << 0;
    }

    // Long graphs keep only the last 300 s, checked or not; an unchecked graph gets no new point.
    void trim()
    {
        QFETCH(int, points);
        QFETCH(double, key);
        QFETCH(int, kept);
        Chart chart({DialogChart::RollBit});
        chart.feed(0.0);
        for (int graph : {0, 1}) {
            chart.angles()->graph(graph)->data()->clear();
            for (int i = 0; i < points; ++i)
                chart.angles()->graph(graph)->addData(i * 400.0 / 1024, 1.0);
        }
        chart.feed(key);
        QCOMPARE(chart.angles()->graph(0)->dataCount(), kept + 1);
        QCOMPARE(chart.angles()->graph(1)->dataCount(), kept);
        if (kept > 0 && kept < points)
            QVERIFY(keys(chart.angles()->graph(1)).first() >= key - 300.0);
    }

    void timeLimitSlides_data()
    {
        QTest::addColumn<double>("key");
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        QTest::newRow("600 exactly") << 600.0 << 0.0 << 600.0;
        QTest::newRow("600.001") << 600.001 << 300.0 << 1200.0;
        QTest::newRow("1200") << 1200.0 << 300.0 << 1200.0;
        QTest::newRow("1200.5, two steps in one call") << 1200.5 << 900.0 << 1800.0;
        QTest::newRow("3000, four steps") << 3000.0 << 2100.0 << 3000.0;
        QTest::newRow("ten hours") << 36000.5 << 35700.0 << 36600.0;
    }

    // The time limits move ahead in steps of 600 s, the lower one 300 s behind
    // the old upper one, until the key lies inside them.
    void timeLimitSlides()
    {
        QFETCH(double, key);
        QFETCH(double, lower);
        QFETCH(double, upper);
        Chart chart({DialogChart::RollBit, DialogChart::HeaveBit, DialogChart::AxBit, DialogChart::RollRateBit});
        chart.feed(0.0);
        chart.feed(key);
        for (QCustomPlot *plot : {chart.angles(), chart.heave(), chart.acc(), chart.rates()})
            QVERIFY(near(timeLimits(plot), lower, upper));
        // After the catch-up, a wheel zoom out shows the newest key.
        chart.angles()->xAxis->setRange(key - 60, key);
        RangeLimitAxis::of(chart.angles()->xAxis)->scaleRange(100.0);
        QVERIFY(near(chart.angles()->xAxis->range(), lower, upper));
    }

    void valueRangeGrows_data()
    {
        QTest::addColumn<QString>("plot");
        QTest::addColumn<int>("bit");
        QTest::addColumn<int>("field");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        const auto row = [](const char *name, const char *plot, int bit, int field,
                            std::initializer_list<const char *> texts, double lower, double upper) {
            QStringList values;
            for (const char *text : texts)
                values << QString::fromLatin1(text);
            QTest::newRow(name) << QString::fromLatin1(plot) << bit << field << values << lower << upper;
        };
        const char *angles = "angularDataPlot", *heave = "linearAccDataPlot";
        row("roll inside", angles, DialogChart::RollBit, F::Roll, {"0.5"}, -1.0, 1.0);
        row("roll at the upper end", angles, DialogChart::RollBit, F::Roll, {"1.0"}, -1.0, 1.1);
        row("roll up, then down", angles, DialogChart::RollBit, F::Roll, {"1.0", "-2", "0"}, -2.1, 1.1);
        row("yaw beyond the limits", angles, DialogChart::YawBit, F::Yaw, {"+400.0"}, -1.0, 400.1);
        row("heave at the lower end", heave, DialogChart::HeaveBit, F::Heave, {"-0.1"}, -0.101, 0.1);
        row("heave velocity at the lower end", heave, DialogChart::HeaveVelocityBit, F::HeaveVelocity, {"-0.1"},
            -0.11, 0.1);
        row("Az at the upper end", "linearDataPlot", DialogChart::AzBit, F::Az, {"0.1"}, -0.1, 0.2);
        row("yaw rate at the upper end", "angularRateDataPlot", DialogChart::YawRateBit, F::YawRate, {"1"}, -1.0, 2.0);
        row("NA and empty plot 0", angles, DialogChart::RollBit, F::Roll, {"NA", ""}, -1.0, 1.0);
    }

    // The value range grows by the series' margin to take in every value, and never shrinks.
    void valueRangeGrows()
    {
        QFETCH(QString, plot);
        QFETCH(int, bit);
        QFETCH(int, field);
        QFETCH(QStringList, texts);
        QFETCH(double, lower);
        QFETCH(double, upper);
        Chart chart({bit});
        double seconds = 0.0;
        for (const QString &text : texts)
            chart.feed(seconds += 0.05, sample(field, text.toLatin1().constData()));
        QCustomPlot *target = chart.plot(plot.toLatin1().constData());
        QVERIFY2(near(target->yAxis->range(), lower, upper),
                 qPrintable(QStringLiteral("%1 %2").arg(target->yAxis->range().lower).arg(target->yAxis->range().upper)));
        if (texts.first() == QLatin1String("NA"))
            QCOMPARE(target->graph(0)->data()->at(1)->value, 0.0);
    }

    void follow_data()
    {
        QTest::addColumn<double>("dragLower");
        QTest::addColumn<double>("dragUpper");
        QTest::addColumn<double>("key");
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        QTest::newRow("key 30") << 0.0 << 60.0 << 30.0 << 0.0 << 60.0;
        QTest::newRow("key 60") << 0.0 << 60.0 << 60.0 << 0.0 << 60.0;
        QTest::newRow("key 61.5") << 0.0 << 60.0 << 61.5 << 1.5 << 61.5;
        QTest::newRow("dragged into the past") << 10.0 << 40.0 << 61.5 << 31.5 << 61.5;
        QTest::newRow("dragged into the future") << 100.0 << 200.0 << 61.5 << 100.0 << 200.0;
        QTest::newRow("zoomed in, late key") << 0.0 << 10.0 << 5000.0 << 4990.0 << 5000.0;
    }

    // The time range ends at the newest key once the key reaches its end, keeping its width.
    void follow()
    {
        QFETCH(double, dragLower);
        QFETCH(double, dragUpper);
        QFETCH(double, key);
        QFETCH(double, lower);
        QFETCH(double, upper);
        Chart chart({DialogChart::RollBit});
        chart.feed(0.0);
        chart.angles()->xAxis->setRange(dragLower, dragUpper);
        chart.feed(key);
        QVERIFY(near(chart.angles()->xAxis->range(), lower, upper));
    }

    // An unchecked series keeps its points and gets no new ones; a plot with
    // no checked series stays as it is while the others go on.
    void uncheckedSeries()
    {
        Chart chart({DialogChart::RollBit, DialogChart::PitchBit, DialogChart::HeaveBit});
        chart.feed(0.0, sample(F::Roll, "5"));
        chart.box("checkBoxPitch")->setChecked(false);
        chart.feed(1.0);
        QCOMPARE(chart.angles()->graph(0)->dataCount(), 2);
        QCOMPARE(chart.angles()->graph(1)->dataCount(), 1);

        chart.box("checkBoxRoll")->setChecked(false);
        const QCPRange time = chart.angles()->xAxis->range(), value = chart.angles()->yAxis->range();
        chart.feed(700.0, sample(F::Roll, "50"));
        QCOMPARE(chart.angles()->graph(0)->dataCount(), 2);
        QCOMPARE(chart.angles()->xAxis->range(), time);
        QCOMPARE(chart.angles()->yAxis->range(), value);
        QVERIFY(near(timeLimits(chart.angles()), 0, 600));
        QCOMPARE(chart.heave()->graph(0)->dataCount(), 3);
        QVERIFY(near(timeLimits(chart.heave()), 300, 1200));
    }

    // Closing and opening again keeps the origins: keys go on from the old ones.
    void reopeningKeepsOrigins()
    {
        Chart chart({DialogChart::RollBit, DialogChart::HeaveBit});
        chart.feed(10.0);
        chart.feed(20.0);
        chart.dialog.close();
        chart.feed(300.0);
        QCOMPARE(chart.heave()->graph(0)->dataCount(), 2);
        chart.dialog.setActiveStatus(true);
        QCOMPARE(chart.angles()->graph(0)->dataCount(), 0);
        chart.feed(610.0);
        QCOMPARE(keys(chart.angles()->graph(0)), QList<double>{600.0});
        QCOMPARE(keys(chart.heave()->graph(0)), (QList<double>{0.0, 10.0, 600.0}));
        QVERIFY(near(chart.angles()->xAxis->range(), 540, 600));
    }

    // The test feed: heave five times roll, the accelerations the cosine of roll, and so on.
    void simulation()
    {
        Chart chart({});
        for (QCheckBox *box : chart.dialog.findChildren<QCheckBox *>())
            box->setChecked(true);
        QVERIFY(chart.dialog.isCheckedLnrParameters() && chart.dialog.isCheckedAngParameters()
                && chart.dialog.isCheckedAngRateParameters());
        chart.now = 1000;
        chart.dialog.RealtimeDataPlotSimulation();
        chart.now = 2000;
        chart.dialog.RealtimeDataPlotSimulation();
        const auto value = [](QCustomPlot *plot, int graph) { return plot->graph(graph)->data()->at(1)->value; };
        const double x = value(chart.angles(), 0);
        QVERIFY(std::fabs(x - std::sin(0.1 * 0.5233334) * 0.28924853) < 0.016);
        QVERIFY(std::fabs(value(chart.angles(), 2) - (x + 0.2)) < 1e-5);
        QVERIFY(std::fabs(value(chart.rates(), 1) - (x + 0.1)) < 1e-5);
        QVERIFY(std::fabs(value(chart.heave(), 0) - 5 * x) < 1e-4);
        QVERIFY(std::fabs(value(chart.heave(), 1) - x) < 1e-5);
        QVERIFY(std::fabs(value(chart.acc(), 2) - (std::cos(x) + 0.2)) < 1e-5);
    }

    // The test signal stays within the sine's amplitude and the noise's reach.
    void testSignalBounds()
    {
        const double noiseReach = 12288 * 5.021537 / 1000 / 4096;
        for (int i = 0; i < 2000; ++i) {
            const float t = float(i) * 0.1f;
            const double clean = std::sin(t * 0.5233334f) * 0.28924853;
            QVERIFY(std::fabs(DialogChart::RawGeneratorSine(t) - clean) <= noiseReach + 1e-6);
        }
    }

    // Each sample replots at once; the screen repaints of several samples wait
    // for the event loop and coalesce there.
    void repaintsCoalesce()
    {
        Chart chart({DialogChart::RollBit});
        chart.dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart.dialog));
        QCoreApplication::processEvents();
        struct PaintCounter : QObject
        {
            int paints = 0;
            bool eventFilter(QObject *, QEvent *event) override
            {
                paints += event->type() == QEvent::Paint;
                return false;
            }
        } counter;
        chart.angles()->installEventFilter(&counter);
        for (int i = 0; i < 5; ++i)
            chart.feed(i * 0.05, sample(F::Roll, "0.5"));
        QCOMPARE(counter.paints, 0);
        QTRY_VERIFY(counter.paints >= 1);
        QCoreApplication::processEvents();
        QVERIFY(counter.paints < 5);
        QCOMPARE(chart.angles()->graph(0)->dataCount(), 5);
    }

    // Which plots have a checked series.
    void checkedPlots()
    {
        Chart chart({DialogChart::AyBit});
        QVERIFY(chart.dialog.isCheckedLnrParameters());
        QVERIFY(!chart.dialog.isCheckedAngParameters());
        QVERIFY(!chart.dialog.isCheckedAngRateParameters());
        chart.box("checkBoxYrate")->setChecked(true);
        QVERIFY(chart.dialog.isCheckedAngRateParameters());
    }
};

QTEST_MAIN(TestChartPlot)
#include "tst_chartplot.moc"
