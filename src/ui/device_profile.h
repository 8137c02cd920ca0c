#pragma once

#include <optional>

#include <QSizeF>
#include <QString>

namespace vimora::ui {

/// The three screens the application is laid out for.
enum class DeviceProfile { Tablet, Phone568, Phone480 };

/// The screen in points: tablet 768 × 1024 (1024 × 768 in landscape), phones 320 × 568 and
/// 320 × 480 (width and height swapped in landscape).
QSizeF screenSizeFor(DeviceProfile profile, bool landscape = false);
bool isTablet(DeviceProfile profile);

/// "tablet", "phone-568", "phone-480".
QString deviceProfileName(DeviceProfile profile);
std::optional<DeviceProfile> deviceProfileNamed(const QString &name);

} // namespace vimora::ui
