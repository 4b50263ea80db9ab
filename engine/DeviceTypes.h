#ifndef DEVICETYPES_H
#define DEVICETYPES_H

// Plain value records shared by the device worker and the user interface.
// They cross threads only as copies inside queued signals.

#include <QBitArray>
#include <QByteArrayView>
#include <QMetaType>
#include <QString>

#include <array>
#include <cstdint>

// One decoded output sample: 22 display texts, updated in place by the decoders.
struct OutputDataType
{
    enum Field {
        Roll = 0,
        Pitch = 1,
        Yaw = 2,
        RollRate = 3,
        PitchRate = 4,
        YawRate = 5,
        Heave = 11,
        HeaveVelocity = 14,
        Ax = 15,
        Ay = 16,
        Az = 17,
        FrameCounter = 19,
        Checksum = 20,
    };
    static constexpr int FieldCount = 22;

    std::array<QString, FieldCount> field;
};

// One of the device's three output-protocol slots.
struct OutputProtocolType
{
    std::array<uint8_t, 4> format{0xFF, 0xFF, 0xFF, 0xFF};
    uint32_t mask = 0;
    uint32_t value = 0;
    QString header;
    bool enabled = false;
};

// The maker's three letters that open the device's serial and part numbers.
inline constexpr QByteArrayView MakerPrefix("VRN");

// The device's output-protocol slots, numbered 0 to 2; the worker and the
// window each keep one record per slot.
inline constexpr int OutputProtocolSlotCount = 3;
using OutputProtocolSlots = std::array<OutputProtocolType, OutputProtocolSlotCount>;

// The device identity.
struct FactorySettingsT
{
    uint32_t word = 0;
    QString partNr;
    QString serialNumber;
    QString hardwareId;
    QString serialId;
    QString date;
    QString fwVersion;
};

// The user's link and display settings, kept by the settings store.
struct UserSettingsType
{
    QString fileName;
    QString portName;
    int32_t baudRate = 0;
    QString stringBaudRate;
    int32_t dataBits = 0;
    QString stringDataBits;
    int32_t parity = 0;
    QString stringParity;
    int32_t stopBits = 0;
    QString stringStopBits;
    int32_t flowControl = 0;
    QString stringFlowControl;
    double timeSpan = 0.0;
    int32_t statisticsTime = 1;
    QBitArray DataDisplayFlag;
    int32_t chartTheme = 1;
};

// UDP ports the link starts with: the program's own and the device's.
namespace UdpPortDefaults {
inline constexpr uint16_t Local = 8080;
inline constexpr uint16_t Device = 8088;
} // namespace UdpPortDefaults

// IPv4 addresses the device settings image starts with: the device's own and
// the destination it sends its data to.
namespace AddressDefaults {
inline constexpr uint32_t Device = 0xC0A80064u;      // 192.168.0.100
inline constexpr uint32_t Destination = 0xC0A80078u; // 192.168.0.120
} // namespace AddressDefaults

// The program's mirror of the device configuration: a 120-byte image,
// statically initialised and shared by both threads without a lock.
struct ImuSettingsType
{
    uint32_t length;
    uint32_t flags;
    uint32_t reserved0;
    uint32_t frequency;
    uint32_t baudCode[3];
    uint32_t reserved1;
    uint8_t reserved2[4];
    uint32_t reserved3;
    uint32_t reserved4[2];
    double rollOffset;
    double pitchOffset;
    double yawOffset;
    uint8_t reserved5[24];
    uint32_t addressBlock[4];
    uint8_t tail[8];
};
static_assert(sizeof(ImuSettingsType) == 120, "the device settings image is 120 bytes");

extern ImuSettingsType UserSettings;

// Field-selection bits of a custom protocol, of the decoded-field mask and of the read-outs.
namespace DataFieldFlags {
enum FirstByte : uint8_t {
    Roll = 0x80,
    Pitch = 0x40,
    Yaw = 0x20,
    RollRate = 0x10,
    PitchRate = 0x08,
    YawRate = 0x04,
    Heave = 0x02,
    HeaveVelocity = 0x01,
};
enum SecondByte : uint8_t {
    Ax = 0x80,
    Ay = 0x40,
    Az = 0x20,
    Counter = 0x10,
    Checksum = 0x08,
};
} // namespace DataFieldFlags

// The device's flags word.
namespace ImuFlags {
enum : uint32_t {
    InvertRoll = 0x01,
    InvertPitch = 0x02,
    InvertYaw = 0x04,
    InvertHeave = 0x08,
    DynamicIp = 0x10,
    PositiveYaw = 0x20,
};
} // namespace ImuFlags

// Output-protocol values as the device reports them.
namespace ProtocolValue {
enum : int32_t {
    RawData = 1,
    TSS1 = 3,
    UPX = 4,
    TSS3 = 5,
    TOG = 6,
    ISH = 7,
    EulerL = 8,
    EulerB = 9,
    EM1000 = 13,
    EM3000 = 14,
    PRDID = 15,
    CustomFields = 19,
    CustomHeader = 20,
};
} // namespace ProtocolValue

// Baud-rate table: code n is entry n.
inline constexpr std::array<int32_t, 8> BaudRateTable{4800, 9600, 19200, 38400, 57600, 115200, 128000, 230400};

// Registers the value types that travel through queued signals, in a fixed order.
void registerDeviceMetaTypes();

Q_DECLARE_METATYPE(OutputDataType)
Q_DECLARE_METATYPE(OutputProtocolType)
Q_DECLARE_METATYPE(UserSettingsType)
Q_DECLARE_METATYPE(FactorySettingsT)

#endif // DEVICETYPES_H
