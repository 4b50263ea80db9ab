#include "MainWindowFixture.h"
#include "PtyDevice.h"
#include "SerialTestSettings.h"
#include "Worker.h"
#include "WorkerProbe.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

// The settings panel and a real worker on a pseudo-terminal: what each tab's
// Apply makes the unit receive. The test wires the panel to the worker itself.
class TestSettingsRoad : public QObject, public MainWindowFixture
{
    Q_OBJECT

    std::unique_ptr<PtyDevice> m_device;
    std::unique_ptr<Worker> m_worker;

    void type(const char *edit, const QString &text)
    {
        auto *lineEdit = child<QLineEdit>(edit);
        lineEdit->selectAll();
        QTest::keyClick(lineEdit, Qt::Key_Delete);
        QTest::keyClicks(lineEdit, text);
    }

    // Ticks the worker until the settings are through; the lines the unit received since.
    QList<QByteArray> sentLines()
    {
        QSignalSpy through(m_worker.get(), &Worker::enableAllButtons);
        const qsizetype before = m_device->receivedLines().size();
        for (int tick = 0; tick < 40 && through.isEmpty(); ++tick) {
            const qsizetype lines = m_device->receivedLines().size();
            m_worker->tick();
            // A tick that drops its setting writes nothing: then the wait just runs out.
            static_cast<void>(QTest::qWaitFor([&] { return m_device->receivedLines().size() > lines; }, 200));
        }
        m_window->enableAllButtons(true);
        return m_device->receivedLines().mid(before);
    }

private slots:
    void initTestCase() { registerDeviceMetaTypes(); }

    void init()
    {
        closeWindow();
        m_worker.reset();
        m_device = std::make_unique<PtyDevice>();
        m_worker = std::make_unique<Worker>();
        WorkerProbe::stopTimer(*m_worker);
        m_worker->openSerialPort(serialTestSettings(m_device->portName()));
        QVERIFY(WorkerProbe::serialPort(*m_worker)->isOpen());
        WorkerProbe::setReadingSettings(*m_worker, false);

        openWindow();
        MainWindowProbe::setConnectionMode(*m_window, Worker::SerialMode);
        m_window->enableAllButtons(true);
        child("tabHeading")->setEnabled(true);
        connect(m_window.get(), &MainWindow::signalSendIMUsettingsFlag, m_worker.get(), &Worker::getIMUsettingsFlag);
        connect(m_window.get(), &MainWindow::signalSetProtocolFormat, m_worker.get(), &Worker::getProtocolFormat);
    }

    void cleanup()
    {
        closeWindow();
        m_worker.reset();
        m_device.reset();
    }

    // A rate reported as "unknown" marks its box but is not sent with the others of its tab.
    void interfaceTab()
    {
        m_window->m_uiBaudRateBoxSetIndex(1, "1234");
        child<QComboBox>("RS232BaudRateBox")->setCurrentIndex(1);
        for (const auto &[name, text] : {std::pair{"lineEditDstIP4_0", "10"}, {"lineEditDstIP4_1", "0"},
                                         {"lineEditDstIP4_2", "000"}, {"lineEditDstIP4_3", "07"}})
            type(name, QLatin1String(text));
        type("lineEditLocalUdpPort", QStringLiteral("9000"));
        QTest::keyClick(child<QLineEdit>("lineEditLocalUdpPort"), Qt::Key_Return);
        child<QPushButton>("pushButtonApplyChangesIMU")->click();
        QCOMPARE(sentLines(), (QList<QByteArray>{"$setbd1#9600", "$setdip#10.0.0.7", "$setdsp#9000"}));
    }

    // Ports confirmed and then emptied are not sent: no port 0 reaches the unit.
    void emptiedPortsAreNotSent()
    {
        BoxCloser closer(*m_modal);
        for (const char *edit : {"lineEditIMUUdpPort", "lineEditLocalUdpPort"}) {
            type(edit, QStringLiteral("9001"));
            QTest::keyClick(child<QLineEdit>(edit), Qt::Key_Return);
        }
        type("lineEditIMUUdpPort", QString());
        type("lineEditLocalUdpPort", QStringLiteral("70000"));
        QTest::keyClick(child<QLineEdit>("lineEditLocalUdpPort"), Qt::Key_Return);
        QTRY_COMPARE(closer.boxes, QStringList{"Error: Wrong Port Number!"});
        child<QComboBox>("RS232BaudRateBox")->setCurrentIndex(1);
        child<QPushButton>("pushButtonApplyChangesIMU")->click();
        QCOMPARE(sentLines(), QList<QByteArray>{"$setbd1#9600"});
    }

    void outputSettingsAndCompassTabs()
    {
        child<QCheckBox>("checkBoxInvRoll")->click();
        child<QDoubleSpinBox>("doubleSpinBoxRof")->setValue(1.5);
        child<QDoubleSpinBox>("doubleSpinBoxYof")->setValue(-2.25);
        child<QComboBox>("IMUfreqBox")->setCurrentIndex(8);
        child<QPushButton>("pushButtonApplyChangesIMUOutputSettings")->click();
        QCOMPARE(sentLines(),
                 (QList<QByteArray>{"$setfrq#50", "$setflg#0.0.0.1", "$setrof#1.50", "$setyof#-2.25"}));

        for (const auto &[name, value] : {std::pair{"doubleSpinBoxNorthOffset", -12.5}, {"doubleSpinBoxXgauss", 0.5}}) {
            child<QDoubleSpinBox>(name)->setValue(value);
            QMetaObject::invokeMethod(child<QDoubleSpinBox>(name), "editingFinished");
        }
        child<QPushButton>("pushButtonApplyChangesCompass")->click();
        QCOMPARE(sentLines(), (QList<QByteArray>{"$setnor#-12.5", "$setmxb#0.50"}));
    }

    void protocolTab()
    {
        auto *choice = child<QComboBox>("ComboBoxHeader");
        choice->setEnabled(true);
        QTest::keyClicks(choice->lineEdit(), QStringLiteral("$PHDR"));
        m_window->EnableAllPrtParameters(true);
        for (const char *name : {"checkBoxRoll", "checkBoxPitch", "checkBoxAx"})
            child<QCheckBox>(name)->click();
        child<QPushButton>("pushButtonApplyProtocol")->click();
        QCOMPARE(sentLines(), (QList<QByteArray>{"$sethdr#$PHDR", "$setprt#192.128.0.0:0"}));

        choice->setCurrentIndex(7);
        child<QPushButton>("pushButtonApplyProtocol")->click();
        QCOMPARE(sentLines(), QList<QByteArray>{"$setprt#0.0.0.9:0"});
    }

    // The unit's answers come back into the widgets; a payload that is no decimal number reads as 0.
    void answersComeBack()
    {
        Worker *w = m_worker.get();
        MainWindow *window = m_window.get();
        connect(w, &Worker::m_uiBaudRateBoxSetIndex, window, &MainWindow::m_uiBaudRateBoxSetIndex);
        connect(w, &Worker::m_uiIMUfreqBoxSetIndex, window, &MainWindow::m_uiIMUfreqBoxSetIndex);
        connect(w, &Worker::m_uiDoubleSpinBoxOffsetSetValue, window, &MainWindow::m_uiDoubleSpinBoxOffsetSetValue);
        connect(w, &Worker::doubleSpinBoxNorthOffsetSetValue, window, &MainWindow::doubleSpinBoxNorthOffsetSetValue);
        connect(w, &Worker::doubleSpinBoxGaussSetValue, window, &MainWindow::doubleSpinBoxGaussSetValue);
        connect(w, &Worker::signalProcessIMUFlags, window, &MainWindow::ProcessIMUFlags);
        connect(w, &Worker::signalProcessProtocolParameters, window, &MainWindow::ProcessProtocolParameters);
        connect(w, &Worker::m_uiLineEditDstIP4SetText, window, &MainWindow::m_uiLineEditDstIP4SetText);
        child<QDoubleSpinBox>("doubleSpinBoxRof")->setValue(5.0);
        child<QDoubleSpinBox>("doubleSpinBoxXgauss")->setValue(1.0);
        child<QDoubleSpinBox>("doubleSpinBoxNorthOffset")->setValue(7.0);
        m_device->send("$bd1#1234\r\n$frq#200\r\n$rof#nan\r\n$pof#-1.25\r\n$mxb#inf\r\n$nor#-inf\r\n"
                       "$flg#0.0.0.33\r\n$prt#0.0.0.4\r\n$dip#10.0.0.9\r\n");
        QTRY_COMPARE(child<QLineEdit>("lineEditDstIP4_3")->text(), QStringLiteral("9"));
        QCOMPARE(child<QComboBox>("RS232BaudRateBox")->currentText(), QStringLiteral("unknown"));
        QCOMPARE(child<QComboBox>("IMUfreqBox")->currentText(), QStringLiteral("200"));
        QCOMPARE(child<QDoubleSpinBox>("doubleSpinBoxRof")->value(), 0.0);
        QCOMPARE(child<QDoubleSpinBox>("doubleSpinBoxPof")->value(), -1.25);
        QCOMPARE(child<QDoubleSpinBox>("doubleSpinBoxXgauss")->value(), 0.0);
        QCOMPARE(child<QDoubleSpinBox>("doubleSpinBoxNorthOffset")->value(), 0.0);
        QVERIFY(child<QCheckBox>("checkBoxInvRoll")->isChecked() && child<QCheckBox>("checkBoxPositiveYaw")->isChecked());
        QCOMPARE(child<QComboBox>("ComboBoxHeader")->currentText(), QStringLiteral("UPX"));
    }
};

QTEST_MAIN(TestSettingsRoad)
#include "tst_settingsroad.moc"
