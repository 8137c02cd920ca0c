#include "ui/stretchable_image.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

#include "ui/picture_drawing.h"

namespace vimora::ui {

StretchableImage StretchableImage::resizable(const Picture &picture, const EdgeInsets &capInsets, ResizingMode mode)
{
    StretchableImage image(picture);
    image.m_resizable = true;
    image.m_capInsets = capInsets;
    image.m_mode = mode;
    return image;
}

StretchableImage StretchableImage::stretchable(const Picture &picture, double leftCapWidth, double topCapHeight)
{
    StretchableImage image(picture);
    if (picture.isNull())
        return image;
    const QSizeF size = picture.size();
    const double pixel = 1.0 / picture.scale();
    EdgeInsets insets;
    if (leftCapWidth > 0) {
        insets.left = leftCapWidth;
        insets.right = std::max(0.0, size.width() - leftCapWidth - pixel);
    }
    if (topCapHeight > 0) {
        insets.top = topCapHeight;
        insets.bottom = std::max(0.0, size.height() - topCapHeight - pixel);
    }
    image.m_resizable = true;
    image.m_capInsets = insets;
    image.m_mode = ResizingMode::Stretch;
    return image;
}

void StretchableImage::draw(QPainter &painter, const QRectF &rect) const
{
    drawPicture(painter, rect, m_picture);
}

namespace {

// One slice: source in the bitmap's pixels, target in points. Tiling repeats the source at
// its natural size from the target's top-left, the last tile clipped.
void drawSlice(QPainter &painter, const QImage &bitmap, const QRectF &source, const QRectF &target, double scale,
               bool tileX, bool tileY)
{
    if (source.width() <= 0 || source.height() <= 0 || target.width() <= 0 || target.height() <= 0)
        return;
    if (!tileX && !tileY) {
        painter.drawImage(target, bitmap, source);
        return;
    }
    const double tileW = tileX ? source.width() / scale : target.width();
    const double tileH = tileY ? source.height() / scale : target.height();
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    for (double y = target.top(); y < target.bottom() - 1e-9; y += tileH)
        for (double x = target.left(); x < target.right() - 1e-9; x += tileW)
            painter.drawImage(QRectF(x, y, tileW, tileH), bitmap, source);
    painter.restore();
}

} // namespace

void StretchableImage::drawPicture(QPainter &painter, const QRectF &rect, const Picture &picture) const
{
    if (picture.isNull() || rect.isEmpty())
        return;
    if (!m_resizable) {
        PictureDrawCache cache; // plain pictures on controls are small; no cache to keep
        cache.draw(painter, picture, rect);
        return;
    }
    const QImage bitmap = uprightImage(picture);
    const double scale = picture.scale();
    const QSizeF natural = picture.size();
    EdgeInsets caps = m_capInsets;
    // Caps never exceed the picture itself.
    caps.left = std::clamp(caps.left, 0.0, natural.width());
    caps.right = std::clamp(caps.right, 0.0, natural.width() - caps.left);
    caps.top = std::clamp(caps.top, 0.0, natural.height());
    caps.bottom = std::clamp(caps.bottom, 0.0, natural.height() - caps.top);

    // Destination caps, shrunk in proportion when the rectangle is smaller than them.
    double dl = caps.left, dr = caps.right, dt = caps.top, db = caps.bottom;
    if (dl + dr > rect.width() && dl + dr > 0) {
        dl = rect.width() * caps.left / (caps.left + caps.right);
        dr = rect.width() - dl;
    }
    if (dt + db > rect.height() && dt + db > 0) {
        dt = rect.height() * caps.top / (caps.top + caps.bottom);
        db = rect.height() - dt;
    }
    const double xs[4] = {rect.left(), rect.left() + dl, rect.right() - dr, rect.right()};
    const double ys[4] = {rect.top(), rect.top() + dt, rect.bottom() - db, rect.bottom()};
    const double W = bitmap.width(), H = bitmap.height();
    const double sxs[4] = {0, caps.left * scale, W - caps.right * scale, W};
    const double sys[4] = {0, caps.top * scale, H - caps.bottom * scale, H};
    // A middle band one pixel thick (or less) always stretches.
    const bool tileX = m_mode == ResizingMode::Tile && sxs[2] - sxs[1] > 1.0 + 1e-9;
    const bool tileY = m_mode == ResizingMode::Tile && sys[2] - sys[1] > 1.0 + 1e-9;

    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // Antialiased slice edges would each cover a shared boundary pixel partly and leave a
    // faint seam; unantialiased edges meet exactly.
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            const QRectF source(sxs[col], sys[row], sxs[col + 1] - sxs[col], sys[row + 1] - sys[row]);
            const QRectF target(xs[col], ys[row], xs[col + 1] - xs[col], ys[row + 1] - ys[row]);
            drawSlice(painter, bitmap, source, target, scale, col == 1 && tileX, row == 1 && tileY);
        }
    painter.restore();
}

} // namespace vimora::ui
