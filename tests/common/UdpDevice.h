#ifndef UDPDEVICE_H
#define UDPDEVICE_H

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>

#include <array>
#include <cstdint>

class QUdpSocket;

// The unit's configuration as a settings answer carries it; toAnswer() writes
// the record byte for byte, big-endian, after the answer token.
struct DeviceRecord
{
    std::array<uint8_t, 4> address{127, 0, 0, 1};
    std::array<uint8_t, 4> destination{127, 0, 0, 1};
    uint8_t hardwareId = 7;
    uint32_t date = 20231; // 24 bits
    uint16_t serial = 42;
    uint16_t devicePort = 8088;
    uint16_t destinationPort = 8080;
    uint32_t flags = 0x21;
    QByteArray header{"ABC\0\0\0\0\0", 8};
    std::array<uint32_t, 3> formats{0x80000014, 0x00000003, 0x00000006};
    std::array<uint8_t, 3> baudCodes{5, 1, 2};
    uint16_t frequency = 100;
    std::array<int16_t, 3> offsets{-200, 200, 150}; // hundredths of a degree
    bool partNumberBlock = true;
    uint8_t partHardware = 3;
    QByteArray partText{"ABCDEF"};
    uint8_t partSerial = 12;
    QByteArray partTail{"XYZ"};
    QByteArray firmware{"1.2.3"};
    uint8_t dataLength = 0;
    QByteArray trailer{" ready "};

    QByteArray toAnswer() const;
};

// An output datagram: an 8-byte header, then nineteen big-endian floats.
QByteArray outputDatagram(const std::array<float, 19> &words);

// Plays the measurement unit on a UDP socket bound to the address and port the
// test picks (port 0: the system chooses). Datagrams received are collected as
// the event loop runs. When answering, the unit replies to discovery datagrams
// and settings requests with its settings answer, and to a settings datagram,
// when confirming, with an answer ending in that datagram's last four bytes;
// replies go to the sender's address at the record's destination port.
class UdpDevice : public QObject
{
    Q_OBJECT

public:
    struct Received
    {
        QByteArray bytes;
        QHostAddress sender;
        quint16 senderPort = 0;
    };

    explicit UdpDevice(const QHostAddress &address = QHostAddress(QHostAddress::LocalHost), quint16 port = 0,
                       QObject *parent = nullptr);

    bool isBound() const;
    quint16 port() const;
    // Whether datagrams sent to the double wait to be read (and answered).
    bool hasPendingDatagrams() const;

    DeviceRecord record;
    bool answering = true;
    bool confirming = true;

    void send(const QByteArray &bytes, const QHostAddress &to, quint16 port);
    QList<Received> received() const { return m_received; }
    // Received datagrams that begin with prefix.
    QList<QByteArray> receivedStartingWith(const QByteArray &prefix) const;
    void clear() { m_received.clear(); }

signals:
    void datagramReceived(const QByteArray &bytes);

private:
    void readPending();
    void reply(const Received &datagram);

    QUdpSocket *m_socket = nullptr;
    QList<Received> m_received;
};

#endif // UDPDEVICE_H
