#ifndef LINKICONS_H
#define LINKICONS_H

#include <QImage>

// Painters of the icons that show a link: the serial connector, the Ethernet jack
// and the serial port set-up.
namespace LinkIcons {

QImage serial(bool connected);
QImage serialConfig();
QImage ethernet(bool connected);

} // namespace LinkIcons

#endif // LINKICONS_H
