#pragma once

#include <QRectF>
#include <QSizeF>

namespace vimora::ui {

/// How a view lays its content (an image view's picture) into its bounds.
enum class ContentMode {
    ScaleToFill = 0,     // stretched over the bounds, aspect ratio not kept
    ScaleAspectFit = 1,  // largest uniform scale that fits, centred
    ScaleAspectFill = 2, // smallest uniform scale that covers, centred; overflows the bounds
    Redraw = 3,          // as ScaleToFill for pictures
    Center = 4,          // natural size, centred
    Top = 5,
    Bottom = 6,
    Left = 7,
    Right = 8,
    TopLeft = 9,
    TopRight = 10,
    BottomLeft = 11,
    BottomRight = 12,
};

/// Where content of contentSize (points) lands for the mode inside bounds. Not rounded.
/// An empty content size gives an empty rectangle at the bounds' origin.
QRectF contentRect(ContentMode mode, const QRectF &bounds, QSizeF contentSize);

} // namespace vimora::ui
