#pragma once

// The crop rectangle: laid over the photo view with four corner handles and a done button,
// dragged by its body or its corners, and the cut it makes at the photo's full resolution.

#include <array>
#include <functional>
#include <memory>

#include <QRectF>

#include "editor/crop.h"
#include "editor/drag_follower.h"
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
    /// reference: the view drags are measured in (the editor's own view); onBodyDrag runs on
    /// every report of a body drag.
    CropRectangle(const ui::View *reference, std::function<void()> onBodyDrag);

    /// Lays a new rectangle in the middle of photo, its handles, and the done button on
    /// buttonHost; a rectangle laid before goes.
    void justSaveToAlbumC(ui::ImageView &photo, ui::View &buttonHost, std::function<void()> onDone);
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

    /// A new job: no rectangle is laid yet.
    void forget();

private:
    void dragCorner(ui::PanRecognizer &pan, CropHandle handle);
    void centreHandles();
    void removeViews();

    DragFollower m_drag;
    std::function<void()> m_onBodyDrag;
    bool m_adjusting = false; // between laying the rectangle and the cut
    std::shared_ptr<ui::ImageView> m_rectangle;
    /// In CropHandle order: top-right, bottom-right, top-left, bottom-left.
    std::array<std::shared_ptr<ui::ImageView>, 4> m_handles;
    std::shared_ptr<ui::Button> m_doneButton;
    CropCorners m_corners;
};

} // namespace vimora
