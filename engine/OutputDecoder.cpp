#include "OutputDecoder.h"

#include "DisplayNumber.h"
#include "FrameFormat.h"

#include <QLatin1Char>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>

namespace OutputDecoder {
namespace {

using Field = OutputDataType::Field;

// Decimals of the displayed quantities.
constexpr int AngleDecimals = 2;
constexpr int HeadingDecimals = 1;
constexpr int HeaveDecimals = 3;

// Angles and heave travel in hundredths on the wire.
constexpr float HundredthsPerUnit = 100.0f;

// The last format byte of the reserved values and of the unset format.
constexpr uint8_t FirstReservedFormatByte = 0xF0;

constexpr uint32_t MaskLowByte = 0xFF;
constexpr uint32_t AttitudeBits = DataFieldFlags::Roll | DataFieldFlags::Pitch | DataFieldFlags::Yaw;

// EulerL / EulerB: roll, pitch and yaw as 4-byte floats right after the sync.
using FrameFormat::EulerFrameSize;
using FrameFormat::EulerSync;
constexpr qsizetype FloatSize = 4;

// EM1000 / EM3000: after the sync, roll, pitch, heave (signed) and heading (unsigned),
// 16-bit little-endian words.
using FrameFormat::EmFrameSize;
constexpr qsizetype EmRollOffset = 2;
constexpr qsizetype EmPitchOffset = 4;
constexpr qsizetype EmHeaveOffset = 6;
constexpr qsizetype EmHeadingOffset = 8;

// TSS1 / TSS3: a leading field, the heave glued by a status character to the
// roll, then the pitch.
constexpr char TssStart = ':';
constexpr char TssSecondStart = 'R';
enum TssPart { TssLeadPart, TssHeavePart, TssRollPart, TssPitchPart, TssPartCount };

// One value of a custom selection: its bit in format byte 0 or 1 and its field.
struct CustomField
{
    int formatByte;
    uint8_t bit;
    Field field;
};

// The order in which a custom line carries its values.
constexpr CustomField CustomFieldOrder[] = {
    {0, DataFieldFlags::Roll, Field::Roll},
    {0, DataFieldFlags::Pitch, Field::Pitch},
    {0, DataFieldFlags::Yaw, Field::Yaw},
    {0, DataFieldFlags::RollRate, Field::RollRate},
    {0, DataFieldFlags::PitchRate, Field::PitchRate},
    {0, DataFieldFlags::YawRate, Field::YawRate},
    {0, DataFieldFlags::Heave, Field::Heave},
    {0, DataFieldFlags::HeaveVelocity, Field::HeaveVelocity},
    {1, DataFieldFlags::Ax, Field::Ax},
    {1, DataFieldFlags::Ay, Field::Ay},
    {1, DataFieldFlags::Az, Field::Az},
    {1, DataFieldFlags::Counter, Field::FrameCounter},
    {1, DataFieldFlags::Checksum, Field::Checksum},
};
// A header part and at most one part per value are ever looked at.
constexpr qsizetype CustomPartCapacity = 1 + qsizetype(std::size(CustomFieldOrder));

// One text value of TOG, ISH and PRDID: the part it stands in, its field and
// how many leading characters are dropped.
struct TextField
{
    qsizetype part;
    Field field;
    qsizetype skipped;
};
using TextLayout = std::array<TextField, 3>;

constexpr TextLayout TogLayout{{{0, Field::Yaw, 2}, {1, Field::Pitch, 2}, {2, Field::Roll, 2}}};
constexpr TextLayout IshLayout{{{1, Field::Yaw, 0}, {2, Field::Pitch, 0}, {3, Field::Roll, 0}}};
constexpr TextLayout PrdidLayout{{{1, Field::Pitch, 0}, {2, Field::Roll, 0}, {3, Field::Yaw, 0}}};
constexpr qsizetype TextPartCapacity = 4;

// The first Capacity parts of a split text and the number of all its parts.
template <qsizetype Capacity>
struct Parts
{
    std::array<QByteArrayView, Capacity> items{};
    qsizetype count = 0;

    void append(QByteArrayView part)
    {
        if (count < Capacity)
            items[size_t(count)] = part;
        ++count;
    }
    // Part k, wrapping round the number of parts; k stays below Capacity.
    QByteArrayView wrapped(qsizetype k) const { return items[size_t(k % count)]; }
};

// Splits at every separator, keeping empty parts (so there is always at least one).
template <qsizetype Capacity, typename Separator>
Parts<Capacity> splitKeepingEmpty(QByteArrayView text, Separator isSeparator)
{
    Parts<Capacity> parts;
    qsizetype begin = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isSeparator(text[i])) {
            parts.append(text.sliced(begin, i - begin));
            begin = i + 1;
        }
    }
    parts.append(text.sliced(begin));
    return parts;
}

bool isFieldSeparator(char c)
{
    return c == ',' || c == '*' || c == ';' || c == ' ';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isSign(char c)
{
    return c == '+' || c == '-';
}

bool isTssStatus(char c)
{
    switch (c) {
    case 'U': case 'u': case 'H': case 'h': case 'G': case 'g': case 'F': case 'f':
        return true;
    default:
        return false;
    }
}

// Stores bytes as they stand (UTF-8) into text, reusing its buffer for plain ASCII.
void setText(QString &text, QByteArrayView bytes)
{
    if (std::any_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x80; })) {
        text = QString::fromUtf8(bytes);
        return;
    }
    text.resize(bytes.size());
    std::transform(bytes.begin(), bytes.end(), text.data(), [](char c) { return QLatin1Char(c); });
}

QByteArrayView withoutFirst(QByteArrayView text, qsizetype n)
{
    return text.size() > n ? text.sliced(n) : QByteArrayView();
}

// A number as Qt reads it, 0 when it is none. Plain integers of up to seven
// digits, the usual case, are exact in single precision and read directly.
float readFloat(QByteArrayView text)
{
    constexpr qsizetype ExactDigits = 7;
    const qsizetype first = !text.isEmpty() && isSign(text.front()) ? 1 : 0;
    const qsizetype digits = text.size() - first;
    if (digits < 1 || digits > ExactDigits)
        return text.toFloat();
    int32_t number = 0;
    for (qsizetype i = first; i < text.size(); ++i) {
        if (!isDigit(text[i]))
            return text.toFloat();
        number = number * 10 + (text[i] - '0');
    }
    return text.front() == '-' ? -float(number) : float(number);
}

void setNumber(QString &text, float value, int decimals)
{
    writeDisplayNumber(text, double(value), decimals);
}

// Float k of an EulerL/EulerB frame, which starts right after the sync.
float eulerFloat(QByteArrayView frame, int k, bool bigEndian)
{
    const void *bytes = frame.data() + EulerSync.size() + k * FloatSize;
    const quint32 bits = bigEndian ? qFromBigEndian<quint32>(bytes) : qFromLittleEndian<quint32>(bytes);
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

Result decodeEuler(QByteArrayView frame, bool bigEndian, OutputDataType &sample, uint32_t &mask)
{
    if (frame.size() < EulerFrameSize || !frame.startsWith(EulerSync))
        return Result::Ignored;
    setNumber(sample.field[Field::Roll], eulerFloat(frame, 0, bigEndian), AngleDecimals);
    setNumber(sample.field[Field::Pitch], eulerFloat(frame, 1, bigEndian), AngleDecimals);
    setNumber(sample.field[Field::Yaw], eulerFloat(frame, 2, bigEndian), HeadingDecimals);
    mask |= AttitudeBits;
    return Result::Decoded;
}

template <typename Word>
float emHundredths(QByteArrayView frame, qsizetype offset)
{
    return float(qFromLittleEndian<Word>(frame.data() + offset)) / HundredthsPerUnit;
}

Result decodeEm(QByteArrayView frame, QByteArrayView sync, OutputDataType &sample, uint32_t &mask)
{
    if (frame.size() < EmFrameSize || !frame.startsWith(sync))
        return Result::Ignored;
    setNumber(sample.field[Field::Roll], emHundredths<qint16>(frame, EmRollOffset), AngleDecimals);
    setNumber(sample.field[Field::Pitch], emHundredths<qint16>(frame, EmPitchOffset), AngleDecimals);
    setNumber(sample.field[Field::Heave], emHundredths<qint16>(frame, EmHeaveOffset), HeaveDecimals);
    setNumber(sample.field[Field::Yaw], emHundredths<quint16>(frame, EmHeadingOffset), HeadingDecimals);
    mask |= AttitudeBits | DataFieldFlags::Heave;
    return Result::Decoded;
}

// Position of the status character right after the signed heave digits, or -1.
qsizetype tssStatusPosition(QByteArrayView part)
{
    qsizetype i = !part.isEmpty() && isSign(part.front()) ? 1 : 0;
    while (i < part.size() && (isDigit(part[i]) || part[i] == '.'))
        ++i;
    return i < part.size() && isTssStatus(part[i]) ? i : -1;
}

void appendNonEmpty(Parts<TssPartCount> &parts, QByteArrayView part)
{
    if (!part.isEmpty())
        parts.append(part);
}

// The non-empty parts of a TSS line; the heave part is cut at its status character.
Parts<TssPartCount> tssParts(QByteArrayView text)
{
    Parts<TssPartCount> parts;
    qsizetype begin = 0;
    for (qsizetype i = 0; i <= text.size() && parts.count < TssPartCount; ++i) {
        if (i < text.size() && !isFieldSeparator(text[i]))
            continue;
        const QByteArrayView part = text.sliced(begin, i - begin);
        begin = i + 1;
        const qsizetype status = parts.count == TssHeavePart ? tssStatusPosition(part) : -1;
        if (status < 0) {
            appendNonEmpty(parts, part);
        } else {
            appendNonEmpty(parts, part.first(status));
            appendNonEmpty(parts, part.sliced(status + 1));
        }
    }
    return parts;
}

// TSS1 and TSS3. A line with fewer parts decodes what it holds and leaves the rest.
Result decodeTss(QByteArrayView data, OutputDataType &sample, uint32_t &mask)
{
    QByteArrayView text = data.trimmed();
    if (text.startsWith(TssStart))
        text = text.sliced(1);
    if (text.startsWith(TssSecondStart))
        text = text.sliced(1);

    const Parts<TssPartCount> parts = tssParts(text);
    if (parts.count > TssHeavePart) {
        setNumber(sample.field[Field::Heave], readFloat(parts.items[TssHeavePart]) / HundredthsPerUnit, HeaveDecimals);
        mask |= DataFieldFlags::Heave;
    }
    if (parts.count > TssRollPart) {
        setNumber(sample.field[Field::Roll], readFloat(parts.items[TssRollPart]) / HundredthsPerUnit, AngleDecimals);
        mask |= DataFieldFlags::Roll;
    }
    if (parts.count > TssPitchPart) {
        setNumber(sample.field[Field::Pitch], readFloat(parts.items[TssPitchPart]) / HundredthsPerUnit, AngleDecimals);
        mask |= DataFieldFlags::Pitch;
    }
    return parts.count > TssHeavePart ? Result::Decoded : Result::Ignored;
}

// TOG, ISH and PRDID: texts stored as they stand; a short line repeats its parts.
Result decodeTextFields(QByteArrayView data, const TextLayout &layout, OutputDataType &sample, uint32_t &mask)
{
    const auto parts = splitKeepingEmpty<TextPartCapacity>(data.trimmed(), isFieldSeparator);
    for (const TextField &value : layout)
        setText(sample.field[value.field], withoutFirst(parts.wrapped(value.part), value.skipped));
    mask = (mask & ~MaskLowByte) | AttitudeBits;
    return Result::Decoded;
}

} // namespace

bool decodesTextLines(const OutputProtocolType &slot)
{
    return slot.format.back() < FirstReservedFormatByte;
}

bool isCustomSelection(uint32_t value)
{
    return value >= uint32_t(ProtocolValue::CustomFields);
}

Result decodePredefined(uint32_t value, QByteArrayView data, OutputDataType &sample, uint32_t &mask)
{
    switch (value) {
    case ProtocolValue::EulerL:
        return decodeEuler(data, false, sample, mask);
    case ProtocolValue::EulerB:
        return decodeEuler(data, true, sample, mask);
    case ProtocolValue::EM1000:
        return decodeEm(data, FrameFormat::Em1000Sync, sample, mask);
    case ProtocolValue::EM3000:
        return decodeEm(data, FrameFormat::Em3000Sync, sample, mask);
    case ProtocolValue::TSS1:
    case ProtocolValue::TSS3:
        return decodeTss(data, sample, mask);
    case ProtocolValue::TOG:
        return decodeTextFields(data, TogLayout, sample, mask);
    case ProtocolValue::ISH:
        return decodeTextFields(data, IshLayout, sample, mask);
    case ProtocolValue::PRDID:
        return decodeTextFields(data, PrdidLayout, sample, mask);
    case ProtocolValue::UPX:
        return Result::Ignored;
    default:
        mask = 0;
        return Result::Unrecognised;
    }
}

std::optional<QString> decodeCustom(QByteArrayView line, OutputProtocolType &slot, OutputDataType &sample,
                                    bool &headerCapturePending)
{
    auto parts = splitKeepingEmpty<CustomPartCapacity>(line.trimmed(), [](char c) { return c == ','; });

    // The header leads the first part up to its first sign; a first part
    // without a sign is all header and the values start with the next part.
    const QByteArrayView first = parts.items[0];
    const auto sign = std::find_if(first.begin(), first.end(), isSign);
    const QByteArrayView header = first.first(sign - first.begin());
    qsizetype index = 0;
    if (sign == first.end())
        index = 1;
    else
        parts.items[0] = first.sliced(sign - first.begin());

    std::optional<QString> captured;
    if (headerCapturePending) {
        headerCapturePending = false;
        slot.header = QString::fromUtf8(header);
        captured = slot.header;
    }

    for (const CustomField &value : CustomFieldOrder) {
        if (slot.format[size_t(value.formatByte)] & value.bit)
            setText(sample.field[value.field], parts.wrapped(index++));
    }
    return captured;
}

} // namespace OutputDecoder
