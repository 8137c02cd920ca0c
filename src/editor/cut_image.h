#pragma once

// The cut-out editor: an editing job on a list of photos, the photo view, the crop rectangle
// and the cut, the placement gestures and the options panel.
//
// One controller lives for the whole run. Its operations are implemented one concern per
// source file (job and photo view, crop rectangle, cut, gestures, photo replacement, options
// panel, capture, finishing toolbar, tap stamp); they share the fields of CutImageFields.

#include <functional>
#include <memory>

#include <QStringList>

#include "imaging/picture.h"
#include "widgets/screen_views.h"

namespace vimora {

namespace ui {
class Control;
class PanRecognizer;
class PinchRecognizer;
class TapRecognizer;
} // namespace ui

struct CutImageFields;

/// Tags the editor's views and controls carry.
inline constexpr int kPhotoViewTag = 555;
inline constexpr int kPieceTag = 666;
inline constexpr int kWholePhotoPieceTag = 777;
inline constexpr int kPreviewFrameTag = 4321;
inline constexpr int kDoneButtonTag = 100;
inline constexpr int kCutGuideTag = 1999;
inline constexpr int kAspectSwitchTag = 14;
/// The options panel's opener after a photo was replaced: the photo-backdrop panel.
inline constexpr int kTopOkTag = 2;
/// The editor's own button that opens the built-in image panel after a cut.
inline constexpr int kReplacePhotoTag = 400;

class CutImage
{
public:
    explicit CutImage(std::shared_ptr<ScreenViews> views);
    ~CutImage();
    CutImage(const CutImage &) = delete;
    CutImage &operator=(const CutImage &) = delete;

    // --- What the shell calls ---

    /// Loading: reads the built-in image lists.
    void awakeFromNib();
    /// Starts an editing job on photo files named relative to the temporary directory;
    /// the thumbnail list is not used.
    void getNumOfArray(const QStringList &photoNames, const QStringList &thumbNames);
    /// Relayout after the device turned to landscape / portrait.
    void rotateW();
    void rotateH();
    /// The controller's own view (inside the editor layer).
    ui::ViewPtr view() const;

    /// Runs after Home has emptied tmp/ and put the home picture back: the shell shows its
    /// category bar again.
    std::function<void()> onHome;

    // --- Editing job and photo view ---

    /// Loads photo 0 of the job, stores it as Origin and builds the photo view (tag 555).
    /// senderTag 0 stands for "no sender".
    void viewSelectedImage(int senderTag = 0);
    void spinBegin();
    void spinEnd();

    // --- Photo replacement ---

    /// Open the photo picker on the album to replace the photo.
    void toAlbumiPad(int ignored);
    void changeFoto();
    /// The picker's answers.
    void imagePickerDidFinishPickingImage(const Picture &picked);
    void imagePickerControllerDidCancel();
    void popoverControllerDidDismissPopover();
    /// The built-in image panel, and the action of its buttons (tag = index in the lists).
    void prepareToCut2();
    void excuteThePrepare(int tag);

    // --- Crop rectangle and cut ---

    /// Lays the crop rectangle, its four handles and the done button over the photo.
    void justSaveToAlbumC();
    /// Body drag of the view carrying the pan (the rectangle, the piece).
    void handleMove(ui::PanRecognizer &pan);
    /// Corner drags: bottom-left, top-left, bottom-right, top-right.
    void handleMove2(ui::PanRecognizer &pan);
    void handleMove3(ui::PanRecognizer &pan);
    void handleMove4(ui::PanRecognizer &pan);
    void handleMove5(ui::PanRecognizer &pan);
    /// The cut: full-resolution crop to Tem, the piece (tag 666) over the upright hole image,
    /// then the finishing toolbar.
    void showResult();
    /// Re-enters the piece: sender tag 200 works on the piece, 300 on the whole photo.
    void cutImageZ(int senderTag);
    /// The back-animation panel.
    void prepareToCut();

    // --- Placement gestures ---

    /// Drags the adjust panel by its handle (the panel's top-right corner follows it).
    void handleMove6(ui::PanRecognizer &pan);
    /// One pinch event: the view's transform is post-multiplied by the additive step.
    void handleScale(ui::PinchRecognizer &pinch);
    /// Cut-guide toggle in the "cut" / "bein" modes, then the colour pick.
    void handleSingleTap(ui::TapRecognizer &tap);

    // --- Options panel and capture ---

    /// Builds and shows the options panel; senderTag is the opener's tag (1 or 2) or the
    /// aspect switch's (14).
    void preView2(int senderTag);
    /// The options panel's OK until the scatter job takes it over: back to the editor on
    /// the (replaced) photo in Origin, with a new crop rectangle.
    void newCutOnOrigin();
    /// The panel switches' action; the aspect switch (tag 14) rebuilds the panel.
    void swicthState(ui::Control &sender);
    /// The view rendered at its size in points, scale 1.
    Picture screenShotView(const ui::View &view) const;
    /// The composition for saving: the main view at a level-dependent scale, cut to the
    /// background view's frame.
    Picture screenShots(int level);

    // --- Finishing toolbar ---

    void finalAdjust();
    /// Home: leaves the editor, empties tmp/ and shows the home picture.
    void closeDrawView();
    /// The hint strip along the bottom of the screen.
    void remindNew();

    /// The editor's fields, read by tests and by the flows built on the editor; a flow sets
    /// its tap mode (removeImgNam) or effect mode (effectOn) through them.
    const CutImageFields &fields() const { return *d; }
    CutImageFields &fields() { return *d; }

private:
    void layOutEditorView(bool landscape);
    void buildPhotoView(const Picture &photo);
    void attachPlacementGestures(ui::View &view);
    void dragCorner(ui::PanRecognizer &pan, int handle);
    void buildOptionControls(ui::View &panel);
    void addReplacePhotoButton();
    void handleStampTouch(ui::TouchPhase phase, const ui::TouchSet &touches);

    std::unique_ptr<CutImageFields> d;
};

} // namespace vimora
