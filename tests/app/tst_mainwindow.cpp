#include "DialogChart.h"
#include "MainWindowProbe.h"
#include "ResourcePaths.h"
#include "SettingsDialog.h"
#include "SharedTables.h"
#include "Worker.h"
#include "WorkerProbe.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSemaphore>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QTimerEvent>
#include <QtTest>

#include <memory>

namespace {

constexpr int BusyWriteBytes = 4 << 20;

const QByteArray StartHead = "msg Info : statrt debug data Logging @ ";
const QByteArray CloseEventHead = "msg Info : From main : closeEvent  @ ";
const QByteArray LoggerCloseHead = "msg Info : From main : logger_file.close @ ";

QString eventLogPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/errorLogger.txt");
}

// The event log's lines, each with its CR LF.
QList<QByteArray> eventLogLines()
{
    QFile file(eventLogPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> lines;
    while (!file.atEnd())
        lines.append(file.readLine());
    return lines;
}

// A line is its message, " @ ", the local date and time in text form, then CR LF.
bool isLogLine(const QByteArray &line, const QByteArray &head)
{
    if (!line.startsWith(head) || !line.endsWith("\r\n"))
        return false;
    const QByteArray stamp = line.mid(head.size(), line.size() - head.size() - 2);
    return QDateTime::fromString(QString::fromLocal8Bit(stamp), Qt::TextDate).isValid();
}

QImage picture(const char *path)
{
    return QImage(QString::fromLatin1(path)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage shown(const QLabel *label)
{
    return label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QBitArray bits(int size, std::initializer_list<int> set)
{
    QBitArray array(size);
    for (int bit : set)
        array.setBit(bit);
    return array;
}

QVariant storedValue(const QString &key)
{
    QSettings store(SettingsDialog::StoreOrganisation, SettingsDialog::StoreApplication);
    store.beginGroup(SettingsDialog::StoreGroup);
    return store.value(key);
}

void storeValue(const QString &key, const QVariant &value)
{
    QSettings store(SettingsDialog::StoreOrganisation, SettingsDialog::StoreApplication);
    store.beginGroup(SettingsDialog::StoreGroup);
    store.setValue(key, value);
}

// Runs nothing in the worker's thread and returns once everything queued before it there has run.
void syncWithWorker(Worker *worker)
{
    QMetaObject::invokeMethod(worker, [] {}, Qt::BlockingQueuedConnection);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void stateAtEndOfConstruction();
    void editsRefuseOutOfRangeText();
    void mousePressOnTheWindowTakesTheFocus();
    void eventLogHoldsOnlyTheStartLine();
    void eventLogLineFormat();
    void unwritableEventLogIsNoFailure();
    void closingLogsCloseThenLoggerClose();
    void chartSelectionRoundTripsThroughTheStore_data();
    void chartSelectionRoundTripsThroughTheStore();
    void destructorEndsTheWorkerThread();
    void shutDownStopsTheWorkerBeforeItsThreadEnds();
    void workerReportsReachTheWindow();
    void requestsReachTheWorker();
    void statusTextsSetLedAndToolTip_data();
    void statusTextsSetLedAndToolTip();
    void loggingIndicatorStepsEverySixthTickWhileALinkIsUp();
    void loggingIndicatorFollowsTheStatusText();
    void loggingOffRestoresTheStatusText();
    void progressBarStates();
    void clearActionEmptiesTheConsole();
    void aboutBox();

private:
    template<typename T>
    T *child(const char *name) const
    {
        T *object = m_window->findChild<T *>(QString::fromLatin1(name));
        if (!object)
            qFatal("window object %s missing", name);
        return object;
    }
    void tick(int count = 1);

    std::unique_ptr<QTemporaryDir> m_storeDir;
    std::unique_ptr<MainWindow> m_window;
};

void TestMainWindow::initTestCase()
{
    registerDeviceMetaTypes();
    // The event log lies next to this test's own executable, apart from every other test's.
    QCOMPARE(QFileInfo(QCoreApplication::applicationDirPath()).fileName(), QStringLiteral("tst_mainwindow"));
}

void TestMainWindow::init()
{
    // Every case starts with an empty settings store of its own.
    m_storeDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_storeDir->isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_storeDir->path());
    m_window = std::make_unique<MainWindow>();
}

void TestMainWindow::cleanup()
{
    m_window.reset();
    m_storeDir.reset();
}

void TestMainWindow::tick(int count)
{
    for (int i = 0; i < count; ++i) {
        QTimerEvent event(MainWindowProbe::timerId(*m_window));
        QCoreApplication::sendEvent(m_window.get(), &event);
    }
}

void TestMainWindow::stateAtEndOfConstruction()
{
    MainWindow &w = *m_window;
    QCOMPARE(w.windowTitle(), QStringLiteral("Orvanta"));

    auto *tabs = child<QTabWidget>("tabWidget");
    QStringList titles;
    for (int i = 0; i < tabs->count(); ++i)
        titles << tabs->tabText(i);
    QCOMPARE(titles, QStringList({"Interface", "Output Settings", "Output Protocol", "Data"}));
    QCOMPARE(tabs->currentIndex(), 0);

    for (const char *name : {"RS232BaudRateBox", "RS422BaudRateBox", "GPSRS232BaudRateBox"}) {
        auto *box = child<QComboBox>(name);
        QCOMPARE(box->count(), 9);
        QCOMPARE(box->currentText(), QStringLiteral("unknown"));
    }
    QVERIFY(child<QRadioButton>("radioButtonActiveAll")->isChecked());

    auto *frequency = child<QComboBox>("IMUfreqBox");
    QCOMPARE(frequency->currentText(), QStringLiteral("custom"));
    QCOMPARE(frequency->count(), 10);
    QCOMPARE(frequency->itemData(9).toInt(), 100);

    auto *header = child<QComboBox>("ComboBoxHeader");
    QVERIFY(!header->isEnabled());
    QVERIFY(header->isEditable());
    QVERIFY(header->currentText().isEmpty());
    QCOMPARE(header->currentIndex(), 0);
    QCOMPARE(header->count(), 12);
    QCOMPARE(header->itemText(11), QStringLiteral("PRDID"));
    QCOMPARE(header->lineEdit()->maxLength(), 8);
    QCOMPARE(child<QLabel>("label_Protocol")->text(), QStringLiteral("HEADER"));

    for (const char *name : {"pushButtonApplyChangesIMU", "pushButtonApplyProtocol",
                             "pushButtonApplyChangesIMUOutputSettings", "pushButtonSelectAllPrtParameters",
                             "pushButtonClearAllPrtParameters"})
        QVERIFY2(!child<QPushButton>(name)->isEnabled(), name);
    for (const char *name : {"lineEditIMUIP4_0", "lineEditIMUIP4_1", "lineEditIMUIP4_2", "lineEditIMUIP4_3"})
        QVERIFY2(!child<QLineEdit>(name)->isEnabled(), name);
    for (const char *name : {"lineEditDstIP4_0", "lineEditDstIP4_1", "lineEditDstIP4_2", "lineEditDstIP4_3"})
        QVERIFY2(child<QLineEdit>(name)->isEnabled(), name);
    auto *dynamicIp = child<QRadioButton>("radioButtonDynamicIP");
    QVERIFY(!dynamicIp->isEnabled());
    QVERIFY(!dynamicIp->isChecked());

    QCOMPARE(child<QLineEdit>("lineEditIMUUdpPort")->text(), QStringLiteral("8088"));
    QCOMPARE(child<QLineEdit>("lineEditLocalUdpPort")->text(), QStringLiteral("8080"));
    QCOMPARE(child<QLCDNumber>("lcdNumberHeave")->value(), 0.0);
    QCOMPARE(MainWindowProbe::factorySettings(w).serialNumber, QStringLiteral("__ __ __ __"));

    QVERIFY(child<QProgressBar>("progressBar")->isHidden());
    QCOMPARE(child<QLabel>("labelSerialPortStatus")->text(), QStringLiteral("Disconnected"));
    QCOMPARE(child<QLabel>("labelEthernetStatus")->text(), QStringLiteral("Disconnected"));
    QCOMPARE(shown(child<QLabel>("label_SerialLed")), picture(ResourcePaths::RedLed));
    QCOMPARE(shown(child<QLabel>("label_EthernetLed")), picture(ResourcePaths::RedLed));
    QCOMPARE(child<QAction>("actionConnect")->toolTip(), QStringLiteral("Connect to serial port"));
    QCOMPARE(child<QAction>("actionEthernetConnect")->toolTip(), QStringLiteral("Connect Ethernet"));
    QCOMPARE(child<QLabel>("labelSerialPort")->text(), QStringLiteral("<font color='Blue'> Serial Port </font>"));
    QCOMPARE(child<QLabel>("labelEthernet")->text(), QStringLiteral("<font color='Blue'> Ethernet </font>"));

    QVERIFY(!child<QAction>("action3D_Viewer")->isEnabled());
    QVERIFY(child<QAction>("actionConfigure")->isEnabled());
    QCOMPARE(child<QLabel>("labelRoll")->font().family(), QStringLiteral("Source Code Pro"));
    QCOMPARE(child<QLabel>("labelSerialPortStatus")->font().family(), QStringLiteral("Open Sans"));
    QCOMPARE(QLocale().name(), QStringLiteral("en_US"));

    QCOMPARE(MainWindowProbe::ledFrames(w).size(), 8);
    QCOMPARE(MainWindowProbe::timerPeriod(w), 100);
    QVERIFY(MainWindowProbe::timerId(w) > 0);
    QVERIFY(!MainWindowProbe::capturing(w));
    QVERIFY(MainWindowProbe::workerThread(w)->isRunning());
    QCOMPARE(MainWindowProbe::workerThread(w)->priority(), QThread::HighPriority);
    QCOMPARE(MainWindowProbe::worker(w)->thread(), MainWindowProbe::workerThread(w));
    QCOMPARE(MainWindowProbe::buildText(w),
             QStringLiteral("<center>Build %1.64-MAC</center>").arg(QStringLiteral(QT_VERSION_STR)));
    QVERIFY(MainWindowProbe::chart(w)->isHidden());
}

void TestMainWindow::editsRefuseOutOfRangeText()
{
    // Digits beyond the range's width are refused as typed; a number above the top stays unacceptable.
    auto *port = child<QLineEdit>("lineEditIMUUdpPort");
    port->clear();
    QTest::keyClicks(port, QStringLiteral("655359"));
    QCOMPARE(port->text(), QStringLiteral("65535"));
    QVERIFY(port->hasAcceptableInput());
    port->setText(QStringLiteral("65536"));
    QVERIFY(!port->hasAcceptableInput());

    auto *octet = child<QLineEdit>("lineEditDstIP4_2");
    octet->clear();
    QTest::keyClicks(octet, QStringLiteral("2568"));
    QCOMPARE(octet->text(), QStringLiteral("256"));
    QVERIFY(!octet->hasAcceptableInput());
    octet->setText(QStringLiteral("255"));
    QVERIFY(octet->hasAcceptableInput());
    QTest::keyClicks(octet, QStringLiteral("-"));
    QCOMPARE(octet->text(), QStringLiteral("255"));
}

void TestMainWindow::mousePressOnTheWindowTakesTheFocus()
{
    auto *edit = child<QLineEdit>("lineEditLocalUdpPort");
    edit->setFocus();
    QCOMPARE(m_window->focusWidget(), edit);

    const QPointF inside(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, inside, m_window->mapToGlobal(inside), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_window.get(), &press);
    QCOMPARE(m_window->focusWidget(), m_window.get());
}

void TestMainWindow::eventLogHoldsOnlyTheStartLine()
{
    m_window.reset();
    {
        QFile file(eventLogPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("a line of an earlier run @ Mon Jan 5 10:00:00 2026\r\nand another\r\n");
    }
    m_window = std::make_unique<MainWindow>();

    const QList<QByteArray> lines = eventLogLines();
    QCOMPARE(lines.size(), 1);
    QVERIFY2(isLogLine(lines.first(), StartHead), lines.first().constData());
}

void TestMainWindow::eventLogLineFormat()
{
    m_window->errorLoggerWrite("msg Info : Worker : serial->write : $getsrn#");
    m_window->errorLoggerWrite(QByteArray());

    const QList<QByteArray> lines = eventLogLines();
    QCOMPARE(lines.size(), 3);
    QVERIFY2(isLogLine(lines.at(1), "msg Info : Worker : serial->write : $getsrn# @ "), lines.at(1).constData());
    QVERIFY2(isLogLine(lines.at(2), " @ "), lines.at(2).constData());
}

void TestMainWindow::unwritableEventLogIsNoFailure()
{
    m_window.reset();
    QFile::remove(eventLogPath());
    // A folder in the log file's place: the log can neither be emptied nor appended to.
    QVERIFY(QDir().mkpath(eventLogPath()));
    {
        MainWindow window;
        window.errorLoggerWrite("msg Info : From main : lost");
        QCOMPARE(window.windowTitle(), QStringLiteral("Orvanta"));
        window.close();
    }
    QVERIFY(QDir(eventLogPath()).isEmpty());
    QVERIFY(QDir().rmdir(eventLogPath()));
}

void TestMainWindow::closingLogsCloseThenLoggerClose()
{
    m_window->close();
    m_window.reset();

    const QList<QByteArray> lines = eventLogLines();
    QCOMPARE(lines.size(), 3);
    QVERIFY2(isLogLine(lines.at(0), StartHead), lines.at(0).constData());
    QVERIFY2(isLogLine(lines.at(1), CloseEventHead), lines.at(1).constData());
    QVERIFY2(isLogLine(lines.at(2), LoggerCloseHead), lines.at(2).constData());
}

void TestMainWindow::chartSelectionRoundTripsThroughTheStore_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QBitArray>("atStart");

    QTest::newRow("first start") << QVariant() << QBitArray(16);
    QTest::newRow("short selection") << QVariant(bits(4, {0, 2})) << QBitArray(16);
    QTest::newRow("stored selection") << QVariant(bits(16, {1, 6, 10, 15})) << bits(16, {1, 6, 10, 15});
    QTest::newRow("longer selection") << QVariant(bits(20, {0, 19})) << bits(20, {0, 19});
}

void TestMainWindow::chartSelectionRoundTripsThroughTheStore()
{
    QFETCH(QVariant, stored);
    QFETCH(QBitArray, atStart);

    m_window.reset();
    if (stored.isValid())
        storeValue(QStringLiteral("DataDisplayFlag"), stored);
    m_window = std::make_unique<MainWindow>();

    DialogChart *chart = MainWindowProbe::chart(*m_window);
    QCOMPARE(chart->DataDisplayFlag, atStart);
    QCOMPARE(MainWindowProbe::settings(*m_window)->DataDisplayFlag, atStart);
    QCOMPARE(chart->findChild<QCheckBox *>(QStringLiteral("checkBoxPitch"))->isChecked(), atStart.testBit(1));

    // The user switches the series on the chart; closing the window keeps them.
    chart->findChild<QCheckBox *>(QStringLiteral("checkBoxAz"))->setChecked(true);
    chart->findChild<QCheckBox *>(QStringLiteral("checkBoxPitch"))->setChecked(false);
    QBitArray expected = atStart;
    expected.setBit(DialogChart::AzBit);
    expected.clearBit(DialogChart::PitchBit);
    QCOMPARE(chart->DataDisplayFlag, expected);

    m_window->close();
    QCOMPARE(storedValue(QStringLiteral("DataDisplayFlag")).toBitArray(), expected);

    m_window.reset();
    m_window = std::make_unique<MainWindow>();
    QCOMPARE(MainWindowProbe::chart(*m_window)->DataDisplayFlag, expected);
}

void TestMainWindow::destructorEndsTheWorkerThread()
{
    QThread *thread = MainWindowProbe::workerThread(*m_window);
    bool finished = false;
    connect(thread, &QThread::finished, thread, [&finished] { finished = true; }, Qt::DirectConnection);

    // No close first: the destructor alone stops the worker and ends its thread.
    m_window.reset();
    QVERIFY(finished);
}

// The worker is busy in a timer callback when the window closes, and still
// writing data when the destructor ends its thread: the stop queued behind that
// work must still have run, with the data log flushed and closed, before the
// thread ends.
void TestMainWindow::shutDownStopsTheWorkerBeforeItsThreadEnds()
{
    QTemporaryDir logDir;
    QVERIFY(logDir.isValid());
    const QString logPath = logDir.filePath(QStringLiteral("data.log"));
    Worker *worker = MainWindowProbe::worker(*m_window);
    QMetaObject::invokeMethod(worker, [worker, logPath] {
        QFile &log = WorkerProbe::logFile(*worker);
        log.setFileName(logPath);
        if (log.open(QIODevice::WriteOnly))
            log.write("the tail of the data log");
    }, Qt::BlockingQueuedConnection);

    QSemaphore busy;
    QSemaphore gate;
    QMetaObject::invokeMethod(worker, [worker, &busy, &gate] {
        QTimer::singleShot(1, worker, [worker, &busy, &gate] {
            busy.release();
            gate.acquire();
            WorkerProbe::logFile(*worker).write(QByteArray(BusyWriteBytes, 'x'));
        });
    });
    busy.acquire();

    bool timerActiveAtEnd = true;
    bool logOpenAtEnd = true;
    QThread *thread = MainWindowProbe::workerThread(*m_window);
    connect(thread, &QThread::finished, thread, [&, worker] {
        timerActiveAtEnd = WorkerProbe::timerActive(*worker);
        logOpenAtEnd = WorkerProbe::logFile(*worker).isOpen();
    }, Qt::DirectConnection);
    // The busy work ends only once the window's destructor has begun its shut-down.
    connect(MainWindowProbe::settingsDialog(*m_window), &QObject::destroyed, this, [&gate] { gate.release(); });

    m_window->close();
    m_window.reset();

    QVERIFY(!timerActiveAtEnd);
    QVERIFY(!logOpenAtEnd);
    QFile log(logPath);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), QByteArray("the tail of the data log") + QByteArray(BusyWriteBytes, 'x'));
}

void TestMainWindow::workerReportsReachTheWindow()
{
    Worker *worker = MainWindowProbe::worker(*m_window);
    MainWindowProbe::settings(*m_window)->fileName = QStringLiteral("/var/tmp/run7.dat");
    MainWindowProbe::setConnectionMode(*m_window, MainWindow::SerialLink);

    QMetaObject::invokeMethod(worker, [worker] {
        emit worker->signalErrorLoggerWrite("msg Info : Worker : readSerialData : cmdProcessor : $frq#100");
        emit worker->setProgressBar(MainWindow::ProgressStarted, 24);
        emit worker->signalStartDataCapturing(true);
    });

    QTRY_VERIFY(MainWindowProbe::capturing(*m_window));
    const QList<QByteArray> lines = eventLogLines();
    QCOMPARE(lines.size(), 2);
    QVERIFY(isLogLine(lines.at(1), "msg Info : Worker : readSerialData : cmdProcessor : $frq#100 @ "));
    QVERIFY(!child<QProgressBar>("progressBar")->isHidden());
    QCOMPARE(child<QProgressBar>("progressBar")->maximum(), 24);
    QVERIFY(child<QLabel>("labelSerialPortStatus")->text().endsWith(QStringLiteral("run7.dat</font>")));
}

void TestMainWindow::requestsReachTheWorker()
{
    Worker *worker = MainWindowProbe::worker(*m_window);
    SettingsDialog *settings = MainWindowProbe::settingsDialog(*m_window);
    DialogChart *chart = MainWindowProbe::chart(*m_window);

    emit settings->signalSetStatisticsTime(7);
    emit m_window->signalConsoleHalt(true);
    syncWithWorker(worker);
    QCOMPARE(WorkerProbe::statisticsTime(*worker), 7);
    QVERIFY(WorkerProbe::consoleHalted(*worker));

    WorkerProbe::setReadingSettings(*worker, false);
    emit m_window->signalReadUserSettings();
    syncWithWorker(worker);
    QVERIFY(WorkerProbe::readingSettings(*worker));

    emit settings->signalUpdateChartTheme(QChart::ChartThemeDark);
    QCOMPARE(chart->palette().color(QPalette::Window), QColor(0x121218));

    QVERIFY(WorkerProbe::timerActive(*worker));
    emit m_window->signalStopWorker();
    syncWithWorker(worker);
    QVERIFY(!WorkerProbe::timerActive(*worker));
}

void TestMainWindow::statusTextsSetLedAndToolTip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("led");
    QTest::addColumn<QString>("serialTip");
    QTest::addColumn<QString>("ethernetTip");

    const QString red = QString::fromLatin1(ResourcePaths::RedLed);
    const QString green = QString::fromLatin1(ResourcePaths::GreenLed);
    const QString orange = QString::fromLatin1(ResourcePaths::OrangeLed);
    const QString connectSerial = QStringLiteral("Connect to serial port");
    const QString disconnectSerial = QStringLiteral("Disconnect serial port");
    const QString connectEthernet = QStringLiteral("Connect Ethernet");
    const QString disconnectEthernet = QStringLiteral("Disconnect Ethernet");

    QTest::newRow("disconnected") << "Disconnected" << red << connectSerial << connectEthernet;
    QTest::newRow("disconnected first") << "Disconnected/Clear Error" << red << connectSerial << connectEthernet;
    QTest::newRow("connected") << "Connected to /dev/ttyUSB0 : 115200, 8, None, 1" << green << disconnectSerial
                               << disconnectEthernet;
    QTest::newRow("lower case") << "disconnected" << orange << disconnectSerial << disconnectEthernet;
    QTest::newRow("scanning") << "Scaning For IMU" << orange << disconnectSerial << disconnectEthernet;
    QTest::newRow("rich text") << "<font color=red>Open error</font>" << orange << disconnectSerial
                               << disconnectEthernet;
    QTest::newRow("empty") << "" << orange << disconnectSerial << disconnectEthernet;
}

void TestMainWindow::statusTextsSetLedAndToolTip()
{
    QFETCH(QString, text);
    QFETCH(QString, led);
    QFETCH(QString, serialTip);
    QFETCH(QString, ethernetTip);
    const QImage expected = picture(qPrintable(led));
    QVERIFY(!expected.isNull());

    // From a state other than the expected one, so every row changes the LED.
    const QString other = led.contains(QStringLiteral("green")) ? QStringLiteral("Disconnected")
                                                                 : QStringLiteral("Connected");
    m_window->showStatusMessage(other);
    m_window->showEthernetStatusMessage(other);

    m_window->showStatusMessage(text);
    QCOMPARE(child<QLabel>("labelSerialPortStatus")->text(), text);
    QCOMPARE(shown(child<QLabel>("label_SerialLed")), expected);
    QCOMPARE(child<QAction>("actionConnect")->toolTip(), serialTip);
    QCOMPARE(child<QLabel>("labelEthernetStatus")->text(), other);

    m_window->showEthernetStatusMessage(text);
    QCOMPARE(child<QLabel>("labelEthernetStatus")->text(), text);
    QCOMPARE(shown(child<QLabel>("label_EthernetLed")), expected);
    QCOMPARE(child<QAction>("actionEthernetConnect")->toolTip(), ethernetTip);
}

void TestMainWindow::loggingIndicatorStepsEverySixthTickWhileALinkIsUp()
{
    MainWindow &w = *m_window;
    const QList<QPixmap> &frames = MainWindowProbe::ledFrames(w);
    auto *serialLed = child<QLabel>("label_SerialLed");
    auto *ethernetLed = child<QLabel>("label_EthernetLed");
    const QImage red = picture(ResourcePaths::RedLed);
    auto frame = [&frames](int i) { return frames.at(i).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied); };
    QVERIFY(frame(0) != frame(1));

    // Logging on, but no link: nothing moves, and the ticks are not counted.
    MainWindowProbe::settings(w)->fileName = QStringLiteral("/home/user/logs/run1.dat");
    w.dataCapturingStatus(true);
    tick(20);
    QCOMPARE(shown(serialLed), red);
    QCOMPARE(shown(ethernetLed), red);

    MainWindowProbe::setConnectionMode(w, MainWindow::SerialLink);
    for (int step = 0; step < 9; ++step) {
        tick(5);
        QCOMPARE(shown(serialLed), step == 0 ? red : frame((step - 1) % 8));
        tick();
        QCOMPARE(shown(serialLed), frame(step % 8));
    }

    // The other link continues with the next frame; the serial LED keeps its last one.
    MainWindowProbe::setConnectionMode(w, MainWindow::EthernetLink);
    tick(6);
    QCOMPARE(shown(ethernetLed), frame(1));
    QCOMPARE(shown(serialLed), frame(0));

    // With both links up the serial one shows the indicator.
    MainWindowProbe::setConnectionMode(w, MainWindow::SerialLink | MainWindow::EthernetLink);
    tick(6);
    QCOMPARE(shown(serialLed), frame(2));
    QCOMPARE(shown(ethernetLed), frame(1));

    // A pause without link keeps the count where it was: five ticks later nothing yet.
    MainWindowProbe::setConnectionMode(w, MainWindow::NoLink);
    tick(3);
    MainWindowProbe::setConnectionMode(w, MainWindow::SerialLink);
    tick(5);
    QCOMPARE(shown(serialLed), frame(2));
    tick();
    QCOMPARE(shown(serialLed), frame(3));
}

void TestMainWindow::loggingIndicatorFollowsTheStatusText()
{
    MainWindow &w = *m_window;
    auto *status = child<QLabel>("labelSerialPortStatus");
    const QString suffix = QStringLiteral("<font color=green> , run2.csv</font>");
    MainWindowProbe::settings(w)->fileName = QStringLiteral("/data/run2.csv");
    MainWindowProbe::setConnectionMode(w, MainWindow::SerialLink);
    w.showStatusMessage(QStringLiteral("Connected to ttyS0"));

    w.dataCapturingStatus(true);
    QCOMPARE(status->text(), QStringLiteral("Connected to ttyS0") + suffix);
    QVERIFY(!child<QAction>("actionSelectFile")->isEnabled());
    QCOMPARE(child<QLabel>("labelEthernetStatus")->text(), QStringLiteral("Disconnected"));

    // The step leaves a text that already names the file alone.
    tick(6);
    QCOMPARE(status->text(), QStringLiteral("Connected to ttyS0") + suffix);

    // A new status text drops the name; the next step puts it back.
    w.showStatusMessage(QStringLiteral("Connected to ttyS1"));
    QCOMPARE(status->text(), QStringLiteral("Connected to ttyS1"));
    tick(5);
    QCOMPARE(status->text(), QStringLiteral("Connected to ttyS1"));
    tick();
    QCOMPARE(status->text(), QStringLiteral("Connected to ttyS1") + suffix);
}

void TestMainWindow::loggingOffRestoresTheStatusText()
{
    MainWindow &w = *m_window;
    auto *status = child<QLabel>("labelEthernetStatus");
    auto *selectFile = child<QAction>("actionSelectFile");
    MainWindowProbe::settings(w)->fileName = QStringLiteral("/data/udp.txt");

    // No link: logging on and off changes no label but still guards the file choice.
    w.dataCapturingStatus(true);
    QVERIFY(!selectFile->isEnabled());
    w.dataCapturingStatus(false);
    QVERIFY(selectFile->isEnabled());
    QCOMPARE(status->text(), QStringLiteral("Disconnected"));
    QCOMPARE(child<QLabel>("labelSerialPortStatus")->text(), QStringLiteral("Disconnected"));

    MainWindowProbe::setConnectionMode(w, MainWindow::EthernetLink);
    w.showEthernetStatusMessage(QStringLiteral("Connected"));
    w.dataCapturingStatus(true);
    tick(6);
    const QImage ledWhileLogging = shown(child<QLabel>("label_EthernetLed"));
    w.dataCapturingStatus(false);
    QCOMPARE(status->text(), QStringLiteral("Connected"));
    QVERIFY(selectFile->isEnabled());

    // The animation stops; the LED keeps its last frame.
    tick(12);
    QCOMPARE(status->text(), QStringLiteral("Connected"));
    QCOMPARE(shown(child<QLabel>("label_EthernetLed")), ledWhileLogging);
}

void TestMainWindow::progressBarStates()
{
    auto *bar = child<QProgressBar>("progressBar");
    auto *status = child<QLabel>("labelSerialPortStatus");

    m_window->setProgressBar(MainWindow::ProgressStarted, 48);
    QVERIFY(!bar->isHidden());
    QVERIFY(status->isHidden());
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 48);
    QCOMPARE(bar->value(), 0);

    m_window->setProgressBar(MainWindow::ProgressStep, 7);
    QCOMPARE(bar->value(), 7);
    for (int state : {3, -2, 100}) {
        m_window->setProgressBar(state, 30);
        QCOMPARE(bar->value(), 7);
        QVERIFY(!bar->isHidden());
        QVERIFY(status->isHidden());
    }
    m_window->setProgressBar(MainWindow::ProgressFinished, 48);
    QCOMPARE(bar->value(), 48);

    m_window->setProgressBar(MainWindow::ProgressHidden, 0);
    QVERIFY(bar->isHidden());
    QVERIFY(!status->isHidden());

    // A new detection starts from zero again.
    m_window->setProgressBar(MainWindow::ProgressStarted, 12);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(bar->maximum(), 12);
}

void TestMainWindow::clearActionEmptiesTheConsole()
{
    auto *console = m_window->findChild<QPlainTextEdit *>();
    QVERIFY(console);
    console->appendPlainText(QStringLiteral("$getsrn#"));
    child<QAction>("actionClear")->trigger();
    QVERIFY(console->toPlainText().isEmpty());
}

void TestMainWindow::aboutBox()
{
    m_window->move(120, 60);
    m_window->resize(1002, 600);

    QString title;
    QString text;
    QPoint position;
    QString family;
    bool hasIcon = false;
    int boxes = 0;
    auto inspectAndClose = [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        ++boxes;
        title = box->windowTitle();
        text = box->text();
        position = box->pos();
        family = box->font().family();
        hasIcon = !box->iconPixmap().isNull();
        box->done(0);
    };

    QTimer::singleShot(0, this, inspectAndClose);
    child<QAction>("actionAbout")->trigger();

    QCOMPARE(boxes, 1);
    QCOMPARE(title, QStringLiteral("About IMU Orvanta"));
    const QString head = QStringLiteral("<center>Version %1</center><center>Build %2.64-MAC</center><br><b>Orvanta</b>")
                             .arg(versionString, QStringLiteral(QT_VERSION_STR));
    QVERIFY2(text.startsWith(head), qPrintable(text));
    QVERIFY2(text.endsWith(QString::number(QDate::currentDate().year()) + QStringLiteral("</br>")), qPrintable(text));
    QCOMPARE(text.count(QStringLiteral("<br>")), 4);
    QVERIFY(text.contains(QStringLiteral("<a href=")));
    QCOMPARE(position, QPoint(120 + 1002 / 4, 60 + 80));
    QCOMPARE(family, QStringLiteral("Open Sans"));
    QVERIFY(hasIcon);

    // Each trigger builds a fresh box at the window's current place.
    m_window->move(10, 20);
    QTimer::singleShot(0, this, inspectAndClose);
    m_window->about();
    QCOMPARE(boxes, 2);
    QCOMPARE(position, QPoint(10 + 1002 / 4, 20 + 80));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
