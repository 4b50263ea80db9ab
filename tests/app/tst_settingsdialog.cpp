#include "SettingsDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QStringList StoreKeys{
    "fileName", "portName", "baudRate", "stringBaudRate", "dataBits", "stringDataBits",
    "parity", "stringParity", "stopBits", "stringStopBits", "flowControl", "stringFlowControl",
    "statisticsTime", "timeSpan", "DataDisplayFlag", "chartTheme"};

std::unique_ptr<QSettings> openStore()
{
    auto store = std::make_unique<QSettings>(SettingsDialog::StoreOrganisation,
                                             SettingsDialog::StoreApplication);
    store->beginGroup(SettingsDialog::StoreGroup);
    return store;
}

void writeStore(const QString &key, const QVariant &value)
{
    openStore()->setValue(key, value);
}

QVariant readStore(const QString &key)
{
    return openStore()->value(key);
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
        if (!value.convert(like.at(i).metaType()))
            qWarning() << "stored" << StoreKeys.at(i) << "does not convert";
        values.append(value);
    }
    return values;
}

SerialPortEntry port(const QString &name, const QString &description = QStringLiteral("USB Serial"))
{
    return {name, description, QStringLiteral("Maker"), QStringLiteral("SN1"),
            QStringLiteral("/dev/") + name, 0x0403, 0x6001};
}

QList<SerialPortEntry> threePorts()
{
    return {port("ttyUSB0"), port("ttyUSB1"), port("ttyACM0")};
}

template <typename T>
T *child(const QDialog &dialog, const char *name)
{
    T *widget = dialog.findChild<T *>(QString::fromLatin1(name));
    Q_ASSERT(widget);
    return widget;
}

QString labelText(const QDialog &dialog, const char *name)
{
    return child<QLabel>(dialog, name)->text();
}

// Answers the next modal message box and records what it said.
struct MessageBoxCatcher
{
    QString title;
    QString text;

    void arm()
    {
        QTimer::singleShot(0, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            box->accept();
        });
    }
};

} // namespace

class TestSettingsDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstStartWritesEveryKey();
    void storeRoundTrip();
    void storedFieldsSurviveRestart();
    void savedBaudText_data();
    void savedBaudText();
    void savedTheme_data();
    void savedTheme();
    void form();
    void nothingClippedWhenShown();
    void fixedLineFormat();
    void portsListedWithDetails();
    void portWithoutDetailsShowsPlaceholders();
    void emptyPortListClearsDetails();
    void savedPortSelected();
    void autoDetectEmitsPortsAndCombinations();
    void autoDetectWithoutPorts();
    void applySavesAndEmits();
    void applyWithoutPorts();
    void themeBoxEmitsAtOnce();

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

void TestSettingsDialog::cleanup()
{
    m_storeDir.reset();
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

    const QVariantList firstStart{QString(), firstPort, 115200, QStringLiteral("115200"),
                                  8, QStringLiteral("8"), 0, QStringLiteral("None"),
                                  1, QStringLiteral("1"), 0, QStringLiteral("No"),
                                  1, 0.0, QBitArray(), 1};
    QCOMPARE(storeValues(firstStart), firstStart);
    QCOMPARE(fields(dialog.settings()), firstStart);

    QVERIFY(dialog.settingsChanged());
    dialog.clearSettingsChanged();
    QVERIFY(!dialog.settingsChanged());
}

void TestSettingsDialog::storeRoundTrip()
{
    SettingsDialog dialog;
    UserSettingsType &live = *dialog.currentSettings();
    QBitArray flags(16);
    flags.setBit(0);
    flags.setBit(7);
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

// A new start re-derives the link fields from the form but keeps the others as saved.
void TestSettingsDialog::storedFieldsSurviveRestart()
{
    QBitArray flags(16);
    flags.setBit(3);
    writeStore("fileName", "/data/imu.log");
    writeStore("timeSpan", 30.5);
    writeStore("DataDisplayFlag", flags);
    writeStore("dataBits", 5);
    writeStore("statisticsTime", 17);
    writeStore("baudRate", "not a number");

    SettingsDialog dialog;
    const UserSettingsType s = dialog.settings();
    QCOMPARE(s.fileName, QStringLiteral("/data/imu.log"));
    QCOMPARE(s.timeSpan, 30.5);
    QCOMPARE(s.DataDisplayFlag, flags);
    QCOMPARE(s.dataBits, 8);
    QCOMPARE(s.statisticsTime, 1);
    QCOMPARE(s.baudRate, 115200);
    QCOMPARE(readStore("DataDisplayFlag").toBitArray(), flags);
}

void TestSettingsDialog::savedBaudText_data()
{
    QTest::addColumn<QVariant>("saved");
    QTest::addColumn<int>("selected");
    QTest::newRow("128000") << QVariant("128000") << 128000;
    QTest::newRow("4800") << QVariant("4800") << 4800;
    QTest::newRow("230400") << QVariant("230400") << 230400;
    QTest::newRow("unknown rate") << QVariant("12345") << 115200;
    QTest::newRow("trailing blank") << QVariant("9600 ") << 115200;
    QTest::newRow("empty") << QVariant("") << 115200;
    QTest::newRow("garbage") << QVariant("\x01\xff baud") << 115200;
}

void TestSettingsDialog::savedBaudText()
{
    QFETCH(QVariant, saved);
    QFETCH(int, selected);
    writeStore("stringBaudRate", saved);

    SettingsDialog dialog;
    QCOMPARE(child<QComboBox>(dialog, "baudRateBox")->currentText(), QString::number(selected));
    QCOMPARE(dialog.settings().baudRate, selected);
    QCOMPARE(readStore("baudRate").toInt(), selected);
    QCOMPARE(readStore("stringBaudRate").toString(), QString::number(selected));
}

void TestSettingsDialog::savedTheme_data()
{
    QTest::addColumn<QVariant>("saved");
    QTest::addColumn<int>("theme");
    QTest::addColumn<QString>("text");
    QTest::newRow("light") << QVariant(0) << 0 << "Light";
    QTest::newRow("blue ncs") << QVariant(4) << 4 << "Blue NCS";
    QTest::newRow("blue icy") << QVariant(6) << 6 << "Blue Icy";
    QTest::newRow("beyond list") << QVariant(7) << 1 << "Blue Cerulean";
    QTest::newRow("negative") << QVariant(-1) << 1 << "Blue Cerulean";
    QTest::newRow("huge") << QVariant(2147483647) << 1 << "Blue Cerulean";
    QTest::newRow("not a number gives 0") << QVariant("dark") << 0 << "Light";
}

void TestSettingsDialog::savedTheme()
{
    QFETCH(QVariant, saved);
    QFETCH(int, theme);
    QFETCH(QString, text);
    writeStore("chartTheme", saved);

    SettingsDialog dialog;
    QCOMPARE(child<QComboBox>(dialog, "themeComboBox")->currentText(), text);
    QCOMPARE(dialog.settings().chartTheme, theme);
    QCOMPARE(readStore("chartTheme").toInt(), theme);
}

void TestSettingsDialog::form()
{
    SettingsDialog dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("SettingsDialog"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Settings"));
    QVERIFY(dialog.isModal());
    QVERIFY(dialog.isHidden());
    QCOMPARE(dialog.font().family(), QStringLiteral("Open Sans"));

    auto *themes = child<QComboBox>(dialog, "themeComboBox");
    const QStringList names{"Light", "Blue Cerulean", "Dark", "Brown Sand", "Blue NCS", "High Contrast", "Blue Icy"};
    QCOMPARE(themes->count(), names.size());
    for (int i = 0; i < themes->count(); ++i) {
        QCOMPARE(themes->itemText(i), names.at(i));
        QCOMPARE(themes->itemData(i).toInt(), i);
    }

    auto *slider = child<QSlider>(dialog, "horizontalSliderStatisticsTime");
    QCOMPARE(slider->minimum(), 1);
    QCOMPARE(slider->maximum(), 60);
    QVERIFY(slider->isHidden() && !slider->isEnabled());
    auto *statistics = child<QLabel>(dialog, "labelStatisticsTime");
    QVERIFY(statistics->isHidden() && !statistics->isEnabled());
    QCOMPARE(statistics->text(),
             QStringLiteral("Statistics Window Width[min] : <b><font color='gray'>1</font></b>"));

    QCOMPARE(child<QPushButton>(dialog, "pushButtonAutoDetect")->text(), QStringLiteral("Auto Detect"));
    QCOMPARE(child<QPushButton>(dialog, "applyButton")->text(), QStringLiteral("Apply"));
}

// The form's sizes were chosen for smaller points; shown here, no text may be cut.
void TestSettingsDialog::nothingClippedWhenShown()
{
    SettingsDialog dialog;
    dialog.fillPortsInfo(threePorts());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QCOMPARE(dialog.maximumSize(), QSize(500, 600));
    QVERIFY(dialog.width() >= 300 && dialog.height() >= 415);
    const QList<QWidget *> shown = child<QWidget>(dialog, "parametersBox")->findChildren<QWidget *>();
    int checked = 0;
    for (const QWidget *widget : shown) {
        if (!widget->isVisible() || !(qobject_cast<const QLabel *>(widget) || qobject_cast<const QComboBox *>(widget)))
            continue;
        QVERIFY2(widget->height() >= widget->sizeHint().height(), qPrintable(widget->objectName()));
        ++checked;
    }
    QCOMPARE(checked, 11);
}

void TestSettingsDialog::fixedLineFormat()
{
    SettingsDialog dialog;
    auto *rates = child<QComboBox>(dialog, "baudRateBox");
    QCOMPARE(rates->count(), 8);
    for (int i = 0; i < rates->count(); ++i) {
        QCOMPARE(rates->itemText(i), QString::number(BaudRateTable.at(i)));
        QCOMPARE(rates->itemData(i).toInt(), BaudRateTable.at(i));
    }
    QCOMPARE(labelText(dialog, "dataBitsLabel"), QStringLiteral("Data bits:        8"));
    QCOMPARE(labelText(dialog, "parityLabel"), QStringLiteral("Parity:             None"));
    QCOMPARE(labelText(dialog, "stopBitsLabel"), QStringLiteral("Stop bits:        1"));
}

void TestSettingsDialog::portsListedWithDetails()
{
    SettingsDialog dialog;
    dialog.fillPortsInfo({port("ttyUSB0"), {"cu.x", "", "", "", "/dev/cu.x", 0, 0},
                          port("ttyUSB1", "C232HM-DDHSL-0"), port("ttyUSB2", "c232hm cable"),
                          port("ttyACM0")});

    auto *ports = child<QComboBox>(dialog, "serialPortInfoListBox");
    QCOMPARE(ports->count(), 3);
    QCOMPARE(ports->itemText(0), QStringLiteral("ttyUSB0"));
    QCOMPARE(ports->itemText(1), QStringLiteral("ttyUSB2"));
    QCOMPARE(ports->itemText(2), QStringLiteral("ttyACM0"));
    QCOMPARE(ports->itemData(0).toStringList(),
             (QStringList{"ttyUSB0", "USB Serial", "Maker", "SN1", "/dev/ttyUSB0", "403", "6001"}));
    QVERIFY(child<QPushButton>(dialog, "applyButton")->isEnabled());
    QVERIFY(child<QPushButton>(dialog, "pushButtonAutoDetect")->isEnabled());

    ports->setCurrentIndex(2);
    QCOMPARE(labelText(dialog, "descriptionLabel"), QStringLiteral("Description:     USB Serial"));
    QCOMPARE(labelText(dialog, "manufacturerLabel"), QStringLiteral("Manufacturer: Maker"));
    QCOMPARE(labelText(dialog, "serialNumberLabel"), QStringLiteral("Serial number: SN1"));
    QCOMPARE(labelText(dialog, "pathLabel"), QStringLiteral("Location:        /dev/ttyACM0"));
}

// A port the host reports without any details shows placeholders, not the previous port's texts.
void TestSettingsDialog::portWithoutDetailsShowsPlaceholders()
{
    SettingsDialog dialog;
    dialog.fillPortsInfo({port("ttyUSB0")});
    QCOMPARE(labelText(dialog, "manufacturerLabel"), QStringLiteral("Manufacturer: Maker"));

    dialog.fillPortsInfo({{"ttyS4", QString(), QString(), QString(), "/dev/ttyS4", 0, 0}});
    QCOMPARE(labelText(dialog, "descriptionLabel"), QStringLiteral("Description:     N/A"));
    QCOMPARE(labelText(dialog, "manufacturerLabel"), QStringLiteral("Manufacturer: N/A"));
    QCOMPARE(labelText(dialog, "serialNumberLabel"), QStringLiteral("Serial number: N/A"));
    QCOMPARE(labelText(dialog, "pathLabel"), QStringLiteral("Location:        /dev/ttyS4"));

    // Details missing from the item altogether read as unknown too.
    auto *ports = child<QComboBox>(dialog, "serialPortInfoListBox");
    ports->setItemData(0, QStringList{"ttyS4"});
    dialog.showPortInfo(0);
    QCOMPARE(labelText(dialog, "pathLabel"), QStringLiteral("Location:        N/A"));
}

void TestSettingsDialog::emptyPortListClearsDetails()
{
    SettingsDialog dialog;
    dialog.fillPortsInfo({port("ttyUSB0")});
    dialog.updateSettings();
    QCOMPARE(dialog.settings().portName, QStringLiteral("ttyUSB0"));

    dialog.fillPortsInfo({});
    QCOMPARE(child<QComboBox>(dialog, "serialPortInfoListBox")->count(), 0);
    QVERIFY(!child<QPushButton>(dialog, "applyButton")->isEnabled());
    QVERIFY(!child<QPushButton>(dialog, "pushButtonAutoDetect")->isEnabled());
    QCOMPARE(labelText(dialog, "descriptionLabel"), QStringLiteral("Description:"));
    QCOMPARE(labelText(dialog, "manufacturerLabel"), QStringLiteral("Manufacturer:"));
    QCOMPARE(labelText(dialog, "serialNumberLabel"), QStringLiteral("Serial number:"));
    QCOMPARE(labelText(dialog, "pathLabel"), QStringLiteral("Path:"));
    // The vanished port leaves the record but not the store.
    QCOMPARE(dialog.settings().portName, QString());
    QCOMPARE(readStore("portName").toString(), QStringLiteral("ttyUSB0"));
}

void TestSettingsDialog::savedPortSelected()
{
    SettingsDialog dialog;
    dialog.currentSettings()->portName = QStringLiteral("ttyUSB1");
    dialog.fillPortsInfo(threePorts());
    auto *ports = child<QComboBox>(dialog, "serialPortInfoListBox");
    QCOMPARE(ports->currentText(), QStringLiteral("ttyUSB1"));
    QCOMPARE(dialog.settings().portName, QStringLiteral("ttyUSB1"));

    // Names are compared with letter case.
    dialog.currentSettings()->portName = QStringLiteral("TTYUSB1");
    dialog.fillPortsInfo(threePorts());
    QCOMPARE(dialog.settings().portName, QString());
    QCOMPARE(ports->currentText(), QStringLiteral("ttyUSB0"));
}

void TestSettingsDialog::autoDetectEmitsPortsAndCombinations()
{
    SettingsDialog dialog;
    dialog.fillPortsInfo(threePorts());
    const QVariant storedPort = readStore("portName");
    QSignalSpy detect(&dialog, &SettingsDialog::signalSetAutoDetect);
    dialog.show();

    child<QPushButton>(dialog, "pushButtonAutoDetect")->click();

    QCOMPARE(detect.count(), 1);
    QCOMPARE(detect.at(0).at(0).value<QList<QString>>(), (QList<QString>{"ttyUSB0", "ttyUSB1", "ttyACM0"}));
    QCOMPARE(detect.at(0).at(1).toInt(), 24);
    QVERIFY(!dialog.settingsChanged());
    QVERIFY(dialog.isHidden());
    QCOMPARE(readStore("portName"), storedPort);
}

void TestSettingsDialog::autoDetectWithoutPorts()
{
    SettingsDialog dialog;
    dialog.fillPortsInfo({});
    QSignalSpy detect(&dialog, &SettingsDialog::signalSetAutoDetect);
    dialog.show();

    MessageBoxCatcher box;
    box.arm();
    QMetaObject::invokeMethod(&dialog, "on_pushButtonAutoDetect_clicked");

    QCOMPARE(box.title, QStringLiteral("Critical Error 101"));
    QCOMPARE(box.text, QStringLiteral("No valid COM Port found!\r\nRequested action aborted!"));
    QCOMPARE(detect.count(), 0);
    QVERIFY(dialog.settingsChanged());
    QVERIFY(dialog.isHidden());
}

void TestSettingsDialog::applySavesAndEmits()
{
    SettingsDialog dialog;
    dialog.fillPortsInfo(threePorts());
    dialog.clearSettingsChanged();
    QSignalSpy statistics(&dialog, &SettingsDialog::signalSetStatisticsTime);
    QSignalSpy theme(&dialog, &SettingsDialog::signalUpdateChartTheme);
    child<QComboBox>(dialog, "serialPortInfoListBox")->setCurrentIndex(2);
    child<QComboBox>(dialog, "baudRateBox")->setCurrentIndex(3);
    child<QComboBox>(dialog, "themeComboBox")->setCurrentIndex(5);
    theme.clear();
    dialog.show();

    child<QPushButton>(dialog, "applyButton")->click();

    QCOMPARE(readStore("portName").toString(), QStringLiteral("ttyACM0"));
    QCOMPARE(readStore("baudRate").toInt(), 38400);
    QCOMPARE(readStore("stringBaudRate").toString(), QStringLiteral("38400"));
    QCOMPARE(readStore("chartTheme").toInt(), 5);
    QVERIFY(dialog.settingsChanged());
    QCOMPARE(statistics.count(), 1);
    QCOMPARE(statistics.at(0).at(0).toInt(), 1);
    QCOMPARE(theme.count(), 1);
    QCOMPARE(theme.at(0).at(0).value<QChart::ChartTheme>(), QChart::ChartThemeHighContrast);
    QVERIFY(dialog.isHidden());
}

void TestSettingsDialog::applyWithoutPorts()
{
    SettingsDialog dialog;
    dialog.fillPortsInfo({});
    dialog.clearSettingsChanged();
    QSignalSpy statistics(&dialog, &SettingsDialog::signalSetStatisticsTime);
    QSignalSpy theme(&dialog, &SettingsDialog::signalUpdateChartTheme);
    dialog.show();

    MessageBoxCatcher box;
    box.arm();
    dialog.apply();

    QCOMPARE(box.title, QStringLiteral("Critical Error 100"));
    QCOMPARE(box.text, QStringLiteral("No valid COM Port found!\r\nRequested action aborted!"));
    QVERIFY(!dialog.settingsChanged());
    QCOMPARE(statistics.count(), 1);
    QCOMPARE(theme.count(), 1);
    QCOMPARE(theme.at(0).at(0).value<QChart::ChartTheme>(), QChart::ChartThemeBlueCerulean);
    QVERIFY(dialog.isHidden());
}

void TestSettingsDialog::themeBoxEmitsAtOnce()
{
    SettingsDialog dialog;
    QSignalSpy theme(&dialog, &SettingsDialog::signalUpdateChartTheme);

    child<QComboBox>(dialog, "themeComboBox")->setCurrentIndex(2);

    QCOMPARE(theme.count(), 1);
    QCOMPARE(theme.at(0).at(0).value<QChart::ChartTheme>(), QChart::ChartThemeDark);
    QCOMPARE(dialog.settings().chartTheme, 1);
    dialog.close();
    QCOMPARE(readStore("chartTheme").toInt(), 1);
}

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
