#pragma once

// The text overlay: words typed into a box, rendered once in red and laid as
// layers over the screen's picture, then recoloured, faded, resized, stretched,
// flipped, skewed and rotated; ready-made word pictures from a searchable
// catalogue; a tips panel.
//
// One object per concern (the text box, the layers, the corner handles, the
// colour and edit panel, the transform tools, the font chooser, the catalogue,
// the tips); this screen object coordinates them and holds the gesture
// handlers. It knows only the views it is given, so the editor and the
// compositor each hold one.

#include <functional>
#include <memory>
#include <optional>
#include <set>

#include <QStringList>

#include "imaging/picture.h"
#include "screenkit/drag_follower.h"
#include "screenkit/pinch_scaler.h"
#include "text/corner_handles.h"
#include "text/edit_panel.h"
#include "text/font_chooser.h"
#include "text/text_entry_box.h"
#include "text/text_layer_set.h"
#include "text/tips_panel.h"
#include "text/transform_bar.h"
#include "text/word_catalogue.h"
#include "text/word_table_views.h"
#include "ui/alert_view.h"

namespace vimora::ui {
class LongPressRecognizer;
class PinchRecognizer;
class TapRecognizer;
} // namespace vimora::ui

namespace vimora {

/// The done button of transform mode.
inline constexpr int kTransformDoneTag = 123;
/// Word-art groups: a layer found inside a container with this tag is lifted
/// out on a tap.
inline constexpr int kWordGroupTag = 555;

class WordTable : private ui::AlertViewDelegate {
public:
    explicit WordTable(WordTableViews views);
    ~WordTable() override;
    WordTable(const WordTable &) = delete;
    WordTable &operator=(const WordTable &) = delete;

    // --- Life ---

    /// Loads the word list ("wordE"); the tags start at 10000.
    void awakeFromNib();
    void viewDidLoad();
    /// Runs when the text box goes away (a layer was placed, or the box was
    /// closed).
    void setOnTypingEnded(std::function<void()> ended) { m_onTypingEnded = std::move(ended); }
    /// Where a new layer lands (picture view coordinates): the part of the photo no control
    /// covers. The layer is centred in it and shrunk, keeping its shape, until it fits.
    void setLandingArea(std::function<QRectF()> area) { m_landingArea = std::move(area); }
    /// Runs after a layer was added, moved, resized, recoloured, faded, transformed or
    /// deleted: what the screen keeps of its layers is out of date.
    void setOnLayersChanged(std::function<void()> changed) { m_onLayersChanged = std::move(changed); }
    /// Lays a kept layer back (a resumed job), with the next tag and the gestures of a typed
    /// layer or, wordPicture, of a word-art picture. The caller places it.
    ui::ImageView &restoreLayer(const Picture &picture, const Picture &original, bool wordPicture);
    /// Whether the layer tagged tag came from the word-art catalogue.
    bool isWordPicture(int tag) const { return m_wordPictures.count(tag) > 0; }

    /// Escape: closes what of the overlay is on top (tips, catalogue, font chooser, transform
    /// mode, the panel, then the text box); false when none of it is open.
    bool closeTopPanel();

    // --- Text entry and rendering ---

    /// Opens the text box with its bar ("Done", "Font", "Words", "Tips",
    /// "Close").
    void noteViewOpen();
    void fontViewOpen();
    /// Chooses the font at this index of the word list.
    void fontType(int index);
    /// Renders the typed text and places it as a new layer; an empty text does
    /// nothing.
    void inputTextDone();
    Picture screenShotTextView();
    /// Leaves the text box without making a layer.
    void closeTextBox();

    // --- Colour and edit panel ---

    void colorSelectView();
    void colorSelectView2();
    void colorChoose();
    void diapearColorSelectView();
    void adjustTransparent();
    /// "-" shrinks by 0.95, "+" grows by 1.05, the selected layer's transform.
    void wordSize(const QString &senderTitle);
    void clearAll();
    /// The red, green, blue of a colour as 0..1.
    static void getRGBComponents(float components[3], const QColor &color);

    // --- Transform handles ---

    void handleMove(ui::PanRecognizer &pan);
    void handleMoveTView(ui::PanRecognizer &pan);
    void handleMove2(ui::PanRecognizer &pan) { handleCorner(text::Corner::LeftLower, pan); }
    void handleMove3(ui::PanRecognizer &pan) { handleCorner(text::Corner::LeftUpper, pan); }
    void handleMove4(ui::PanRecognizer &pan) { handleCorner(text::Corner::RightLower, pan); }
    void handleMove5(ui::PanRecognizer &pan) { handleCorner(text::Corner::RightUpper, pan); }
    void handleScale(ui::PinchRecognizer &pinch);
    /// A long press asks before deleting the pressed layer (it cannot come back).
    void handleLongPress(ui::LongPressRecognizer &press);
    /// The Delete key: removes the selected layer at once (the editor's Undo brings it back).
    /// False when no layer is selected on the screen.
    bool deleteSelectedLayer();
    /// An arrow key: moves the selected layer by offset points. False when none is selected.
    bool nudgeSelectedLayer(QPointF offset);
    /// The delete question on screen, or nullptr.
    ui::AlertView *deleteQuestion() const { return m_deleteQuestion.get(); }
    void handleSingleTap(ui::TapRecognizer &tap);
    void handleSingleTap2(ui::TapRecognizer &tap);
    /// The transform commands by sender tag (1 enter transform mode, 2 and 3
    /// flips, 8, 11 and 12 skew and bulge, 10 back to the first render, 13
    /// rotation, 111 cancel panel).
    void TransformExcute(int tag);
    void finishTransform();

    // --- Word-art catalogue and tips ---

    void arrayOpen();
    void showWordView();
    void smallTheButton(const QString &senderTitle);
    /// Drops the word picture of a catalogue row, as a new independent layer.
    void placeWord(int row);
    void selectTopViewRebuild();
    void drawAreaBegin();
    void neverShow();

    // --- State ---

    const QStringList &wAryE() const { return m_wAryE; }
    const QString &fontNam() const { return m_fontNam; }
    int tViewTag() const { return m_layers.tViewTag(); }
    int detectTag() const { return m_layers.detectTag(); }
    ui::ImageView *tView() const { return m_layers.tView(); }
    bool textInputDone() const { return m_textInputDone; }
    bool transformBegin() const { return m_transformBegin; }
    double lastScale() const { return m_pinch.lastScale(); }
    QPointF tViewPosition() const { return m_tViewPosition; }
    QSizeF tViewSize() const { return m_tViewSize; }

    text::TextEntryBox &entry() { return m_entry; }
    text::TextLayerSet &layers() { return m_layers; }
    text::CornerHandles &handles() { return m_handles; }
    text::EditPanel &panel() { return m_panel; }
    text::TransformBar &transformBar() { return m_transformBar; }
    text::WordCatalogue &catalogue() { return m_catalogue; }
    text::TipsPanel &tips() { return m_tips; }

private:
    void alertViewClickedButtonAtIndex(ui::AlertView &alert, int buttonIndex) override;
    void withdrawDeleteQuestion();
    /// Where transform mode's done control goes: above the transform bar's right end, clear of
    /// the screen's controls along the top and down the left.
    QRectF transformDoneFrame();
    void handleCorner(text::Corner corner, ui::PanRecognizer &pan);
    void armLayerForEditing(ui::View &layer);
    void armWordPicture(ui::View &picture);
    void enterTransformMode();
    /// Shows picture on the layer at the scale its first render had, about its
    /// centre.
    void showOnLayer(ui::ImageView &layer, const Picture &picture);
    void addTextBarButtons();
    void typingEnded();
    void layersChanged();

    WordTableViews m_views;
    QStringList m_wAryE;
    QString m_fontNam;
    bool m_textInputDone = false;
    bool m_transformBegin = false;
    // Measured in the dragged view's parent, which does not move with it.
    DragFollower m_drag = DragFollower::inSuperview();
    PinchScaler m_pinch;
    QPointF m_tViewPosition;
    QSizeF m_tViewSize;
    std::shared_ptr<ui::View> m_transformDone;
    std::function<void()> m_onTypingEnded;
    std::function<QRectF()> m_landingArea;
    std::function<void()> m_onLayersChanged;
    std::set<int> m_wordPictures;
    std::shared_ptr<ui::AlertView> m_deleteQuestion;
    std::weak_ptr<ui::View> m_pressedLayer;

    text::TextEntryBox m_entry;
    text::TextLayerSet m_layers;
    text::CornerHandles m_handles;
    text::EditPanel m_panel;
    text::TransformBar m_transformBar;
    text::FontChooser m_fonts;
    text::WordCatalogue m_catalogue;
    text::TipsPanel m_tips;
};

} // namespace vimora
