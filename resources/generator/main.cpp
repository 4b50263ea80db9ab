// Build-time tool: paints every picture listed in ResourcePaths.h and writes it
// as PNG below the output folder, at the resource path without ":/".

#include "ImageCatalogue.h"
#include "ResourcePaths.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QString>

#include <cstdio>

namespace {

bool writePicture(const QString &resourcePath, const QDir &outputRoot)
{
    const QImage picture = ImageCatalogue::paint(resourcePath);
    if (picture.isNull()) {
        std::fprintf(stderr, "no painter for %s\n", qPrintable(resourcePath));
        return false;
    }
    const QString target = outputRoot.filePath(resourcePath.mid(2));
    if (!QDir().mkpath(QFileInfo(target).path()) || !picture.save(target, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(target));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QDir outputRoot(QString::fromLocal8Bit(argv[1]));
    bool allWritten = true;
    for (const char *resourcePath : ResourcePaths::Images)
        allWritten = writePicture(QString::fromLatin1(resourcePath), outputRoot) && allWritten;
    return allWritten ? 0 : 1;
}
