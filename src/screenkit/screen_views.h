#pragma once

// The views of the one main interface that the home screen, the editor and the compositor
// all lay their layers into. The root controller creates them once; each screen keeps the
// same shared handles in its fields, as the screens did when one layout file connected them.

#include <memory>

#include "ui/activity_indicator.h"
#include "ui/image_view.h"
#include "ui/view.h"

namespace vimora {

struct ScreenViews
{
    /// The root controller's view: the window's content, sized to the screen.
    ui::ViewPtr rootView;
    /// Full-window picture with a black background; every layer below lives inside it.
    std::shared_ptr<ui::ImageView> mainView;
    /// The editor's layer (the editor's own view lives inside it).
    std::shared_ptr<ui::ImageView> cutImgView;
    /// The background layer (the compositor's working view).
    std::shared_ptr<ui::ImageView> backImgView;
    /// The top toolbar; on the home screen also the option panel.
    std::shared_ptr<ui::ImageView> selectTopView;
    /// A help picture on the home screen; the editor's adjust and panel container.
    std::shared_ptr<ui::ImageView> descripImg;
    /// The editor's second description view (options panel, built-in images panel).
    std::shared_ptr<ui::ImageView> descripImg2;
    /// The home screen's category bar.
    std::shared_ptr<ui::ImageView> cateViewTop;
    /// The text overlay's layer.
    std::shared_ptr<ui::ImageView> wordView;
    /// The busy spinner shared by the screens; hides itself when stopped.
    std::shared_ptr<ui::ActivityIndicator> waitIndicator;

    /// Makes every view (all hidden except rootView and mainView), mainView filling rootView.
    static std::shared_ptr<ScreenViews> create(QSizeF screen);
};

} // namespace vimora
