#pragma once

// The options panel: a preview of the photo in a 16:9 or 4:3 frame, with the buttons of the
// steps that follow. Which steps it offers depends on the control that opened it.

#include <functional>
#include <memory>

#include "editor/editor_modes.h"
#include "editor/view_snapshot.h"
#include "editor/view_tags.h"
#include "screenkit/drag_follower.h"
#include "ui/control.h"
#include "ui/image_view.h"

namespace vimora {

struct ScreenViews;

/// What the panel's controls and its photo layer do; the editor supplies them.
struct OptionsPanelActions
{
    std::function<void()> ok;
    /// Cancel (offered on the piece only): the panel goes, the job as it was.
    std::function<void()> cancel;
    std::function<void(ui::Control &)> switchChanged;
    /// Pinch and tap on the photo layer.
    std::function<void(ui::View &)> attachLayerGestures;
    /// Expand and shattering.
    std::function<void()> expand;
    std::function<void()> shatter;
    /// The Gradient and Color Picker buttons.
    std::function<void()> gradient;
    std::function<void()> colorPicker;
    /// Whether the photo layer must stay put: its Expand arrows are up, placed where the frame
    /// shows its edges, and a drag would carry them out of reach.
    std::function<bool()> layerHeld;
};

class OptionsPanel
{
public:
    OptionsPanel(ScreenViews &views, OptionsPanelActions actions);

    /// Builds and shows the panel on shown (the composition as the editor shows it, or the
    /// replaced photo). senderTag is the opener's tag, or the aspect switch's when the aspect
    /// changed (the opener is then kept).
    void preView2(int senderTag, EffectMode mode, const Picture &shown);
    /// The opener preView2 would use for senderTag.
    int openerFor(int senderTag) const { return senderTag == kAspectSwitchTag ? m_openerTag : senderTag; }
    /// The backdrop picked on the preview is kept for the next time the panel opens (the panel
    /// is left for the shattering step and comes back).
    void keepBackdrop();
    /// The preview as it frames the picture, without the helpers laid on it (the feathering
    /// buttons, the expansion arrows, the cut guide), the photo layer showing layerPicture:
    /// what OK lays onto the job.
    ViewSnapshot framedSnapshot(const Picture &layerPicture) const;

    /// The preview frame and its photo layer while the panel is on screen: a tap there picks
    /// colours from the layer into the frame.
    ui::ImageView *openPreview() const;
    ui::ImageView *openPhotoLayer() const;
    /// The tag of the control that last opened the panel (kBottomOkTag or kTopOkTag).
    int openerTag() const { return m_openerTag; }
    /// The photo layer overflows the frame vertically (an upright photo under 4:3).
    bool layerOverflowsVertically() const { return m_layerOverflowsVertically; }

    /// The panel is up, its preview shown.
    bool isOpen() const;

private:
    void buildControls(EffectMode mode);

    ScreenViews &m_views;
    OptionsPanelActions m_actions;
    DragFollower m_layerDrag;
    int m_openerTag = 0;
    bool m_layerOverflowsVertically = false;
    QColor m_backdrop = Qt::black;
    std::shared_ptr<ui::ImageView> m_preview;
    std::shared_ptr<ui::ImageView> m_photoLayer;
};

} // namespace vimora
