#pragma once

// The compositor's adjust panel: two sliders and a row of effect buttons, every one calling
// the effects' dispatcher with its tag when the finger lifts; on a tablet a drag handle on
// its top-right corner carries it. It lives in the shared panel view (descripImg).

#include <functional>
#include <memory>

#include "compositor/background_effects.h"
#include "ui/button.h"
#include "ui/image_view.h"
#include "ui/label.h"
#include "ui/slider.h"

namespace vimora {

struct ScreenViews;
class LayerGestures;

class BackgroundAdjustPanel
{
public:
    /// Range and start of the sliders. The opacity slider is the picture layers' alone.
    static constexpr double kOpacityMin = 0.1, kOpacityMax = 1.0, kOpacityStart = 1.0;
    static constexpr double kContrastMin = -255, kContrastMax = 255, kContrastStart = 0;
    static constexpr double kHandleSide = 35;

    /// filterSelect: a control's tag when it fires; close: the close button.
    BackgroundAdjustPanel(ScreenViews &views, ui::View &compositorView, LayerGestures &gestures,
                std::function<void(int tag)> filterSelect, std::function<void()> close);

    /// Builds and shows the panel for mode (the opener's tag). unavailable: why the mode's
    /// effects cannot run yet; they are then shown disabled with the reason.
    void guideToScale(AdjustMode mode, const QString &unavailable = {});
    /// The reason shown while the effects are disabled (nullptr when none).
    ui::Label *reasonLabel() const { return m_reason.get(); }
    /// Hides the panel and, on a tablet, removes its handle.
    void close();
    bool isOpen() const;

    double contrast() const { return m_backPhotoSlider ? m_backPhotoSlider->value() : kContrastStart; }
    double opacity() const { return m_topPhotoSlider ? m_topPhotoSlider->value() : kOpacityStart; }
    ui::Slider *topPhotoSlider() const { return m_topPhotoSlider.get(); }
    ui::Slider *backPhotoSlider() const { return m_backPhotoSlider.get(); }
    /// The control (button or slider) of a tag, or nullptr.
    ui::View *controlWithTag(int tag) const;
    /// The effect button of a tag, or nullptr.
    ui::Button *button(int tag) const;
    ui::Button *cancelBtn3() const { return m_cancelBtn3.get(); }
    /// The tablet's drag handle while the panel is open (nullptr on a phone).
    ui::ImageView *moveImgView() const { return m_moveImgView.get(); }

private:
    std::shared_ptr<ui::Slider> addSlider(const QRectF &frame, double min, double max, double value, int tag,
                                          const QString &thumb, const QString &caption);
    void addEffectButton(const QRectF &frame, const QString &title, int tag, const QString &picture);

    ScreenViews &m_views;
    ui::View &m_compositorView;
    LayerGestures &m_gestures;
    std::function<void(int)> m_filterSelect;
    std::function<void()> m_close;
    std::shared_ptr<ui::Slider> m_topPhotoSlider;
    std::shared_ptr<ui::Slider> m_backPhotoSlider;
    std::shared_ptr<ui::Button> m_cancelBtn3;
    std::shared_ptr<ui::Label> m_reason;
    std::shared_ptr<ui::ImageView> m_moveImgView;
};

} // namespace vimora
