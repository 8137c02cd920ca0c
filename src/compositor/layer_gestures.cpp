#include "compositor/layer_gestures.h"

#include <memory>

namespace vimora {

LayerGestures::LayerGestures(const ui::View *reference)
    : m_drag(reference)
{
}

void LayerGestures::attachTo(ui::View &layer)
{
    layer.addGestureRecognizer(oneFingerPan([this](ui::PanRecognizer &p) { handleMove(p); }));
    layer.addGestureRecognizer(std::make_shared<ui::PinchRecognizer>([this](ui::PinchRecognizer &p) { handleScale(p); }));
    layer.addGestureRecognizer(std::make_shared<ui::TapRecognizer>([this](ui::TapRecognizer &t) { handleSingleTap(t); }));
}

void LayerGestures::handleMove(ui::PanRecognizer &pan)
{
    m_drag.follow(pan);
}

void LayerGestures::handleScale(ui::PinchRecognizer &pinch)
{
    const std::optional<double> factor = m_pinch.step(pinch);
    if (factor && pinch.view())
        PinchScaler::scaleView(*pinch.view(), *factor);
}

void LayerGestures::handleSingleTap(ui::TapRecognizer &tap)
{
    ui::View *view = tap.view();
    if (!view)
        return;
    if (m_beforeHiding)
        m_beforeHiding();
    view->setAlpha(0);
}

void LayerGestures::handleMove6(ui::PanRecognizer &pan, ui::View &panel)
{
    m_drag.followWithPanel(pan, panel);
}

} // namespace vimora
