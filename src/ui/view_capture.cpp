#include "ui/view_capture.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

namespace vimora::ui {

Picture renderRegion(const View &root, const QRectF &region, double sx, double sy)
{
    if (region.isEmpty())
        return {};
    const QSize size(std::max(1, int(std::lround(region.width() * sx))),
                     std::max(1, int(std::lround(region.height() * sy))));
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull())
        return {};
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(sx, sy);
        painter.translate(-region.topLeft());
        root.renderInContext(painter);
    }
    return Picture(canvas);
}

} // namespace vimora::ui
