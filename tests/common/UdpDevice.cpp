#include "UdpDevice.h"

#include "DeviceTypes.h"
#include "UdpDatagrams.h"

#include <QUdpSocket>
#include <QtEndian>

#include <cstring>

namespace {

const QByteArray ReadDatagram("READ$QUORVX#");
constexpr qsizetype SettingsDatagramSize = 68; // as sent, message number included
constexpr qsizetype SignatureSize = 4;

template <typename T>
void appendBigEndian(QByteArray &bytes, T value, int size = sizeof(T))
{
    char buffer[sizeof(T)];
    qToBigEndian(value, buffer);
    bytes.append(buffer + sizeof(T) - size, size);
}

} // namespace

QByteArray DeviceRecord::toAnswer() const
{
    QByteArray bytes = UdpDatagrams::AnswerToken.toByteArray();
    bytes.append(reinterpret_cast<const char *>(address.data()), 4);
    bytes.append(6, '\xAA'); // MAC
    bytes.append(reinterpret_cast<const char *>(destination.data()), 4);
    appendBigEndian(bytes, hardwareId);
    appendBigEndian(bytes, date, 3);
    appendBigEndian(bytes, serial);
    appendBigEndian(bytes, devicePort);
    appendBigEndian(bytes, destinationPort);
    appendBigEndian(bytes, flags);
    bytes.append(header.leftJustified(8, '\0', true));
    for (const uint32_t format : formats)
        appendBigEndian(bytes, format);
    bytes.append(reinterpret_cast<const char *>(baudCodes.data()), 3);
    appendBigEndian(bytes, frequency);
    for (const int16_t offset : offsets)
        appendBigEndian(bytes, offset);
    if (partNumberBlock) {
        bytes.append(MakerPrefix);
        appendBigEndian(bytes, partHardware);
        bytes.append(partText.leftJustified(6, ' ', true));
        appendBigEndian(bytes, partSerial);
        bytes.append(partTail.leftJustified(3, ' ', true));
    }
    appendBigEndian(bytes, uint8_t(firmware.size()));
    bytes.append(firmware);
    appendBigEndian(bytes, dataLength);
    bytes.append(trailer);
    return bytes;
}

QByteArray outputDatagram(const std::array<float, 19> &words)
{
    QByteArray bytes("HEADER00");
    for (const float word : words) {
        uint32_t bits;
        std::memcpy(&bits, &word, sizeof bits);
        appendBigEndian(bytes, bits);
    }
    return bytes;
}

UdpDevice::UdpDevice(const QHostAddress &address, quint16 port, QObject *parent)
    : QObject(parent), m_socket(new QUdpSocket(this))
{
    m_socket->bind(address, port, QAbstractSocket::ShareAddress);
    record.devicePort = m_socket->localPort();
    connect(m_socket, &QUdpSocket::readyRead, this, &UdpDevice::readPending);
}

bool UdpDevice::isBound() const
{
    return m_socket->state() == QAbstractSocket::BoundState;
}

quint16 UdpDevice::port() const
{
    return m_socket->localPort();
}

bool UdpDevice::hasPendingDatagrams() const
{
    return m_socket->hasPendingDatagrams();
}

void UdpDevice::send(const QByteArray &bytes, const QHostAddress &to, quint16 port)
{
    m_socket->writeDatagram(bytes, to, port);
}

QList<QByteArray> UdpDevice::receivedStartingWith(const QByteArray &prefix) const
{
    QList<QByteArray> found;
    for (const Received &datagram : m_received) {
        if (datagram.bytes.startsWith(prefix))
            found << datagram.bytes;
    }
    return found;
}

void UdpDevice::readPending()
{
    while (m_socket->hasPendingDatagrams()) {
        Received datagram;
        datagram.bytes.resize(qMax<qint64>(m_socket->pendingDatagramSize(), 0));
        const qint64 size = m_socket->readDatagram(datagram.bytes.data(), datagram.bytes.size(), &datagram.sender,
                                                   &datagram.senderPort);
        if (size < 0)
            return;
        datagram.bytes.truncate(size);
        m_received << datagram;
        reply(datagram);
        emit datagramReceived(datagram.bytes);
    }
}

void UdpDevice::reply(const Received &datagram)
{
    if (!answering)
        return;
    const bool settings = datagram.bytes.size() == SettingsDatagramSize && !datagram.bytes.startsWith(ReadDatagram);
    if (settings && !confirming)
        return;
    QByteArray answer = record.toAnswer();
    if (settings) {
        // The signature: the last four bytes before the message number.
        answer += datagram.bytes.mid(SettingsDatagramSize - 2 - SignatureSize, SignatureSize);
    }
    m_socket->writeDatagram(answer, datagram.sender, record.destinationPort);
}
