#include "SerialPortFilter.h"

#include <QtTest>

using SerialPortFilter::Platform;

Q_DECLARE_METATYPE(SerialPortEntry)
Q_DECLARE_METATYPE(SerialPortFilter::Platform)

class TestSerialPortFilter : public QObject
{
    Q_OBJECT

private slots:
    void isListed_data();
    void isListed();
    void portDetails_data();
    void portDetails();
};

void TestSerialPortFilter::isListed_data()
{
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("description");
    QTest::addColumn<Platform>("platform");
    QTest::addColumn<bool>("listed");

    const auto mac = Platform::MacOS;
    const auto lnx = Platform::Linux;
    QTest::newRow("mac call-out device") << "/dev/cu.x" << "" << mac << true;
    QTest::newRow("mac call-out, upper case") << "/DEV/CU.x" << "" << mac << true;
    QTest::newRow("mac call-in device") << "/dev/tty.usbserial" << "" << mac << false;
    QTest::newRow("mac usb tty") << "/dev/ttyUSB0" << "" << mac << false;
    QTest::newRow("linux usb serial") << "/dev/ttyUSB0" << "" << lnx << true;
    QTest::newRow("linux acm") << "/dev/ttyACM0" << "" << lnx << true;
    QTest::newRow("linux upper case") << "/DEV/TTYS0" << "" << lnx << true;
    QTest::newRow("linux cu") << "/dev/cu.x" << "" << lnx << false;
    QTest::newRow("linux pseudo terminal") << "/dev/pts/3" << "" << lnx << false;
    QTest::newRow("empty location") << "" << "" << lnx << false;
    QTest::newRow("jig cable linux") << "/dev/ttyUSB0" << "C232HM-DDHSL-0" << lnx << false;
    QTest::newRow("jig cable mac") << "/dev/cu.usbserial" << "C232HM" << mac << false;
    QTest::newRow("lower-case cable name linux") << "/dev/ttyUSB0" << "c232hm" << lnx << true;
    QTest::newRow("lower-case cable name mac") << "/dev/cu.usbserial" << "c232hm" << mac << true;
    QTest::newRow("other description") << "/dev/ttyUSB1" << "USB Serial" << lnx << true;
}

void TestSerialPortFilter::isListed()
{
    QFETCH(QString, location);
    QFETCH(QString, description);
    QFETCH(Platform, platform);
    QFETCH(bool, listed);
    QCOMPARE(SerialPortFilter::isListed(location, description, platform), listed);
}

void TestSerialPortFilter::portDetails_data()
{
    QTest::addColumn<SerialPortEntry>("port");
    QTest::addColumn<QStringList>("details");

    QTest::newRow("full")
        << SerialPortEntry{"ttyUSB0", "USB Serial", "Maker", "A123", "/dev/ttyUSB0", 0x1a86, 0x7523}
        << QStringList{"ttyUSB0", "USB Serial", "Maker", "A123", "/dev/ttyUSB0", "1a86", "7523"};
    QTest::newRow("nothing known")
        << SerialPortEntry{"ttyS0", "", "", "", "/dev/ttyS0", 0, 0}
        << QStringList{"ttyS0", "N/A", "N/A", "N/A", "/dev/ttyS0", "N/A", "N/A"};
    QTest::newRow("largest identifiers")
        << SerialPortEntry{"ttyACM0", "d", "m", "s", "/dev/ttyACM0", 0xFFFF, 0x1}
        << QStringList{"ttyACM0", "d", "m", "s", "/dev/ttyACM0", "ffff", "1"};
}

void TestSerialPortFilter::portDetails()
{
    QFETCH(SerialPortEntry, port);
    QFETCH(QStringList, details);
    QCOMPARE(SerialPortFilter::portDetails(port), details);
}

QTEST_APPLESS_MAIN(TestSerialPortFilter)
#include "tst_serialportfilter.moc"
