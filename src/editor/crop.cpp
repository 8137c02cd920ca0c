#include "editor/crop.h"

#include <algorithm>
#include <cmath>

#include "imaging/surface.h"

namespace vimora {

CropCorners CropCorners::fromFrame(const QRectF &f)
{
    return {f.topLeft(), QPointF(f.x() + f.width(), f.y()), QPointF(f.x(), f.y() + f.height()),
            QPointF(f.x() + f.width(), f.y() + f.height())};
}

QRectF draggedCornerFrame(CropHandle handle, const CropCorners &c, QPointF p)
{
    switch (handle) {
    case CropHandle::TopRight:
        p = {std::max(p.x(), c.lu.x() + kMinCropSide), std::min(p.y(), c.rd.y() - kMinCropSide)};
        return {c.lu.x(), p.y(), p.x() - c.lu.x(), c.rd.y() - p.y()};
    case CropHandle::BottomRight:
        p = {std::max(p.x(), c.lu.x() + kMinCropSide), std::max(p.y(), c.lu.y() + kMinCropSide)};
        return {c.lu.x(), c.lu.y(), p.x() - c.lu.x(), p.y() - c.lu.y()};
    case CropHandle::TopLeft:
        p = {std::min(p.x(), c.rd.x() - kMinCropSide), std::min(p.y(), c.rd.y() - kMinCropSide)};
        return {p.x(), p.y(), c.rd.x() - p.x(), c.rd.y() - p.y()};
    case CropHandle::BottomLeft:
        p = {std::min(p.x(), c.ru.x() - kMinCropSide), std::max(p.y(), c.ru.y() + kMinCropSide)};
        return {p.x(), c.ru.y(), c.ru.x() - p.x(), p.y() - c.ru.y()};
    }
    return {};
}

QRectF clipCropFrame(const QRectF &frame, QSizeF view)
{
    double x = frame.x(), y = frame.y(), w = frame.width(), h = frame.height();
    const double vw = view.width(), vh = view.height();
    if (x >= vw || x + w <= 0)
        x = std::clamp(x, 0.0, std::max(0.0, vw - w));
    if (y >= vh || y + h <= 0)
        y = std::clamp(y, 0.0, std::max(0.0, vh - h));
    if (x < 0) {
        w += x;
        x = 0;
    }
    if (y < 0) {
        h += y;
        y = 0;
    }
    if (x > vw - w)
        w = vw - x;
    if (y > vh - h)
        h = vh - y;
    return {x, y, std::max(0.0, w), std::max(0.0, h)};
}

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

Picture holeImage(const Picture &photo, const QRectF &pixelRect)
{
    if (photo.isNull())
        return {};
    const QSizeF size(std::trunc(photo.size().width()), std::trunc(photo.size().height()));
    ImageSurface surface(size);
    if (!surface.isValid())
        return {};
    surface.drawPicture(photo, QRectF(QPointF(0, 0), size));
    // Outward to whole pixels, the same pixels the crop primitive takes.
    surface.fillRect(pixelRect.normalized().toAlignedRect(), Qt::black);
    return surface.image();
}

} // namespace vimora
