#pragma once

// The photo view turned into the picture that is saved.

#include <QSize>

#include "imaging/picture.h"
#include "ui/image_view.h"

namespace vimora {

/// The photo view rendered at pixels (its photo's pixel size for a full-size save): the
/// photo with everything laid on it, the piece and every text label (a view tagged
/// kFirstTextLabelTag or more, on the photo view or anywhere else in editorLayer), all scaled
/// by pixels ÷ the view's size in points. No view is moved or resized for it, so there is
/// nothing to restore and the screen never shows an enlarged frame. The view's border, a
/// frame drawn for the screen only, is left out. None for an empty size.
Picture capturePhotoView(ui::ImageView &photoView, const ui::View &editorLayer, QSize pixels);

/// The text labels of editorLayer (outermost ones only: a label's own sub-labels draw with it).
std::vector<const ui::View *> textLabels(const ui::View &editorLayer);

} // namespace vimora
