#include "app/intake_geometry.h"

#include <algorithm>

namespace vimora {

double intakeMaxSide(DeviceProfile profile)
{
    return profile == DeviceProfile::Tablet ? 2000 : 1500;
}

QSizeF intakeWorkingSize(QSizeF photo, double maxSide)
{
    const double w = photo.width(), h = photo.height();
    if (w <= 0 || h <= 0 || (w <= maxSide && h <= maxSide))
        return photo;
    const double ratio = w / h;
    return w >= h ? QSizeF(maxSide, maxSide / ratio) : QSizeF(ratio * maxSide, maxSide);
}

QSizeF intakeThumbnailSize(QSizeF photo)
{
    if (photo.width() <= 0 || photo.height() <= 0)
        return {};
    constexpr double kWidth = 156, kTallest = 10 * kWidth;
    const double height = kWidth * photo.height() / photo.width();
    if (height <= kTallest)
        return {kWidth, height};
    return {std::max(1.0, kTallest * photo.width() / photo.height()), kTallest};
}

} // namespace vimora
