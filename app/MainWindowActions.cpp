// The serial connection actions: connect, disconnect, configure and halt, the
// pick of an auto-detected port, and the worker's reports that enable and check
// actions and write into the console.

#include "MainWindow.h"
#include "ui_mainwindow.h"

#include "Console.h"
#include "DialogAutoDetect.h"
#include "ElidingLabel.h"
#include "SettingsDialog.h"
#include "Worker.h"

#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>

namespace {

const QPoint SettingsDialogOffset(75, 75);
const QPoint ChoiceListOffset(100, 100);

} // namespace

// The serial side's step before it takes the link: the Ethernet link, while
// in use, is disconnected as its own action disconnects it, the worker told.
// The caller then leaves the window's link once (leaveLink).
void MainWindow::leaveEthernetForSerial()
{
    if (ethernetInUse())
        disconnectEthernet();
}

// The Ethernet side's step before it takes the link: a serial link in use is
// closed in the window (closeSerialLink: console off, Connect unchecked,
// Configure offered, the port's closing in the event log). The worker closes
// the port itself before it binds, and reports the serial link "Disconnected".
// The caller then leaves the window's link once (leaveLink).
void MainWindow::leaveSerialForEthernet()
{
    if (serialInUse())
        closeSerialLink();
}

// Connect asks for a serial link with no link in the window: whatever link it
// had is left first. Disconnect closes the port (closeSerialPort).
void MainWindow::serialPortConnectAction()
{
    leaveEthernetForSerial();
    if (!ui->actionConnect->isChecked()) {
        closeSerialPort();
        return;
    }
    leaveLink();
    openSerialPort();
}

void MainWindow::openSerialPort()
{
    if (m_settings->portName.isEmpty()) {
        ui->actionConnect->setChecked(false);
        QMessageBox::critical(this, tr("Error"), QStringLiteral("No Valid Port Name detected!."), QMessageBox::Ok);
        setConnectionMode(Worker::NoLink);
        errorLoggerWrite("msg Error : From main : openSerialPort, portName not Valid");
        return;
    }
    forgetReportedDeviceAddress();
    forgetIdentity();
    m_console->setEnabled(true);
    ui->actionConnect->setChecked(true);
    ui->actionConnect->setToolTip(QStringLiteral("Disconnect serial port"));
    ui->actionConfigure->setEnabled(false);
    emit signalOpenSerialPort(m_settingsDialog->settings());
    setConnectionMode(Worker::SerialMode);
    errorLoggerWrite("msg Info : From main : opening SerialPort : " + m_settings->portName.toLatin1());
}

void MainWindow::closeSerialPort()
{
    closeSerialLink();
    leaveLink();
    showStatusMessage(tr("Disconnected"));
    ui->actionConnect->setToolTip(QStringLiteral("Connect to serial port"));
    emit signalCloseSerialPort();
}

// The worker could not open the port, or has closed it on an error, and gives
// its own status text: the window is left as the user's own disconnect leaves it.
void MainWindow::serialPortLost()
{
    if (!serialInUse())
        return;
    leaveSerialLink();
    leaveLink();
}

// The serial link the user leaves, by its Disconnect or by Connect Ethernet:
// the serial side's own steps, and the port named in the event log as closing.
void MainWindow::closeSerialLink()
{
    leaveSerialLink();
    errorLoggerWrite("msg Info : From main : closing SerialPort : " + m_settings->portName.toLatin1());
}

// The serial side's own steps of leaving its link: console off, Connect
// unchecked, Configure offered again, and the Ethernet features no longer
// gated by the model of the unit the link identified. The caller then runs
// the shared steps of leaving a link (leaveLink).
void MainWindow::leaveSerialLink()
{
    m_console->setEnabled(false);
    ui->actionConnect->setChecked(false);
    ui->actionConfigure->setEnabled(true);
    setEthernetFeaturesEnabled(true);
}

// Every way of leaving a link ends here: no link, nothing to apply, no
// read-outs, and instruments that show no unit's attitude. Two things of the
// link left are cleared so that the next link (another unit, maybe) does not
// take them over: the note of its unconfirmed settings, and the changes typed
// and not applied, which it would otherwise send.
void MainWindow::leaveLink()
{
    setConnectionMode(Worker::NoLink);
    m_settingsUnconfirmed = false;
    clearAllSetFalgs();
    enableAllButtons(false);
    clearDataDisplay();
    showInstruments(OutputDataType());
    showStatusTexts();
}

// The worker lets go of the port first and then asks for the dialog (configureSerialPort).
void MainWindow::refreshSerialPort()
{
    emit signalRefreshSerialPort();
}

// The dialog is shown with no link: the Ethernet link, if in use, is left first.
void MainWindow::configureSerialPort()
{
    leaveEthernetForSerial();
    leaveLink();
    m_settingsDialog->fillPortsParameters();
    m_settingsDialog->fillPortsInfo();
    m_settingsDialog->move(pos() + SettingsDialogOffset);
    m_settingsDialog->exec();
    emit signalConfigureSerialPortDone(m_settingsDialog->settingsChanged());
    m_settingsDialog->clearSettingsChanged();
}

void MainWindow::haltSerialPortAction()
{
    followHaltAction();
    emit signalConsoleHalt(m_console->halt);
}

// The console halts or runs as the Halt action shows, whether the user or the
// worker set it.
void MainWindow::followHaltAction()
{
    m_console->showGathered(); // the lines received before the halt
    m_console->halt = ui->actionHaltSerialPort->isChecked();
}

void MainWindow::autoDetectSerialPortDone(const QList<QString> &detectedPortName,
                                          const QList<int> &detectedBaudRate, int timeElapsed)
{
    m_dialogAutoDetect->SetupListWidgetItems(detectedPortName, detectedBaudRate,
                                             ActionRules::elapsedSeconds(timeElapsed));
    m_dialogAutoDetect->move(pos() + ChoiceListOffset);
    m_dialogAutoDetect->exec();

    const auto picked = ActionRules::detectedPortAt(detectedPortName, detectedBaudRate,
                                                    m_dialogAutoDetect->selectedRow);
    if (picked) {
        m_settings->portName = picked->portName;
        m_settings->baudRate = picked->baudRate;
        m_settings->stringBaudRate = picked->stringBaudRate;
        m_settingsDialog->saveSettings();
        openSerialPort();
    }
    progressBar->hide();
    labelSerialPortStatus->show();
    if (!picked)
        setConnectionMode(Worker::NoLink);
}

void MainWindow::clearAllSetFalgs()
{
    SettingsMarkerMasks::clearConnectionMarkers(m_markers);
}

void MainWindow::showMessageBox(const QString &title, const QString &text)
{
    QMessageBox::critical(this, title, text, QMessageBox::Ok);
}

void MainWindow::m_consoleDisplayData(const QByteArray &data, int type, bool autoDetecting)
{
    m_console->displayData(data, type, autoDetecting);
}

void MainWindow::m_consoleInsertPlainText(const QByteArray &text)
{
    m_console->displayText(text);
}

void MainWindow::displayWorkerMessage(const QString &, uint, bool)
{
}

void MainWindow::enableAllButtonsSlot(bool enable)
{
    enableAllButtons(enable);
}

void MainWindow::enableAllActionsSlot(bool enable, int bits)
{
    for (ActionRules::LinkAction action : ActionRules::actionsToEnable(bits))
        linkAction(action)->setEnabled(enable);
}

// The worker unchecks the Ethernet action when the link's socket could not be
// bound, and says why in the Ethernet status: the window then has no link. It
// unchecks Halt when auto-detection ends the halt: the console runs again.
void MainWindow::actionsSetCheckedSlot(bool checked, int bits)
{
    const QList<ActionRules::LinkAction> actions = ActionRules::actionsToCheck(bits);
    for (ActionRules::LinkAction action : actions)
        linkAction(action)->setChecked(checked);
    if (actions.contains(ActionRules::LinkAction::HaltSerialPort))
        followHaltAction();
    if (!checked && (bits & Worker::EthernetConnectAction) && ethernetInUse())
        leaveLink();
}

QAction *MainWindow::linkAction(ActionRules::LinkAction action) const
{
    switch (action) {
    case ActionRules::LinkAction::Connect:
        return ui->actionConnect;
    case ActionRules::LinkAction::EthernetConnect:
        return ui->actionEthernetConnect;
    case ActionRules::LinkAction::HaltSerialPort:
        return ui->actionHaltSerialPort;
    case ActionRules::LinkAction::Configure:
        break;
    }
    return ui->actionConfigure;
}
