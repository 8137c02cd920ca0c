#include "editor/crop.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

#include "imaging/raster.h"
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

Picture holeImage(const Picture &photo, const QRectF &pixelRect)
{
    if (photo.isNull())
        return {};
    // An upright photo at one pixel per point is copied as it is: drawing it onto a fresh
    // surface gives the same pixels at the cost of a second full-size buffer, which the
    // crop's Done pays on the UI thread.
    if (photo.orientation() == Orientation::Up && photo.scale() == 1 && photo.bitmap().format() == kRasterFormat) {
        QImage bitmap = photo.bitmap().copy();
        if (bitmap.isNull())
            return {};
        QPainter painter(&bitmap);
        painter.fillRect(pixelRect.normalized().toAlignedRect(), Qt::black);
        painter.end();
        return Picture(bitmap);
    }
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
