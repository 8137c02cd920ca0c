#pragma once

// Sizes the photo intake and the compositor's working view derive from a photo's size.

#include <QSizeF>

#include "platform/device.h"

namespace vimora {

/// Longest side a working copy may have: 2000 points on a tablet, 1500 otherwise.
double intakeMaxSide(DeviceProfile profile);

/// The working copy's size: unchanged when both sides are within max, else the longer side
/// becomes max and the other follows the ratio.
QSizeF intakeWorkingSize(QSizeF photo, double maxSide);

/// 156 points wide, keeping the ratio; a photo over ten times taller than wide gets a
/// thumbnail 1560 points tall and narrower (a side no less than one point), not a strip of
/// hundreds of thousands of rows.
QSizeF intakeThumbnailSize(QSizeF photo);

/// The working view's size covering the screen at ratio r = height / width, for the
/// orientation string "w" (wide) or any other.
QSizeF openBackViewSize(DeviceProfile profile, bool wide, float r);

/// The size a saved picture is scaled to so that it covers the tablet screen.
QSizeF backgroundCoverSize(QSizeF picture);
/// The background view's size covering the device's screen at the picture's ratio.
QSizeF backgroundViewSize(DeviceProfile profile, QSizeF picture);

} // namespace vimora
