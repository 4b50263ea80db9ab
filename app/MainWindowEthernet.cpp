// Ethernet link: the widgets read into the binary settings datagram, and the
// Ethernet action with the choice of the network interface.

#include "MainWindow.h"
#include "ui_mainwindow.h"

#include "AppLogging.h"
#include "DialogAutoDetect.h"
#include "EthernetInterfaces.h"
#include "SendableSettings.h"
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

// A box showing a rate of the table sends its code; a box showing "unknown"
// sends the code the device last reported, unchanged.
uint8_t MainWindow::baudCodeToSend(int which) const
{
    const int index = baudRateBoxes().at(which)->currentIndex();
    if (index >= 0 && index < int(BaudRateTable.size()))
        return uint8_t(index);
    return uint8_t(UserSettings.baudCode[which]);
}

// The datagram's fields as the widgets show them, with the device octets to send.
EthernetSettingsFields MainWindow::readEthernetSettingsFields(const QStringList &deviceOctets) const
{
    EthernetSettingsFields fields;
    fields.deviceUdpPort = SendableSettings::sendablePort(ui->lineEditIMUUdpPort->text(), m_imuUdpPort);
    fields.localUdpPort = SendableSettings::sendablePort(ui->lineEditLocalUdpPort->text(), m_localUdpPort);
    if (!SendableSettings::shouldZeroDeviceAddress(ui->radioButtonDynamicIP->isChecked(),
                                                   m_markers.m_imuAddressChanged, UserSettings.flags))
        fields.deviceAddress = SettingsValues::addressBytes(deviceOctets);
    fields.destinationAddress = SettingsValues::addressBytes(
        SendableSettings::sendableOctets(editTexts(destinationOctetEdits()), m_reportedDestinationOctets));
    fields.flags = GetIMUFlagsValue();
    fields.protocolFormat = m_protocolFormat;
    fields.frequency = SettingsValues::frequencyNumber(ui->IMUfreqBox->currentText());
    for (int which = 0; which < int(fields.baudCodes.size()); ++which)
        fields.baudCodes[size_t(which)] = baudCodeToSend(which);
    fields.rollOffset = ui->doubleSpinBoxRof->value();
    fields.pitchOffset = ui->doubleSpinBoxPof->value();
    fields.yawOffset = ui->doubleSpinBoxYof->value();
    fields.header = protocolHeader();
    fields.northOffset = ui->doubleSpinBoxNorthOffset->value();
    return fields;
}

// The device settings a datagram sends become the program's mirror of them; a
// code outside the baud-rate table stays as the device reported it.
void MainWindow::mirrorSentSettings(const EthernetSettingsFields &fields)
{
    UserSettings.flags = fields.flags;
    UserSettings.frequency = fields.frequency;
    for (size_t which = 0; which < fields.baudCodes.size(); ++which) {
        if (fields.baudCodes[which] < BaudRateTable.size())
            UserSettings.baudCode[which] = fields.baudCodes[which];
    }
    UserSettings.rollOffset = fields.rollOffset;
    UserSettings.pitchOffset = fields.pitchOffset;
    UserSettings.yawOffset = fields.yawOffset;
}

// An address group typed wrong or an emptied port edit goes out as the device
// reported it, so the datagram never moves the device to an address or port
// nobody asked for.
void MainWindow::ApplyEthernetSettings(unsigned int tab)
{
    if (!ethernetInUse())
        return;
    qCDebug(lcApp) << Q_FUNC_INFO << "| Line :" << __LINE__ << ":" << "$tab#" << tabNameMap.key(int(tab));
    const QStringList deviceOctets =
        SendableSettings::sendableOctets(editTexts(deviceOctetEdits()), m_reportedDeviceOctets);
    const QString address = SettingsValues::deviceAddressText(ui->radioButtonDynamicIP->isChecked(), deviceOctets);
    const EthernetSettingsFields fields = readEthernetSettingsFields(deviceOctets);
    mirrorSentSettings(fields);
    emit signalSendUdpCmdDatagram(address, buildEthernetSettingsDatagram(fields, ++m_datagramCounter), CommandDatagram);
}

// A choice refused (no usable interface, or the list closed unpicked) unchecks
// the action and changes nothing else: a serial link in use stays, and so do
// the changes typed for it and not yet applied. Once an interface is chosen, a
// serial link in use is left before the worker is asked to connect.
void MainWindow::on_actionEthernetConnect_triggered()
{
    if (!ui->actionEthernetConnect->isChecked()) {
        disconnectEthernet();
        leaveLink();
        return;
    }
    const std::optional<QNetworkAddressEntry> entry = chooseNetworkEntry();
    if (!entry || entry->ip().isNull()) {
        QMessageBox::critical(this, tr("Error"), QStringLiteral(" Error Msg 1514, Not valid IP Entry."));
        ui->actionEthernetConnect->setChecked(false);
        return;
    }
    leaveSerialForEthernet();
    leaveLink();
    forgetIdentity();
    emit signalEthernetConnectTriggered(true, entry->ip(), entry->broadcast());
    setConnectionMode(Worker::EthernetMode);
}

// The Ethernet side's own steps of leaving its link, whichever action leaves
// it: the worker ends its session, the action is unchecked and the status
// reads "Disconnected". The caller then runs the shared steps of leaving a
// link (leaveLink).
void MainWindow::disconnectEthernet()
{
    emit signalEthernetConnectTriggered(false, QHostAddress(QHostAddress::Any), QHostAddress(QHostAddress::Broadcast));
    ui->actionEthernetConnect->setChecked(false);
    showEthernetStatusMessage(tr("Disconnected"));
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
