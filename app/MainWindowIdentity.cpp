// The device identity: the model features switched by the hardware id and the
// "IMU Factory Info" box.

#include "MainWindow.h"
#include "ui_mainwindow.h"

#include "DeviceIdentity.h"

#include <QMessageBox>

namespace {

const QSize PictureBox(160, 100);
constexpr int BoxPointSize = 12;
constexpr int BoxHalfWidth = 125;
constexpr int BoxTopOffset = 75;

} // namespace

void MainWindow::enableSpecialHardwareFeature(const FactorySettingsT &fsettings)
{
    takeIdentity(fsettings);
    const int model = DeviceIdentity::hardwareIdNumber(fsettings.hardwareId);
    setEthernetFeaturesEnabled(DeviceIdentity::hasEthernetFeatures(model));
}

// An identity belongs to the session that read it: one read by auto-detection
// with no link, or one that arrives after the window has left its link,
// changes nothing. The model gates the Ethernet features only while the serial
// link that identified the unit is in use; a unit that answered over Ethernet
// has the features whatever its model says.
void MainWindow::identityOfLink(const FactorySettingsT &fsettings, uint32_t link)
{
    if (!linkInUse(link))
        return;
    if (serialInUse())
        enableSpecialHardwareFeature(fsettings);
    else
        takeIdentity(fsettings);
}

void MainWindow::takeIdentity(const FactorySettingsT &fsettings)
{
    factorysettings = fsettings;
    ui->groupBox_GPS_RadioButtons->setEnabled(false);
}

// Each session, serial or Ethernet, starts from the identity the program starts with.
void MainWindow::forgetIdentity()
{
    factorysettings = DeviceIdentity::startupIdentity();
}

// Enabled at start-up; a unit's model gates them while its serial link lasts.
void MainWindow::setEthernetFeaturesEnabled(bool enabled)
{
    ui->actionEthernetConnect->setEnabled(enabled);
    ui->groupBoxEthernet->setEnabled(enabled);
}

void MainWindow::ImuFactoryInformation()
{
    const QPixmap picture(DeviceIdentity::modelPicture(DeviceIdentity::hardwareIdNumber(factorysettings.hardwareId)));
    QMessageBox box;
    box.setWindowTitle(tr("IMU Factory Info"));
    box.setIconPixmap(picture.scaled(PictureBox, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    box.setText(DeviceIdentity::factoryInfoText(factorysettings));
    box.setFont(QFont(QStringLiteral("Open Sans"), BoxPointSize, QFont::Medium));
    box.setStyleSheet(QStringLiteral("QPushButton{min-width: 100px}"));
    box.move(x() + width() / 2 - BoxHalfWidth, y() + BoxTopOffset);
    box.exec();
}
