#include "imaging/geometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QTransform>

#include "imaging/parallel.h"
#include "imaging/pixel_support.h"
#include "imaging/resample.h"
#include "imaging/simd.h"

namespace vimora {

namespace {

using detail::newRaster;
using detail::rowBytes;
using detail::rowWords;

// Sides beyond this are refused before any arithmetic can overflow.
constexpr double kMaxSide = 1 << 20;

bool usableSide(double v)
{
    return std::isfinite(v) && v >= 1.0 && v < kMaxSide;
}

/// A result's size in pixels: sides that hold pixels, within the picture limits.
bool usableSize(double w, double h)
{
    return usableSide(w) && usableSide(h) && withinPictureLimits(QSize(int(w), int(h)));
}

/// Maps the stored bitmap's pixel space (w x h) onto the picture as shown.
QTransform storedToShown(Orientation o, int w, int h)
{
    switch (o) {
    case Orientation::Up:
        return {};
    case Orientation::Down:
        return QTransform(-1, 0, 0, -1, w, h);
    case Orientation::Left:
        return QTransform(0, -1, 1, 0, 0, w);
    case Orientation::Right:
        return QTransform(0, 1, -1, 0, h, 0);
    case Orientation::UpMirrored:
        return QTransform(-1, 0, 0, 1, w, 0);
    case Orientation::DownMirrored:
        return QTransform(1, 0, 0, -1, 0, h);
    case Orientation::LeftMirrored:
        return QTransform(0, 1, 1, 0, 0, 0);
    case Orientation::RightMirrored:
        return QTransform(0, -1, -1, 0, h, w);
    }
    return {};
}

/// The picture turned by radians (counter-clockwise as shown) so that its centre lands on
/// centre, on a transparent canvas of canvasSize pixels.
Picture rotatedOnto(const Picture &picture, QSize canvasSize, QPointF centre, float radians)
{
    const QSizeF points(std::trunc(picture.size().width()), std::trunc(picture.size().height()));
    const QImage src = detail::uprightPixels(picture);
    QImage canvas = newRaster(canvasSize.width(), canvasSize.height());
    if (src.isNull() || canvas.isNull() || points.isEmpty())
        return {};
    const double c = std::cos(double(radians));
    const double s = std::sin(double(radians));
    // Canvas pixel -> offset from the centre -> turned back -> the source's points -> its pixels.
    const QTransform toSource = QTransform::fromTranslate(-centre.x(), -centre.y()) * QTransform(c, s, -s, c, 0, 0)
        * QTransform::fromTranslate(points.width() / 2, points.height() / 2)
        * QTransform::fromScale(src.width() / points.width(), src.height() / points.height());
    warpBilinear(src, canvas, toSource);
    return Picture(canvas);
}

VIMORA_VECTOR_LOOP(void, mirrorRow, (QRgb *__restrict dst, const QRgb *__restrict src, int w), (dst, src, w))
{
    for (int x = 0; x < w; ++x)
        dst[x] = src[w - 1 - x];
}

/// Every sample of a row times c / 255, rounded.
VIMORA_VECTOR_LOOP(void, fadeRow,
                   (uint8_t *__restrict dst, const uint8_t *__restrict src, uint32_t c, int n), (dst, src, c, n))
{
    for (int i = 0; i < n; ++i) {
        const uint32_t t = src[i] * c + 128;
        dst[i] = uint8_t((t + (t >> 8)) >> 8);
    }
}

} // namespace

QPointF cropOrigin(QSizeF pictureSize, QSizeF cropSize, int mode)
{
    const double dx = pictureSize.width() - cropSize.width();
    const double dy = pictureSize.height() - cropSize.height();
    switch (mode) {
    case kCropTopCentre:
        return {dx / 2, 0};
    case kCropTopRight:
        return {dx, 0};
    case kCropBottomLeft:
        return {0, dy};
    case kCropBottomCentre:
        return {dx / 2, dy};
    case kCropBottomRight:
        return {dx, dy};
    case kCropLeftCentre:
        return {0, dy / 2};
    case kCropRightCentre:
        return {dx, dy / 2};
    case kCropCentre:
        return {dx / 2, dy / 2};
    default:
        return {0, 0};
    }
}

Picture cropToSize(const Picture &picture, QSizeF size, int mode)
{
    if (picture.isNull() || !(size.width() > 0) || !(size.height() > 0) || !std::isfinite(size.width())
        || !std::isfinite(size.height()))
        return {};
    const QPointF origin = cropOrigin(picture.size(), size, mode);
    const double s = picture.scale();
    // Widened outward to whole pixels so no part of the asked rectangle is lost; the epsilon
    // keeps float noise from adding a column.
    constexpr double kEps = 1e-9;
    const double left = std::floor(origin.x() * s + kEps);
    const double top = std::floor(origin.y() * s + kEps);
    const double right = std::ceil((origin.x() + size.width()) * s - kEps);
    const double bottom = std::ceil((origin.y() + size.height()) * s - kEps);
    const QImage &bitmap = picture.bitmap();
    const QTransform toShown = storedToShown(picture.orientation(), bitmap.width(), bitmap.height());
    const QRectF shownBounds = toShown.mapRect(QRectF(bitmap.rect()));
    const QRectF shown = QRectF(QPointF(left, top), QPointF(right, bottom)).intersected(shownBounds);
    if (shown.isEmpty())
        return {};
    const QRect stored = toShown.inverted().mapRect(shown).toRect();
    const QImage part = bitmap.copy(stored);
    return part.isNull() ? Picture() : Picture(part, picture.scale(), picture.orientation());
}

Picture cropToSize(const Picture &picture, QSizeF size)
{
    return cropToSize(picture, size, kCropTopLeft);
}

Picture scaleByFactor(const Picture &picture, float factor)
{
    if (picture.isNull())
        return {};
    if (!(factor > 0.0f))
        return {};
    // As in sizeToFit, a side that truncates to nothing keeps one pixel.
    const double w = std::max(1.0, std::trunc(picture.size().width() * double(factor)));
    const double h = std::max(1.0, std::trunc(picture.size().height() * double(factor)));
    if (!usableSize(w, h))
        return {};
    const QImage out = resampled(detail::uprightPixels(picture), int(w), int(h));
    return out.isNull() ? Picture() : Picture(out);
}

QSize sizeToFit(QSizeF pictureSize, QSizeF box)
{
    const double w0 = std::trunc(pictureSize.width());
    const double h0 = std::trunc(pictureSize.height());
    const double tw = box.width();
    const double th = box.height();
    if (!(w0 >= 1) || !(h0 >= 1) || !(tw >= 1) || !(th >= 1) || !std::isfinite(tw) || !std::isfinite(th))
        return {};
    double width, height;
    if (w0 > h0) {
        width = tw;
        height = std::trunc(tw * h0 / w0);
    } else {
        height = th;
        width = std::trunc(th * w0 / h0);
    }
    if (width > tw) {
        width = tw;
        height = std::trunc(tw * h0 / w0);
    }
    if (height > th) {
        height = th;
        width = std::trunc(th * w0 / h0);
    }
    // A thin strip can truncate to no rows at all; it keeps one.
    width = std::max(1.0, std::trunc(width));
    height = std::max(1.0, std::trunc(height));
    if (!usableSize(width, height))
        return {};
    return {int(width), int(height)};
}

Picture scaleToFitSize(const Picture &picture, QSizeF box)
{
    if (picture.isNull())
        return {};
    const QSize fit = sizeToFit(picture.size(), box);
    if (fit.isEmpty())
        return {};
    const QImage out = resampled(detail::uprightPixels(picture), fit.width(), fit.height());
    return out.isNull() ? Picture() : Picture(out);
}

QSize rotatedCanvasSize(QSizeF pictureSize, float radians)
{
    const double w = std::trunc(pictureSize.width());
    const double h = std::trunc(pictureSize.height());
    const double c = std::cos(double(radians));
    const double s = std::sin(double(radians));
    // Bounding box of the four rotated corners.
    const double xs[4] = {0, w * c, -h * s, w * c - h * s};
    const double ys[4] = {0, w * s, h * c, w * s + h * c};
    const double bw = std::trunc(*std::max_element(xs, xs + 4) - *std::min_element(xs, xs + 4));
    const double bh = std::trunc(*std::max_element(ys, ys + 4) - *std::min_element(ys, ys + 4));
    if (!usableSize(bw, bh))
        return {};
    return {int(bw), int(bh)};
}

Picture rotateInRadians(const Picture &picture, float radians)
{
    if (picture.isNull() || !std::isfinite(radians))
        return {};
    const QSize canvas = rotatedCanvasSize(picture.size(), radians);
    if (canvas.isEmpty())
        return {};
    // The picture's centre goes to the centre of the unrounded bounding box, measured from the
    // canvas's bottom edge: the turn is worked out with y up, so any rounding slack lands at
    // the top.
    const double w = std::trunc(picture.size().width());
    const double h = std::trunc(picture.size().height());
    const double c = std::fabs(std::cos(double(radians)));
    const double s = std::fabs(std::sin(double(radians)));
    const double bw = w * c + h * s;
    const double bh = w * s + h * c;
    return rotatedOnto(picture, canvas, QPointF(bw / 2, canvas.height() - bh / 2), radians);
}

Picture rotateInDegrees(const Picture &picture, float degrees)
{
    return rotateInRadians(picture, radiansFromDegrees(degrees));
}

Picture rotateImagePixelsInRadians(const Picture &picture, float radians)
{
    if (picture.isNull() || !std::isfinite(radians))
        return {};
    const QSize canvas = rasterSizeByPoints(picture);
    if (canvas.isEmpty())
        return {};
    return rotatedOnto(picture, canvas, QPointF(canvas.width() / 2.0, canvas.height() / 2.0), radians);
}

Picture rotateImagePixelsInDegrees(const Picture &picture, float degrees)
{
    return rotateImagePixelsInRadians(picture, radiansFromDegrees(degrees));
}

Picture verticalFlip(const Picture &picture)
{
    const QImage src = detail::uprightAtPoints(picture);
    QImage dst = newRaster(src.width(), src.height());
    if (src.isNull() || dst.isNull())
        return {};
    const int h = src.height();
    const size_t bytes = size_t(src.width()) * 4;
    forEachRow(h, [&](int y) { std::memcpy(rowBytes(dst, y), rowBytes(src, h - 1 - y), bytes); });
    return Picture(dst);
}

Picture horizontalFlip(const Picture &picture)
{
    const QImage src = detail::uprightAtPoints(picture);
    QImage dst = newRaster(src.width(), src.height());
    if (src.isNull() || dst.isNull())
        return {};
    const int w = src.width();
    forEachRow(src.height(), [&](int y) { mirrorRow(rowWords(dst, y), rowWords(src, y), w); });
    return Picture(dst);
}

Picture reflectedImageWithHeight(const Picture &picture, unsigned height, float fromAlpha, float toAlpha,
                                 double deviceScale)
{
    if (picture.isNull() || height == 0 || !(deviceScale > 0) || !std::isfinite(deviceScale))
        return {};
    const double width = picture.size().width();
    const double pixelsWide = std::trunc(width * deviceScale);
    const double pixelsHigh = std::trunc(double(height) * deviceScale);
    if (!usableSize(pixelsWide, pixelsHigh) || height >= unsigned(kMaxSide))
        return {};
    // The picture as shown at the surface's scale; its last row lands on the reflection's top.
    QImage shown = detail::uprightPixels(picture);
    const int shownHigh = int(std::lround(picture.size().height() * deviceScale));
    if (shown.width() != int(pixelsWide) || shown.height() != shownHigh)
        shown = resampled(shown, int(pixelsWide), std::max(1, shownHigh));
    const QImage mask = ZELCreateGradientImage(1, height, std::isnan(fromAlpha) ? 0.0f : fromAlpha,
                                               std::isnan(toAlpha) ? 0.0f : toAlpha);
    QImage out = newRaster(int(pixelsWide), int(pixelsHigh));
    if (shown.isNull() || mask.isNull() || out.isNull())
        return {};
    const int w = out.width();
    forEachRow(out.height(), [&](int y) {
        QRgb *dst = rowWords(out, y);
        const int from = shown.height() - 1 - y;
        if (from < 0) {
            std::fill(dst, dst + w, 0u);
            return;
        }
        // The mask is stretched over the reflection upside down: row 0 takes its last row.
        const int maskRow = int(height) - 1 - std::min(int(height) - 1, int(y / deviceScale));
        const uint32_t c = mask.constScanLine(maskRow)[0];
        fadeRow(rowBytes(out, y), rowBytes(shown, from), c, 4 * w);
    });
    return Picture(out, deviceScale);
}

} // namespace vimora
