#include "PtyDevice.h"

#include "LineRate.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {
const QByteArray LineEnd("\r\n");
constexpr int ReadChunk = 4096;
constexpr int PathLength = 256;
} // namespace

PtyDevice::PtyDevice(QObject *parent)
    : QObject(parent)
{
    termios raw{};
    cfmakeraw(&raw);
    char path[PathLength] = {};
    if (::openpty(&m_master, &m_slave, path, &raw, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    m_slavePath = QString::fromLocal8Bit(path);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);

    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PtyDevice::readHost);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &PtyDevice::flushToHost);
}

PtyDevice::~PtyDevice()
{
    closeMaster();
    if (m_slave >= 0)
        ::close(m_slave);
}

void PtyDevice::send(const QByteArray &bytes)
{
    if (m_master < 0)
        return;
    m_toHost.append(bytes);
    flushToHost();
}

int PtyDevice::baudRate() const
{
    return lineRate(m_master);
}

void PtyDevice::hangUp()
{
    closeMaster();
}

void PtyDevice::readHost()
{
    char buffer[ReadChunk];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        m_fromHost.append(buffer, n);
    }
    for (qsizetype end = m_fromHost.indexOf(LineEnd); end >= 0; end = m_fromHost.indexOf(LineEnd)) {
        const QByteArray line = m_fromHost.left(end);
        m_fromHost.remove(0, end + LineEnd.size());
        m_lines.append(line);
        emit lineReceived(line);
    }
}

void PtyDevice::flushToHost()
{
    while (!m_toHost.isEmpty()) {
        const ssize_t n = ::write(m_master, m_toHost.constData(), size_t(m_toHost.size()));
        if (n <= 0)
            break;
        m_toHost.remove(0, n);
    }
    m_writeNotifier->setEnabled(!m_toHost.isEmpty());
}

void PtyDevice::closeMaster()
{
    if (m_master < 0)
        return;
    delete m_readNotifier;
    delete m_writeNotifier;
    m_readNotifier = m_writeNotifier = nullptr;
    ::close(m_master);
    m_master = -1;
}
