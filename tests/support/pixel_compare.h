#pragma once

#include <QImage>

#include <gtest/gtest.h>

#include "imaging/picture.h"

namespace vimora::test {

/// Exact comparison naming the first differing pixel and both colours. tolerance is the
/// largest allowed difference per channel (0 unless the arithmetic calls for it).
testing::AssertionResult imagesEqual(const QImage &actual, const QImage &expected, int tolerance = 0);

/// imagesEqual of two pictures' upright pixels; a null picture equals nothing.
testing::AssertionResult picturesEqual(const Picture &actual, const Picture &expected, int tolerance = 0);

/// A Raster of w x h filled with one premultiplied ARGB word.
QImage filledRaster(int w, int h, QRgb premultiplied);

/// Position-coded Raster: pixel (x, y) holds value x + w * y in its red and green bytes,
/// opaque; any misplaced pixel shows.
QImage positionCoded(int w, int h);

/// The premultiplied word at (x, y).
QRgb pixelAt(const QImage &image, int x, int y);

} // namespace vimora::test
