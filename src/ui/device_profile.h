#pragma once

#include <optional>

#include <QSizeF>
#include <QString>
#include <QStringList>

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
/// The profile named by "--device NAME" or "--device=NAME" among the arguments; fallback when
/// the option is absent or names no profile.
DeviceProfile deviceProfileFromArguments(const QStringList &arguments, DeviceProfile fallback = DeviceProfile::Tablet);

} // namespace vimora::ui
