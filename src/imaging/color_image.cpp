#include "imaging/color_image.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "imaging/parallel.h"
#include "imaging/raster.h"
#include "imaging/surface.h"

namespace vimora {

QImage ColorImage::createARGBBitmapContextFromImage(const QImage &bitmap) const
{
    if (bitmap.isNull())
        return {};
    QImage raster = makeRaster(bitmap.size());
    if (raster.isNull()) {
        std::fputs("Memory not allocated!", stderr);
        return {};
    }
    drawBitmap(raster, QRectF(0, 0, bitmap.width(), bitmap.height()), bitmap, false);
    return raster;
}

std::optional<ColorF> ColorImage::getPixelColorAtLocation(QPointF point, const Picture &picture) const
{
    if (picture.isNull())
        return std::nullopt;
    const QImage &bitmap = picture.bitmap(); // already premultiplied ARGB: no redraw needed
    const double rx = std::round(point.x());
    const double ry = std::round(point.y());
    if (rx < 0 || ry < 0 || rx >= bitmap.width() || ry >= bitmap.height())
        return std::nullopt;
    const QRgb p = reinterpret_cast<const QRgb *>(bitmap.constScanLine(int(ry)))[int(rx)];
    return ColorF{qRed(p) / 255.0, qGreen(p) / 255.0, qBlue(p) / 255.0, qAlpha(p) / 255.0};
}

Picture ColorImage::changeColor(const Picture &picture, double red, double green, double blue, double alphas) const
{
    if (picture.isNull())
        return {};
    // One surface of the picture's size in points with the source's alpha as the clip: every
    // pixel takes the colour at alpha = alphas x source alpha.
    const QSize size = rasterSizeByPoints(picture);
    // Same size (the usual case): the alpha is read straight from the bitmap.
    const bool direct = picture.bitmap().size() == size;
    const QImage coverage = direct ? QImage() : maskCoverage(picture.bitmap(), size);
    QImage out(size, kRasterFormat);
    if (out.isNull() || (!direct && coverage.isNull()))
        return {};
    const float a = float(std::clamp(alphas, 0.0, 1.0));
    const float r = float(std::clamp(red, 0.0, 1.0)) * a, g = float(std::clamp(green, 0.0, 1.0)) * a,
                b = float(std::clamp(blue, 0.0, 1.0)) * a;
    forEachRow(size.height(), [&](int y) {
        const uchar *cov = direct ? nullptr : coverage.constScanLine(y);
        const QRgb *src = reinterpret_cast<const QRgb *>(picture.bitmap().constScanLine(y));
        QRgb *dst = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const float c = float(direct ? qAlpha(src[x]) : cov[x]);
            dst[x] = (uint(c * a + 0.5f) << 24) | (uint(c * r + 0.5f) << 16) | (uint(c * g + 0.5f) << 8)
                | uint(c * b + 0.5f);
        }
    });
    return Picture(out);
}

} // namespace vimora
