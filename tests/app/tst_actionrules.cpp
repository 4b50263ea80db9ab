#include "ActionRules.h"
#include "DeviceIdentity.h"
#include "ResourcePaths.h"

#include <QtTest>

using ActionRules::LinkAction;

Q_DECLARE_METATYPE(QList<LinkAction>)

class TestActionRules : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        return path;
    }

private slots:
    void actionBits_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<QList<LinkAction>>("enabled");
        QTest::addColumn<QList<LinkAction>>("checked");
        const QList<LinkAction> group{LinkAction::Connect, LinkAction::EthernetConnect, LinkAction::HaltSerialPort};
        QTest::newRow("none") << 0 << QList<LinkAction>{} << QList<LinkAction>{};
        QTest::newRow("1: connect group") << 1 << group << group;
        QTest::newRow("2: connect") << 2 << QList{LinkAction::Connect} << QList{LinkAction::Connect};
        QTest::newRow("4: configure") << 4 << QList{LinkAction::Configure} << QList{LinkAction::Configure};
        QTest::newRow("8: Ethernet only when checking") << 8 << QList<LinkAction>{}
                                                        << QList{LinkAction::EthernetConnect};
        QTest::newRow("15: all, in bit order") << 15 << group + QList{LinkAction::Connect, LinkAction::Configure}
                                               << group + QList{LinkAction::Connect, LinkAction::Configure,
                                                                LinkAction::EthernetConnect};
        QTest::newRow("16: halt") << 16 << QList{LinkAction::HaltSerialPort} << QList{LinkAction::HaltSerialPort};
        QTest::newRow("all bits") << -1
                                  << group + QList{LinkAction::Connect, LinkAction::Configure, LinkAction::HaltSerialPort}
                                  << group + QList{LinkAction::Connect, LinkAction::Configure,
                                                   LinkAction::HaltSerialPort, LinkAction::EthernetConnect};
    }

    void actionBits()
    {
        QFETCH(int, bits);
        QTEST(ActionRules::actionsToEnable(bits), "enabled");
        QTEST(ActionRules::actionsToCheck(bits), "checked");
    }

    void elapsedSeconds_data()
    {
        QTest::addColumn<int>("ms");
        QTest::addColumn<unsigned int>("seconds");
        QTest::newRow("12 345 ms") << 12345 << 12u;
        QTest::newRow("negative") << -5000 << 0u;
        QTest::newRow("largest") << INT_MAX << unsigned(INT_MAX / 1000);
    }

    void elapsedSeconds()
    {
        QFETCH(int, ms);
        QTEST(ActionRules::elapsedSeconds(ms), "seconds");
    }

    void detectedPortPick_data()
    {
        QTest::addColumn<QList<QString>>("names");
        QTest::addColumn<QList<int>>("rates");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("picked");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("rate");
        QTest::addColumn<QString>("rateText");
        const QList<QString> names{"ttyUSB0", "ttyUSB1"};
        const QList<int> rates{9600, 230400};
        QTest::newRow("first row") << names << rates << 0 << true << "ttyUSB0" << 9600 << "9600";
        QTest::newRow("row past the end") << names << rates << 2 << false << "" << 0 << "";
        QTest::newRow("rate missing") << names << QList<int>{9600} << 1 << false << "" << 0 << "";
        QTest::newRow("empty lists") << QList<QString>{} << QList<int>{} << 0 << false << "" << 0 << "";
    }

    // Both rate fields come from the picked row, so the store and the status name the rate in use.
    void detectedPortPick()
    {
        QFETCH(QList<QString>, names);
        QFETCH(QList<int>, rates);
        QFETCH(int, row);
        QFETCH(bool, picked);
        const auto port = ActionRules::detectedPortAt(names, rates, row);
        QCOMPARE(port.has_value(), picked);
        if (!port)
            return;
        QTEST(port->portName, "name");
        QTEST(port->baudRate, "rate");
        QTEST(port->stringBaudRate, "rateText");
    }

    void initialLogPath()
    {
        const QString documents = m_dir.filePath(QStringLiteral("Documents"));
        const QString home = QStringLiteral("/home/user");
        const QString stored = writeFile(QStringLiteral("kept.txt"), "data");
        const QString gone = m_dir.filePath(QStringLiteral("gone.txt"));
        QCOMPARE(ActionRules::initialLogPath(stored, documents, home), stored);
        // No documents folder: the home folder.
        QCOMPARE(ActionRules::initialLogPath(gone, documents, home), home + QStringLiteral("/untitled.txt"));
        QCOMPARE(ActionRules::initialLogPath(QString(), documents, home), home + QStringLiteral("/untitled.txt"));
        QVERIFY(QDir().mkpath(documents));
        QCOMPARE(ActionRules::initialLogPath(stored, documents, home), stored);
        QCOMPARE(ActionRules::initialLogPath(gone, documents, home), documents + QStringLiteral("/untitled.txt"));
        QCOMPARE(ActionRules::initialLogPath(QString(), documents, home), documents + QStringLiteral("/untitled.txt"));
        // A file where the documents folder should be is no folder.
        QCOMPARE(ActionRules::initialLogPath(gone, stored, home), home + QStringLiteral("/untitled.txt"));
    }

    void holdsRecording()
    {
        QVERIFY(ActionRules::holdsRecording(writeFile(QStringLiteral("full.dat"), "x")));
        QVERIFY(!ActionRules::holdsRecording(writeFile(QStringLiteral("empty.dat"), QByteArray())));
        QVERIFY(!ActionRules::holdsRecording(m_dir.filePath(QStringLiteral("missing.dat"))));
        QVERIFY(!ActionRules::holdsRecording(m_dir.path()));
        QVERIFY(!ActionRules::holdsRecording(QString()));
        QVERIFY(!ActionRules::holdsRecording(QStringLiteral("/dev/full")));
    }

    void modelByHardwareId_data()
    {
        QTest::addColumn<QString>("hardwareId");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("ethernet");
        QTest::addColumn<QString>("picture");
        const QString dravona = ResourcePaths::ModelDravona, quorvex = ResourcePaths::ModelQuorvex;
        QTest::newRow("32") << "32" << 32 << true << quorvex;
        QTest::newRow("62") << "62" << 62 << false << dravona;
        QTest::newRow("-21") << "-21" << -21 << false << dravona;
        QTest::newRow("hexadecimal") << "0x15" << 0 << false << dravona;
        QTest::newRow("beyond 32 bits") << "4294967317" << 0 << false << dravona;
    }

    void modelByHardwareId()
    {
        QFETCH(QString, hardwareId);
        QFETCH(int, number);
        QCOMPARE(DeviceIdentity::hardwareIdNumber(hardwareId), number);
        QTEST(DeviceIdentity::hasEthernetFeatures(number), "ethernet");
        QTEST(DeviceIdentity::modelPicture(number), "picture");
    }

    // The device's texts are shown as they came, whatever markup they hold.
    void factoryInfoText()
    {
        FactorySettingsT identity;
        identity.partNr = QStringLiteral("<b>PN-7</b>");
        identity.serialNumber = QStringLiteral("21 & %3");
        identity.fwVersion = QStringLiteral("<img src=x>");
        QCOMPARE(DeviceIdentity::factoryInfoText(identity),
                 QStringLiteral("<br></br><br></br><font color='Blue'>Part Number: &lt;b&gt;PN-7&lt;/b&gt;</font>"
                                "<br></br><font color='Blue'>IMU SN : 21 &amp; %3</font><br></br>"
                                "<font color='Blue'>IMU FW : &lt;img src=x&gt;</font>"));
    }
};

QTEST_GUILESS_MAIN(TestActionRules)
#include "tst_actionrules.moc"
