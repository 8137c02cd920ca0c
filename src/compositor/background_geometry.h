#pragma once

// The sizes the compositor's background and working view derive from a picture's size.

#include <QRectF>
#include <QSizeF>

#include "platform/device.h"

namespace vimora {

/// The working view's size covering the screen at ratio r = height / width, for the
/// orientation string "w" (wide) or any other.
QSizeF openBackViewSize(DeviceProfile profile, bool wide, float r);

/// The size a saved picture is scaled to so that it covers the tablet screen.
QSizeF backgroundCoverSize(QSizeF picture);
/// The background view's size covering the device's screen at the picture's ratio.
QSizeF backgroundViewSize(DeviceProfile profile, QSizeF picture);

/// The background view's frame showing the whole picture: as large as fits canvas at the
/// picture's ratio, centred in it (empty for an empty picture or canvas).
QRectF backgroundFitFrame(const QRectF &canvas, QSizeF picture);

} // namespace vimora
