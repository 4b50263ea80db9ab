#include "SerialPortFilter.h"

#include <QtTest>

using SerialPortFilter::Platform;

Q_DECLARE_METATYPE(SerialPortFilter::Platform)

class TestSerialPortFilter : public QObject
{
    Q_OBJECT

private slots:
    void isListed_data();
    void isListed();
    void unknownDetailsReadNotAvailable();
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
    QTest::newRow("linux usb serial") << "/dev/ttyUSB0" << "" << lnx << true;
    QTest::newRow("linux acm") << "/dev/ttyACM0" << "" << lnx << true;
    QTest::newRow("linux cu") << "/dev/cu.x" << "" << lnx << false;
    QTest::newRow("linux pseudo terminal") << "/dev/pts/3" << "" << lnx << false;
    QTest::newRow("jig cable") << "/dev/ttyUSB0" << "C232HM-DDHSL-0" << lnx << false;
    QTest::newRow("jig cable mac") << "/dev/cu.usbserial" << "C232HM" << mac << false;
    QTest::newRow("lower-case cable name") << "/dev/ttyUSB0" << "c232hm" << lnx << true;
}

void TestSerialPortFilter::isListed()
{
    QFETCH(QString, location);
    QFETCH(QString, description);
    QFETCH(Platform, platform);
    QFETCH(bool, listed);
    QCOMPARE(SerialPortFilter::isListed(location, description, platform), listed);
}

void TestSerialPortFilter::unknownDetailsReadNotAvailable()
{
    QCOMPARE(SerialPortFilter::portDetails({"ttyS0", "", "", "", "/dev/ttyS0", 0, 0}),
             (QStringList{"ttyS0", "N/A", "N/A", "N/A", "/dev/ttyS0", "N/A", "N/A"}));
    QCOMPARE(SerialPortFilter::portDetails({"ttyACM0", "d", "m", "s", "/dev/ttyACM0", 0xFFFF, 0x1a86}),
             (QStringList{"ttyACM0", "d", "m", "s", "/dev/ttyACM0", "ffff", "1a86"}));
}

QTEST_APPLESS_MAIN(TestSerialPortFilter)
#include "tst_serialportfilter.moc"
