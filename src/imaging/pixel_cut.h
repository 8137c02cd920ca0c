#pragma once

// Cutting a part out of a picture in its pixel grid (top-left origin), and laying one picture
// on another. Null in gives null out.

#include <QRect>
#include <QRectF>
#include <QSize>

#include "imaging/picture.h"

namespace vimora {

/// The whole pixels a crop of rect (pixel grid, top-left origin) takes from a picture of
/// size: widened outwards to whole pixels and limited to the picture; empty when none.
QRect cropPixelRect(const QRectF &rect, QSize size);

/// The crop primitive: the part of the picture inside (x, y, width, height) in its pixel grid,
/// top-left origin; the rectangle is made integral (outwards) and limited to the picture.
/// No picture when nothing is left.
Picture cutImage(double width, double height, double x, double y, const Picture &finalImage);

/// first drawn at its own size, then second at the origin at its own size, into a picture of
/// first's size.
Picture addImage(const Picture &first, const Picture &second);

} // namespace vimora
