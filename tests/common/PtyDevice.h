#ifndef PTYDEVICE_H
#define PTYDEVICE_H

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class QSocketNotifier;

// Plays the measurement unit on the master side of a pseudo-terminal pair.
// The code under test opens portName() as its serial port. Lines the host
// writes are collected as the event loop runs; bytes sent to the host are
// queued until the terminal takes them.
class PtyDevice : public QObject
{
    Q_OBJECT

public:
    explicit PtyDevice(QObject *parent = nullptr);
    ~PtyDevice() override;

    // The slave's path, usable as a serial port name.
    QString portName() const { return m_slavePath; }

    // Sends bytes to the host unchanged.
    void send(const QByteArray &bytes);

    // The rate the host has set on the line, in bit/s, read on the master side.
    int baudRate() const;

    // Host lines received so far, without their line ends.
    QList<QByteArray> receivedLines() const { return m_lines; }

    // Closes the master side: the host sees the line hang up.
    void hangUp();

    // Bytes sent but not yet taken by the terminal.
    qsizetype pendingToHost() const { return m_toHost.size(); }

signals:
    void lineReceived(const QByteArray &line);

private:
    void readHost();
    void flushToHost();
    void closeMaster();

    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QByteArray m_fromHost;
    QByteArray m_toHost;
    QList<QByteArray> m_lines;
};

#endif // PTYDEVICE_H
