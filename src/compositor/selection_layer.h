#pragma once

// The compositor's toolbar along the top (in the screen's selection layer) and the panels
// laid over it one at a time in a view of their own: the tip, the final Save/Exit panel, the
// "Select the photo above " prompt, the Undo / Done panel and the panel of further effects.
// A panel never hides the toolbar's view, and every way of closing one (its own button,
// Escape, a tap outside) leads back to the toolbar. Buttons hand their command to the
// compositor.

#include <functional>
#include <memory>

#include <QString>

#include "ui/image_view.h"

namespace vimora {

struct ScreenViews;

/// Everything a button of the selection layer can ask the compositor for.
enum class CompositorCommand {
    Tip,
    Filter,          // the adjust panel on the background
    LayersFilter,    // the adjust panel on the picture layers
    Word,            // the text overlay
    Save,            // the level menu
    Exit,
    More,            // the panel of further effects
    LayCutOut,       // the editor's last cut-out as the top picture
    Print,
    MoreEmboss,
    Reflection,
    EnlargeOverlay,
    OverlayToggle,
    ResetLayers,     // messIt
    UndoDone,        // the Undo / Done panel
    Undo,
    Redo,
    Text,            // gotoTextView
    Final,
    Prompt,
    TipToggle,
    NewPhoto,        // editAgainAndLoadTopImage
    Minimise,        // the panel's close button
};

class SelectionLayer
{
public:
    /// Tags of the toolbar's own buttons.
    static constexpr int kFilterTag = 100;
    static constexpr int kLayersFilterTag = 200;
    static constexpr QStringView kNeverKey = u"Never";

    SelectionLayer(ScreenViews &views, std::function<void(CompositorCommand)> command);

    /// The toolbar (actionbtn); closes any panel over it.
    void actionbtn();
    /// Whether a tip was asked for (the Tip button) or would open by itself (after Done).
    enum class TipOpening { Asked, ByItself };
    /// The tip panel. Declined tips ("Never show this") still open when asked for; by
    /// themselves they leave the toolbar as it is.
    void shot(TipOpening opening = TipOpening::Asked);
    /// Remembers that tips are not to open by themselves.
    void neverShow();
    void reShowTip();
    /// The title of the tip toggle: what pressing it does next.
    QString tipToggleTitle() const;
    void finalAct();
    void secondActMix();
    void gotoCutImage();
    void doneAndUndo();
    /// The further effects; overlayToggleTitle is the overlay button's current title.
    void showMore(const QString &overlayToggleTitle);

    /// The toolbar's view.
    ui::ImageView &layer() const;
    /// The view the panels over the toolbar are built in.
    ui::ImageView &panel() const { return *m_panel; }
    bool isPanelOpen() const { return !m_panel->isHidden() && m_panel->superview(); }
    /// Whether the toolbar is built, shown and opaque.
    bool isToolbarShown() const;
    /// Closes the panel over the toolbar and shows the toolbar.
    void closePanel();
    /// Hides the panel without touching the toolbar (leaving the compositor).
    void hidePanel();
    /// Whether tips stay closed unless asked for.
    static bool tipsDeclined();

    /// The toolbar's height: a phone's carries a second row under the first.
    static double toolbarHeight(bool tablet);

private:
    /// Empties the panel view and shows it in front of the toolbar with frame and picture.
    void openPanel(const QRectF &frame, const QString &picture = {});
    void send(CompositorCommand c) const;

    ScreenViews &m_views;
    std::function<void(CompositorCommand)> m_command;
    std::shared_ptr<ui::ImageView> m_panel;
};

} // namespace vimora
