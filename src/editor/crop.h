#pragma once

// The crop rectangle's geometry, free of any view: the editor's views call these with their
// frames (points) and the photo (pixels). The cut itself is imaging's cutImage.

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSizeF>

#include "imaging/picture.h"

namespace vimora {

/// The smallest side a dragged crop rectangle keeps, in points: a corner cannot be pulled
/// across the opposite sides, so the rectangle never turns inside out, and its four handles
/// (one finger wide each) stay apart.
inline constexpr double kMinCropSide = 44.0;

/// The rectangle's corners in the photo view's coordinates.
struct CropCorners
{
    QPointF lu, ru, ld, rd;
    static CropCorners fromFrame(const QRectF &frame);
};

enum class CropHandle { TopRight, BottomRight, TopLeft, BottomLeft };

/// The rectangle's frame after the given corner was dragged to p: the two sides that do not
/// meet at that corner stay put.
QRectF draggedCornerFrame(CropHandle handle, const CropCorners &corners, QPointF p);

/// The frame the cut uses: clipped to the view's bounds (a part past an edge is dropped). A
/// rectangle lying wholly outside is first slid back inside, keeping its size where it fits.
QRectF clipCropFrame(const QRectF &frame, QSizeF viewSize);

/// The photo with an opaque black hole over pixelRect (top-left origin), upright.
Picture holeImage(const Picture &photo, const QRectF &pixelRect);

} // namespace vimora
