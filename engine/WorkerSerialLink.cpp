// The worker's serial link: opening, closing and re-configuring the port,
// reacting to its errors and writing command lines.

#include "SerialPortName.h"
#include "Worker.h"

#include <QSignalBlocker>

void Worker::openSerialPort(const UserSettingsType &settings)
{
    receivePendingSerialInput();
    m_rxBuffer.clear();
    if (m_serial->isOpen()) {
        dropUnsentSettings();
        const QSignalBlocker quiet(m_serial);
        m_serial->close();
    }
    m_statisticsTime = settings.statisticsTime;

    m_serial->setPortName(settings.portName);
    m_serial->setBaudRate(settings.baudRate);
    m_serial->setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits));
    m_serial->setParity(static_cast<QSerialPort::Parity>(settings.parity));
    m_serial->setStopBits(static_cast<QSerialPort::StopBits>(settings.stopBits));
    m_serial->setFlowControl(QSerialPort::NoFlowControl);

    if (m_serial->open(QIODevice::ReadWrite))
        serialPortOpened(settings);
    else
        serialPortOpenFailed();
    resetStatisticsFilters();
}

void Worker::serialPortOpened(const UserSettingsType &settings)
{
    m_serialConnected = true;
    emit signalActionsSetChecked(false, ConfigureAction);
    emit signalActionsSetChecked(true, ConnectAction);
    m_serial->clear(QSerialPort::AllDirections);
    m_answerQueue.clear();
    // With no protocol known, the unit's answers may stand behind frame bytes,
    // whatever the last unit streamed; with no identity known, a halted
    // read-out sweeps until the halt ends.
    forgetLastUnit();
    restartSettingsReadout();
    setInterfaceMode(SerialMode);
    emit enableAllButtons(false);
    emit showStatusMessage(tr("Connected to %1 : %2, %3, %4, %5")
                               .arg(displayPortName(m_serial->portName()), settings.stringBaudRate,
                                    settings.stringDataBits, settings.stringParity, settings.stringStopBits));
}

void Worker::serialPortOpenFailed()
{
    const QString reason = m_serial->errorString();
    closeSerialPort();
    emit signalSerialPortLost();
    emit showMessageBox(tr("Error Message"), reason + QStringLiteral("\r\nPort is Open by another thread or software!..."));
    emit showStatusMessage(tr("Open error"));
}

void Worker::closeSerialPort()
{
    receivePendingSerialInput();
    dropUnsentSettings();
    m_serialConnected = false;
    m_rxBuffer.clear();
    if (!m_serial->portName().isEmpty() && m_serial->isOpen()) {
        // Clearing and closing a port whose device has gone fail and report
        // errors of their own, which must not start another close.
        const QSignalBlocker quiet(m_serial);
        m_serial->clear(QSerialPort::AllDirections);
        m_serial->close();
    }
    setInterfaceMode(NoLink);
    emit signalActionsSetChecked(false, ConnectAction | ConfigureAction);
    emit signalEnableActions(!m_autoDetectRunning, ConfigureAction);
    emit enableAllButtons(false);
    emit showStatusMessage(tr("Disconnected"));
}

void Worker::refreshSerialPort()
{
    closeSerialPort();
    emit signalConfigureSerialPort();
}

void Worker::configureSerialPort(bool changed)
{
    readIMUsettings = readIMUsettings || changed;
    m_headerCapturePending = true;
    if (m_autoDetectRunning)
        readIMUsettings = false;
    detectedPortName.clear();
    detectedBaudRate.clear();
}

void Worker::handleError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError)
        return;
    const QString reason = m_serial->errorString();
    const bool linkLost = m_serialConnected && !m_autoDetectRunning;
    if (m_autoDetectRunning)
        m_autoDetectPortDone = true;
    closeSerialPort();
    if (linkLost)
        emit signalSerialPortLost();
    if (error == QSerialPort::ResourceError)
        emit showMessageBox(tr("Critical Error"), reason);
}

void Worker::writeSerialData(const QByteArray &data)
{
    if (!m_serialConnected || m_consoleHalted || !m_serial->isOpen())
        return;
    m_serial->write(data);
    emit signalErrorLoggerWrite("msg Info : Worker : serial->write : " + data.trimmed());
}
