#include "ui/picture_drawing.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

namespace vimora::ui {

QImage uprightImage(const Picture &picture)
{
    if (picture.isNull())
        return {};
    return picture.orientation() == Orientation::Up ? picture.bitmap() : picture.uprightBitmap();
}

void PictureDrawCache::clear()
{
    m_key = 0;
    m_upright = QImage();
    m_scaled = QImage();
}

void PictureDrawCache::draw(QPainter &painter, const Picture &picture, const QRectF &target)
{
    if (picture.isNull() || target.isEmpty())
        return;
    const qint64 key = picture.bitmap().cacheKey();
    if (key != m_key || picture.scale() != m_scale) {
        clear();
        m_key = key;
        m_scale = picture.scale();
        m_upright = uprightImage(picture);
    }
    const QRectF rect = target.normalized();
    // Pixels the rectangle covers on the device, per axis.
    const QTransform t = painter.deviceTransform();
    const double sx = std::hypot(t.m11(), t.m12()), sy = std::hypot(t.m21(), t.m22());
    const QSizeF shown(rect.width() * sx, rect.height() * sy);
    const QImage *image = &m_upright;
    if (m_upright.width() > shown.width() * kDownscaleRatio && m_upright.height() > shown.height() * kDownscaleRatio) {
        const QSize want(std::max(1, int(std::ceil(shown.width()))), std::max(1, int(std::ceil(shown.height()))));
        // Keep a copy that is at least as large as needed and not much larger.
        const bool fits = !m_scaled.isNull() && m_scaled.width() >= want.width() && m_scaled.height() >= want.height()
                          && m_scaled.width() <= want.width() * 1.25 + 1 && m_scaled.height() <= want.height() * 1.25 + 1;
        if (!fits)
            m_scaled = m_upright.scaled(want, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        image = &m_scaled;
    }
    const bool smooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    if (!smooth)
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect, *image);
    if (!smooth)
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

} // namespace vimora::ui
