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
    if (mask.isNull())
        return {};
    QImage raster = unpackRaster(receiver, size);
    if (raster.isNull())
        return {};
    const QImage &m = mask.bitmap();
    if (m.size() != size) {
        applyCoverage(raster, maskCoverage(m, size));
        applyCoverage(raster, imageMaskCoverage(m, size));
        return Picture(raster);
    }
    // Same size (the editor's masks): clip coverage (mask alpha) and image-mask coverage
    // (255 - first colour sample) applied in one pass, each step rounded as when apart.
    forEachRow(size.height(), [&](int y) {
        const QRgb *mrow = reinterpret_cast<const QRgb *>(m.constScanLine(y));
        QRgb *row = reinterpret_cast<QRgb *>(raster.scanLine(y));
        auto mul = [](uint v, uint c) { uint t = v * c + 128; return (t + (t >> 8)) >> 8; };
        for (int x = 0; x < size.width(); ++x) {
            const uint clip = qAlpha(mrow[x]);
            const uint keep = 255u - uint(qRed(mrow[x]));
            const QRgb p = row[x];
            row[x] = (mul(mul(qAlpha(p), clip), keep) << 24) | (mul(mul(qRed(p), clip), keep) << 16)
                | (mul(mul(qGreen(p), clip), keep) << 8) | mul(mul(qBlue(p), clip), keep);
        }
    });
    return Picture(raster);
}

} // namespace vimora
