#pragma once

// What a tree of image views shows, copied out of the views on the UI thread so that the
// picture can be drawn on another: the flattening of the pieces and the merge into the photo
// render from a snapshot while the screen keeps drawing.

#include <vector>

#include <QColor>
#include <QPointF>
#include <QSize>
#include <QSizeF>
#include <QTransform>

#include "imaging/picture.h"
#include "ui/affine_transform.h"
#include "ui/content_mode.h"

class QPainter;

namespace vimora::ui {
class View;
}

namespace vimora {

struct ViewSnapshot
{
    Picture image;
    QSizeF size;
    /// In the superview's coordinates; the transform turns the view about it.
    QPointF center;
    /// Maps the superview's coordinates into the parent snapshot's: a view gathered from
    /// elsewhere in the tree (a text layer beside the photo) keeps its place over the photo.
    QTransform placement;
    ui::AffineTransform transform;
    double alpha = 1;
    QColor background = Qt::transparent;
    ui::ContentMode contentMode = ui::ContentMode::ScaleToFill;
    bool clips = false;
    /// A rectangular shadow of the view's bounds (the pieces' shadow), when opacity > 0.
    QPointF shadowOffset;
    double shadowOpacity = 0;
    std::vector<ViewSnapshot> children;
};

/// The view and its visible subviews (hidden or fully transparent ones left out). Borders and
/// text are not part of a snapshot: only pictures, backgrounds and shadows.
ViewSnapshot snapshotOf(const ui::View &view);

/// The view's own content and subviews in its own coordinates (its centre and transform
/// ignored, as a capture of the view sees it), scaled by (sx, sy) into a transparent canvas
/// of that size. Safe off the UI thread. At least 1 x 1.
Picture renderSnapshot(const ViewSnapshot &view, QSize canvas, double sx = 1, double sy = 1);

} // namespace vimora
