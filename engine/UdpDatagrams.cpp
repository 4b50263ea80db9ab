#include "UdpDatagrams.h"

#include "DisplayNumber.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>

namespace UdpDatagrams {

namespace {

constexpr QByteArrayView DiscoveryFiller("   scan for IMU   ");
constexpr QByteArrayView RequestFiller("   Read IMU Settings  ");
constexpr QByteArrayView RequestTrailer("   read from IMU    ");
constexpr int MessageNumberBase = 16;
constexpr int AccelerationWidth = 7;
// Room for a line of ordinary values without a reallocation.
constexpr qsizetype OutputLineCapacity = 96;

// One value of the output datagram: its word, the sample field it fills and its text form.
struct OutputValue
{
    int word;
    OutputDataType::Field field;
    int width;
    int decimals;
};

constexpr std::array<OutputValue, 11> OutputValues{{
    {0, OutputDataType::Roll, DisplayNumberWidth, 2},
    {1, OutputDataType::Pitch, DisplayNumberWidth, 2},
    {2, OutputDataType::Yaw, DisplayNumberWidth, 1},
    {3, OutputDataType::RollRate, DisplayNumberWidth, 2},
    {4, OutputDataType::PitchRate, DisplayNumberWidth, 2},
    {5, OutputDataType::YawRate, DisplayNumberWidth, 2},
    {11, OutputDataType::Heave, DisplayNumberWidth, 3},
    {14, OutputDataType::HeaveVelocity, DisplayNumberWidth, 2},
    {15, OutputDataType::Ax, AccelerationWidth, 4},
    {16, OutputDataType::Ay, AccelerationWidth, 4},
    {17, OutputDataType::Az, AccelerationWidth, 4},
}};

QByteArray joined(std::initializer_list<QByteArrayView> parts)
{
    QByteArray bytes;
    for (const QByteArrayView part : parts)
        bytes.append(part);
    return bytes;
}

QByteArray messageNumber(uint32_t msgNr, int digits)
{
    return QByteArray::number(msgNr, MessageNumberBase).rightJustified(digits, '0');
}

bool holds(qsizetype size, qsizetype offset, qsizetype length)
{
    return offset >= 0 && length <= size && offset <= size - length;
}

// The display text of a float with at most four decimals, as writeDisplayNumber
// writes it, without the general double formatting: a float times 10^decimals
// is exact in a double (24 + 10 significant bits at most), so rounding that
// product to an integer, exact ties away from zero, gives the same digits.
// False for what it does not cover: non-finite and very large values.
bool writeFloatDisplayNumber(QString &text, float value, int decimals, int width)
{
    static constexpr std::array<double, 5> Scale{1.0, 10.0, 100.0, 1000.0, 10000.0};
    // Below 2^53, so that the integer part and the fraction are exact.
    constexpr double ExactLimit = 9.0e15;
    if (decimals < 0 || decimals >= int(Scale.size()))
        return false;
    const double scaled = std::fabs(double(value)) * Scale[size_t(decimals)];
    if (!(scaled < ExactLimit))
        return false;
    double whole = std::floor(scaled);
    if (scaled - whole >= 0.5)
        whole += 1.0;

    char digits[24]; // reversed: decimals first
    int length = 0;
    for (uint64_t n = uint64_t(whole); n != 0 || length <= decimals; n /= 10)
        digits[length++] = char('0' + n % 10);
    const bool negative = value < 0;
    const int bodyLength = length + (decimals > 0 ? 1 : 0);
    const int padding = std::max(0, width - int(negative) - bodyLength);
    text.resize(int(negative) + padding + bodyLength);
    QChar *out = text.data();
    if (negative)
        *out++ = QLatin1Char('-');
    out = std::fill_n(out, padding, QLatin1Char('0'));
    for (int i = length - 1; i >= 0; --i) {
        *out++ = QLatin1Char(digits[i]);
        if (i == decimals && decimals > 0)
            *out++ = QLatin1Char('.');
    }
    if (text.front() == QLatin1Char('0'))
        text.front() = QLatin1Char('+');
    return true;
}

// Caller has checked that the four bytes exist.
float floatAt(QByteArrayView data, qsizetype offset)
{
    const uint32_t bits = qFromBigEndian<uint32_t>(data.data() + offset);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace

uint32_t nextMessageNumber(uint32_t msgNr)
{
    return msgNr >= MessageNumberMaximum ? 0 : msgNr + 1;
}

QByteArray messageNumber4(uint32_t msgNr)
{
    return messageNumber(msgNr, 4);
}

QByteArray messageNumber2(uint32_t msgNr)
{
    return messageNumber(msgNr, 2);
}

QByteArray discoveryDatagram(uint32_t msgNr)
{
    return joined({ReadMark, Token, messageNumber4(msgNr), DiscoveryFiller});
}

QByteArray settingsRequestCommand(uint32_t msgNr)
{
    return joined({ReadMark, Token, messageNumber4(msgNr), RequestFiller});
}

QByteArray settingsRequestPayload(const QByteArray &command, uint32_t msgNr)
{
    return joined({command, messageNumber2(msgNr), RequestTrailer});
}

QByteArray settingsDatagramPayload(const QByteArray &datagram, uint32_t msgNr)
{
    return datagram + messageNumber2(msgNr);
}

std::optional<QByteArray> readResult(QByteArray buffer, qint64 count)
{
    if (count < 0)
        return std::nullopt;
    buffer.truncate(count);
    return buffer;
}

Kind classify(QByteArrayView datagram)
{
    if (datagram.startsWith(AnswerToken))
        return Kind::SettingsAnswer;
    if (datagram.size() == OutputDatagramSize)
        return Kind::OutputData;
    return Kind::Other;
}

float getFloatFromDatagram(const QByteArray &data, int offset)
{
    if (!holds(data.size(), offset, sizeof(float)))
        return 0.0f;
    return floatAt(data, offset);
}

std::array<uint32_t, OutputWordCount> decodeOutputData(const QByteArray &data, int offset)
{
    std::array<uint32_t, OutputWordCount> words{};
    if (!holds(data.size(), offset, OutputWordsInDatagram * qsizetype(sizeof(uint32_t))))
        return words;
    for (int k = 0; k < OutputWordsInDatagram; ++k)
        words[size_t(k)] = qFromBigEndian<uint32_t>(data.constData() + offset + k * qsizetype(sizeof(uint32_t)));
    return words;
}

bool decodeOutputDatagram(QByteArrayView datagram, OutputDataType &sample, QString &line)
{
    if (datagram.size() < OutputDatagramSize)
        return false;
    line.resize(0);
    line.reserve(OutputLineCapacity);
    for (const OutputValue &value : OutputValues) {
        const float number = floatAt(datagram, OutputHeaderSize + value.word * qsizetype(sizeof(float)));
        QString &text = sample.field[size_t(value.field)];
        if (!writeFloatDisplayNumber(text, number, value.decimals, value.width))
            writeDisplayNumber(text, double(number), value.decimals, value.width);
        if (!line.isEmpty())
            line += QLatin1Char(',');
        line += text;
    }
    return true;
}

} // namespace UdpDatagrams
