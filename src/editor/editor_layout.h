#pragma once

// Frames the editor's views take, per device and orientation: pure functions the controller
// and the tests share.

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include "platform/device.h"

namespace vimora {

/// The editor view's frame: the screen in the given orientation.
QRectF editorFrame(DeviceProfile profile, bool landscape);

/// The photo view's frame for a photo of the given size in a controller view of that centre:
/// tablet 650 wide (landscape photo) or 650 tall and 50 points above centre (portrait photo);
/// phone 300 wide or 380 tall, centred. A photo without size gives a zero frame at the centre.
QRectF photoViewFrame(DeviceProfile profile, QSizeF photo, QPointF controllerCentre);

/// The top toolbar's frame after a rotation.
QRectF rotatedToolbarFrame(DeviceProfile profile, bool landscape);

/// Side of the square crop rectangle first laid over the photo.
double initialCropSide(DeviceProfile profile);

/// The rectangle slid, never resized, until it lies inside the area; one larger than the area
/// is pinned to its top-left corner.
QRectF slidInside(QRectF r, const QRectF &area);

/// Where the adjust panel opens: wholly inside the free area, clear of the work it adjusts
/// (the piece, or the whole photo) when any place is. Places are tried below, right of, left
/// of and above the work, each slid along the work's side to stay inside the free area; when
/// none is clear, the one covering the least of the work wins, the earlier on a tie. A panel
/// larger than the free area is pinned to its top-left corner.
QRectF adjustPanelFrame(const QRectF &freeArea, const QRectF &work, QSizeF panel);

/// The options panel's frame.
QRectF optionsPanelFrame(DeviceProfile profile, bool landscape);

/// The preview frame's size inside a panel of the given width: 0.917 of it, 16:9 or 4:3.
QSizeF previewFrameSize(double panelWidth, bool sixteenByNine);

/// The photo layer inside the preview frame; overflowsVertically is the "UD" case.
struct PhotoLayerFit
{
    QSizeF size;
    bool overflowsVertically = false;
};
PhotoLayerFit photoLayerFit(QSizeF photo, QSizeF preview, bool fourByThree);

} // namespace vimora
