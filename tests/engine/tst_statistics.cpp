#include "ExpFilter.h"
#include "StatisticsFilter.h"
#include "Worker.h"
#include "WorkerProbe.h"

#include <QtTest>

#include <cmath>

class TestStatistics : public QObject
{
    Q_OBJECT

private slots:
    void runningStatistics_data();
    void runningStatistics();
    void firstSampleOnlyInitialises();
    void expFilter_data();
    void expFilter();
    void expFilterFactors();
    void workerFeedsAndResetsFilters();
    void zeroWindowRestartsEverySample();
    void disabledProtocolFeedsNothing();
};

void TestStatistics::runningStatistics_data()
{
    QTest::addColumn<QList<double>>("samples");
    QTest::addColumn<double>("mean");
    QTest::addColumn<double>("previousMean");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<double>("meanOfSquares");
    QTest::addColumn<double>("m2");

    QTest::newRow("1 2 3") << QList<double>{1, 2, 3} << 2.0 << 1.5 << 1.0 << 3.0 << 14.0 / 3.0 << 2.0;
    QTest::newRow("3 2 1") << QList<double>{3, 2, 1} << 2.0 << 2.5 << 1.0 << 3.0 << 14.0 / 3.0 << 2.0;
    QTest::newRow("constant") << QList<double>{4, 4, 4, 4} << 4.0 << 4.0 << 4.0 << 4.0 << 16.0 << 0.0;
    QTest::newRow("negative") << QList<double>{-1, 1} << 0.0 << -1.0 << -1.0 << 1.0 << 1.0 << 2.0;
}

void TestStatistics::runningStatistics()
{
    QFETCH(QList<double>, samples);
    StatisticsFilter filter;
    unsigned int n = 0;
    for (double x : samples)
        filter.add(x, ++n);

    QFETCH(double, m2);
    QTEST(filter.mean, "mean");
    QTEST(filter.previousMean, "previousMean");
    QTEST(filter.minimum, "minimum");
    QTEST(filter.maximum, "maximum");
    QTEST(filter.meanOfSquares, "meanOfSquares");
    QCOMPARE(filter.M2, m2);
    QCOMPARE(filter.last, samples.last());
    QCOMPARE(filter.rms, std::sqrt(filter.meanOfSquares));
    QCOMPARE(filter.standardDeviation, std::sqrt(m2 / samples.size()));
}

void TestStatistics::firstSampleOnlyInitialises()
{
    StatisticsFilter filter;
    filter.add(5.0, 1000); // n is ignored on the first sample
    QVERIFY(filter.initialised);
    QCOMPARE(filter.mean, 5.0);
    QCOMPARE(filter.minimum, 5.0);
    QCOMPARE(filter.maximum, 5.0);
    QCOMPARE(filter.meanOfSquares, 25.0);
    QCOMPARE(filter.previousMean, 0.0);
    QCOMPARE(filter.M2, 0.0);
    QCOMPARE(filter.rms, 0.0);
}

void TestStatistics::expFilter_data()
{
    QTest::addColumn<double>("alpha");
    QTest::addColumn<QString>("operations"); // l = lp_add(2), h = hp_add(2)
    QTest::addColumn<double>("result");
    QTest::addColumn<double>("state");

    QTest::newRow("one low-pass step") << 0.5 << "l" << 1.0 << 1.0;
    QTest::newRow("two low-pass steps") << 0.5 << "ll" << 1.5 << 1.5;
    QTest::newRow("high-pass step") << 0.5 << "h" << 1.0 << 1.0;
    QTest::newRow("high-pass after low-pass") << 0.5 << "lh" << 0.5 << 1.5;
}

void TestStatistics::expFilter()
{
    QFETCH(double, alpha);
    QFETCH(QString, operations);
    ExpFilter filter;
    filter.alpha = alpha;
    double result = 0;
    for (QChar op : operations)
        result = op == QLatin1Char('l') ? filter.lp_add(2.0) : filter.hp_add(2.0);
    QTEST(result, "result");
    QTEST(filter.y, "state");
}

void TestStatistics::expFilterFactors()
{
    ExpFilter unity;
    unity.set_tbase(0.002);
    QCOMPARE(unity.alpha, 1.0);
    QCOMPARE(unity.lp_add(7.25), 7.25);

    ExpFilter explicitFactor;
    explicitFactor.alpha = 0.1;
    QCOMPARE(explicitFactor.lp_add(4.0, 0.5), 2.0);
    QCOMPARE(explicitFactor.hp_add(4.0, 0.5), 1.0);
    QCOMPARE(explicitFactor.alpha, 0.1);
}

void TestStatistics::workerFeedsAndResetsFilters()
{
    Worker worker;
    WorkerProbe::stopTimer(worker);
    WorkerProbe::protocol(worker, 0).enabled = true;

    const QList<double> rolls{1, 2, 3};
    for (double roll : rolls) {
        OutputDataType sample;
        sample.field[OutputDataType::Roll] = QString::number(roll);
        sample.field[OutputDataType::Heave] = QStringLiteral("not a number");
        worker.AddStatisticsXX(sample);
    }
    QCOMPARE(WorkerProbe::statisticsCount(worker), 3u);
    const StatisticsFilter &roll = WorkerProbe::filter(worker, 4);
    QCOMPARE(roll.mean, 2.0);
    QCOMPARE(roll.M2, 2.0);
    QCOMPARE(WorkerProbe::filter(worker, 0).mean, 0.0); // non-numeric heave counts as 0
    QVERIFY(WorkerProbe::filter(worker, 0).initialised);
    QVERIFY(!WorkerProbe::filter(worker, 7).initialised);

    const QList<StatisticsFilter *> list = WorkerProbe::filterList(worker);
    const QList<int> order{1, 2, 3, 0, 4, 5, 6};
    QCOMPARE(list.size(), order.size());
    for (int i = 0; i < order.size(); ++i)
        QCOMPARE(list.at(i), WorkerProbe::filterAddress(worker, order.at(i)));

    worker.resetStatisticsFilters();
    QCOMPARE(WorkerProbe::statisticsCount(worker), 0u);
    QVERIFY(WorkerProbe::filterList(worker).isEmpty());
    QVERIFY(!WorkerProbe::filter(worker, 4).initialised);
}

void TestStatistics::zeroWindowRestartsEverySample()
{
    Worker worker;
    WorkerProbe::stopTimer(worker);
    WorkerProbe::protocol(worker, 0).enabled = true;
    worker.setStatisticsTime(0);

    for (const char *roll : {"10", "20", "30"}) {
        OutputDataType sample;
        sample.field[OutputDataType::Roll] = QString::fromLatin1(roll);
        worker.AddStatisticsXX(sample);
        QCOMPARE(WorkerProbe::statisticsCount(worker), 0u);
        QCOMPARE(WorkerProbe::filter(worker, 4).mean, QString::fromLatin1(roll).toDouble());
        QCOMPARE(WorkerProbe::filter(worker, 4).M2, 0.0);
    }
}

void TestStatistics::disabledProtocolFeedsNothing()
{
    Worker worker;
    WorkerProbe::stopTimer(worker);
    OutputDataType sample;
    sample.field[OutputDataType::Roll] = QStringLiteral("1.5");
    worker.AddStatisticsXX(sample);
    QCOMPARE(WorkerProbe::statisticsCount(worker), 0u);
    QVERIFY(!WorkerProbe::filter(worker, 4).initialised);
}

QTEST_GUILESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
