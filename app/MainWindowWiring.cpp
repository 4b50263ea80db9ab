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

    connect(this, &MainWindow::signalStopWorker, m_worker, &Worker::stopWorker);
    connect(this, &MainWindow::signalReadUserSettings, m_worker, &Worker::readUserSettings);
    connect(this, &MainWindow::signalConsoleHalt, m_worker, &Worker::consoleHalt);

    connect(m_settingsDialog, &SettingsDialog::signalUpdateChartTheme, m_dialogChart, &DialogChart::updateTheme);
    connect(m_settingsDialog, &SettingsDialog::signalSetAutoDetect, m_worker, &Worker::setAutoDetect);
    connect(m_settingsDialog, &SettingsDialog::signalSetStatisticsTime, m_worker, &Worker::setStatisticsTime);

    connect(m_worker, &Worker::setProgressBar, this, &MainWindow::setProgressBar);
    connect(m_worker, &Worker::signalErrorLoggerWrite, this, &MainWindow::errorLoggerWrite);
    connect(m_worker, &Worker::signalStartDataCapturing, this, &MainWindow::dataCapturingStatus);
    connect(m_worker, &Worker::signalDataLogFailed, this, &MainWindow::dataLogFailed);

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
