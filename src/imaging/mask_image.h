#pragma once

#include <QImage>

#include "imaging/picture.h"

namespace vimora {

/// The image-mask plane of a mask bitmap: coverage 255 - g per pixel, g its first colour
/// sample (the gray sample of a gray plane), stretched to size. Black keeps, white removes.
QImage imageMaskCoverage(const QImage &mask, QSize size);

class MaskImage
{
public:
    /// The picture's bitmap with the mask applied as an image mask (scale 1, upright).
    Picture maskImage(const Picture &picture, const Picture &mask) const;
};

/// The receiver clipped by the mask's coverage and then masked by its gray levels; sized by
/// points, scale 1, upright. None when the surface cannot be made.
Picture maskWithImage(const Picture &receiver, const Picture &mask);

} // namespace vimora
