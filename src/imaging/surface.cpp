#include "imaging/surface.h"

#include <algorithm>
#include <cmath>

#include "imaging/parallel.h"
#include "imaging/raster.h"

namespace vimora {

struct ImageSurface::Layer
{
    QImage image;              // for the base layer: m_base itself
    QImage coverage;           // clip mask applied when the layer closes (null: none)
    std::unique_ptr<QPainter> painter;
};

ImageSurface::ImageSurface(QSizeF points, double scale, bool opaque)
    : m_scale(scale > 0 ? scale : 1.0)
{
    const int w = int(std::trunc(points.width() * m_scale));
    const int h = int(std::trunc(points.height() * m_scale));
    m_base = makeRaster(w, h);
    if (m_base.isNull())
        return;
    if (opaque)
        m_base.fill(Qt::black);
    auto base = std::make_unique<Layer>();
    base->painter = std::make_unique<QPainter>(&m_base);
    base->painter->scale(m_scale, m_scale);
    m_layers.push_back(std::move(base));
}

ImageSurface::~ImageSurface()
{
    while (m_layers.size() > 1)
        popLayer();
    m_layers.clear();
}

QPainter &ImageSurface::painter()
{
    return *m_layers.back()->painter;
}

void ImageSurface::drawPicture(const Picture &picture, const QRectF &rect)
{
    if (!isValid() || picture.isNull())
        return;
    painter().drawImage(rect, picture.orientation() == Orientation::Up ? picture.bitmap() : picture.uprightBitmap());
}

void ImageSurface::drawPicture(const Picture &picture, QPointF topLeft)
{
    drawPicture(picture, QRectF(topLeft, picture.size()));
}

void ImageSurface::drawBitmap(const QImage &bitmap, const QRectF &rect)
{
    if (!isValid() || bitmap.isNull())
        return;
    painter().drawImage(rect, bitmap);
}

void ImageSurface::setHighQuality(bool on)
{
    if (isValid())
        painter().setRenderHint(QPainter::SmoothPixmapTransform, on);
}

void ImageSurface::setAntialiasing(bool on)
{
    if (isValid())
        painter().setRenderHint(QPainter::Antialiasing, on);
}

void ImageSurface::setAlpha(double alpha)
{
    if (isValid())
        painter().setOpacity(std::clamp(alpha, 0.0, 1.0));
}

void ImageSurface::fillRect(const QRectF &rect, const QColor &color)
{
    if (isValid())
        painter().fillRect(rect, color);
}

void ImageSurface::pushLayer(const QImage *coverage)
{
    QPainter &outer = painter();
    auto layer = std::make_unique<Layer>();
    layer->image = makeRaster(m_base.size());
    if (coverage)
        layer->coverage = *coverage;
    layer->painter = std::make_unique<QPainter>(&layer->image);
    layer->painter->setRenderHints(outer.renderHints());
    layer->painter->setTransform(outer.transform());
    m_layers.push_back(std::move(layer));
}

void ImageSurface::popLayer()
{
    if (m_layers.size() <= 1)
        return;
    std::unique_ptr<Layer> layer = std::move(m_layers.back());
    m_layers.pop_back();
    layer->painter->end();
    if (!layer->coverage.isNull())
        applyCoverage(layer->image, layer->coverage);
    QPainter &outer = painter();
    outer.save();
    outer.resetTransform();
    outer.drawImage(0, 0, layer->image);
    outer.restore();
}

void ImageSurface::beginTransparencyLayer()
{
    if (isValid())
        pushLayer(nullptr);
}

void ImageSurface::endTransparencyLayer()
{
    // A clip layer opened inside the transparency layer closes with it.
    while (m_layers.size() > 1 && !m_layers.back()->coverage.isNull())
        popLayer();
    popLayer();
}

void ImageSurface::clipToMask(const QRectF &rect, const QImage &mask)
{
    if (!isValid())
        return;
    // Coverage plane over the whole surface: the mask stretched over rect (mapped through
    // the current transform), nothing outside it.
    QImage coverage(m_base.size(), QImage::Format_Grayscale8);
    coverage.fill(0);
    const QRectF device = painter().transform().mapRect(rect);
    const QRect target = device.toAlignedRect().intersected(coverage.rect());
    if (!target.isEmpty() && !mask.isNull()) {
        const QImage stretched = maskCoverage(mask, device.toAlignedRect().size());
        QPainter p(&coverage);
        p.drawImage(device.toAlignedRect().topLeft(), stretched);
    }
    pushLayer(&coverage);
}

Picture ImageSurface::image()
{
    if (!isValid())
        return {};
    while (m_layers.size() > 1)
        popLayer();
    // Copy out while the painter stays open for further drawing.
    return Picture(m_base.copy(), m_scale);
}

QImage maskCoverage(const QImage &mask, QSize size)
{
    if (mask.isNull() || size.isEmpty())
        return {};
    QImage plane(mask.size(), QImage::Format_Grayscale8);
    if (mask.hasAlphaChannel()) {
        const QImage argb = mask.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        forEachRow(argb.height(), [&](int y) {
            const QRgb *src = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
            uchar *dst = plane.scanLine(y);
            for (int x = 0; x < argb.width(); ++x)
                dst[x] = uchar(qAlpha(src[x]));
        });
    } else {
        plane = mask.convertToFormat(QImage::Format_Grayscale8);
    }
    if (plane.size() != size)
        plane = plane.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return plane;
}

void applyCoverage(QImage &raster, const QImage &coverage, QPoint offset)
{
    if (raster.isNull() || coverage.isNull())
        return;
    forEachRow(raster.height(), [&](int y) {
        QRgb *row = reinterpret_cast<QRgb *>(raster.scanLine(y));
        const int cy = y - offset.y();
        if (cy < 0 || cy >= coverage.height()) {
            std::fill(row, row + raster.width(), 0u);
            return;
        }
        const uchar *cov = coverage.constScanLine(cy);
        for (int x = 0; x < raster.width(); ++x) {
            const int cx = x - offset.x();
            const uint c = (cx >= 0 && cx < coverage.width()) ? cov[cx] : 0u;
            const QRgb p = row[x];
            // Rounded multiply by c / 255 per premultiplied sample.
            auto mul = [c](uint v) { uint t = v * c + 128; return (t + (t >> 8)) >> 8; };
            row[x] = qRgba(int(mul(qRed(p))), int(mul(qGreen(p))), int(mul(qBlue(p))), int(mul(qAlpha(p))));
        }
    });
}

} // namespace vimora
