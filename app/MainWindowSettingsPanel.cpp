// Settings panel: edit handlers of the interface, output-settings and compass
// tabs, their change markers, the three Apply buttons and the read action.

#include "MainWindow.h"
#include "ui_mainwindow.h"

#include "AppLogging.h"
#include "CommandTable.h"
#include "EditTexts.h"
#include "SendableSettings.h"
#include "SettingsValues.h"
#include "Worker.h"

#include <QDebug>
#include <QIntValidator>
#include <QLineEdit>
#include <QMessageBox>

namespace {
const char WrongPortText[] = "Wrong Port Number!";
const char WrongAddressText[] = "Wrong %1 IP Address %2!";
} // namespace

// Baud rates: a box showing "unknown" is no choice of the user, so it marks nothing.
void MainWindow::on_RS232BaudRateBox_currentIndexChanged(int index)
{
    m_markers.m_rs232BaudChanged = index >= 0 && !CommandTable::isUnknownBaudRate(ui->RS232BaudRateBox->itemText(index));
}

void MainWindow::on_RS422BaudRateBox_currentIndexChanged(int index)
{
    m_markers.m_rs422BaudChanged = index >= 0 && !CommandTable::isUnknownBaudRate(ui->RS422BaudRateBox->itemText(index));
}

void MainWindow::on_GPSRS232BaudRateBox_currentIndexChanged(int index)
{
    m_markers.m_gps232BaudChanged =
        index >= 0 && !CommandTable::isUnknownBaudRate(ui->GPSRS232BaudRateBox->itemText(index));
}

void MainWindow::cleanEditInput(QLineEdit *edit, const QString &text)
{
    const QString cleaned = EditTexts::cleanedEditText(text);
    if (cleaned != text)
        edit->setText(cleaned);
}

void MainWindow::addressOctetEdited(QLineEdit *edit, const QString &text, bool &marker)
{
    cleanEditInput(edit, text);
    marker = true;
}

void MainWindow::on_lineEditIMUIP4_0_textEdited(const QString &text)
{
    addressOctetEdited(ui->lineEditIMUIP4_0, text, m_markers.m_imuAddressChanged);
}

void MainWindow::on_lineEditIMUIP4_1_textEdited(const QString &text)
{
    addressOctetEdited(ui->lineEditIMUIP4_1, text, m_markers.m_imuAddressChanged);
}

void MainWindow::on_lineEditIMUIP4_2_textEdited(const QString &text)
{
    addressOctetEdited(ui->lineEditIMUIP4_2, text, m_markers.m_imuAddressChanged);
}

void MainWindow::on_lineEditIMUIP4_3_textEdited(const QString &text)
{
    addressOctetEdited(ui->lineEditIMUIP4_3, text, m_markers.m_imuAddressChanged);
}

void MainWindow::on_lineEditDstIP4_0_textEdited(const QString &text)
{
    addressOctetEdited(ui->lineEditDstIP4_0, text, m_markers.m_dstAddressChanged);
}

void MainWindow::on_lineEditDstIP4_1_textEdited(const QString &text)
{
    addressOctetEdited(ui->lineEditDstIP4_1, text, m_markers.m_dstAddressChanged);
}

void MainWindow::on_lineEditDstIP4_2_textEdited(const QString &text)
{
    addressOctetEdited(ui->lineEditDstIP4_2, text, m_markers.m_dstAddressChanged);
}

void MainWindow::on_lineEditDstIP4_3_textEdited(const QString &text)
{
    addressOctetEdited(ui->lineEditDstIP4_3, text, m_markers.m_dstAddressChanged);
}

void MainWindow::on_lineEditIMUUdpPort_textEdited(const QString &text)
{
    cleanEditInput(ui->lineEditIMUUdpPort, text);
}

void MainWindow::on_lineEditLocalUdpPort_textEdited(const QString &text)
{
    cleanEditInput(ui->lineEditLocalUdpPort, text);
}

// Port check: a text that is no port (a number above 65535, or anything but
// digits) is refused with a message and the edit emptied. An emptied edit
// passes: the Apply leaves it out.
bool MainWindow::portEditAccepted(QLineEdit *edit)
{
    const QString text = edit->text();
    if (text.isEmpty() || SettingsValues::portNumber(text))
        return true;
    edit->clear();
    QMessageBox::critical(this, tr("Error"), tr(WrongPortText));
    return false;
}

void MainWindow::on_lineEditIMUUdpPort_editingFinished()
{
    if (portEditAccepted(ui->lineEditIMUUdpPort))
        m_markers.m_imuPortChanged = true;
}

void MainWindow::on_lineEditLocalUdpPort_editingFinished()
{
    if (!portEditAccepted(ui->lineEditLocalUdpPort))
        return;
    m_markers.m_localPortChanged = true;
    m_markers.m_localPortEdited = true;
}

void MainWindow::on_radioButtonDynamicIP_clicked()
{
    const bool manual = !ui->radioButtonDynamicIP->isChecked();
    for (QLineEdit *edit : deviceOctetEdits())
        edit->setEnabled(manual);
    m_markers.m_imuAddressChanged = true;
}

// "custom" opens the box for a frequency of the user's own, 1 to 500.
void MainWindow::on_IMUfreqBox_currentIndexChanged(int index)
{
    const bool custom = index == 0;
    ui->IMUfreqBox->setEditable(custom);
    if (custom) {
        ui->IMUfreqBox->clearEditText();
        QLineEdit *edit = ui->IMUfreqBox->lineEdit();
        edit->setValidator(new QIntValidator(int(SettingsValues::MinFrequency), int(SettingsValues::MaxFrequency), edit));
    }
    m_markers.m_frequencyChanged = SettingsValues::isFrequencyText(ui->IMUfreqBox->currentText());
}

void MainWindow::on_IMUfreqBox_editTextChanged(const QString &text)
{
    if (!SettingsValues::isFrequencyText(text))
        ui->IMUfreqBox->clearEditText();
}

void MainWindow::on_checkBoxInvRoll_stateChanged(int)
{
    m_markers.m_flagsChanged = true;
}

void MainWindow::on_checkBoxInvPitch_stateChanged(int)
{
    m_markers.m_flagsChanged = true;
}

void MainWindow::on_checkBoxInvYaw_stateChanged(int)
{
    m_markers.m_flagsChanged = true;
}

void MainWindow::on_checkBoxInvHv_stateChanged(int)
{
    m_markers.m_flagsChanged = true;
}

void MainWindow::on_checkBoxPositiveYaw_stateChanged(int)
{
    m_markers.m_flagsChanged = true;
}

void MainWindow::on_doubleSpinBoxRof_editingFinished()
{
    m_markers.m_rollOffsetChanged = true;
}

void MainWindow::on_doubleSpinBoxRof_textChanged(const QString &)
{
    m_markers.m_rollOffsetChanged = true;
}

void MainWindow::on_doubleSpinBoxPof_editingFinished()
{
    m_markers.m_pitchOffsetChanged = true;
}

void MainWindow::on_doubleSpinBoxPof_textChanged(const QString &)
{
    m_markers.m_pitchOffsetChanged = true;
}

void MainWindow::on_doubleSpinBoxYof_editingFinished()
{
    m_markers.m_yawOffsetChanged = true;
}

void MainWindow::on_doubleSpinBoxYof_textChanged(const QString &)
{
    m_markers.m_yawOffsetChanged = true;
}

void MainWindow::on_doubleSpinBoxNorthOffset_editingFinished()
{
    m_markers.m_northOffsetChanged = true;
}

void MainWindow::on_doubleSpinBoxXgauss_editingFinished()
{
    m_markers.m_xGaussChanged = true;
}

void MainWindow::on_doubleSpinBoxYgauss_editingFinished()
{
    m_markers.m_yGaussChanged = true;
}

void MainWindow::on_doubleSpinBoxZgauss_editingFinished()
{
    m_markers.m_zGaussChanged = true;
}

QList<QLineEdit *> MainWindow::deviceOctetEdits() const
{
    return {ui->lineEditIMUIP4_0, ui->lineEditIMUIP4_1, ui->lineEditIMUIP4_2, ui->lineEditIMUIP4_3};
}

QList<QLineEdit *> MainWindow::destinationOctetEdits() const
{
    return {ui->lineEditDstIP4_0, ui->lineEditDstIP4_1, ui->lineEditDstIP4_2, ui->lineEditDstIP4_3};
}

QStringList MainWindow::editTexts(const QList<QLineEdit *> &edits)
{
    QStringList texts;
    for (const QLineEdit *edit : edits)
        texts.append(edit->text());
    return texts;
}

// A changed address goes out only when it is four octets 0 to 255; else the user is told.
bool MainWindow::addressSendable(bool changed, const QList<QLineEdit *> &edits, const QString &name)
{
    const QStringList octets = editTexts(edits);
    if (!changed || SettingsValues::isValidAddress(octets))
        return true;
    QMessageBox::critical(this, tr("Error"), tr(WrongAddressText).arg(name, octets.join(QLatin1Char('.'))));
    return false;
}

// An emptied port edit is no port: it is left out, without a word.
SettingsMarkerMasks::SendableChecks MainWindow::checkChangedValues()
{
    SettingsMarkerMasks::SendableChecks checks;
    checks.deviceAddressSendable = ui->radioButtonDynamicIP->isChecked()
                                   || addressSendable(m_markers.m_imuAddressChanged, deviceOctetEdits(), tr("Device"));
    checks.destinationAddressSendable =
        addressSendable(m_markers.m_dstAddressChanged, destinationOctetEdits(), tr("Destination"));
    checks.deviceUdpPortSendable = SendableSettings::isSendablePort(ui->lineEditIMUUdpPort->text());
    checks.localUdpPortSendable = SendableSettings::isSendablePort(ui->lineEditLocalUdpPort->text());
    return checks;
}

void MainWindow::emitInterfaceValues(uint32_t mask)
{
    SettingsValues::InterfaceValues values;
    values.rs232Baud = ui->RS232BaudRateBox->currentText();
    values.rs422Baud = ui->RS422BaudRateBox->currentText();
    values.gps232Baud = ui->GPSRS232BaudRateBox->currentText();
    values.dynamicAddress = ui->radioButtonDynamicIP->isChecked();
    values.deviceOctets = editTexts(deviceOctetEdits());
    values.destinationOctets = editTexts(destinationOctetEdits());
    values.deviceUdpPort = ui->lineEditIMUUdpPort->text();
    values.localUdpPort = ui->lineEditLocalUdpPort->text();
    emit signalSendIMUsettingsFlag(int(mask), CommandTable::InterfaceTab, SettingsValues::interfaceValuesText(values));
}

void MainWindow::on_pushButtonApplyChangesIMU_clicked()
{
    const SettingsMarkerMasks::SendableChecks checks = checkChangedValues();
    const uint32_t mask = SettingsMarkerMasks::takeInterfaceMask(m_markers, checks);
    qCDebug(lcApp) << Q_FUNC_INFO << "| Line :" << __LINE__ << ":" << "$mask#" << Qt::hex << mask;
    if (mask != 0) {
        enableAllButtons(false);
        ApplyEthernetSettings(CommandTable::InterfaceTab);
        if (serialInUse())
            emitInterfaceValues(mask);
    }
    const SettingsMarkerMasks::InterfaceFinish finish = SettingsMarkerMasks::finishInterfaceApply(m_markers, mask, checks);
    // A reset comes only for an edit that holds a port; an explicit 0 lets the system choose.
    if (finish.resetPort)
        emit signalResetUdpSocket(SendableSettings::sendablePort(ui->lineEditLocalUdpPort->text(), m_localUdpPort));
    emit signalScanVeltoIMU(finish.scan);
}

void MainWindow::on_pushButtonApplyChangesIMUOutputSettings_clicked()
{
    const uint32_t mask = SettingsMarkerMasks::takeOutputSettingsMask(m_markers);
    if (mask == 0)
        return;
    if (serialInUse()) {
        SettingsValues::OutputSettingsValues values;
        values.flags = GetIMUFlagsValue();
        values.rollOffset = ui->doubleSpinBoxRof->value();
        values.pitchOffset = ui->doubleSpinBoxPof->value();
        values.yawOffset = ui->doubleSpinBoxYof->value();
        values.decimals = ui->doubleSpinBoxRof->decimals();
        values.frequency = ui->IMUfreqBox->currentText();
        emit signalSendIMUsettingsFlag(int(mask), CommandTable::OutputSettingsTab,
                                       SettingsValues::outputSettingsValuesText(values));
    }
    ApplyEthernetSettings(CommandTable::OutputSettingsTab);
    m_markers.m_rescanNeeded = false;
    enableAllButtons(false);
}

void MainWindow::on_pushButtonApplyChangesCompass_clicked()
{
    const uint32_t mask = SettingsMarkerMasks::takeCompassMask(m_markers);
    if (mask == 0)
        return;
    enableAllButtons(false);
    ApplyEthernetSettings(CommandTable::CompassTab);
    if (serialInUse()) {
        SettingsValues::CompassValues values;
        values.northOffset = ui->doubleSpinBoxNorthOffset->value();
        values.xGauss = ui->doubleSpinBoxXgauss->value();
        values.yGauss = ui->doubleSpinBoxYgauss->value();
        values.zGauss = ui->doubleSpinBoxZgauss->value();
        values.northDecimals = ui->doubleSpinBoxNorthOffset->decimals();
        values.gaussDecimals = ui->doubleSpinBoxXgauss->decimals();
        emit signalSendIMUsettingsFlag(int(mask), CommandTable::CompassTab, SettingsValues::compassValuesText(values));
    }
    m_markers.m_rescanNeeded = false;
}

void MainWindow::on_actionReadSettings_triggered()
{
    emit signalReadUserSettings();
}

uint32_t MainWindow::GetIMUFlagsValue() const
{
    SettingsValues::FlagBoxes boxes;
    boxes.invertRoll = ui->checkBoxInvRoll->isChecked();
    boxes.invertPitch = ui->checkBoxInvPitch->isChecked();
    boxes.invertYaw = ui->checkBoxInvYaw->isChecked();
    boxes.invertHeave = ui->checkBoxInvHv->isChecked();
    boxes.dynamicAddress = ui->radioButtonDynamicIP->isChecked();
    boxes.positiveYaw = ui->checkBoxPositiveYaw->isChecked();
    return SettingsValues::imuFlagsWord(boxes);
}
