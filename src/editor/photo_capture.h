#pragma once

// The picture the editor saves or merges: the photo frame as the user sees it, minus what is
// only there to help the user (the lifted piece's shadow and outline pulse, hints, handles,
// the crop rectangle and its overlay, selection marks, the photo's screen border). Every save,
// the e-mail, the saved-pictures copy and the "Text" merge go through it.

#include <vector>

#include <QSize>

#include "editor/view_snapshot.h"
#include "imaging/picture.h"
#include "ui/image_view.h"

namespace vimora {

/// Which text layers a composition takes.
enum class TextLayers {
    /// Every text layer of the editor layer, wherever it lies (saving).
    All,
    /// Only those inside the photo view (the merge: the others stay as layers over the result).
    OnPhotoOnly,
};

/// Whether a composition takes the cut piece.
enum class PieceLayer { Included, Left };

/// What belongs to the picture, copied on the UI thread in the photo view's bounds
/// coordinates: the photo, the cut piece (its picture, pieces, alpha and place, not its lift
/// shadow or border) and the text layers (a view tagged kFirstTextLabelTag or more: its
/// picture, alpha and place). Anything else laid on the photo is a helper and left out.
ViewSnapshot compositionSnapshot(const ui::ImageView &photoView, const ui::View &editorLayer,
                                 TextLayers text = TextLayers::All, PieceLayer piece = PieceLayer::Included);

/// The composition drawn onto pixels: the photo frame scaled to that size (non-uniformly if
/// the shapes differ). Safe off the UI thread. None for an empty size.
Picture renderComposition(const ViewSnapshot &composition, QSize pixels);

/// Both at once, on the UI thread.
Picture capturePhotoView(const ui::ImageView &photoView, const ui::View &editorLayer, QSize pixels);

/// The text layers of editorLayer (outermost ones only: a layer's own sub-views draw with it).
std::vector<const ui::View *> textLabels(const ui::View &editorLayer);

} // namespace vimora
