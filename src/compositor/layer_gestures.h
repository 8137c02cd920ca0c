#pragma once

// Moving, scaling and hiding a picture layer by hand, and the adjust panel's drag handle.
// A drag keeps the centre its view had when it began and adds the running translation.

#include <functional>

#include "screenkit/drag_follower.h"
#include "screenkit/pinch_scaler.h"
#include "ui/pan_recognizer.h"
#include "ui/pinch_recognizer.h"
#include "ui/tap_recognizer.h"
#include "ui/view.h"

namespace vimora {

class LayerGestures
{
public:
    /// reference: the view translations are measured in (the compositor's view).
    explicit LayerGestures(const ui::View *reference);

    /// A one-finger pan, a pinch and a tap on layer.
    void attachTo(ui::View &layer);

    void handleMove(ui::PanRecognizer &pan);
    void handleMove2(ui::PanRecognizer &pan) { handleMove(pan); }
    /// One pinch report: the view's transform is post-multiplied by 1 - (last - scale).
    void handleScale(ui::PinchRecognizer &pinch);
    /// Makes the tapped layer fully transparent; it keeps taking touches.
    void handleSingleTap(ui::TapRecognizer &tap);
    /// The handle follows the pan; panel's top-right corner follows the handle.
    void handleMove6(ui::PanRecognizer &pan, ui::View &panel);

    double lastScale() const { return m_pinch.lastScale(); }
    /// Runs before a tap hides a layer, so the hiding can be undone.
    void setBeforeHiding(std::function<void()> before) { m_beforeHiding = std::move(before); }

private:
    DragFollower m_drag;
    PinchScaler m_pinch;
    std::function<void()> m_beforeHiding;
};

} // namespace vimora
