// The data log: everything received from the device, recorded to the file the
// user chose while logging is on.

#include "Worker.h"

#include <QMutexLocker>

// A start truncates the file; a start while logging closes the previous file
// first, so the new name takes effect. Logging is on only while a file is open.
void Worker::startDataLogging(bool start, const QString &fileName)
{
    QMutexLocker locker(&m_mutex);
    if (start && !fileName.isEmpty()) {
        m_logFile.close();
        m_logFile.setFileName(fileName);
        // Unbuffered: every write reaches the file at once, so the file never
        // lacks a tail of received bytes, whatever ends the recording.
        m_logging = m_logFile.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        if (!m_logging)
            emit signalDataLogFailed(fileName, m_logFile.errorString());
    } else if (!start) {
        m_logging = false;
        m_logFile.close();
    }
    emit signalStartDataCapturing(m_logging);
}

void Worker::writeDataLog(const QByteArray &bytes)
{
    if (m_logging && m_logFile.isOpen() && m_logFile.write(bytes) != bytes.size())
        stopDataLogOnWriteError();
}

// A full disk, a removed file or an unplugged device: logging stops rather than
// looking on while nothing is recorded.
void Worker::stopDataLogOnWriteError()
{
    const QString fileName = m_logFile.fileName();
    const QString reason = m_logFile.errorString();
    m_logging = false;
    m_logFile.close();
    emit signalErrorLoggerWrite("msg Error : Worker : writeDataLog : " + fileName.toLatin1() + " : "
                                + reason.toLatin1());
    emit signalDataLogFailed(fileName, reason);
    emit signalStartDataCapturing(false);
}
