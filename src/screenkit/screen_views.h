#pragma once

// The views of the one window. The shell owns a few (the root, the main view with the home
// picture, the home bar, the busy spinner); each screen builds and owns its own layers in the
// main view, so what one screen leaves in its layers never shows on another.

#include <memory>

#include "ui/activity_indicator.h"
#include "ui/image_view.h"
#include "ui/view.h"

namespace vimora {

/// The views that belong to the shell rather than to a screen.
struct ShellViews
{
    /// The root controller's view: the window's content, sized to the screen.
    ui::ViewPtr rootView;
    /// Full-window picture with a black background (the home picture); every screen's
    /// layers live inside it.
    std::shared_ptr<ui::ImageView> mainView;
    /// The home screen's category bar; above every screen's layers until one is raised.
    std::shared_ptr<ui::ImageView> cateViewTop;
    /// The busy spinner; hides itself when stopped.
    std::shared_ptr<ui::ActivityIndicator> waitIndicator;

    /// Makes the shell's views (the bar hidden), mainView filling rootView.
    static ShellViews create(QSizeF screen);
};

/// One screen's layers, with handles to the shell's views it works in.
struct ScreenViews
{
    ui::ViewPtr rootView;
    std::shared_ptr<ui::ImageView> mainView;
    std::shared_ptr<ui::ImageView> cateViewTop;
    std::shared_ptr<ui::ActivityIndicator> waitIndicator;

    /// The editor's layer (the editor's own view lives inside it).
    std::shared_ptr<ui::ImageView> cutImgView;
    /// The background layer (the compositor's working view).
    std::shared_ptr<ui::ImageView> backImgView;
    /// The screen's toolbar; on the home screen the option panel.
    std::shared_ptr<ui::ImageView> selectTopView;
    /// A help picture on the home screen; the editor's adjust and panel container.
    std::shared_ptr<ui::ImageView> descripImg;
    /// The editor's second description view (options panel, built-in images panel).
    std::shared_ptr<ui::ImageView> descripImg2;
    /// The text overlay's layer.
    std::shared_ptr<ui::ImageView> wordView;

    /// A screen's own layers, all hidden, laid into the shell's main view under the home bar.
    static std::shared_ptr<ScreenViews> create(const ShellViews &shell);
    /// A screen alone in a shell of its own (tests, benchmarks).
    static std::shared_ptr<ScreenViews> create(QSizeF screen);
    /// Hides every layer of the screen (not the shell's views).
    void hideLayers() const;
};

} // namespace vimora
