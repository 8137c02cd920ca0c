#pragma once

// "Original size": the composition the editor shows, rendered again from the photo as it was
// picked, at that photo's own resolution, rather than from the smaller working copy. The piece,
// its effects and the text are the working copy's pictures, scaled with the frame.

#include <optional>

#include <QRectF>
#include <QSize>
#include <QString>

#include "editor/view_snapshot.h"
#include "imaging/picture.h"

namespace vimora {

/// Longest side an original-size picture gets; a larger original is brought down to it.
inline constexpr int kLargestOriginalSide = 8192;

/// The photo the job was picked from, as the intake found it.
struct OriginalPhoto
{
    QString path;
    /// Upright, as readPicture gives it.
    QSize size;
    bool isKnown() const { return !path.isEmpty() && !size.isEmpty(); }
};

/// What an original-size render needs, copied on the UI thread.
struct OriginalComposition
{
    /// The composition (see compositionSnapshot), in the photo view's points.
    ViewSnapshot composition;
    OriginalPhoto original;
    /// The cut's hole in the photo view's points; the working photo has it punched, the
    /// original has not.
    std::optional<QRectF> hole;
    /// A smart cut's hole: its shape over the hole's rectangle (black with the subject's
    /// coverage); none for a rectangle's.
    Picture holeShape;
};

/// The size an original-size save has: the original's, brought within kLargestOriginalSide a
/// side keeping its shape.
QSize originalSaveSize(QSize original);

/// The composition over the original photo (read by the caller, off the UI thread), at
/// originalSaveSize. None when the photo is missing or is not the size recorded (the file
/// changed since the photo was picked).
Picture renderFromOriginal(const OriginalComposition &job, const Picture &original);

} // namespace vimora
