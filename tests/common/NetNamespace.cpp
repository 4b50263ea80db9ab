#include "NetNamespace.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sched.h>
#include <unistd.h>

namespace {

bool writeFile(const char *path, const QByteArray &text)
{
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// Maps the caller to root of a new user namespace, which owns the new network namespace.
QString unshareNetwork()
{
    const uid_t uid = geteuid();
    const gid_t gid = getegid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNET) == 0) {
        if (!writeFile("/proc/self/setgroups", "deny")
            || !writeFile("/proc/self/uid_map", "0 " + QByteArray::number(uid) + " 1")
            || !writeFile("/proc/self/gid_map", "0 " + QByteArray::number(gid) + " 1"))
            return QStringLiteral("the user namespace could not be mapped");
        return {};
    }
    const int userError = errno;
    // Root where user namespaces are off may still make a network namespace.
    if (unshare(CLONE_NEWNET) == 0)
        return {};
    return QStringLiteral("unshare refused: %1").arg(QString::fromLocal8Bit(std::strerror(userError)));
}

} // namespace

namespace NetNamespace {

bool ip(const QString &arguments)
{
    const QByteArray command = "ip " + arguments.toLocal8Bit() + " >/dev/null 2>&1";
    return std::system(command.constData()) == 0;
}

QString enter()
{
    if (const QString refused = unshareNetwork(); !refused.isEmpty())
        return refused;
    const QStringList steps{
        QStringLiteral("link set lo up"),
        QStringLiteral("link add v0 type veth peer name v1"),
        QStringLiteral("addr add %1/24 broadcast %2 dev v0").arg(HostAddress, BroadcastAddress),
        QStringLiteral("addr add %1/24 broadcast %2 dev v1").arg(DeviceAddress, BroadcastAddress),
        QStringLiteral("link set v0 up"),
        QStringLiteral("link set v1 up"),
    };
    for (const QString &step : steps) {
        if (!ip(step))
            return QStringLiteral("\"ip %1\" failed in the network namespace").arg(step);
    }
    return {};
}

int finish(int result, const QString &refused)
{
    if (result == 0 && !refused.isEmpty())
        std::printf("%s: %s\n", IMU_NAMESPACE_NOT_RUN, qPrintable(refused));
    return result;
}

} // namespace NetNamespace
