#include "SettingsDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QStringList StoreKeys{"fileName", "portName", "baudRate", "stringBaudRate", "dataBits", "stringDataBits",
                            "parity", "stringParity", "stopBits", "stringStopBits", "flowControl",
                            "stringFlowControl", "statisticsTime", "timeSpan", "DataDisplayFlag", "chartTheme"};

std::unique_ptr<QSettings> openStore()
{
    auto store = std::make_unique<QSettings>(SettingsDialog::StoreOrganisation, SettingsDialog::StoreApplication);
    store->beginGroup(SettingsDialog::StoreGroup);
    return store;
}

// The record's fields in store order.
QVariantList fields(const UserSettingsType &s)
{
    return {s.fileName, s.portName, s.baudRate, s.stringBaudRate, s.dataBits, s.stringDataBits,
            s.parity, s.stringParity, s.stopBits, s.stringStopBits, s.flowControl,
            s.stringFlowControl, s.statisticsTime, s.timeSpan, s.DataDisplayFlag, s.chartTheme};
}

// The stored values in store order, each converted to the type of its counterpart in like.
QVariantList storeValues(const QVariantList &like)
{
    QVariantList values;
    const auto store = openStore();
    for (qsizetype i = 0; i < StoreKeys.size(); ++i) {
        QVariant value = store->value(StoreKeys.at(i));
        value.convert(like.at(i).metaType());
        values.append(value);
    }
    return values;
}

SerialPortEntry port(const QString &name, const QString &description = QStringLiteral("USB Serial"))
{
    return {name, description, QStringLiteral("Maker"), QStringLiteral("SN1"), "/dev/" + name, 0x0403, 0x6001};
}

template <typename T>
T *child(const QDialog &dialog, const char *name)
{
    return dialog.findChild<T *>(QString::fromLatin1(name));
}

QStringList detailTexts(const QDialog &dialog)
{
    QStringList texts;
    for (const char *name : {"descriptionLabel", "manufacturerLabel", "serialNumberLabel", "pathLabel"})
        texts << child<QLabel>(dialog, name)->text().simplified();
    return texts;
}

} // namespace

class TestSettingsDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void firstStartWritesEveryKey();
    void storeRoundTrip();
    void savedChoices_data();
    void savedChoices();
    void portDetailsNeverStale();
    void savedPortSelected();
    void autoDetectEmitsPortsAndCombinations();
    void applySavesAndEmits();
    void themeBoxEmitsOnlyRealThemes();

private:
    std::unique_ptr<QTemporaryDir> m_storeDir;
};

void TestSettingsDialog::init()
{
    // Every test starts with an empty store of its own.
    m_storeDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_storeDir->isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_storeDir->path());
}

void TestSettingsDialog::firstStartWritesEveryKey()
{
    SettingsDialog dialog;
    auto *ports = child<QComboBox>(dialog, "serialPortInfoListBox");
    const QString firstPort = ports->count() > 0 ? ports->itemText(0) : QString();

    QStringList keys = openStore()->childKeys();
    QStringList expectedKeys = StoreKeys;
    keys.sort();
    expectedKeys.sort();
    QCOMPARE(keys, expectedKeys);

    const QVariantList firstStart{QString(), firstPort, 115200, "115200", 8, "8", 0, "None",
                                  1, "1", 0, "No", 1, 0.0, QBitArray(), 1};
    QCOMPARE(storeValues(firstStart), firstStart);
    QCOMPARE(fields(dialog.settings()), firstStart);
}

void TestSettingsDialog::storeRoundTrip()
{
    SettingsDialog dialog;
    UserSettingsType &live = *dialog.currentSettings();
    QBitArray flags(16);
    flags.setBit(0);
    flags.setBit(15);
    live = UserSettingsType{"/tmp/log file.txt", "ttyUSB3", 230400, "230400", 7, "7",
                            2, "Even", 3, "1.5", 1, "Hardware", 12.75, 42, flags, 6};
    const QVariantList saved = fields(live);
    dialog.saveSettings();
    QCOMPARE(storeValues(saved), saved);

    live = UserSettingsType{};
    dialog.loadSettings();
    QCOMPARE(fields(dialog.settings()), saved);
}

void TestSettingsDialog::savedChoices_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("saved");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("shown");

    QTest::newRow("baud 128000") << "stringBaudRate" << QVariant("128000") << "baudRateBox" << "128000";
    QTest::newRow("unknown baud") << "stringBaudRate" << QVariant("12345") << "baudRateBox" << "115200";
    QTest::newRow("empty baud") << "stringBaudRate" << QVariant("") << "baudRateBox" << "115200";
    QTest::newRow("garbage baud") << "stringBaudRate" << QVariant("\x01\xff baud") << "baudRateBox" << "115200";
    QTest::newRow("theme 4") << "chartTheme" << QVariant(4) << "themeComboBox" << "Blue NCS";
    QTest::newRow("theme beyond the list") << "chartTheme" << QVariant(7) << "themeComboBox" << "Blue Cerulean";
    QTest::newRow("negative theme") << "chartTheme" << QVariant(-1) << "themeComboBox" << "Blue Cerulean";
    QTest::newRow("theme not a number") << "chartTheme" << QVariant("dark") << "themeComboBox" << "Light";
}

// A start shows the saved choice, or the default for one that is none of the items, and saves what it shows.
void TestSettingsDialog::savedChoices()
{
    QFETCH(QString, key);
    QFETCH(QVariant, saved);
    QFETCH(QString, box);
    QFETCH(QString, shown);
    openStore()->setValue(key, saved);

    SettingsDialog dialog;
    const QComboBox *target = child<QComboBox>(dialog, qPrintable(box));
    QCOMPARE(target->currentText(), shown);
    const QVariant expected = key == QLatin1String("chartTheme") ? target->currentData() : QVariant(shown);
    QCOMPARE(openStore()->value(key).toString(), expected.toString());
}

// Each port shows its own details; one the host reports without them, or no port at all, leaves nothing stale.
void TestSettingsDialog::portDetailsNeverStale()
{
    SettingsDialog dialog;
    dialog.fillPortsInfo({port("ttyUSB0")});
    QCOMPARE(detailTexts(dialog), (QStringList{"Description: USB Serial", "Manufacturer: Maker",
                                               "Serial number: SN1", "Location: /dev/ttyUSB0"}));

    dialog.fillPortsInfo({{"ttyS4", QString(), QString(), QString(), "/dev/ttyS4", 0, 0}});
    QCOMPARE(detailTexts(dialog), (QStringList{"Description: N/A", "Manufacturer: N/A", "Serial number: N/A",
                                               "Location: /dev/ttyS4"}));

    dialog.fillPortsInfo({});
    QCOMPARE(detailTexts(dialog), (QStringList{"Description:", "Manufacturer:", "Serial number:", "Path:"}));
    QVERIFY(!child<QPushButton>(dialog, "applyButton")->isEnabled());
    QVERIFY(!child<QPushButton>(dialog, "pushButtonAutoDetect")->isEnabled());
}

void TestSettingsDialog::savedPortSelected()
{
    SettingsDialog dialog;
    const QList<SerialPortEntry> ports{port("ttyUSB0"), port("ttyUSB1"), port("ttyACM0")};
    dialog.currentSettings()->portName = QStringLiteral("ttyUSB1");
    dialog.fillPortsInfo(ports);
    QCOMPARE(child<QComboBox>(dialog, "serialPortInfoListBox")->currentText(), QStringLiteral("ttyUSB1"));

    // Names are compared with letter case; an unlisted port leaves the record.
    dialog.currentSettings()->portName = QStringLiteral("TTYUSB1");
    dialog.fillPortsInfo(ports);
    QCOMPARE(dialog.settings().portName, QString());
}

void TestSettingsDialog::autoDetectEmitsPortsAndCombinations()
{
    SettingsDialog dialog;
    dialog.fillPortsInfo({port("ttyUSB0"), port("ttyUSB1", "C232HM"), port("ttyUSB2"), port("ttyACM0")});
    QSignalSpy detect(&dialog, &SettingsDialog::signalSetAutoDetect);
    dialog.show();
    child<QPushButton>(dialog, "pushButtonAutoDetect")->click();

    QCOMPARE(detect.count(), 1);
    QCOMPARE(detect.at(0).at(0).value<QList<QString>>(), (QList<QString>{"ttyUSB0", "ttyUSB2", "ttyACM0"}));
    QCOMPARE(detect.at(0).at(1).toInt(), 3 * 8);
    QVERIFY(!dialog.settingsChanged());
    QVERIFY(dialog.isHidden());
}

void TestSettingsDialog::applySavesAndEmits()
{
    SettingsDialog dialog;
    dialog.fillPortsInfo({port("ttyUSB0"), port("ttyACM0")});
    dialog.clearSettingsChanged();
    child<QComboBox>(dialog, "serialPortInfoListBox")->setCurrentIndex(1);
    child<QComboBox>(dialog, "baudRateBox")->setCurrentText(QStringLiteral("38400"));
    child<QComboBox>(dialog, "themeComboBox")->setCurrentIndex(5);
    QSignalSpy statistics(&dialog, &SettingsDialog::signalSetStatisticsTime);
    QSignalSpy theme(&dialog, &SettingsDialog::signalUpdateChartTheme);
    dialog.show();
    child<QPushButton>(dialog, "applyButton")->click();

    QCOMPARE(openStore()->value("portName").toString(), QStringLiteral("ttyACM0"));
    QCOMPARE(openStore()->value("baudRate").toInt(), 38400);
    QCOMPARE(openStore()->value("chartTheme").toInt(), 5);
    QVERIFY(dialog.settingsChanged());
    QCOMPARE(statistics.count(), 1);
    QCOMPARE(theme.count(), 1);
    QCOMPARE(theme.at(0).at(0).value<QChart::ChartTheme>(), QChart::ChartThemeHighContrast);
    QVERIFY(dialog.isHidden());
}

// The box reports a choice at once, but never while it is emptied for a refill.
void TestSettingsDialog::themeBoxEmitsOnlyRealThemes()
{
    SettingsDialog dialog;
    auto *box = child<QComboBox>(dialog, "themeComboBox");
    QList<QChart::ChartTheme> themes;
    connect(&dialog, &SettingsDialog::signalUpdateChartTheme, this, [&](QChart::ChartTheme theme) {
        QVERIFY(box->currentIndex() >= 0);
        themes.append(theme);
    });
    box->setCurrentIndex(2);
    QCOMPARE(themes, QList<QChart::ChartTheme>{QChart::ChartThemeDark});
    QCOMPARE(dialog.settings().chartTheme, 1);

    themes.clear();
    dialog.populateThemeBox();
    QVERIFY(!themes.isEmpty());
    QCOMPARE(themes.last(), QChart::ChartThemeBlueCerulean);
}

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
