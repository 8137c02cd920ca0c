#include "compositor/background_geometry.h"

#include <algorithm>

namespace vimora {

namespace {
double phoneLongSide(DeviceProfile profile)
{
    return profile == DeviceProfile::Phone568 ? 568 : 480;
}
} // namespace

QSizeF openBackViewSize(DeviceProfile profile, bool wide, float r)
{
    if (!(r > 0))
        r = 1.0f;
    if (profile == DeviceProfile::Tablet) {
        if (wide)
            return r < 0.75f ? QSizeF(768 / r, 768) : QSizeF(1024, 1024 * r);
        return r <= 1.33f ? QSizeF(1024 / r, 1024) : QSizeF(768, 768 * r);
    }
    const double l = phoneLongSide(profile);
    if (wide)
        return r < 0.666667f ? QSizeF(320 / r, 320) : QSizeF(l, l * r);
    return r <= 1.5f ? QSizeF(l / r, l) : QSizeF(320, 320 * r);
}

QSizeF backgroundCoverSize(QSizeF picture)
{
    if (picture.width() <= 0 || picture.height() <= 0)
        return {};
    const double r = picture.height() / picture.width();
    if (picture.width() > picture.height())
        return r < 0.75 ? QSizeF(768 / r, 768) : QSizeF(1024, 1024 * r);
    return r > 1.33 ? QSizeF(768, 768 * r) : QSizeF(1024 / r, 1024);
}

QSizeF backgroundViewSize(DeviceProfile profile, QSizeF picture)
{
    if (picture.width() <= 0 || picture.height() <= 0)
        return {};
    const double r = picture.height() / picture.width();
    const bool tablet = profile == DeviceProfile::Tablet;
    if (picture.width() > picture.height()) {
        if (tablet)
            return r < 0.75 ? QSizeF(768 / r, 768) : QSizeF(1024, 1024 * r);
        return r < 0.666667 ? QSizeF(320 / r, 320) : QSizeF(480, 480 * r);
    }
    if (tablet)
        return r <= 1.33 ? QSizeF(1024 / r, 1024) : QSizeF(768, 768 * r);
    return r <= 1.5 ? QSizeF(480 / r, 480) : QSizeF(320, 320 * r);
}

QRectF backgroundFitFrame(const QRectF &canvas, QSizeF picture)
{
    if (picture.width() <= 0 || picture.height() <= 0 || canvas.width() <= 0 || canvas.height() <= 0)
        return {};
    const double fit = std::min(canvas.width() / picture.width(), canvas.height() / picture.height());
    const QSizeF size(picture.width() * fit, picture.height() * fit);
    return QRectF(canvas.center() - QPointF(size.width() / 2, size.height() / 2), size);
}

} // namespace vimora
