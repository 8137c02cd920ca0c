#include "imaging/pixel_cut.h"

#include <algorithm>
#include <cmath>

#include "imaging/surface.h"

namespace vimora {

QRect cropPixelRect(const QRectF &rect, QSize size)
{
    const QRectF r = rect.normalized();
    if (!std::isfinite(r.left()) || !std::isfinite(r.top()) || !std::isfinite(r.width()) || !std::isfinite(r.height()))
        return {};
    // Clamped before the conversion, so far-off rectangles never overflow an int.
    const double w = size.width(), h = size.height();
    const int x0 = int(std::clamp(std::floor(r.left()), 0.0, w));
    const int y0 = int(std::clamp(std::floor(r.top()), 0.0, h));
    const int x1 = int(std::clamp(std::ceil(r.left() + r.width()), 0.0, w));
    const int y1 = int(std::clamp(std::ceil(r.top() + r.height()), 0.0, h));
    if (x1 <= x0 || y1 <= y0)
        return {};
    return {x0, y0, x1 - x0, y1 - y0};
}

Picture cutImage(double width, double height, double x, double y, const Picture &finalImage)
{
    if (finalImage.isNull())
        return {};
    const QRect r = cropPixelRect(QRectF(x, y, width, height), finalImage.bitmap().size());
    if (r.isEmpty())
        return {};
    return Picture(finalImage.bitmap().copy(r));
}

Picture addImage(const Picture &first, const Picture &second)
{
    if (first.isNull())
        return {};
    ImageSurface surface(first.size());
    surface.drawPicture(first, QPointF(0, 0));
    surface.drawPicture(second, QPointF(0, 0));
    return surface.image();
}

} // namespace vimora
