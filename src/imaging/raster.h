#pragma once

// Rasters: mutable QImage in Format_ARGB32_Premultiplied, one 32-bit word 0xAARRGGBB per
// pixel (alpha in the top byte, then red, green and blue), row 0 at the
// top, premultiplied device RGB; a new Raster is fully transparent. Gray planes are
// Format_Grayscale8. Null pictures size as 0 x 0, and a 0-sized Raster is a failure.

#include <QImage>
#include <QSize>

#include "imaging/picture.h"

namespace vimora {

inline constexpr QImage::Format kRasterFormat = QImage::Format_ARGB32_Premultiplied;

/// Size by points: the picture's size in points, each side truncated toward zero.
QSize rasterSizeByPoints(const Picture &picture);
/// Size by pixels: the bitmap's own pixel dimensions.
QSize rasterSizeByPixels(const Picture &picture);

/// A fully transparent Raster; null when a side is 0 or the memory cannot be had.
QImage makeRaster(int width, int height);
QImage makeRaster(QSize size);

/// Unpacks a picture into a new Raster of the given size: the raw bitmap (orientation tag not
/// applied) drawn stretched over the whole Raster, high-quality resampling when sizes differ.
QImage unpackRaster(const Picture &picture, QSize size);
/// Shorthands for the two sizing rules.
QImage unpackRasterByPoints(const Picture &picture);
QImage unpackRasterByPixels(const Picture &picture);

/// Draws a raw bitmap stretched into a rectangle of a Raster, source-over (CGContextDrawImage,
/// in top-left coordinates).
void drawBitmap(QImage &target, const QRectF &rect, const QImage &bitmap, bool smooth = true);

/// A bitmap surface over a zeroed Raster of width x height. bytesPerRow 0 lets the surface
/// choose (4 x width); a smaller stride than 4 x width fails. Null on failure.
QImage ZELCreateARGBBitmapContext(unsigned width, unsigned height, unsigned bytesPerRow);

/// Gray plane pixelsWide x pixelsHigh: top row gray toAlpha, bottom row fromAlpha; row r has
/// toAlpha + (fromAlpha - toAlpha) * (r + 0.5) / pixelsHigh, scaled to 0..255 and rounded.
QImage ZELCreateGradientImage(unsigned pixelsWide, unsigned pixelsHigh, float fromAlpha, float toAlpha);

/// A Raster sized by the bitmap's pixels holding the bitmap; null (and "Context not created!"
/// on standard error when the surface itself fails) otherwise.
QImage dsp_utils_CreateARGBBitmapContext(const QImage &bitmap);

} // namespace vimora
