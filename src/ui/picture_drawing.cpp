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
    m_padded = QImage();
    m_paddedKey = 0;
}

const QImage &PictureDrawCache::padded(const QImage &image)
{
    if (m_paddedKey != image.cacheKey() || m_padded.isNull()) {
        m_padded = QImage(image.width() + 2, image.height() + 2, QImage::Format_ARGB32_Premultiplied);
        m_padded.fill(Qt::transparent);
        QPainter p(&m_padded);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(1, 1, image);
        p.end();
        m_paddedKey = image.cacheKey();
    }
    return m_padded;
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
    const QPainter::RenderHints hints = painter.renderHints();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (t.isRotating() && image->width() > 0 && image->height() > 0) {
        // The clear frame, resampled with the picture, gives soft edges without the far
        // slower antialiased rasterisation of a turned image.
        const double fx = rect.width() / image->width(), fy = rect.height() / image->height();
        const QImage &framed = padded(*image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.drawImage(rect.adjusted(-fx, -fy, fx, fy), framed);
    } else {
        painter.drawImage(rect, *image);
    }
    painter.setRenderHints(hints, true);
    painter.setRenderHints(~hints, false);
}

} // namespace vimora::ui
