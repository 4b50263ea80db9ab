#include "Console.h"
#include "DialogAutoDetect.h"
#include "DeviceIdentity.h"
#include "DialogChart.h"
#include "MainWindowFixture.h"
#include "ReadoutTexts.h"
#include "ResourcePaths.h"
#include "SettingsDialog.h"
#include "WorkerProbe.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

namespace {

UserSettingsType firstSent(const QSignalSpy &spy) { return spy.at(0).at(0).value<UserSettingsType>(); }

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

qsizetype eventLogCount(const QByteArray &message)
{
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/errorLogger.txt");
    return fileBytes(path).count("\n" + message + " @ ");
}

bool eventLogHas(const QByteArray &message)
{
    return eventLogCount(message) > 0;
}

QImage modelPicture(const char *path)
{
    return QPixmap(QString::fromLatin1(path)).scaled(160, 100, Qt::KeepAspectRatio, Qt::SmoothTransformation).toImage();
}

const char *const ApplyButtons[] = {"pushButtonApplyChangesIMU", "pushButtonApplyProtocol",
                                    "pushButtonApplyChangesIMUOutputSettings", "pushButtonSelectAllPrtParameters",
                                    "pushButtonClearAllPrtParameters"};

} // namespace

class TestMainWindowActions : public QObject, public MainWindowFixture
{
    Q_OBJECT

    template<typename T = QAction>
    T *child(const char *name) const { return MainWindowProbe::child<T>(*m_window, name); }
    UserSettingsType &settings() const { return *MainWindowProbe::settingsDialog(*m_window)->currentSettings(); }
    Worker *worker() const { return MainWindowProbe::worker(*m_window); }

    bool applyButtonsEnabled(bool enabled) const
    {
        for (const char *name : ApplyButtons) {
            if (child<QPushButton>(name)->isEnabled() != enabled)
                return false;
        }
        return true;
    }

    // The logging action is off and offers to start again.
    bool loggingOff() const
    {
        QAction *action = child("actionDataLogging");
        return !action->isChecked() && action->toolTip() == QStringLiteral("start data logging");
    }

    // The requests a test sends to the window's own worker.
    void connectLoggingToWorker()
    {
        connect(m_window.get(), &MainWindow::signalStartDataLogging, worker(), &Worker::startDataLogging,
                Qt::UniqueConnection);
    }

private slots:
    void init()
    {
        // Every case: a home of its own (settings store, documents folder) and a new window.
        openWindow(Home::StoreFolder);
        m_window->move(100, 80);
    }

    void cleanup()
    {
        QVERIFY2(m_modal->unexpected.isEmpty(), qPrintable(m_modal->unexpected.join(", ")));
        QVERIFY(m_modal->allAnswered());
    }

    // Connect clears the change markers of the link and sends the record once, with the name and
    // rate in use; unchecking closes the port and leaves the window disconnected. With no Ethernet
    // link in use the worker hears nothing of Ethernet and its status keeps its last text; leaving
    // an Ethernet link in use is tried against the worker in the Ethernet tests.
    void connectAndDisconnect()
    {
        settings().portName = QStringLiteral("ttyUSB7");
        settings().baudRate = 38400;
        const QString bindFailure = QStringLiteral("Disconnected: UDP port 8080 could not be bound: in use");
        m_window->showEthernetStatusMessage(bindFailure); // the Ethernet link's last text, no link in use
        SettingsMarkers &markers = MainWindowProbe::markers(*m_window);
        markers.m_rs232BaudChanged = markers.m_localPortChanged = markers.m_rescanNeeded = true;
        markers.m_flagsChanged = true; // cleared only by its Apply
        QSignalSpy open(m_window.get(), &MainWindow::signalOpenSerialPort);
        QSignalSpy ethernet(m_window.get(), &MainWindow::signalEthernetConnectTriggered);
        child("actionConnect")->trigger();
        QCOMPARE(open.count(), 1);
        QCOMPARE(ethernet.count(), 0); // no Ethernet link to leave
        QCOMPARE(firstSent(open).portName, QStringLiteral("ttyUSB7"));
        QCOMPARE(firstSent(open).baudRate, 38400);
        QVERIFY(eventLogHas("msg Info : From main : opening SerialPort : ttyUSB7"));
        QCOMPARE(MainWindowProbe::connectionMode(*m_window), uint32_t(Worker::SerialMode));
        QVERIFY(child("actionConnect")->isChecked() && !child("actionConfigure")->isEnabled());
        QCOMPARE(child("actionConnect")->toolTip(), QStringLiteral("Disconnect serial port"));
        QCOMPARE(child<QLabel>("labelEthernetStatus")->text(), bindFailure);
        QVERIFY(!markers.m_rs232BaudChanged && !markers.m_localPortChanged && !markers.m_rescanNeeded);
        QVERIFY(markers.m_flagsChanged);

        // Disconnect
        for (const char *name : {"labelRoll", "labelAz"})
            child<QLabel>(name)->setText(QStringLiteral("+12.34"));
        m_window->enableAllButtonsSlot(true);
        m_window->showStatusMessage(QStringLiteral("Connected to ttyUSB7 : 38400, 8, None, 1"));
        QSignalSpy close(m_window.get(), &MainWindow::signalCloseSerialPort);
        child("actionConnect")->trigger();
        QCOMPARE(close.count(), 1);
        QCOMPARE(ethernet.count(), 0);
        QVERIFY(applyButtonsEnabled(false));
        QCOMPARE(child<QLabel>("labelSerialPortStatus")->text(), QStringLiteral("Disconnected"));
        QCOMPARE(child("actionConnect")->toolTip(), QStringLiteral("Connect to serial port"));
        QVERIFY(child("actionConfigure")->isEnabled() && !MainWindowProbe::console(*m_window)->isEnabled());
        QCOMPARE(MainWindowProbe::connectionMode(*m_window), uint32_t(Worker::NoLink));
        QCOMPARE(eventLogCount("msg Info : From main : closing SerialPort : ttyUSB7"), 1);
        const ReadoutTexts::Readouts cleared = ReadoutTexts::clearedReadoutTexts();
        QCOMPARE(child<QLabel>("labelRoll")->text(), cleared.labels[ReadoutTexts::Roll]);
        QCOMPARE(child<QLabel>("labelAz")->text(), cleared.labels[ReadoutTexts::Az]);
    }

    void connectWithoutPortName()
    {
        settings().portName.clear();
        QSignalSpy open(m_window.get(), &MainWindow::signalOpenSerialPort);
        BoxSeen box;
        m_modal->then(closeBox(&box));
        child("actionConnect")->trigger();
        QCOMPARE(QStringList({box.title, box.text}), QStringList({"Error", "No Valid Port Name detected!."}));
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(open.count(), 0);
        QVERIFY(!child("actionConnect")->isChecked());
        QCOMPARE(MainWindowProbe::connectionMode(*m_window), uint32_t(Worker::NoLink));
        QVERIFY(eventLogHas("msg Error : From main : openSerialPort, portName not Valid"));
    }

    // The dialog runs only once the worker has let go of the port; the first Configure reports the
    // change made at start-up, the next one (closed without Apply) reports none.
    void configureAfterTheWorkerReleasesThePort()
    {
        connect(m_window.get(), &MainWindow::signalRefreshSerialPort, worker(), &Worker::refreshSerialPort,
                Qt::UniqueConnection);
        connect(worker(), &Worker::signalConfigureSerialPort, m_window.get(), &MainWindow::configureSerialPort,
                Qt::UniqueConnection);
        QSignalSpy done(m_window.get(), &MainWindow::signalConfigureSerialPortDone);
        QPoint position;
        for (int run = 0; run < 2; ++run) {
            m_modal->then([&](QWidget *modal) {
                QCOMPARE(modal, MainWindowProbe::settingsDialog(*m_window));
                position = modal->pos();
                qobject_cast<QDialog *>(modal)->reject();
            });
        }
        child("actionConfigure")->trigger();
        QVERIFY(!m_modal->allAnswered()); // not before the worker's answer
        QTRY_COMPARE(done.count(), 1);
        QCOMPARE(position, m_window->pos() + QPoint(75, 75));
        child("actionConfigure")->trigger();
        QTRY_COMPARE(done.count(), 2);
        QCOMPARE(QList<QVariantList>(done), (QList<QVariantList>{{true}, {false}}));
    }

    // Halt shows the lines gathered before it at once and drops those that
    // arrive while it lasts; Clear drops the lines still gathered.
    void haltAndClear()
    {
        Console *console = MainWindowProbe::console(*m_window);
        QSignalSpy halt(m_window.get(), &MainWindow::signalConsoleHalt);
        m_window->m_consoleDisplayData("before\r\n", SerialFraming::DataLine, false);
        child("actionHaltSerialPort")->trigger();
        QVERIFY(console->halt);
        QCOMPARE(console->toPlainText(), QStringLiteral("before\n"));
        m_window->m_consoleDisplayData("halted\r\n", SerialFraming::DataLine, false);
        child("actionHaltSerialPort")->trigger();
        QVERIFY(!console->halt);
        QCOMPARE(QList<QVariantList>(halt), (QList<QVariantList>{{true}, {false}}));
        m_window->m_consoleDisplayData("after\r\n", SerialFraming::DataLine, false);
        QTRY_VERIFY(console->toPlainText().endsWith(QStringLiteral("after\n")));
        QCOMPARE(console->toPlainText(), QStringLiteral("before\nafter\n"));

        m_window->m_consoleDisplayData("cleared\r\n", SerialFraming::DataLine, false);
        child("actionClear")->trigger();
        QCOMPARE(console->toPlainText(), QString());
        m_window->m_consoleDisplayData("$frq#100\r\n", SerialFraming::AnswerLine, false);
        QTRY_VERIFY(!console->toPlainText().isEmpty());
        QCOMPARE(console->toPlainText(), QStringLiteral("$frq#100\n"));
    }

    void pickDetectedPort_data()
    {
        QTest::addColumn<int>("row");
        QTest::newRow("second row") << 1;
        QTest::newRow("closed without a pick") << -1;
    }

    // Two ports found in 12 345 ms: the list shows 12 seconds; a pick stores the name and both rate
    // fields, saves them and opens the port; no pick leaves no link. Either way the status text is back.
    void pickDetectedPort()
    {
        QFETCH(int, row);
        MainWindowProbe::setConnectionMode(*m_window, Worker::SerialMode);
        m_window->setProgressBar(Worker::ProgressStart, 16);
        QSignalSpy open(m_window.get(), &MainWindow::signalOpenSerialPort);
        QStringList rows;
        QString status;
        QPoint position;
        m_modal->then([&](QWidget *modal) {
            auto *dialog = qobject_cast<DialogAutoDetect *>(modal);
            for (int i = 0; i < dialog->listWidgetComPorts->count(); ++i)
                rows << dialog->listWidgetComPorts->item(i)->text();
            status = dialog->labelDetectStatus->text();
            position = dialog->pos();
            if (row < 0)
                return dialog->reject();
            dialog->listWidgetComPorts->setCurrentRow(row);
            emit dialog->listWidgetComPorts->itemDoubleClicked(dialog->listWidgetComPorts->item(row));
        });
        m_window->autoDetectSerialPortDone({"ttyUSB0", "ttyUSB1"}, {9600, 230400}, 12345);
        QCOMPARE(rows, (QStringList{"Port: ttyUSB0 , Baud Rate: 9600", "Port: ttyUSB1 , Baud Rate: 230400"}));
        QVERIFY2(status.endsWith(QStringLiteral("Time elapsed : 12 Sec")), qPrintable(status));
        QCOMPARE(position, m_window->pos() + QPoint(100, 100));
        QVERIFY(child<QProgressBar>("progressBar")->isHidden());
        QVERIFY(!child<QLabel>("labelSerialPortStatus")->isHidden());
        if (row < 0) {
            QCOMPARE(open.count(), 0);
            QCOMPARE(MainWindowProbe::connectionMode(*m_window), uint32_t(Worker::NoLink));
            return;
        }
        QCOMPARE(open.count(), 1);
        const auto sent = firstSent(open);
        QCOMPARE(QStringList({sent.portName, QString::number(sent.baudRate), sent.stringBaudRate}),
                 QStringList({"ttyUSB1", "230400", "230400"}));
        QSettings store(SettingsDialog::StoreOrganisation, SettingsDialog::StoreApplication);
        store.beginGroup(SettingsDialog::StoreGroup);
        QCOMPARE(QStringList({store.value("portName").toString(), store.value("baudRate").toString(),
                              store.value("stringBaudRate").toString()}),
                 QStringList({"ttyUSB1", "230400", "230400"}));
        QCOMPARE(MainWindowProbe::connectionMode(*m_window), uint32_t(Worker::SerialMode));
    }

    void actionSlots_data()
    {
        QTest::addColumn<bool>("check");
        QTest::addColumn<bool>("on");
        QTest::addColumn<int>("bits");
        QTest::addColumn<QString>("changed");
        QTest::newRow("disable 1") << false << false << 1 << "Connect EthernetConnect HaltSerialPort";
        QTest::newRow("check 8") << true << true << 8 << "EthernetConnect";
    }

    // Each bit addresses its actions; the others keep their state.
    void actionSlots()
    {
        QFETCH(bool, check);
        QFETCH(bool, on);
        QFETCH(int, bits);
        QFETCH(QString, changed);
        const QStringList names{"Connect", "EthernetConnect", "HaltSerialPort", "Configure"};
        for (const QString &name : names) {
            QAction *action = child(qPrintable("action" + name));
            action->setCheckable(true); // Configure is not checkable on the form
            action->setEnabled(true);
            action->setChecked(false);
        }
        if (check)
            m_window->actionsSetCheckedSlot(on, bits);
        else
            m_window->enableAllActionsSlot(on, bits);
        for (const QString &name : names) {
            QAction *action = child(qPrintable("action" + name));
            const bool addressed = changed.split(' ').contains(name);
            QCOMPARE(check ? action->isChecked() : !action->isEnabled(), addressed);
        }
    }

    void workerReports()
    {
        m_window->enableAllButtonsSlot(true);
        QVERIFY(applyButtonsEnabled(true));
        m_window->enableAllButtonsSlot(false);
        QVERIFY(applyButtonsEnabled(false));

        Console *console = MainWindowProbe::console(*m_window);
        m_window->m_consoleDisplayData("$frq#100\r\n", SerialFraming::AnswerLine, false);
        m_window->m_consoleInsertPlainText("FA FF 32 0C \u00e9");
        QTRY_COMPARE(console->toPlainText(), QStringLiteral("$frq#100\nFA FF 32 0C \u00e9"));

        BoxSeen box;
        m_modal->then(closeBox(&box));
        m_window->showMessageBox(QStringLiteral("Open error"), QStringLiteral("Permission denied"));
        QCOMPARE(QStringList({box.title, box.text}), QStringList({"Open error", "Permission denied"}));
        QCOMPARE(box.icon, QMessageBox::Critical);
    }

    void hardwareFeatures_data()
    {
        QTest::addColumn<QString>("hardwareId");
        QTest::addColumn<bool>("ethernet");
        QTest::addColumn<QString>("picture");
        QTest::newRow("21") << "21" << true << ResourcePaths::ModelDravona;
        QTest::newRow("56") << "56" << false << ResourcePaths::ModelOem;
        QTest::newRow("61") << "61" << true << ResourcePaths::ModelOem;
        QTest::newRow("empty") << "" << false << ResourcePaths::ModelDravona;
    }

    // Every report switches the Ethernet features by model and disables the GPS choice; the info box
    // shows the model's picture and the device's texts literally.
    void hardwareFeatures()
    {
        QFETCH(QString, hardwareId);
        QFETCH(bool, ethernet);
        QFETCH(QString, picture);
        child("actionEthernetConnect")->setEnabled(!ethernet);
        child<QGroupBox>("groupBoxEthernet")->setEnabled(!ethernet);
        FactorySettingsT identity;
        identity.hardwareId = hardwareId;
        identity.partNr = QStringLiteral("<b>PN</b>");
        identity.serialNumber = hardwareId + QStringLiteral("0412261234");
        identity.fwVersion = QStringLiteral("FW 1.2");
        m_window->enableSpecialHardwareFeature(identity);
        QCOMPARE(child("actionEthernetConnect")->isEnabled(), ethernet);
        QCOMPARE(child<QGroupBox>("groupBoxEthernet")->isEnabled(), ethernet);
        QVERIFY(!child<QGroupBox>("groupBox_GPS_RadioButtons")->isEnabled());

        m_window->setGeometry(200, 100, 900, 560);
        BoxSeen box;
        m_modal->then(closeBox(&box));
        child("actionInfoIMU")->trigger();
        QCOMPARE(box.title, QStringLiteral("IMU Factory Info"));
        QCOMPARE(box.picture, modelPicture(qPrintable(picture)));
        QCOMPARE(box.text, DeviceIdentity::factoryInfoText(identity)); // its escaping is tested with the rules
        QCOMPARE(box.position, QPoint(200 + 900 / 2 - 125, 100 + 75));
    }

    void identityOfTheLinkInUse_data()
    {
        QTest::addColumn<uint>("window");
        QTest::addColumn<uint>("link"); // the identity was read on
        QTest::addColumn<QString>("hardwareId");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<bool>("ethernet");
        const uint none = Worker::NoLink, serial = Worker::SerialMode, ethernet = Worker::EthernetMode;
        const uint any = Worker::AnyLink;
        QTest::newRow("serial in use, read on it, no Ethernet") << serial << serial << "56" << true << false;
        QTest::newRow("serial in use, naming no link") << serial << any << "56" << true << false;
        QTest::newRow("Ethernet in use, read on it") << ethernet << ethernet << "7" << true << true;
        QTest::newRow("Ethernet in use, naming no link") << ethernet << any << "56" << true << true;
        QTest::newRow("no link, read by detection") << none << none << "56" << false << true;
        QTest::newRow("no link, read as the serial link closed") << none << serial << "56" << false << true;
        QTest::newRow("Ethernet in use, read on the serial link") << ethernet << serial << "56" << false << true;
    }

    // An identity the worker reports counts for the session that read it: the
    // info box shows it, and the model gates the Ethernet features, only while
    // the serial link that read it is in use; one read over Ethernet never
    // closes them.
    void identityOfTheLinkInUse()
    {
        QFETCH(uint, window);
        QFETCH(uint, link);
        QFETCH(QString, hardwareId);
        QFETCH(bool, taken);
        QFETCH(bool, ethernet);
        MainWindowProbe::setConnectionMode(*m_window, window);
        FactorySettingsT identity;
        identity.hardwareId = hardwareId;
        identity.serialNumber = hardwareId + QStringLiteral("0412261234");
        emit MainWindowProbe::worker(*m_window)->signalEnableSpecialHardwareFeature(identity, link);
        QCOMPARE(child("actionEthernetConnect")->isEnabled(), ethernet);
        QCOMPARE(child<QGroupBox>("groupBoxEthernet")->isEnabled(), ethernet);
        QCOMPARE(factoryInfo().contains(identity.serialNumber), taken);
        QCOMPARE(!child<QGroupBox>("groupBox_GPS_RadioButtons")->isEnabled(), taken);
    }

    void identityBeforeAnyReport()
    {
        BoxSeen box;
        m_modal->then(closeBox(&box));
        child("actionInfoIMU")->trigger();
        QVERIFY(box.text.contains(QStringLiteral("Part Number: </font>")));
        QVERIFY(box.text.contains(QStringLiteral("IMU SN : __ __ __ __</font>")));
        QCOMPARE(box.picture, modelPicture(ResourcePaths::ModelDravona));
    }

    // The first opening places the chart and activates it; the next only raises it, until it is closed.
    void chartViewer()
    {
        DialogChart *chart = MainWindowProbe::chart(*m_window);
        child("actionChartViewer")->trigger();
        QVERIFY(chart->isVisible() && chart->isActive());
        QCOMPARE(chart->pos(), m_window->pos() + QPoint(10, 10));
        chart->move(400, 300);
        child("actionChartViewer")->trigger();
        QCOMPARE(chart->pos(), QPoint(400, 300));
        chart->close();
        child("actionChartViewer")->trigger();
        QCOMPARE(chart->pos(), m_window->pos() + QPoint(10, 10));
        chart->close();
    }

    void instruments_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("heading") << "actionHeading";
        QTest::newRow("attitude meter") << "actionAttitudeMeter";
    }

    void instruments()
    {
        QFETCH(QString, action);
        QWindow &window = action == QStringLiteral("actionHeading")
                              ? static_cast<QWindow &>(MainWindowProbe::compass(*m_window))
                              : static_cast<QWindow &>(MainWindowProbe::attitudeMeter(*m_window));
        child(qPrintable(action))->trigger();
        QVERIFY(window.isVisible());
        QCOMPARE(window.position(), m_window->pos() + QPoint(50, 100));
        window.setPosition(500, 400);
        child(qPrintable(action))->trigger();
        QCOMPARE(window.position(), QPoint(500, 400));
        window.close();
    }

    // A stored file that has gone: the dialog starts at "untitled.txt" in the documents folder; a
    // cancelled dialog warns and keeps the name; an accepted one stores and saves the new name.
    void selectFile()
    {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QVERIFY(QDir().mkpath(documents));
        settings().fileName = m_storeDir->filePath(QStringLiteral("gone/old.txt"));
        QStringList selected, filters;
        m_modal->then([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            selected = dialog->selectedFiles();
            filters = dialog->nameFilters();
            QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            dialog->reject();
        });
        BoxSeen box;
        m_modal->then(closeBox(&box));
        child("actionSelectFile")->trigger();
        QCOMPARE(selected, QStringList{documents + QStringLiteral("/untitled.txt")});
        QCOMPARE(filters, (QStringList{"Text Files (*.txt)", "Data Files (*.dat)", "CSV Files (*.csv)"}));
        QCOMPARE(QStringList({box.title, box.text}), QStringList({"Warning", "No file selected!"}));
        QCOMPARE(settings().fileName, m_storeDir->filePath(QStringLiteral("gone/old.txt")));

        const QString chosen = documents + QStringLiteral("/run 1.dat");
        m_modal->then([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            // A dialog whose name edit already has the focus ignores selectFile.
            if (QWidget *focused = dialog->focusWidget())
                focused->clearFocus();
            dialog->selectFile(chosen);
            static_cast<QDialog *>(dialog)->accept();
        });
        child("actionSelectFile")->trigger();
        QCOMPARE(settings().fileName, chosen);
        QSettings store(SettingsDialog::StoreOrganisation, SettingsDialog::StoreApplication);
        QCOMPARE(store.value(SettingsDialog::StoreGroup + QStringLiteral("/fileName")).toString(), chosen);
        QVERIFY(!QFile::exists(chosen));
    }

    // An account without a documents folder: the dialog starts in the home folder and proposes an
    // absolute "untitled.txt" there, which Save stores.
    void selectFileWithoutDocumentsFolder()
    {
        const QString home = QDir::homePath(); // the case's own
        QVERIFY(!QFileInfo::exists(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
        settings().fileName.clear();
        QString folder, name;
        m_modal->then([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            folder = dialog->directory().absolutePath();
            name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text();
            static_cast<QDialog *>(dialog)->accept();
        });
        child("actionSelectFile")->trigger();
        QCOMPARE(folder, home);
        QCOMPARE(name, QStringLiteral("untitled.txt"));
        QCOMPARE(settings().fileName, home + QStringLiteral("/untitled.txt"));
    }

    void dataLoggingRequests_data()
    {
        QTest::addColumn<bool>("start");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("eventLine");
        QTest::newRow("start without a name") << true << ""
            << QByteArray("msg Error : From main : on_actionDataLogging_triggered file name is Empty");
        QTest::newRow("stop") << false << "/tmp/run.dat"
                              << QByteArray("msg Info : From main : stop data capturing : /tmp/run.dat");
    }

    // Neither request leaves the action on; the worker is told to stop, with the current name.
    void dataLoggingRequests()
    {
        QFETCH(bool, start);
        QFETCH(QString, fileName);
        QFETCH(QByteArray, eventLine);
        settings().fileName = fileName;
        QAction *action = child("actionDataLogging");
        action->setChecked(!start);
        QSignalSpy requests(m_window.get(), &MainWindow::signalStartDataLogging);
        action->trigger();
        QVERIFY(loggingOff());
        QCOMPARE(requests.count(), 1);
        QCOMPARE(requests.at(0).at(0).toBool(), false);
        QCOMPARE(requests.at(0).at(1).toString(), fileName);
        QVERIFY(eventLogHas(eventLine));
    }

    // A file that cannot be opened: the action goes off and the user learns the file and the reason.
    void loggingThatCannotStartIsReported()
    {
        connectLoggingToWorker();
        settings().fileName = m_storeDir->filePath(QStringLiteral("no such folder/run.dat"));
        BoxSeen box;
        m_modal->then(closeBox(&box));
        QAction *action = child("actionDataLogging");
        action->trigger();
        QVERIFY(eventLogHas("msg Info : From main : start data capturing : " + settings().fileName.toLatin1()));
        QTRY_VERIFY(m_modal->allAnswered());
        QCOMPARE(box.icon, QMessageBox::Warning);
        QVERIFY2(box.text.contains(settings().fileName) && box.text.contains(QStringLiteral("No such file")),
                 qPrintable(box.text));
        QVERIFY(loggingOff());
        QVERIFY(child("actionSelectFile")->isEnabled());
    }

    // An earlier recording is replaced only when the user agrees; cancelling leaves it and logging off.
    void existingRecordingIsOverwrittenOnlyWhenConfirmed()
    {
        connectLoggingToWorker();
        const QString path = m_storeDir->filePath(QStringLiteral("earlier.dat"));
        {
            QFile earlier(path);
            QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier recording") == 17);
        }
        settings().fileName = path;
        QAction *action = child("actionDataLogging");
        QSignalSpy requests(m_window.get(), &MainWindow::signalStartDataLogging);
        m_modal->then(clickBoxButton(QStringLiteral("Cancel")));
        action->trigger();
        QVERIFY(loggingOff());
        QCOMPARE(requests.count(), 1);
        QCOMPARE(requests.at(0).at(0).toBool(), false);
        QVERIFY(!eventLogHas("msg Info : From main : start data capturing : " + path.toLatin1()));
        QTest::qWait(100); // the worker's answer
        QCOMPARE(fileBytes(path), QByteArray("earlier recording"));

        m_modal->then(clickBoxButton(QStringLiteral("Overwrite")));
        action->trigger();
        QVERIFY(action->isChecked());
        QCOMPARE(requests.count(), 2);
        QCOMPARE(requests.at(1).at(0).toBool(), true);
        QTRY_VERIFY(!child("actionSelectFile")->isEnabled()); // the worker reports logging on
        QCOMPARE(fileBytes(path), QByteArray());
        QVERIFY(action->isChecked());

        action->trigger(); // stop: no question, no warning
        QTRY_VERIFY(child("actionSelectFile")->isEnabled());
    }

    // Replacing a file confirmed in the save dialog is not asked again when its recording starts;
    // the next recording into the same file is asked about as any other.
    void overwriteAskedOnceForAFileChosenInTheDialog()
    {
        connectLoggingToWorker();
        const QString path = m_storeDir->filePath(QStringLiteral("earlier.dat"));
        const auto writeRecording = [&path] {
            QFile earlier(path);
            return earlier.open(QIODevice::WriteOnly) && earlier.write("earlier recording") == 17;
        };
        QVERIFY(writeRecording());
        m_modal->then([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            if (QWidget *focused = dialog->focusWidget())
                focused->clearFocus();
            dialog->selectFile(path);
            // The dialog's own question about the existing file comes as the next modal window.
            QTimer::singleShot(0, dialog, [dialog] { static_cast<QDialog *>(dialog)->accept(); });
        });
        m_modal->then(clickBoxButton(QStringLiteral("Yes")));
        child("actionSelectFile")->trigger();
        QCOMPARE(settings().fileName, path);
        QVERIFY(m_modal->allAnswered());

        QAction *action = child("actionDataLogging");
        action->trigger(); // no question: the dialog has asked
        QVERIFY(action->isChecked());
        QTRY_VERIFY(!child("actionSelectFile")->isEnabled());
        QCOMPARE(fileBytes(path), QByteArray());
        action->trigger();
        QTRY_VERIFY(child("actionSelectFile")->isEnabled());

        QVERIFY(writeRecording());
        m_modal->then(clickBoxButton(QStringLiteral("Cancel")));
        action->trigger();
        QVERIFY(m_modal->allAnswered());
        QVERIFY(loggingOff());
        QTest::qWait(100); // the worker's answer
        QCOMPARE(fileBytes(path), QByteArray("earlier recording"));
    }

    // A write that fails (a full disk) stops logging in the worker; the window warns and turns the action off.
    void failedWriteStopsLogging()
    {
        connectLoggingToWorker();
        settings().fileName = QStringLiteral("/dev/full");
        QAction *action = child("actionDataLogging");
        action->trigger();
        QTRY_VERIFY(!child("actionSelectFile")->isEnabled());
        QVERIFY(action->isChecked());

        BoxSeen box;
        m_modal->then(closeBox(&box));
        Worker *w = worker();
        QMetaObject::invokeMethod(w, [w] { WorkerProbe::writeDataLog(*w, "sample bytes"); });
        QTRY_VERIFY(m_modal->allAnswered());
        QVERIFY2(box.text.contains(QStringLiteral("/dev/full")) && box.text.contains(QStringLiteral("No space left")),
                 qPrintable(box.text));
        QVERIFY(loggingOff());
        QTRY_VERIFY(child("actionSelectFile")->isEnabled());
        QVERIFY(eventLogHas("msg Error : Worker : writeDataLog : /dev/full : No space left on device"));
        bool open = true;
        QMetaObject::invokeMethod(w, [w, &open] { open = WorkerProbe::logFile(*w).isOpen() || WorkerProbe::logging(*w); },
                                  Qt::BlockingQueuedConnection);
        QVERIFY(!open);
    }

    // A port that cannot be opened leaves no link: Connect off, Configure on,
    // "Open error" with the orange LED, and neither logging frames nor the file
    // name beside it; logging itself stays as the operator set it.
    void openFailureLeavesNoLink()
    {
        connectLoggingToWorker();
        settings().fileName = m_storeDir->filePath(QStringLiteral("harbour.dat"));
        QAction *logging = child("actionDataLogging");
        logging->trigger();
        QTRY_VERIFY(!child("actionSelectFile")->isEnabled());
        settings().portName = QStringLiteral("/dev/no-such-port");
        BoxSeen box;
        m_modal->then(closeBox(&box));
        child("actionConnect")->trigger();
        auto *status = child<QLabel>("labelSerialPortStatus");
        QTRY_COMPARE(status->text(), QStringLiteral("Open error"));
        QCOMPARE(box.title, QStringLiteral("Error Message"));
        QCOMPARE(MainWindowProbe::connectionMode(*m_window), uint32_t(Worker::NoLink));
        QVERIFY(!child("actionConnect")->isChecked() && child("actionConfigure")->isEnabled());

        QTimerEvent tick(MainWindowProbe::timerId(*m_window));
        for (int i = 0; i < 24; ++i) // four steps of the logging indicator, were a link up
            QCoreApplication::sendEvent(m_window.get(), &tick);
        QCOMPARE(status->text(), QStringLiteral("Open error"));
        QCOMPARE(child<QLabel>("label_SerialLed")->pixmap().toImage(), QPixmap(ResourcePaths::OrangeLed).toImage());
        QVERIFY(logging->isChecked());
    }

    // A loss report of a serial link the window has already left for the
    // Ethernet link leaves the Ethernet link as it is.
    void lateSerialLossKeepsTheEthernetLink()
    {
        MainWindowProbe::setConnectionMode(*m_window, Worker::EthernetMode);
        child("actionEthernetConnect")->setChecked(true);
        m_window->enableAllButtonsSlot(true);
        emit worker()->signalSerialPortLost();
        QCOMPARE(MainWindowProbe::connectionMode(*m_window), uint32_t(Worker::EthernetMode));
        QVERIFY(child("actionEthernetConnect")->isChecked());
        QVERIFY(applyButtonsEnabled(true));
    }

    void unconfirmedNoteEndsWithTheLink_data()
    {
        QTest::addColumn<QString>("leave");
        QTest::newRow("disconnect") << "disconnect";
        QTest::newRow("serial connect") << "serial connect";
        QTest::newRow("configure") << "configure";
        QTest::newRow("failed bind") << "failed bind";
    }

    // Settings the unit dropped unconfirmed are noted in every Ethernet status
    // text of the session; each way of leaving the link ends the note, and a
    // late report of the session gone does not bring it back.
    void unconfirmedNoteEndsWithTheLink()
    {
        QFETCH(QString, leave);
        Worker *w = worker();
        auto *status = child<QLabel>("labelEthernetStatus");
        MainWindowProbe::setConnectionMode(*m_window, Worker::EthernetMode);
        child("actionEthernetConnect")->setChecked(true);
        emit w->signalSettingsConfirmed(false);
        emit w->showEthernetStatusMessage(QStringLiteral("Connected"));
        QCOMPARE(status->text(), QStringLiteral("Connected: Settings Not Confirmed"));
        emit w->showEthernetStatusMessage(QStringLiteral("Scaning For IMU"));
        QCOMPARE(status->text(), QStringLiteral("Scaning For IMU: Settings Not Confirmed"));

        if (leave == "disconnect") {
            child("actionEthernetConnect")->trigger();
        } else if (leave == "serial connect") {
            settings().portName.clear();
            m_modal->then(clickBoxButton(QStringLiteral("OK")));
            child("actionConnect")->trigger();
        } else if (leave == "configure") {
            m_modal->then([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
            child("actionConfigure")->trigger();
            QTRY_VERIFY(m_modal->allAnswered());
        } else {
            emit w->showEthernetStatusMessage(QStringLiteral("Disconnected: UDP port 8080 could not be bound: in use"));
            emit w->signalActionsSetChecked(false, Worker::EthernetConnectAction);
        }
        QCOMPARE(MainWindowProbe::connectionMode(*m_window), uint32_t(Worker::NoLink));
        QVERIFY2(!status->text().contains(QStringLiteral("Not Confirmed")), qPrintable(status->text()));
        emit w->signalSettingsConfirmed(false);

        MainWindowProbe::setConnectionMode(*m_window, Worker::EthernetMode);
        emit w->showEthernetStatusMessage(QStringLiteral("Connected"));
        QCOMPARE(status->text(), QStringLiteral("Connected"));
    }

    // A stop answered after the user has already asked again is no failure.
    void quickStopAndStartIsNoFailure()
    {
        settings().fileName = m_storeDir->filePath(QStringLiteral("quick.dat"));
        QAction *action = child("actionDataLogging");
        action->trigger(); // start
        m_window->dataCapturingStatus(true);
        action->trigger(); // stop
        action->trigger(); // start again, before the stop is answered
        m_window->dataCapturingStatus(false);
        QVERIFY(action->isChecked());
        m_window->dataCapturingStatus(true);
        QVERIFY(action->isChecked());
    }
};

QTEST_MAIN(TestMainWindowActions)
#include "tst_mainwindowactions.moc"
