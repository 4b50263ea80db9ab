#include "ApplicationStartup.h"

#include <QDir>
#include <QFontDatabase>
#include <QOpenGLContext>
#include <QSurfaceFormat>

#include <cstdio>

namespace {

constexpr int GlMajorVersion = 4;
constexpr int GlMinorVersion = 3;
constexpr int DepthBufferBits = 24;
constexpr int Samples = 4;
constexpr int StencilBufferBits = 8;

const QString LightFace = QStringLiteral(":/fonts/Open_Sans/OpenSans-Light.ttf");
const QStringList FontFolders{QStringLiteral(":/fonts/Open_Sans"), QStringLiteral(":/fonts/Source_Code_Pro")};

void loadFontFolder(const QString &folder)
{
    const QDir dir(folder);
    const QStringList faces = dir.entryList({QStringLiteral("*.ttf")}, QDir::Files, QDir::Unsorted);
    for (const QString &face : faces)
        QFontDatabase::addApplicationFont(dir.filePath(face));
}

// How each message type opens its line: plain, and in ANSI colours.
struct MessageHead
{
    QtMsgType type;
    const char *plain;
    const char *coloured;
};

constexpr MessageHead MessageHeads[] = {
    {QtDebugMsg, "Debug: ", "\033[32mDebug\033[36m"},
    {QtWarningMsg, "Warning: ", "\033[33mWarning\033[0m: "},
    {QtCriticalMsg, "Critical: ", "\033[35mCritical\033[0m: "},
    {QtFatalMsg, "Fatal: ", "\033[31mFatal\033[0m: "},
    {QtInfoMsg, "Info: ", "\033[36mInfo\033[0m: "},
};

// The debug head leaves room for the context, which closes the colour.
const QByteArray DebugContextEnd("\033[0m: ");
const QByteArray ContextLead(": ");
constexpr char ContextSeparator = '|';

const MessageHead *messageHead(QtMsgType type)
{
    for (const MessageHead &head : MessageHeads) {
        if (head.type == type)
            return &head;
    }
    return nullptr;
}

void writeToStandardError(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

} // namespace

void setDefaultSurfaceFormat()
{
    QSurfaceFormat format;
    if (QOpenGLContext::openGLModuleType() == QOpenGLContext::LibGL) {
        format.setVersion(GlMajorVersion, GlMinorVersion);
        format.setProfile(QSurfaceFormat::CoreProfile);
    }
    format.setDepthBufferSize(DepthBufferBits);
    format.setSamples(Samples);
    format.setStencilBufferSize(StencilBufferBits);
    QSurfaceFormat::setDefaultFormat(format);
}

void loadApplicationFonts()
{
    QFontDatabase::addApplicationFont(LightFace);
    for (const QString &folder : FontFolders)
        loadFontFolder(folder);
}

QByteArray messageOutputLine(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const MessageHead *head = messageHead(type);
    if (!head)
        return QByteArray();
    const QByteArray file(context.file ? context.file : "");
    const QByteArray function(context.function ? context.function : "");
    return head->plain + message.toLocal8Bit() + " (" + file + ':' + QByteArray::number(uint(context.line)) + ", "
           + function + ")\n";
}

QByteArray errorHandlerLine(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    const MessageHead *head = messageHead(type);
    if (!head)
        return QByteArray();
    QByteArray text = message.toLocal8Bit();
    QByteArray contextText;
    const qsizetype separator = text.indexOf(ContextSeparator);
    if (separator >= 1) {
        contextText = ContextLead + text.first(separator);
        text.remove(0, separator + 1);
    }
    if (type == QtDebugMsg)
        return head->coloured + contextText + DebugContextEnd + text + '\n';
    return head->coloured + text + '\n';
}

void myMessageOutput(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    writeToStandardError(messageOutputLine(type, context, message));
}

void errorHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    writeToStandardError(errorHandlerLine(type, context, message));
}
