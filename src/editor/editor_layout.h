#pragma once

// Frames the editor's views take, per device and orientation, and the arithmetic of its
// gestures: pure functions the controller and the tests share.

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

/// One pinch event: the factor the view's transform is post-multiplied by.
inline double pinchStepFactor(double lastScale, double scale)
{
    return 1.0 - (lastScale - scale);
}

/// The adjust panel's centre for its handle at p: the panel's top-right corner sits at p.
inline QPointF panelCentreForHandle(QPointF p, QSizeF panel)
{
    return {p.x() - panel.width() / 2, p.y() + panel.height() / 2};
}

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

/// Capture levels outside this range count as its nearest end (at most an eightfold picture).
inline constexpr int kLowestCaptureLevel = 0;
inline constexpr int kHighestCaptureLevel = 5;

/// How much a capture at a level enlarges the composition. Each level away from the one that
/// needs no enlarging doubles it: on a tablet level 2 is the screen's size; on a phone, whose
/// points are about half a tablet's, level 2 doubles, lower levels double again, and levels
/// above 2 stay at screen size. Never below 1: a capture never loses pixels the screen has.
double captureLevelScale(int level, DeviceProfile profile);

} // namespace vimora
