#pragma once

// The views of its screen the text overlay works in. The editor and the
// compositor each hand theirs over, so the overlay knows nothing of either
// screen.

#include <memory>

#include "ui/image_view.h"
#include "ui/view.h"

namespace vimora {

struct ScreenViews;

struct WordTableViews {
    /// The screen's root view: the text box, its bar and the corner handles live
    /// in it.
    ui::ViewPtr mainView;
    /// The picture view the text layers are laid into.
    ui::ViewPtr cutImgView;
    /// The screen's toolbar, hidden while a panel is up.
    ui::ViewPtr selectTopView;
    /// Help pictures: the first is shown while typing, the second hidden by any
    /// gesture.
    ui::ViewPtr descripImg;
    ui::ViewPtr descripImg2;
    /// The background view word-art pictures are dropped on.
    ui::ViewPtr backImgView;
    /// The overlay's panel (font chooser, colour and edit panel, catalogue,
    /// tips).
    std::shared_ptr<ui::ImageView> wordView;

    /// The shared screen views, with the editor's layer as the picture view and
    /// as the view word pictures are dropped on.
    static WordTableViews fromScreen(const ScreenViews &views);
};

} // namespace vimora
