#include "DeviceDouble.h"

namespace {

const QByteArray QueryHead("$get");
const QByteArray SetHead("$set");
const QByteArray LineEnd("\r\n");
const QByteArray LastQuery("$getdip#");
constexpr int CodeLength = 3;
constexpr int SlotSeparator = ':';

// "$getprt#1" asks for slot 1; the other queries carry nothing after the "#".
QByteArray codeOfQuery(const QByteArray &query)
{
    return query.mid(QueryHead.size(), CodeLength) + query.mid(QueryHead.size() + CodeLength + 1);
}

quint32 formatValue(const QByteArray &payload)
{
    const QList<QByteArray> bytes = payload.left(payload.indexOf(SlotSeparator)).split('.');
    quint32 value = 0;
    for (const QByteArray &byte : bytes)
        value = (value << 8) | (byte.toUInt() & 0xFF);
    return value;
}

} // namespace

DeviceDouble::Configuration DeviceDouble::defaultConfiguration()
{
    return {
        {"srn", "VRN212406010042"}, {"prn", "VRN12345"},      {"frq", "100"},          {"fwv", "FW1.02.003"},
        {"bd1", "115200"},          {"bd2", "9600"},          {"bd3", "4800"},         {"gps", "RS232"},
        {"prt", "0.0.0.3:0"},       {"prt1", "0.0.0.1:1"},    {"prt2", "0.0.0.1:2"},   {"flg", "0.0.0.33"},
        {"rof", "1.50"},            {"pof", "-2.25"},         {"yof", "3.00"},         {"srp", "8090"},
        {"dsp", "8070"},            {"sip", "192.168.1.20"},  {"dip", "192.168.1.10"},
    };
}

DeviceDouble::DeviceDouble(QObject *parent)
    : QObject(parent)
    , m_configuration(defaultConfiguration())
{
    connect(&m_pty, &PtyDevice::lineReceived, this, &DeviceDouble::handleLine);
    m_paceTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_paceTimer, &QTimer::timeout, this, &DeviceDouble::pace);
}

void DeviceDouble::startStreaming(const SampleSource &source, int bytesPerSecond, int paceMs)
{
    m_source = source;
    m_streamRate = bytesPerSecond;
    m_streamedSinceStart = 0;
    m_streamClock.start();
    m_paceTimer.start(paceMs);
}

void DeviceDouble::stopStreaming()
{
    m_paceTimer.stop();
}

void DeviceDouble::send(const QByteArray &bytes)
{
    m_sentCount += bytes.size();
    if (m_keepSent)
        m_sent += bytes;
    m_pty.send(bytes);
    emit bytesSent(bytes);
}

QList<QByteArray> DeviceDouble::setLines() const
{
    QList<QByteArray> lines;
    for (const QByteArray &line : m_pty.receivedLines()) {
        if (line.startsWith(SetHead))
            lines << line;
    }
    return lines;
}

// The samples due by now, as one chunk: the stream keeps its average rate
// however late the timer fires.
void DeviceDouble::pace()
{
    const qint64 due = m_streamClock.elapsed() * m_streamRate / 1000;
    QByteArray chunk;
    while (m_streamedSinceStart < due) {
        const QByteArray sample = m_source();
        ++m_samples;
        m_streamedSinceStart += sample.size();
        if (m_sampleWrites)
            send(sample);
        else
            chunk += sample;
    }
    if (!chunk.isEmpty())
        send(chunk);
}

bool DeviceDouble::answering() const
{
    return !m_silent && (m_answerRate == 0 || m_pty.baudRate() == m_answerRate);
}

void DeviceDouble::handleLine(const QByteArray &line)
{
    if (!answering())
        return;
    if (line.startsWith(QueryHead))
        answerQuery(line);
    else if (line.startsWith(SetHead))
        takeSetting(line);
}

void DeviceDouble::answerQuery(const QByteArray &query)
{
    const QByteArray code = codeOfQuery(query);
    const auto payload = m_configuration.constFind(code);
    if (payload == m_configuration.cend())
        return;
    send("$" + code.left(CodeLength) + "#" + *payload + LineEnd);
    emit queryAnswered(code);
    if (query == LastQuery) {
        ++m_readoutsAnswered;
        emit readoutAnswered();
    }
}

// A setting replaces the configured value and is answered like a query of it;
// "$setprt#a.b.c.d:n" sets slot n.
void DeviceDouble::takeSetting(const QByteArray &line)
{
    QByteArray code = line.mid(SetHead.size(), CodeLength);
    const QByteArray value = line.mid(SetHead.size() + CodeLength + 1);
    if (code == "prt") {
        const QByteArray slot = value.mid(value.indexOf(SlotSeparator) + 1);
        if (slot != "0")
            code += slot;
        else
            emit protocolSet(formatValue(value));
    }
    m_configuration.insert(code, value);
    send("$" + code.left(CodeLength) + "#" + value + LineEnd);
    emit settingTaken(code, value);
}
