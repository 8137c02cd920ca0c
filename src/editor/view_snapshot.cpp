#include "editor/view_snapshot.h"

#include <QPainter>

#include "ui/image_view.h"
#include "ui/shadow_blur.h"
#include "ui/view.h"

namespace vimora {

namespace {
/// The toolkit's shadow: radius 3, blurred out to three radii.
constexpr double kShadowRadius = 3;
constexpr double kShadowReach = 3 * kShadowRadius;

/// A blurred rectangle of size with its reach around it, in device pixels.
QImage rectangleShadow(QSizeF size, double opacity)
{
    const QSize area = QSizeF(size.width() + 2 * kShadowReach, size.height() + 2 * kShadowReach).toSize();
    QImage coverage(area, QImage::Format_Alpha8);
    if (coverage.isNull())
        return {};
    coverage.fill(0);
    {
        QPainter painter(&coverage);
        painter.fillRect(QRectF(QPointF(kShadowReach, kShadowReach), size), Qt::black);
    }
    QColor colour(Qt::black);
    colour.setAlphaF(opacity);
    return ui::tintedCoverage(ui::blurredCoverage(coverage, kShadowRadius), colour);
}

/// Shadows of equal pieces are equal: one blur serves them all.
struct ShadowMemo
{
    QSizeF size;
    double opacity = -1;
    QImage image;
    const QImage &get(QSizeF s, double o)
    {
        if (s != size || o != opacity) {
            image = rectangleShadow(s, o);
            size = s;
            opacity = o;
        }
        return image;
    }
};

void drawContent(QPainter &painter, const ViewSnapshot &view, ShadowMemo &shadows);

/// The view in its superview's coordinates (the painter's).
void drawInSuperview(QPainter &painter, const ViewSnapshot &view, ShadowMemo &shadows)
{
    painter.save();
    painter.setTransform(QTransform::fromTranslate(-view.size.width() / 2, -view.size.height() / 2)
                             * view.transform.toQTransform() * QTransform::fromTranslate(view.center.x(), view.center.y())
                         * view.placement * painter.transform());
    painter.setOpacity(painter.opacity() * view.alpha);
    if (view.shadowOpacity > 0 && !view.clips)
        painter.drawImage(view.shadowOffset - QPointF(kShadowReach, kShadowReach), shadows.get(view.size, view.shadowOpacity));
    drawContent(painter, view, shadows);
    painter.restore();
}

void drawContent(QPainter &painter, const ViewSnapshot &view, ShadowMemo &shadows)
{
    const QRectF bounds(QPointF(0, 0), view.size);
    if (view.clips)
        painter.setClipRect(bounds, Qt::IntersectClip);
    if (view.background.alpha() > 0)
        painter.fillRect(bounds, view.background);
    if (!view.image.isNull()) {
        // Unturned pictures go to whole pixels: two smoothed edges meeting at a fraction of a
        // pixel would each half cover it and leave a faint seam between neighbouring pieces.
        const QTransform t = painter.transform();
        const bool smoothEdges = painter.testRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::Antialiasing, smoothEdges && (t.m12() != 0 || t.m21() != 0));
        painter.drawImage(ui::contentRect(view.contentMode, bounds, view.image.size()), view.image.uprightBitmap());
        painter.setRenderHint(QPainter::Antialiasing, smoothEdges);
    }
    for (const ViewSnapshot &child : view.children)
        drawInSuperview(painter, child, shadows);
}
} // namespace

ViewSnapshot snapshotOf(const ui::View &view)
{
    ViewSnapshot snapshot;
    if (const auto *imageView = dynamic_cast<const ui::ImageView *>(&view))
        snapshot.image = imageView->image();
    snapshot.size = view.bounds().size();
    snapshot.center = view.center();
    snapshot.transform = view.transform();
    snapshot.alpha = view.alpha();
    snapshot.background = view.backgroundColor();
    snapshot.contentMode = view.contentMode();
    snapshot.clips = view.clipsToBounds();
    snapshot.shadowOffset = view.shadowOffset();
    snapshot.shadowOpacity = view.shadowOpacity();
    for (const ui::ViewPtr &sub : view.subviews())
        if (!sub->isHidden() && sub->alpha() > 0)
            snapshot.children.push_back(snapshotOf(*sub));
    return snapshot;
}

Picture renderSnapshot(const ViewSnapshot &view, QSize canvas, double sx, double sy)
{
    QImage image(canvas.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(sx, sy);
    ShadowMemo shadows;
    drawContent(painter, view, shadows);
    painter.end();
    return Picture(image);
}

} // namespace vimora
