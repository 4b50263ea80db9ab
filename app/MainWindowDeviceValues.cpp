// Device values: the worker's reports of the device's settings written back
// into the widgets of the settings panel.

#include "MainWindow.h"
#include "ui_mainwindow.h"

#include "CommandTable.h"
#include "SendableSettings.h"
#include "SettingsValues.h"
#include "Worker.h"

#include <QDoubleSpinBox>

namespace {
constexpr int AddressParts = 4;
constexpr int AddressPartsWithHead = 5;
const char UnknownRate[] = "unknown";

// The selection of a whole number of 1 or more; nothing otherwise.
bool isFrequencyItem(const QString &text)
{
    const std::optional<uint32_t> value = SettingsValues::decimalField(text);
    return value && *value >= 1;
}
} // namespace

void MainWindow::m_uiLineEditLocalUdpPortSetText(const QString &text)
{
    ui->lineEditLocalUdpPort->setText(text);
    rememberReportedPort(text, m_localUdpPort);
}

void MainWindow::m_uiLineEditIMUUdpPortSetText(const QString &text)
{
    ui->lineEditIMUUdpPort->setText(text);
    rememberReportedPort(text, m_imuUdpPort);
}

// Only a report that is a port is kept for the settings datagram.
void MainWindow::rememberReportedPort(const QString &text, uint16_t &reported)
{
    reported = SendableSettings::sendablePort(text, reported);
}

// A device that reports no address (all parts "0") keeps the address shown.
void MainWindow::m_uiLineEditIMUIP4SetText(const QList<QByteArray> &parts)
{
    const bool allZero = std::all_of(parts.cbegin(), parts.cend(), [](const QByteArray &part) { return part == "0"; });
    if (parts.isEmpty() || allZero)
        return;
    const QList<QLineEdit *> edits = deviceOctetEdits();
    for (int i = 0; i < AddressParts; ++i)
        edits.at(i)->setText(i < parts.size() ? QString::fromUtf8(parts.at(i)) : QString());
    rememberReportedOctets(edits, m_reportedDeviceOctets);
}

// A serial session starts from the device address the program starts with:
// empty edits, and the settings image's default as the address last reported,
// so that a unit reporting none shows nothing of the last unit's.
void MainWindow::forgetReportedDeviceAddress()
{
    for (QLineEdit *edit : deviceOctetEdits())
        edit->clear();
    m_reportedDeviceOctets = SendableSettings::octetTexts(AddressDefaults::Device);
}

// A five-part report carries a head before the four octets.
void MainWindow::m_uiLineEditDstIP4SetText(const QList<QByteArray> &parts)
{
    const QList<QByteArray> octets = parts.size() == AddressPartsWithHead ? parts.mid(1) : parts;
    const QList<QLineEdit *> edits = destinationOctetEdits();
    for (int i = 0; i < AddressParts; ++i)
        edits.at(i)->setText(i < octets.size() ? QString::fromUtf8(octets.at(i)) : QString());
    rememberReportedOctets(edits, m_reportedDestinationOctets);
}

// Only a report that is an address is kept for the settings datagram.
void MainWindow::rememberReportedOctets(const QList<QLineEdit *> &edits, QStringList &reported)
{
    const QStringList shown = editTexts(edits);
    if (SettingsValues::isValidAddress(shown))
        reported = shown;
}

void MainWindow::m_uiIMUfreqBoxSetIndex(const QString &text)
{
    const int index = ui->IMUfreqBox->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) {
        ui->IMUfreqBox->setCurrentIndex(index);
        return;
    }
    if (!isFrequencyItem(text))
        return;
    ui->IMUfreqBox->addItem(text, int(*SettingsValues::decimalField(text)));
    ui->IMUfreqBox->setCurrentIndex(ui->IMUfreqBox->count() - 1);
}

QList<QComboBox *> MainWindow::baudRateBoxes() const
{
    return {ui->RS232BaudRateBox, ui->RS422BaudRateBox, ui->GPSRS232BaudRateBox};
}

// A rate the list does not hold shows as "unknown", never as a rate the device does not use.
void MainWindow::selectBaudRate(QComboBox *box, const QString &rate)
{
    int index = box->findText(rate, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        index = box->findText(QLatin1String(UnknownRate), Qt::MatchExactly | Qt::MatchCaseSensitive);
    box->setCurrentIndex(index);
}

void MainWindow::m_uiBaudRateBoxSetIndex(int which, const QByteArray &rate)
{
    const QList<QComboBox *> boxes = baudRateBoxes();
    if (which >= 0 && which < Worker::ReportBoxes) {
        selectBaudRate(boxes.at(which), QString::fromUtf8(rate));
        return;
    }
    if (which != Worker::AllBoxes)
        return;
    for (int i = 0; i < Worker::ReportBoxes; ++i) {
        const uint32_t code = UserSettings.baudCode[i];
        selectBaudRate(boxes.at(i), code < BaudRateTable.size() ? QString::number(BaudRateTable[code]) : QString());
    }
}

// The device's GPS input has no widget on the panel.
void MainWindow::radioButtonGPS(int)
{
}

QList<QDoubleSpinBox *> MainWindow::offsetSpinBoxes() const
{
    return {ui->doubleSpinBoxRof, ui->doubleSpinBoxPof, ui->doubleSpinBoxYof};
}

void MainWindow::m_uiDoubleSpinBoxOffsetSetValue(int which, double value)
{
    const QList<QDoubleSpinBox *> boxes = offsetSpinBoxes();
    if (which >= 0 && which < Worker::ReportBoxes) {
        boxes.at(which)->setValue(value);
    } else if (which == Worker::AllBoxes) {
        boxes.at(0)->setValue(UserSettings.rollOffset);
        boxes.at(1)->setValue(UserSettings.pitchOffset);
        boxes.at(2)->setValue(UserSettings.yawOffset);
    }
}

void MainWindow::doubleSpinBoxNorthOffsetSetValue(double value)
{
    ui->doubleSpinBoxNorthOffset->setValue(value);
}

void MainWindow::doubleSpinBoxGaussSetValue(int which, double value)
{
    const QList<QDoubleSpinBox *> boxes{ui->doubleSpinBoxXgauss, ui->doubleSpinBoxYgauss, ui->doubleSpinBoxZgauss};
    if (which >= 0 && which < Worker::ReportBoxes)
        boxes.at(which)->setValue(value);
}

void MainWindow::ProcessIMUFlags(unsigned int flags)
{
    const SettingsValues::FlagBoxes boxes = SettingsValues::flagBoxes(flags);
    ui->checkBoxInvRoll->setChecked(boxes.invertRoll);
    ui->checkBoxInvPitch->setChecked(boxes.invertPitch);
    ui->checkBoxInvYaw->setChecked(boxes.invertYaw);
    ui->checkBoxInvHv->setChecked(boxes.invertHeave);
    ui->checkBoxPositiveYaw->setChecked(boxes.positiveYaw);
    ui->radioButtonDynamicIP->setEnabled(true);
    ui->radioButtonDynamicIP->setChecked(boxes.dynamicAddress);
    for (QLineEdit *edit : deviceOctetEdits())
        edit->setEnabled(!boxes.dynamicAddress);
}
