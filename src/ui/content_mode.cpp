#include "ui/content_mode.h"

#include <algorithm>

namespace vimora::ui {

QRectF contentRect(ContentMode mode, const QRectF &bounds, QSizeF contentSize)
{
    const double bx = bounds.x(), by = bounds.y(), W = bounds.width(), H = bounds.height();
    const double w = contentSize.width(), h = contentSize.height();
    if (w <= 0 || h <= 0)
        return QRectF(bx, by, 0, 0);

    auto centred = [&](double s) { return QRectF(bx + (W - w * s) / 2, by + (H - h * s) / 2, w * s, h * s); };
    switch (mode) {
    case ContentMode::ScaleToFill:
    case ContentMode::Redraw:
        return bounds;
    case ContentMode::ScaleAspectFit:
        return centred(std::min(W / w, H / h));
    case ContentMode::ScaleAspectFill:
        return centred(std::max(W / w, H / h));
    case ContentMode::Center:
        return centred(1);
    case ContentMode::Top:
        return QRectF(bx + (W - w) / 2, by, w, h);
    case ContentMode::Bottom:
        return QRectF(bx + (W - w) / 2, by + H - h, w, h);
    case ContentMode::Left:
        return QRectF(bx, by + (H - h) / 2, w, h);
    case ContentMode::Right:
        return QRectF(bx + W - w, by + (H - h) / 2, w, h);
    case ContentMode::TopLeft:
        return QRectF(bx, by, w, h);
    case ContentMode::TopRight:
        return QRectF(bx + W - w, by, w, h);
    case ContentMode::BottomLeft:
        return QRectF(bx, by + H - h, w, h);
    case ContentMode::BottomRight:
        return QRectF(bx + W - w, by + H - h, w, h);
    }
    return bounds;
}

} // namespace vimora::ui
