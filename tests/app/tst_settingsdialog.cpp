#include "ModalAnswers.h"
#include "SettingsDialog.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

namespace {

// The store's keys, in the order the store lists them.
const QStringList StoreKeys{"DataDisplayFlag", "baudRate", "chartTheme", "dataBits", "fileName", "flowControl",
                            "parity", "portName", "statisticsTime", "stopBits", "stringBaudRate", "stringDataBits",
                            "stringFlowControl", "stringParity", "stringStopBits", "timeSpan"};

// The settings store, at the group the dialog keeps its keys in.
struct Store : QSettings
{
    Store() : QSettings(SettingsDialog::StoreOrganisation, SettingsDialog::StoreApplication)
    {
        beginGroup(SettingsDialog::StoreGroup);
    }
};

// The record's fields in key order.
QVariantList fields(const UserSettingsType &s)
{
    return {s.DataDisplayFlag, s.baudRate, s.chartTheme, s.dataBits, s.fileName, s.flowControl, s.parity,
            s.portName, s.statisticsTime, s.stopBits, s.stringBaudRate, s.stringDataBits, s.stringFlowControl,
            s.stringParity, s.stringStopBits, s.timeSpan};
}

// The stored values in key order, each converted to the type of its counterpart in like.
QVariantList storeValues(const QVariantList &like)
{
    QVariantList values;
    const Store store;
    for (qsizetype i = 0; i < StoreKeys.size(); ++i) {
        values.append(store.value(StoreKeys.at(i)));
        values.last().convert(like.at(i).metaType());
    }
    return values;
}

SerialPortEntry port(const QString &name, const QString &description = QStringLiteral("USB Serial"))
{
    return {name, description, QStringLiteral("Maker"), QStringLiteral("SN1"), "/dev/" + name, 0x0403, 0x6001};
}

QStringList detailTexts(const QDialog &dialog)
{
    QStringList texts;
    for (const char *name : {"descriptionLabel", "manufacturerLabel", "serialNumberLabel", "pathLabel"})
        texts << dialog.findChild<QLabel *>(name)->text().simplified();
    return texts;
}

} // namespace

class TestSettingsDialog : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_storeDir;
    std::unique_ptr<ModalAnswers> m_modal;

private slots:
    void init()
    {
        // A slot named for an object or signal the form lacks is left unconnected.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("No matching signal")));
        // Every case starts with an empty store of its own.
        m_storeDir = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_storeDir->path());
        m_modal = std::make_unique<ModalAnswers>();
    }

    // The first start writes every key; the record then goes to the store and back unchanged.
    void storeRoundTrip()
    {
        SettingsDialog dialog;
        const auto *ports = dialog.findChild<QComboBox *>("serialPortInfoListBox");
        QCOMPARE(Store().childKeys(), StoreKeys);
        const QVariantList firstStart{QBitArray(), 115200, 1, 8, QString(), 0, 0, ports->itemText(0), 1, 1,
                                      "115200", "8", "No", "None", "1", 0.0};
        QCOMPARE(storeValues(firstStart), firstStart);

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

    void savedChoices_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("saved");
        QTest::addColumn<QString>("shown");
        QTest::newRow("baud 128000") << "stringBaudRate" << QVariant("128000") << "128000";
        QTest::newRow("unknown baud") << "stringBaudRate" << QVariant("12345") << "115200";
        QTest::newRow("empty baud") << "stringBaudRate" << QVariant("") << "115200";
        QTest::newRow("garbage baud") << "stringBaudRate" << QVariant("\x01\xff baud") << "115200";
        QTest::newRow("theme 4") << "chartTheme" << QVariant(4) << "Blue NCS";
        QTest::newRow("theme beyond the list") << "chartTheme" << QVariant(7) << "Blue Cerulean";
        QTest::newRow("negative theme") << "chartTheme" << QVariant(-1) << "Blue Cerulean";
        QTest::newRow("theme not a number") << "chartTheme" << QVariant("dark") << "Light";
    }

    // A start shows the saved choice, or the default for one that is none of the items, and saves what it shows.
    void savedChoices()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, saved);
        Store().setValue(key, saved);
        SettingsDialog dialog;
        const bool theme = key == "chartTheme";
        const auto *box = dialog.findChild<QComboBox *>(theme ? "themeComboBox" : "baudRateBox");
        QTEST(box->currentText(), "shown");
        QCOMPARE(Store().value(key).toString(), (theme ? box->currentData() : box->currentText()).toString());
    }

    // The saved port is picked by its exact name, or leaves the record; each port shows its own details, one
    // the host reports without them shows "N/A", and an emptied list selects nothing, so the details stay.
    void portList()
    {
        SettingsDialog dialog;
        const QList<SerialPortEntry> ports{port("ttyUSB0"), port("ttyUSB1"), port("ttyACM0")};
        dialog.currentSettings()->portName = QStringLiteral("ttyUSB1");
        dialog.fillPortsInfo(ports);
        QCOMPARE(dialog.findChild<QComboBox *>("serialPortInfoListBox")->currentText(), QStringLiteral("ttyUSB1"));
        QCOMPARE(detailTexts(dialog), (QStringList{"Description: USB Serial", "Manufacturer: Maker",
                                                   "Serial number: SN1", "Location: /dev/ttyUSB1"}));
        dialog.currentSettings()->portName = QStringLiteral("TTYUSB1");
        dialog.fillPortsInfo(ports);
        QCOMPARE(dialog.settings().portName, QString());

        dialog.fillPortsInfo({{"ttyS4", QString(), QString(), QString(), "/dev/ttyS4", 0, 0}});
        QCOMPARE(detailTexts(dialog), (QStringList{"Description: N/A", "Manufacturer: N/A", "Serial number: N/A",
                                                   "Location: /dev/ttyS4"}));
        dialog.fillPortsInfo({});
        QCOMPARE(detailTexts(dialog), (QStringList{"Description: N/A", "Manufacturer: N/A", "Serial number: N/A",
                                                   "Location: /dev/ttyS4"}));
        QVERIFY(!dialog.findChild<QPushButton *>("applyButton")->isEnabled());
        QVERIFY(!dialog.findChild<QPushButton *>("pushButtonAutoDetect")->isEnabled());
    }

    // What the host reports of a port is shown as it stands, markup and all, never read as markup.
    void portDetailsShownAsText()
    {
        SettingsDialog dialog;
        dialog.fillPortsInfo({{"ttyUSB0", "<h1>Sensor</h1>", "A & B <i>tools</i>", "<b>7</b>", "/dev/ttyUSB0", 0, 0}});
        QCOMPARE(detailTexts(dialog), (QStringList{"Description: <h1>Sensor</h1>", "Manufacturer: A & B <i>tools</i>",
                                                   "Serial number: <b>7</b>", "Location: /dev/ttyUSB0"}));
        for (const char *name : {"descriptionLabel", "manufacturerLabel", "serialNumberLabel"}) {
            const auto *label = dialog.findChild<QLabel *>(name);
            QLabel plain;
            plain.setTextFormat(Qt::PlainText);
            plain.setFont(label->font());
            plain.setText(label->text());
            QCOMPARE(label->sizeHint(), plain.sizeHint());
        }
    }

    // A unit paired over Bluetooth is offered with the wired ports; a stored choice of it stays.
    void bluetoothPortStaysChosen()
    {
        SettingsDialog dialog;
        dialog.currentSettings()->portName = QStringLiteral("rfcomm0");
        dialog.fillPortsInfo({port("ttyS0"), port("rfcomm0", QString()), port("ttyUSB0", "C232HM-EDHSL-0")});
        const auto *box = dialog.findChild<QComboBox *>("serialPortInfoListBox");
        QCOMPARE(box->count(), 2);
        QCOMPARE(box->currentText(), QStringLiteral("rfcomm0"));
        QCOMPARE(dialog.settings().portName, QStringLiteral("rfcomm0"));
        QCOMPARE(detailTexts(dialog).last(), QStringLiteral("Location: /dev/rfcomm0"));
    }

    void autoDetectEmitsPortsAndCombinations()
    {
        SettingsDialog dialog;
        dialog.fillPortsInfo({port("ttyUSB0"), port("ttyUSB1", "C232HM"), port("ttyUSB2"), port("ttyACM0")});
        QSignalSpy detect(&dialog, &SettingsDialog::signalSetAutoDetect);
        dialog.show();
        dialog.findChild<QPushButton *>("pushButtonAutoDetect")->click();
        QCOMPARE(detect.count(), 1);
        QCOMPARE(detect.at(0).at(0).value<QList<QString>>(), (QList<QString>{"ttyUSB0", "ttyUSB2", "ttyACM0"}));
        QCOMPARE(detect.at(0).at(1).toInt(), 3 * 8);
        QVERIFY(!dialog.settingsChanged() && dialog.isHidden());
    }

    void applySavesAndEmits()
    {
        SettingsDialog dialog;
        dialog.fillPortsInfo({port("ttyUSB0"), port("ttyACM0")});
        dialog.clearSettingsChanged();
        dialog.findChild<QComboBox *>("serialPortInfoListBox")->setCurrentIndex(1);
        dialog.findChild<QComboBox *>("baudRateBox")->setCurrentText(QStringLiteral("38400"));
        QSignalSpy statistics(&dialog, &SettingsDialog::signalSetStatisticsTime);
        QSignalSpy theme(&dialog, &SettingsDialog::signalUpdateChartTheme);
        dialog.show();
        dialog.findChild<QPushButton *>("applyButton")->click();
        const Store store;
        QCOMPARE(QStringList({store.value("portName").toString(), store.value("baudRate").toString()}),
                 QStringList({"ttyACM0", "38400"}));
        QVERIFY(dialog.settingsChanged() && dialog.isHidden() && statistics.count() == 1 && theme.count() == 1);
    }

    // The box reports a choice at once, but never while it is emptied for a refill.
    void themeBoxEmitsOnlyRealThemes()
    {
        SettingsDialog dialog;
        auto *box = dialog.findChild<QComboBox *>("themeComboBox");
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
};

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
