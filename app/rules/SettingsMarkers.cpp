// Change markers to settings masks.

#include "SettingsMarkers.h"

#include "CommandTable.h"

namespace SettingsMarkerMasks {

namespace {

// Reads and clears one marker.
bool take(bool &marker)
{
    const bool was = marker;
    marker = false;
    return was;
}

uint32_t bitIf(bool on, uint32_t bit)
{
    return on ? bit : 0u;
}

} // namespace

uint32_t takeInterfaceMask(SettingsMarkers &markers, const SendableChecks &checks)
{
    using namespace CommandTable;
    uint32_t mask = 0;
    mask |= bitIf(take(markers.m_rs232BaudChanged), Baud1Bit);
    mask |= bitIf(take(markers.m_rs422BaudChanged), Baud2Bit);
    mask |= bitIf(take(markers.m_gps232BaudChanged), Baud3Bit);
    mask |= bitIf(take(markers.m_gpsPortChanged), GpsBit);
    if (markers.m_imuAddressChanged && checks.deviceAddressSendable)
        mask |= DeviceAddressBit;
    if (markers.m_dstAddressChanged && checks.destinationAddressSendable) {
        markers.m_dstAddressChanged = false;
        markers.m_rescanNeeded = true;
        mask |= DestinationAddressBit;
    }
    if (take(markers.m_imuPortChanged) && checks.deviceUdpPortSendable) {
        markers.m_rescanNeeded = true;
        mask |= DeviceUdpPortBit;
    }
    if (markers.m_localPortChanged && checks.localUdpPortSendable) {
        markers.m_rescanNeeded = true;
        mask |= LocalUdpPortBit;
    }
    return mask;
}

InterfaceFinish finishInterfaceApply(SettingsMarkers &markers, uint32_t mask, const SendableChecks &checks)
{
    InterfaceFinish finish;
    if (mask != 0)
        finish.scan = take(markers.m_rescanNeeded);
    finish.resetPort = take(markers.m_localPortChanged) && checks.localUdpPortSendable;
    if (markers.m_imuAddressChanged && checks.deviceAddressSendable) {
        markers.m_imuAddressChanged = false;
        finish.scan = true;
    }
    return finish;
}

uint32_t takeOutputSettingsMask(SettingsMarkers &markers)
{
    using namespace CommandTable;
    uint32_t mask = 0;
    mask |= bitIf(take(markers.m_frequencyChanged), FrequencyBit);
    mask |= bitIf(take(markers.m_flagsChanged), FlagsBit);
    mask |= bitIf(take(markers.m_rollOffsetChanged), RollOffsetBit);
    mask |= bitIf(take(markers.m_pitchOffsetChanged), PitchOffsetBit);
    mask |= bitIf(take(markers.m_yawOffsetChanged), YawOffsetBit);
    return mask;
}

uint32_t takeCompassMask(SettingsMarkers &markers)
{
    using namespace CommandTable;
    uint32_t mask = 0;
    mask |= bitIf(take(markers.m_northOffsetChanged), NorthOffsetBit);
    mask |= bitIf(take(markers.m_xGaussChanged), MagXBit);
    mask |= bitIf(take(markers.m_yGaussChanged), MagYBit);
    mask |= bitIf(take(markers.m_zGaussChanged), MagZBit);
    return mask;
}

void clearConnectionMarkers(SettingsMarkers &markers)
{
    for (bool *marker : {&markers.m_rs232BaudChanged, &markers.m_rs422BaudChanged, &markers.m_gps232BaudChanged,
                         &markers.m_gpsPortChanged, &markers.m_frequencyChanged, &markers.m_imuAddressChanged,
                         &markers.m_rescanNeeded, &markers.m_imuPortChanged, &markers.m_localPortChanged})
        *marker = false;
}

} // namespace SettingsMarkerMasks
