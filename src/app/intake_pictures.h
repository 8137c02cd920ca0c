#pragma once

// The pictures the photo intake makes from a picked photo, apart from the screens so the
// fuzz targets can drive the same steps.

#include <QSize>
#include <QString>

#include "imaging/picture.h"

namespace vimora {

/// The photo through the JPEG round trip every size is measured after (quality 1, alpha lost
/// to black). No picture when it cannot be encoded or decoded again.
Picture intakeRoundTrip(const Picture &photo);

/// The working copy of a round-tripped photo: the photo itself within maxSide, else scaled to
/// fit intakeWorkingSize with at least a pixel a side. No picture for no picture.
Picture intakeWorkingCopy(const Picture &decoded, double maxSide);

/// A picked JPEG's working copy, read from its file: decoded straight at a DCT scale near the
/// working size where the photo is larger than it, else (and for a file the scaled decode cannot
/// read) through the full decode and round trip above. photoSize is the upright size the picker
/// read from the header. size: the photo's own upright size; no picture when it cannot be read.
struct IntakeRead
{
    Picture working;
    QSize size;
};
IntakeRead intakeWorkingCopyOfFile(const QString &path, QSize photoSize, double maxSide);

/// The intake's thumbnail of a working copy: 156 points wide, at least a pixel tall.
Picture intakeThumbnail(const Picture &working);

} // namespace vimora
