#include "SerialPortName.h"

QString displayPortName(const QString &portName)
{
    const QLatin1String calloutPrefix("cu.");
    return portName.startsWith(calloutPrefix, Qt::CaseSensitive) ? portName.mid(calloutPrefix.size()) : portName;
}
