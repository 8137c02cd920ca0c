#include "imaging/pixel_support.h"

#include "imaging/parallel.h"
#include "imaging/resample.h"

namespace vimora::detail {

QImage uprightPixels(const Picture &picture)
{
    if (picture.isNull())
        return {};
    return picture.orientation() == Orientation::Up ? picture.bitmap() : picture.uprightBitmap();
}

QImage uprightAtPoints(const Picture &picture)
{
    const QSize points = rasterSizeByPoints(picture);
    if (points.isEmpty())
        return {};
    const QImage upright = uprightPixels(picture);
    if (upright.size() == points)
        return upright;
    return resampled(upright, points.width(), points.height());
}

void applyColourTable(const QImage &src, QImage &dst, const uint8_t table[256])
{
    const int w = src.width();
    dst.bits(); // detach once, here, if dst is shared
    forEachRow(src.height(), [&](int y) {
        const QRgb *in = rowWords(src, y);
        QRgb *out = rowWords(dst, y);
        for (int x = 0; x < w; ++x) {
            const QRgb p = in[x];
            out[x] = (p & kAlphaMask) | (QRgb(table[(p >> 16) & 0xff]) << 16) | (QRgb(table[(p >> 8) & 0xff]) << 8)
                | QRgb(table[p & 0xff]);
        }
    });
}

bool isIdentityTable(const uint8_t table[256])
{
    for (int i = 0; i < 256; ++i)
        if (table[i] != i)
            return false;
    return true;
}

} // namespace vimora::detail
