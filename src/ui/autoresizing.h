#pragma once

#include <QRectF>
#include <QSizeF>

namespace vimora::ui {

/// Autoresizing flags; a mask is their bit-or (the screens use 63 = all six and
/// 45 = the four margins). The flexible parts of an axis share a parent's size change.
enum AutoresizingFlag : unsigned {
    AutoresizingNone = 0,
    FlexibleLeftMargin = 1,
    FlexibleWidth = 2,
    FlexibleRightMargin = 4,
    FlexibleTopMargin = 8,
    FlexibleHeight = 16,
    FlexibleBottomMargin = 32,
};
using AutoresizingMask = unsigned;

/// A child's frame after its parent's bounds size went from oldParent to newParent.
/// Per axis the change is shared among the flexible parts (margin, size, margin) in
/// proportion to their current sizes, equally when they sum to 0; nothing is rounded, and a
/// size that would turn negative becomes 0. Unrounded sharing is reversible.
QRectF autoresizedFrame(const QRectF &frame, AutoresizingMask mask, QSizeF oldParent, QSizeF newParent);

} // namespace vimora::ui
