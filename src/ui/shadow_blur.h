#pragma once

#include <QColor>
#include <QImage>

namespace vimora::ui {

/// A Gaussian blur of a coverage plane (Format_Alpha8 or Grayscale8) with standard
/// deviation sigma in pixels, approximated by three box passes per axis. Returns Alpha8.
QImage blurredCoverage(const QImage &coverage, double sigma);

/// A premultiplied picture of color (its alpha included) shaped by a coverage plane.
QImage tintedCoverage(const QImage &coverage, const QColor &color);

/// The alpha channel of a premultiplied ARGB image as a coverage plane.
QImage alphaCoverage(const QImage &argb);

} // namespace vimora::ui
