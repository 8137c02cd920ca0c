#pragma once

// The two-step adjust panel of the effect flows. Step one arranges the pieces (panel 200 on
// the piece: Scale and Rotation of every piece; panel 300 on the whole photo: Scale of the
// whole, Shadow, Shattering); step two works on the flattened picture (panel 666 or 777:
// colour sliders, styles or Distortion and Rotation, Blur, Sharpen+). The panel only builds
// its controls; the editor runs what they fire.

#include <functional>
#include <memory>
#include <optional>

#include "ui/control.h"
#include "ui/image_view.h"
#include "ui/pan_recognizer.h"

namespace vimora {

struct ScreenViews;

/// Panel ids: the tag of the control that opened the panel.
inline constexpr int kPieceStepOnePanel = 200;
inline constexpr int kWholePhotoStepOnePanel = 300;
inline constexpr int kPieceStepTwoPanel = 666;
inline constexpr int kWholePhotoStepTwoPanel = 777;

// The controls' tags; the dispatchers select their operation by them.
inline constexpr int kBlurTag = 5;
inline constexpr int kHueTag = 6;
inline constexpr int kExposureTag = 7;
inline constexpr int kSaturationTag = 8;
inline constexpr int kSharpenTag = 10;
inline constexpr int kAlphaTag = 12;
inline constexpr int kStyle1Tag = 21;
inline constexpr int kStyle2Tag = 22;
inline constexpr int kStyle3Tag = 23;
inline constexpr int kStyle4Tag = 24;
inline constexpr int kPieceScaleTag = 30;
inline constexpr int kPieceRotationTag = 31;
inline constexpr int kFlatRotationTag = 32;
inline constexpr int kWholeScaleTag = 33;
inline constexpr int kDistortionTag = 34;
inline constexpr int kShadowSwitchTag = 0;
inline constexpr int kShatteringSwitchTag = 101;

/// What the panel's controls do; the editor supplies them.
struct AdjustPanelActions
{
    std::function<void(ui::Control &)> filterSelect;
    std::function<void(ui::Control &)> imageEffect;
    std::function<void(ui::Control &)> switchChanged;
    /// "Next": flatten and open step two.
    std::function<void()> next;
    /// "<-Prev": back to the step-one panel of that id.
    std::function<void(int stepOnePanel)> previous;
    /// "Done".
    std::function<void()> done;
    /// The tablet's drag handle moved.
    std::function<void(ui::PanRecognizer &)> moveHandle;
    /// Where the work being adjusted (the piece or the whole photo) lies, in the main view:
    /// the panel opens clear of it.
    std::function<QRectF()> workFrame;
};

class AdjustPanel
{
public:
    /// The panel is the screen's descripImg.
    AdjustPanel(ScreenViews &views, AdjustPanelActions actions);
    ~AdjustPanel();

    /// Builds and shows the panel for the opener's tag (200, 300, 666 or 777).
    void guideToScale(int senderTag);
    /// Hides the panel and removes the drag handle; a panel built in the same view since is
    /// left alone.
    void hide();
    void removeHandle();
    /// The step-one and step-two panels are rebuilt for the new orientation.
    void relayout();

    /// Id of the panel on screen (its opener's tag), 0 before any.
    int panelId() const { return m_panelId; }
    bool isShown() const;
    /// The panel's control with that tag (the Shadow switch is tag 0), or nullptr.
    ui::Control *control(int tag) const;
    /// The value of the slider with that tag, or its initial value when absent.
    double sliderValue(int tag) const;
    ui::ImageView *handle() const { return m_handle.get(); }

private:
    void place();

    ScreenViews &m_views;
    AdjustPanelActions m_actions;
    int m_panelId = 0;
    std::shared_ptr<ui::ImageView> m_handle;
    /// A control of the panel as last built: the shared panel view may since hold another panel.
    std::weak_ptr<ui::View> m_builtControl;
    /// Tablet: where the user last dragged the panel (its centre).
    std::optional<QPointF> m_draggedCentre;
};

} // namespace vimora
