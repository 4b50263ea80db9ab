#ifndef ACTIONICONS_H
#define ACTIONICONS_H

#include <QImage>

// Painters of the tool-bar and tool-button icons that do not show a link.
namespace ActionIcons {

QImage help();
QImage info();
QImage clear();
QImage exit();
QImage play();
QImage pause();
QImage readSettings();
QImage chart();
QImage heading();
QImage viewer3d();
QImage attitude();
QImage openFile();
QImage dataFile();
QImage dataCapture();
QImage compassTool();

} // namespace ActionIcons

#endif // ACTIONICONS_H
