#include "SettingsDialog.h"
#include "ui_SettingsDialog.h"

#include <QLocale>
#include <QMessageBox>
#include <QSettings>

#include <array>

namespace {

// The line format is fixed at 8 data bits, no parity, one stop bit, no flow control.
constexpr int FixedDataBits = 8;
constexpr int FixedParity = 0;
constexpr int FixedStopBits = 1;
constexpr int FixedFlowControl = 0;

constexpr int DefaultBaudIndex = 5;  // "115200"
constexpr int DefaultThemeIndex = 1; // "Blue Cerulean"

const QString NotAvailable = QStringLiteral("N/A");

struct ThemeItem
{
    const char *name;
    QChart::ChartTheme theme;
};

const std::array<ThemeItem, 7> ThemeItems{{
    {"Light", QChart::ChartThemeLight},
    {"Blue Cerulean", QChart::ChartThemeBlueCerulean},
    {"Dark", QChart::ChartThemeDark},
    {"Brown Sand", QChart::ChartThemeBrownSand},
    {"Blue NCS", QChart::ChartThemeBlueNcs},
    {"High Contrast", QChart::ChartThemeHighContrast},
    {"Blue Icy", QChart::ChartThemeBlueIcy},
}};

// Entry of a port's detail list, or "N/A" where the list is too short.
QString detail(const QStringList &details, int entry)
{
    return entry < details.size() ? details.at(entry) : NotAvailable;
}

} // namespace

const QString SettingsDialog::StoreOrganisation = QStringLiteral("Velto_IMU_TERMINAL");
const QString SettingsDialog::StoreApplication = QStringLiteral("IMU_Configuration");
const QString SettingsDialog::StoreGroup = QStringLiteral("userCurrentSettings");

SettingsDialog::SettingsDialog(QWidget *parent)
    : QDialog(parent)
    , m_ui(new Ui::SettingsDialog)
    , m_dialogFont(QStringLiteral("Open Sans"), 12, QFont::Medium)
{
    m_ui->setupUi(this);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    setFont(m_dialogFont);
    m_ui->parametersBox->setFont(m_dialogFont);
    m_ui->groupBoxAction->setFont(m_dialogFont);
    m_ui->groupBoxChartsTheme->setFont(m_dialogFont);

    connect(m_ui->applyButton, &QPushButton::clicked, this, &SettingsDialog::apply);

    loadSettings();
    fillPortsParameters();
    fillPortsInfo();
    populateThemeBox();
    updateSettings();
    fitToFont();
}

// The form's sizes suit a screen where a point is a pixel. Where points are
// larger, let the two boxes and the dialog grow so that no text is clipped.
void SettingsDialog::fitToFont()
{
    for (QComboBox *box : {m_ui->serialPortInfoListBox, m_ui->baudRateBox})
        box->setMaximumHeight(qMax(box->maximumHeight(), box->sizeHint().height()));
    resize(size().expandedTo(sizeHint()).boundedTo(maximumSize()));
}

SettingsDialog::~SettingsDialog()
{
    delete m_ui;
}

UserSettingsType SettingsDialog::settings() const
{
    return m_currentSettings;
}

UserSettingsType *SettingsDialog::currentSettings()
{
    return &m_currentSettings;
}

bool SettingsDialog::settingsChanged() const
{
    return m_settingsChanged;
}

void SettingsDialog::clearSettingsChanged()
{
    m_settingsChanged = false;
}

void SettingsDialog::loadSettings()
{
    UserSettingsType &s = m_currentSettings;
    QSettings store(StoreOrganisation, StoreApplication);
    store.beginGroup(StoreGroup);
    s.fileName = store.value("fileName", s.fileName).toString();
    s.portName = store.value("portName", s.portName).toString();
    s.baudRate = store.value("baudRate", s.baudRate).toInt();
    s.stringBaudRate = store.value("stringBaudRate", s.stringBaudRate).toString();
    s.dataBits = store.value("dataBits", s.dataBits).toInt();
    s.stringDataBits = store.value("stringDataBits", s.stringDataBits).toString();
    s.parity = store.value("parity", s.parity).toInt();
    s.stringParity = store.value("stringParity", s.stringParity).toString();
    s.stopBits = store.value("stopBits", s.stopBits).toInt();
    s.stringStopBits = store.value("stringStopBits", s.stringStopBits).toString();
    s.flowControl = store.value("flowControl", s.flowControl).toInt();
    s.stringFlowControl = store.value("stringFlowControl", s.stringFlowControl).toString();
    s.statisticsTime = store.value("statisticsTime", s.statisticsTime).toInt();
    s.timeSpan = store.value("timeSpan", s.timeSpan).toDouble();
    s.DataDisplayFlag = store.value("DataDisplayFlag", s.DataDisplayFlag).toBitArray();
    s.chartTheme = store.value("chartTheme", s.chartTheme).toInt();
    store.endGroup();
}

void SettingsDialog::saveSettings()
{
    const UserSettingsType &s = m_currentSettings;
    QSettings store(StoreOrganisation, StoreApplication);
    store.beginGroup(StoreGroup);
    store.setValue("fileName", s.fileName);
    store.setValue("portName", s.portName);
    store.setValue("baudRate", s.baudRate);
    store.setValue("stringBaudRate", s.stringBaudRate);
    store.setValue("dataBits", s.dataBits);
    store.setValue("stringDataBits", s.stringDataBits);
    store.setValue("parity", s.parity);
    store.setValue("stringParity", s.stringParity);
    store.setValue("stopBits", s.stopBits);
    store.setValue("stringStopBits", s.stringStopBits);
    store.setValue("flowControl", s.flowControl);
    store.setValue("stringFlowControl", s.stringFlowControl);
    store.setValue("statisticsTime", s.statisticsTime);
    store.setValue("timeSpan", s.timeSpan);
    store.setValue("DataDisplayFlag", s.DataDisplayFlag);
    store.setValue("chartTheme", s.chartTheme);
    store.endGroup();
}

void SettingsDialog::fillPortsParameters()
{
    QComboBox *box = m_ui->baudRateBox;
    box->clear();
    for (const int32_t rate : BaudRateTable)
        box->addItem(QString::number(rate), rate);
    const int index = box->findText(m_currentSettings.stringBaudRate,
                                    Qt::MatchExactly | Qt::MatchCaseSensitive);
    box->setCurrentIndex(index < 0 ? DefaultBaudIndex : index);
    box->setFont(m_dialogFont);

    m_ui->dataBitsLabel->setText(tr("Data bits: %1").arg(QStringLiteral("       8")));
    m_ui->parityLabel->setText(tr("Parity: %1").arg(QStringLiteral("            None")));
    m_ui->stopBitsLabel->setText(tr("Stop bits: %1").arg(QStringLiteral("       1")));
    m_ui->dataBitsLabel->setFont(m_dialogFont);
    m_ui->parityLabel->setFont(m_dialogFont);
    m_ui->stopBitsLabel->setFont(m_dialogFont);
}

void SettingsDialog::fillPortsInfo()
{
    fillPortsInfo(SerialPortFilter::availablePorts());
}

void SettingsDialog::fillPortsInfo(const QList<SerialPortEntry> &ports)
{
    QComboBox *box = m_ui->serialPortInfoListBox;
    box->clear();
    for (const SerialPortEntry &port : ports) {
        if (SerialPortFilter::isListed(port.systemLocation, port.description))
            box->addItem(port.portName, SerialPortFilter::portDetails(port));
    }

    const bool anyPort = box->count() > 0;
    m_ui->applyButton->setEnabled(anyPort);
    m_ui->pushButtonAutoDetect->setEnabled(anyPort);

    const int index = box->findText(m_currentSettings.portName,
                                    Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        m_currentSettings.portName.clear();
    else
        box->setCurrentIndex(index);
}

void SettingsDialog::showPortInfo(int index)
{
    if (index < 0)
        return;
    const QStringList details = m_ui->serialPortInfoListBox->itemData(index).toStringList();
    m_ui->descriptionLabel->setText(tr("Description: %1").arg(QStringLiteral("    ") + detail(details, 1)));
    m_ui->manufacturerLabel->setText(tr("Manufacturer: %1").arg(detail(details, 2)));
    m_ui->serialNumberLabel->setText(tr("Serial number: %1").arg(detail(details, 3)));
    m_ui->pathLabel->setText(tr("Location: %1").arg(QStringLiteral("       ") + detail(details, 4)));
    m_ui->descriptionLabel->setFont(m_dialogFont);
    m_ui->manufacturerLabel->setFont(m_dialogFont);
    m_ui->serialNumberLabel->setFont(m_dialogFont);
    m_ui->pathLabel->setFont(m_dialogFont);
}

void SettingsDialog::populateThemeBox()
{
    QComboBox *box = m_ui->themeComboBox;
    box->clear();
    for (const ThemeItem &item : ThemeItems)
        box->addItem(QString::fromLatin1(item.name), int(item.theme));
    const int index = box->findData(m_currentSettings.chartTheme);
    box->setCurrentIndex(index < 0 ? DefaultThemeIndex : index);

    m_ui->labelStatisticsTime->setText(
        tr("Statistics Window Width[min] : <b><font color='gray'>%1</font></b>")
            .arg(m_currentSettings.statisticsTime));
    m_ui->horizontalSliderStatisticsTime->setEnabled(false);
    m_ui->horizontalSliderStatisticsTime->hide();
    m_ui->labelStatisticsTime->setEnabled(false);
    m_ui->labelStatisticsTime->hide();
}

void SettingsDialog::updateSettings()
{
    UserSettingsType &s = m_currentSettings;
    const QString port = m_ui->serialPortInfoListBox->currentText();
    if (!port.isEmpty())
        s.portName = port;
    s.baudRate = m_ui->baudRateBox->currentData().toInt();
    s.stringBaudRate = m_ui->baudRateBox->currentText();
    s.dataBits = FixedDataBits;
    s.stringDataBits = QStringLiteral("8");
    s.parity = FixedParity;
    s.stringParity = QStringLiteral("None");
    s.stopBits = FixedStopBits;
    s.stringStopBits = QStringLiteral("1");
    s.flowControl = FixedFlowControl;
    s.stringFlowControl = QStringLiteral("No");
    s.chartTheme = m_ui->themeComboBox->currentData().toInt();
    s.statisticsTime = m_ui->horizontalSliderStatisticsTime->value();
    saveSettings();
    m_settingsChanged = true;
}

void SettingsDialog::apply()
{
    if (m_ui->serialPortInfoListBox->currentText().isEmpty())
        showNoPortError(tr("Critical Error 100"));
    else
        updateSettings();
    emit signalSetStatisticsTime(m_currentSettings.statisticsTime);
    emit signalUpdateChartTheme(selectedTheme());
    hide();
    close();
}

void SettingsDialog::on_pushButtonAutoDetect_clicked()
{
    const QComboBox *ports = m_ui->serialPortInfoListBox;
    if (ports->count() == 0) {
        showNoPortError(tr("Critical Error 101"));
    } else {
        QList<QString> names;
        for (int i = 0; i < ports->count(); ++i)
            names.append(ports->itemText(i));
        emit signalSetAutoDetect(names, ports->count() * m_ui->baudRateBox->count());
        m_settingsChanged = false;
    }
    hide();
    close();
}

void SettingsDialog::on_serialPortInfoListBox_currentIndexChanged(int index)
{
    showPortInfo(index);
}

void SettingsDialog::on_horizontalSliderStatisticsTime_valueChanged(int value)
{
    m_ui->labelStatisticsTime->setText(
        tr("Statistics Window Width[min] : <b><font color='Blue'>%1</font></b>").arg(value));
    m_currentSettings.statisticsTime = value;
}

void SettingsDialog::on_themeComboBox_currentIndexChanged(int index)
{
    // Emptying the box while it is refilled selects nothing: no theme to report.
    if (index < 0)
        return;
    emit signalUpdateChartTheme(selectedTheme());
}

void SettingsDialog::showNoPortError(const QString &title)
{
    QMessageBox::critical(this, title,
                          QStringLiteral("No valid COM Port found!\r\nRequested action aborted!"),
                          QMessageBox::Ok);
}

QChart::ChartTheme SettingsDialog::selectedTheme() const
{
    return static_cast<QChart::ChartTheme>(m_ui->themeComboBox->currentData().toInt());
}
