#ifndef APPLICATIONSTARTUP_H
#define APPLICATIONSTARTUP_H

// Process-wide set-up that main() does before the main window exists, and two
// message handlers for Qt's message hook that main() leaves uninstalled.

#include <QByteArray>
#include <QtGlobal>

// Makes the default OpenGL surface format: version 4.3 core profile where the
// OpenGL module is desktop OpenGL, and always a 24-bit depth buffer, an 8-bit
// stencil buffer and 4 samples.
void setDefaultSurfaceFormat();

// Loads the compiled-in fonts: the light Open Sans face first, then every
// TrueType face of the Open Sans and Source Code Pro folders. A face that
// fails to load is skipped.
void loadApplicationFonts();

// The line myMessageOutput writes for a message: "Debug: ", "Warning: ",
// "Critical: ", "Fatal: " or "Info: ", the message in the local 8-bit encoding,
// then " (file:line, function)". Empty for any other message type.
QByteArray messageOutputLine(QtMsgType type, const QMessageLogContext &context, const QString &message);

// The line errorHandler writes for a message: the type's name in its ANSI
// colour, then the message. A message whose first "|" stands after its first
// character is split there: a debug line shows the part before the "|" in
// cyan after "Debug", and every type shows only the part after it. Empty for
// any other message type.
QByteArray errorHandlerLine(QtMsgType type, const QMessageLogContext &context, const QString &message);

// Message handlers with the signature of qInstallMessageHandler; each writes
// its line to standard error. A fatal message does not end the process here.
void myMessageOutput(QtMsgType type, const QMessageLogContext &context, const QString &message);
void errorHandler(QtMsgType type, const QMessageLogContext &context, const QString &message);

#endif // APPLICATIONSTARTUP_H
