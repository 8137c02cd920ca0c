// Painting of the view tree: per view, back to front, shadow, background, content,
// subviews, overlay, border; alpha as group opacity; transitions in flight.

#include <algorithm>
#include <cmath>

#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include "imaging/picture.h"
#include "imaging/raster.h"
#include "ui/host.h"
#include "ui/shadow_blur.h"
#include "ui/transaction.h"
#include "ui/transition.h"
#include "ui/view.h"

namespace vimora::ui {

// The blurred shadow of a shadow path, drawn in device pixels and kept while the path, the
// look and the linear part of the device transform stay the same: moving a view (or its
// ancestors) only moves the cached image; turning or scaling it makes a new one.
struct ShadowCache
{
    QPainterPath path;
    QTransform linear; // device transform without its translation
    double sigma = 0;
    QPointF offset;
    QColor color;
    QImage image;
    QPointF topLeft; // of the image, in device pixels relative to the view's local origin
};

namespace {

// Points are blurred this far out (three standard deviations hold 99.7 % of the blur).
constexpr double kShadowReach = 3;

QPainterPath boundsPath(const QRectF &bounds, double radius)
{
    QPainterPath path;
    if (radius > 0)
        path.addRoundedRect(bounds, radius, radius);
    else
        path.addRect(bounds);
    return path;
}

// Scale from local points to device pixels under the painter's current transform.
double deviceScale(const QPainter &painter)
{
    const QTransform t = painter.deviceTransform();
    return std::sqrt(std::max(1e-12, std::abs(t.determinant())));
}

// The painter's device as a pixel rectangle.
QRectF deviceRect(const QPainter &painter)
{
    const QPaintDevice *device = painter.device();
    const double dpr = device->devicePixelRatioF();
    return QRectF(0, 0, device->width() * dpr, device->height() * dpr);
}

// The visible device rectangle: the device, narrowed by the clip when there is one.
QRectF visibleDeviceRect(const QPainter &painter)
{
    QRectF rect = deviceRect(painter);
    if (painter.hasClipping())
        rect &= painter.deviceTransform().mapRect(painter.clipBoundingRect());
    return rect;
}

} // namespace

// Friend of View: walks the tree with access to its state.
class ViewPainter
{
public:
    static void drawLayer(const View &v, QPainter &p, bool presentation, bool withShadow = true);
    static void drawChild(const View &child, QPainter &p, bool presentation);
    static QImage snapshot(const View &v, double scale);

private:
    static bool needsGroup(const View &v);
    static void drawGroup(const View &v, QPainter &p, double alpha, bool presentation);
    static void drawShadow(const View &v, QPainter &p, bool presentation);
    static void drawBorder(const View &v, QPainter &p, const QRectF &bounds);
};

bool ViewPainter::needsGroup(const View &v)
{
    // A group is only needed where drawn parts may overlap: more than one of background,
    // content, border, shadow, or any visible subview.
    int parts = 0;
    parts += v.m_backgroundColor.alpha() > 0;
    parts += v.drawsContent();
    parts += v.m_borderWidth > 0 && v.m_borderColor.alpha() > 0;
    parts += v.m_shadowOpacity > 0 && !v.m_clipsToBounds;
    if (parts > 1)
        return true;
    return std::any_of(v.m_subviews.begin(), v.m_subviews.end(), [](const ViewPtr &c) { return !c->m_hidden; });
}

void ViewPainter::drawChild(const View &child, QPainter &p, bool presentation)
{
    const bool transition = presentation && child.m_transition;
    if (!transition && (child.m_hidden || child.m_alpha <= 0))
        return;
    p.save();
    p.setWorldTransform(child.toSuperview(), true);
    if (transition) {
        const TransitionState &t = *child.m_transition;
        const QImage &after = t.started ? t.after : t.before;
        Transition::drawFrame(p, t.transition.type, t.transition.subtype, t.before, after, t.rect,
                              t.progress(Clock::current().now()));
    } else if (child.m_alpha < 1) {
        if (needsGroup(child)) {
            drawGroup(child, p, child.m_alpha, presentation);
        } else {
            p.setOpacity(p.opacity() * child.m_alpha);
            drawLayer(child, p, presentation);
        }
    } else {
        drawLayer(child, p, presentation);
    }
    p.restore();
}

void ViewPainter::drawGroup(const View &v, QPainter &p, double alpha, bool presentation)
{
    // Draw the subtree alone into device pixels, then composite it once at alpha.
    const QTransform device = p.deviceTransform();
    const QRect area = (device.mapRect(v.drawingBounds()) & visibleDeviceRect(p)).toAlignedRect();
    if (area.isEmpty())
        return;
    QImage layer = makeRaster(area.size());
    if (layer.isNull())
        return;
    {
        QPainter lp(&layer);
        lp.setRenderHints(p.renderHints());
        lp.setTransform(device * QTransform::fromTranslate(-area.x(), -area.y()));
        drawLayer(v, lp, presentation);
    }
    const double dpr = p.device()->devicePixelRatioF();
    p.save();
    p.setWorldTransform(QTransform::fromScale(1 / dpr, 1 / dpr));
    p.setOpacity(p.opacity() * alpha);
    p.drawImage(area.topLeft(), layer);
    p.restore();
}

void ViewPainter::drawShadow(const View &v, QPainter &p, bool presentation)
{
    const double scale = deviceScale(p);
    const double sigma = v.m_shadowRadius;
    QColor color = v.m_shadowColor;
    color.setAlphaF(color.alphaF() * v.m_shadowOpacity);
    if (color.alpha() == 0)
        return;
    const double reach = sigma * kShadowReach;

    if (!v.m_shadowPath.isEmpty()) {
        const QTransform device = p.deviceTransform();
        const QTransform linear(device.m11(), device.m12(), device.m21(), device.m22(), 0, 0);
        auto &cache = v.m_shadowCache;
        if (!cache || cache->path != v.m_shadowPath || cache->linear != linear || cache->sigma != sigma
            || cache->offset != v.m_shadowOffset || cache->color != color) {
            cache = std::make_shared<ShadowCache>();
            cache->path = v.m_shadowPath;
            cache->linear = linear;
            cache->sigma = sigma;
            cache->offset = v.m_shadowOffset;
            cache->color = color;
            const QPainterPath shape = v.m_shadowPath.translated(v.m_shadowOffset);
            const double reachPx = reach * scale;
            const QRect area = linear.mapRect(shape.boundingRect())
                                   .adjusted(-reachPx, -reachPx, reachPx, reachPx)
                                   .toAlignedRect();
            cache->topLeft = area.topLeft();
            QImage coverage = makeRaster(area.size());
            if (!coverage.isNull() && area.width() <= 8192 && area.height() <= 8192) {
                QPainter sp(&coverage);
                sp.setRenderHint(QPainter::Antialiasing);
                sp.setTransform(linear * QTransform::fromTranslate(-area.x(), -area.y()));
                sp.fillPath(shape, Qt::black);
                sp.end();
                cache->image = tintedCoverage(blurredCoverage(alphaCoverage(coverage), sigma * scale), color);
            }
        }
        if (cache->image.isNull())
            return;
        // Blitted untransformed at whole device pixels: a blurred shadow shows no half pixel.
        const QPointF at = device.map(QPointF(0, 0)) + cache->topLeft;
        const double dpr = p.device()->devicePixelRatioF();
        const QTransform world = p.worldTransform(); // cheaper than a full save and restore
        p.setWorldTransform(QTransform::fromScale(1 / dpr, 1 / dpr));
        p.drawImage(QPointF(std::round(at.x()), std::round(at.y())), cache->image);
        p.setWorldTransform(world);
        return;
    }

    // No path: the shape is the view's own drawn alpha (background, content, subviews, border).
    const QRectF local = v.drawingBounds().adjusted(-reach, -reach, reach, reach);
    const QSize size = (local.size() * scale).toSize();
    if (size.isEmpty() || size.width() > 8192 || size.height() > 8192)
        return;
    QImage shape = makeRaster(size);
    if (shape.isNull())
        return;
    {
        QPainter sp(&shape);
        sp.setRenderHints(p.renderHints());
        sp.scale(size.width() / local.width(), size.height() / local.height());
        sp.translate(-local.topLeft());
        drawLayer(v, sp, presentation, false);
    }
    p.drawImage(local.translated(v.m_shadowOffset), tintedCoverage(blurredCoverage(alphaCoverage(shape), sigma * scale), color));
}

void ViewPainter::drawBorder(const View &v, QPainter &p, const QRectF &bounds)
{
    const double w = std::min(v.m_borderWidth, std::min(bounds.width(), bounds.height()) / 2);
    if (w <= 0 || v.m_borderColor.alpha() == 0)
        return;
    // Inside the bounds: the band between the (rounded) bounds and the same inset by w.
    QPainterPath band = boundsPath(bounds, v.m_cornerRadius);
    band.addPath(boundsPath(bounds.adjusted(w, w, -w, -w), std::max(0.0, v.m_cornerRadius - w)));
    band.setFillRule(Qt::OddEvenFill);
    p.save();
    p.setRenderHint(QPainter::Antialiasing); // exact on pixel-aligned edges, smooth elsewhere
    p.fillPath(band, v.m_borderColor);
    p.restore();
}

void ViewPainter::drawLayer(const View &v, QPainter &p, bool presentation, bool withShadow)
{
    const QRectF bounds = v.m_bounds.normalized();
    if (withShadow && v.m_shadowOpacity > 0 && !v.m_clipsToBounds)
        drawShadow(v, p, presentation);
    if (v.m_backgroundColor.alpha() > 0) {
        if (v.m_cornerRadius > 0) {
            p.save();
            p.setRenderHint(QPainter::Antialiasing);
            p.fillPath(boundsPath(bounds, v.m_cornerRadius), v.m_backgroundColor);
            p.restore();
        } else {
            p.fillRect(bounds, v.m_backgroundColor);
        }
    }
    const bool clip = v.m_clipsToBounds;
    if (clip) {
        p.save();
        if (v.m_cornerRadius > 0)
            p.setClipPath(boundsPath(bounds, v.m_cornerRadius), Qt::IntersectClip);
        else
            p.setClipRect(bounds, Qt::IntersectClip);
    }
    v.drawContent(p);
    for (const ViewPtr &child : v.m_subviews)
        drawChild(*child, p, presentation);
    v.drawOverlay(p);
    if (clip)
        p.restore();
    drawBorder(v, p, bounds);
}

QImage ViewPainter::snapshot(const View &v, double scale)
{
    const QRectF bounds = v.m_bounds.normalized();
    const QSize size(std::max(1, int(std::ceil(bounds.width() * scale))), std::max(1, int(std::ceil(bounds.height() * scale))));
    QImage image = makeRaster(size);
    if (image.isNull() || v.m_hidden)
        return image.isNull() ? QImage(1, 1, QImage::Format_ARGB32_Premultiplied) : image;
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    p.scale(scale, scale);
    p.translate(-bounds.topLeft());
    if (v.m_alpha < 1 && needsGroup(v)) {
        drawGroup(v, p, v.m_alpha, true);
    } else {
        p.setOpacity(v.m_alpha);
        drawLayer(v, p, true);
    }
    return image;
}

// --- View entry points ---

void View::drawContent(QPainter &) const {}

void View::drawOverlay(QPainter &) const {}

QRectF View::drawingBounds() const
{
    QRectF rect = m_bounds.normalized();
    if (m_shadowOpacity > 0 && !m_clipsToBounds) {
        const double reach = m_shadowRadius * kShadowReach;
        const QRectF shape = m_shadowPath.isEmpty() ? rect : m_shadowPath.boundingRect();
        rect |= shape.translated(m_shadowOffset).adjusted(-reach, -reach, reach, reach);
    }
    if (m_clipsToBounds)
        return rect;
    for (const ViewPtr &child : m_subviews) {
        if (child->m_hidden && !child->m_transition)
            continue;
        rect |= child->toSuperview().mapRect(child->drawingBounds());
    }
    return rect;
}

void View::renderInContext(QPainter &painter) const
{
    ViewPainter::drawLayer(*this, painter, false);
}

void View::renderPresentation(QPainter &painter) const
{
    ViewPainter::drawLayer(*this, painter, true);
}

Picture View::renderToPicture(QSizeF size, double scale) const
{
    if (scale <= 0)
        scale = 1;
    const QImage raster = makeRaster(int(size.width() * scale), int(size.height() * scale));
    if (raster.isNull())
        return {};
    QImage image = raster;
    {
        QPainter p(&image);
        p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        p.scale(scale, scale);
        renderInContext(p);
    }
    return Picture(image, scale);
}

void View::addTransition(const Transition &transition)
{
    const Host *h = host();
    if (!h)
        h = Host::current();
    const double scale = h ? h->renderScale() : 1.0;

    auto state = std::make_unique<TransitionState>();
    state->transition = transition;
    state->duration = transition.duration > 0 ? transition.duration : Transaction::animationDuration();
    state->rect = m_bounds.normalized();
    state->before = ViewPainter::snapshot(*this, scale);
    TransitionState *raw = state.get();
    m_transition = std::move(state);
    setNeedsDisplay();

    // "After" is the tree once the code making the change has returned.
    std::weak_ptr<View> weak = weak_from_this();
    Clock::current().post([weak, raw, scale]() {
        ViewPtr self = weak.lock();
        if (!self || self->m_transition.get() != raw)
            return;
        raw->rect = self->m_bounds.normalized();
        raw->after = ViewPainter::snapshot(*self, scale);
        raw->start = Clock::current().now();
        raw->started = true;
        raw->end.start(raw->duration, [weak, raw]() {
            ViewPtr view = weak.lock();
            if (view && view->m_transition.get() == raw)
                view->removeAllTransitions();
        });
        self->setNeedsDisplay();
    });
}

} // namespace vimora::ui
