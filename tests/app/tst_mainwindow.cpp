#include "DialogChart.h"
#include "MainWindowFixture.h"
#include "ResourcePaths.h"
#include "SettingsDialog.h"
#include "SharedTables.h"
#include "WorkerProbe.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

namespace {

constexpr int BusyWriteBytes = 4 << 20;
constexpr int Red = -1; // in indicator rows: the LED still shows the red picture

// Logging indicator: with this link and logging state, after these ticks the two LEDs show these frames.
struct IndicatorRow { uint link; bool logging; int ticks, serialFrame, ethernetFrame; };
// Progress bar: after this state, with the value 30, from a running detection at 7 of 48.
struct ProgressRow { int state; bool barShown; int value, maximum; };

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString eventLogPath() { return QCoreApplication::applicationDirPath() + QStringLiteral("/errorLogger.txt"); }

// A line is its message, " @ ", the local date and time in text form, then CR (and the LF split at).
bool isLogLine(const QByteArray &line, const QByteArray &message)
{
    const QByteArray head = message + " @ ";
    const QByteArray stamp = line.mid(head.size(), line.size() - head.size() - 1);
    return line.startsWith(head) && line.endsWith('\r')
        && QDateTime::fromString(QString::fromLocal8Bit(stamp), Qt::TextDate).isValid();
}

QImage image(const QPixmap &pixmap) { return pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied); }

QSettings store() { return QSettings(SettingsDialog::StoreOrganisation, SettingsDialog::StoreApplication); }

} // namespace

Q_DECLARE_METATYPE(IndicatorRow)
Q_DECLARE_METATYPE(ProgressRow)

class TestMainWindow : public QObject, public MainWindowFixture
{
    Q_OBJECT

    template<typename T = QObject>
    T *child(const char *name) const { return MainWindowProbe::child<T>(*m_window, name); }
    QImage led(const char *name) const { return image(child<QLabel>(name)->pixmap()); }

private slots:
    void init()
    {
        // A slot named for an object or signal the form lacks is left unconnected.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("No matching signal")));
        // Every case starts with a new window and an empty settings store of its own.
        openWindow();
    }

    void stateAtEndOfConstruction()
    {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Orvanta"));
        QCOMPARE(child<QTabWidget>("tabWidget")->tabText(0), QStringLiteral("Interface"));
        QVERIFY(child<QProgressBar>("progressBar")->isHidden());
        const struct { const char *object, *property; QVariant value; } expected[] = {
            {"tabWidget", "count", 4}, {"tabWidget", "currentIndex", 0}, {"lcdNumberHeave", "value", 0.0},
            {"GPSRS232BaudRateBox", "currentText", "unknown"}, {"IMUfreqBox", "currentIndex", 0},
            {"pushButtonApplyProtocol", "enabled", false}, {"lineEditIMUUdpPort", "text", "8088"},
            {"lineEditLocalUdpPort", "text", "8080"}, {"labelSerialPortStatus", "text", "Disconnected"},
            {"labelEthernetStatus", "text", "Disconnected"},
        };
        for (const auto &row : expected)
            QVERIFY2(child(row.object)->property(row.property) == row.value, row.object);
    }

    // The earlier run's lines go; then the start line, the messages, and the two closing lines in order.
    void eventLogOfOneRun()
    {
        m_window.reset(); // the log holds a whole run now
        m_window = std::make_unique<MainWindow>();
        m_window->errorLoggerWrite("msg Info : Worker : serial->write : $getsrn#");
        m_window->errorLoggerWrite(QByteArray());
        m_window->close();
        m_window.reset();
        const QList<QByteArray> expected{"msg Info : statrt debug data Logging",
                                         "msg Info : Worker : serial->write : $getsrn#", "",
                                         "msg Info : From main : closeEvent ",
                                         "msg Info : From main : logger_file.close"};
        const QList<QByteArray> lines = fileBytes(eventLogPath()).split('\n');
        QCOMPARE(lines.size(), expected.size() + 1);
        for (int i = 0; i < expected.size(); ++i)
            QVERIFY2(isLogLine(lines.at(i), expected.at(i)), lines.at(i).constData());
    }

    void chartSelectionRoundTripsThroughTheStore_data()
    {
        QTest::addColumn<QBitArray>("stored");
        QTest::addColumn<QBitArray>("atStart");
        QTest::newRow("short") << QBitArray(4, true) << QBitArray(DialogChart::SelectionBits);
        QTest::newRow("16 bits") << QBitArray(16, true) << QBitArray(16, true);
    }

    // The chart starts with the stored selection; a series the user switches is kept when the window closes.
    void chartSelectionRoundTripsThroughTheStore()
    {
        QFETCH(QBitArray, stored);
        QFETCH(QBitArray, atStart);
        const QString key = SettingsDialog::StoreGroup + QStringLiteral("/DataDisplayFlag");
        m_window.reset();
        store().setValue(key, stored);
        m_window = std::make_unique<MainWindow>();
        DialogChart *chart = MainWindowProbe::chart(*m_window);
        QCOMPARE(chart->DataDisplayFlag, atStart);
        chart->findChild<QCheckBox *>(QStringLiteral("checkBoxAz"))->toggle();
        m_window->close();
        atStart.toggleBit(DialogChart::AzBit);
        QCOMPARE(store().value(key).toBitArray(), atStart);
    }

    void shutDownStopsTheWorkerBeforeItsThreadEnds_data()
    {
        QTest::addColumn<bool>("closedFirst");
        QTest::newRow("closed, then destroyed") << true;
        QTest::newRow("destroyed only") << false;
    }

    // The worker is busy when the window goes, and still writing data when the destructor
    // ends its thread: the stop queued behind that work must have run to its end before the thread ends.
    void shutDownStopsTheWorkerBeforeItsThreadEnds()
    {
        QFETCH(bool, closedFirst);
        QTemporaryDir logDir;
        const QString logPath = logDir.filePath(QStringLiteral("data.log"));
        Worker *worker = MainWindowProbe::worker(*m_window);
        QSemaphore busy, gate;
        QMetaObject::invokeMethod(worker, [worker, logPath, &busy, &gate] {
            QFile &log = WorkerProbe::logFile(*worker);
            log.setFileName(logPath);
            if (log.open(QIODevice::WriteOnly))
                log.write("the tail of the data log");
            busy.release();
            gate.acquire();
            log.write(QByteArray(BusyWriteBytes, 'x'));
        });
        busy.acquire();

        // Whether the data log is still open when the thread ends tells if the stop has run.
        bool logOpenAtEnd = true;
        connect(MainWindowProbe::workerThread(*m_window), &QThread::finished, this,
                [&, worker] { logOpenAtEnd = WorkerProbe::logFile(*worker).isOpen(); }, Qt::DirectConnection);
        // The busy work ends only once the window's destructor has begun its shut-down.
        connect(MainWindowProbe::settingsDialog(*m_window), &QObject::destroyed, this, [&gate] { gate.release(); });
        if (closedFirst)
            m_window->close();
        m_window.reset();
        QVERIFY(!logOpenAtEnd);
        QCOMPARE(fileBytes(logPath), QByteArray("the tail of the data log") + QByteArray(BusyWriteBytes, 'x'));
    }

    void statusTextSetsLed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("picture");
        QTest::newRow("disconnected") << "Disconnected" << ResourcePaths::RedLed;
        QTest::newRow("connected") << "Connected to /dev/ttyUSB0 : 115200, 8, None, 1" << ResourcePaths::GreenLed;
        QTest::newRow("lower case") << "disconnected" << ResourcePaths::OrangeLed;
        QTest::newRow("scanning") << "Scaning For IMU" << ResourcePaths::OrangeLed;
    }

    void statusTextSetsLed()
    {
        QFETCH(QString, text);
        QFETCH(QString, picture);
        for (const char *name : {"label_SerialLed", "label_EthernetLed"})
            child<QLabel>(name)->clear(); // so that every row has to set the LED
        m_window->showStatusMessage(text);
        m_window->showEthernetStatusMessage(text);
        QCOMPARE(led("label_SerialLed"), image(QPixmap(picture)));
        QCOMPARE(led("label_EthernetLed"), image(QPixmap(picture)));
    }

    void loggingIndicator_data()
    {
        QTest::addColumn<IndicatorRow>("row");
        const uint serial = Worker::SerialMode, ethernet = Worker::EthernetMode;
        QTest::newRow("no link") << IndicatorRow{Worker::NoLink, true, 24, Red, Red};
        QTest::newRow("logging off") << IndicatorRow{serial, false, 24, Red, Red};
        QTest::newRow("serial, 5 ticks") << IndicatorRow{serial, true, 5, Red, Red};
        QTest::newRow("serial, 6 ticks") << IndicatorRow{serial, true, 6, 0, Red};
        QTest::newRow("serial, 17 ticks") << IndicatorRow{serial, true, 17, 1, Red};
        QTest::newRow("serial, 54 ticks") << IndicatorRow{serial, true, 54, 0, Red};
        QTest::newRow("ethernet, 6 ticks") << IndicatorRow{ethernet, true, 6, Red, 0};
        QTest::newRow("both, 6 ticks") << IndicatorRow{serial | ethernet, true, 6, 0, Red};
    }

    // One step every sixth tick, counted only while logging runs with a link up.
    // Logging started with no link puts the file's name on neither status.
    void loggingIndicator()
    {
        QFETCH(IndicatorRow, row);
        const QImage red = image(QPixmap(ResourcePaths::RedLed));
        auto shows = [&](int i) { return i == Red ? red : image(MainWindowProbe::ledFrames(*m_window).at(i)); };
        QTimerEvent event(MainWindowProbe::timerId(*m_window));
        auto tick = [&](int count) { while (count-- > 0) QCoreApplication::sendEvent(m_window.get(), &event); };
        MainWindowProbe::chooseLogFile(*m_window, QDir::tempPath() + QStringLiteral("/pier.dat"));
        m_window->dataCapturingStatus(row.logging);
        for (const char *status : {"labelSerialPortStatus", "labelEthernetStatus"})
            QVERIFY(!labelShows(child<QLabel>(status)).contains(QStringLiteral("pier.dat")));
        tick(5); // no link yet: not counted
        MainWindowProbe::setConnectionMode(*m_window, row.link);
        tick(row.ticks);
        QCOMPARE(led("label_SerialLed"), shows(row.serialFrame));
        QCOMPARE(led("label_EthernetLed"), shows(row.ethernetFrame));
    }

    void statusTextsShownAsText_data()
    {
        QTest::addColumn<uint>("link");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("fileName"); // empty: not logging
        QTest::addColumn<QString>("shown");
        const uint serial = Worker::SerialMode, ethernet = Worker::EthernetMode;
        QTest::newRow("markup in the file name")
            << serial << "Connected to ttyUSB0 : 115200, 8, None, 1" << "tide<b>1&amp;2<3.log"
            << "Connected to ttyUSB0 : 115200, 8, None, 1 , tide<b>1&amp;2<3.log";
        QTest::newRow("the note before the file name")
            << ethernet << "Connected" << "a<b.dat" << "Connected: Settings Not Confirmed , a<b.dat";
        QTest::newRow("markup in the status text")
            << ethernet << "Disconnected: <i>port</i> & more" << "run.dat"
            << "Disconnected: <i>port</i> & more: Settings Not Confirmed , run.dat";
        QTest::newRow("entities without a tag, not logging")
            << serial << "R&D \"rig\" > 3" << QString() << "R&D \"rig\" > 3";
        QTest::newRow("Ethernet entities without a tag, not logging")
            << ethernet << "Found \"R&D\" > 1" << QString() << "Found \"R&D\" > 1: Settings Not Confirmed";
        QTest::newRow("runs of blanks") << serial << "  two  blanks " << " run  1.log"
                                        << "  two  blanks  ,  run  1.log";
    }

    // The status strip shows each part as given: the link's status, the note
    // of unconfirmed settings and, while logging, the log file's name.
    void statusTextsShownAsText()
    {
        QFETCH(uint, link);
        QFETCH(QString, status);
        QFETCH(QString, fileName);
        const bool serial = link == Worker::SerialMode;
        MainWindowProbe::setConnectionMode(*m_window, link);
        MainWindowProbe::chooseLogFile(*m_window, QDir::tempPath() + QLatin1Char('/') + fileName);
        if (serial) {
            m_window->showStatusMessage(status);
        } else {
            m_window->showEthernetStatusMessage(status);
            m_window->settingsConfirmed(false);
        }
        if (!fileName.isEmpty())
            m_window->dataCapturingStatus(true);
        QTEST(labelShows(child<QLabel>(serial ? "labelSerialPortStatus" : "labelEthernetStatus")), "shown");
    }

    void progressBarStates_data()
    {
        QTest::addColumn<ProgressRow>("row");
        QTest::newRow("started") << ProgressRow{Worker::ProgressStart, true, 0, 30};
        QTest::newRow("finished") << ProgressRow{Worker::ProgressDone, true, 30, 48};
        QTest::newRow("step") << ProgressRow{Worker::ProgressStep, true, 30, 48};
        QTest::newRow("hidden") << ProgressRow{Worker::ProgressFailed, false, 7, 48};
        for (int state : {3, -2, 100})
            QTest::addRow("state %d", state) << ProgressRow{state, true, 7, 48};
    }

    void progressBarStates()
    {
        QFETCH(ProgressRow, row);
        auto *bar = child<QProgressBar>("progressBar");
        m_window->setProgressBar(Worker::ProgressStart, 48);
        m_window->setProgressBar(Worker::ProgressStep, 7);
        m_window->setProgressBar(row.state, 30);
        QCOMPARE(!bar->isHidden(), row.barShown);
        QCOMPARE(child<QLabel>("labelSerialPortStatus")->isHidden(), row.barShown);
        QCOMPARE(bar->value(), row.value);
        QCOMPARE(bar->maximum(), row.maximum);
    }

    void aboutBox()
    {
        m_window->setGeometry(120, 60, 1000, 600);
        QString title, text;
        QPoint position;
        m_modal->then([&](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                title = box->windowTitle();
                text = box->text();
                position = box->pos();
                box->done(0);
            }
        });
        child<QAction>("actionAbout")->trigger();
        QCOMPARE(title, QStringLiteral("About IMU Orvanta"));
        const QString head = QStringLiteral("<center>Version %1</center><center>Build %2.64-MAC</center>"
                                            "<br><b>Orvanta</b>").arg(versionString, QStringLiteral(QT_VERSION_STR));
        QVERIFY2(text.startsWith(head), qPrintable(text));
        QVERIFY2(text.endsWith(QStringLiteral("%1</br>").arg(QDate::currentDate().year())), qPrintable(text));
        QCOMPARE(position, QPoint(120 + 1000 / 4, 60 + 80));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
