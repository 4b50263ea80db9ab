#ifndef SETTINGSMARKERS_H
#define SETTINGSMARKERS_H

// The settings panel's change markers and how each tab's Apply turns them into
// a settings mask. An edit only sets a marker; the Apply of its tab reads and
// clears it. Pure functions on a plain record.

#include <cstdint>

struct SettingsMarkers
{
    // Interface tab
    bool m_rs232BaudChanged = false;
    bool m_rs422BaudChanged = false;
    bool m_gps232BaudChanged = false;
    bool m_gpsPortChanged = false;
    bool m_imuAddressChanged = false;
    bool m_dstAddressChanged = false;
    bool m_imuPortChanged = false;
    bool m_localPortChanged = false;
    bool m_localPortEdited = false;
    // Output-settings tab
    bool m_frequencyChanged = false;
    bool m_flagsChanged = false;
    bool m_rollOffsetChanged = false;
    bool m_pitchOffsetChanged = false;
    bool m_yawOffsetChanged = false;
    // Compass tab
    bool m_northOffsetChanged = false;
    bool m_xGaussChanged = false;
    bool m_yGaussChanged = false;
    bool m_zGaussChanged = false;

    bool m_rescanNeeded = false;
};

namespace SettingsMarkerMasks {

// Whether each address group and port may be sent: a changed address group
// that is not a valid address is held back, its marker kept; an emptied port
// edit is left out of this Apply.
struct SendableChecks
{
    bool deviceAddressSendable = true;
    bool destinationAddressSendable = true;
    bool deviceUdpPortSendable = true;
    bool localUdpPortSendable = true;
};

// First step of the interface Apply: the mask. The device-address and
// local-port markers stay set until finishInterfaceApply.
uint32_t takeInterfaceMask(SettingsMarkers &markers, const SendableChecks &checks);

struct InterfaceFinish
{
    bool resetPort = false; // a local port was typed: re-bind the socket
    bool scan = false;      // switch device scanning on
};
// Last step of the interface Apply, after the mask has been sent.
InterfaceFinish finishInterfaceApply(SettingsMarkers &markers, uint32_t mask, const SendableChecks &checks);

uint32_t takeOutputSettingsMask(SettingsMarkers &markers);
uint32_t takeCompassMask(SettingsMarkers &markers);

// The markers every connection change and the end of a settings read-out clear.
void clearConnectionMarkers(SettingsMarkers &markers);

} // namespace SettingsMarkerMasks

#endif // SETTINGSMARKERS_H
