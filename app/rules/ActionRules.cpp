// Tool-bar action rules that need no widget.

#include "ActionRules.h"

#include "Worker.h"

#include <QFileInfo>

namespace ActionRules {

namespace {

constexpr int MillisecondsPerSecond = 1000;

const QList<LinkAction> ConnectGroup{LinkAction::Connect, LinkAction::EthernetConnect,
                                       LinkAction::HaltSerialPort};

QList<LinkAction> actionsFor(int bits, bool withEthernetBit)
{
    QList<LinkAction> actions;
    if (bits & Worker::ConnectActions)
        actions += ConnectGroup;
    if (bits & Worker::ConnectAction)
        actions += LinkAction::Connect;
    if (bits & Worker::ConfigureAction)
        actions += LinkAction::Configure;
    if (bits & Worker::HaltAction)
        actions += LinkAction::HaltSerialPort;
    if (withEthernetBit && (bits & Worker::EthernetConnectAction))
        actions += LinkAction::EthernetConnect;
    return actions;
}

} // namespace

QList<LinkAction> actionsToEnable(int bits)
{
    return actionsFor(bits, false);
}

QList<LinkAction> actionsToCheck(int bits)
{
    return actionsFor(bits, true);
}

unsigned int elapsedSeconds(int elapsedMs)
{
    return elapsedMs > 0 ? unsigned(elapsedMs / MillisecondsPerSecond) : 0;
}

std::optional<DetectedPort> detectedPortAt(const QList<QString> &portNames, const QList<int> &baudRates, int row)
{
    if (row < 0 || row >= portNames.size() || row >= baudRates.size())
        return std::nullopt;
    const int rate = baudRates.at(row);
    return DetectedPort{portNames.at(row), rate, QString::number(rate)};
}

QString initialLogPath(const QString &storedPath, const QString &documentsFolder, const QString &homeFolder)
{
    if (!storedPath.isEmpty() && QFileInfo::exists(storedPath))
        return storedPath;
    const QString folder = QFileInfo(documentsFolder).isDir() ? documentsFolder : homeFolder;
    return folder + QStringLiteral("/untitled.txt");
}

bool holdsRecording(const QString &fileName)
{
    const QFileInfo info(fileName);
    return !fileName.isEmpty() && info.isFile() && info.size() > 0;
}

LoggingStep loggingStep(bool checked, const QString &fileName)
{
    if (!checked)
        return {false, "msg Info : From main : stop data capturing : " + fileName.toLatin1()};
    if (fileName.isEmpty())
        return {false, "msg Error : From main : on_actionDataLogging_triggered file name is Empty"};
    return {true, "msg Info : From main : start data capturing : " + fileName.toLatin1()};
}

QString loggingToolTip(bool logging)
{
    return logging ? QStringLiteral("stop data logging") : QStringLiteral("start data logging");
}

} // namespace ActionRules
