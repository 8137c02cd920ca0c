#include "compositor/layer_gestures.h"

#include <memory>

#include "editor/editor_layout.h"
#include "ui/affine_transform.h"

namespace vimora {

LayerGestures::LayerGestures(const ui::View *reference)
    : m_reference(reference)
{
}

void LayerGestures::attachTo(ui::View &layer)
{
    auto pan = std::make_shared<ui::PanRecognizer>([this](ui::PanRecognizer &p) { handleMove(p); });
    pan->setMinimumNumberOfTouches(1);
    pan->setMaximumNumberOfTouches(1);
    layer.addGestureRecognizer(pan);
    layer.addGestureRecognizer(std::make_shared<ui::PinchRecognizer>([this](ui::PinchRecognizer &p) { handleScale(p); }));
    layer.addGestureRecognizer(std::make_shared<ui::TapRecognizer>([this](ui::TapRecognizer &t) { handleSingleTap(t); }));
}

QPointF LayerGestures::centreFor(ui::PanRecognizer &pan)
{
    if (pan.state() == ui::GestureRecognizer::State::Began && pan.view())
        m_first = pan.view()->center();
    return m_first + pan.translationInView(m_reference);
}

void LayerGestures::handleMove(ui::PanRecognizer &pan)
{
    if (ui::View *view = pan.view())
        view->setCenter(centreFor(pan));
}

void LayerGestures::handleScale(ui::PinchRecognizer &pinch)
{
    ui::View *view = pinch.view();
    const auto state = pinch.state();
    if (state == ui::GestureRecognizer::State::Ended || state == ui::GestureRecognizer::State::Cancelled
        || state == ui::GestureRecognizer::State::Failed) {
        m_lastScale = 1.0;
        return;
    }
    if (!view)
        return;
    const double f = pinchStepFactor(m_lastScale, pinch.scale());
    // A step that would collapse or mirror the layer is left out; the pinch goes on from it.
    if (f > 0)
        view->setTransform(ui::scaled(view->transform(), f, f));
    m_lastScale = pinch.scale();
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
    ui::View *handle = pan.view();
    if (!handle)
        return;
    const QPointF p = centreFor(pan);
    handle->setCenter(p);
    panel.setCenter(panelCentreForHandle(p, panel.bounds().size()));
}

} // namespace vimora
