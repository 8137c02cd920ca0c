#pragma once

// Resampling of premultiplied Rasters, used by the geometry family and wherever a picture is
// drawn at another size. Both functions are row-parallel and allocate only per-thread rows.

#include <QImage>
#include <QSizeF>
#include <QTransform>

namespace vimora {

/// src stretched to width x height with a separable bicubic filter (Catmull-Rom), widened
/// when shrinking so that every source pixel contributes (no aliasing). Results are rounded,
/// clamped, and colour is kept at or below alpha. A size equal to src's returns src.
QImage resampled(const QImage &src, int width, int height);
/// resampled, stretching only src's top-left span (fractions allowed) to the size; the pixels
/// beyond it pad src and are read only as neighbours at the edge (a JPEG decoded at a DCT
/// scale ends on a part-filled block). No image for a span outside src.
QImage resampledSpan(const QImage &src, QSizeF span, int width, int height);

/// Fills every pixel of dst with src sampled bilinearly at dstToSrc(x + 0.5, y + 0.5), where
/// source pixel (i, j) covers [i, i + 1) x [j, j + 1). Outside src counts as transparent, so
/// the picture's edges come out antialiased.
void warpBilinear(const QImage &src, QImage &dst, const QTransform &dstToSrc);

} // namespace vimora
