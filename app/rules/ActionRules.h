#ifndef ACTIONRULES_H
#define ACTIONRULES_H

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// Rules of the main window's tool-bar actions that need no widget: which
// actions the worker's action bits address, the pick from the detected-port
// list, and the log file and data-logging steps.
namespace ActionRules {

// The tool-bar actions the worker addresses by bits.
enum class LinkAction { Connect, EthernetConnect, HaltSerialPort, Configure };

// Actions addressed by the bits of an enable request, in the order they are set.
QList<LinkAction> actionsToEnable(int bits);
// Actions addressed by the bits of a check request, in the order they are set.
QList<LinkAction> actionsToCheck(int bits);

// Detection time in whole seconds (truncated); a negative time counts as none.
unsigned int elapsedSeconds(int elapsedMs);

// The port and rate the user picked from the detected-port list.
struct DetectedPort
{
    QString portName;
    int baudRate = 0;
    QString stringBaudRate;
};

// The entry at row, or nothing when row names no entry of both lists.
std::optional<DetectedPort> detectedPortAt(const QList<QString> &portNames, const QList<int> &baudRates, int row);

// Where the log-file dialog starts: the stored file, or, when no file exists at
// the stored path, "untitled.txt" in the documents folder, or in the home folder
// where the documents folder does not exist (a fresh account may have none).
QString initialLogPath(const QString &storedPath, const QString &documentsFolder, const QString &homeFolder);

// True when fileName names an existing file that already holds data.
bool holdsRecording(const QString &fileName);

// One request of the data-logging action: whether logging starts, and its event-log line.
struct LoggingStep
{
    bool start = false;
    QByteArray eventLine;
};

LoggingStep loggingStep(bool checked, const QString &fileName);

// Tool tip of the data-logging action: the next step it offers.
QString loggingToolTip(bool logging);

} // namespace ActionRules

#endif // ACTIONRULES_H
