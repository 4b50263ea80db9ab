#include "DialogChart.h"
#include "MainWindowFixture.h"
#include "Worker.h"

#include <QtTest>
#include <QtWidgets>
#include <qcustomplot.h>

#include <memory>

namespace {

const char *const PlotNames[] = {"linearAccDataPlot", "linearDataPlot", "angularDataPlot", "angularRateDataPlot"};

const QString Cleared =
    QStringLiteral("88.88|Roll  : NA|Pitch : NA|Yaw  : NA|Roll  : NA|Pitch : NA|Yaw  : NA|Ax : NA|Ay : NA|Az : NA");

OutputDataType sample(const QString &roll = QStringLiteral("+01.50"))
{
    OutputDataType data;
    const std::pair<int, const char *> fields[] = {
        {OutputDataType::Pitch, "-02.25"},    {OutputDataType::Yaw, "+359.9"},      {OutputDataType::RollRate, "+00.10"},
        {OutputDataType::PitchRate, "-00.20"}, {OutputDataType::YawRate, "+00.30"}, {OutputDataType::Heave, "-0.120"},
        {OutputDataType::HeaveVelocity, "+0.010"}, {OutputDataType::Ax, "+0.981"},  {OutputDataType::Ay, "-0.050"},
        {OutputDataType::Az, "+9.810"}};
    for (const auto &[field, text] : fields)
        data.field[std::size_t(field)] = QString::fromLatin1(text);
    data.field[OutputDataType::Roll] = roll;
    return data;
}

// Counts the paint events of the widgets it watches, by object name.
class PaintCounter : public QObject
{
public:
    QMap<QString, int> paints;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        paints[watched->objectName()] += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

// Lets every event posted so far, and those they post in turn, be handled.
void settle()
{
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
}

OutputProtocolType slot(int value, uint32_t mask, uint8_t first = 0xFF, uint8_t second = 0xFF)
{
    OutputProtocolType protocol;
    protocol.value = uint32_t(value);
    protocol.mask = mask;
    protocol.format = {first, second, 0, 0};
    protocol.enabled = value != 0;
    return protocol;
}

} // namespace

// Each decoded sample in the read-outs, the heave display, the instruments and the charts.
class TestDisplay : public QObject, public MainWindowFixture
{
    Q_OBJECT

    // The heave display's value and the nine labels, joined by "|".
    QString shownReadouts() const
    {
        QStringList texts{QString::number(m_window->findChild<QLCDNumber *>("lcdNumberHeave")->value())};
        for (const QLabel *label : MainWindowProbe::readoutLabels(*m_window))
            texts << label->text();
        return texts.join(QLatin1Char('|'));
    }

    void show(uint32_t mode, const OutputProtocolType &protocol, const OutputDataType &data = sample())
    {
        MainWindowProbe::setConnectionMode(*m_window, mode);
        m_window->dispalyOutputData(data, protocol);
    }

    AttitudeMeter &meter() { return MainWindowProbe::attitudeMeter(*m_window); }
    eCompass &compass() { return MainWindowProbe::compass(*m_window); }

private slots:
    void init() { openWindow(); }

    void cleanupTestCase() { closeWindow(); }

    // The selections have their rows in the read-out texts' own test; these
    // follow a sample through the window on each link.
    void readouts_data()
    {
        QTest::addColumn<uint>("mode");
        QTest::addColumn<int>("value");
        QTest::addColumn<uint>("mask");
        QTest::addColumn<uint>("format"); // first byte in the high half
        QTest::addColumn<QString>("expected");
        const uint serial = Worker::SerialMode, ethernet = Worker::EthernetMode;
        const QString all = QStringLiteral("-0.12|Roll  : +01.50|Pitch : -02.25|Yaw   : +359.9|Roll  : +00.10|"
                                           "Pitch : -00.20|Yaw   : +00.30|Ax : +0.981|Ay : -0.050|Az : +9.810");
        const QString rollPitchHeave = QStringLiteral("-0.12|Roll  : +01.50|Pitch : -02.25|Yaw   : NA|Roll  : NA|"
                                                      "Pitch : NA|Yaw   : NA|Ax : NA|Ay : NA|Az : NA");
        QTest::newRow("TSS1: roll, pitch, heave") << serial << 3 << 0x1C2u << 0xFFFFu << rollPitchHeave;
        QTest::newRow("Ethernet, no bit set") << ethernet << 0 << 0u << 0x0000u << all;
    }

    void readouts()
    {
        QFETCH(uint, mode);
        QFETCH(int, value);
        QFETCH(uint, mask);
        QFETCH(uint, format);
        show(mode, slot(value, mask, uint8_t(format >> 8), uint8_t(format)));
        QTEST(shownReadouts(), "expected");
    }

    void readoutsByName_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("expected");
        QTest::newRow("roll") << "labelRoll" << "Roll  : +01.50";
        QTest::newRow("pitch") << "labelPitch" << "Pitch : -02.25";
        QTest::newRow("yaw") << "labelYaw" << "Yaw   : +359.9";
        QTest::newRow("roll rate") << "labelRollRate" << "Roll  : +00.10";
        QTest::newRow("pitch rate") << "labelPitchRate" << "Pitch : -00.20";
        QTest::newRow("yaw rate") << "labelYawRate" << "Yaw   : +00.30";
        QTest::newRow("ax") << "labelAx" << "Ax : +0.981";
        QTest::newRow("ay") << "labelAy" << "Ay : -0.050";
        QTest::newRow("az") << "labelAz" << "Az : +9.810";
    }

    // Each field reaches the label of the form that is named for it.
    void readoutsByName()
    {
        QFETCH(QString, label);
        show(Worker::EthernetMode, slot(0, 0, 0x00, 0x00));
        QTEST(m_window->findChild<QLabel *>(label)->text(), "expected");
    }

    // Roll, pitch and heading reach the instruments whatever the selection; a
    // text that is no number gives 0.
    void instruments_data()
    {
        QTest::addColumn<QString>("roll");
        QTest::addColumn<float>("expected");
        QTest::newRow("plus sign and leading zeros") << "+01.50" << 1.5f;
        QTest::newRow("NA") << "NA" << 0.0f;
        QTest::newRow("beyond single precision") << "1e60" << 0.0f;
    }

    void instruments()
    {
        QFETCH(QString, roll);
        meter().roll = 99.0f;
        show(Worker::SerialMode, slot(20, 0, 0x00, 0x00), sample(roll));
        QTEST(meter().roll, "expected");
        QCOMPARE(meter().pitch, -2.25f);
        QCOMPARE(compass().heading, 359.9);
    }

    // Under a reserved protocol the read-outs clear and the instruments keep their last values.
    void reservedProtocolLeavesInstrumentsStill()
    {
        show(Worker::EthernetMode, slot(3, 0));
        show(Worker::SerialMode, slot(-1, 0xFFFF), sample(QStringLiteral("+07.00")));
        QCOMPARE(shownReadouts(), Cleared);
        QCOMPARE(meter().roll, 1.5f);
        QCOMPARE(compass().heading, 359.9);
    }

    // Clearing resets every read-out and leaves the instruments alone.
    void clearResetsReadouts()
    {
        show(Worker::EthernetMode, slot(3, 0));
        m_window->clearDataDisplay();
        QCOMPARE(shownReadouts(), Cleared);
        QCOMPARE(meter().roll, 1.5f);
    }

    // A protocol report on the serial link clears the read-outs, for any slot;
    // on the Ethernet link they stay.
    void protocolReportClearsOnSerialLink_data()
    {
        QTest::addColumn<uint>("mode");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("cleared");
        QTest::newRow("serial, slot 0") << uint(Worker::SerialMode) << 0 << true;
        QTest::newRow("serial, slot 2") << uint(Worker::SerialMode) << 2 << true;
        QTest::newRow("Ethernet, slot 0") << uint(Worker::EthernetMode) << 0 << false;
    }

    void protocolReportClearsOnSerialLink()
    {
        QFETCH(uint, mode);
        QFETCH(int, index);
        QFETCH(bool, cleared);
        show(Worker::EthernetMode, slot(3, 0));
        const QString before = shownReadouts();
        MainWindowProbe::setConnectionMode(*m_window, mode);
        m_window->ProcessProtocolParameters(slot(3, 0xC2), uint8_t(index));
        QCOMPARE(shownReadouts(), cleared ? Cleared : before);
    }

    // In view, a new sample repaints the read-outs alone: they fill their own
    // background in the colour shown beneath them, so the page looks the same,
    // and neither the group boxes nor the tab widget repaint behind them. A
    // value that needs more room still gets it.
    void newSampleRepaintsReadoutsAlone()
    {
        m_window->clearDataDisplay(); // hidden: the texts change, nothing else
        auto *tabs = m_window->findChild<QTabWidget *>("tabWidget");
        tabs->setCurrentWidget(m_window->findChild<QWidget *>("tabData"));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        settle();
        const QImage before = m_window->grab().toImage();
        m_window->clearDataDisplay();
        for (const QLabel *label : MainWindowProbe::readoutLabels(*m_window))
            QVERIFY2(label->autoFillBackground(), qPrintable(label->objectName()));
        QVERIFY(m_window->findChild<QLCDNumber *>("lcdNumberHeave")->autoFillBackground());
        settle();
        QCOMPARE(m_window->grab().toImage(), before);

        PaintCounter counter;
        for (const char *name : {"tabWidget", "tabData", "groupBoxAngles", "groupBoxHeave", "labelRoll", "lcdNumberHeave"})
            m_window->findChild<QWidget *>(QLatin1String(name))->installEventFilter(&counter);
        show(Worker::EthernetMode, slot(3, 0));
        settle();
        QCOMPARE(counter.paints.value("labelRoll"), 1);
        QCOMPARE(counter.paints.value("lcdNumberHeave"), 1);
        for (const char *name : {"tabWidget", "tabData", "groupBoxAngles", "groupBoxHeave"})
            QVERIFY2(counter.paints.value(QLatin1String(name)) == 0, name);

        show(Worker::EthernetMode, slot(3, 0), sample(QStringLiteral("+0123456789.0123456789.0123456789")));
        settle();
        auto *roll = m_window->findChild<QLabel *>("labelRoll");
        QVERIFY(roll->width() >= roll->minimumSizeHint().width());
    }

    void sampleOfTheLinkInUse_data()
    {
        QTest::addColumn<uint>("window");
        QTest::addColumn<uint>("link"); // the sample came in on
        QTest::addColumn<bool>("shown");
        const uint none = Worker::NoLink, serial = Worker::SerialMode, ethernet = Worker::EthernetMode;
        QTest::newRow("Ethernet in use, a serial sample") << ethernet << serial << false;
        QTest::newRow("no link, a serial sample") << none << serial << false;
        QTest::newRow("serial in use, an Ethernet sample") << serial << ethernet << false;
        QTest::newRow("serial in use, a serial sample") << serial << serial << true;
        QTest::newRow("Ethernet in use, an Ethernet sample") << ethernet << ethernet << true;
        QTest::newRow("serial in use, a sample naming no link") << serial << uint(Worker::AnyLink) << true;
        QTest::newRow("no link, a sample naming no link") << none << uint(Worker::AnyLink) << false;
    }

    // The worker's samples reach the read-outs, the instruments and the open
    // chart window only from the link in use: one of a link the window has
    // left (still on its way when the window left it) changes nothing.
    void sampleOfTheLinkInUse()
    {
        QFETCH(uint, window);
        QFETCH(uint, link);
        QFETCH(bool, shown);
        DialogChart *chart = MainWindowProbe::chart(*m_window);
        for (QCheckBox *box : chart->findChildren<QCheckBox *>())
            box->setChecked(true);
        chart->setActiveStatus(true);
        MainWindowProbe::setConnectionMode(*m_window, window);
        m_window->clearDataDisplay();

        emit MainWindowProbe::worker(*m_window)->signalDispalyOutputData(sample(), slot(3, 0x1C2), link);
        QCOMPARE(shownReadouts() != Cleared, shown);
        QCOMPARE(meter().roll, shown ? 1.5f : 0.0f);
        for (const char *name : PlotNames)
            QCOMPARE(chart->findChild<QCustomPlot *>(name)->graph(0)->dataCount(), shown ? 1 : 0);
        chart->setActiveStatus(false);
    }

    // The four charts take the sample while the chart window is open, and only then.
    void chartsFedWhileOpen()
    {
        DialogChart *chart = MainWindowProbe::chart(*m_window);
        qint64 now = 5000;
        chart->setClock([&now] { return now; });
        for (QCheckBox *box : chart->findChildren<QCheckBox *>())
            box->setChecked(true);

        show(Worker::EthernetMode, slot(3, 0));
        for (const char *name : PlotNames)
            QCOMPARE(chart->findChild<QCustomPlot *>(name)->graph(0)->dataCount(), 0);

        chart->setActiveStatus(true);
        now += 1500;
        show(Worker::EthernetMode, slot(3, 0));
        const double expected[] = {-0.12, 0.981, 1.5, 0.1};
        for (int plot = 0; plot < 4; ++plot) {
            QCPGraph *graph = chart->findChild<QCustomPlot *>(PlotNames[plot])->graph(0);
            QCOMPARE(graph->dataCount(), 1);
            QCOMPARE(graph->data()->at(0)->key, 0.0);
            QCOMPARE(float(graph->data()->at(0)->value), float(expected[plot]));
        }
        chart->setActiveStatus(false);
    }
};

QTEST_MAIN(TestDisplay)
#include "tst_display.moc"
