// Ethernet link: the widgets read into the binary settings datagram, and the
// Ethernet action with the choice of the network interface.

#include "MainWindow.h"
#include "ui_mainwindow.h"

#include "AppLogging.h"
#include "DialogAutoDetect.h"
#include "EthernetInterfaces.h"
#include "SettingsValues.h"
#include "SharedTables.h"
#include "Worker.h"

#include <QDebug>
#include <QMessageBox>

namespace {
constexpr unsigned int CommandDatagram = 0;
// Where the choice list opens, from the main window's position.
const QPoint ChoiceListOffset(100, 100);
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

// A connection refused for want of an interface leaves the action unchecked:
// nothing is connected.
void MainWindow::on_actionEthernetConnect_triggered()
{
    SettingsMarkerMasks::clearConnectionMarkers(m_markers);
    if (!ui->actionEthernetConnect->isChecked()) {
        disconnectEthernet();
        return;
    }
    const std::optional<QNetworkAddressEntry> entry = chooseNetworkEntry();
    if (!entry || entry->ip().isNull()) {
        QMessageBox::critical(this, tr("Error"), QStringLiteral(" Error Msg 1514, Not valid IP Entry."));
        ui->actionEthernetConnect->setChecked(false);
        return;
    }
    emit signalEthernetConnectTriggered(true, entry->ip(), entry->broadcast());
    m_connectionMode = Worker::EthernetMode;
}

void MainWindow::disconnectEthernet()
{
    emit signalEthernetConnectTriggered(false, QHostAddress(QHostAddress::Any), QHostAddress(QHostAddress::Broadcast));
    showEthernetStatusMessage(tr("Disconnected"));
    enableAllButtons(false);
    ui->actionEthernetConnect->setChecked(false);
    m_connectionMode = Worker::NoLink;
    clearDataDisplay();
}

// The one IPv4 entry of an interface that is up, or the one the user picks
// from several; nothing when there is none or the list is closed unpicked.
std::optional<QNetworkAddressEntry> MainWindow::chooseNetworkEntry()
{
    const QList<QNetworkAddressEntry> entries =
        EthernetInterfaces::usableEntries(EthernetInterfaces::fromSystem(QNetworkInterface::allInterfaces()));
    if (entries.isEmpty()) {
        QMessageBox::critical(this, tr("Error"), QStringLiteral("Couldn't detect any network interfaces."));
        return std::nullopt;
    }
    if (entries.size() == 1)
        return entries.first();
    m_dialogAutoDetect->SetupListWidgetItems(entries);
    m_dialogAutoDetect->move(pos() + ChoiceListOffset);
    m_dialogAutoDetect->exec();
    return EthernetInterfaces::entryAtRow(entries, m_dialogAutoDetect->selectedRow);
}
