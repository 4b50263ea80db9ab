// The serial side end to end: the real main window with its worker in its own
// thread, against a device double on a pseudo-terminal.

#include "Console.h"
#include "DeviceDouble.h"
#include "DeviceIdentity.h"
#include "DialogChart.h"
#include "MainWindowFixture.h"
#include "ReadoutTexts.h"
#include "SettingsDialog.h"
#include "Worker.h"
#include "WorkerTick.h"

#include <QtTest>
#include <QtWidgets>

#include <qcustomplot.h>

#include <memory>

namespace {

constexpr int StreamRate = 4000; // bytes per second, a sixth of a 230400-baud line
constexpr int ReadoutTimeoutMs = 10000;
constexpr int DetectionTimeoutMs = 20000;
constexpr int TickMs = WorkerTick::IntervalMs;
constexpr int QuietTicks = 10; // long enough to see that nothing happens
constexpr int RemovalNoticedMs = 4 * Worker::LogFileCheckIntervalMs; // a second or two
const QByteArray WriteLog("msg Info : Worker : serial->write : ");

QByteArray floatBytes(float value, bool bigEndian)
{
    char bytes[4];
    if (bigEndian)
        qToBigEndian(value, bytes);
    else
        qToLittleEndian(value, bytes);
    return QByteArray(bytes, 4);
}

QByteArray eulerFrame(bool bigEndian, float roll, float pitch, float yaw)
{
    return QByteArray::fromHex("FAFF320C") + floatBytes(roll, bigEndian) + floatBytes(pitch, bigEndian)
           + floatBytes(yaw, bigEndian) + QByteArray(1, '\x00');
}

QByteArray emFrame(char firstSync, qint16 roll, qint16 pitch, qint16 heave, quint16 heading)
{
    QByteArray frame;
    frame.append(firstSync).append('\x90');
    for (quint16 word : {quint16(roll), quint16(pitch), quint16(heave), heading}) {
        char bytes[2];
        qToLittleEndian(word, bytes);
        frame.append(bytes, 2);
    }
    return frame;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One protocol of the output-sample road: the protocol tab's choice, the
// sample the device streams and what the read-outs show for it ("" = "NA").
struct SampleRow
{
    const char *name;
    int comboIndex;
    QByteArray sample;
    QByteArrayList setLines;
    QString roll, pitch, yaw, ax;
    double heave; // the LCD's value; 88.88 when heave is not carried
    bool frame;
};

QList<SampleRow> sampleRows()
{
    return {
        {"TSS1", 3, ":00A2B4 -0150U 0250 -0375\r\n", {"$setprt#0.0.0.3:0"}, "+02.50", "-03.75", "", "", -1.5, false},
        {"TSS3", 4, ":00A2B4 -0260H 1250 -1375\r\n", {"$setprt#0.0.0.5:0"}, "+12.50", "-13.75", "", "", -2.6, false},
        {"TOG", 5, "HD123.4 PI+05.6 RO-07.8\r\n", {"$setprt#0.0.0.6:0"}, "-07.8", "+05.6", "123.4", "", 88.88, false},
        {"ISH", 6, "$PISH,234.50,+06.70,-08.90*5A\r\n", {"$setprt#0.0.0.7:0"}, "-08.90", "+06.70", "234.50", "",
         88.88, false},
        {"EulerB", 7, eulerFrame(true, 3.25f, -4.5f, 45.5f), {"$setprt#0.0.0.9:0"}, "+03.25", "-04.50", "+045.5", "",
         88.88, true},
        {"EulerL", 8, eulerFrame(false, -5.75f, 6.25f, 300.5f), {"$setprt#0.0.0.8:0"}, "-05.75", "+06.25", "+300.5",
         "", 88.88, true},
        {"EM1000", 9, emFrame('\x00', 725, -850, -320, 9050), {"$setprt#0.0.0.13:0"}, "+07.25", "-08.50", "+090.5",
         "", -3.2, true},
        {"EM3000", 10, emFrame('\x90', -1025, 1175, 455, 27030), {"$setprt#0.0.0.14:0"}, "-10.25", "+11.75",
         "+270.3", "", 4.55, true},
        {"PRDID", 11, "$PRDID,+09.10,-10.20,111.30*4F\r\n", {"$setprt#0.0.0.15:0"}, "-10.20", "+09.10", "111.30", "",
         88.88, false},
        {"custom", 0, "HDR+02.75,-03.50,+0.125\r\n", {"$sethdr#HDR", "$setprt#192.128.0.0:0"}, "+02.75", "-03.50", "",
         "+0.125", 88.88, false},
    };
}

} // namespace

class TestSerialRoad : public QObject, public MainWindowFixture
{
    Q_OBJECT

    std::unique_ptr<DeviceDouble> m_device;
    QAction *action(const char *name) const { return child<QAction>(name); }
    QString text(const char *label) const { return child<QLabel>(label)->text(); }
    bool buttonsEnabled() const { return child<QPushButton>("pushButtonApplyChangesIMU")->isEnabled(); }
    Worker *worker() const { return MainWindowProbe::worker(*m_window); }
    QString consoleText() const { return MainWindowProbe::console(*m_window)->toPlainText(); }

    // Connects the window to the device through the tool bar and waits for the
    // read-out to end and its last answer (the destination address) to be shown:
    // then nothing is on its way from the device.
    bool connectTo(DeviceDouble &device)
    {
        const int readouts = device.readoutsAnswered();
        const QString lastOctet = QString::fromLatin1(device.configuration().value("dip").split('.').last());
        child<QLineEdit>("lineEditDstIP4_3")->clear();
        MainWindowProbe::choosePort(*m_window, device.portName());
        action("actionConnect")->trigger();
        return QTest::qWaitFor([&] {
            return buttonsEnabled() && device.readoutsAnswered() > readouts
                   && child<QLineEdit>("lineEditDstIP4_3")->text() == lastOctet;
        }, ReadoutTimeoutMs);
    }

    // Starts data logging from the tool bar into path; true once the worker reports it on.
    bool startLogging(const QString &path)
    {
        MainWindowProbe::chooseLogFile(*m_window, path);
        action("actionDataLogging")->trigger();
        return QTest::qWaitFor([this] { return !action("actionSelectFile")->isEnabled(); }, ReadoutTimeoutMs);
    }

    // Chooses the row's protocol on the protocol tab, as a user would; Apply is left to the caller.
    void chooseProtocol(const SampleRow &row)
    {
        auto *combo = child<QComboBox>("ComboBoxHeader");
        combo->setCurrentIndex(row.comboIndex);
        emit combo->activated(row.comboIndex);
        if (row.comboIndex == 0) {
            combo->lineEdit()->setText(QStringLiteral("HDR"));
            for (const char *box : {"checkBoxRoll", "checkBoxPitch", "checkBoxAx"})
                child<QCheckBox>(box)->setChecked(true);
        }
    }

    // The "$set" lines that reach the device after one Apply, the times the
    // worker wrote them (in its own thread), and whether the apply buttons went
    // off at the click and came back once the lines were out.
    struct Applied
    {
        QByteArrayList lines;
        QList<qint64> writtenMs;
        bool buttonsOff = false;
        bool buttonsBack = false;
    };
    Applied apply(const char *button, qsizetype expectedLines)
    {
        struct Writes
        {
            QMutex mutex;
            QList<qint64> ms;
            QElapsedTimer clock;
        };
        const auto writes = std::make_shared<Writes>();
        writes->clock.start();
        const auto connection = connect(worker(), &Worker::signalErrorLoggerWrite, worker(),
                                        [writes](const QByteArray &line) {
                                            if (line.startsWith(WriteLog + "$set")) {
                                                QMutexLocker lock(&writes->mutex);
                                                writes->ms << writes->clock.elapsed();
                                            }
                                        }, Qt::DirectConnection);
        const qsizetype before = m_device->setLines().size();
        child<QPushButton>(button)->click();
        const bool off = !buttonsEnabled();
        const bool back = QTest::qWaitFor(
            [&] { return m_device->setLines().size() >= before + expectedLines && buttonsEnabled(); },
            ReadoutTimeoutMs);
        QTest::qWait(2 * TickMs); // a further line would show now
        disconnect(connection);
        QMutexLocker lock(&writes->mutex);
        return {m_device->setLines().mid(before), writes->ms, off, back};
    }

    QByteArray foreground(const QString &fragmentText) const
    {
        const QTextDocument *document = MainWindowProbe::console(*m_window)->document();
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                if (it.fragment().text().contains(fragmentText))
                    return it.fragment().charFormat().foreground().color().name().toLatin1();
            }
        }
        return QByteArray();
    }

private slots:
    void initTestCase() { registerDeviceMetaTypes(); }

    void init()
    {
        m_device = std::make_unique<DeviceDouble>();
        openWindow();
        m_window->show();
    }

    void cleanup()
    {
        m_window.reset();
        m_device.reset();
        closeWindow();
    }

    // Connect; the read-out fills the panel with the device's values; one edit
    // per tab and its Apply send exactly the expected lines, one per tick.
    void settingsChangeRoad()
    {
        QVERIFY(connectTo(*m_device));
        QCOMPARE(m_device->setLines(), QByteArrayList());
        const struct { const char *object, *property; QVariant value; } shown[] = {
            {"RS232BaudRateBox", "currentText", "115200"}, {"RS422BaudRateBox", "currentText", "9600"},
            {"GPSRS232BaudRateBox", "currentText", "4800"}, {"IMUfreqBox", "currentText", "100"},
            {"checkBoxInvRoll", "checked", true},           {"checkBoxInvPitch", "checked", false},
            {"checkBoxPositiveYaw", "checked", true},       {"radioButtonDynamicIP", "checked", false},
            {"doubleSpinBoxRof", "value", 1.5},             {"doubleSpinBoxPof", "value", -2.25},
            {"doubleSpinBoxYof", "value", 3.0},             {"lineEditIMUUdpPort", "text", "8090"},
            {"lineEditLocalUdpPort", "text", "8070"},       {"lineEditIMUIP4_0", "text", "192"},
            {"lineEditIMUIP4_3", "text", "20"},             {"lineEditDstIP4_0", "text", "192"},
            {"ComboBoxHeader", "currentText", "TSS1"},      {"label_Protocol", "text", "Protocol"},
            {"groupBoxEthernet", "enabled", true},          {"groupBox_GPS_RadioButtons", "enabled", false},
        };
        for (const auto &row : shown)
            QVERIFY2(child<QObject>(row.object)->property(row.property) == row.value, row.object);
        QVERIFY(action("actionEthernetConnect")->isEnabled()); // hardware id 21

        auto *rs232 = child<QComboBox>("RS232BaudRateBox");
        rs232->setCurrentIndex(rs232->findText(QStringLiteral("57600")));
        Applied applied = apply("pushButtonApplyChangesIMU", 1);
        QCOMPARE(applied.lines, QByteArrayList{"$setbd1#57600"});
        QVERIFY(applied.buttonsOff && applied.buttonsBack);

        auto *frequency = child<QComboBox>("IMUfreqBox");
        frequency->setCurrentIndex(frequency->findText(QStringLiteral("50")));
        child<QCheckBox>("checkBoxInvPitch")->setChecked(true);
        child<QDoubleSpinBox>("doubleSpinBoxRof")->setValue(2.5);
        child<QDoubleSpinBox>("doubleSpinBoxPof")->setValue(-1.25);
        child<QDoubleSpinBox>("doubleSpinBoxYof")->setValue(4.0);
        applied = apply("pushButtonApplyChangesIMUOutputSettings", 5);
        QCOMPARE(applied.lines, (QByteArrayList{"$setfrq#50", "$setflg#0.0.0.35", "$setrof#2.50", "$setpof#-1.25",
                                                "$setyof#4.00"}));
        QVERIFY(applied.buttonsOff && applied.buttonsBack);
        QCOMPARE(applied.writtenMs.size(), 5);
        // One line per 50 ms tick: five lines span at least three whole ticks.
        QVERIFY2(applied.writtenMs.last() - applied.writtenMs.first() >= 3 * TickMs,
                 qPrintable(QString::number(applied.writtenMs.last() - applied.writtenMs.first())));

        chooseProtocol(sampleRows().at(4)); // EulerB
        applied = apply("pushButtonApplyProtocol", 1);
        QCOMPARE(applied.lines, QByteArrayList{"$setprt#0.0.0.9:0"});
        QVERIFY(applied.buttonsOff && applied.buttonsBack);
        QTRY_COMPARE(child<QComboBox>("ComboBoxHeader")->currentText(), QStringLiteral("EulerB"));
        QCOMPARE(m_device->configuration().value("bd1"), QByteArray("57600"));
    }

    // The device streams each protocol in turn: read-outs, heave display,
    // both instruments and the chart window show the sample.
    void outputSampleRoad()
    {
        QVERIFY(connectTo(*m_device));
        action("actionChartViewer")->trigger();
        action("actionAttitudeMeter")->trigger();
        action("actionHeading")->trigger();
        DialogChart *chart = MainWindowProbe::chart(*m_window);
        QVERIFY(chart->isVisible());
        for (const char *box : {"checkBoxRoll", "checkBoxPitch", "checkBoxYaw", "checkBoxHeave"})
            chart->findChild<QCheckBox *>(QLatin1String(box))->setChecked(true);
        QCPGraph *rollGraph = chart->findChild<QCustomPlot *>(QStringLiteral("angularDataPlot"))->graph(0);

        for (const SampleRow &row : sampleRows()) {
            const qsizetype setBefore = m_device->setLines().size();
            m_device->startStreaming([&row] { return row.sample; }, StreamRate);
            chooseProtocol(row);
            child<QPushButton>("pushButtonApplyProtocol")->click();
            QTRY_COMPARE_WITH_TIMEOUT(m_device->setLines().mid(setBefore), row.setLines, ReadoutTimeoutMs);
            const auto readout = [](const char *head, const QString &value) {
                return QString::fromLatin1(head) + (value.isEmpty() ? QStringLiteral("NA") : value);
            };
            QTRY_COMPARE(text("labelRoll"), readout("Roll  : ", row.roll));
            QTRY_COMPARE(text("labelPitch"), readout("Pitch : ", row.pitch));
            QTRY_COMPARE(text("labelYaw"), readout("Yaw   : ", row.yaw));
            QTRY_COMPARE(text("labelAx"), readout("Ax : ", row.ax));
            QTRY_COMPARE(child<QLCDNumber>("lcdNumberHeave")->value(), row.heave);
            QTRY_COMPARE(MainWindowProbe::attitudeMeter(*m_window).roll, row.roll.toFloat());
            QCOMPARE(MainWindowProbe::attitudeMeter(*m_window).pitch, row.pitch.toFloat());
            if (!row.yaw.isEmpty())
                QCOMPARE(MainWindowProbe::compass(*m_window).heading, row.yaw.toDouble());
            const int points = rollGraph->dataCount();
            QTRY_VERIFY2(rollGraph->dataCount() > points, row.name);
            QCOMPARE(rollGraph->data()->at(rollGraph->dataCount() - 1)->value, double(row.roll.toFloat()));
            const QString shown = row.frame ? QString::fromLatin1(row.sample.toHex().toUpper())
                                            : QString::fromLatin1(row.sample.trimmed());
            QTRY_VERIFY2(consoleText().contains(shown), row.name);
        }
        QCOMPARE(text("label_Protocol"), QStringLiteral("HEADER"));
        QCOMPARE(child<QComboBox>("ComboBoxHeader")->currentText(), QStringLiteral("HDR"));
    }

    // A TOG stream at 50 Hz runs through the Apply of a custom selection: whatever
    // TOG lines come before the unit switches, the typed header is the one sent
    // and shown. After a read-out the first custom line's header is taken again.
    void customHeaderThroughAnOldStream()
    {
        m_device->configuration()["prt"] = "0.0.0.6:0";
        QVERIFY(connectTo(*m_device));
        const QByteArray togLine("HD+123.4,PI+05.6,RO-07.8\r\n");
        const int linesPerSecond = 50;
        const auto stream = [&](const QByteArray &line) {
            m_device->startStreaming([line] { return line; }, linesPerSecond * int(line.size()));
        };
        stream(togLine);
        QTRY_COMPARE(text("labelYaw"), QStringLiteral("Yaw   : +123.4"));
        QObject switching; // ends the connection with this function
        connect(m_device.get(), &DeviceDouble::protocolSet, &switching,
                [&] { stream("WH+01.00,-02.00\r\n"); });

        auto *combo = child<QComboBox>("ComboBoxHeader");
        combo->setCurrentIndex(0);
        emit combo->activated(0);
        combo->lineEdit()->setText(QStringLiteral("WH"));
        for (const char *box : {"checkBoxRoll", "checkBoxPitch"})
            child<QCheckBox>(box)->setChecked(true);
        const Applied applied = apply("pushButtonApplyProtocol", 2);
        QCOMPARE(applied.lines, (QByteArrayList{"$sethdr#WH", "$setprt#192.0.0.0:0"}));
        QTRY_COMPARE(text("labelRoll"), QStringLiteral("Roll  : +01.00"));
        QCOMPARE(combo->currentText(), QStringLiteral("WH"));
        QCOMPARE(text("label_Protocol"), QStringLiteral("HEADER"));

        stream("ZX+03.00,-04.00\r\n");
        action("actionReadSettings")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(combo->currentText(), QStringLiteral("ZX"), ReadoutTimeoutMs);
        QCOMPARE(text("labelRoll"), QStringLiteral("Roll  : +03.00"));
        QCOMPARE(m_device->setLines().size(), 2);
    }

    // A unit whose slot 0 streams nothing takes a custom selection. The operator
    // reads the settings the moment its header line goes out, so a whole read-out
    // runs before the protocol line, its answers naming the unit's three slots:
    // the protocol line still carries the operator's choice, which the tab then shows.
    void protocolRequestThroughAReadout()
    {
        m_device->configuration()["prt"] = "0.0.0.0:0";
        QVERIFY(connectTo(*m_device));
        auto *combo = child<QComboBox>("ComboBoxHeader");
        combo->setCurrentIndex(0);
        emit combo->activated(0);
        combo->lineEdit()->setText(QStringLiteral("WH"));
        const QByteArrayList fields{"checkBoxRoll", "checkBoxPitch", "checkBoxYaw", "checkBoxRrate", "checkBoxPrate",
                                    "checkBoxYrate", "checkBoxHeave", "checkBoxHvVel", "checkBoxAx", "checkBoxAy",
                                    "checkBoxAz", "checkBoxCounter", "checkBoxChecksum"};
        const QByteArrayList chosen{"checkBoxRoll", "checkBoxPitch", "checkBoxYaw", "checkBoxHeave"};
        for (const QByteArray &box : chosen)
            child<QCheckBox>(box.constData())->setChecked(true);
        // Blocking: the read request is on its way to the worker before its next tick.
        const auto readNow = [this](const QByteArray &line) {
            if (line.startsWith(WriteLog + "$sethdr#"))
                QMetaObject::invokeMethod(action("actionReadSettings"), &QAction::trigger,
                                          Qt::BlockingQueuedConnection);
        };
        const auto connection =
            connect(worker(), &Worker::signalErrorLoggerWrite, worker(), readNow, Qt::DirectConnection);
        child<QPushButton>("pushButtonApplyProtocol")->click();
        QTRY_COMPARE_WITH_TIMEOUT(m_device->setLines().size(), 2, ReadoutTimeoutMs);
        disconnect(connection);

        const QByteArrayList request{"$sethdr#WH", "$setprt#226.0.0.0:0"};
        QCOMPARE(m_device->setLines(), request);
        const QByteArrayList lines = m_device->receivedLines();
        const qsizetype header = lines.indexOf(request.at(0)), protocol = lines.indexOf(request.at(1));
        QCOMPARE(lines.mid(header + 1, protocol - header - 1), GetCommands());
        QTRY_COMPARE(MainWindowProbe::outputProtocol(*m_window, 0).value, 0xE2000000u);
        for (const QByteArray &box : fields)
            QVERIFY2(child<QCheckBox>(box.constData())->isChecked() == chosen.contains(box), box.constData());
        QCOMPARE(combo->currentText(), QStringLiteral("WH"));
        QCOMPARE(text("label_Protocol"), QStringLiteral("HEADER"));
        QTRY_VERIFY(buttonsEnabled());
    }

    // Answers green, errors red, data in the console's own colour; each line
    // reaches the console and the event log once. Compass values come as
    // answers only (no query reads them); each reaches its box.
    void consoleAndCompassAnswers()
    {
        QVERIFY(connectTo(*m_device));
        m_device->send("$frq#100\r\ngyro error 7\r\n:00A2B4 -0150U 0250 -0375\r\n"
                       "$nor#12.5\r\n$mxb#1.25\r\n$myb#-0.5\r\n$mzb#0.75\r\n");
        QTRY_COMPARE(child<QDoubleSpinBox>("doubleSpinBoxZgauss")->value(), 0.75);
        QCOMPARE(child<QDoubleSpinBox>("doubleSpinBoxNorthOffset")->value(), 12.5);
        QCOMPARE(child<QDoubleSpinBox>("doubleSpinBoxXgauss")->value(), 1.25);
        QCOMPARE(child<QDoubleSpinBox>("doubleSpinBoxYgauss")->value(), -0.5);
        QTRY_COMPARE(foreground(QStringLiteral("$frq#100")), QByteArray("#00ff00"));
        QTRY_COMPARE(foreground(QStringLiteral("gyro error 7")), QByteArray("#ff0000"));
        QTRY_COMPARE(foreground(QStringLiteral(":00A2B4")), QByteArray("#ffff00"));
        QCOMPARE(consoleText().count(QStringLiteral("gyro error 7")), 1);
        const QByteArray log = fileBytes(QCoreApplication::applicationDirPath() + "/errorLogger.txt");
        QCOMPARE(log.count("msg Error : Worker : readSerialData : gyro error 7 @ "), 1);
    }

    void autoDetectionFromTheSettingsDialog_data()
    {
        QTest::addColumn<bool>("picked");
        QTest::newRow("picked") << true;
        QTest::newRow("list closed") << false;
    }

    // The settings dialog starts the detection; the device, a model without
    // Ethernet, answers on its own pseudo-terminal, only at 38400; picking it
    // opens the port at that rate. The answer read by the detection does not
    // gate the Ethernet features: only the serial link that reads it does.
    void autoDetectionFromTheSettingsDialog()
    {
        QFETCH(bool, picked);
        DeviceDouble found;
        found.setAnswerRate(38400);
        found.configuration()["srn"] = "VRN562406010077";
        QStringList listed;
        m_modal->setHandler([&](QWidget *modal) {
            if (auto *dialog = qobject_cast<SettingsDialog *>(modal)) {
                auto *ports = dialog->findChild<QComboBox *>(QStringLiteral("serialPortInfoListBox"));
                ports->clear();
                ports->addItem(found.portName());
                auto *detect = dialog->findChild<QPushButton *>(QStringLiteral("pushButtonAutoDetect"));
                detect->setEnabled(true); // as for a listed port
                detect->click();
                return true;
            }
            if (auto *choice = modal->findChild<QListWidget *>(QStringLiteral("listWidgetComPorts"))) {
                for (int row = 0; row < choice->count(); ++row)
                    listed << choice->item(row)->text();
                if (!picked) {
                    qobject_cast<QDialog *>(modal)->reject();
                    return true;
                }
                choice->setCurrentRow(0);
                emit choice->itemDoubleClicked(choice->item(0));
                return true;
            }
            return false;
        });
        action("actionHaltSerialPort")->trigger(); // detection ends the halt, in the window too
        QVERIFY(MainWindowProbe::console(*m_window)->halt);
        action("actionConfigure")->trigger();
        const QString name = found.portName().mid(QStringLiteral("/dev/").size());
        QTRY_COMPARE_WITH_TIMEOUT(listed, QStringList{"Port: " + name + " , Baud Rate: 38400"}, DetectionTimeoutMs);
        QVERIFY(!action("actionHaltSerialPort")->isChecked());
        QVERIFY(!MainWindowProbe::console(*m_window)->halt);
        if (!picked) {
            QTRY_VERIFY(action("actionEthernetConnect")->isEnabled());
            QVERIFY(child<QWidget>("groupBoxEthernet")->isEnabled());
            QCOMPARE(MainWindowProbe::connectionMode(*m_window), uint32_t(Worker::NoLink));
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(buttonsEnabled(), ReadoutTimeoutMs); // the read-out ran at 38400
        QVERIFY(!action("actionEthernetConnect")->isEnabled() && !child<QWidget>("groupBoxEthernet")->isEnabled());
        QTRY_VERIFY(consoleText().contains(QStringLiteral("$prn#VRN12345")));
        QCOMPARE(found.baudRate(), 38400);
        QCOMPARE(text("labelSerialPortStatus"), "Connected to " + name + " : 38400, 8, None, 1");
        QCOMPARE(MainWindowProbe::connectionMode(*m_window), uint32_t(Worker::SerialMode));
        QSettings store(SettingsDialog::StoreOrganisation, SettingsDialog::StoreApplication);
        store.beginGroup(SettingsDialog::StoreGroup);
        QCOMPARE(store.value("portName").toString(), name);
        QCOMPARE(store.value("baudRate").toInt(), 38400);
        QCOMPARE(store.value("stringBaudRate").toString(), QStringLiteral("38400"));
    }

    // Logging from the tool bar: the file holds exactly what the device sent
    // meanwhile (frames, answers of a read-out, errors, noise), nothing after.
    void loggingByteForByte()
    {
        const QString path = m_storeDir->filePath(QStringLiteral("data.dat"));
        QVERIFY(connectTo(*m_device));
        QVERIFY(startLogging(path));
        const qsizetype start = m_device->sentBytes().size();
        m_device->startStreaming([] { return sampleRows().at(0).sample; }, StreamRate);
        action("actionReadSettings")->trigger();
        m_device->send("gyro error 7\r\n\x01\x02noise\xFF" + sampleRows().at(4).sample);
        QTRY_VERIFY_WITH_TIMEOUT(m_device->readoutsAnswered() == 2 && buttonsEnabled(), ReadoutTimeoutMs);
        m_device->stopStreaming();
        QTRY_COMPARE(fileBytes(path).size(), m_device->sentBytes().size() - start);
        action("actionDataLogging")->trigger();
        QTRY_VERIFY(action("actionSelectFile")->isEnabled());
        m_device->send("after the stop\r\n");
        QTRY_VERIFY(consoleText().contains(QStringLiteral("after the stop")));
        QCOMPARE(fileBytes(path), m_device->sentBytes().mid(start, m_device->sentBytes().size() - start - 16));
    }

    // While the device streams, the log file renamed in its folder goes on being
    // recorded; the folder removed, logging stops within a second or two as on a
    // write error: the warning gives the removal as the reason, the action is
    // off, the strip shows no file name, and the event log has one line of it.
    void logFileRenamedThenRemoved()
    {
        const QString folder = m_storeDir->filePath(QStringLiteral("run"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/tide.dat"), renamed = folder + QStringLiteral("/ebb.dat");
        QVERIFY(connectTo(*m_device));
        QVERIFY(startLogging(path));
        m_device->startStreaming([] { return sampleRows().at(0).sample; }, StreamRate);
        QTRY_VERIFY(text("labelSerialPortStatus").contains(QStringLiteral("tide.dat")));
        QVERIFY(QFile::rename(path, renamed));
        // Two checks' worth of the stream arrives after the rename, into the renamed file.
        const qsizetype grown = fileBytes(renamed).size() + StreamRate * 2 * Worker::LogFileCheckIntervalMs / 1000;
        QTRY_VERIFY(fileBytes(renamed).size() > grown);
        QVERIFY(action("actionDataLogging")->isChecked());

        BoxSeen box;
        m_modal->then(closeBox(&box));
        QVERIFY(QDir(folder).removeRecursively());
        QTRY_VERIFY_WITH_TIMEOUT(m_modal->allAnswered(), RemovalNoticedMs);
        QCOMPARE(box.text, "Data logging is off.\nFile: " + path + "\nReason: The file was removed");
        QVERIFY(!action("actionDataLogging")->isChecked() && action("actionSelectFile")->isEnabled());
        QVERIFY(!text("labelSerialPortStatus").contains(QStringLiteral("tide.dat")));
        const QByteArray log = fileBytes(QCoreApplication::applicationDirPath() + "/errorLogger.txt");
        QCOMPARE(log.count(" : " + path.toLatin1() + " : The file was removed @ "), 1);
    }

    // Halt: nothing more reaches the console, settings wait; both resume.
    void haltHoldsConsoleAndSettings()
    {
        QVERIFY(connectTo(*m_device));
        m_device->startStreaming([] { return sampleRows().at(0).sample; }, StreamRate);
        QTRY_VERIFY(consoleText().contains(QStringLiteral(":00A2B4")));
        action("actionHaltSerialPort")->trigger();
        QVERIFY(action("actionHaltSerialPort")->isChecked());
        const QString halted = consoleText();
        auto *rs232 = child<QComboBox>("RS232BaudRateBox");
        rs232->setCurrentIndex(rs232->findText(QStringLiteral("19200")));
        child<QPushButton>("pushButtonApplyChangesIMU")->click();
        QTest::qWait(QuietTicks * TickMs);
        QCOMPARE(consoleText(), halted);
        QCOMPARE(m_device->setLines(), QByteArrayList());
        QVERIFY(!buttonsEnabled());

        action("actionHaltSerialPort")->trigger();
        QTRY_COMPARE(m_device->setLines(), QByteArrayList{"$setbd1#19200"});
        QTRY_VERIFY(buttonsEnabled());
        QTRY_VERIFY(consoleText() != halted);
    }

    // The device goes away mid-stream: "Disconnected" once, no loop, the read-outs cleared; a new
    // device connects, and what it streams shows as from a program just started: its protocol
    // carries no heading, and the compass no longer shows the last device's.
    void unplugThenConnectAnother()
    {
        BoxCloser boxes(*m_modal);
        int disconnected = 0;
        QObject counting; // ends the count with this function
        connect(worker(), &Worker::showStatusMessage, &counting, [&](const QString &status) {
            disconnected += status == QStringLiteral("Disconnected") ? 1 : 0;
        });
        m_device->configuration()["prt"] = "0.0.0.6:0"; // TOG, with a heading
        QVERIFY(connectTo(*m_device));
        m_device->startStreaming([] { return sampleRows().at(2).sample; }, StreamRate);
        QTRY_COMPARE(text("labelRoll"), QStringLiteral("Roll  : -07.8"));
        QCOMPARE(MainWindowProbe::compass(*m_window).heading, 123.4);
        m_device->hangUp();
        QTRY_COMPARE(disconnected, 1);
        QTRY_COMPARE(text("labelSerialPortStatus"), QStringLiteral("Disconnected"));
        QTRY_VERIFY(!action("actionConnect")->isChecked());
        // The read-outs no longer show the last sample: the window is as a Disconnect leaves it.
        const ReadoutTexts::Readouts cleared = ReadoutTexts::clearedReadoutTexts();
        QTRY_COMPARE(text("labelRoll"), cleared.labels[ReadoutTexts::Roll]);
        const auto labels = MainWindowProbe::readoutLabels(*m_window);
        for (size_t i = 0; i < cleared.labels.size(); ++i)
            QCOMPARE(labels[i]->text(), cleared.labels[i]);
        QCOMPARE(child<QLCDNumber>("lcdNumberHeave")->value(), 88.88);
        QCOMPARE(MainWindowProbe::connectionMode(*m_window), uint32_t(Worker::NoLink));
        QVERIFY(!buttonsEnabled() && !MainWindowProbe::console(*m_window)->isEnabled());
        QVERIFY(action("actionConfigure")->isEnabled());
        QTest::qWait(QuietTicks * TickMs);
        QCOMPARE(disconnected, 1);
        // A hung-up terminal reads as a read error, which has no box of its own;
        // a vanished device (resource error) has the one critical box.
        QVERIFY2(boxes.boxes.size() <= 1, qPrintable(boxes.boxes.join('\n')));
        for (const QString &box : std::as_const(boxes.boxes))
            QVERIFY2(box.startsWith(QStringLiteral("Critical Error: ")), qPrintable(box));

        DeviceDouble another;
        another.configuration()["srn"] = "VRN562406010077"; // a model without Ethernet
        QVERIFY(connectTo(another));
        QTRY_VERIFY(!action("actionEthernetConnect")->isEnabled());
        another.startStreaming([] { return sampleRows().at(0).sample; }, StreamRate); // TSS1
        QTRY_COMPARE(text("labelRoll"), QStringLiteral("Roll  : +02.50"));
        QCOMPARE(text("labelYaw"), QStringLiteral("Yaw   : NA"));
        QCOMPARE(MainWindowProbe::compass(*m_window).heading, 0.0);
        QCOMPARE(disconnected, 1);
    }

    // Unit A, a model without Ethernet, streams TOG and tells its address only
    // when asked again; Halt is checked and the link left: the instruments show
    // no attitude, and Ethernet is offered again. Unit B, connected while
    // halted, is read once Halt is released as a first unit would be: until
    // then the info box shows no identity; asked twice in a sweep for the
    // address it does not have, it shows none, and its samples show.
    void nextUnitReadAsTheFirst()
    {
        m_device->configuration()["srn"] = "VRN562406010077";
        m_device->configuration()["prt"] = "0.0.0.6:0";
        m_device->configuration()["sip"] = "0.0.0.0";
        QObject thisCase; // ends the connection with this function
        connect(m_device.get(), &DeviceDouble::queryAnswered, &thisCase, [this](const QByteArray &code) {
            if (code == "sip")
                m_device->configuration()["sip"] = "192.168.1.77";
        });
        QVERIFY(connectTo(*m_device));
        QCOMPARE(child<QLineEdit>("lineEditIMUIP4_3")->text(), QStringLiteral("77"));
        QVERIFY(!action("actionEthernetConnect")->isEnabled());
        m_device->startStreaming([] { return sampleRows().at(2).sample; }, StreamRate); // TOG
        QTRY_COMPARE(MainWindowProbe::compass(*m_window).heading, 123.4);
        action("actionHaltSerialPort")->trigger();
        action("actionConnect")->trigger();
        QCOMPARE(MainWindowProbe::compass(*m_window).heading, 0.0);
        QCOMPARE(MainWindowProbe::attitudeMeter(*m_window).roll, 0.0f);
        QCOMPARE(MainWindowProbe::attitudeMeter(*m_window).pitch, 0.0f);
        QVERIFY(action("actionEthernetConnect")->isEnabled() && child<QWidget>("groupBoxEthernet")->isEnabled());

        DeviceDouble another;
        another.configuration()["sip"] = "0.0.0.0";
        another.startStreaming([] { return sampleRows().at(0).sample; }, StreamRate); // TSS1
        MainWindowProbe::choosePort(*m_window, another.portName());
        action("actionConnect")->trigger();
        QVERIFY(action("actionHaltSerialPort")->isChecked());
        QTest::qWait(QuietTicks * TickMs);
        QCOMPARE(another.receivedLines(), QByteArrayList());
        QVERIFY(!buttonsEnabled());
        QCOMPARE(factoryInfo(), DeviceIdentity::factoryInfoText(DeviceIdentity::startupIdentity()));
        action("actionHaltSerialPort")->trigger();
        // The sweep halted has gone on unwritten; the read-out ends with the first
        // sweep written whole, which asks twice for the address.
        QTRY_VERIFY_WITH_TIMEOUT(buttonsEnabled() && another.receivedLines().endsWith("$getdip#"), ReadoutTimeoutMs);
        const QByteArrayList lines = another.receivedLines();
        QCOMPARE(lines.mid(lines.lastIndexOf("$getsrn#")).count("$getsip#"), 2);
        QVERIFY(factoryInfo().contains(QStringLiteral("IMU SN : ") + another.configuration()["srn"].mid(3)));
        for (const QLineEdit *edit : {child<QLineEdit>("lineEditIMUIP4_0"), child<QLineEdit>("lineEditIMUIP4_3")})
            QCOMPARE(edit->text(), QString());
        QTRY_COMPARE(text("labelRoll"), QStringLiteral("Roll  : +02.50"));
    }

    // Closing the window while the device streams and logging runs: the log
    // holds every byte the device sent since logging began.
    void shutDownWhileStreamingAndLogging()
    {
        const QString path = m_storeDir->filePath(QStringLiteral("shutdown.dat"));
        QVERIFY(connectTo(*m_device));
        QVERIFY(startLogging(path));
        const qsizetype start = m_device->sentBytes().size();
        m_device->startStreaming([] { return sampleRows().at(0).sample; }, 4 * StreamRate);
        QTRY_COMPARE(text("labelRoll"), QStringLiteral("Roll  : +02.50"));
        QTest::qWait(QuietTicks * TickMs);
        QCOMPARE(m_device->pendingToHost(), 0);
        m_window->close();
        m_window.reset();
        const QByteArray sent = m_device->sentBytes().mid(start);
        QVERIFY(sent.size() > StreamRate);
        QCOMPARE(fileBytes(path), sent);
    }
};

QTEST_MAIN(TestSerialRoad)
#include "tst_serialroad.moc"
