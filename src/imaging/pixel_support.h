#pragma once

// Helpers shared by the pixel-filter and geometry families (not part of the public API).
// A Raster word is 0xAARRGGBB; on the little-endian machines we build for, its bytes lie in
// memory as blue, green, red, alpha, so byte 3 of every pixel is alpha.

#include <algorithm>
#include <cstdint>

#include <QImage>
#include <QtGlobal>

#include "imaging/picture.h"
#include "imaging/raster.h"

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "interleaved byte loops assume alpha in byte 3");

namespace vimora::detail {

inline constexpr int kAlphaByte = 3;
inline constexpr QRgb kAlphaMask = 0xff000000u;

/// Float sample to byte: clamped to 0..255 and truncated toward zero. Values outside the
/// range saturate even where no clamping was asked for: wrapping would corrupt the picture.
inline uint8_t truncToByte(float v)
{
    // Narrowed in float only far enough for a defined conversion, then clamped as an integer:
    // the compiler vectorises this form several times better than a float clamp.
    const int i = int(std::min(std::max(v, -1.0f), 256.0f));
    return uint8_t(std::min(std::max(i, 0), 255));
}

inline uint8_t clampToByte(int v)
{
    return uint8_t(std::min(std::max(v, 0), 255));
}

/// An uninitialised Raster (every pixel is about to be written); null when it cannot be had.
inline QImage newRaster(int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    QImage image(width, height, kRasterFormat);
    return image.isNull() ? QImage() : image;
}

// Row access for the parallel loops. The writable forms never detach (QImage::scanLine would,
// from every thread at once): the image written must be unshared, as newRaster's results are,
// or be detached once with bits() before the loop.
inline const uint8_t *rowBytes(const QImage &image, int y)
{
    return image.constBits() + qsizetype(y) * image.bytesPerLine();
}
inline uint8_t *rowBytes(QImage &image, int y)
{
    return const_cast<uint8_t *>(image.constBits()) + qsizetype(y) * image.bytesPerLine();
}
inline const QRgb *rowWords(const QImage &image, int y)
{
    return reinterpret_cast<const QRgb *>(rowBytes(image, y));
}
inline QRgb *rowWords(QImage &image, int y)
{
    return reinterpret_cast<QRgb *>(rowBytes(image, y));
}

/// The picture as it is shown (orientation tag applied) at its pixel resolution. Shares the
/// bitmap for upright pictures.
QImage uprightPixels(const Picture &picture);

/// The picture as it is shown, at its size in points truncated to whole pixels (resampled
/// when the scale is not 1). Shares the bitmap when nothing needs to change.
QImage uprightAtPoints(const Picture &picture);

/// 256-entry byte table applied to the three colour samples of every pixel; alpha kept.
/// Writes into dst, which may be src itself.
void applyColourTable(const QImage &src, QImage &dst, const uint8_t table[256]);

bool isIdentityTable(const uint8_t table[256]);

} // namespace vimora::detail
