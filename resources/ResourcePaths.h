#ifndef RESOURCEPATHS_H
#define RESOURCEPATHS_H

// Every picture and shader compiled into the program, by its resource path.
// resources/CMakeLists.txt reads the image paths out of this file and the image
// generator paints one picture for each of them, so a new picture is added here
// (constant and entry in Images) and given a painter in the generator.
namespace ResourcePaths {

// Action icons of the main window's tool bars.
inline constexpr char HelpIcon[] = ":/images/Help.png";
inline constexpr char DisconnectSerialIcon[] = ":/images/disconnectSerial.png";
inline constexpr char ConnectSerialIcon[] = ":/images/connectSerial.png";
inline constexpr char InfoIcon[] = ":/images/infoicon.png";
inline constexpr char SerialConfigIcon[] = ":/images/serial-port-config.png";
inline constexpr char ClearIcon[] = ":/images/clear.png";
inline constexpr char ExitIcon[] = ":/images/application-exit.png";
inline constexpr char DisconnectEthernetIcon[] = ":/images/disconnectEth2.png";
inline constexpr char ConnectEthernetIcon[] = ":/images/connectEth2.png";
inline constexpr char PlayIcon[] = ":/images/play.png";
inline constexpr char PauseIcon[] = ":/images/pause.png";
inline constexpr char ReadSettingsIcon[] = ":/images/update-icon-blue-button-.png";
inline constexpr char ChartIcon[] = ":/images/charticon.png";
inline constexpr char HeadingIcon[] = ":/images/safari-icon.png";
inline constexpr char ViewerIcon[] = ":/images/oceanicon.png";
inline constexpr char AttitudeIcon[] = ":/images/attitudeMeter.png";
inline constexpr char OpenFileIcon[] = ":/images/open.png";
inline constexpr char DataFileIcon[] = ":/images/data-file-icon.png";
inline constexpr char DataCaptureIcon[] = ":/images/Data-Capture.png";
inline constexpr char CompassToolIcon[] = ":/images/ecompassicon.png";

// Link LEDs of the status strip; GreenLed45 is GreenLed turned by 45 degrees,
// the in-between frame of the logging animation.
inline constexpr char RedLed[] = ":/images/red-led.png";
inline constexpr char GreenLed[] = ":/images/green-led.png";
inline constexpr char GreenLed45[] = ":/images/green-led-45.png";
inline constexpr char OrangeLed[] = ":/images/orange-led.png";

// The maker's logo and the pictures of the device models.
inline constexpr char MakerLogo[] = ":/images/varnelo.png";
inline constexpr char ModelQuorvex[] = ":/images/quorvex.png";
inline constexpr char ModelOem[] = ":/images/OEM-3d.png";
inline constexpr char ModelDravona[] = ":/images/Dravona+.png";

// Texture and shaders of a textured cube.
inline constexpr char CubeTexture[] = ":/images/cube.png";
inline constexpr char VertexShader[] = ":/vshader.glsl";
inline constexpr char FragmentShader[] = ":/fshader.glsl";

inline constexpr const char *Images[] = {
    HelpIcon, DisconnectSerialIcon, ConnectSerialIcon, InfoIcon, SerialConfigIcon,
    ClearIcon, ExitIcon, DisconnectEthernetIcon, ConnectEthernetIcon, PlayIcon,
    PauseIcon, ReadSettingsIcon, ChartIcon, HeadingIcon, ViewerIcon,
    AttitudeIcon, OpenFileIcon, DataFileIcon, DataCaptureIcon, CompassToolIcon,
    RedLed, GreenLed, GreenLed45, OrangeLed,
    MakerLogo, ModelQuorvex, ModelOem, ModelDravona,
    CubeTexture,
};

inline constexpr const char *Shaders[] = {VertexShader, FragmentShader};

} // namespace ResourcePaths

#endif // RESOURCEPATHS_H
