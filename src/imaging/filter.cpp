#include "imaging/filter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "imaging/blend.h"
#include "imaging/image_service.h"
#include "imaging/kernels.h"
#include "imaging/parallel.h"
#include "imaging/raster.h"

namespace vimora {

namespace {

using Table = std::array<uint8_t, 256>;

template <typename Fn>
Table tableOf(Fn &&fn)
{
    Table t{};
    for (int c = 0; c < 256; ++c)
        t[size_t(c)] = uint8_t(std::clamp<int64_t>(fn(c), 0, 255));
    return t;
}

/// The raw bitmap with rule(QRgb) -> QRgb applied to every pixel, into a new bitmap.
template <typename Rule>
Picture byteEffect(const Picture &image, Rule &&rule)
{
    if (image.isNull())
        return {};
    const QImage &src = image.bitmap();
    QImage bytes(src.size(), QImage::Format_ARGB32_Premultiplied);
    if (bytes.isNull())
        return {};
    const kernels::RasterRows rows(bytes);
    parallelChunks(bytes.height(), [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            const QRgb *in = reinterpret_cast<const QRgb *>(src.constScanLine(y));
            QRgb *out = rows[y];
            for (int x = 0; x < bytes.width(); ++x)
                out[x] = rule(in[x]);
        }
    });
    return Picture(bytes);
}

Picture channelEffect(const Picture &image, const Table &t)
{
    return byteEffect(image, [&](QRgb p) {
        return (p & 0xff000000u) | uint32_t(t[(p >> 16) & 0xff]) << 16 | uint32_t(t[(p >> 8) & 0xff]) << 8
            | t[p & 0xff];
    });
}

Picture run(std::string_view name, const Picture &image,
            std::initializer_list<std::pair<std::string_view, ParamValue>> params)
{
    return applyImageFilter(name, image, params);
}

} // namespace

// --- byte effects ---------------------------------------------------------------------------

Picture Filter::doImageStuff(float v, const Picture &image) const
{
    if (!std::isfinite(v))
        v = 0;
    return channelEffect(image, tableOf([v](int c) -> int64_t {
                             const float moved = v <= 0 ? float(c) * v : float(255 - c) * v;
                             return c + int64_t(std::clamp(std::trunc(moved), -1024.0f, 1024.0f));
                         }));
}

Picture Filter::imageProcess(const Picture &image) const
{
    if (image.isNull())
        return {};
    // Drawn over black at the size in points (unrounded) into a plane of the truncated size, so
    // the colour samples as stored make the gray: transparent areas become black.
    const QSizeF points = image.size();
    QImage drawn = makeRaster(rasterSizeByPoints(image));
    if (drawn.isNull())
        return {};
    drawBitmap(drawn, QRectF(QPointF(0, 0), points), image.bitmap());
    QImage gray(drawn.size(), QImage::Format_Grayscale8);
    if (gray.isNull())
        return {};
    uchar *const grayBits = gray.bits();
    const qsizetype grayStride = gray.bytesPerLine();
    forEachRow(gray.height(), [&](int y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(drawn.constScanLine(y));
        uchar *out = grayBits + y * grayStride;
        for (int x = 0; x < gray.width(); ++x) {
            const uint32_t p = in[x];
            const uint32_t level = (299 * ((p >> 16) & 0xff) + 587 * ((p >> 8) & 0xff) + 114 * (p & 0xff) + 500) / 1000;
            out[x] = uchar(std::min<uint32_t>(level, 255));
        }
    });
    return Picture(gray);
}

Picture Filter::contrast(int k, const Picture &processImg) const
{
    return channelEffect(processImg, tableOf([k](int c) { return (int64_t(c) - 128) * k + 128; }));
}

Picture Filter::contrast2(int k, const Picture &processImg) const
{
    return channelEffect(processImg, tableOf([k](int c) {
                             const double v = std::trunc((c - 128.0) * k / 0.1 + 128.0);
                             return int64_t(std::clamp(v, -1.0, 256.0));
                         }));
}

Picture Filter::contrast9(const Picture &image, int number) const
{
    // C++ integer division truncates toward zero, as the effect requires.
    return channelEffect(image, tableOf([number](int c) { return (int64_t(c) - 128) * number / 100 + 128; }));
}

Picture Filter::contrast10(const Picture &image, int /*number*/) const
{
    return byteEffect(image, [](QRgb p) { return (p & 0x00ffffffu) == 0x00ffffffu ? p : p & 0xff000000u; });
}

Picture Filter::fixImage(const Picture &image) const
{
    return byteEffect(image, [](QRgb p) {
        const uint32_t g = uint32_t(((p >> 16) & 0xff) * 0.3 + ((p >> 8) & 0xff) * 0.59 + (p & 0xff) * 0.11);
        return (p & 0xff000000u) | g << 16 | g << 8 | g;
    });
}

// --- wrappers -------------------------------------------------------------------------------

Picture Filter::filterExp(float ev, const Picture &image) const
{
    return run("CIExposureAdjust", image, {{"inputEV", double(ev)}});
}

Picture Filter::filterNoise(const QVariant &, float, const Picture &image) const
{
    return run("CINoiseReduction", image, {{"inputNoiseLevel", 0.2}});
}

Picture Filter::filterHue(float angle, const Picture &image) const
{
    return run("CIHueAdjust", image, {{"inputAngle", double(angle)}});
}

Picture Filter::filterVibrance(float amount, const Picture &image) const
{
    return run("CIVibrance", image, {{"inputAmount", double(amount)}});
}

Picture Filter::filterPixellate(float scale, const Picture &image) const
{
    return run("CIPixellate", image, {{"inputScale", double(scale)}});
}

Picture Filter::filterTwirl(float angle, float pointX, float pointY, float radiusLa, const Picture &image) const
{
    return run("CITwirlDistortion", image,
               {{"inputAngle", double(angle)}, {"inputCenter", QPointF(pointX, pointY)}, {"inputRadius", double(radiusLa)}});
}

Picture Filter::filterPinchDistortion(float scale, float pointX, float pointY, float radiusLa,
                                      const Picture &image) const
{
    return run("CIPinchDistortion", image,
               {{"inputScale", double(scale)}, {"inputCenter", QPointF(pointX, pointY)}, {"inputRadius", double(radiusLa)}});
}

Picture Filter::filterHoleDistortion(float, float pointX, float pointY, float radiusLa, const Picture &image) const
{
    return run("CIHoleDistortion", image, {{"inputCenter", QPointF(pointX, pointY)}, {"inputRadius", double(radiusLa)}});
}

Picture Filter::filterVortexDistortion(float angle, float pointX, float pointY, float radiusLa,
                                       const Picture &image) const
{
    return run("CIVortexDistortion", image,
               {{"inputAngle", double(angle)}, {"inputCenter", QPointF(pointX, pointY)}, {"inputRadius", double(radiusLa)}});
}

Picture Filter::filterCircleSplashDistortion(float, float pointX, float pointY, float radiusLa,
                                             const Picture &image) const
{
    return run("CICircleSplashDistortion", image,
               {{"inputCenter", QPointF(pointX, pointY)}, {"inputRadius", double(radiusLa)}});
}

Picture Filter::filterBumpDistortion(float scale, float pointX, float pointY, float radiusLa,
                                     const Picture &image) const
{
    return run("CIBumpDistortion", image,
               {{"inputScale", double(scale)}, {"inputCenter", QPointF(pointX, pointY)}, {"inputRadius", double(radiusLa)}});
}

Picture Filter::filterBloom(float intensity, float, float, float radiusLa, const Picture &image) const
{
    return run("CIBloom", image, {{"inputIntensity", double(intensity)}, {"inputRadius", double(radiusLa)}});
}

Picture Filter::filterDotScreen(float angle, float pointX, float pointY, float radiusLa, float sharpen,
                                const Picture &image) const
{
    return run("CIDotScreen", image,
               {{"inputAngle", double(angle)},
                {"inputWidth", double(radiusLa)},
                {"inputSharpness", double(sharpen)},
                {"inputCenter", QPointF(pointX, pointY)}});
}

Picture Filter::filterCircularScreen(float, float pointX, float pointY, float radiusLa, float sharpen,
                                     const Picture &image) const
{
    return run("CICircularScreen", image,
               {{"inputWidth", double(radiusLa)}, {"inputSharpness", double(sharpen)}, {"inputCenter", QPointF(pointX, pointY)}});
}

Picture Filter::filterHatchedScreen(float angle, float pointX, float pointY, float radiusLa, float sharpen,
                                    const Picture &image) const
{
    return run("CIHatchedScreen", image,
               {{"inputAngle", double(angle)},
                {"inputWidth", double(radiusLa)},
                {"inputSharpness", double(sharpen)},
                {"inputCenter", QPointF(pointX, pointY)}});
}

Picture Filter::filterLineScreen(float angle, float pointX, float pointY, float radiusLa, float sharpen,
                                 const Picture &image) const
{
    return run("CILineScreen", image,
               {{"inputAngle", double(angle)},
                {"inputWidth", double(radiusLa)},
                {"inputSharpness", double(sharpen)},
                {"inputCenter", QPointF(pointX, pointY)}});
}

Picture Filter::filterSepiaTone(float intensity, const Picture &image) const
{
    return run("CISepiaTone", image, {{"inputIntensity", double(intensity)}});
}

Picture Filter::filterPerspectiveTransform(float pointX1, float pointY1, float pointX2, float pointY2, float pointX3,
                                           float pointY3, float pointX4, float pointY4, const Picture &image) const
{
    return run("CIPerspectiveTransform", image,
               {{"inputTopLeft", QPointF(pointX1, pointY1)},
                {"inputTopRight", QPointF(pointX2, pointY2)},
                {"inputBottomRight", QPointF(pointX3, pointY3)},
                {"inputBottomLeft", QPointF(pointX4, pointY4)}});
}

Picture Filter::filterTriangleKaleidoscope(float rotation, float pointX, float pointY, float radiusLa, float sharpen,
                                           const Picture &image) const
{
    return run("CITriangleKaleidoscope", image,
               {{"inputRotation", double(rotation)},
                {"inputSize", double(radiusLa)},
                {"inputDecay", double(sharpen)},
                {"inputPoint", QPointF(pointX, pointY)}});
}

Picture Filter::filterVignette(float radius, float sharpen, const Picture &image) const
{
    return run("CIVignette", image, {{"inputRadius", double(radius)}, {"inputIntensity", double(sharpen)}});
}

Picture Filter::filterAffineTransform(const QTransform &transform, const Picture &image) const
{
    return run("CIAffineTransform", image, {{"inputTransform", transform}});
}

Picture Filter::filterCrop(float pointX, float pointY, float width, float height, const Picture &image) const
{
    return run("CICrop", image, {{"inputRectangle", QRectF(pointX, pointY, width, height)}});
}

Picture Filter::filterMaskToAlpha(const Picture &image) const
{
    return run("CIMaskToAlpha", image, {});
}

Picture Filter::filterColorPosterize(float levels, const Picture &image) const
{
    return run("CIColorPosterize", image, {{"inputLevels", double(levels)}});
}

Picture Filter::filterGammaAdjust(float power, const Picture &image) const
{
    return run("CIGammaAdjust", image, {{"inputPower", double(power)}});
}

Picture Filter::filterColorControls(float saturation, float brightness, float contrast, const Picture &image) const
{
    return run("CIColorControls", image,
               {{"inputSaturation", double(saturation)},
                {"inputBrightness", double(brightness)},
                {"inputContrast", double(contrast)}});
}

Picture Filter::filterDissolveTransition(float time, const Picture &tarImage, const Picture &image) const
{
    return dissolved(time, tarImage, image);
}

} // namespace vimora
