#pragma once

// The cut-out editor: an editing job on a list of photos, the photo view, the crop rectangle
// and the cut, the placement gestures and the panels that follow.
//
// One controller lives for the whole run. It holds what its steps share (the screen views,
// its own view, the photo view, the piece container and the modes) and coordinates one
// object per step. The steps still to come (the adjust panel, shattering and expansion,
// feathering, the finishing side panels, text) join as objects of their own.

#include <functional>
#include <memory>
#include <optional>

#include <QStringList>

#include "editor/adjust_panel.h"
#include "editor/back_animation_panel.h"
#include "editor/colour_panel.h"
#include "editor/crop_rectangle.h"
#include "editor/edge_feathering.h"
#include "editor/editing_job.h"
#include "editor/edge_expansion.h"
#include "ui/job_runner.h"
#include "editor/editor_modes.h"
#include "editor/finishing_toolbar.h"
#include "editor/job_history.h"
#include "editor/lifted_piece.h"
#include "editor/naming_fields.h"
#include "editor/options_panel.h"
#include "editor/original_size.h"
#include "editor/panel_parts.h"
#include "editor/photo_replacement.h"
#include "editor/placement_gestures.h"
#include "editor/saving.h"
#include "editor/subject_touch_up.h"
#include "editor/tap_stamp.h"
#include "imaging/picture.h"
#include "store/job_store.h"
#include "text/word_table.h"
#include "ui/alert_view.h"
#include "ui/clock.h"
#include "screenkit/notices.h"
#include "screenkit/screen_views.h"

namespace vimora {

class CutImage
{
public:
    /// Builds the editor's own layers in the shell's main view.
    explicit CutImage(const ShellViews &shell)
        : CutImage(ScreenViews::create(shell))
    {
    }
    /// The editor on layers made for it alone.
    explicit CutImage(std::shared_ptr<ScreenViews> views);
    ~CutImage();
    CutImage(const CutImage &) = delete;
    CutImage &operator=(const CutImage &) = delete;

    // --- What the shell calls ---

    /// Loading: reads the built-in image lists.
    void awakeFromNib();
    /// Starts an editing job on photo files named relative to the temporary directory; once
    /// its photo reads, every other file there (the previous job's) goes.
    void getNumOfArray(const QStringList &photoNames, const QStringList &thumbNames);
    /// Opens the editor on a job kept from an earlier run, as it was left: the photo, the
    /// piece where it lay, the text layers, with the finishing toolbar after a cut.
    void resumeJob(const JobRecord &record);
    /// The photo the next job started by getNumOfArray was picked from (the intake says so
    /// before it hands the job over): "Original size" renders from it.
    void setPickedOriginal(OriginalPhoto original) { m_pickedOriginal = std::move(original); }
    /// Whether a job was started or resumed in this run.
    bool hasJob() const { return !m_job.isEmpty(); }
    /// The job as it is now, for keeping; none while it is between steps (the piece shattered
    /// into its grid) or before any job.
    std::optional<JobRecord> jobRecord() const;
    /// Something the job keeps changed: it is kept again on the next turn of the loop, and,
    /// when the kept state differs from the last, the last becomes one undo step. Changes
    /// made within one turn of the loop make one step.
    void noteJobChanged();
    /// Back one step, or forward one undone; false when there is none, or while the editor is
    /// not at rest (typing, the options panel, an effect running, the pieces of a flow).
    bool undo();
    bool redo();
    const JobHistory &history() const { return m_history; }
    /// The window title: the photo's name, marked while the job has changes no save took.
    QString windowTitle() const;
    bool hasUnsavedChanges() const;
    void setOnTitleChanged(std::function<void(const QString &)> changed) { m_onTitleChanged = std::move(changed); }
    /// Relayout after the device turned to landscape / portrait.
    void rotateW();
    void rotateH();
    /// The controller's own view (inside the editor layer).
    ui::ViewPtr view() const;
    /// The editor's own layers.
    const ScreenViews &views() const { return *m_views; }

    /// Runs after Home has emptied tmp/ and put the home picture back: the shell shows its
    /// category bar again.
    void setOnHome(std::function<void()> onHome) { m_onHome = std::move(onHome); }

    // --- Modes the steps share ---

    EffectMode effectMode() const { return m_effectMode; }
    void setEffectMode(EffectMode mode) { m_effectMode = mode; }
    TapMode tapMode() const { return m_gestures.tapMode(); }
    void setTapMode(TapMode mode) { m_gestures.setTapMode(mode); }

    // --- Editing job and photo view ---

    /// Loads photo 0 of the job, stores it as Origin and builds the photo view.
    void viewSelectedImage();
    void spinBegin();
    void spinEnd();

    // --- Photo replacement ---

    /// Open the photo picker on the album to replace the photo.
    void toAlbumiPad(int ignored) { (void)ignored, m_replacement.toAlbumiPad(); }
    void changeFoto() { m_replacement.changeFoto(); }
    /// The built-in image panel, and the action of its buttons (tag = index in the lists).
    void prepareToCut2()
    {
        m_adjust.removeHandle(); // the built-in panel takes the adjust panel's place
        m_replacement.prepareToCut2();
    }
    void excuteThePrepare(int tag) { m_replacement.excuteThePrepare(tag); }

    // --- Crop rectangle and cut ---

    /// Lays the crop rectangle, its four handles and the done button over the photo.
    void justSaveToAlbumC();
    /// The cut: full-resolution crop to Tem, the piece over the upright hole image, then
    /// the finishing toolbar.
    void showResult();
    /// The smart cut: the subject inside the rectangle is found off the UI thread and becomes
    /// the piece, transparent around it, over a hole of its shape; when none stands apart, the
    /// user is asked whether to cut the rectangle instead.
    void smartCut();
    /// One touch-up stroke over the smart-cut piece: the cut is found again with the stroke's
    /// marks and applied through setSubjectCut.
    void applySubjectStroke(const SubjectStroke &stroke);
    /// The piece and its hole follow cut (a touch-up's result, or an earlier one taken back).
    void setSubjectCut(const SubjectCut &cut);
    SubjectTouchUp &touchUp() { return m_touchUp; }
    /// Tests: the runner the segmentation goes through.
    ui::JobRunner &segmentationRunner() { return m_segmentation; }
    /// Re-enters the piece: kWorkOnPieceTag works on the piece, kWorkOnWholePhotoTag on the
    /// whole photo.
    void cutImageZ(int senderTag);
    /// The back-animation panel.
    void prepareToCut() { m_backAnimation.prepareToCut(); }

    // --- Placement gestures ---

    /// Drags the adjust panel by its handle (the panel's top-right corner follows it).
    void handleMove6(ui::PanRecognizer &pan) { m_gestures.handleMove6(pan); }

    // --- Options panel and capture ---

    /// Builds and shows the options panel; senderTag is the opener's tag (kBottomOkTag or
    /// kTopOkTag) or the aspect switch's.
    void preView2(int senderTag);
    /// Back to the editor on the (replaced) photo in Origin, with a new crop rectangle.
    void newCutOnOrigin();
    /// The options panel's OK: opened on the piece (Frame), back to the finished cut; opened
    /// after a replaced photo, a new cut on it.
    void optionsOk();
    /// The options panel's Cancel: back to the finished cut, the job untouched.
    void optionsCancel();
    /// The panel switches' action; the aspect switch rebuilds the panel.
    void swicthState(ui::Control &sender);
    /// The view rendered at its size in points, scale 1.
    Picture screenShotView(const ui::View &view) const;
    /// The composition for saving: the main view at a level-dependent scale, cut to the
    /// background view's frame.
    Picture screenShots(int level);

    // --- Edge feathering ---

    /// Enters the feathering mode on the options panel's drawing layer.
    void gradientSelect();
    /// The feathering buttons: 1 bottom, 2 top, 3 left, 4 right, 5 OK.
    void gradientMe(int tag) { m_feathering.gradientMe(tag); }
    const FeatherEdges &featherEdges() const { return m_feathering.edges(); }

    // --- Colour panel ---

    /// The preview's colour panel: a pick paints the preview frame's backdrop.
    void colorPick();
    void closeWordView() { m_colourPanel.closeWordView(); }
    ColorPickerViewController &colourPicker() { return m_colourPanel.picker(); }

    // --- Finishing toolbar ---

    void finalAdjust() { m_toolbar.finalAdjust(); }
    /// Home: leaves the editor for the home picture, keeping the job for the home screen's back.
    void closeDrawView();
    /// The editor's back control and Escape: home, after asking when a cut piece exists.
    void goBack();
    /// The home screen's back returned to the job: keys come to the editor again, so Escape
    /// works without a tap first.
    void resumeKeys();
    /// The home screen's back returned to the job: the editor's layers as it left them, the
    /// finishing toolbar once a piece is cut, and its keys.
    void resumeJob();
    /// The hint strip along the bottom of the screen.
    void remindNew() { m_toolbar.remindNew(tapMode() == TapMode::Shattering); }
    /// Whether a cut piece is on the photo (replacing the photo would discard it).
    bool hasPiece() const { return m_piece != nullptr; }

    // --- Side controls of the finished cut ---

    /// The text overlay over the photo (the "Write" control).
    void gotoTextView();
    /// What "Write" opens: the editor's own text overlay unless another is given.
    void setTextOverlay(std::function<void()> open) { m_openTextOverlay = std::move(open); }
    /// The naming strip on ("Names") and off.
    void showTwoBtns();
    void hideTwoBtns();
    /// The date-stamp chooser and its buttons (tags 1 to 4).
    void selectView() { m_naming.selectView(); }
    void modeSelect(int tag) { m_naming.modeSelect(tag); }
    NamingFields &naming() { return m_naming; }
    /// The naming strip's Export: exports the pictures under their new names.
    void renameAct();
    /// What the naming strip's Export runs: the export to the documents folder unless another
    /// is given.
    void setDocumentExport(std::function<void()> exportNamed) { m_exportNamed = std::move(exportNamed); }
    // --- Saving and sharing ---

    /// Saves a picture into the album "Quorlan" (the compositor's finished picture too).
    void saveToAlbum(const Picture &image) { m_saving.saveToAlbum(image); }
    /// The quality choice of the toolbar's Save.
    void askMessage() { m_saving.askMessage(); }
    /// The job's pictures into the documents folder (the naming step's rename calls it).
    void saveToItunes() { m_saving.saveToItunes(); }
    /// The job's pictures into the photo library, one write after the other.
    void saveOneByone() { m_saving.saveOneByone(); }
    void emailMe(const Picture &image) { m_saving.emailMe(image); }
    /// albumDrawMuAry: the names of the pictures' edited versions in tmp/.
    void setEditedNames(const QStringList &names) { m_editedNames = names; }
    Saving &saving() { return m_saving; }
    // --- Adjust panel and effect flows ---

    /// Builds the adjust panel for the opener's tag (200, 300 start the modes; 666, 777).
    void guideToScale(int senderTag);
    /// Next: flattens the pieces (at the photo's resolution on the piece, at the on-screen
    /// size on the whole photo) into word.png and opens step two.
    void singleBtn();
    /// Done: back to the finishing toolbar.
    void combineImg();
    /// <-Prev: the pieces cut afresh from Tem and the step-one panel of that id.
    void shatteringPanel(int stepOnePanel);
    /// The step-two colour controls, Blur and Sharpen+.
    void filterSelect(ui::Control &sender);
    /// Styles, the pieces' Scale and Rotation, the whole photo's Scale, Rotation, Distortion.
    void imageEffect(ui::Control &sender);
    /// Shows "Processing..." and runs, half a second later, the merge (caller kTextButtonTag)
    /// or the scatter (any other caller). Ignored while a job is pending.
    void alertToMakeMosaicForiPhone(int callerTag);
    /// Skews every piece's picture by its own random skew.
    void makeSynthesisWithmosaic();
    /// Merges what lies on the photo into Origin at the photo's resolution; a new cut follows.
    void closeShatterPanel();
    /// The options panel's Expand: arrows on the preview's photo layer.
    void cutApart();
    /// One expansion by the arrow with that tag, from the job's photo.
    void cutApartExcute(int arrowTag);
    /// A job announced, waiting or running: Next and the announced jobs wait for none.
    bool isEffectPending() const;
    /// Blocks until every effect (and smart cut) asked for has run and applied its result.
    void waitForEffects();
    /// Tests: the runner the effects go through, to hold it busy.
    ui::JobRunner &effectRunner() { return m_effects; }
    /// Tag of the last control filterSelect handled.
    int lastFilterTag() const { return m_lastFilterTag; }
    const AdjustPanel &adjustPanel() const { return m_adjust; }
    /// The editor's own text overlay (the shell makes "Write" open it).
    WordTable &wordTable() { return *m_wordTable; }

private:
    void layOutEditorView(bool landscape);
    /// Shows the editor's layer with the editor's view in it, as a job starts.
    void openEditorLayer();
    /// Saves the job record when it can be kept (see jobRecord), noting it in the history.
    void keepJob();
    /// Lays the editor out as record says: photo, piece, text layers, working files.
    void layBack(const JobRecord &record);
    bool canStepThroughHistory() const;
    bool stepThroughHistory(bool forward);
    void updateHistoryControls();
    void updateTitle();
    /// Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y, Ctrl+S, Delete and the arrows; true when the key was used.
    bool handleEditKey(const QKeyEvent &event);
    /// The top of Undo and Redo in the editor layer: hints along the bottom stay above it.
    double historyControlsTop() const;
    void buildPhotoView(const Picture &photo);
    void removePiece();
    /// The cut's piece laid on the photo view where it was cut, lifted, with the toolbar.
    void placePiece(const CutPiece &cut);
    void placeBackControl();
    /// Shows or hides the controls along the top and down the left (not while typing text).
    void showEditorControls(bool shown);
    /// Runs work on the piece's picture off the UI thread and apply with its result, unless
    /// the piece went meanwhile. The picture is taken when the job's turn comes, so it has
    /// the effects before it. A slider passes LatestWins and its tag: of its releases while
    /// an effect runs, the last one is applied.
    void runOnPiece(std::function<Picture(const Picture &)> work, std::function<void(const Picture &)> apply,
                    ui::JobPolicy policy = ui::JobPolicy::InOrder, int sliderTag = 0);
    /// An effect threw: the alert it may have put up goes, and the user is told.
    void effectFailed(const QString &reason);
    void finishFlattening(const std::weak_ptr<ui::ImageView> &container, const Picture &flat);
    /// The Shadow and Shattering switches of the whole-photo panel.
    void switchPieceEffect(ui::Control &sender);
    /// The options panel's shattering: the piece's step-one panel on fresh pieces.
    void shatterFromPreview();
    void showProcessingAlert(int callerTag);
    void dismissProcessingAlert();

    std::shared_ptr<ScreenViews> m_views;
    std::shared_ptr<KeyView> m_view;
    std::shared_ptr<ui::Button> m_backControl;
    Confirmation m_leaveQuestion;
    std::function<void()> m_onHome;
    std::shared_ptr<ui::ImageView> m_photoView;
    std::shared_ptr<ui::ImageView> m_piece;
    /// Where the piece was cut from, in the photo view: re-entering the piece puts it back there.
    QRectF m_pieceHome;
    /// The plain cut-out as cut (Tem may be rewritten by the compositor meanwhile).
    Picture m_cutOut;
    /// The piece as the running effect flow took it: its frame on the photo (after moves and
    /// pinches) and its picture (after the effects before). The flow's steps, <-Prev and the
    /// styles start from it, and the result lies there.
    QRectF m_flowStartFrame;
    Picture m_flowStartPicture;
    /// The photo view shows the cut's black hole under the piece (until the effects lay the
    /// photo back whole).
    bool m_holeShown = false;
    /// A smart cut's hole (its shape over m_pieceHome), for renders from the original photo;
    /// none after a rectangle's cut.
    Picture m_holeShape;
    /// Told by the intake for the next job, and the job's own while the photo view shows the
    /// picked photo's working copy (unknown once merged into or replaced).
    OriginalPhoto m_pickedOriginal;
    OriginalPhoto m_original;
    ui::ScheduledCall m_jobKeeping;
    EffectMode m_effectMode = EffectMode::None;

    EditingJob m_job;
    JobHistory m_history;
    /// The photo's name for the title, and the job's state the last save took (none: not
    /// known to be saved).
    QString m_photoTitle;
    std::optional<JobRecord> m_savedState;
    bool m_savedStateIsNextNoted = false;
    std::function<void(const QString &)> m_onTitleChanged;
    /// The arrow keys move the piece (last placed) rather than the selected text layer.
    bool m_nudgesPiece = true;
    CropRectangle m_crop;
    PlacementGestures m_gestures;
    OptionsPanel m_options;
    TapStamp m_stamp;
    PhotoReplacement m_replacement;
    BackAnimationPanel m_backAnimation;
    LiftedPiece m_lift;
    FinishingToolbar m_toolbar;
    std::unique_ptr<WordTable> m_wordTable;
    EdgeFeathering m_feathering;
    NamingFields m_naming;
    ColourPanel m_colourPanel;
    std::function<void()> m_openTextOverlay;
    std::function<void()> m_exportNamed;
    QStringList m_editedNames;
    Saving m_saving;

    AdjustPanel m_adjust;
    EdgeExpansion m_expansion{*m_views};
    /// The flattened picture (or the last style) Exposure and Saturation restart from.
    Picture m_flattenedBase;
    /// The whole-photo container's size when its flow began: the base of its Scale.
    QSizeF m_wholePhotoViewSize;
    int m_lastFilterTag = 0;
    /// The job the "Processing..." alert announced, half a second ahead.
    ui::ScheduledCall m_deferredJob;
    std::shared_ptr<ui::AlertView> m_processingAlert;
    SubjectTouchUp m_touchUp{*m_views, [this](const SubjectStroke &stroke) { applySubjectStroke(stroke); }};
    BusyNotice m_findingSubject{QStringLiteral("Finding the subject…")};
    Confirmation m_noSubject;
    /// Declared last: destroyed first, so no result arrives at a half-destroyed editor.
    ui::JobRunner m_segmentation{[this](const QString &reason) {
        m_findingSubject.stop();
        effectFailed(reason);
    }};
    ui::JobRunner m_effects{[this](const QString &reason) { effectFailed(reason); }};
};

} // namespace vimora
