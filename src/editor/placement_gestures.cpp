#include "editor/placement_gestures.h"

#include <algorithm>

#include "editor/view_tags.h"

namespace vimora {

namespace {
bool isPieceViewTag(int tag)
{
    return tag >= kFirstPieceViewTag && tag <= kLastPieceViewTag;
}

/// Moves view so that part of it stays inside its superview (see kKeptInside).
void keepReachable(ui::View &view)
{
    const ui::View *parent = view.superview();
    if (!parent)
        return;
    const QSizeF area = parent->bounds().size();
    const QRectF frame = view.frame();
    const double keepX = std::min(PlacementGestures::kKeptInside, frame.width() / 4);
    const double keepY = std::min(PlacementGestures::kKeptInside, frame.height() / 4);
    const QPointF c = view.center();
    const double halfW = frame.width() / 2, halfH = frame.height() / 2;
    // The frame's centre may differ from the view's centre only by a transform's translation.
    const QPointF shift = frame.center() - c;
    const double x = std::clamp(frame.center().x(), keepX - halfW, std::max(keepX - halfW, area.width() - keepX + halfW));
    const double y = std::clamp(frame.center().y(), keepY - halfH, std::max(keepY - halfH, area.height() - keepY + halfH));
    view.setCenter(QPointF(x, y) - shift);
}

/// The pinch step f limited so the view keeps a usable size; it never undoes a step that
/// moves back towards the allowed sizes.
double limitedStep(const ui::View &view, double f)
{
    const QSizeF size = view.frame().size();
    const double shorter = std::min(size.width(), size.height());
    if (f < 1 && shorter > 0)
        return std::max(f, std::min(1.0, PlacementGestures::kMinPinchedSide / shorter));
    const ui::View *parent = view.superview();
    if (f > 1 && parent && size.width() > 0 && size.height() > 0) {
        const QSizeF area = parent->bounds().size() * PlacementGestures::kMaxScaleOfSuperview;
        return std::min(f, std::max(1.0, std::min(area.width() / size.width(), area.height() / size.height())));
    }
    return f;
}
} // namespace

PlacementGestures::PlacementGestures(const ui::View *reference, ui::View &optionsPanel, ui::View &adjustPanel,
                                     std::function<ColourPickTarget()> pickTarget)
    : m_drag(reference)
    , m_optionsPanel(optionsPanel)
    , m_adjustPanel(adjustPanel)
    , m_pickTarget(std::move(pickTarget))
{
}

void PlacementGestures::attachTo(ui::View &view, std::function<void()> moved)
{
    view.addGestureRecognizer(oneFingerPan([this, moved = std::move(moved)](ui::PanRecognizer &p) {
        if (moved && p.state() == ui::GestureRecognizer::State::Began)
            moved();
        handleMove(p);
    }));
    view.addGestureRecognizer(std::make_shared<ui::PinchRecognizer>([this](ui::PinchRecognizer &p) { handleScale(p); }));
    view.addGestureRecognizer(std::make_shared<ui::TapRecognizer>([this](ui::TapRecognizer &t) { handleSingleTap(t); }));
}

void PlacementGestures::handleMove(ui::PanRecognizer &pan)
{
    if (pan.view())
        m_optionsPanel.setHidden(true);
    if (m_drag.follow(pan))
        keepReachable(*pan.view());
    const auto state = pan.state();
    if (m_onPlaced && (state == ui::GestureRecognizer::State::Ended || state == ui::GestureRecognizer::State::Cancelled))
        m_onPlaced();
}

void PlacementGestures::handleMove6(ui::PanRecognizer &pan)
{
    m_drag.followWithPanel(pan, m_adjustPanel);
}

void PlacementGestures::handleScale(ui::PinchRecognizer &pinch)
{
    ui::View *view = pinch.view();
    if (!view)
        return;
    if (ui::View *parent = view->superview())
        parent->bringSubviewToFront(view);
    const std::optional<double> step = m_pinch.step(pinch);
    if (!step) {
        if (m_onPlaced)
            m_onPlaced();
        return;
    }
    PinchScaler::scaleView(*view, limitedStep(*view, *step));
    keepReachable(*view);
    // A pinch inside the options panel keeps the panel it works in.
    if (!view->isDescendantOf(&m_optionsPanel))
        m_optionsPanel.setHidden(true);
}

void PlacementGestures::handleSingleTap(ui::TapRecognizer &tap)
{
    if (!tap.view())
        return;
    const ColourPickTarget target = m_pickTarget ? m_pickTarget() : ColourPickTarget{};
    if (m_tapMode == TapMode::CutGuideHidden || m_tapMode == TapMode::CutGuideShown)
        toggleCutGuide(target.backdrop, target.layer);

    if (!target.layer || !target.backdrop)
        return;
    const ui::ImageView &layer = *target.layer;
    const Picture &image = layer.image();
    const QSizeF size = layer.bounds().size();
    if (image.isNull() || size.width() <= 0 || size.height() <= 0)
        return;
    const QPointF at = tap.locationInView(&layer);
    const QPointF pixel(at.x() * image.pixelWidth() / size.width(), at.y() * image.pixelHeight() / size.height());
    if (const auto colour = m_colours.getPixelColorAtLocation(pixel, image))
        target.backdrop->setBackgroundColor(colour->toQColor());
}

void PlacementGestures::toggleCutGuide(ui::ImageView *backdrop, ui::ImageView *layer)
{
    const bool show = m_tapMode == TapMode::CutGuideHidden;
    m_tapMode = show ? TapMode::CutGuideShown : TapMode::CutGuideHidden;
    if (!backdrop)
        return;
    // The guide only means something once the expansion or shattering laid pieces.
    const auto subviews = backdrop->subviews();
    if (std::none_of(subviews.begin(), subviews.end(), [](const ui::ViewPtr &v) { return isPieceViewTag(v->tag()); }))
        return;
    const auto guide
        = std::find_if(subviews.begin(), subviews.end(), [](const ui::ViewPtr &v) { return v->tag() == kCutGuideTag; });
    if (guide != subviews.end()) {
        (*guide)->setAlpha(show ? 1.0 : 0.0);
        if (show)
            backdrop->bringSubviewToFront(guide->get());
    }
    if (show && layer && layer->superview() == backdrop)
        backdrop->bringSubviewToFront(layer);
}

} // namespace vimora
