#ifndef PICTURES_H
#define PICTURES_H

#include <QImage>

// Painters of the larger pictures: the maker's logo, the device models and the
// cube texture.
namespace Pictures {

QImage makerLogo();
// Rugged housing with mounting flanges and a round connector.
QImage modelDravona();
// Compact housing with a network jack.
QImage modelQuorvex();
// Bare circuit board of the module version.
QImage modelOem();
// Six die faces in a 3 x 2 atlas, one per side of a cube.
QImage cubeTexture();

} // namespace Pictures

#endif // PICTURES_H
