#include "editor/photo_capture.h"

#include <QTransform>

#include "editor/piece_grid.h"
#include "editor/view_tags.h"

namespace vimora {

namespace {
bool isTextLabel(const ui::View &view)
{
    return view.tag() >= kFirstTextLabelTag;
}

bool isShown(const ui::View &view)
{
    return !view.isHidden() && view.alpha() > 0;
}

void collectLabels(const ui::View &view, std::vector<const ui::View *> &labels)
{
    for (const ui::ViewPtr &sub : view.subviews()) {
        if (isTextLabel(*sub))
            labels.push_back(sub.get());
        else
            collectLabels(*sub, labels);
    }
}

// Maps a view's bounds coordinates onto another view's (an affine map: three points fix it).
QTransform mapping(const ui::View &from, const ui::View &to)
{
    const QPointF o = from.convertPointTo(QPointF(0, 0), &to);
    const QPointF x = from.convertPointTo(QPointF(1, 0), &to) - o;
    const QPointF y = from.convertPointTo(QPointF(0, 1), &to) - o;
    return QTransform(x.x(), x.y(), y.x(), y.y(), o.x(), o.y());
}

/// The view's own look without what marks it on screen: no border is ever snapshotted, the
/// shadow and the sub-views are the caller's choice.
ViewSnapshot bareSnapshot(const ui::View &view)
{
    ViewSnapshot snapshot = snapshotOf(view);
    snapshot.children.clear();
    snapshot.shadowOpacity = 0;
    return snapshot;
}

/// A text layer: its picture where it lies; handles and marks on it are not the text.
ViewSnapshot textSnapshot(const ui::View &label)
{
    return bareSnapshot(label);
}

/// The piece container: its picture and its grid pieces (their Shadow-switch shadows are an
/// effect and stay), without the lifted look.
ViewSnapshot pieceSnapshot(const ui::View &container)
{
    ViewSnapshot snapshot = bareSnapshot(container);
    for (const ui::ImageView *piece : piecesOf(container))
        if (isShown(*piece))
            snapshot.children.push_back(snapshotOf(*piece));
    return snapshot;
}
} // namespace

std::vector<const ui::View *> textLabels(const ui::View &editorLayer)
{
    std::vector<const ui::View *> labels;
    collectLabels(editorLayer, labels);
    return labels;
}

ViewSnapshot compositionSnapshot(const ui::ImageView &photoView, const ui::View &editorLayer, TextLayers text,
                                 PieceLayer pieceLayer)
{
    ViewSnapshot composition = bareSnapshot(photoView);
    // The photo frame: nothing drawn outside it is in the picture.
    composition.clips = true;
    for (const ui::ViewPtr &sub : photoView.subviews()) {
        if (!isShown(*sub))
            continue;
        if (sub->tag() == kPieceTag || sub->tag() == kWholePhotoPieceTag) {
            if (pieceLayer == PieceLayer::Included)
                composition.children.push_back(pieceSnapshot(*sub));
        }
        else if (isTextLabel(*sub))
            composition.children.push_back(textSnapshot(*sub));
    }
    if (text == TextLayers::OnPhotoOnly)
        return composition;
    // Layers laid beside the photo view rather than on it still belong to the picture.
    for (const ui::View *label : textLabels(editorLayer)) {
        if (!isShown(*label) || label == &photoView || label->isDescendantOf(&photoView) || !label->superview())
            continue;
        ViewSnapshot snapshot = textSnapshot(*label);
        snapshot.placement = mapping(*label->superview(), photoView);
        composition.children.push_back(std::move(snapshot));
    }
    return composition;
}

Picture renderComposition(const ViewSnapshot &composition, QSize pixels)
{
    if (pixels.isEmpty() || composition.size.isEmpty())
        return {};
    return renderSnapshot(composition, pixels, pixels.width() / composition.size.width(),
                          pixels.height() / composition.size.height());
}

Picture capturePhotoView(const ui::ImageView &photoView, const ui::View &editorLayer, QSize pixels)
{
    return renderComposition(compositionSnapshot(photoView, editorLayer), pixels);
}

} // namespace vimora
