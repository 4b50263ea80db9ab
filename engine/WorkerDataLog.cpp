// The data log: everything received from the device, recorded to the file the
// user chose while logging is on.

#include "Worker.h"

#include <QMutexLocker>

#include <cerrno>

#include <sys/stat.h>

// A start truncates the file; a start while logging closes the previous file
// first, so the new name takes effect. Logging is on only while a file is open,
// and its file is looked at while it is.
void Worker::startDataLogging(bool start, const QString &fileName)
{
    QMutexLocker locker(&m_mutex);
    if (start && !fileName.isEmpty()) {
        closeDataLog();
        m_logFile.setFileName(fileName);
        // Unbuffered: every write reaches the file at once, so the file never
        // lacks a tail of received bytes, whatever ends the recording.
        m_logging = m_logFile.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        if (m_logging)
            m_logFileCheckTimer.start(LogFileCheckIntervalMs, this);
        else
            emit signalDataLogFailed(fileName, m_logFile.errorString());
    } else if (!start) {
        closeDataLog();
    }
    emit signalStartDataCapturing(m_logging);
}

void Worker::closeDataLog()
{
    m_logFileCheckTimer.stop();
    m_logging = false;
    m_logFile.close();
}

void Worker::writeDataLog(const QByteArray &bytes)
{
    if (m_logging && m_logFile.isOpen() && m_logFile.write(bytes) != bytes.size())
        stopDataLogOnError("writeDataLog", m_logFile.errorString());
}

// A file removed while open still takes every write, into a file nobody can
// reach any more: the write-error path never runs, so the file's names are
// counted instead. Only a file left without any name counts as removed: one
// renamed or moved within its file system is the same file, and recording goes
// on there under its new name. A move to another file system copies the file
// and removes the original: that stops logging, as any removal does.
void Worker::checkDataLogFile()
{
    struct stat status {};
    if (::fstat(m_logFile.handle(), &status) != 0)
        stopDataLogOnError("checkDataLogFile", qt_error_string(errno));
    else if (status.st_nlink == 0)
        stopDataLogOnError("checkDataLogFile", tr("The file was removed"));
}

// A full disk, a removed file or an unplugged device: logging stops rather than
// looking on while nothing is recorded.
void Worker::stopDataLogOnError(const QByteArray &operation, const QString &reason)
{
    const QString fileName = m_logFile.fileName();
    closeDataLog();
    emit signalErrorLoggerWrite("msg Error : Worker : " + operation + " : " + fileName.toLatin1() + " : "
                                + reason.toLatin1());
    emit signalDataLogFailed(fileName, reason);
    emit signalStartDataCapturing(false);
}
