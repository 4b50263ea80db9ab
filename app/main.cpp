#include "ApplicationStartup.h"
#include "DeviceTypes.h"
#include "MainWindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    registerDeviceMetaTypes();
    setDefaultSurfaceFormat();
    loadApplicationFonts();

    MainWindow window;
    window.show();
    return application.exec();
}
