#pragma once

#include <optional>

#include <QSizeF>
#include <QString>

#include "ui/device_profile.h"

namespace vimora {

/// The device classification every screen keys frames and picture names on.
using DeviceProfile = ui::DeviceProfile;

/// Interface orientation as the status bar reports it.
enum class InterfaceOrientation { Portrait = 1, PortraitUpsideDown = 2, LandscapeLeft = 3, LandscapeRight = 4 };

/// Tablet idiom first, else a screen exactly 568 points tall, else phone-480 (also when the
/// idiom or the screen cannot be read).
DeviceProfile classifyDevice(std::optional<bool> tabletIdiom, std::optional<double> screenHeight);

/// The process's device: chosen at start, read by every screen.
class Device
{
public:
    static DeviceProfile profile();
    static void setProfile(DeviceProfile profile);
    static bool isTablet() { return profile() == DeviceProfile::Tablet; }

    /// The screen in portrait: 768 x 1024, 320 x 568 or 320 x 480.
    static QSizeF portraitScreenSize(DeviceProfile profile);
    static QSizeF portraitScreenSize() { return portraitScreenSize(profile()); }
    /// The square window side: 1024, 568 or 480.
    static double windowSide(DeviceProfile profile);
    /// The screen in the current orientation.
    static QSizeF screenSize();

    static InterfaceOrientation orientation();
    static void setOrientation(InterfaceOrientation orientation);
    /// Neither portrait nor portrait upside down.
    static bool isLandscape();

    /// Whether a camera can be offered as a photo source ($VIMORA_CAMERA=1 or a video device).
    static bool cameraAvailable();
    static void setCameraAvailable(std::optional<bool> available);
};

/// One-line test used by screens that only need tablet-or-phone.
inline bool isDeviceiPad()
{
    return Device::isTablet();
}

} // namespace vimora
