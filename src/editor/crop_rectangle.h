#pragma once

// The crop rectangle: laid over the photo view with four corner handles and a done button,
// dragged by its body or its corners, and the cut it makes at the photo's full resolution.
// The rectangle may lie partly past the photo (the cut takes what lies on it), but never past
// the screen; its handles sit above the photo view, so they are never clipped away.

#include <array>
#include <functional>
#include <memory>

#include <QRectF>

#include "editor/crop.h"
#include "imaging/subject_cut.h"
#include "screenkit/drag_follower.h"
#include "ui/button.h"
#include "ui/image_view.h"

namespace vimora {

/// What a cut leaves: the piece and the frame it covers on the photo view, in points.
struct CutPiece
{
    Picture picture;
    QRectF frame;
};

class CropRectangle
{
public:
    /// editorView: the screen-sized view drags are measured in and the rectangle is kept
    /// within; onBodyDrag runs on every report of a body drag.
    CropRectangle(ui::View &editorView, std::function<void()> onBodyDrag);

    /// Side of a handle's touch area: a fingertip.
    static constexpr double kHandleTouchSide = 44;

    /// Lays a new rectangle in the middle of photo, and the done button, the smart cut
    /// beside it and the handles on buttonHost (over the photo, unclipped); a rectangle laid
    /// before goes.
    void justSaveToAlbumC(ui::ImageView &photo, ui::View &buttonHost, std::function<void()> onDone,
                          std::function<void()> onSmartCut = {});
    /// Whether a rectangle lies on photo, ready to cut.
    bool isLaidOn(const ui::ImageView &photo) const;

    /// Body drag of the rectangle.
    void handleMove(ui::PanRecognizer &pan);
    /// Corner drags: bottom-left, top-left, bottom-right, top-right.
    void handleMove2(ui::PanRecognizer &pan);
    void handleMove3(ui::PanRecognizer &pan);
    void handleMove4(ui::PanRecognizer &pan);
    void handleMove5(ui::PanRecognizer &pan);

    /// Cuts photo under the rectangle: Tem gets the piece's pixels, the photo view an upright
    /// photo with a black hole under them; the rectangle, handles and button go. The frame
    /// covers exactly the whole pixels taken.
    CutPiece cut(ui::ImageView &photo);
    /// The whole photo pixels the rectangle takes now (what cut would take); empty when none.
    QRect pixelRect(const ui::ImageView &photo) const;
    /// The smart cut of the rectangle's pixels: the piece is the subject alone, transparent
    /// around it, and the hole has its shape. subject was found on photo's picture.
    CutPiece cutShaped(ui::ImageView &photo, const SubjectCut &subject);

    /// A new job: no rectangle is laid yet.
    void forget();
    /// The photo view moved (a rotation): the handles follow its corners.
    void relayout() { centreHandles(); }

private:
    void dragCorner(ui::PanRecognizer &pan, CropHandle handle);
    void centreHandles();
    void removeViews();
    /// The part of the photo view's coordinates that lies on the screen.
    QRectF screenInPhoto() const;

    ui::View &m_editorView;
    std::weak_ptr<ui::ImageView> m_photo;
    DragFollower m_drag;
    std::function<void()> m_onBodyDrag;
    bool m_adjusting = false; // between laying the rectangle and the cut
    std::shared_ptr<ui::ImageView> m_rectangle;
    /// In CropHandle order: top-right, bottom-right, top-left, bottom-left.
    std::array<std::shared_ptr<ui::ImageView>, 4> m_handles;
    std::shared_ptr<ui::Button> m_doneButton;
    std::shared_ptr<ui::Button> m_smartButton;
    CropCorners m_corners;
};

} // namespace vimora
