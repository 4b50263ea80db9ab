// The Ethernet connection of the main window: inside a network namespace the
// test makes itself, the action against the real interfaces of that namespace
// (which entries qualify has its rows in the connection rules' own test).

#include "Console.h"
#include "DeviceDouble.h"
#include "DeviceIdentity.h"
#include "DialogAutoDetect.h"
#include "MainWindowFixture.h"
#include "NetNamespace.h"
#include "ReadoutTexts.h"
#include "SettingsDialog.h"
#include "UdpDevice.h"
#include "Worker.h"
#include "WorkerProbe.h"
#include "WorkerTick.h"

#include <QUdpSocket>
#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

namespace {

constexpr int Timeout = 10000;
constexpr int StreamRate = 4000; // bytes per second, a sixth of a 230400-baud line
const QByteArray Tss1Sample(":00A2B4 -0150U 0250 -0375\r\n"); // roll +02.50
constexpr int QuietMs = 10 * WorkerTick::IntervalMs; // long enough to see that nothing happens
constexpr unsigned long BusyMs = 300; // the main thread held, as under load, while the worker goes on
const QByteArray ClosingLine("msg Info : From main : closing SerialPort : ");
const QByteArray DroppedHead("msg Error : Worker : SendIMUsetCommands : ");
const QByteArray WriteHead("msg Info : Worker : serial->write : ");

// The event log's lines that begin with head, without their time stamps.
QByteArrayList eventLogLines(const QByteArray &head)
{
    QFile file(QCoreApplication::applicationDirPath() + QStringLiteral("/errorLogger.txt"));
    QByteArrayList lines;
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith(head))
            lines << line.left(line.lastIndexOf(" @ "));
    }
    return lines;
}

// While it lives, answers the modal windows as they open, in order: a message
// box is accepted, the choice list is handed to onList. Records what each showed.
class EthernetAnswers
{
public:
    explicit EthernetAnswers(ModalAnswers &answers, std::function<void(DialogAutoDetect *)> onList = {})
        : m_answers(answers), m_onList(std::move(onList))
    {
        m_answers.setHandler([this](QWidget *modal) { return answer(modal); });
    }
    ~EthernetAnswers() { m_answers.setHandler({}); }
    EthernetAnswers(const EthernetAnswers &) = delete;
    EthernetAnswers &operator=(const EthernetAnswers &) = delete;

    QStringList shown;

private:
    bool answer(QWidget *modal)
    {
        if (modal == m_last)
            return true;
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            shown << ModalAnswers::describe(box);
            box->accept();
        } else if (auto *list = qobject_cast<DialogAutoDetect *>(modal)) {
            shown << QStringLiteral("list at %1,%2").arg(list->x()).arg(list->y());
            for (int row = 0; row < list->listWidgetComPorts->count(); ++row)
                shown << list->listWidgetComPorts->item(row)->text();
            if (m_onList)
                m_onList(list);
            else
                list->reject();
        } else if (auto *dialog = qobject_cast<SettingsDialog *>(modal)) {
            shown << QStringLiteral("settings");
            dialog->reject();
        } else {
            return false;
        }
        m_last = modal;
        return true;
    }

    ModalAnswers &m_answers;
    std::function<void(DialogAutoDetect *)> m_onList;
    QPointer<QWidget> m_last;
};

QString rowText(const char *address)
{
    return QStringLiteral("Host Address Entry IP:%1 -> Broadcast IP:%2").arg(QLatin1String(address), QLatin1String(NetNamespace::BroadcastAddress));
}

} // namespace

class TestEthernet : public QObject, public MainWindowFixture
{
    Q_OBJECT

public:
    explicit TestEthernet(const QString &refused) : m_refused(refused) {}

private slots:
    // Inside the namespace: v0 and v1 up with one IPv4 entry each, loopback skipped.
    void init()
    {
        if (QByteArray(QTest::currentTestFunction()).startsWith("window") && !m_refused.isEmpty())
            QSKIP(qPrintable("no network namespace for the Ethernet action (" + m_refused + ")"));
        NetNamespace::ip(QStringLiteral("link set v0 up"));
        NetNamespace::ip(QStringLiteral("link set v1 up"));
        openWindow();
        m_window->move(40, 30);
        m_connects = std::make_unique<QSignalSpy>(m_window.get(), &MainWindow::signalEthernetConnectTriggered);
    }
    void cleanup()
    {
        m_connects.reset();
        closeWindow();
    }

    // Two qualifying entries: the list opens at (100, 100) from the window, and
    // a double-click on the second row connects with the second entry.
    void windowTwoInterfacesAskTheUser()
    {
        EthernetAnswers answers(*m_modal, [](DialogAutoDetect *list) {
            list->listWidgetComPorts->setCurrentRow(1);
            emit list->listWidgetComPorts->itemDoubleClicked(list->listWidgetComPorts->item(1));
        });
        action()->trigger();
        QCOMPARE(answers.shown.size(), 3);
        QCOMPARE(answers.shown[0], QStringLiteral("list at 140,130"));
        QCOMPARE(QSet<QString>(answers.shown.begin() + 1, answers.shown.end()),
                 (QSet<QString>{rowText(NetNamespace::HostAddress), rowText(NetNamespace::DeviceAddress)}));
        QCOMPARE(m_connects->size(), 1);
        const QList<QVariant> request = m_connects->first();
        QVERIFY(request[0].toBool());
        QCOMPARE(rowText(qPrintable(request[1].value<QHostAddress>().toString())), answers.shown[2]);
        QCOMPARE(request[2].value<QHostAddress>(), QHostAddress(NetNamespace::BroadcastAddress));
        QVERIFY(action()->isChecked());
        QCOMPARE(MainWindowProbe::connectionMode(*m_window), uint32_t(Worker::EthernetMode));
    }

    // The list closed without a choice: one box, nothing connected, the action unchecked.
    void windowListClosedWithoutChoice()
    {
        EthernetAnswers answers(*m_modal);
        action()->trigger();
        QCOMPARE(answers.shown.size(), 4);
        QCOMPARE(answers.shown.last(), QStringLiteral("Error:  Error Msg 1514, Not valid IP Entry."));
        QCOMPARE(m_connects->size(), 0);
        QVERIFY(!action()->isChecked());
        QCOMPARE(MainWindowProbe::connectionMode(*m_window), uint32_t(Worker::NoLink));
    }

    void windowNoInterface_data()
    {
        QTest::addColumn<bool>("serial");
        QTest::newRow("no link") << false;
        QTest::newRow("serial link with a change not applied") << true;
    }

    // Only loopback up: both boxes, in order, and nothing sent to the worker.
    // A serial link in use stays, with the change typed for it: its Apply
    // still sends it.
    void windowNoInterface()
    {
        QFETCH(bool, serial);
        DeviceDouble unit;
        if (serial) {
            QVERIFY(connectSerial(unit));
            auto *rs232 = child<QComboBox>("RS232BaudRateBox");
            rs232->setCurrentIndex(rs232->findText(QStringLiteral("57600")));
        }
        QVERIFY(NetNamespace::ip(QStringLiteral("link set v0 down")));
        QVERIFY(NetNamespace::ip(QStringLiteral("link set v1 down")));
        EthernetAnswers answers(*m_modal);
        action()->trigger();
        QCOMPARE(answers.shown, (QStringList{"Error: Couldn't detect any network interfaces.",
                                             "Error:  Error Msg 1514, Not valid IP Entry."}));
        QCOMPARE(m_connects->size(), 0);
        QVERIFY(!action()->isChecked());
        if (!serial)
            return;
        QCOMPARE(MainWindowProbe::connectionMode(*m_window), uint32_t(Worker::SerialMode));
        child<QPushButton>("pushButtonApplyChangesIMU")->click();
        QTRY_COMPARE_WITH_TIMEOUT(unit.setLines(), QByteArrayList{"$setbd1#57600"}, Timeout);
    }

    // One interface: no question asked; the worker binds, finds the unit by
    // broadcast and sends the settings datagram of each tab's Apply, each
    // confirmed by the unit; unchecking disconnects.
    void windowOneInterfaceEndToEnd()
    {
        UdpDevice device(QHostAddress(QHostAddress::AnyIPv4), Worker::DefaultDeviceUdpPort);
        QVERIFY(placeUnit(device));
        QObject thisCase; // ends the connections with this case
        QStringList status;
        QObject::connect(MainWindowProbe::worker(*m_window), &Worker::showEthernetStatusMessage, &thisCase,
                         [&status](const QString &text) { status << text; });
        EthernetAnswers answers(*m_modal);
        action()->trigger();
        QVERIFY(answers.shown.isEmpty());
        QCOMPARE(m_connects->size(), 1);
        QCOMPARE(m_connects->first()[1].value<QHostAddress>(), QHostAddress(NetNamespace::HostAddress));
        QCOMPARE(m_connects->first()[2].value<QHostAddress>(), QHostAddress(NetNamespace::BroadcastAddress));

        // Connected, searching, found, rebound: "Connected" a second time.
        QTRY_VERIFY_WITH_TIMEOUT(status.count(QStringLiteral("Connected")) >= 2, Timeout);
        QCOMPARE(device.received().first().senderPort, Worker::DefaultLocalUdpPort);

        const std::function<void()> edits[] = {
            [this] { child<QComboBox>("RS232BaudRateBox")->setCurrentIndex(2); },
            [this] { child<QCheckBox>("checkBoxInvRoll")->setChecked(true); },
            [] {},
        };
        // The compass tab is not part of the form the user sees.
        const char *applies[] = {"pushButtonApplyChangesIMU", "pushButtonApplyChangesIMUOutputSettings",
                                 "pushButtonApplyProtocol"};
        for (int tab = 0; tab < 3; ++tab) {
            m_window->enableAllButtons(true);
            edits[tab]();
            child<QPushButton>(applies[tab])->click();
            QTRY_COMPARE_WITH_TIMEOUT(settingsDatagrams(device).size(), tab + 1, Timeout);
            QCOMPARE(settingsDatagrams(device).last().size(), 68);
        }

        // A new local port: the datagram first, then the rebind, then the search.
        QStringList requests;
        connect(m_window.get(), &MainWindow::signalSendUdpCmdDatagram, &thisCase, [&requests] { requests << "datagram"; });
        connect(m_window.get(), &MainWindow::signalResetUdpSocket, &thisCase,
                [&requests](unsigned short port) { requests << QStringLiteral("reset %1").arg(port); });
        connect(m_window.get(), &MainWindow::signalScanVeltoIMU, &thisCase,
                [&requests](bool scan) { requests << QStringLiteral("scan %1").arg(scan); });
        m_window->enableAllButtons(true);
        child<QLineEdit>("lineEditLocalUdpPort")->setText(QStringLiteral("9000"));
        emit child<QLineEdit>("lineEditLocalUdpPort")->editingFinished();
        child<QPushButton>("pushButtonApplyChangesIMU")->click();
        QCOMPARE(requests, (QStringList{"datagram", "reset 9000", "scan 1"}));
        QTRY_COMPARE_WITH_TIMEOUT(settingsDatagrams(device).size(), 4, Timeout);
        QCOMPARE(qFromBigEndian<quint16>(settingsDatagrams(device).last().constData() + 14), 9000);

        OutputDataType sample;
        sample.field.fill(QStringLiteral("+01.50"));
        m_window->dispalyOutputData(sample, OutputProtocolType());
        QVERIFY(child<QLabel>("labelRoll")->text().endsWith(QStringLiteral("+01.50")));
        MainWindowProbe::markers(*m_window).m_localPortChanged = true; // typed, not applied
        action()->trigger();
        QVERIFY(!MainWindowProbe::markers(*m_window).m_localPortChanged); // not carried into the next session
        QCOMPARE(child<QLabel>("labelRoll")->text(), ReadoutTexts::clearedReadoutTexts().labels[0]);
        QCOMPARE(m_connects->size(), 2);
        QCOMPARE(m_connects->last()[0].toBool(), false);
        QCOMPARE(m_connects->last()[1].value<QHostAddress>(), QHostAddress(QHostAddress::Any));
        QCOMPARE(m_connects->last()[2].value<QHostAddress>(), QHostAddress(QHostAddress::Broadcast));
        QCOMPARE(child<QLabel>("labelEthernetStatus")->text(), QStringLiteral("Disconnected"));
        QVERIFY(!child<QPushButton>("pushButtonApplyChangesIMU")->isEnabled());
        QCOMPARE(MainWindowProbe::connectionMode(*m_window), uint32_t(Worker::NoLink));
        QTRY_VERIFY_WITH_TIMEOUT(status.contains(QStringLiteral("Disconnected")), Timeout);
    }

    void windowInterfaceApply_data()
    {
        QTest::addColumn<uint>("unitFlags");
        QTest::addColumn<int>("automaticClicks"); // a box the report ticked is clicked off and on again
        QTest::addColumn<QByteArray>("portsAndAddress"); // bytes 12 to 19 of the settings datagram
        QTest::newRow("local port confirmed, then emptied") << 0x21u << 0 << QByteArray("1f981f900a4d0001");
        QTest::newRow("automatic, unit not yet automatic") << 0x21u << 1 << QByteArray("1f981f9000000000");
        QTest::newRow("automatic, unit already automatic") << 0x31u << 2 << QByteArray("1f981f900a4d0001");
    }

    // The interface Apply against the unit found on the link: an emptied local
    // port goes out as the unit reported it and leaves the socket where it is;
    // Automatic sends zeros as the device address only to a unit whose
    // reported flags lack automatic addressing.
    void windowInterfaceApply()
    {
        QFETCH(uint, unitFlags);
        QFETCH(int, automaticClicks);
        UdpDevice device(QHostAddress(QHostAddress::AnyIPv4), Worker::DefaultDeviceUdpPort);
        QVERIFY(placeUnit(device));
        device.record.flags = unitFlags;
        QObject context;
        QStringList status;
        connect(MainWindowProbe::worker(*m_window), &Worker::showEthernetStatusMessage, &context,
                [&status](const QString &text) { status << text; });
        QSignalSpy resets(m_window.get(), &MainWindow::signalResetUdpSocket);
        EthernetAnswers answers(*m_modal);
        action()->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(status.count(QStringLiteral("Connected")) >= 2, Timeout);
        auto *automatic = child<QRadioButton>("radioButtonDynamicIP");
        QTRY_VERIFY_WITH_TIMEOUT(automatic->isEnabled(), Timeout); // the unit's flags have reached the window

        if (automaticClicks == 0) {
            auto *port = child<QLineEdit>("lineEditLocalUdpPort");
            port->selectAll();
            QTest::keyClicks(port, QStringLiteral("9001"));
            QTest::keyClick(port, Qt::Key_Return);
            port->selectAll();
            QTest::keyClick(port, Qt::Key_Delete);
            child<QComboBox>("RS232BaudRateBox")->setCurrentIndex(2);
        }
        for (int click = 0; click < automaticClicks; ++click)
            automatic->click();
        QCOMPARE(automatic->isChecked(), automaticClicks > 0);
        m_window->enableAllButtons(true);
        device.clear();
        child<QPushButton>("pushButtonApplyChangesIMU")->click();
        QTRY_COMPARE_WITH_TIMEOUT(settingsDatagrams(device).size(), 1, Timeout);
        QTEST(settingsDatagrams(device).first().mid(12, 8).toHex(), "portsAndAddress");
        QCOMPARE(device.received().first().senderPort, Worker::DefaultLocalUdpPort);
        QCOMPARE(resets.size(), 0);
    }

    // Connect Ethernet from a serial link to a unit with a part number: the
    // Ethernet session starts with no identity and the Apply buttons off until
    // its unit answers. That unit, of a model the table does not know and
    // without a part number, is shown as it is, and its model closes none of
    // the Ethernet features: the action still leaves the link.
    void windowEthernetUnitOfItsOwn()
    {
        UdpDevice device(QHostAddress(QHostAddress::AnyIPv4), Worker::DefaultDeviceUdpPort);
        QVERIFY(placeUnit(device));
        device.record.hardwareId = 7;
        device.record.partNumberBlock = false;
        device.answering = false;
        DeviceDouble unit;
        QVERIFY(connectSerial(unit));
        QVERIFY(factoryInfo().contains(QStringLiteral("VRN12345")));
        EthernetAnswers answers(*m_modal);
        action()->trigger();
        QCOMPARE(factoryInfo(), DeviceIdentity::factoryInfoText(DeviceIdentity::startupIdentity()));
        QTRY_VERIFY_WITH_TIMEOUT(!device.received().isEmpty(), Timeout); // searched, unanswered
        QVERIFY(!child<QPushButton>("pushButtonApplyChangesIMU")->isEnabled());

        device.answering = true;
        QTRY_VERIFY_WITH_TIMEOUT(child<QPushButton>("pushButtonApplyChangesIMU")->isEnabled(), Timeout);
        FactorySettingsT identity = DeviceIdentity::startupIdentity();
        identity.serialNumber = QStringLiteral("72023142");
        identity.fwVersion = QStringLiteral("1.2.3");
        QCOMPARE(factoryInfo(), DeviceIdentity::factoryInfoText(identity));
        QVERIFY(action()->isEnabled() && child<QWidget>("groupBoxEthernet")->isEnabled());
        action()->trigger();
        QCOMPARE(MainWindowProbe::connectionMode(*m_window), uint32_t(Worker::NoLink));
        QVERIFY(action()->isEnabled() && !action()->isChecked());
        QVERIFY(answers.shown.isEmpty());
    }

    // An Apply the unit does not confirm: once the worker drops it (its resends
    // and give-up have their own test), the status strip says so, also once the
    // unit is found again, until an Apply is confirmed.
    void windowUnconfirmedApplyShown()
    {
        UdpDevice device(QHostAddress(QHostAddress::AnyIPv4), Worker::DefaultDeviceUdpPort);
        QVERIFY(placeUnit(device));
        device.confirming = false;
        EthernetAnswers answers(*m_modal);
        action()->trigger();
        auto *status = child<QLabel>("labelEthernetStatus");
        auto *apply = child<QPushButton>("pushButtonApplyChangesIMU");
        QTRY_VERIFY_WITH_TIMEOUT(apply->isEnabled(), Timeout);
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("Connected"), Timeout);

        auto *baudRates = child<QComboBox>("RS232BaudRateBox");
        baudRates->setCurrentIndex(2);
        apply->click();
        QTRY_COMPARE_WITH_TIMEOUT(settingsDatagrams(device).size(), 1, Timeout);
        emit MainWindowProbe::worker(*m_window)->signalSettingsConfirmed(false);
        QCOMPARE(status->text(), QStringLiteral("Connected: Settings Not Confirmed"));
        emit MainWindowProbe::worker(*m_window)->showEthernetStatusMessage(QStringLiteral("Connected"));
        QCOMPARE(status->text(), QStringLiteral("Connected: Settings Not Confirmed"));

        device.confirming = true;
        m_window->enableAllButtons(true);
        baudRates->setCurrentIndex(3);
        apply->click();
        QTRY_COMPARE_WITH_TIMEOUT(settingsDatagrams(device).size(), 2, Timeout);
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("Connected"), Timeout);
    }

    // A local port already taken: the worker says so, with the port, and asks
    // for the action to uncheck.
    void windowBindFailureReported()
    {
        QVERIFY(NetNamespace::ip(QStringLiteral("link set v1 down")));
        QUdpSocket blocker;
        QVERIFY(blocker.bind(QHostAddress(QHostAddress::AnyIPv4), Worker::DefaultLocalUdpPort, QAbstractSocket::DontShareAddress));
        QObject thisCase; // ends the connections with this case
        QStringList reports;
        Worker *worker = MainWindowProbe::worker(*m_window);
        QObject::connect(worker, &Worker::showEthernetStatusMessage, &thisCase, [&reports](const QString &text) { reports << text; });
        QObject::connect(worker, &Worker::signalActionsSetChecked, &thisCase,
                         [&reports](bool checked, int mask) { reports << QStringLiteral("checked %1 %2").arg(checked).arg(mask); });
        EthernetAnswers answers(*m_modal);
        action()->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(reports.contains(QStringLiteral("checked 0 8")), Timeout);
        QVERIFY(reports.filter(QStringLiteral("Disconnected: UDP port 8080 could not be bound")).size() == 1);
        QVERIFY(!reports.contains(QStringLiteral("Connected")));
        // The window without the link keeps the reason in the Ethernet status.
        QTRY_VERIFY_WITH_TIMEOUT(!action()->isChecked(), Timeout);
        QCOMPARE(MainWindowProbe::connectionMode(*m_window), uint32_t(Worker::NoLink));
        const QString status = child<QLabel>("labelEthernetStatus")->text();
        QVERIFY2(status.startsWith(QStringLiteral("Disconnected: UDP port 8080 could not be bound: ")), qPrintable(status));
    }

    void windowSerialSideEndsTheSession_data()
    {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("Connect without a port name") << "no port" << QStringList{"Error: No Valid Port Name detected!."};
        QTest::newRow("Connect that opens") << "opens" << QStringList();
        QTest::newRow("Configure") << "configure" << QStringList{"settings"};
    }

    // The serial side leaves the Ethernet link as the Ethernet action's own
    // Disconnect does: the worker's session ends with its socket unbound, and
    // "Disconnected" is its last Ethernet text.
    void windowSerialSideEndsTheSession()
    {
        QFETCH(QString, serial);
        QFETCH(QStringList, shown);
        const bool opens = serial == QStringLiteral("opens");
        UdpDevice device(QHostAddress(QHostAddress::AnyIPv4), Worker::DefaultDeviceUdpPort);
        QVERIFY(placeUnit(device));
        Worker *worker = MainWindowProbe::worker(*m_window);
        QObject thisCase; // ends the connections with this case
        QStringList status;
        QObject::connect(worker, &Worker::showEthernetStatusMessage, &thisCase, [&status](const QString &text) { status << text; });
        EthernetAnswers answers(*m_modal);
        action()->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(status.count(QStringLiteral("Connected")) >= 2, Timeout);

        DeviceDouble unit;
        MainWindowProbe::choosePort(*m_window, opens ? unit.portName() : QString());
        QSignalSpy openRequests(m_window.get(), &MainWindow::signalOpenSerialPort);
        child<QAction>(serial == QStringLiteral("configure") ? "actionConfigure" : "actionConnect")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(status.last(), QStringLiteral("Disconnected"), Timeout);
        QTRY_COMPARE_WITH_TIMEOUT(answers.shown, shown, Timeout);
        QCOMPARE(openRequests.size(), opens ? 1 : 0);
        QCOMPARE(m_connects->size(), 2); // told once
        QCOMPARE(m_connects->last()[0].toBool(), false);
        bool bound = true;
        uint32_t mode = Worker::EthernetMode;
        QMetaObject::invokeMethod(worker, [&] {
            bound = WorkerProbe::udpBound(*worker);
            mode = WorkerProbe::interfaceMode(*worker);
        }, Qt::BlockingQueuedConnection);
        QVERIFY(!bound);
        QCOMPARE(mode, uint32_t(opens ? Worker::SerialMode : Worker::NoLink));
        QVERIFY(!action()->isChecked());
        QCOMPARE(child<QLabel>("labelEthernetStatus")->text(), QStringLiteral("Disconnected"));
        if (opens) {
            child<QAction>("actionConnect")->trigger(); // the serial Disconnect has no Ethernet link to leave
            QCOMPARE(m_connects->size(), 2);
        }
    }

    // Connect Ethernet from a serial link whose unit streams, the main thread
    // busy a moment before the click, as under load: the samples the worker
    // queued meanwhile reach no read-out. Once the interface is chosen, the
    // window leaves the serial link as its Disconnect does, the port's closing
    // in the event log; the worker then reports the serial link "Disconnected"
    // and searches the one interface for a unit that is not there.
    void windowEthernetConnectLeavesTheSerialLink()
    {
        QVERIFY(NetNamespace::ip(QStringLiteral("link set v1 down")));
        DeviceDouble unit;
        QVERIFY(connectSerial(unit));
        unit.startStreaming([] { return Tss1Sample; }, StreamRate);
        auto *roll = child<QLabel>("labelRoll");
        QTRY_COMPARE_WITH_TIMEOUT(roll->text(), QStringLiteral("Roll  : +02.50"), Timeout);
        QObject thisCase; // ends the connections with this case
        QStringList serialStatus, ethernetStatus;
        Worker *worker = MainWindowProbe::worker(*m_window);
        connect(worker, &Worker::showStatusMessage, &thisCase, [&serialStatus](const QString &text) { serialStatus << text; });
        connect(worker, &Worker::showEthernetStatusMessage, &thisCase,
                [&ethernetStatus](const QString &text) { ethernetStatus << text; });
        EthernetAnswers answers(*m_modal);

        QThread::msleep(BusyMs);
        action()->trigger();
        QCOMPARE(m_connects->size(), 1);
        QVERIFY(m_connects->last()[0].toBool());
        QVERIFY(!MainWindowProbe::console(*m_window)->isEnabled());
        QVERIFY(!child<QAction>("actionConnect")->isChecked() && child<QAction>("actionConfigure")->isEnabled());
        QVERIFY(!child<QPushButton>("pushButtonApplyChangesIMU")->isEnabled());
        QCOMPARE(MainWindowProbe::connectionMode(*m_window), uint32_t(Worker::EthernetMode));
        QCOMPARE(eventLogLines(ClosingLine), QByteArrayList{ClosingLine + unit.portName().toLatin1()});

        QTRY_VERIFY_WITH_TIMEOUT(serialStatus.contains(QStringLiteral("Disconnected"))
                                     && ethernetStatus.contains(QStringLiteral("Scaning For IMU")),
                                 Timeout);
        QVERIFY(answers.shown.isEmpty());
        const ReadoutTexts::Readouts cleared = ReadoutTexts::clearedReadoutTexts();
        const auto labels = MainWindowProbe::readoutLabels(*m_window);
        for (size_t i = 0; i < labels.size(); ++i)
            QCOMPARE(labels[i]->text(), cleared.labels[i]);
        QCOMPARE(child<QLCDNumber>("lcdNumberHeave")->value(), 88.88);
    }

    void windowLeftSerialLinkSendsNoSettings_data()
    {
        QTest::addColumn<QString>("leave");
        QTest::addColumn<bool>("halted");
        QTest::newRow("Disconnect") << "actionConnect" << false;
        QTest::newRow("Disconnect while halted") << "actionConnect" << true;
        QTest::newRow("Connect Ethernet") << "actionEthernetConnect" << false;
        QTest::newRow("Connect Ethernet while halted") << "actionEthernetConnect" << true;
    }

    // Three baud rates applied, then the serial link left at once, or while
    // Halt holds them back: the port's closing is logged once, what had not gone
    // out when the worker closed the port is named in the event log as
    // dropped, and the next session on the port, Halt released in it, sends
    // no "$set" line nobody applied in it. How many lines go out before the
    // close is the machine's affair: a loaded one may send them all.
    void windowLeftSerialLinkSendsNoSettings()
    {
        QFETCH(QString, leave);
        QFETCH(bool, halted);
        QVERIFY(NetNamespace::ip(QStringLiteral("link set v1 down")));
        DeviceDouble unit;
        QVERIFY(connectSerial(unit));
        QObject thisCase; // ends the connection with this case
        bool portClosed = false;
        connect(MainWindowProbe::worker(*m_window), &Worker::showStatusMessage, &thisCase,
                [&portClosed](const QString &text) { portClosed = portClosed || text == QStringLiteral("Disconnected"); });
        auto *halt = child<QAction>("actionHaltSerialPort");
        if (halted)
            halt->trigger();
        const std::pair<const char *, QByteArray> rates[] = {
            {"RS232BaudRateBox", "$setbd1#57600"}, {"RS422BaudRateBox", "$setbd2#19200"},
            {"GPSRS232BaudRateBox", "$setbd3#38400"}};
        QByteArrayList applied;
        for (const auto &[name, line] : rates) {
            auto *box = child<QComboBox>(name);
            box->setCurrentIndex(box->findText(QString::fromLatin1(line.mid(line.indexOf('#') + 1))));
            applied << line;
        }
        child<QPushButton>("pushButtonApplyChangesIMU")->click();
        if (halted)
            QTest::qWait(QuietMs);
        EthernetAnswers answers(*m_modal);
        child<QAction>(qPrintable(leave))->trigger();
        // The worker names what it drops before it reports the port closed.
        QTRY_VERIFY_WITH_TIMEOUT(portClosed, Timeout);
        QCOMPARE(eventLogLines(ClosingLine), QByteArrayList{ClosingLine + unit.portName().toLatin1()});
        QByteArrayList written;
        for (const QByteArray &line : eventLogLines(WriteHead + "$set"))
            written << line.mid(WriteHead.size());
        QCOMPARE(written, applied.mid(0, written.size()));
        QVERIFY(!halted || written.isEmpty());
        QByteArrayList dropped;
        for (const QByteArray &line : applied.mid(written.size()))
            dropped << line.left(line.indexOf('#') + 1);
        const QByteArrayList named{DroppedHead + dropped.join(", ")
                                   + " not sent to the IMU when the port was closed, settings dropped"};
        QCOMPARE(eventLogLines(DroppedHead), dropped.isEmpty() ? QByteArrayList() : named);

        // A halted session reads its unit once Halt is released.
        QVERIFY(connectSerial(unit, halted ? halt : nullptr));
        QTest::qWait(QuietMs);
        QCOMPARE(unit.setLines(), written);
        QVERIFY(answers.shown.isEmpty());
    }

    // A worker request taken while the interface list is open finds no
    // Ethernet link in use: the link is not yet connected, so nothing is left
    // and the Connect that follows the choice stands, action and link as one.
    void windowWorkerRequestWhileTheListIsOpen()
    {
        Worker *worker = MainWindowProbe::worker(*m_window);
        QStringList shown;
        QDeadlineTimer requestDue;
        m_modal->setHandler([&](QWidget *modal) {
            if (auto *dialog = qobject_cast<SettingsDialog *>(modal)) {
                shown << QStringLiteral("settings");
                dialog->reject();
            } else if (auto *list = qobject_cast<DialogAutoDetect *>(modal)) {
                if (shown.isEmpty()) {
                    shown << QStringLiteral("list");
                    requestDue.setRemainingTime(Timeout);
                    QMetaObject::invokeMethod(worker, &Worker::refreshSerialPort); // as Configure asks
                } else if (shown.last() == QStringLiteral("settings")) {
                    shown << QStringLiteral("chosen");
                    emit list->listWidgetComPorts->itemDoubleClicked(list->listWidgetComPorts->item(0));
                } else if (requestDue.hasExpired()) {
                    shown << QStringLiteral("no request in time");
                    list->reject();
                }
            } else {
                return false;
            }
            return true;
        });
        action()->trigger();
        m_modal->setHandler({});
        QCOMPARE(shown, (QStringList{"list", "settings", "chosen"}));
        QCOMPARE(m_connects->size(), 1);
        QVERIFY(m_connects->first()[0].toBool());
        QVERIFY(action()->isChecked());
        QCOMPARE(MainWindowProbe::connectionMode(*m_window), uint32_t(Worker::EthernetMode));
    }

private:
    // Connects the serial link to the unit through the tool bar, then releases
    // Halt when halt is given; true once the read-out of its settings is through.
    bool connectSerial(DeviceDouble &unit, QAction *halt = nullptr)
    {
        MainWindowProbe::choosePort(*m_window, unit.portName());
        child<QAction>("actionConnect")->trigger();
        if (halt)
            halt->trigger();
        return QTest::qWaitFor([this] { return child<QPushButton>("pushButtonApplyChangesIMU")->isEnabled(); },
                               Timeout);
    }

    // The one interface left up, and the unit on it at 10.77.0.1: a model with
    // Ethernet, whose identity keeps the action enabled.
    static bool placeUnit(UdpDevice &device)
    {
        device.record.address = {10, 77, 0, 1};
        device.record.hardwareId = 31;
        return NetNamespace::ip(QStringLiteral("link set v1 down")) && device.isBound();
    }

    QAction *action() const { return m_window->findChild<QAction *>(QStringLiteral("actionEthernetConnect")); }
    static QList<QByteArray> settingsDatagrams(const UdpDevice &device)
    {
        QList<QByteArray> found;
        for (const UdpDevice::Received &datagram : device.received()) {
            if (datagram.bytes.startsWith("$QUORVX#") && !datagram.bytes.startsWith("READ"))
                found << datagram.bytes;
        }
        return found;
    }

    QString m_refused;
    std::unique_ptr<QSignalSpy> m_connects;
};

int main(int argc, char **argv)
{
    const QString refused = NetNamespace::enter();
    QApplication app(argc, argv);
    TestEthernet test(refused);
    return NetNamespace::finish(QTest::qExec(&test, argc, argv), refused);
}

#include "tst_ethernet.moc"
