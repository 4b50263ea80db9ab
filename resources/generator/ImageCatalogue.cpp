#include "ImageCatalogue.h"

#include "ActionIcons.h"
#include "LinkIcons.h"
#include "PaintKit.h"
#include "Pictures.h"
#include "ResourcePaths.h"
#include "StatusLeds.h"

#include <QHash>

#include <functional>

namespace {

using Painter = std::function<QImage()>;

const QHash<QString, Painter> &painters()
{
    using namespace ResourcePaths;
    using namespace PaintKit::Colour;
    static const QHash<QString, Painter> table = {
        {HelpIcon, ActionIcons::help},
        {DisconnectSerialIcon, [] { return LinkIcons::serial(false); }},
        {ConnectSerialIcon, [] { return LinkIcons::serial(true); }},
        {InfoIcon, ActionIcons::info},
        {SerialConfigIcon, LinkIcons::serialConfig},
        {ClearIcon, ActionIcons::clear},
        {ExitIcon, ActionIcons::exit},
        {DisconnectEthernetIcon, [] { return LinkIcons::ethernet(false); }},
        {ConnectEthernetIcon, [] { return LinkIcons::ethernet(true); }},
        {PlayIcon, ActionIcons::play},
        {PauseIcon, ActionIcons::pause},
        {ReadSettingsIcon, ActionIcons::readSettings},
        {ChartIcon, ActionIcons::chart},
        {HeadingIcon, ActionIcons::heading},
        {ViewerIcon, ActionIcons::viewer3d},
        {AttitudeIcon, ActionIcons::attitude},
        {OpenFileIcon, ActionIcons::openFile},
        {DataFileIcon, ActionIcons::dataFile},
        {DataCaptureIcon, ActionIcons::dataCapture},
        {CompassToolIcon, ActionIcons::compassTool},
        {RedLed, [] { return StatusLeds::led(Red); }},
        {GreenLed, [] { return StatusLeds::led(Green); }},
        {GreenLed45, [] { return StatusLeds::led(Green, 45.0); }},
        {OrangeLed, [] { return StatusLeds::led(Orange); }},
        {MakerLogo, Pictures::makerLogo},
        {ModelQuorvex, Pictures::modelQuorvex},
        {ModelOem, Pictures::modelOem},
        {ModelDravona, Pictures::modelDravona},
        {CubeTexture, Pictures::cubeTexture},
    };
    return table;
}

} // namespace

namespace ImageCatalogue {

QImage paint(const QString &resourcePath)
{
    const Painter painter = painters().value(resourcePath);
    return painter ? painter() : QImage();
}

} // namespace ImageCatalogue
