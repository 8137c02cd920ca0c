#include "text/text_layer_set.h"

#include <algorithm>
#include <cmath>

#include "ui/affine_transform.h"

namespace vimora::text {

TextLayerSet::TextLayerSet(ui::View &pictureView)
    : m_pictureView(pictureView)
{
}

bool TextLayerView::pointInside(QPointF p) const
{
    if (!ui::ImageView::pointInside(p))
        return false;
    const QImage &pixels = image().bitmap();
    const QRectF b = bounds();
    if (pixels.isNull() || b.width() == 0 || b.height() == 0)
        return true;
    if (m_inkKey != pixels.cacheKey()) {
        m_inkKey = pixels.cacheKey();
        int left = pixels.width(), right = -1, top = pixels.height(), bottom = -1;
        for (int y = 0; y < pixels.height(); ++y)
            for (int x = 0; x < pixels.width(); ++x)
                if (qAlpha(pixels.pixel(x, y)) > 0) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        m_ink = right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
    }
    if (m_ink.isNull())
        return false;
    // The picture fills the bounds (mirrored when stretched through itself).
    const double sx = b.width() / pixels.width(), sy = b.height() / pixels.height();
    const QRectF ink = QRectF(b.x() + m_ink.left() * sx, b.y() + m_ink.top() * sy, (m_ink.width()) * sx, m_ink.height() * sy)
                           .normalized()
                           .adjusted(-kGrabReach, -kGrabReach, kGrabReach, kGrabReach);
    return ink.contains(p);
}

std::shared_ptr<ui::ImageView> TextLayerSet::makeLayer(const Picture &picture)
{
    auto layer = std::make_shared<TextLayerView>();
    layer->setBackgroundColor(Qt::transparent);
    layer->setUserInteractionEnabled(true);
    layer->setContentMode(ui::ContentMode::ScaleToFill);
    layer->setImage(picture);
    adopt(*layer);
    m_originals[layer->tag()] = picture;
    return layer;
}

void TextLayerSet::adopt(ui::ImageView &view)
{
    view.setTag(m_nextTag++);
    m_originals[view.tag()] = view.image();
    select(view);
}

ui::ImageView *TextLayerSet::tView() const
{
    return dynamic_cast<ui::ImageView *>(m_selected.lock().get());
}

void TextLayerSet::select(ui::ImageView &layer)
{
    m_detectTag = layer.tag();
    m_selected = layer.sharedFromThis();
}

template <typename F> void TextLayerSet::forSelected(F f) const
{
    // Tags are unique, but a word-art picture may sit one level down in a group.
    for (const ui::ViewPtr &sub : m_pictureView.subviews())
        if (ui::View *view = sub->viewWithTag(m_detectTag))
            f(*view);
}

void TextLayerSet::wordSize(bool grow)
{
    const double f = grow ? kGrow : kShrink;
    forSelected([f](ui::View &view) { view.setTransform(ui::scaled(view.transform(), f, f)); });
}

void TextLayerSet::adjustTransparent(double alpha)
{
    // alpha 0 would make the layer untouchable (hit testing skips transparent
    // views), and then it could never be selected again: keep the faintest alpha
    // that still takes taps.
    const double kept = std::max(alpha, kMinTappableAlpha);
    forSelected([kept](ui::View &view) { view.setAlpha(kept); });
}

Picture TextLayerSet::original(int tag) const
{
    const auto it = m_originals.find(tag);
    return it == m_originals.end() ? Picture() : it->second;
}

void TextLayerSet::setOriginal(int tag, const Picture &picture)
{
    m_originals[tag] = picture;
}

std::vector<ui::ImageView *> TextLayerSet::layers() const
{
    std::vector<ui::ImageView *> result;
    for (const ui::ViewPtr &sub : m_pictureView.subviews())
        if (sub->tag() >= kFirstLayerTag)
            if (auto *image = dynamic_cast<ui::ImageView *>(sub.get()))
                result.push_back(image);
    return result;
}

} // namespace vimora::text
