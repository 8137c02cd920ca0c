#include "editor/placement_gestures.h"

#include <algorithm>

#include "editor/editor_layout.h"
#include "editor/view_tags.h"

namespace vimora {

namespace {
bool isPieceViewTag(int tag)
{
    return tag >= kFirstPieceViewTag && tag <= kLastPieceViewTag;
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

void PlacementGestures::attachTo(ui::View &view)
{
    view.addGestureRecognizer(oneFingerPan([this](ui::PanRecognizer &p) { handleMove(p); }));
    view.addGestureRecognizer(std::make_shared<ui::PinchRecognizer>([this](ui::PinchRecognizer &p) { handleScale(p); }));
    view.addGestureRecognizer(std::make_shared<ui::TapRecognizer>([this](ui::TapRecognizer &t) { handleSingleTap(t); }));
}

void PlacementGestures::handleMove(ui::PanRecognizer &pan)
{
    if (pan.view())
        m_optionsPanel.setHidden(true);
    m_drag.follow(pan);
}

void PlacementGestures::handleMove6(ui::PanRecognizer &pan)
{
    ui::View *handle = pan.view();
    if (!handle)
        return;
    const QPointF p = m_drag.centreFor(pan);
    handle->setCenter(p);
    m_adjustPanel.setCenter(panelCentreForHandle(p, m_adjustPanel.bounds().size()));
}

void PlacementGestures::handleScale(ui::PinchRecognizer &pinch)
{
    ui::View *view = pinch.view();
    if (!view)
        return;
    if (ui::View *parent = view->superview())
        parent->bringSubviewToFront(view);
    const auto state = pinch.state();
    if (state == ui::GestureRecognizer::State::Ended || state == ui::GestureRecognizer::State::Cancelled) {
        m_lastScale = 1.0;
        return;
    }
    const double s = pinch.scale();
    const double f = pinchStepFactor(m_lastScale, s);
    view->setTransform(ui::scaled(view->transform(), f, f));
    m_lastScale = s;
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
