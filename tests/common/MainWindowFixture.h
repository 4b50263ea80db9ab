#ifndef MAINWINDOWFIXTURE_H
#define MAINWINDOWFIXTURE_H

#include "DeviceTypes.h"
#include "MainWindow.h"
#include "MainWindowProbe.h"
#include "ModalAnswers.h"

#include <QTemporaryDir>

#include <memory>

// The set-up the main-window tests share: a test class derives from it beside
// QObject and opens a new window for each case, on an empty settings store of
// its own, with modal answers that fail the case at once when a window nobody
// expected opens. Closing the window puts back what the case may have changed
// for the whole process: the home folder, the settings store's place and the
// shared device settings record.
class MainWindowFixture
{
protected:
    MainWindowFixture();

    // Whether the store's folder is also the case's home (the documents folder of file choices).
    enum class Home { Unchanged, StoreFolder };

    // Closes the window of the case before, then opens the new one.
    void openWindow(Home home = Home::Unchanged);
    // Closes the window before the modal answers, so its last boxes are still answered.
    void closeWindow();

    template <typename T = QWidget>
    T *child(const char *name) const { return MainWindowProbe::child<T>(*m_window, name); }

    // The text a label shows, read as the label reads it: as markup or as plain text by its text format.
    static QString labelShows(const QLabel *label);
    // The text the "IMU Factory Info" box shows; the box is closed at once.
    QString factoryInfo();

    std::unique_ptr<QTemporaryDir> m_storeDir;
    std::unique_ptr<ModalAnswers> m_modal;
    std::unique_ptr<MainWindow> m_window;

private:
    void restoreSharedState();

    const QByteArray m_home;
    const bool m_hadHome;
    const QString m_settingsPath;
    const ImuSettingsType m_userSettings;
};

#endif // MAINWINDOWFIXTURE_H
