#pragma once

#include <optional>

#include <QColor>
#include <QImage>
#include <QPointF>

#include "imaging/picture.h"

namespace vimora {

/// A colour with components 0..1 as read from stored (premultiplied) samples.
struct ColorF
{
    double red = 0, green = 0, blue = 0, alpha = 0;
    QColor toQColor() const { return QColor::fromRgbF(float(red), float(green), float(blue), float(alpha)); }
};

/// Pixel reading and silhouette recolouring.
class ColorImage
{
public:
    /// A Raster of the bitmap's pixel size holding the bitmap. Null on failure, with
    /// "Memory not allocated!" or "Context not created!" on standard error.
    QImage createARGBBitmapContextFromImage(const QImage &bitmap) const;

    /// The stored colour of the pixel nearest to point (halves away from zero), read without
    /// un-premultiplying. None for no picture or a point outside the bitmap.
    std::optional<ColorF> getPixelColorAtLocation(QPointF point, const Picture &picture) const;

    /// A picture of the same size (points, scale 1) whose every pixel has the colour with
    /// alpha = alphas x the source's alpha; transparent source pixels stay transparent.
    Picture changeColor(const Picture &picture, double red, double green, double blue, double alphas) const;
};

} // namespace vimora
