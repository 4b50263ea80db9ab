#include "DeviceTypes.h"

#include <QHostAddress>
#include <QtTest>

#include <cstring>

class TestDeviceTypes : public QObject
{
    Q_OBJECT

private slots:
    void metaTypesRegisteredByName_data();
    void metaTypesRegisteredByName();
    void recordDefaults();
    void settingsImageLayout();
};

void TestDeviceTypes::metaTypesRegisteredByName_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("sample") << QByteArray("OutputDataType");
    QTest::newRow("protocol") << QByteArray("OutputProtocolType");
    QTest::newRow("address") << QByteArray("QHostAddress");
    QTest::newRow("user settings") << QByteArray("UserSettingsType");
    QTest::newRow("identity") << QByteArray("FactorySettingsT");
}

void TestDeviceTypes::metaTypesRegisteredByName()
{
    registerDeviceMetaTypes();
    QFETCH(QByteArray, name);
    QVERIFY(QMetaType::fromName(name).isValid());
}

void TestDeviceTypes::recordDefaults()
{
    const OutputDataType sample;
    for (const QString &text : sample.field)
        QVERIFY(text.isEmpty());

    const OutputProtocolType protocol;
    QCOMPARE(protocol.format, (std::array<uint8_t, 4>{0xFF, 0xFF, 0xFF, 0xFF}));
    QCOMPARE(protocol.value, 0u);
    QVERIFY(!protocol.enabled);

    const UserSettingsType settings;
    QCOMPARE(settings.statisticsTime, 1);
    QCOMPARE(settings.chartTheme, 1);
    QVERIFY(settings.DataDisplayFlag.isEmpty());

    QCOMPARE(BaudRateTable.front(), 4800);
    QCOMPARE(BaudRateTable.at(5), 115200);
    QCOMPARE(BaudRateTable.back(), 230400);
}

// The global settings image keeps the device's 120-byte layout.
void TestDeviceTypes::settingsImageLayout()
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(&UserSettings);
    const auto word = [bytes](size_t offset) {
        uint32_t value;
        std::memcpy(&value, bytes + offset, sizeof value);
        return value;
    };
    const auto real = [bytes](size_t offset) {
        double value;
        std::memcpy(&value, bytes + offset, sizeof value);
        return value;
    };

    QCOMPARE(word(0), 120u);
    QCOMPARE(word(4), UserSettings.flags);
    QCOMPARE(word(12), 100u);
    QCOMPARE(word(16), 5u);
    QCOMPARE(word(24), 5u);
    QCOMPARE(bytes[34], 1);
    QCOMPARE(word(40), 1u);
    QCOMPARE(word(44), 1u);
    QCOMPARE(real(48), 0.0);
    QCOMPARE(word(96), 8088u);
    QCOMPARE(word(100), 8080u);
    QCOMPARE(QHostAddress(word(104)).toString(), QStringLiteral("192.168.0.100"));
    QCOMPARE(QHostAddress(word(108)).toString(), QStringLiteral("192.168.0.120"));
}

QTEST_GUILESS_MAIN(TestDeviceTypes)
#include "tst_devicetypes.moc"
