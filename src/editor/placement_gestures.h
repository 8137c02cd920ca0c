#pragma once

// Placing things by hand: dragging and pinching the piece or the preview's photo layer, the
// single tap (cut-guide toggle, then the colour pick), and the adjust panel's handle.

#include <functional>

#include "editor/editor_modes.h"
#include "imaging/color_image.h"
#include "screenkit/drag_follower.h"
#include "screenkit/pinch_scaler.h"
#include "ui/image_view.h"
#include "ui/pinch_recognizer.h"
#include "ui/tap_recognizer.h"

namespace vimora {

/// Where a tap picks its colour: the layer it reads and the backdrop that takes the colour
/// (and holds the cut guide). Either may be missing.
struct ColourPickTarget
{
    ui::ImageView *layer = nullptr;
    ui::ImageView *backdrop = nullptr;
};

class PlacementGestures
{
public:
    /// reference: the view drags are measured in; optionsPanel: hidden by a drag or a pinch
    /// outside it; adjustPanel: the panel the handle carries; pickTarget: asked on each tap.
    PlacementGestures(const ui::View *reference, ui::View &optionsPanel, ui::View &adjustPanel,
                      std::function<ColourPickTarget()> pickTarget);

    /// Drag, pinch and tap on a placed view (the piece); moved runs when a drag of it begins.
    void attachTo(ui::View &view, std::function<void()> moved = {});

    /// Runs when a drag or a pinch of a placed view ends: it lies where it will stay.
    void setOnPlaced(std::function<void()> placed) { m_onPlaced = std::move(placed); }

    /// Drag of the view carrying the pan.
    void handleMove(ui::PanRecognizer &pan);
    /// The adjust panel's handle: the panel's top-right corner follows it.
    void handleMove6(ui::PanRecognizer &pan);
    /// One pinch event: the view's transform is post-multiplied by the additive step.
    void handleScale(ui::PinchRecognizer &pinch);
    void handleSingleTap(ui::TapRecognizer &tap);

    /// A placed view keeps at least this much of itself inside its superview, per axis (or a
    /// quarter of itself when that is less), so it can always be grabbed again.
    static constexpr double kKeptInside = 44;
    /// A pinch never makes a view's shorter side smaller than this, nor its frame larger than
    /// kMaxScaleOfSuperview times its superview.
    static constexpr double kMinPinchedSide = 20;
    static constexpr double kMaxScaleOfSuperview = 4;

    TapMode tapMode() const { return m_tapMode; }
    void setTapMode(TapMode mode) { m_tapMode = mode; }

private:
    void toggleCutGuide(ui::ImageView *backdrop, ui::ImageView *layer);

    DragFollower m_drag;
    ui::View &m_optionsPanel;
    ui::View &m_adjustPanel;
    std::function<ColourPickTarget()> m_pickTarget;
    std::function<void()> m_onPlaced;
    PinchScaler m_pinch;
    TapMode m_tapMode = TapMode::None;
    ColorImage m_colours;
};

} // namespace vimora
