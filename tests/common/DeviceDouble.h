#ifndef DEVICEDOUBLE_H
#define DEVICEDOUBLE_H

#include "PtyDevice.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTimer>

#include <functional>

// Plays a whole measurement unit on a pseudo-terminal: it answers the 19
// read-out queries from one consistent configuration, takes each "$set" line
// into that configuration and answers it as the unit does, answers only at one
// line rate when asked to, and streams output samples at a given byte rate.
// Everything it sends is kept (or handed out by bytesSent) so that tests can
// compare a data log with it.
class DeviceDouble : public QObject
{
    Q_OBJECT

public:
    using SampleSource = std::function<QByteArray()>;

    // Answer payloads by code; the output slots 1 and 2 are "prt1" and "prt2".
    using Configuration = QHash<QByteArray, QByteArray>;

    // A unit of hardware id 21 (with Ethernet), streaming TSS1, flags 0x21,
    // every value off the main window's defaults.
    static Configuration defaultConfiguration();

    explicit DeviceDouble(QObject *parent = nullptr);

    QString portName() const { return m_pty.portName(); }
    int baudRate() const { return m_pty.baudRate(); }
    qsizetype pendingToHost() const { return m_pty.pendingToHost(); }

    Configuration &configuration() { return m_configuration; }

    // Answers queries and settings only while the host's line runs at this
    // rate; 0 (the default) answers at every rate. Silent: answers nothing.
    void setAnswerRate(int bitsPerSecond) { m_answerRate = bitsPerSecond; }
    void setSilent(bool silent) { m_silent = silent; }

    // Streams samples taken from source at about bytesPerSecond, in one chunk
    // every pace; a running stream switches to the new source and rate.
    void startStreaming(const SampleSource &source, int bytesPerSecond, int paceMs = DefaultPaceMs);
    void stopStreaming();
    bool streaming() const { return m_paceTimer.isActive(); }
    // Writes each due sample on its own instead of one chunk per pace, as a
    // unit does.
    void setSampleWrites(bool each) { m_sampleWrites = each; }

    // Sends bytes as the unit would; they are kept like streamed ones.
    void send(const QByteArray &bytes);
    void hangUp() { m_pty.hangUp(); }

    // Everything sent so far, unless keeping was switched off.
    const QByteArray &sentBytes() const { return m_sent; }
    qint64 sentCount() const { return m_sentCount; }
    qint64 samplesStreamed() const { return m_samples; }
    void setKeepSentBytes(bool keep) { m_keepSent = keep; }

    // Host lines so far without their line ends; the "$set" lines among them.
    QList<QByteArray> receivedLines() const { return m_pty.receivedLines(); }
    QList<QByteArray> setLines() const;
    // Read-outs answered to their last query.
    int readoutsAnswered() const { return m_readoutsAnswered; }

    static constexpr int DefaultPaceMs = 5;

signals:
    void bytesSent(const QByteArray &bytes);
    // A query was answered; readoutAnswered follows the answer to the last one.
    void queryAnswered(const QByteArray &code);
    void readoutAnswered();
    // A setting was taken; the output protocol of slot 0 as its format value.
    void settingTaken(const QByteArray &code, const QByteArray &value);
    void protocolSet(quint32 value);

private:
    void handleLine(const QByteArray &line);
    void answerQuery(const QByteArray &query);
    void takeSetting(const QByteArray &line);
    void pace();
    bool answering() const;

    PtyDevice m_pty;
    Configuration m_configuration;
    int m_answerRate = 0;
    bool m_silent = false;

    QTimer m_paceTimer;
    QElapsedTimer m_streamClock;
    SampleSource m_source;
    qint64 m_streamRate = 0;
    qint64 m_streamedSinceStart = 0;
    qint64 m_samples = 0;

    QByteArray m_sent;
    qint64 m_sentCount = 0;
    bool m_keepSent = true;
    bool m_sampleWrites = false;
    int m_readoutsAnswered = 0;
};

#endif // DEVICEDOUBLE_H
