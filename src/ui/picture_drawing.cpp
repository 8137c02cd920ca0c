#include "ui/picture_drawing.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <QPainter>
#include <QTransform>

#include "ui/screen_drawing.h"

namespace vimora::ui {

QImage uprightImage(const Picture &picture)
{
    if (picture.isNull())
        return {};
    return picture.orientation() == Orientation::Up ? picture.bitmap() : picture.uprightBitmap();
}

namespace {
// The whole device pixels by which b moves what a draws, when that is all that differs.
std::optional<QPoint> wholePixelMove(const QTransform &a, const QTransform &b)
{
    if (a.m11() != b.m11() || a.m12() != b.m12() || a.m21() != b.m21() || a.m22() != b.m22()
        || a.type() == QTransform::TxProject || b.type() == QTransform::TxProject)
        return std::nullopt;
    const double dx = b.dx() - a.dx(), dy = b.dy() - a.dy();
    // Sums of fractional offsets are not exact: a millionth of a pixel is no move.
    constexpr double kTolerance = 1e-6;
    if (std::abs(dx - std::round(dx)) > kTolerance || std::abs(dy - std::round(dy)) > kTolerance)
        return std::nullopt;
    return QPoint(int(std::round(dx)), int(std::round(dy)));
}

bool sameResampling(const QTransform &a, const QRectF &rectA, qint64 keyA, const QTransform &b, const QRectF &rectB,
                    qint64 keyB)
{
    return keyA == keyB && rectA == rectB && wholePixelMove(a, b).has_value();
}
} // namespace

void PictureDrawCache::clear()
{
    m_key = 0;
    m_upright = QImage();
    m_scaled = QImage();
    m_padded = QImage();
    m_paddedKey = 0;
    m_lastDirect = {};
    m_deviceCopyOf = {};
    m_deviceCopy = QImage();
    m_lastShown = {};
    m_shownSizeChanges = 0;
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
    m_shownSizeChanges = shown == m_lastShown || m_lastShown.isEmpty() ? 0 : m_shownSizeChanges + 1;
    m_lastShown = shown;
    const QImage *image = &m_upright;
    if (m_upright.width() > shown.width() * kDownscaleRatio && m_upright.height() > shown.height() * kDownscaleRatio) {
        const QSize want(std::max(1, int(std::ceil(shown.width()))), std::max(1, int(std::ceil(shown.height()))));
        // Keep a copy that is at least as large as needed and not much larger.
        const bool fits = !m_scaled.isNull() && m_scaled.width() >= want.width() && m_scaled.height() >= want.height()
                          && m_scaled.width() <= want.width() * 1.25 + 1 && m_scaled.height() <= want.height() * 1.25 + 1;
        // Shown at a new size frame after frame, the picture is being pinched: a copy within
        // twice the size either way stands in rather than rescaling the whole picture on every
        // move. The first frame at a new size, and the first at rest, get an exact copy.
        const bool resizing = m_shownSizeChanges >= 2 && ScreenDrawing::active();
        const bool standsIn = !m_scaled.isNull() && m_scaled.width() * 2 >= want.width() && m_scaled.height() * 2 >= want.height()
                              && m_scaled.width() <= want.width() * 2 && m_scaled.height() <= want.height() * 2;
        if (!fits && !(resizing && standsIn)) {
            m_scaled = m_upright.scaled(want, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            ++m_rescales;
        }
        image = &m_scaled;
    }
    if (t.isRotating() && image->width() > 0 && image->height() > 0) {
        // The clear frame, resampled with the picture, gives soft edges without the far
        // slower antialiased rasterisation of a turned image.
        const double fx = rect.width() / image->width(), fy = rect.height() / image->height();
        drawResampled(painter, padded(*image), rect.adjusted(-fx, -fy, fx, fy));
    } else {
        drawResampled(painter, *image, rect);
    }
}

void PictureDrawCache::drawResampled(QPainter &painter, const QImage &image, const QRectF &rect)
{
    const QTransform t = painter.deviceTransform();
    const qint64 key = image.cacheKey();
    // Only source-over composites a transparent-edged copy the same as drawing directly.
    const bool copyable = painter.compositionMode() == QPainter::CompositionMode_SourceOver;
    bool haveCopy = copyable && !m_deviceCopy.isNull()
                    && sameResampling(m_deviceCopyOf.device, m_deviceCopyOf.rect, m_deviceCopyOf.imageKey, t, rect, key);
    if (!haveCopy && copyable && sameResampling(m_lastDirect.device, m_lastDirect.rect, m_lastDirect.imageKey, t, rect, key))
        haveCopy = buildDeviceCopy(painter, image, rect);
    if (haveCopy) {
        const QPoint at = m_deviceCopyTopLeft + *wholePixelMove(m_deviceCopyOf.device, t);
        const double dpr = painter.device()->devicePixelRatioF();
        const QTransform world = painter.worldTransform(); // cheaper than a full save and restore
        painter.setWorldTransform(QTransform::fromScale(1 / dpr, 1 / dpr));
        painter.drawImage(at, m_deviceCopy);
        painter.setWorldTransform(world);
        return;
    }
    m_lastDirect = {key, rect, t};
    const QPainter::RenderHints hints = painter.renderHints();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (t.isRotating())
        painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawImage(rect, image);
    painter.setRenderHints(hints, true);
    painter.setRenderHints(~hints, false);
}

bool PictureDrawCache::buildDeviceCopy(const QPainter &painter, const QImage &image, const QRectF &rect)
{
    const QTransform t = painter.deviceTransform();
    const QRect area = t.mapRect(rect).toAlignedRect();
    if (area.isEmpty() || area.width() > kLargestDeviceCopy || area.height() > kLargestDeviceCopy)
        return false;
    QImage copy(area.size(), QImage::Format_ARGB32_Premultiplied);
    if (copy.isNull())
        return false;
    copy.fill(Qt::transparent);
    {
        // The same hints the direct drawing uses, so the copy shows the same pixels.
        QPainter cp(&copy);
        cp.setRenderHints(painter.renderHints() | QPainter::SmoothPixmapTransform);
        if (t.isRotating())
            cp.setRenderHint(QPainter::Antialiasing, false);
        cp.setTransform(t * QTransform::fromTranslate(-area.x(), -area.y()));
        cp.drawImage(rect, image);
    }
    m_deviceCopy = std::move(copy);
    m_deviceCopyOf = {image.cacheKey(), rect, t};
    m_deviceCopyTopLeft = area.topLeft();
    m_lastDirect = {};
    return true;
}

} // namespace vimora::ui
