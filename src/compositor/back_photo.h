#pragma once

// The background compositor. It loads a saved picture as its background and works on it:
// the toolbar and its panels, the adjust panel and the effects, the picture layers and their
// gestures, the level save, the option bar, delete and exit. A new photo for the editor comes
// from the shell's photo intake.
//
// One controller lives for the whole run; it owns its layers and coordinates one object per
// concern.

#include <functional>
#include <memory>

#include <QRectF>
#include <QString>
#include <QStringList>

#include "compositor/adjust_panel.h"
#include "compositor/background_effects.h"
#include "compositor/compositor_layers.h"
#include "compositor/layer_gestures.h"
#include "compositor/level_save.h"
#include "compositor/option_bar.h"
#include "compositor/panel_minimiser.h"
#include "compositor/selection_layer.h"
#include "imaging/scale_image.h"
#include "text/word_table.h"
#include "ui/alert_view.h"
#include "ui/button.h"
#include "screenkit/screen_views.h"

namespace vimora {

class BackPhoto
{
public:
    /// Builds the compositor's own layers in the shell's main view.
    explicit BackPhoto(const ShellViews &shell)
        : BackPhoto(ScreenViews::create(shell))
    {
    }
    /// The compositor on layers made for it alone.
    explicit BackPhoto(std::shared_ptr<ScreenViews> views);
    ~BackPhoto();
    BackPhoto(const BackPhoto &) = delete;
    BackPhoto &operator=(const BackPhoto &) = delete;

    /// Loading: both name lists start empty.
    void awakeFromNib();

    /// Sizes the working view and the background layer to cover the screen at ratio
    /// r = height / width; orientation "w" means a wide screen.
    void openBackView(const QString &orientation, float ratio);
    /// Loads the saved picture named by the sender's title as the background; false (told)
    /// when it cannot be read.
    bool showSelectPhoto(const ui::Button &sender);
    bool showSelectPhoto(const QString &name);
    /// The option bar over a loaded background: Edit (the toolbar), Save To Album, Delete, Exit.
    void openOptionView(const QString &name);

    // --- Toolbar and its panels ---

    /// Shows the toolbar.
    void actionbtn() { m_selection.actionbtn(); }
    /// Shows the tip panel (nothing once the user said never).
    void shot() { m_selection.shot(); }
    /// The tip toggle: never show the tip again / show it again.
    void neverShow() { m_selection.neverShow(); }
    void reShowTip() { m_selection.reShowTip(); }
    /// The closing panel: Save and Exit.
    void finalAct() { m_selection.finalAct(); }
    /// The prompt to select the photo above, whose OK leads back to the toolbar.
    void secondActMix() { m_selection.secondActMix(); }
    /// The prompt's OK: back to the toolbar (the editor is not opened).
    void gotoCutImage() { m_selection.gotoCutImage(); }
    /// The panel of Undo and Done after an effect.
    void doneAndUndo() { m_selection.doneAndUndo(); }
    /// "New photo": writes "type" = "TYPE1", puts the compositor out of sight and asks the
    /// shell for a photo for the next cut-out. The composition is kept until a photo is read.
    void editAgainAndLoadTopImage();
    /// The photo asked for by "New photo" was read: the composition goes.
    void newPhotoTaken();
    /// The intake asked for by "New photo" ended without a photo: the composition comes
    /// back with its toolbar. False when no "New photo" was waiting.
    bool newPhotoCancelled();
    bool isWaitingForNewPhoto() const { return m_waitingForNewPhoto; }
    /// How "New photo" asks the shell for a photo.
    void setNewPhotoRequest(std::function<void()> request) { m_newPhotoRequest = std::move(request); }

    // --- Adjust panel and effects ---

    /// Opens the adjust panel; the sender's tag (100 background, 200 picture layers) is the mode.
    void guideToScale(int senderTag);
    /// Keeps the adjusted background in "adjust.png", closes the panel, rebuilds the toolbar.
    void combineImg();
    void filterSelect(int senderTag);
    /// Flattens the cut-out's copy and the overlay into the background as a print.
    void printmaking() { m_effects.printmaking(); }
    /// Embosses the cut-out's copy once more.
    void moreEmboss() { m_effects.moreEmboss(); }
    /// Lays a reflection under the top picture, or takes it away again.
    void reflectiMe() { m_effects.reflectiMe(); }
    /// Enlarges the overlay (the after-image) over the copy.
    void scaleDrawImg() { m_effects.scaleDrawImg(); }
    /// Shows / hides the dark overlay.
    void darkPlus() { m_effects.darkPlus(); }
    void darkDecrease() { m_effects.darkDecrease(); }
    /// Puts the layers back as before the last effect and lets the reflection be laid again.
    void messIt() { m_effects.messIt(); }
    /// Puts the layers back where they were before the last effect.
    void undoAction() { m_effects.undoAction(); }
    /// Opens the text overlay and minimises the adjust panel's close button.
    void gotoTextView();
    /// Fades the toolbar out to a corner button ("resultTool"), and brings it back.
    void smallTheButton(const QString &senderTitle) { m_minimiser.smallTheButton(senderTitle); }
    void scaleTool(const QString &senderTitle) { m_minimiser.scaleTool(senderTitle); }
    /// Lays the editor's last cut-out ("Tem.png") over the background as the top picture.
    void layTopPicture();

    // --- Gestures on the picture layers ---

    /// Drags a picture layer (both alike).
    void handleMove(ui::PanRecognizer &pan) { m_gestures.handleMove(pan); }
    void handleMove2(ui::PanRecognizer &pan) { m_gestures.handleMove2(pan); }
    /// Scales a picture layer by one pinch step.
    void handleScale(ui::PinchRecognizer &pinch) { m_gestures.handleScale(pinch); }
    /// Makes the tapped layer invisible (Undo brings it back).
    void handleSingleTap(ui::TapRecognizer &tap) { m_gestures.handleSingleTap(tap); }
    /// Drags the adjust panel by its handle.
    void handleMove6(ui::PanRecognizer &pan) { m_gestures.handleMove6(pan, *m_views->descripImg); }

    // --- Save, delete, exit ---

    /// The toolbar's Save: the level menu (Low, Medium, High).
    void justSaveToAlbum();
    /// Saves at the level named by the title; false when nothing was written.
    bool effectLevel(const QString &senderTitle) { return m_levelSave.effectLevel(senderTitle); }
    /// The option bar's Save To Album: the saved picture into the album as it is.
    void saveToAlbumToCut() { m_optionBar.saveToAlbumToCut(); }
    /// Asks before deleting the saved picture.
    void sureToDelete() { m_optionBar.sureToDelete(); }
    /// Leaves the compositor for the home screen.
    void exitAct() { m_optionBar.exitAct(); }
    QString photoName() const { return m_optionBar.photoName(); }

    /// The album writer the level save (and "Save To Album", without the editor's) writes through.
    void setAlbumWriter(AlbumWriter *writer);
    /// The editor's album save: "Save To Album" hands it the "word.png" picture.
    void setSaveToAlbum(std::function<void(const Picture &)> saveToAlbum) { m_editorSaveToAlbum = std::move(saveToAlbum); }
    /// Replaces how the text overlay opens (its noteViewOpen by default).
    void setTextOverlay(std::function<void()> noteViewOpen) { m_noteViewOpen = std::move(noteViewOpen); }
    /// The text overlay over the background (its layers lie in the background layer).
    WordTable *wordTable() const { return m_wordTable.get(); }
    /// Told when the compositor was left for the home screen (Exit, a confirmed deletion).
    void setExitHandler(std::function<void()> handler);

    // --- The parts, for the shell and the tests ---

    CompositorLayers &layers() { return m_layers; }
    BackgroundEffects &effects() { return m_effects; }
    BackgroundAdjustPanel &adjustPanel() { return m_adjust; }
    SelectionLayer &selectionLayer() { return m_selection; }
    LevelSave &levelSave() { return m_levelSave; }
    OptionBar &optionBar() { return m_optionBar; }
    PanelMinimiser &minimiser() { return m_minimiser; }
    LayerGestures &gestures() { return m_gestures; }
    int topOrButtom() const { return m_topOrButtom; }

    // --- State the other screens and the tests read ---
    /// The compositor's own layers.
    const ScreenViews &views() const { return *m_views; }
    ui::ViewPtr view() const { return m_view; }
    QRectF phoneRect() const { return m_phoneRect; }
    QRectF printRect() const { return m_printRect; }

    /// What a control of the selection layer asks for.
    void command(CompositorCommand c);

private:
    void layOutBackLayer();
    /// Closes the text box and the text overlay's panels (leaving the compositor).
    void closeTextOverlay();
    void tell(const QString &title, const QString &message);
    void saveWordToAlbum();

    std::shared_ptr<ScreenViews> m_views;
    std::function<void()> m_newPhotoRequest;
    ui::ViewPtr m_view;
    ScaleImage m_scaleImage;

    QRectF m_phoneRect;
    QRectF m_printRect;

    std::unique_ptr<AlbumWriter> m_ownAlbumWriter;
    AlbumWriter *m_selLib = nullptr;
    std::unique_ptr<WordTable> m_wordTable;
    std::function<void()> m_noteViewOpen;
    std::function<void(const Picture &)> m_editorSaveToAlbum;
    int m_topOrButtom = 0;
    bool m_waitingForNewPhoto = false;
    std::vector<std::shared_ptr<ui::AlertView>> m_messages;
    CompositorLayers m_layers;
    LayerGestures m_gestures;
    BackgroundEffects m_effects;
    SelectionLayer m_selection;
    BackgroundAdjustPanel m_adjust;
    PanelMinimiser m_minimiser;
    LevelSave m_levelSave;
    OptionBar m_optionBar;
};

} // namespace vimora
