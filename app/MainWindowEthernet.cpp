// Ethernet link: the widgets read into the binary settings datagram.

#include "MainWindow.h"
#include "ui_mainwindow.h"

#include "AppLogging.h"
#include "SettingsValues.h"
#include "SharedTables.h"
#include "Worker.h"

#include <QDebug>

namespace {
constexpr unsigned int CommandDatagram = 0;
} // namespace

// A box showing a rate of the table sends its code, which becomes the mirrored code;
// a box showing "unknown" sends the code the device last reported, unchanged.
uint8_t MainWindow::baudCodeToSend(int which)
{
    const int index = baudRateBoxes().at(which)->currentIndex();
    if (index >= 0 && index < int(BaudRateTable.size()))
        UserSettings.baudCode[which] = uint32_t(index);
    return uint8_t(UserSettings.baudCode[which]);
}

// Reads the widgets into the datagram's fields and mirrors the device settings into UserSettings.
EthernetSettingsFields MainWindow::readEthernetSettingsFields()
{
    EthernetSettingsFields fields;
    const bool dynamic = ui->radioButtonDynamicIP->isChecked();
    fields.deviceUdpPort = SettingsValues::field16(ui->lineEditIMUUdpPort->text());
    fields.localUdpPort = SettingsValues::field16(ui->lineEditLocalUdpPort->text());
    const bool switchingToDynamic =
        dynamic && m_markers.m_imuAddressChanged && !(UserSettings.flags & ImuFlags::DynamicIp);
    if (!switchingToDynamic)
        fields.deviceAddress = SettingsValues::addressBytes(editTexts(deviceOctetEdits()));
    fields.destinationAddress = SettingsValues::addressBytes(editTexts(destinationOctetEdits()));
    fields.flags = UserSettings.flags = GetIMUFlagsValue();
    fields.protocolFormat = m_protocolFormat;
    fields.frequency = UserSettings.frequency = SettingsValues::frequencyNumber(ui->IMUfreqBox->currentText());
    for (int which = 0; which < int(fields.baudCodes.size()); ++which)
        fields.baudCodes[size_t(which)] = baudCodeToSend(which);
    fields.rollOffset = UserSettings.rollOffset = ui->doubleSpinBoxRof->value();
    fields.pitchOffset = UserSettings.pitchOffset = ui->doubleSpinBoxPof->value();
    fields.yawOffset = UserSettings.yawOffset = ui->doubleSpinBoxYof->value();
    fields.header = protocolHeader();
    fields.northOffset = ui->doubleSpinBoxNorthOffset->value();
    return fields;
}

void MainWindow::ApplyEthernetSettings(unsigned int tab)
{
    if (!(m_connectionMode & Worker::EthernetMode))
        return;
    qCDebug(lcApp) << Q_FUNC_INFO << "| Line :" << __LINE__ << ":" << "$tab#" << tabNameMap.key(int(tab));
    const QString address = SettingsValues::deviceAddressText(ui->radioButtonDynamicIP->isChecked(),
                                                              editTexts(deviceOctetEdits()));
    const EthernetSettingsFields fields = readEthernetSettingsFields();
    emit signalSendUdpCmdDatagram(address, buildEthernetSettingsDatagram(fields, ++m_datagramCounter), CommandDatagram);
}
