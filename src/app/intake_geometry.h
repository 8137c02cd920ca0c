#pragma once

// The sizes the photo intake derives from a photo's size.

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

} // namespace vimora
