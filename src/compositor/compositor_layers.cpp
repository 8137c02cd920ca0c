#include "compositor/compositor_layers.h"

#include <algorithm>

#include <QPainter>

namespace vimora {

namespace {
/// A laid picture takes at most this share of the compositor's view, each way.
constexpr double kLaidPictureShare = 0.5;
/// How dark the overlay (the picture's shadow) is: the share of black over its pixels.
constexpr double kShadowDarkness = 0.6;

/// The picture darkened within its own outline: shown over it, it reads as a shadow.
Picture shadowOf(const Picture &picture)
{
    if (picture.isNull())
        return picture;
    QImage out = picture.uprightBitmap().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&out);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.fillRect(out.rect(), QColor(0, 0, 0, int(255 * kShadowDarkness)));
    painter.end();
    return Picture(out);
}
} // namespace

CompositorLayers::CompositorLayers(std::shared_ptr<ui::ImageView> background, ui::ViewPtr compositorView)
    : m_background(std::move(background))
    , m_view(std::move(compositorView))
    , m_top(std::make_shared<ui::ImageView>())
    , m_secondCopy(std::make_shared<ui::ImageView>())
    , m_overlay(std::make_shared<ui::ImageView>())
{
    for (const auto &layer : {m_top, m_secondCopy, m_overlay}) {
        layer->setHidden(true);
        layer->setUserInteractionEnabled(true);
        layer->setBackgroundColor(Qt::transparent);
    }
}

void CompositorLayers::setReflection(ui::ViewPtr reflection)
{
    removeReflection();
    m_reflection = std::move(reflection);
    if (m_reflection)
        m_view->addSubview(m_reflection);
}

void CompositorLayers::removeReflection()
{
    if (m_reflection)
        m_reflection->removeFromSuperview();
    m_reflection.reset();
}

void CompositorLayers::attachToView()
{
    // Second copy behind the top picture, the overlay in front: the order the effects expect.
    for (const auto &layer : {m_secondCopy, m_top, m_overlay})
        if (layer->superview() != m_view.get())
            m_view->addSubview(layer);
}

void CompositorLayers::layTopPicture(const Picture &picture, const QRectF &shown)
{
    attachToView();
    QRectF visible = shown.intersected(m_view->bounds());
    if (visible.isEmpty())
        visible = m_view->bounds();
    const QSizeF area = visible.size();
    QSizeF size = picture.size();
    if (size.width() > 0 && size.height() > 0) {
        const double fit = std::min({1.0, area.width() * kLaidPictureShare / size.width(),
                                     area.height() * kLaidPictureShare / size.height()});
        size = QSizeF(std::max(1.0, size.width() * fit), std::max(1.0, size.height() * fit));
    }
    const QPointF centre = visible.center();
    for (const auto &layer : {m_top, m_secondCopy, m_overlay}) {
        layer->setTransform({});
        layer->setBounds(QRectF(QPointF(0, 0), size));
        layer->setCenter(centre);
        layer->setImage(picture);
        layer->setAlpha(1.0);
    }
    // The overlay is the picture's shadow: the same picture over it would show nothing.
    m_overlay->setImage(shadowOf(picture));
    m_top->setHidden(false);
    m_secondCopy->setHidden(true);
    m_overlay->setHidden(true);
    m_view->bringSubviewToFront(m_top.get());
}

void CompositorLayers::clearPictureLayers()
{
    removeReflection();
    for (const auto &layer : {m_top, m_secondCopy, m_overlay}) {
        layer->setImage({});
        layer->setHidden(true);
        layer->setTransform({});
        layer->setAlpha(1.0);
    }
}

CompositorLayers::Layout CompositorLayers::layout() const
{
    Layout out;
    for (ui::View *v : {static_cast<ui::View *>(m_top.get()), static_cast<ui::View *>(m_secondCopy.get()),
                        static_cast<ui::View *>(m_overlay.get()), m_reflection.get()}) {
        if (!v)
            continue;
        const int index = v->superview() ? v->superview()->indexOfSubview(v) : -1;
        out.push_back({v, v->center(), v->bounds(), v->transform(), v->alpha(), v->isHidden(), index});
    }
    return out;
}

void CompositorLayers::restore(const Layout &layout)
{
    // A reflection made after the remembered layout goes; one that was removed stays gone.
    const bool reflectionKnown = std::any_of(layout.begin(), layout.end(),
                                             [this](const Placement &p) { return p.view == m_reflection.get(); });
    if (m_reflection && !reflectionKnown)
        removeReflection();
    std::vector<Placement> ordered;
    for (const Placement &p : layout) {
        if (p.view != m_top.get() && p.view != m_secondCopy.get() && p.view != m_overlay.get()
            && p.view != m_reflection.get())
            continue;
        p.view->setTransform({});
        p.view->setBounds(p.bounds);
        p.view->setCenter(p.center);
        p.view->setTransform(p.transform);
        p.view->setAlpha(p.alpha);
        p.view->setHidden(p.hidden);
        if (p.index >= 0 && p.view->superview() == m_view.get())
            ordered.push_back(p);
    }
    std::sort(ordered.begin(), ordered.end(), [](const Placement &a, const Placement &b) { return a.index < b.index; });
    for (const Placement &p : ordered)
        m_view->bringSubviewToFront(p.view);
}

} // namespace vimora
