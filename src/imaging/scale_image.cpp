#include "imaging/scale_image.h"

#include "imaging/surface.h"

namespace vimora {

Picture ScaleImage::imageWithImage(const Picture &picture, QSizeF size) const
{
    ImageSurface surface(size);
    if (!surface.isValid())
        return {};
    surface.setHighQuality(true);
    surface.drawPicture(picture, QRectF(QPointF(0, 0), size));
    return surface.image();
}

} // namespace vimora
