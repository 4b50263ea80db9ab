#include "EthernetSettingsDatagram.h"
#include "MainWindowFixture.h"
#include "PtyDevice.h"
#include "Worker.h"

#include <QUdpSocket>
#include <QtTest>
#include <QtWidgets>

#include <memory>

namespace {

const ImuSettingsType InitialUserSettings = UserSettings;

// Every signal the panel sends to the worker, as one ordered list of texts.
class Recorder : public QObject
{
public:
    explicit Recorder(MainWindow &window)
    {
        connect(&window, &MainWindow::signalSendIMUsettingsFlag, this, [this](int mask, int tab, const QString &values) {
            events << QStringLiteral("values %1 %2 %3").arg(mask, 0, 16).arg(tab).arg(values);
        });
        connect(&window, &MainWindow::signalResetUdpSocket, this,
                [this](unsigned short port) { events << QStringLiteral("reset %1").arg(port); });
        connect(&window, &MainWindow::signalScanVeltoIMU, this,
                [this](bool scan) { events << QStringLiteral("scan %1").arg(scan); });
        connect(&window, &MainWindow::signalSendUdpCmdDatagram, this,
                [this](const QString &address, const QByteArray &datagram, unsigned int type) {
                    events << QStringLiteral("datagram %1 %2").arg(address).arg(type);
                    datagrams << datagram;
                });
        connect(&window, &MainWindow::signalSetProtocolFormat, this,
                [this](std::array<uint8_t, 4> format, const QString &header, uint8_t slot) {
                    events << QStringLiteral("format %1.%2.%3.%4 '%5' %6")
                                  .arg(format[0]).arg(format[1]).arg(format[2]).arg(format[3]).arg(header).arg(slot);
                });
    }

    QStringList events;
    QList<QByteArray> datagrams;
};

} // namespace

class TestSettingsPanel : public QObject, public MainWindowFixture
{
    Q_OBJECT

    std::unique_ptr<Recorder> m_recorder;

    QStringList &events() { return m_recorder->events; }
    SettingsMarkers &markers() { return MainWindowProbe::markers(*m_window); }
    void click(const char *button) { child<QPushButton>(button)->click(); }
    QComboBox *choice() const { return child<QComboBox>("ComboBoxHeader"); }
    void setLink(uint32_t mode) { MainWindowProbe::setConnectionMode(*m_window, mode); }

    // Types text into an edit as the user would, replacing what it held.
    void type(const char *edit, const QString &text, bool andReturn = false)
    {
        auto *lineEdit = child<QLineEdit>(edit);
        lineEdit->selectAll();
        QTest::keyClick(lineEdit, Qt::Key_Delete);
        QTest::keyClicks(lineEdit, text);
        if (andReturn)
            QTest::keyClick(lineEdit, Qt::Key_Return);
    }

    QStringList octets(const char *prefix) const
    {
        QStringList texts;
        for (int i = 0; i < 4; ++i)
            texts << child<QLineEdit>(qPrintable(QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(i)))->text();
        return texts;
    }

    void setOctets(const char *prefix, const QStringList &texts)
    {
        for (int i = 0; i < 4; ++i)
            child<QLineEdit>(qPrintable(QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(i)))->setText(texts.at(i));
    }

    QList<QCheckBox *> fieldBoxes() const { return MainWindowProbe::fieldBoxes(*m_window); }

    // Ticked field boxes as a 13-character pattern, roll first.
    QString tickedBoxes() const
    {
        QString pattern;
        for (QCheckBox *box : fieldBoxes())
            pattern += box->isChecked() ? QLatin1Char('x') : QLatin1Char('.');
        return pattern;
    }

    void report(const QByteArray &format, uint8_t slot = 0)
    {
        OutputProtocolType record;
        std::copy(format.begin(), format.end(), record.format.begin());
        m_window->ProcessProtocolParameters(record, slot);
    }

private slots:
    void init()
    {
        m_recorder.reset();
        closeWindow();
        openWindow();
        m_recorder = std::make_unique<Recorder>(*m_window);
        setLink(Worker::SerialMode);
        m_window->enableAllButtons(true); // as after a finished settings read-out
        child("tabHeading")->setEnabled(true); // as for a model with a compass
        // Addresses as a device reports them.
        setOctets("lineEditIMUIP4_", {"192", "168", "0", "100"});
        setOctets("lineEditDstIP4_", {"192", "168", "0", "120"});
    }

    void cleanupTestCase()
    {
        m_recorder.reset();
        closeWindow();
    }

    // The protocol tab starts with nothing to tick and an empty header; filling the boxes marked nothing.
    void primedProtocolTab()
    {
        for (QCheckBox *box : fieldBoxes())
            QVERIFY2(!box->isChecked() && !box->isEnabled(), qPrintable(box->objectName()));
        QCOMPARE(choice()->currentIndex(), 0);
        QVERIFY(choice()->isEditable() && choice()->currentText().isEmpty());
        const SettingsMarkers &primed = markers();
        QVERIFY(!primed.m_rs232BaudChanged && !primed.m_rs422BaudChanged && !primed.m_gps232BaudChanged
                && !primed.m_frequencyChanged);
    }

    void interfaceApply_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QStringList>("expected");
        const QString values = QStringLiteral("values %1 0 %2;0;%3;%4;%5");
        const QString unknown = QStringLiteral("unknown;unknown;unknown"), addresses("192.168.0.100;192.168.0.120");
        QTest::newRow("nothing changed") << "" << QStringList{"scan 0"};
        QTest::newRow("local port") << "local port"
                                    << QStringList{values.arg("20", unknown, "0", addresses, "8088;9000"), "reset 9000", "scan 1"};
        QTest::newRow("device port") << "device port"
                                     << QStringList{values.arg("10", unknown, "0", addresses, "9001;8080"), "scan 1"};
        QTest::newRow("RS-232 baud") << "baud 0"
                                     << QStringList{values.arg("4000", "9600;unknown;unknown", "0", addresses, "8088;8080"), "scan 0"};
        QTest::newRow("RS-422 baud") << "baud 1"
                                     << QStringList{values.arg("8000", "unknown;9600;unknown", "0", addresses, "8088;8080"), "scan 0"};
        QTest::newRow("GPS baud") << "baud 2"
                                  << QStringList{values.arg("10000", "unknown;unknown;9600", "0", addresses, "8088;8080"), "scan 0"};
        QTest::newRow("Automatic") << "automatic"
                                   << QStringList{values.arg("40", unknown, "1", "0.0.0.0;192.168.0.120", "8088;8080"), "scan 1"};
        QTest::newRow("destination, leading zeros")
            << "destination" << QStringList{values.arg("80", unknown, "0", "192.168.0.100;192.168.1.10", "8088;8080"), "scan 1"};
    }

    // Apply sends the tab's values with the mask of what changed, then re-binds, then switches scanning.
    void interfaceApply()
    {
        QFETCH(QString, edit);
        QFETCH(QStringList, expected);
        if (edit == "local port")
            type("lineEditLocalUdpPort", QStringLiteral("9000"), true);
        else if (edit == "device port")
            type("lineEditIMUUdpPort", QStringLiteral("9001"), true);
        else if (edit.startsWith("baud")) {
            const char *boxes[] = {"RS232BaudRateBox", "RS422BaudRateBox", "GPSRS232BaudRateBox"};
            child<QComboBox>(boxes[edit.right(1).toInt()])->setCurrentIndex(1);
        } else if (edit == "automatic") {
            child<QRadioButton>("radioButtonDynamicIP")->setEnabled(true);
            child<QRadioButton>("radioButtonDynamicIP")->click();
        } else if (edit == "destination") {
            for (const auto &[name, text] : {std::pair{"lineEditDstIP4_0", "192"}, {"lineEditDstIP4_1", "168"},
                                             {"lineEditDstIP4_2", "001"}, {"lineEditDstIP4_3", "010"}})
                type(name, QLatin1String(text));
        }
        click("pushButtonApplyChangesIMU");
        QCOMPARE(events(), expected);
        QCOMPARE(child<QPushButton>("pushButtonApplyProtocol")->isEnabled(), expected.size() == 1);
        // The markers were taken: a second Apply finds nothing.
        m_window->enableAllButtons(true);
        events().clear();
        click("pushButtonApplyChangesIMU");
        QCOMPARE(events(), QStringList{"scan 0"});
    }

    // On the Ethernet link the datagram takes the values' place, before the re-bind.
    void interfaceApplyOnEthernet()
    {
        setLink(Worker::EthernetMode);
        setOctets("lineEditIMUIP4_", {"192", "168", "000", "100"});
        type("lineEditLocalUdpPort", QStringLiteral("9000"), true);
        click("pushButtonApplyChangesIMU");
        QCOMPARE(events(), (QStringList{"datagram 192.168.0.100 0", "reset 9000", "scan 1"}));
        QCOMPARE(m_recorder->datagrams.first().mid(12, 4).toHex(), QByteArray("1f982328"));
    }

    void portCheck_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("above 65535") << "70000";
        QTest::newRow("plus sign") << "+5";
        QTest::newRow("leading blank") << " 5";
        QTest::newRow("letter") << "5a";
    }

    // Whatever the validator lets through or a program sets that is no port
    // is caught at the end of editing (the edit keeps at most five characters).
    void portCheck()
    {
        QFETCH(QString, text);
        BoxCloser closer(*m_modal);
        auto *port = child<QLineEdit>("lineEditIMUUdpPort");
        port->setText(text);
        QMetaObject::invokeMethod(port, "editingFinished");
        QTRY_COMPARE(closer.boxes, QStringList{"Error: Wrong Port Number!"});
        QVERIFY(port->text().isEmpty());
        QVERIFY(!markers().m_imuPortChanged);
        click("pushButtonApplyChangesIMU");
        QCOMPARE(events(), QStringList{"scan 0"});
    }

    void portCheckPasses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reset"); // the port the socket is re-bound to; empty: none
        QTest::newRow("8080") << "8080" << "reset 8080";
        QTest::newRow("highest") << "65535" << "reset 65535";
        QTest::newRow("0: the system chooses") << "0" << "reset 0";
        QTest::newRow("leading zero is decimal") << "010" << "reset 10";
        QTest::newRow("emptied: left out") << "" << "";
    }

    // A port passes the check unchanged and without a word; an emptied edit
    // passes too, and the Apply then neither sends it nor re-binds the socket.
    void portCheckPasses()
    {
        QFETCH(QString, text);
        QFETCH(QString, reset);
        BoxCloser closer(*m_modal);
        setLink(Worker::EthernetMode);
        auto *port = child<QLineEdit>("lineEditLocalUdpPort");
        port->setText(text);
        QMetaObject::invokeMethod(port, "editingFinished");
        QCOMPARE(port->text(), text);
        QVERIFY(markers().m_localPortChanged);
        click("pushButtonApplyChangesIMU");
        QCOMPARE(events().filter(QStringLiteral("reset")), reset.isEmpty() ? QStringList() : QStringList{reset});
        QCOMPARE(closer.boxes, QStringList());
    }

    void portTypedAboveRange_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("refused");
        QTest::newRow("device port 70000") << "lineEditIMUUdpPort" << "70000" << "70000" << true;
        QTest::newRow("local port 99999") << "lineEditLocalUdpPort" << "99999" << "99999" << true;
        QTest::newRow("six digits") << "lineEditLocalUdpPort" << "700001" << "70000" << true;
        QTest::newRow("local port 65535") << "lineEditLocalUdpPort" << "65535" << "65535" << false;
    }

    // Every keystroke of a port above 65535 shows; Return then empties the edit with the message.
    void portTypedAboveRange()
    {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        BoxCloser closer(*m_modal);
        type(qPrintable(edit), typed);
        QTEST(child<QLineEdit>(qPrintable(edit))->text(), "shown");
        QTest::keyClick(child<QLineEdit>(qPrintable(edit)), Qt::Key_Return);
        QTRY_COMPARE(closer.boxes, refused ? QStringList{"Error: Wrong Port Number!"} : QStringList());
        QCOMPARE(child<QLineEdit>(qPrintable(edit))->text().isEmpty(), refused);
        const bool marked = edit == "lineEditIMUUdpPort" ? markers().m_imuPortChanged : markers().m_localPortChanged;
        QCOMPARE(marked, !refused);
    }

    void editsRefuseOutOfRange_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("octet 256") << "lineEditDstIP4_1" << "256" << "25";
        QTest::newRow("octet 255") << "lineEditDstIP4_2" << "255" << "255";
        QTest::newRow("port 99999") << "lineEditLocalUdpPort" << "99999" << "99999";
        QTest::newRow("port 65535") << "lineEditIMUUdpPort" << "65535" << "65535";
        QTest::newRow("comma in a port") << "lineEditLocalUdpPort" << "80,81" << "8081";
        QTest::newRow("plus empties") << "lineEditDstIP4_0" << "12+" << "";
        QTest::newRow("letters refused") << "lineEditIMUUdpPort" << "8a0" << "80";
    }

    void editsRefuseOutOfRange()
    {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        type(qPrintable(edit), typed);
        QTEST(child<QLineEdit>(qPrintable(edit))->text(), "shown");
        QCOMPARE(markers().m_dstAddressChanged, edit.startsWith("lineEditDst"));
    }

    // Changed addresses that are no addresses are held back with a message.
    void badAddressesAreNotSent()
    {
        BoxCloser closer(*m_modal);
        setOctets("lineEditDstIP4_", {"192", "168", "", "7"});
        markers().m_dstAddressChanged = true;
        child<QComboBox>("RS232BaudRateBox")->setCurrentIndex(0);
        click("pushButtonApplyChangesIMU");
        QCOMPARE(closer.boxes, QStringList{"Error: Wrong Destination IP Address 192.168..7!"});
        QCOMPARE(events(), (QStringList{"values 4000 0 4800;unknown;unknown;0;0;192.168.0.100;192.168..7;8088;8080", "scan 0"}));

        events().clear();
        closer.boxes.clear();
        setOctets("lineEditIMUIP4_", {"10", "0", "0", ""});
        markers().m_imuAddressChanged = true;
        markers().m_dstAddressChanged = false;
        m_window->enableAllButtons(true);
        click("pushButtonApplyChangesIMU");
        QCOMPARE(closer.boxes, QStringList{"Error: Wrong Device IP Address 10.0.0.!"});
        QCOMPARE(events(), QStringList{"scan 0"});
    }

    // "custom" opens the box for a number of the user's own.
    void customFrequency()
    {
        auto *box = child<QComboBox>("IMUfreqBox");
        box->setCurrentIndex(9);
        QVERIFY(markers().m_frequencyChanged);
        box->setCurrentIndex(0);
        QVERIFY(box->isEditable());
        QCOMPARE(box->currentText(), QString());
        QVERIFY(!markers().m_frequencyChanged);
        QTest::keyClicks(box->lineEdit(), QStringLiteral("600"));
        QCOMPARE(box->currentText(), QString()); // above 500: wiped
        QTest::keyClicks(box->lineEdit(), QStringLiteral("300"));
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QCOMPARE(box->currentText(), QStringLiteral("300"));
        QCOMPARE(box->itemText(box->currentIndex()), QStringLiteral("300"));
        QVERIFY(markers().m_frequencyChanged);
        click("pushButtonApplyChangesIMUOutputSettings");
        QCOMPARE(events(), QStringList{"values 1 1 0;0.00;0.00;0.00;300"});
    }

    void frequencyReports_data()
    {
        QTest::addColumn<QString>("reported");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("count");
        QTest::newRow("listed") << "50" << "50" << 10;
        QTest::newRow("not a number") << "fast" << "" << 10;
        QTest::newRow("unlisted 200") << "200" << "200" << 11;
    }

    void frequencyReports()
    {
        QFETCH(QString, reported);
        QFETCH(int, count);
        auto *box = child<QComboBox>("IMUfreqBox");
        m_window->m_uiIMUfreqBoxSetIndex(reported);
        QTEST(box->currentText(), "shown");
        QCOMPARE(box->count(), count);
        if (count == 11)
            QCOMPARE(box->currentData().toInt(), 200);
    }

    void baudRateReports_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QByteArray>("rate");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<uint>("mask");
        QTest::newRow("9600 on RS-232") << 0 << QByteArray("9600") << QStringList{"9600", "unknown", "unknown"} << 0x4000u;
        QTest::newRow("unlisted rate") << 0 << QByteArray("1234") << QStringList{"unknown", "unknown", "unknown"} << 0u;
        QTest::newRow("GPS 230400") << 2 << QByteArray("230400") << QStringList{"unknown", "unknown", "230400"}
                                    << 0x10000u;
        QTest::newRow("from the settings record") << 3 << QByteArray() << QStringList{"9600", "unknown", "230400"}
                                                  << 0x14000u;
        QTest::newRow("other box number") << 4 << QByteArray("9600") << QStringList{"unknown", "unknown", "unknown"}
                                          << 0u;
    }

    // A reported rate outside the list shows "unknown", which sends nothing.
    void baudRateReports()
    {
        QFETCH(int, which);
        QFETCH(QByteArray, rate);
        QFETCH(QStringList, shown);
        QFETCH(uint, mask);
        UserSettings.baudCode[0] = 1;
        UserSettings.baudCode[1] = 9;
        UserSettings.baudCode[2] = 7;
        m_window->m_uiBaudRateBoxSetIndex(which, rate);
        QCOMPARE((QStringList{child<QComboBox>("RS232BaudRateBox")->currentText(),
                              child<QComboBox>("RS422BaudRateBox")->currentText(),
                              child<QComboBox>("GPSRS232BaudRateBox")->currentText()}),
                 shown);
        click("pushButtonApplyChangesIMU");
        QCOMPARE(events().size(), mask ? 2 : 1);
        if (mask)
            QVERIFY2(events().value(0).startsWith(QStringLiteral("values %1 0 ").arg(mask, 0, 16)), qPrintable(events().value(0)));
    }

    void addressReports_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QList<QByteArray>>("parts");
        QTest::addColumn<QStringList>("shown");
        const QString device = QStringLiteral("lineEditIMUIP4_"), destination = QStringLiteral("lineEditDstIP4_");
        const QStringList before{"10", "1", "2", "3"};
        QTest::newRow("device, no address") << device << QList<QByteArray>{"0", "0", "0", "0"} << before;
        QTest::newRow("device, empty") << device << QList<QByteArray>{} << before;
        QTest::newRow("device") << device << QList<QByteArray>{"192", "168", "0", "100"} << QStringList{"192", "168", "0", "100"};
        QTest::newRow("device, empty last part") << device << QList<QByteArray>{"0", "0", "0", ""} << QStringList{"0", "0", "0", ""};
        QTest::newRow("device, short") << device << QList<QByteArray>{"7", "8"} << QStringList{"7", "8", "", ""};
        QTest::newRow("destination") << destination << QList<QByteArray>{"192", "168", "0", "120"}
                                     << QStringList{"192", "168", "0", "120"};
        QTest::newRow("destination, five lose the first")
            << destination << QList<QByteArray>{"1", "2", "3", "4", "5"} << QStringList{"2", "3", "4", "5"};
        QTest::newRow("destination, six")
            << destination << QList<QByteArray>{"1", "2", "3", "4", "5", "6"} << QStringList{"1", "2", "3", "4"};
        QTest::newRow("destination, short") << destination << QList<QByteArray>{"9"} << QStringList{"9", "", "", ""};
    }

    // Reported addresses fill the octets and mark nothing.
    void addressReports()
    {
        QFETCH(QString, prefix);
        QFETCH(QList<QByteArray>, parts);
        const QByteArray edits = prefix.toLatin1();
        setOctets(edits.constData(), {"10", "1", "2", "3"});
        if (prefix.startsWith(QLatin1String("lineEditIMU")))
            m_window->m_uiLineEditIMUIP4SetText(parts);
        else
            m_window->m_uiLineEditDstIP4SetText(parts);
        QTEST(octets(edits.constData()), "shown");
        QVERIFY(!markers().m_imuAddressChanged && !markers().m_dstAddressChanged);
    }

    // Reported offsets mark their settings, so the next Apply sends them back; north and gauss mark nothing.
    void offsetAndCompassReports()
    {
        m_window->m_uiDoubleSpinBoxOffsetSetValue(0, 1.5);
        m_window->m_uiDoubleSpinBoxOffsetSetValue(7, 9.0);
        UserSettings.pitchOffset = -2.25;
        UserSettings.yawOffset = 3.0;
        m_window->m_uiDoubleSpinBoxOffsetSetValue(3, 0.0);
        QCOMPARE(child<QDoubleSpinBox>("doubleSpinBoxRof")->value(), 0.0);
        QCOMPARE(child<QDoubleSpinBox>("doubleSpinBoxPof")->value(), -2.25);
        m_window->doubleSpinBoxNorthOffsetSetValue(-12.5);
        m_window->doubleSpinBoxGaussSetValue(1, 0.5);
        m_window->doubleSpinBoxGaussSetValue(3, 1.0);
        QCOMPARE(child<QDoubleSpinBox>("doubleSpinBoxYgauss")->value(), 0.5);
        QCOMPARE(child<QDoubleSpinBox>("doubleSpinBoxXgauss")->value(), 0.0);
        click("pushButtonApplyChangesCompass");
        QVERIFY(events().isEmpty());
        click("pushButtonApplyChangesIMUOutputSettings");
        QCOMPARE(events(), QStringList{"values e00 1 0;0.00;-2.25;3.00;"});
    }

    void outputSettingsApply()
    {
        child<QCheckBox>("checkBoxInvRoll")->click();
        child<QCheckBox>("checkBoxInvYaw")->click();
        child<QDoubleSpinBox>("doubleSpinBoxRof")->setValue(1.5);
        child<QDoubleSpinBox>("doubleSpinBoxYof")->setValue(-2.25);
        child<QComboBox>("IMUfreqBox")->setCurrentIndex(9);
        click("pushButtonApplyChangesIMUOutputSettings");
        QCOMPARE(events(), QStringList{"values b01 1 5;1.50;0.00;-2.25;100"});
        QVERIFY(!child<QPushButton>("pushButtonApplyChangesIMU")->isEnabled());
        m_window->enableAllButtons(true);
        events().clear();
        click("pushButtonApplyChangesIMUOutputSettings");
        QVERIFY(events().isEmpty());
    }

    void compassApply()
    {
        for (const auto &[name, value] : {std::pair{"doubleSpinBoxNorthOffset", 12.5}, {"doubleSpinBoxZgauss", -1.25}}) {
            child<QDoubleSpinBox>(name)->setValue(value);
            QMetaObject::invokeMethod(child<QDoubleSpinBox>(name), "editingFinished");
        }
        click("pushButtonApplyChangesCompass");
        QCOMPARE(events(), QStringList{"values 240000 3 12.5;0.00;0.00;-1.25"});
        QVERIFY(child<QPushButton>("pushButtonApplyChangesCompass")->isEnabled());
    }

    void flagReports()
    {
        m_window->ProcessIMUFlags(0x13);
        QVERIFY(child<QCheckBox>("checkBoxInvRoll")->isChecked() && child<QCheckBox>("checkBoxInvPitch")->isChecked());
        QVERIFY(!child<QCheckBox>("checkBoxPositiveYaw")->isChecked());
        auto *automatic = child<QRadioButton>("radioButtonDynamicIP");
        QVERIFY(automatic->isEnabled() && automatic->isChecked());
        QVERIFY(!child<QLineEdit>("lineEditIMUIP4_2")->isEnabled());
        QCOMPARE(m_window->GetIMUFlagsValue(), 0x13u);
        m_window->ProcessIMUFlags(0x2C);
        QVERIFY(!automatic->isChecked());
        QVERIFY(child<QLineEdit>("lineEditIMUIP4_2")->isEnabled());
        QCOMPARE(m_window->GetIMUFlagsValue(), 0x2Cu);
        QVERIFY(markers().m_flagsChanged);
    }

    void protocolReports_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("ticked");
        QTest::addColumn<bool>("boxesEnabled");
        QTest::newRow("-1 raw data") << QByteArray::fromHex("FFFFFFFF") << 2 << "Raw Data" << "............." << false;
        QTest::newRow("-2 reserved") << QByteArray::fromHex("FFFFFFFE") << 1 << "Reserved" << "............." << false;
        QTest::newRow("EulerB") << QByteArray::fromHex("00000009") << 7 << "Protocol" << "............." << false;
        QTest::newRow("UPX") << QByteArray::fromHex("00000004") << 12 << "Protocol" << "............." << false;
        QTest::newRow("custom with roll") << QByteArray::fromHex("C0900014") << 0 << "HEADER" << "xx......x..x." << true;
    }

    void protocolReports()
    {
        QFETCH(QByteArray, format);
        tickAndEnableAllBoxes();
        report(format);
        QVERIFY(choice()->isEnabled());
        QTEST(choice()->currentIndex(), "index");
        QTEST(child<QLabel>("label_Protocol")->text(), "label");
        QTEST(tickedBoxes(), "ticked");
        QTEST(child<QCheckBox>("checkBoxAz")->isEnabled(), "boxesEnabled");
        const std::array<uint8_t, 4> kept = MainWindowProbe::protocolFormat(*m_window);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(kept.data()), 4).toHex(), format.toHex());
    }

    // Slots 1 and 2 are kept but change no widget.
    void otherSlotReports()
    {
        report(QByteArray::fromHex("00000003"), 1);
        report(QByteArray::fromHex("00000005"), 2);
        QCOMPARE(choice()->currentIndex(), 0);
        QVERIFY(!choice()->isEnabled());
        QCOMPARE(MainWindowProbe::outputProtocol(*m_window, 2).format[3], uint8_t(5));
        QCOMPARE(MainWindowProbe::protocolFormat(*m_window)[3], uint8_t(0));
    }

    void protocolApply_data()
    {
        QTest::addColumn<uint>("link");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("expected");
        const uint serial = Worker::SerialMode;
        QTest::newRow("Reserved") << serial << 1 << QStringList{"format 0.0.0.0 '' 0", "values 1002 2 ;0;0;0;0;0"};
        QTest::newRow("EulerB") << serial << 7 << QStringList{"format 0.0.0.9 '' 0", "values 2 2 ;0;0;0;9;0"};
        QTest::newRow("UPX") << serial << 12 << QStringList{"format 0.0.0.4 '' 0", "values 2 2 ;0;0;0;4;0"};
        // The datagram carries the protocol; nothing goes to the serial queue.
        QTest::newRow("EulerB on Ethernet") << uint(Worker::EthernetMode) << 7
                                            << QStringList{"format 0.0.0.9 '' 0", "datagram 192.168.0.100 0"};
    }

    void protocolApply()
    {
        QFETCH(uint, link);
        QFETCH(int, index);
        setLink(link);
        report(QByteArray::fromHex("00000001"));
        choice()->setCurrentIndex(index);
        QMetaObject::invokeMethod(choice(), "activated", Q_ARG(int, index));
        click("pushButtonApplyProtocol");
        QTEST(events(), "expected");
        QVERIFY(!child<QPushButton>("pushButtonApplyProtocol")->isEnabled());
        QVERIFY(!child<QCheckBox>("checkBoxRoll")->isEnabled());
    }

    // A custom selection of roll, pitch and Ax with its header.
    void customProtocolApply()
    {
        report(QByteArray::fromHex("00000003"));
        choice()->setCurrentIndex(0);
        QMetaObject::invokeMethod(choice(), "activated", Q_ARG(int, 0));
        QCOMPARE(child<QLabel>("label_Protocol")->text(), QStringLiteral("HEADER"));
        QVERIFY(child<QCheckBox>("checkBoxRoll")->isEnabled());
        QTest::keyClicks(choice()->lineEdit(), QStringLiteral("$PHDR"));
        for (const char *name : {"checkBoxRoll", "checkBoxPitch", "checkBoxAx"})
            child<QCheckBox>(name)->click();
        click("pushButtonApplyProtocol");
        QCOMPARE(events(), (QStringList{"format 192.128.0.0 '$PHDR' 0", "values 1002 2 $PHDR;192;128;0;0;0"}));
        QVERIFY(child<QCheckBox>("checkBoxRoll")->isEnabled());
    }

    void selectAndClearAll()
    {
        click("pushButtonSelectAllPrtParameters");
        QCOMPARE(tickedBoxes(), QStringLiteral("xxxxxxxxxxxxx"));
        QVERIFY(!child<QCheckBox>("checkBoxRoll")->isEnabled());
        click("pushButtonClearAllPrtParameters");
        QCOMPARE(tickedBoxes(), QStringLiteral("............."));
    }

    void headerEdits_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("custom") << "custom" << "";
        QTest::newRow("any case, anywhere") << "aCuStOm" << "";
        QTest::newRow("other word") << "$HDR" << "$HDR";
        QTest::newRow("nine characters") << "ABCDEFGHI" << "ABCDEFGH";
    }

    void headerEdits()
    {
        QFETCH(QString, typed);
        choice()->setEnabled(true);
        QTest::keyClicks(choice()->lineEdit(), typed);
        QTEST(choice()->currentText(), "kept");
    }

    void headerReports()
    {
        QComboBox *choice = this->choice();
        report(QByteArray::fromHex("00000009"));
        m_window->protocolHeaderSetText(QStringLiteral("Protocol"), QStringLiteral("XYZ"));
        QCOMPARE(choice->currentIndex(), 7);
        QCOMPARE(child<QLabel>("label_Protocol")->text(), QStringLiteral("Protocol"));
        m_window->protocolHeaderSetText(QStringLiteral("HEADER"), QStringLiteral("ABCDEFGHIJ"));
        QCOMPARE(choice->currentIndex(), 0);
        QVERIFY(choice->isEditable());
        QCOMPARE(choice->currentText(), QStringLiteral("ABCDEFGH"));
        QCOMPARE(child<QLabel>("label_Protocol")->text(), QStringLiteral("HEADER"));
    }

    // Reports with absurd contents change nothing they should not, and never crash.
    void absurdReports()
    {
        auto *frequency = child<QComboBox>("IMUfreqBox");
        m_window->m_uiIMUfreqBoxSetIndex(QStringLiteral("99999999999"));
        m_window->m_uiIMUfreqBoxSetIndex(QStringLiteral("-5"));
        QCOMPARE(frequency->count(), 10);
        m_window->m_uiBaudRateBoxSetIndex(-1, "9600");
        m_window->m_uiBaudRateBoxSetIndex(0, QByteArray(5000, '\xff'));
        QCOMPARE(child<QComboBox>("RS232BaudRateBox")->currentText(), QStringLiteral("unknown"));
        m_window->m_uiLineEditDstIP4SetText(QList<QByteArray>(100, "7"));
        QCOMPARE(octets("lineEditDstIP4_"), (QStringList{"7", "7", "7", "7"}));
        m_window->m_uiDoubleSpinBoxOffsetSetValue(-1, 5.0);
        m_window->m_uiDoubleSpinBoxOffsetSetValue(1, 1e300);
        m_window->doubleSpinBoxGaussSetValue(-7, 1.0);
        m_window->doubleSpinBoxNorthOffsetSetValue(-1e300);
        QCOMPARE(child<QDoubleSpinBox>("doubleSpinBoxPof")->value(), 90.0);
        QCOMPARE(child<QDoubleSpinBox>("doubleSpinBoxNorthOffset")->value(), -360.0);
        report(QByteArray::fromHex("00000003"), 200);
        QVERIFY(!choice()->isEnabled());
        m_window->ProcessIMUFlags(0xFFFFFFC0);
        QCOMPARE(m_window->GetIMUFlagsValue(), 0u);
    }

    // The form connects the action to its slot by name.
    void readAction()
    {
        QSignalSpy read(m_window.get(), &MainWindow::signalReadUserSettings);
        m_window->findChild<QAction *>(QStringLiteral("actionReadSettings"))->trigger();
        QCOMPARE(read.size(), 1);
    }

    void noDatagramWithoutEthernet()
    {
        for (uint32_t mode : {uint32_t(Worker::NoLink), uint32_t(Worker::SerialMode)}) {
            setLink(mode);
            m_window->ApplyEthernetSettings(1);
            child<QComboBox>("RS232BaudRateBox")->setCurrentIndex(2);
            click("pushButtonApplyChangesIMU");
            m_window->enableAllButtons(true);
            click("pushButtonApplyProtocol");
        }
        QVERIFY(m_recorder->datagrams.isEmpty());
        QCOMPARE(UserSettings.frequency, InitialUserSettings.frequency);
    }

    // Two Applies without edits differ in counter and checksum only.
    void datagramsCountUp()
    {
        setLink(Worker::EthernetMode);
        child<QDoubleSpinBox>("doubleSpinBoxRof")->setValue(-1.5);
        click("pushButtonApplyChangesIMUOutputSettings");
        m_window->ApplyEthernetSettings(0);
        QCOMPARE(m_recorder->datagrams.size(), 2);
        const QByteArray first = m_recorder->datagrams.value(0), second = m_recorder->datagrams.value(1);
        QCOMPARE(first.size(), 66);
        QCOMPARE(first.left(62), second.left(62));
        QCOMPARE(first.right(2).toHex(), QByteArray("0001"));
        QCOMPARE(second.right(2).toHex(), QByteArray("0002"));
        QCOMPARE(first.mid(16, 8).toHex(), QByteArray("c0a80064c0a80078"));
        QCOMPARE(first.mid(38, 4).toHex(), QByteArray("fffe8000"));
        // "custom" frequency: 0 in the datagram and in the settings record; baud "unknown": the reported code.
        QCOMPARE(first.mid(32, 6).toHex(), QByteArray("050505000000"));
        QCOMPARE(UserSettings.frequency, 0u);
        QCOMPARE(UserSettings.rollOffset, -1.5);
    }

    // A box showing a rate sends its code; one showing "unknown" keeps what the device reported.
    void datagramBaudCodes()
    {
        setLink(Worker::EthernetMode);
        UserSettings.baudCode[1] = 2;
        child<QComboBox>("RS232BaudRateBox")->setCurrentIndex(7);
        m_window->m_uiBaudRateBoxSetIndex(2, "4800");
        click("pushButtonApplyChangesIMU");
        QCOMPARE(m_recorder->datagrams.size(), 1);
        QCOMPARE(m_recorder->datagrams.first().mid(32, 4).toHex(), QByteArray("07020000"));
        QCOMPARE(UserSettings.baudCode[0], 7u);
        QCOMPARE(UserSettings.baudCode[1], 2u);
    }

    void dynamicAddressSwitch_data()
    {
        QTest::addColumn<uint>("deviceFlags");
        QTest::addColumn<int>("clicks"); // a box the report ticked is clicked off and on again
        QTest::addColumn<QByteArray>("deviceAddress");
        QTest::newRow("device not yet automatic") << 0x21u << 1 << QByteArray("00000000");
        QTest::newRow("device already automatic") << 0x31u << 2 << QByteArray("c0a80064");
    }

    // Automatic clicked: zeros go out as the device address only when the
    // device's flags as last stored lack automatic addressing; the next
    // datagram, with the flag now stored, carries the octets again.
    void dynamicAddressSwitch()
    {
        QFETCH(uint, deviceFlags);
        QFETCH(int, clicks);
        setLink(Worker::EthernetMode);
        UserSettings.flags = deviceFlags; // as the worker stores the device's report
        m_window->ProcessIMUFlags(deviceFlags);
        auto *automatic = child<QRadioButton>("radioButtonDynamicIP");
        for (int click = 0; click < clicks; ++click)
            automatic->click();
        QVERIFY(automatic->isChecked());
        click("pushButtonApplyChangesIMU");
        QCOMPARE(events().value(0), QStringLiteral("datagram 0.0.0.0 0"));
        QTEST(m_recorder->datagrams.value(0).mid(16, 4).toHex(), "deviceAddress");
        QCOMPARE(m_recorder->datagrams.value(0).mid(EthernetSettingsDatagram::FlagsOffset, 4).toHex(), QByteArray("00000031"));
        QCOMPARE(UserSettings.flags, 0x31u);
        m_window->ApplyEthernetSettings(1);
        QCOMPARE(m_recorder->datagrams.size(), 2);
        QCOMPARE(m_recorder->datagrams.value(1).mid(16, 4).toHex(), QByteArray("c0a80064"));
    }

    void emptiedPortEdits_data()
    {
        QTest::addColumn<uint>("link");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("retyped"); // after 9001 was typed and confirmed
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QByteArray>("ports"); // device and local port of the datagram
        const uint serial = Worker::SerialMode, ethernet = Worker::EthernetMode;
        const QString device("lineEditIMUUdpPort"), local("lineEditLocalUdpPort");
        const QString values("values %1 0 9600;unknown;unknown;0;0;192.168.0.100;192.168.0.120;%2");
        const QStringList datagram{"datagram 192.168.0.100 0", "scan 0"};
        QTest::newRow("device port deleted, serial")
            << serial << device << "" << QStringList{values.arg("4000", ";8085"), "scan 0"} << QByteArray();
        QTest::newRow("local port deleted, serial")
            << serial << local << "" << QStringList{values.arg("4000", "8090;"), "scan 0"} << QByteArray();
        QTest::newRow("local port above 65535, serial")
            << serial << local << "70000" << QStringList{values.arg("4000", "8090;"), "scan 0"} << QByteArray();
        QTest::newRow("device port above 65535, Ethernet") << ethernet << device << "70000" << datagram
                                                           << QByteArray("1f9a1f95");
        QTest::newRow("local port deleted, Ethernet") << ethernet << local << "" << datagram << QByteArray("1f9a1f95");
        QTest::newRow("device port 0, serial")
            << serial << device << "0" << QStringList{values.arg("4010", "0;8085"), "scan 1"} << QByteArray();
        QTest::newRow("local port 0, Ethernet") << ethernet << local << "0"
                                                << QStringList{"datagram 192.168.0.100 0", "reset 0", "scan 1"}
                                                << QByteArray("1f9a0000");
    }

    // A port confirmed and then emptied is not sent: on Ethernet the datagram
    // carries the port the device reported, and the socket is not re-bound. An
    // explicit 0 is a port: the local one lets the system choose.
    void emptiedPortEdits()
    {
        QFETCH(uint, link);
        QFETCH(QString, edit);
        QFETCH(QString, retyped);
        BoxCloser closer(*m_modal);
        setLink(link);
        m_window->m_uiLineEditIMUUdpPortSetText(QStringLiteral("8090"));
        m_window->m_uiLineEditLocalUdpPortSetText(QStringLiteral("8085"));
        type(qPrintable(edit), QStringLiteral("9001"), true);
        type(qPrintable(edit), retyped, true);
        child<QComboBox>("RS232BaudRateBox")->setCurrentIndex(1);
        click("pushButtonApplyChangesIMU");
        QTEST(events(), "expected");
        QTEST(m_recorder->datagrams.value(0).mid(12, 4).toHex(), "ports");
        QTRY_COMPARE(closer.boxes.size(), retyped == "70000" ? 1 : 0);
    }

    void customHeaderInTheDatagram()
    {
        setLink(Worker::EthernetMode);
        QComboBox *choice = this->choice();
        choice->setEnabled(true);
        QTest::keyClicks(choice->lineEdit(), QStringLiteral("ABC"));
        click("pushButtonApplyProtocol");
        QCOMPARE(m_recorder->datagrams.value(0).mid(28, 4).toHex(), QByteArray("00000000"));
        QCOMPARE(m_recorder->datagrams.value(0).mid(50, 8), QByteArray("ABC\0\0\0\0\0", 8));
        choice->setCurrentIndex(3);
        m_window->enableAllButtons(true);
        click("pushButtonApplyProtocol");
        QCOMPARE(m_recorder->datagrams.value(1).mid(28, 4).toHex(), QByteArray("00000003"));
        QCOMPARE(m_recorder->datagrams.value(1).mid(50, 8), QByteArray(8, '\0'));
    }

    // On Ethernet an address group typed wrong goes out as the device reported
    // it last, on any tab; refused with nothing else changed, nothing goes out.
    void wrongAddressOnEthernet_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("device");
        QTest::addColumn<QStringList>("destination");
        QTest::addColumn<bool>("otherChange");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QByteArray>("addresses");
        const QString interface("pushButtonApplyChangesIMU"), output("pushButtonApplyChangesIMUOutputSettings");
        const QStringList reportedDevice{"10", "0", "0", "5"}, reportedDestination{"10", "0", "0", "9"};
        const QStringList sent{"datagram 10.0.0.5 0", "scan 0"};
        const QByteArray reported("0a0000050a000009");
        QTest::newRow("destination with an empty octet")
            << interface << reportedDevice << QStringList{"192", "168", "", "7"} << true << sent << reported;
        QTest::newRow("device address cut short")
            << interface << QStringList{"10", "0", "0", ""} << reportedDestination << true << sent << reported;
        QTest::newRow("device octet above 255")
            << interface << QStringList{"10", "0", "0", "256"} << reportedDestination << true << sent << reported;
        QTest::newRow("refused, nothing else changed")
            << interface << QStringList{"10", "0", "0", ""} << reportedDestination << false << QStringList{"scan 0"}
            << QByteArray();
        QTest::newRow("output settings applied")
            << output << QStringList{"10", "0", "0", ""} << QStringList{"192", "168", "", "7"} << true
            << QStringList{"datagram 10.0.0.5 0"} << reported;
        QTest::newRow("typed addresses are sent")
            << interface << QStringList{"10", "0", "0", "07"} << QStringList{"10", "0", "1", "9"} << true
            << QStringList{"datagram 10.0.0.7 0", "scan 1"} << QByteArray("0a0000070a000109");
    }
    void wrongAddressOnEthernet()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, device);
        QFETCH(QStringList, destination);
        QFETCH(bool, otherChange);
        QFETCH(QByteArray, addresses);
        BoxCloser closer(*m_modal);
        setLink(Worker::EthernetMode);
        m_window->m_uiLineEditIMUIP4SetText({"10", "0", "0", "5"});
        m_window->m_uiLineEditDstIP4SetText({"10", "0", "0", "9"});
        // A group the user typed into is marked changed.
        markers().m_imuAddressChanged = device != octets("lineEditIMUIP4_");
        markers().m_dstAddressChanged = destination != octets("lineEditDstIP4_");
        setOctets("lineEditIMUIP4_", device);
        setOctets("lineEditDstIP4_", destination);
        markers().m_rs232BaudChanged = otherChange;
        markers().m_flagsChanged = otherChange;
        click(qPrintable(button));
        QTEST(events(), "expected");
        QCOMPARE(m_recorder->datagrams.value(0).mid(16, 8).toHex(), addresses);
    }

    // A serial session starts from the start-up device address: a group typed
    // wrong in a later Ethernet session, before its unit has reported one, goes
    // out as the settings image's default, not as the last unit's address.
    void serialSessionForgetsReportedAddress()
    {
        PtyDevice unit;
        m_window->m_uiLineEditIMUIP4SetText({"10", "0", "0", "5"});
        MainWindowProbe::choosePort(*m_window, unit.portName());
        m_window->openSerialPort();
        setLink(Worker::EthernetMode);
        setOctets("lineEditIMUIP4_", {"10", "0", "0", ""});
        m_window->ApplyEthernetSettings(0);
        QCOMPARE(events().value(0), QStringLiteral("datagram 192.168.0.100 0"));
        QCOMPARE(m_recorder->datagrams.value(0).mid(16, 4).toHex(), QByteArray("c0a80064"));
    }

    // The worker could not bind the Ethernet socket: the window is left with
    // no link, and an Apply builds no datagram.
    void bindFailureLeavesNoLink()
    {
        QUdpSocket blocker;
        QVERIFY(blocker.bind(QHostAddress(QHostAddress::AnyIPv4), 0, QAbstractSocket::DontShareAddress));
        auto *action = child<QAction>("actionEthernetConnect");
        action->setChecked(true);
        setLink(Worker::EthernetMode);
        emit m_window->signalResetUdpSocket(blocker.localPort());
        emit m_window->signalEthernetConnectTriggered(true, QHostAddress(QHostAddress::LocalHost),
                                                       QHostAddress(QHostAddress::LocalHost));
        QTRY_COMPARE_WITH_TIMEOUT(MainWindowProbe::connectionMode(*m_window), uint32_t(Worker::NoLink), 5000);
        QVERIFY(!action->isChecked());
        QVERIFY(!child<QPushButton>("pushButtonApplyChangesIMU")->isEnabled());
        m_window->ApplyEthernetSettings(0);
        QVERIFY(m_recorder->datagrams.isEmpty());
    }

private:
    // Every field box ticked and enabled, so a report must clear and disable them itself.
    void tickAndEnableAllBoxes()
    {
        for (QCheckBox *box : fieldBoxes()) {
            box->setEnabled(true);
            box->setChecked(true);
        }
    }
};

QTEST_MAIN(TestSettingsPanel)
#include "tst_settingspanel.moc"
