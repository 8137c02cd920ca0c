#include "imaging/mask_image.h"

#include "imaging/parallel.h"
#include "imaging/raster.h"
#include "imaging/surface.h"

namespace vimora {

QImage imageMaskCoverage(const QImage &mask, QSize size)
{
    if (mask.isNull() || size.isEmpty())
        return {};
    QImage plane(mask.size(), QImage::Format_Grayscale8);
    if (mask.format() == QImage::Format_Grayscale8) {
        forEachRow(mask.height(), [&](int y) {
            const uchar *src = mask.constScanLine(y);
            uchar *dst = plane.scanLine(y);
            for (int x = 0; x < mask.width(); ++x)
                dst[x] = uchar(255 - src[x]);
        });
    } else {
        const QImage argb = mask.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        forEachRow(argb.height(), [&](int y) {
            const QRgb *src = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
            uchar *dst = plane.scanLine(y);
            for (int x = 0; x < argb.width(); ++x)
                dst[x] = uchar(255 - qRed(src[x]));
        });
    }
    if (plane.size() != size)
        plane = plane.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return plane;
}

Picture MaskImage::maskImage(const Picture &picture, const Picture &mask) const
{
    if (picture.isNull() || mask.isNull())
        return {};
    QImage out = picture.bitmap().copy();
    if (out.isNull())
        return {};
    applyCoverage(out, imageMaskCoverage(mask.bitmap(), out.size()));
    return Picture(out);
}

Picture maskWithImage(const Picture &receiver, const Picture &mask)
{
    const QSize size = rasterSizeByPoints(receiver);
    QImage raster = ZELCreateARGBBitmapContext(unsigned(std::max(0, size.width())), unsigned(std::max(0, size.height())), 0);
    if (raster.isNull())
        return {};
    drawBitmap(raster, QRectF(0, 0, size.width(), size.height()), receiver.bitmap());
    if (mask.isNull())
        return {};
    applyCoverage(raster, maskCoverage(mask.bitmap(), size));
    applyCoverage(raster, imageMaskCoverage(mask.bitmap(), size));
    return Picture(raster);
}

} // namespace vimora
