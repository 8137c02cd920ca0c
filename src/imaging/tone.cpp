#include "imaging/tone.h"

#include <cmath>

#include "imaging/image_service.h"
#include "imaging/parallel.h"
#include "imaging/pixel_support.h"
#include "imaging/simd.h"

namespace vimora {

namespace {

using detail::newRaster;
using detail::rowWords;

using Table = std::array<uint8_t, 256>;

/// Whether the result keeps the source's scale and orientation (and so its stored bitmap) or
/// is the picture as shown, upright at scale 1.
enum class Result { KeepsGeometry, Upright };

QImage workingPixels(const Picture &picture, Result kind)
{
    return kind == Result::KeepsGeometry ? picture.bitmap() : detail::uprightAtPoints(picture);
}

Picture resultPicture(const Picture &picture, const QImage &raster, Result kind)
{
    if (raster.isNull())
        return {};
    return kind == Result::KeepsGeometry ? Picture(raster, picture.scale(), picture.orientation()) : Picture(raster);
}

Picture tableFilter(const Picture &picture, const Table &table, Result kind)
{
    if (picture.isNull())
        return {};
    const QImage src = workingPixels(picture, kind);
    if (src.isNull())
        return {};
    if (detail::isIdentityTable(table.data()))
        return kind == Result::KeepsGeometry ? picture : Picture(src);
    QImage dst = newRaster(src.width(), src.height());
    if (dst.isNull())
        return {};
    detail::applyColourTable(src, dst, table.data());
    return resultPicture(picture, dst, kind);
}

template <typename Formula>
Table tableOf(Formula formula)
{
    Table table{};
    for (int x = 0; x < 256; ++x)
        table[size_t(x)] = detail::truncToByte(formula(float(x)));
    return table;
}

/// Runs fn(in, out, width) over every row of the working pixels into a new Raster.
template <typename RowFn>
Picture rowFilter(const Picture &picture, Result kind, RowFn fn)
{
    if (picture.isNull())
        return {};
    const QImage src = workingPixels(picture, kind);
    if (src.isNull())
        return {};
    QImage dst = newRaster(src.width(), src.height());
    if (dst.isNull())
        return {};
    const int w = src.width();
    forEachRow(src.height(), [&](int y) { fn(rowWords(src, y), rowWords(dst, y), w); });
    return resultPicture(picture, dst, kind);
}

VIMORA_VECTOR_LOOP(void, invertRow, (const QRgb *in, QRgb *out, int w), (in, out, w))
{
    // 255 - x is x with its bits flipped.
    for (int x = 0; x < w; ++x)
        out[x] = in[x] ^ 0x00ffffffu;
}

VIMORA_VECTOR_LOOP(void, grayRow, (const QRgb *in, QRgb *out, int w), (in, out, w))
{
    for (int x = 0; x < w; ++x) {
        const QRgb p = in[x];
        const uint32_t g = (77 * ((p >> 16) & 0xff) + 150 * ((p >> 8) & 0xff) + 29 * (p & 0xff) + 128) >> 8;
        out[x] = 0xff000000u | (g * 0x00010101u);
    }
}

VIMORA_VECTOR_LOOP(void, scaleRow, (const QRgb *in, QRgb *out, int w, uint32_t factor), (in, out, w, factor))
{
    // factor is value x 2^16; each sample times it, rounded, stays within its byte.
    for (int x = 0; x < w; ++x) {
        const QRgb p = in[x];
        const uint32_t a = ((p >> 24) * factor + 0x8000u) >> 16;
        const uint32_t r = (((p >> 16) & 0xff) * factor + 0x8000u) >> 16;
        const uint32_t g = (((p >> 8) & 0xff) * factor + 0x8000u) >> 16;
        const uint32_t b = ((p & 0xff) * factor + 0x8000u) >> 16;
        out[x] = (a << 24) | (r << 16) | (g << 8) | b;
    }
}

inline uint32_t sepiaChannel(float r, float g, float b, float fr, float fg, float fb)
{
    return uint32_t(detail::truncToByte(r * fr + g * fg + b * fb));
}

VIMORA_VECTOR_LOOP(void, sepiaRow, (const QRgb *in, QRgb *out, int w), (in, out, w))
{
    for (int x = 0; x < w; ++x) {
        const QRgb p = in[x];
        const float r = float((p >> 16) & 0xff);
        const float g = float((p >> 8) & 0xff);
        const float b = float(p & 0xff);
        const uint32_t nr = sepiaChannel(r, g, b, sepiaFactorRedRed, sepiaFactorRedGreen, sepiaFactorRedBlue);
        const uint32_t ng = sepiaChannel(r, g, b, sepiaFactorGreenRed, sepiaFactorGreenGreen, sepiaFactorGreenBlue);
        const uint32_t nb = sepiaChannel(r, g, b, sepiaFactorBlueRed, sepiaFactorBlueGreen, sepiaFactorBlueBlue);
        out[x] = (p & detail::kAlphaMask) | (nr << 16) | (ng << 8) | nb;
    }
}

} // namespace

Picture brightenWithValue(const Picture &picture, float value)
{
    return tableFilter(picture, tableOf([value](float x) { return x + value; }), Result::KeepsGeometry);
}

Picture contrastAdjustmentWithValue(const Picture &picture, float value)
{
    const float factor = ((value + 255.0f) * 259.0f) / ((259.0f - value) * 255.0f);
    return tableFilter(picture, tableOf([factor](float x) {
                           // (x - 128) x F is 0 for x = 128 whatever F is, even infinite.
                           return x == 128.0f ? 128.0f : (x - 128.0f) * factor + 128.0f;
                       }),
                       Result::KeepsGeometry);
}

Picture gammaCorrectionWithValue(const Picture &picture, float gamma)
{
    return tableFilter(picture, tableOf([gamma](float x) { return 255.0f * std::pow(x / 255.0f, gamma); }),
                       Result::Upright);
}

Picture grayscale(const Picture &picture)
{
    return rowFilter(picture, Result::KeepsGeometry, grayRow);
}

Picture invert(const Picture &picture)
{
    return rowFilter(picture, Result::Upright, invertRow);
}

Picture opacity(const Picture &picture, float value)
{
    const float v = std::isnan(value) ? 0.0f : std::clamp(value, 0.0f, 1.0f);
    const auto factor = uint32_t(std::lround(double(v) * 65536.0));
    if (factor == 65536u && !picture.isNull()) {
        const QImage src = workingPixels(picture, Result::Upright);
        return src.isNull() ? Picture() : Picture(src);
    }
    return rowFilter(picture, Result::Upright,
                     [factor](const QRgb *in, QRgb *out, int w) { scaleRow(in, out, w, factor); });
}

Picture sepia(const Picture &picture)
{
    // The image service's sepia tone at full intensity, over its whole extent.
    const Picture toned = applyImageFilter("CISepiaTone", picture, {{"inputIntensity", 1.0}});
    return toned.isNull() ? sepiaMatrix(picture) : toned;
}

Picture sepiaMatrix(const Picture &picture)
{
    return rowFilter(picture, Result::Upright, sepiaRow);
}

Picture autoEnhance(const Picture &picture)
{
    return autoAdjust(picture, false);
}

Picture redEyeCorrection(const Picture &picture)
{
    return autoAdjust(picture, true);
}

} // namespace vimora
