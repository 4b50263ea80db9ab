#ifndef IMAGECATALOGUE_H
#define IMAGECATALOGUE_H

#include <QImage>
#include <QString>

// Finds the painter of a resource picture by its resource path.
namespace ImageCatalogue {

// The picture for resourcePath, or a null image when no painter knows the path.
QImage paint(const QString &resourcePath);

} // namespace ImageCatalogue

#endif // IMAGECATALOGUE_H
