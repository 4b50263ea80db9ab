#ifndef SERIALTESTSETTINGS_H
#define SERIALTESTSETTINGS_H

#include "DeviceTypes.h"

#include <QSerialPort>

// Link settings for opening a test port at 115200 8N1.
inline UserSettingsType serialTestSettings(const QString &portName)
{
    UserSettingsType settings;
    settings.portName = portName;
    settings.baudRate = QSerialPort::Baud115200;
    settings.stringBaudRate = QStringLiteral("115200");
    settings.dataBits = QSerialPort::Data8;
    settings.stringDataBits = QStringLiteral("8");
    settings.parity = QSerialPort::NoParity;
    settings.stringParity = QStringLiteral("None");
    settings.stopBits = QSerialPort::OneStop;
    settings.stringStopBits = QStringLiteral("1");
    settings.statisticsTime = 7;
    return settings;
}

#endif // SERIALTESTSETTINGS_H
