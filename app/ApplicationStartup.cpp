#include "ApplicationStartup.h"

#include <QDir>
#include <QFontDatabase>
#include <QOpenGLContext>
#include <QSurfaceFormat>

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
