#include "DeviceTypes.h"

#include <QHostAddress>

ImuSettingsType UserSettings = {
    120,                  // length of the image in bytes
    0,                    // flags
    1,                    // reserved
    100,                  // output frequency in Hz
    {5, 5, 5},            // baud codes: RS-232, RS-422, GPS RS-232
    0,                    // reserved
    {0, 0, 1, 0},         // reserved
    0,                    // reserved
    {1, 1},               // reserved
    0.0,                  // roll offset
    0.0,                  // pitch offset
    0.0,                  // yaw offset
    {},                   // reserved
    {UdpPortDefaults::Device, UdpPortDefaults::Local, AddressDefaults::Device, AddressDefaults::Destination},
    {},                   // tail
};

void registerDeviceMetaTypes()
{
    qRegisterMetaType<OutputDataType>("OutputDataType");
    qRegisterMetaType<OutputProtocolType>("OutputProtocolType");
    qRegisterMetaType<QHostAddress>("QHostAddress");
    qRegisterMetaType<UserSettingsType>("UserSettingsType");
    qRegisterMetaType<FactorySettingsT>("FactorySettingsT");
}
