#pragma once

// The colour panel (after "Done" and after transform mode) and the edit panel
// (after a tap on a layer): the palette recolouring the selected layer,
// rotation or transparency, size buttons and the ways out.

#include <functional>
#include <memory>

#include <QColor>

#include "text/word_table_views.h"
#include "ui/button.h"
#include "ui/slider.h"

namespace vimora {
class ColorPickerViewController;
}

namespace vimora::text {

/// Tags of the panel's controls: the transform commands they send.
inline constexpr int kEnterTransformTag = 1;
inline constexpr int kRotationSliderTag = 13;

struct EditPanelActions {
    std::function<void()> colorChoose;
    std::function<void(int tag)> transform;
    std::function<void()> adjustTransparent;
    std::function<void(bool grow)> wordSize;
    /// After the palette recoloured the layer, with the colour picked.
    std::function<void(const QColor &)> recoloured;
};

class EditPanel {
public:
    EditPanel(WordTableViews views, EditPanelActions actions);
    ~EditPanel();

    /// colorSelectView: palette, "O", "R" and the rotation slider, for the layer
    /// tagged tag.
    void colorSelectView(int tag);
    /// colorSelectView2: palette, transparency, "-", "+" and the cancel button.
    void colorSelectView2(int tag);
    /// The colour panel with a cancel button instead of its own controls.
    void rebuildWithCancel(int tag);
    /// Hides the panel (with its reveal) and the palette.
    void hide();
    /// The panel view is taken for something else: Escape and a tap outside no longer close
    /// the colour panel.
    void release();
    /// Touches outside the panel at these window points go on to what lies under them (the
    /// layers, which the panel works on); any other touch outside closes the panel.
    void setLetThrough(std::function<bool(QPointF windowPoint)> letThrough) { m_letThrough = std::move(letThrough); }
    /// Shows the panel again as it was (after transform mode).
    void showAgain();
    bool isShown() const;

    ui::Slider *kSlider() const { return m_rotation.get(); }
    ui::Slider *backPhotoSlider() const { return m_transparency.get(); }
    /// The panel's palette (the colour picker's view).
    ui::View *paletteView() const;
    ColorPickerViewController *colorPicker() const { return m_picker.get(); }

private:
    void openPanel(int tag);
    /// Escape and a tap outside the panel close it as its own control does.
    void registerOverlay();
    void addCancel();

    WordTableViews m_views;
    EditPanelActions m_actions;
    std::unique_ptr<ColorPickerViewController> m_picker;
    std::shared_ptr<ui::Slider> m_rotation;
    std::shared_ptr<ui::Slider> m_transparency;
    std::function<bool(QPointF)> m_letThrough;
    /// Behind the panel while it is open: takes the touches outside it that close it.
};

} // namespace vimora::text
