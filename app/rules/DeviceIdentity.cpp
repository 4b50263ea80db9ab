// Model features, model pictures and identity text by the device's hardware id.

#include "DeviceIdentity.h"

#include "ResourcePaths.h"

#include <QCoreApplication>

namespace DeviceIdentity {

namespace {

enum ModelId { EthernetModelA = 21, QuorvexModel = 31, QuorvexEthernetModel = 32, OemModel = 56, OemEthernetModel = 61 };

} // namespace

int hardwareIdNumber(const QString &hardwareId)
{
    bool ok = false;
    const int number = hardwareId.toInt(&ok, 10);
    return ok ? number : 0;
}

bool hasEthernetFeatures(int hardwareId)
{
    switch (hardwareId) {
    case EthernetModelA:
    case QuorvexModel:
    case QuorvexEthernetModel:
    case OemEthernetModel:
        return true;
    default:
        return false;
    }
}

FactorySettingsT startupIdentity()
{
    FactorySettingsT identity;
    identity.serialNumber = QStringLiteral("__ __ __ __");
    return identity;
}

QString modelPicture(int hardwareId)
{
    switch (hardwareId) {
    case QuorvexModel:
    case QuorvexEthernetModel:
        return QString::fromLatin1(ResourcePaths::ModelQuorvex);
    case OemModel:
    case OemEthernetModel:
        return QString::fromLatin1(ResourcePaths::ModelOem);
    default:
        return QString::fromLatin1(ResourcePaths::ModelDravona);
    }
}

QString factoryInfoText(const FactorySettingsT &identity)
{
    return QCoreApplication::translate("MainWindow",
                                       "<br></br><br></br><font color='Blue'>Part Number: %1</font><br></br>"
                                       "<font color='Blue'>IMU SN : %2</font><br></br>"
                                       "<font color='Blue'>IMU FW : %3</font>")
        .arg(identity.partNr.toHtmlEscaped(), identity.serialNumber.toHtmlEscaped(),
             identity.fwVersion.toHtmlEscaped());
}

} // namespace DeviceIdentity
