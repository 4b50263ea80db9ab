// Serial auto-detection: every listed port is opened at each rate of the
// baud-rate table in turn and probed with the first read-out query; the first
// line received on a port (noted by the receive path) records the port and its
// rate. One step per tick, with a wait after each opening and each probe.

#include "Worker.h"

#include "EngineLogging.h"

#include <QDebug>

namespace {
constexpr int ProbesPerRate = 3;
constexpr uint ProbeWaitMs = 500;
constexpr qint64 AutoDetectTimeoutMs = 300000;
} // namespace

bool Worker::s_autoDetectTimedOut = false;

// No wait armed for the unit of a link just left holds back the first step.
void Worker::setAutoDetect(const QList<QString> &portNames, int combinations)
{
    m_waitTicks = 0;
    m_autoDetectPorts = portNames;
    m_autoDetectRunning = true;
    m_autoDetectStartPending = true;
    m_autoDetectStart = std::chrono::steady_clock::now();
    m_autoDetectProgress = 0;
    m_autoDetectCombinations = combinations;
}

void Worker::autoDetectSensor()
{
    if (!m_autoDetectRunning)
        return;
    if (autoDetectElapsedMs() > AutoDetectTimeoutMs) {
        s_autoDetectTimedOut = true;
        m_autoDetectFinished = true;
    }

    endConsoleHalt();
    readIMUsettings = false;
    m_headerCapturePending = false;
    emit signalEnableActions(false, ConnectActions);

    if (m_autoDetectStartPending) {
        startAutoDetectSweep();
        // Only an empty port list finishes the sweep before it has begun.
        if (!m_autoDetectFinished)
            return;
    }
    if (m_autoDetectFinished) {
        finishAutoDetect();
        return;
    }
    // Three probes per rate, unless the port is done with sooner.
    if (settingsIterator++ >= ProbesPerRate || m_autoDetectPortDone) {
        settingsIterator = 0;
        ++m_autoDetectBaudIndex;
        MoveToNxtSerialPortBaudRate();
        return;
    }
    sendAutoDetectProbe();
}

// The probes must go out, so detection ends a halt; the window is told, so
// that its Halt action and console run again as well.
void Worker::endConsoleHalt()
{
    if (!m_consoleHalted)
        return;
    m_consoleHalted = false;
    emit signalActionsSetChecked(false, HaltAction);
}

void Worker::startAutoDetectSweep()
{
    m_autoDetectStartPending = false;
    emit setProgressBar(ProgressStart, autoDetectProgressMaximum());
    m_autoDetectFinished = false;
    m_autoDetectPortDone = false;
    settingsIterator = 0;
    m_autoDetectPortIndex = 0;
    m_autoDetectBaudIndex = 0;
    MoveToNxtSerialPortBaudRate();
}

void Worker::finishAutoDetect()
{
    m_autoDetectFinished = false;
    m_autoDetectRunning = false;
    m_autoDetectPortIndex = 0;
    emit setProgressBar(ProgressDone, autoDetectProgressMaximum());
    emit signalEnableActions(true, ConnectActions);
    closeSerialPort();
    if (detectedPortName.isEmpty()) {
        emit setProgressBar(ProgressFailed, 0);
        // The box's title has no place for the reason; the trace tells it.
        qCDebug(lcEngine) << Q_FUNC_INFO << "| Line :" << __LINE__ << ":" << "$nothing detected#"
                          << (s_autoDetectTimedOut ? "Time Out" : "");
        emit showMessageBox(tr("Error"), QStringLiteral("Couldn't detect the IMU!."));
        s_autoDetectTimedOut = false;
        return;
    }
    emit signalAutoDetectSerialPortDone(detectedPortName, detectedBaudRate, int(autoDetectElapsedMs()));
}

void Worker::sendAutoDetectProbe()
{
    writeSerialData(CommandTable::queryLine(CommandTable::queryRow(AnswerParser::AnswerKey::SerialNumber)));
    m_waitTicks = setSleepDogValue_ms(ProbeWaitMs);
    emit setProgressBar(ProgressStep, ++m_autoDetectProgress);
}

// Closes the port and opens the next rate of this port, or the next port once
// this one is done or has had every rate.
void Worker::MoveToNxtSerialPortBaudRate()
{
    closeSerialPort();
    if (m_autoDetectBaudIndex >= int(BaudRateTable.size()) || m_autoDetectPortDone) {
        m_autoDetectPortDone = false;
        m_answerQueue.clear();
        m_rxBuffer.clear();
        settingsIterator = 0;
        m_autoDetectBaudIndex = 0;
        ++m_autoDetectPortIndex;
    }
    if (m_autoDetectPortIndex >= m_autoDetectPorts.size()) {
        m_autoDetectFinished = true;
        return;
    }

    m_serial->setPortName(m_autoDetectPorts.at(m_autoDetectPortIndex));
    m_serial->setBaudRate(BaudRateTable[size_t(m_autoDetectBaudIndex)]);
    m_serial->setDataBits(QSerialPort::Data8);
    m_serial->setParity(QSerialPort::NoParity);
    m_serial->setStopBits(QSerialPort::OneStop);
    m_serial->setFlowControl(QSerialPort::NoFlowControl);

    if (m_serial->open(QIODevice::ReadWrite)) {
        autoDetectPortOpened();
    } else {
        m_autoDetectPortDone = true;
        closeSerialPort();
    }
}

void Worker::autoDetectPortOpened()
{
    m_serialConnected = true;
    emit signalActionsSetChecked(true, ConnectAction);
    emit signalActionsSetChecked(false, EthernetConnectAction);
    emit signalEnableActions(false, ConnectAction | ConfigureAction);
    emit showEthernetStatusMessage(m_serial->clear(QSerialPort::AllDirections) ? tr("Disconnected")
                                                                               : tr("Disconnected/Clear Error"));
    m_answerQueue.clear();
    m_rxBuffer.clear();
    settingsIterator = 0;
    m_waitTicks = setSleepDogValue_ms(ProbeWaitMs);
    emit enableAllButtons(false);
    emit showStatusMessage(tr("Detecting on %1 : %2, %3, %4, %5")
                               .arg(m_autoDetectPorts.at(m_autoDetectPortIndex), QString::number(m_serial->baudRate()),
                                    QStringLiteral("8"), QStringLiteral("None"), QStringLiteral("1")));
}

int Worker::autoDetectProgressMaximum() const
{
    return ProbesPerRate * m_autoDetectCombinations;
}

qint64 Worker::autoDetectElapsedMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now() - m_autoDetectStart).count();
}
