#include "ui/device_profile.h"

namespace vimora::ui {

QSizeF screenSizeFor(DeviceProfile profile, bool landscape)
{
    QSizeF size;
    switch (profile) {
    case DeviceProfile::Tablet:
        size = QSizeF(768, 1024);
        break;
    case DeviceProfile::Phone568:
        size = QSizeF(320, 568);
        break;
    case DeviceProfile::Phone480:
        size = QSizeF(320, 480);
        break;
    }
    return landscape ? size.transposed() : size;
}

bool isTablet(DeviceProfile profile)
{
    return profile == DeviceProfile::Tablet;
}

QString deviceProfileName(DeviceProfile profile)
{
    switch (profile) {
    case DeviceProfile::Tablet:
        return QStringLiteral("tablet");
    case DeviceProfile::Phone568:
        return QStringLiteral("phone-568");
    case DeviceProfile::Phone480:
        return QStringLiteral("phone-480");
    }
    return {};
}

std::optional<DeviceProfile> deviceProfileNamed(const QString &name)
{
    for (DeviceProfile p : {DeviceProfile::Tablet, DeviceProfile::Phone568, DeviceProfile::Phone480})
        if (deviceProfileName(p) == name)
            return p;
    return std::nullopt;
}

} // namespace vimora::ui
