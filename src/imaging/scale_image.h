#pragma once

#include <QSizeF>

#include "imaging/picture.h"

namespace vimora {

class ScaleImage
{
public:
    /// The picture drawn upright and stretched into a new surface of size points (scale 1).
    Picture imageWithImage(const Picture &picture, QSizeF size) const;
};

} // namespace vimora
