// The binary settings datagram of the UDP link.

#include "EthernetSettingsDatagram.h"

#include "UdpDatagrams.h"

#include <QtEndian>

#include <cmath>

namespace {

constexpr std::array<uint8_t, 4> FixedBytes{0x00, 0x00, 0x05, 0x0A};
constexpr double FixedPointOne = 65536.0;

template<typename T>
void appendBigEndian(QByteArray &datagram, T value)
{
    std::array<char, sizeof(T)> bytes{};
    qToBigEndian(value, bytes.data());
    datagram.append(bytes.data(), qsizetype(bytes.size()));
}

template<std::size_t N>
void appendBytes(QByteArray &datagram, const std::array<uint8_t, N> &bytes)
{
    datagram.append(reinterpret_cast<const char *>(bytes.data()), qsizetype(N));
}

} // namespace

namespace EthernetSettingsDatagram {

int32_t fixedPoint(double degrees)
{
    const double product = degrees * FixedPointOne;
    return int32_t(product >= 0.0 ? std::ceil(product) : std::floor(product));
}

QByteArray headerBytes(const QString &header)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < header.size();) {
        const qsizetype length = header.at(i).isHighSurrogate() && i + 1 < header.size() ? 2 : 1;
        const QByteArray character = header.mid(i, length).toUtf8();
        if (bytes.size() + character.size() > HeaderBytes)
            break;
        bytes.append(character);
        i += length;
    }
    return bytes;
}

} // namespace EthernetSettingsDatagram

QByteArray buildEthernetSettingsDatagram(const EthernetSettingsFields &fields, uint32_t counter)
{
    using namespace EthernetSettingsDatagram;
    QByteArray datagram(UdpDatagrams::Token.toByteArray());
    datagram.reserve(Size);
    appendBytes(datagram, FixedBytes);
    appendBigEndian(datagram, fields.deviceUdpPort);
    appendBigEndian(datagram, fields.localUdpPort);
    appendBytes(datagram, fields.deviceAddress);
    appendBytes(datagram, fields.destinationAddress);
    appendBigEndian(datagram, fields.flags);
    appendBytes(datagram, fields.protocolFormat);
    appendBytes(datagram, fields.baudCodes);
    datagram.append('\0');
    appendBigEndian(datagram, uint16_t(fields.frequency));
    for (double offset : {fields.rollOffset, fields.pitchOffset, fields.yawOffset})
        appendBigEndian(datagram, fixedPoint(offset));
    datagram.append(headerBytes(fields.header).leftJustified(HeaderBytes, '\0'));
    appendBigEndian(datagram, fixedPoint(fields.northOffset));
    appendBigEndian(datagram, qChecksum(datagram, Qt::ChecksumIso3309));
    appendBigEndian(datagram, uint16_t(counter));
    return datagram;
}
