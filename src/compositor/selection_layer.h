#pragma once

// What the compositor's selection layer shows, one at a time: the toolbar along the top, the
// tip panel, the final Save/Exit panel, the "Select the photo above " prompt, the Undo / Done
// panel, and the panel of further effects that the first layout left to its own controls.
// Each builder first empties the layer. Buttons hand their command to the compositor.

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

    /// The toolbar (actionbtn).
    void actionbtn();
    /// The tip panel; with "Never" = "never" it shows nothing and leaves the layer hidden.
    void shot();
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

    ui::ImageView &layer() const;

private:
    /// Empties the layer, shows it in front with a clear background, frame and picture.
    void reopen(const QRectF &frame, const QString &picture = {});
    void send(CompositorCommand c) const;

    ScreenViews &m_views;
    std::function<void(CompositorCommand)> m_command;
};

} // namespace vimora
