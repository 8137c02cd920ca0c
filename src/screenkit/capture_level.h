#pragma once

// How large both screens capture their composition for saving.

#include "ui/device_profile.h"

namespace vimora {

/// Capture levels outside this range count as its nearest end (at most an eightfold picture).
inline constexpr int kLowestCaptureLevel = 0;
inline constexpr int kHighestCaptureLevel = 5;

/// How much a capture at a level enlarges the composition. Each level away from the one that
/// needs no enlarging doubles it: on a tablet level 2 is the screen's size; on a phone, whose
/// points are about half a tablet's, level 2 doubles, lower levels double again, and levels
/// above 2 stay at screen size. Never below 1: a capture never loses pixels the screen has.
double captureLevelScale(int level, ui::DeviceProfile profile);

} // namespace vimora
