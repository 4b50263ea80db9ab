#ifndef DEVICEIDENTITY_H
#define DEVICEIDENTITY_H

#include "DeviceTypes.h"

#include <QString>

// The device model told by its hardware id: its Ethernet features, its
// picture, and the identity text of the "IMU Factory Info" box.
namespace DeviceIdentity {

// The hardware id as a decimal number; text that is no number, or does not
// fit a 32-bit signed integer, counts as 0.
int hardwareIdNumber(const QString &hardwareId);

// True for the models with an Ethernet port.
bool hasEthernetFeatures(int hardwareId);

// Resource path of the model's picture.
QString modelPicture(int hardwareId);

// The identity the window knows before a session has read its unit: no
// fields but the serial number's placeholder.
FactorySettingsT startupIdentity();

// Rich text of the identity box; the device's own texts are shown literally.
QString factoryInfoText(const FactorySettingsT &identity);

} // namespace DeviceIdentity

#endif // DEVICEIDENTITY_H
