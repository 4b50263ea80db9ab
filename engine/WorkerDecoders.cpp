// The worker's side of the output-protocol decoders: every frame and data line
// of the sample stream is decoded into the sample record by the protocol of
// output slot 0.

#include "OutputDecoder.h"
#include "ProtocolLabels.h"
#include "Worker.h"

#include "EngineLogging.h"

#include <QDebug>

void Worker::processPredefinedProtocols(uint value, const QByteArray &data)
{
    if (OutputDecoder::decodePredefined(value, data, m_outputData, m_protocol[0].mask)
        == OutputDecoder::Result::Unrecognised)
        qCDebug(lcEngine) << Q_FUNC_INFO << "| Line :" << __LINE__ << ":" << "Unrecognised Output Protcol ID" << value;
}

// Text lines are left alone while the settings are read (the protocol may still
// change), while auto-detection runs and while slot 0 holds no usable format.
void Worker::processOutputData(const QByteArray &line)
{
    if (readIMUsettings || m_autoDetectRunning || !OutputDecoder::decodesTextLines(m_protocol[0]))
        return;
    if (!OutputDecoder::isCustomSelection(m_protocol[0].value)) {
        processPredefinedProtocols(m_protocol[0].value, line);
        return;
    }
    if (const auto header = OutputDecoder::decodeCustom(line, m_protocol[0], m_outputData, m_headerCapturePending))
        emit signalProtocolHeaderSetText(ProtocolLabels::Header, *header);
}
