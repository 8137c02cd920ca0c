#include "imaging/raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdio>

#include <QPainter>

#include "imaging/parallel.h"

namespace vimora {

QSize rasterSizeByPoints(const Picture &picture)
{
    const QSizeF s = picture.size();
    return {int(std::trunc(s.width())), int(std::trunc(s.height()))};
}

QSize rasterSizeByPixels(const Picture &picture)
{
    return {picture.pixelWidth(), picture.pixelHeight()};
}

QImage makeRaster(int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    QImage raster(width, height, kRasterFormat);
    if (raster.isNull())
        return {};
    raster.fill(Qt::transparent);
    return raster;
}

QImage makeRaster(QSize size)
{
    return makeRaster(size.width(), size.height());
}

void drawBitmap(QImage &target, const QRectF &rect, const QImage &bitmap, bool smooth)
{
    if (target.isNull() || bitmap.isNull())
        return;
    QPainter p(&target);
    p.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    p.drawImage(rect, bitmap);
}

QImage unpackRaster(const Picture &picture, QSize size)
{
    if (picture.isNull())
        return {};
    const QImage &src = picture.bitmap();
    if (size == src.size()) {
        // Same size: drawing onto transparent is a plain copy of the premultiplied samples.
        QImage copy = src.copy();
        return copy.isNull() ? QImage() : copy;
    }
    QImage raster = makeRaster(size);
    if (raster.isNull())
        return {};
    drawBitmap(raster, QRectF(0, 0, size.width(), size.height()), src);
    return raster;
}

QImage unpackRasterByPoints(const Picture &picture)
{
    return unpackRaster(picture, rasterSizeByPoints(picture));
}

QImage unpackRasterByPixels(const Picture &picture)
{
    return unpackRaster(picture, rasterSizeByPixels(picture));
}

QImage ZELCreateARGBBitmapContext(unsigned width, unsigned height, unsigned bytesPerRow)
{
    if (width == 0 || height == 0 || width > 1u << 20 || height > 1u << 20)
        return {};
    if (bytesPerRow != 0 && bytesPerRow < 4 * width)
        return {};
    return makeRaster(int(width), int(height));
}

QImage ZELCreateGradientImage(unsigned pixelsWide, unsigned pixelsHigh, float fromAlpha, float toAlpha)
{
    if (pixelsWide == 0 || pixelsHigh == 0 || pixelsWide > 1u << 20 || pixelsHigh > 1u << 20)
        return {};
    QImage plane(int(pixelsWide), int(pixelsHigh), QImage::Format_Grayscale8);
    if (plane.isNull())
        return {};
    const float from = std::clamp(fromAlpha, 0.0f, 1.0f);
    const float to = std::clamp(toAlpha, 0.0f, 1.0f);
    for (int r = 0; r < plane.height(); ++r) {
        const float g = to + (from - to) * (float(r) + 0.5f) / float(pixelsHigh);
        std::memset(plane.scanLine(r), int(std::lround(g * 255.0f)), size_t(pixelsWide));
    }
    return plane;
}

QImage dsp_utils_CreateARGBBitmapContext(const QImage &bitmap)
{
    if (bitmap.isNull())
        return {};
    QImage raster = makeRaster(bitmap.size());
    if (raster.isNull()) {
        std::fputs("Context not created!", stderr);
        return {};
    }
    drawBitmap(raster, QRectF(0, 0, bitmap.width(), bitmap.height()), bitmap, false);
    return raster;
}

} // namespace vimora
