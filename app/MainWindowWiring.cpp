// The main window's wiring: the connections to and from the worker and the
// dialogs, in the order they are made, and the tool-bar actions.

#include "MainWindow.h"
#include "ui_mainwindow.h"

#include "DialogChart.h"
#include "SettingsDialog.h"

#include <QThread>

void MainWindow::connectWorker()
{
    connect(m_workerThread, &QThread::finished, m_workerThread, &QObject::deleteLater);

    // Requests to the worker
    connect(this, &MainWindow::signalStopWorker, m_worker, &Worker::stopWorker);
    connect(this, &MainWindow::signalOpenSerialPort, m_worker, &Worker::openSerialPort);
    connect(this, &MainWindow::signalRefreshSerialPort, m_worker, &Worker::refreshSerialPort);
    connect(this, &MainWindow::signalCloseSerialPort, m_worker, &Worker::closeSerialPort);
    connect(this, &MainWindow::signalReadUserSettings, m_worker, &Worker::readUserSettings);
    connect(this, &MainWindow::signalStartDataLogging, m_worker, &Worker::startDataLogging);
    connect(this, &MainWindow::signalConfigureSerialPortDone, m_worker, &Worker::configureSerialPort);
    connect(this, &MainWindow::signalSetProtocolFormat, m_worker, &Worker::getProtocolFormat);
    connect(this, &MainWindow::signalSendIMUsettingsFlag, m_worker, &Worker::getIMUsettingsFlag);
    connect(this, &MainWindow::signalConsoleHalt, m_worker, &Worker::consoleHalt);

    // Requests from the settings dialog
    connect(m_settingsDialog, &SettingsDialog::signalUpdateChartTheme, m_dialogChart, &DialogChart::updateTheme);
    connect(m_settingsDialog, &SettingsDialog::signalSetAutoDetect, m_worker, &Worker::setAutoDetect);
    connect(m_settingsDialog, &SettingsDialog::signalSetStatisticsTime, m_worker, &Worker::setStatisticsTime);

    // Reports from the worker
    connect(m_worker, &Worker::signalClearAllSetFalgs, this, &MainWindow::clearAllSetFalgs);
    connect(m_worker, &Worker::setProgressBar, this, &MainWindow::setProgressBar);
    connect(m_worker, &Worker::signalAutoDetectSerialPortDone, this, &MainWindow::autoDetectSerialPortDone);
    connect(m_worker, &Worker::signalConfigureSerialPort, this, &MainWindow::configureSerialPort);
    connect(m_worker, &Worker::showStatusMessage, this, &MainWindow::showStatusMessage);
    connect(m_worker, &Worker::showEthernetStatusMessage, this, &MainWindow::showEthernetStatusMessage);
    connect(m_worker, &Worker::workerSendMessage, this, &MainWindow::displayWorkerMessage);
    connect(m_worker, &Worker::enableAllButtons, this, &MainWindow::enableAllButtonsSlot);
    connect(m_worker, &Worker::signalEnableActions, this, &MainWindow::enableAllActionsSlot);
    connect(m_worker, &Worker::signalActionsSetChecked, this, &MainWindow::actionsSetCheckedSlot);
    connect(m_worker, &Worker::m_consoleDisplayData, this, &MainWindow::m_consoleDisplayData);
    connect(m_worker, &Worker::m_consoleInsertPlainText, this, &MainWindow::m_consoleInsertPlainText);
    connect(m_worker, &Worker::m_uiLineEditIMUUdpPortSetText, this, &MainWindow::m_uiLineEditIMUUdpPortSetText);
    connect(m_worker, &Worker::m_uiLineEditLocalUdpPortSetText, this, &MainWindow::m_uiLineEditLocalUdpPortSetText);
    connect(m_worker, &Worker::m_uiLineEditIMUIP4SetText, this, &MainWindow::m_uiLineEditIMUIP4SetText);
    connect(m_worker, &Worker::m_uiLineEditDstIP4SetText, this, &MainWindow::m_uiLineEditDstIP4SetText);
    connect(m_worker, &Worker::m_uiIMUfreqBoxSetIndex, this, &MainWindow::m_uiIMUfreqBoxSetIndex);
    connect(m_worker, &Worker::m_uiBaudRateBoxSetIndex, this, &MainWindow::m_uiBaudRateBoxSetIndex);
    connect(m_worker, &Worker::radioButtonGPS, this, &MainWindow::radioButtonGPS);
    connect(m_worker, &Worker::m_uiDoubleSpinBoxOffsetSetValue, this, &MainWindow::m_uiDoubleSpinBoxOffsetSetValue);
    connect(m_worker, &Worker::doubleSpinBoxGaussSetValue, this, &MainWindow::doubleSpinBoxGaussSetValue);
    connect(m_worker, &Worker::doubleSpinBoxNorthOffsetSetValue, this, &MainWindow::doubleSpinBoxNorthOffsetSetValue);
    connect(m_worker, &Worker::signalProtocolHeaderSetText, this, &MainWindow::protocolHeaderSetText);
    connect(m_worker, &Worker::EnableAllPrtParameters, this, &MainWindow::EnableAllPrtParameters);
    connect(m_worker, &Worker::signalProcessIMUFlags, this, &MainWindow::ProcessIMUFlags);
    connect(m_worker, &Worker::signalProcessProtocolParameters, this, &MainWindow::ProcessProtocolParameters);
    connect(m_worker, &Worker::signalEnableSpecialHardwareFeature, this, &MainWindow::identityOfLink);
    connect(m_worker, &Worker::showMessageBox, this, &MainWindow::showMessageBox);
    connect(m_worker, &Worker::signalDispalyOutputData, this, &MainWindow::displayOutputDataOfLink);
    connect(m_worker, &Worker::signalErrorLoggerWrite, this, &MainWindow::errorLoggerWrite);
    connect(m_worker, &Worker::signalStartDataCapturing, this, &MainWindow::dataCapturingStatus);
    connect(m_worker, &Worker::signalDataLogFailed, this, &MainWindow::dataLogFailed);
    connect(m_worker, &Worker::signalSerialPortLost, this, &MainWindow::serialPortLost);
    connect(m_worker, &Worker::signalSettingsConfirmed, this, &MainWindow::settingsConfirmed);

    // The Ethernet link's requests.
    connect(this, &MainWindow::signalSendUdpCmdDatagram, m_worker, &Worker::sendUdpCmdDatagram);
    connect(this, &MainWindow::signalEthernetConnectTriggered, m_worker, &Worker::EthernetConnectTriggered);
    connect(this, &MainWindow::signalResetUdpSocket, m_worker, &Worker::resetUdpSocketSlot);
    connect(this, &MainWindow::signalScanVeltoIMU, m_worker, &Worker::scanVeltoIMUSlot);
}

void MainWindow::initActionsConnections()
{
    connect(ui->actionConnect, &QAction::triggered, this, &MainWindow::serialPortConnectAction);
    connect(ui->actionInfoIMU, &QAction::triggered, this, &MainWindow::ImuFactoryInformation);
    connect(ui->actionConfigure, &QAction::triggered, this, &MainWindow::refreshSerialPort);
    connect(ui->actionHaltSerialPort, &QAction::triggered, this, &MainWindow::haltSerialPortAction);
    connect(ui->actionAbout, &QAction::triggered, this, &MainWindow::about);
}
