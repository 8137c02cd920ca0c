#pragma once

// The background compositor. It owns the photo intake: it shows the photo picker, reduces
// the chosen photo to a working size, writes a working copy and a thumbnail into tmp/ and
// hands both names to the cut-out editor. It also loads a saved picture as its background
// and works on it: the toolbar and its panels, the adjust panel and the effects, the picture
// layers and their gestures, the level save, the option bar, delete and exit.
//
// One controller lives for the whole run; it holds the intake and the views the screens share
// and coordinates one object per concern.

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
#include "platform/photo_picker.h"
#include "text/word_table.h"
#include "ui/alert_view.h"
#include "ui/button.h"
#include "screenkit/screen_views.h"

namespace vimora {

class BackPhoto
{
public:
    /// Receives the intake: the working-copy names and the thumbnail names (tmp/-relative).
    using HandOver = std::function<void(const QStringList &originNames, const QStringList &thumbNames)>;

    /// Longest side of a working copy, by device.
    static constexpr double kTabletMaxSide = 2000;
    static constexpr double kPhoneMaxSide = 1500;
    static constexpr double kThumbnailWidth = 156;
    static constexpr double kJpegQuality = 1.0;

    BackPhoto(std::shared_ptr<ScreenViews> views, HandOver handOver);
    ~BackPhoto();
    BackPhoto(const BackPhoto &) = delete;
    BackPhoto &operator=(const BackPhoto &) = delete;

    /// Loading: both name lists start empty.
    void awakeFromNib();

    /// Starts an intake from source "album" or "camera"; the tag is not used.
    void toAlbumiPad(const QString &tag, const QString &cOrF);
    /// The picker returned a photo (or a file it could not read). A damaged photo waits for
    /// the user's answer to the notice before it is taken in.
    void imagePickerController(const PhotoPicker::Result &picked);
    /// The notice shown over a damaged photo, while it is up (nullptr otherwise).
    ui::AlertView *damagedPhotoNotice() const { return m_damagedNotice.get(); }
    static constexpr int kNoticeCancelIndex = 0;
    static constexpr int kNoticeContinueIndex = 1;
    void imagePickerControllerDidCancel();
    /// The tablet popover was closed outside the picker.
    void popoverControllerDidDismissPopover();
    /// Presents the album picker in the tablet popover, for portrait / landscape.
    void popH();
    void popW();

    /// Sizes the working view and the background layer to cover the screen at ratio
    /// r = height / width; orientation "w" means a wide screen.
    void openBackView(const QString &orientation, float ratio);
    /// Loads the saved picture named by the sender's title as the background.
    void showSelectPhoto(const ui::Button &sender);
    void showSelectPhoto(const QString &name);
    /// The option bar over a loaded background: Edit (the toolbar), Save To Album, Delete, Exit.
    void openOptionView(const QString &name);

    // --- Toolbar and its panels ---

    void actionbtn() { m_selection.actionbtn(); }
    void shot() { m_selection.shot(); }
    void neverShow() { m_selection.neverShow(); }
    void reShowTip() { m_selection.reShowTip(); }
    void finalAct() { m_selection.finalAct(); }
    void secondActMix() { m_selection.secondActMix(); }
    void gotoCutImage() { m_selection.gotoCutImage(); }
    void doneAndUndo() { m_selection.doneAndUndo(); }
    /// Writes "type" = "TYPE1" and opens the photo picker again for the next cut-out.
    void editAgainAndLoadTopImage();

    // --- Adjust panel and effects ---

    /// Opens the adjust panel; the sender's tag (100 background, 200 picture layers) is the mode.
    void guideToScale(int senderTag);
    /// Keeps the adjusted background in "adjust.png", closes the panel, rebuilds the toolbar.
    void combineImg();
    void filterSelect(int senderTag);
    void printmaking() { m_effects.printmaking(); }
    void moreEmboss() { m_effects.moreEmboss(); }
    void reflectiMe() { m_effects.reflectiMe(); }
    void scaleDrawImg() { m_effects.scaleDrawImg(); }
    void darkPlus() { m_effects.darkPlus(); }
    void darkDecrease() { m_effects.darkDecrease(); }
    void messIt() { m_effects.messIt(); }
    void undoAction() { m_effects.undoAction(); }
    /// Opens the text overlay and minimises the adjust panel's close button.
    void gotoTextView();
    void smallTheButton(const QString &senderTitle) { m_minimiser.smallTheButton(senderTitle); }
    void scaleTool(const QString &senderTitle) { m_minimiser.scaleTool(senderTitle); }
    /// Lays the editor's last cut-out ("Tem.png") over the background as the top picture.
    void layTopPicture();

    // --- Gestures on the picture layers ---

    void handleMove(ui::PanRecognizer &pan) { m_gestures.handleMove(pan); }
    void handleMove2(ui::PanRecognizer &pan) { m_gestures.handleMove2(pan); }
    void handleScale(ui::PinchRecognizer &pinch) { m_gestures.handleScale(pinch); }
    void handleSingleTap(ui::TapRecognizer &tap) { m_gestures.handleSingleTap(tap); }
    void handleMove6(ui::PanRecognizer &pan) { m_gestures.handleMove6(pan, *m_views->descripImg); }

    // --- Save, delete, exit ---

    void justSaveToAlbum();
    bool effectLevel(const QString &senderTitle) { return m_levelSave.effectLevel(senderTitle); }
    void saveToAlbumToCut() { m_optionBar.saveToAlbumToCut(); }
    void sureToDelete() { m_optionBar.sureToDelete(); }
    void exitAct() { m_optionBar.exitAct(); }
    QString photoName() const { return m_optionBar.photoName(); }

    /// The album writer the level save (and "Save To Album", without the editor's) writes through.
    void setAlbumWriter(AlbumWriter *writer);
    /// The editor's album save: "Save To Album" hands it the "word.png" picture.
    void setSaveToAlbum(std::function<void(const Picture &)> saveToAlbum) { m_editorSaveToAlbum = std::move(saveToAlbum); }
    /// Replaces how the text overlay opens (its noteViewOpen by default); with none the
    /// "+Word" control says the text overlay is not available.
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

    /// Told when an intake ends without handing a photo over (cancel, unreadable photo,
    /// closed popover), so the home screen can offer its controls again.
    void setIntakeEndedHandler(std::function<void()> handler) { m_intakeEnded = std::move(handler); }

    // --- State the other screens and the tests read ---
    ui::ViewPtr view() const { return m_view; }
    QString fun() const { return m_fun; }
    const QStringList &originMuAry() const { return m_originMuAry; }
    const QStringList &thuMuAry() const { return m_thuMuAry; }
    QRectF phoneRect() const { return m_phoneRect; }
    QRectF printRect() const { return m_printRect; }
    /// The rectangle the album popover was last presented from (empty when none).
    QRectF popoverAnchor() const { return m_popoverAnchor; }
    /// Stands for the full-screen picker on screen while one is up.
    ui::ViewPtr pickerView() const { return m_pickerView; }
    bool isPicking() const { return m_picking; }

    static QRectF popoverAnchorPortrait() { return {75, 920, 400, 400}; }
    static QRectF popoverAnchorLandscape() { return {110, 650, 400, 400}; }

    /// What a control of the selection layer asks for.
    void command(CompositorCommand c);

private:
    void takeIn(const PhotoPicker::Result &picked);
    void answerDamagedNotice(int buttonIndex);
    void layOutIntakeLayers();
    void hidePicker();
    void endIntakeWithoutPhoto();
    void showIntakeAlert(const QString &message);
    void tell(const QString &title, const QString &message);
    void saveWordToAlbum();
    bool writeJpeg(const Picture &picture, const QString &name);

    std::shared_ptr<ScreenViews> m_views;
    HandOver m_handOver;
    std::function<void()> m_intakeEnded;
    class NoticeDelegate;
    std::unique_ptr<NoticeDelegate> m_noticeDelegate;
    std::shared_ptr<ui::AlertView> m_damagedNotice;
    PhotoPicker::Result m_damagedPhoto;
    ui::ViewPtr m_view;
    ui::ViewPtr m_pickerView;
    ScaleImage m_scaleImage;

    QString m_fun;
    QStringList m_originMuAry;
    QStringList m_thuMuAry;
    QRectF m_phoneRect;
    QRectF m_printRect;
    QRectF m_popoverAnchor;
    bool m_picking = false;
    // Each intake gets a number; a late answer from an earlier picker is ignored.
    int m_intake = 0;

    std::unique_ptr<AlbumWriter> m_ownAlbumWriter;
    AlbumWriter *m_selLib = nullptr;
    std::unique_ptr<WordTable> m_wordTable;
    std::function<void()> m_noteViewOpen;
    std::function<void(const Picture &)> m_editorSaveToAlbum;
    int m_topOrButtom = 0;
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
