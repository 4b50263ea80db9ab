#include "SettingsAnswer.h"

#include "DeviceTypes.h"
#include "UdpDatagrams.h"

#include <QtEndian>

namespace SettingsAnswer {

namespace {

constexpr double FixedPointScale = 65536.0;
constexpr qsizetype MacSize = 6;
constexpr qsizetype HeaderSize = 8;
constexpr qsizetype PartNumberTextSize = 6;
constexpr qsizetype PartNumberTailSize = 3;

// Reads fields one after the other; a read past the end fails and every read after it too.
class Reader
{
public:
    explicit Reader(QByteArrayView bytes) : m_bytes(bytes) {}

    bool ok() const { return m_ok; }
    QByteArrayView rest() const { return m_ok ? m_bytes.sliced(m_pos) : QByteArrayView(); }

    QByteArrayView take(qsizetype size)
    {
        if (!m_ok || size > m_bytes.size() - m_pos) {
            m_ok = false;
            return {};
        }
        const QByteArrayView field = m_bytes.sliced(m_pos, size);
        m_pos += size;
        return field;
    }
    void skip(qsizetype size) { take(size); }
    bool peek(QByteArrayView mark) const { return m_ok && rest().startsWith(mark); }

    uint32_t number(qsizetype size)
    {
        uint32_t value = 0;
        for (const char byte : take(size))
            value = (value << 8) | uint8_t(byte);
        return value;
    }
    uint8_t u8() { return uint8_t(number(1)); }
    uint16_t u16() { return uint16_t(number(2)); }
    double offset() { return double(float(double(int16_t(u16())) / OffsetScale)); }

    template<size_t N>
    std::array<uint8_t, N> bytes()
    {
        std::array<uint8_t, N> out{};
        const QByteArrayView field = take(qsizetype(N));
        for (qsizetype i = 0; i < field.size(); ++i)
            out[size_t(i)] = uint8_t(field[i]);
        return out;
    }
    QString text(qsizetype size) { return QString::fromUtf8(take(size)); }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    bool m_ok = true;
};

QString partNumber(Reader &reader)
{
    reader.skip(MakerPrefix.size());
    QString text = QString::fromLatin1(MakerPrefix) + QString::number(reader.u8());
    text += reader.text(PartNumberTextSize);
    text += QString::number(reader.u8());
    text += reader.text(PartNumberTailSize);
    return text;
}

void readIdentity(Reader &reader, Record &record)
{
    record.deviceAddress = reader.bytes<4>();
    reader.skip(MacSize);
    record.destinationAddress = reader.bytes<4>();
    record.hardwareId = reader.u8();
    record.date = reader.number(3);
    record.serial = reader.u16();
    record.devicePort = reader.u16();
    record.destinationPort = reader.u16();
}

void readSettings(Reader &reader, Record &record)
{
    record.flags = reader.number(4);
    record.header = reader.text(HeaderSize);
    for (auto &format : record.formats)
        format = reader.bytes<4>();
    record.baudCodes = reader.bytes<BaudCodeCount>();
    record.frequency = reader.u16();
    for (double &offset : record.offsets)
        offset = reader.offset();
}

void readFirmware(Reader &reader, Record &record)
{
    if (reader.peek(MakerPrefix))
        record.partNr = partNumber(reader);
    const uint8_t length = reader.u8();
    record.fwVersion = reader.text(length);
    reader.skip(1); // data length, not used
    record.trailer = reader.rest().toByteArray();
}

} // namespace

std::optional<Record> parse(QByteArrayView answer)
{
    Reader reader(answer);
    if (answer.startsWith(UdpDatagrams::AnswerToken))
        reader.skip(UdpDatagrams::AnswerToken.size());
    Record record;
    readIdentity(reader, record);
    readSettings(reader, record);
    readFirmware(reader, record);
    if (!reader.ok())
        return std::nullopt;
    return record;
}

bool confirms(QByteArrayView answer, QByteArrayView signature)
{
    return signature.size() == SignatureSize && answer.endsWith(signature);
}

QString addressText(const Octets &octets)
{
    return QStringLiteral("%1.%2.%3.%4").arg(octets[0]).arg(octets[1]).arg(octets[2]).arg(octets[3]);
}

QList<QByteArray> octetTexts(const Octets &octets)
{
    QList<QByteArray> texts;
    for (const uint8_t octet : octets)
        texts << QByteArray::number(octet);
    return texts;
}

QString serialNumber(const Record &record)
{
    return QString::number(record.hardwareId) + QString::number(record.date) + QString::number(record.serial);
}

QByteArray trailerExcerpt(const QByteArray &trailer)
{
    const QByteArray trimmed = trailer.trimmed();
    if (trimmed.size() <= TrailerExcerptSize)
        return trimmed;
    return trimmed.first(TrailerExcerptSize) + " ... (" + QByteArray::number(trailer.size()) + " bytes)";
}

float parameterValue(QByteArrayView data, qsizetype offset)
{
    if (offset < 0 || offset > data.size() - 4)
        return 0.0f;
    return float(double(qFromBigEndian<int32_t>(data.data() + offset)) / FixedPointScale);
}

float parameterValue16(QByteArrayView data, qsizetype offset)
{
    if (offset < 0 || offset > data.size() - 2)
        return 0.0f;
    return float(double(qFromBigEndian<int16_t>(data.data() + offset)) / OffsetScale);
}

} // namespace SettingsAnswer
