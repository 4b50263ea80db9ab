// The worker's receive path: received bytes are cut into binary frames and
// text lines, each line is classified and handed on in stream order.

#include "Worker.h"

#include <QSignalBlocker>

namespace {
// More serial ticks than this without input restart the settings read-out.
constexpr uint32_t SilenceLimitTicks = 100;
// Reads of input still waiting when a port is closed; a serial line cannot
// refill the port's queue faster than it is read.
constexpr int PendingInputReads = 8;
} // namespace

void Worker::readSerialData()
{
    receiveSerialChunk(m_serial->readAll());
}

void Worker::receiveSerialChunk(const QByteArray &chunk)
{
    m_rxBuffer.append(chunk);
    checkSerialSilence();
    if (m_rxBuffer.size() > SerialFraming::RxBufferLimit)
        discardOverflowingBuffer();
    processReceiveBuffer();
    writeDataLog(chunk);
}

// Input the device sent that the port has not yet handed over would be thrown
// away by closing the port, and never reach the decoders or the data log:
// take it in first. Not for a port in error, whose close is already underway.
void Worker::receivePendingSerialInput()
{
    if (!m_serial->isOpen() || m_serial->error() != QSerialPort::NoError)
        return;
    {
        // The bytes are read below instead of through readyRead; a poll that
        // finds nothing more reports a time-out, which is no fault here.
        const QSignalBlocker quiet(m_serial);
        for (int i = 0; i < PendingInputReads && m_serial->waitForReadyRead(0); ++i) {
        }
        if (m_serial->error() == QSerialPort::TimeoutError)
            m_serial->clearError();
    }
    const QByteArray pending = m_serial->readAll();
    if (!pending.isEmpty())
        receiveSerialChunk(pending);
}

void Worker::checkSerialSilence()
{
    if (m_serialSilence > SilenceLimitTicks) {
        restartSettingsReadout();
        emit enableAllButtons(false);
    }
    m_serialSilence = 0;
}

void Worker::discardOverflowingBuffer()
{
    emit showStatusMessage(QStringLiteral("Rx Buffer Overflow"));
    m_rxBuffer.clear();
    if (!m_autoDetectRunning)
        restartSettingsReadout();
    emit enableAllButtons(false);
}

void Worker::processReceiveBuffer()
{
    // While the read-out runs the protocol may still change, so frames are not cut.
    const SerialFraming::FrameKind frames =
        readIMUsettings ? SerialFraming::FrameKind::None : SerialFraming::frameKindFor(m_protocol[0].value);

    QByteArray received;
    received.swap(m_rxBuffer);
    const SerialFraming::Cut cut = SerialFraming::cutBuffer(received, frames);
    m_rxBuffer = received.sliced(cut.consumed);

    for (const SerialFraming::Piece &piece : cut.pieces) {
        const QByteArray bytes = received.sliced(piece.begin, piece.size);
        if (piece.kind == SerialFraming::Piece::Frame)
            handleFrame(bytes);
        else
            handleLine(bytes);
    }
}

void Worker::handleFrame(const QByteArray &frame)
{
    if (!m_consoleHalted)
        emit m_consoleInsertPlainText(frame.toHex().toUpper() + "\r\n");
    processPredefinedProtocols(m_protocol[0].value, frame);
    emitDisplayIfDue();
}

void Worker::handleLine(const QByteArray &line)
{
    const SerialFraming::ClassifiedLine classified =
        SerialFraming::classifyLine(line, answersMayFollowFrameBytes());
    const QByteArray text = line.sliced(classified.begin);
    showReceivedLine(text, classified.lineClass);
    if (m_autoDetectRunning)
        noteDetectedPort();

    switch (classified.lineClass) {
    case SerialFraming::AnswerLine:
        dispatchAnswer(text);
        break;
    case SerialFraming::ErrorLine:
        emit signalErrorLoggerWrite("msg Error : Worker : readSerialData : " + text.trimmed());
        break;
    case SerialFraming::DataLine:
        dispatchDataLine(text);
        break;
    case SerialFraming::ShortLine:
        break;
    }
}

// Answers can stand behind frame bytes on one line only where frames stream:
// while the read-out runs no frame is cut at all, and after it the framer may
// start inside a frame it left, at a CR LF in frame data. Before the device has
// reported its protocol, its stream may be binary as well. Elsewhere a text line
// that quotes an answer is no answer.
bool Worker::answersMayFollowFrameBytes() const
{
    const OutputProtocolType &slot = m_protocol[0];
    if (SerialFraming::frameKindFor(slot.value) != SerialFraming::FrameKind::None)
        return true;
    return readIMUsettings && slot.format == OutputProtocolType().format;
}

void Worker::showReceivedLine(const QByteArray &line, SerialFraming::LineClass lineClass)
{
    if (m_consoleHalted || lineClass == SerialFraming::ShortLine)
        return;
    if (lineClass == SerialFraming::DataLine && readIMUsettings)
        return;
    emit m_consoleDisplayData(line, lineClass, m_autoDetectRunning);
}

// While auto-detection runs, any line proves that a device answers on this port.
void Worker::noteDetectedPort()
{
    const QString name = m_serial->portName();
    if (detectedPortName.contains(name))
        return;
    detectedPortName.append(name);
    detectedBaudRate.append(m_serial->baudRate(QSerialPort::AllDirections));
    m_autoDetectPortDone = true;
}

void Worker::dispatchAnswer(const QByteArray &answer)
{
    m_answerQueue.append(answer);
    cmdProcessor();
    emit signalErrorLoggerWrite("msg Info : Worker : readSerialData : cmdProcessor : " + answer.trimmed());
}

void Worker::dispatchDataLine(const QByteArray &line)
{
    // EulerL and EulerB carry their samples in frames only.
    if (SerialFraming::frameKindFor(m_protocol[0].value) == SerialFraming::FrameKind::Euler)
        return;
    processOutputData(line);
    emitDisplayIfDue();
}

void Worker::emitDisplayIfDue()
{
    if (!m_displayDue)
        return;
    m_displayDue = false;
    emit signalDispalyOutputData(m_outputData, m_protocol[0], m_interfaceMode);
}

void Worker::restartSettingsReadout()
{
    readIMUsettings = true;
    m_headerCapturePending = true;
    settingsIterator = 0;
}
