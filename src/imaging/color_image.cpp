#include "imaging/color_image.h"

#include <cmath>
#include <cstdio>

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
    ImageSurface surface(picture.size());
    if (!surface.isValid())
        return {};
    const QRectF whole(QPointF(0, 0), picture.size());
    surface.beginTransparencyLayer();
    surface.clipToMask(whole, picture.bitmap());
    QColor color;
    color.setRgbF(float(std::clamp(red, 0.0, 1.0)), float(std::clamp(green, 0.0, 1.0)),
                  float(std::clamp(blue, 0.0, 1.0)), float(std::clamp(alphas, 0.0, 1.0)));
    surface.fillRect(whole, color);
    surface.endTransparencyLayer();
    return surface.image();
}

} // namespace vimora
