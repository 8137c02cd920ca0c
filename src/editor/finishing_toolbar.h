#pragma once

// The finishing toolbar after a cut (Color, ChangeFoto, Text, Save, Home), the side controls of
// the finished cut (text overlay, naming) and the hint strip along the bottom of the screen.

#include <functional>
#include <memory>

#include <QRectF>
#include <QString>

#include "platform/device.h"
#include "ui/button.h"
#include "ui/image_view.h"

namespace vimora {

struct ScreenViews;

/// What the toolbar's buttons and side controls do; the editor supplies them. An action left
/// empty makes its control do nothing.
struct FinishingActions
{
    std::function<void()> color;      // "Color", tag 200
    std::function<void()> changeFoto; // "ChangeFoto", tag 300
    std::function<void()> text;       // "Text", tag 105: merge and a new cut
    std::function<void()> save;       // "Save", tag 100
    std::function<void()> home;       // "Home"
    std::function<void()> write;      // side control "Write": the text overlay
    std::function<void()> names;      // side control "Names": the naming strip on and off
    std::function<void()> frame;      // side control "Frame": the options panel on the piece
    std::function<void()> undo;       // "Undo": back one step of the job
    std::function<void()> redo;       // "Redo": forward one undone step
};

/// One button of the toolbar on the current kind of device.
struct ToolbarButtonLayout
{
    QString title;
    int tag;
    QRectF frame;
    QString picture;
};

/// The five buttons, in order, on a tablet or a phone.
std::vector<ToolbarButtonLayout> toolbarButtons(bool tablet);

/// The side controls' frames in screen coordinates: the text overlay's, then the naming toggle's,
/// one above the other at the left, under the editor's Photos control.
QRectF writeControlFrame();
QRectF namesControlFrame();
/// The options panel's opener on the piece, at the right under the editor's Back control.
QRectF frameControlFrame(QSizeF screen);
/// Undo and Redo, side by side just above the toolbar's left end, in screen coordinates: from
/// the crop on, so an undone cut can be redone where there is no toolbar yet.
QRectF undoControlFrame(DeviceProfile profile, bool landscape);
QRectF redoControlFrame(DeviceProfile profile, bool landscape);
/// The naming strip: under the side controls, centred.
QRectF namingStripFrame(QSizeF screen);

class FinishingToolbar
{
public:
    FinishingToolbar(ScreenViews &views, FinishingActions actions);

    void finalAdjust();
    /// What Color, ChangeFoto and Text do, given the button's tag.
    void setEffectAction(std::function<void(int senderTag)> action);
    /// The hint strip; the shattering step has its own hint.
    void remindNew(bool shattering);
    void hideHint();
    /// After a turn: the side controls back at their screen places and a shown hint along the
    /// new bottom edge; what was hidden stays hidden.
    void relayout();

    /// Lays Undo and Redo into the editor layer at their screen places.
    void placeHistoryControls();
    /// Undo and Redo are enabled while there is a step to take.
    void setHistoryState(bool canUndo, bool canRedo);

    /// The naming strip's toggle, laid into the editor layer with the toolbar.
    std::shared_ptr<ui::Button> namesControl() const { return m_names; }

private:
    void placeSideControls();
    void placeHint();

    ScreenViews &m_views;
    FinishingActions m_actions;
    std::shared_ptr<ui::ImageView> m_hint;
    std::shared_ptr<ui::Button> m_write;
    std::shared_ptr<ui::Button> m_names;
    std::shared_ptr<ui::Button> m_frame;
    std::shared_ptr<ui::Button> m_undo;
    std::shared_ptr<ui::Button> m_redo;
};

} // namespace vimora
