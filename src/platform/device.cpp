#include "platform/device.h"

#include <atomic>

#include <QDir>

namespace vimora {

namespace {
std::atomic<DeviceProfile> g_profile{DeviceProfile::Tablet};
std::atomic<InterfaceOrientation> g_orientation{InterfaceOrientation::Portrait};
std::atomic<int> g_camera{-1}; // -1: probe the system
} // namespace

DeviceProfile classifyDevice(std::optional<bool> tabletIdiom, std::optional<double> screenHeight)
{
    if (tabletIdiom.value_or(false))
        return DeviceProfile::Tablet;
    if (screenHeight && *screenHeight == 568.0)
        return DeviceProfile::Phone568;
    return DeviceProfile::Phone480;
}

DeviceProfile Device::profile() { return g_profile.load(); }
void Device::setProfile(DeviceProfile profile)
{
    g_profile = profile;
    if (profile != DeviceProfile::Tablet)
        g_orientation = InterfaceOrientation::Portrait; // phones never turn
}

QSizeF Device::portraitScreenSize(DeviceProfile profile)
{
    return ui::screenSizeFor(profile, false);
}

double Device::windowSide(DeviceProfile profile)
{
    return portraitScreenSize(profile).height();
}

QSizeF Device::screenSize()
{
    const QSizeF s = portraitScreenSize();
    return isLandscape() ? s.transposed() : s;
}

InterfaceOrientation Device::orientation() { return g_orientation.load(); }
void Device::setOrientation(InterfaceOrientation orientation)
{
    if (isTablet())
        g_orientation = orientation;
}

bool Device::isLandscape()
{
    const InterfaceOrientation o = orientation();
    return o != InterfaceOrientation::Portrait && o != InterfaceOrientation::PortraitUpsideDown;
}

bool Device::cameraAvailable()
{
    const int forced = g_camera.load();
    if (forced >= 0)
        return forced == 1;
    const QString env = qEnvironmentVariable("VIMORA_CAMERA");
    if (!env.isEmpty())
        return env == QLatin1String("1");
    return !QDir(QStringLiteral("/dev")).entryList({QStringLiteral("video*")}, QDir::System).isEmpty();
}

void Device::setCameraAvailable(std::optional<bool> available)
{
    g_camera = available ? (*available ? 1 : 0) : -1;
}

} // namespace vimora
