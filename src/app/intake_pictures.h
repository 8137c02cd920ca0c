#pragma once

// The pictures the photo intake makes from a picked photo, apart from the screens so the
// fuzz targets can drive the same steps.

#include "imaging/picture.h"

namespace vimora {

/// The photo through the JPEG round trip every size is measured after (quality 1, alpha lost
/// to black). No picture when it cannot be encoded or decoded again.
Picture intakeRoundTrip(const Picture &photo);

/// The working copy of a round-tripped photo: the photo itself within maxSide, else scaled to
/// fit intakeWorkingSize with at least a pixel a side. No picture for no picture.
Picture intakeWorkingCopy(const Picture &decoded, double maxSide);

/// The intake's thumbnail of a working copy: 156 points wide, at least a pixel tall.
Picture intakeThumbnail(const Picture &working);

} // namespace vimora
