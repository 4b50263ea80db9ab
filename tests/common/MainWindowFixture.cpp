#include "MainWindowFixture.h"

#include <QAction>
#include <QLabel>
#include <QSettings>
#include <QStandardPaths>
#include <QTextDocument>

MainWindowFixture::MainWindowFixture()
    : m_home(qgetenv("HOME"))
    , m_hadHome(qEnvironmentVariableIsSet("HOME"))
    , m_settingsPath(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
    , m_userSettings(UserSettings)
{
}

void MainWindowFixture::openWindow(Home home)
{
    closeWindow();
    m_storeDir = std::make_unique<QTemporaryDir>();
    if (home == Home::StoreFolder)
        qputenv("HOME", m_storeDir->path().toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_storeDir->path());
    m_modal = std::make_unique<ModalAnswers>();
    m_window = std::make_unique<MainWindow>();
}

void MainWindowFixture::closeWindow()
{
    m_window.reset();
    m_modal.reset();
    restoreSharedState();
}

void MainWindowFixture::restoreSharedState()
{
    if (m_hadHome)
        qputenv("HOME", m_home);
    else
        qunsetenv("HOME");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsPath);
    UserSettings = m_userSettings;
}

QString MainWindowFixture::labelShows(const QLabel *label)
{
    const bool markup = label->textFormat() == Qt::RichText
                        || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
    QTextDocument shown;
    if (markup)
        shown.setHtml(label->text());
    else
        shown.setPlainText(label->text());
    return shown.toPlainText();
}

QString MainWindowFixture::factoryInfo()
{
    BoxSeen box;
    m_modal->then(closeBox(&box));
    child<QAction>("actionInfoIMU")->trigger();
    return box.text;
}
