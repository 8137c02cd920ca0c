#pragma once

// The preview's colour panel: the large palette in the side container, whose pick paints the
// preview frame's backdrop, and a close control.

#include <QRectF>

#include "ui/button.h"
#include "screenkit/color_picker_view_controller.h"

namespace vimora {

struct ScreenViews;

/// The panel's frames on a tablet or a phone, in their containers' coordinates.
struct ColourPanelLayout
{
    QRectF panel;   // in the main view
    QRectF palette; // in the panel
    QRectF close;   // in the panel
};
ColourPanelLayout colourPanelLayout(bool tablet);

class ColourPanel
{
public:
    explicit ColourPanel(ScreenViews &views);

    /// Opens the panel over the preview: the toolbar goes, the palette comes, told to paint the
    /// preview frame.
    void colorPick();
    /// The close control: logs and hides the panel.
    void closeWordView();

    ColorPickerViewController &picker() { return m_picker; }

private:
    ScreenViews &m_views;
    ColorPickerViewController m_picker;
};

} // namespace vimora
