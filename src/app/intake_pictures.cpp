#include "app/intake_pictures.h"

#include <algorithm>
#include <cmath>

#include "app/intake_geometry.h"
#include "imaging/codec.h"
#include "imaging/geometry.h"
#include "imaging/scale_image.h"

namespace vimora {

namespace {
constexpr double kJpegQuality = 1.0;

// scaleToFitSize with a floor of one pixel a side: a panorama thinner than a pixel at the
// working size still gives a picture.
Picture scaledToBox(const Picture &picture, QSizeF box)
{
    box = QSizeF(std::max(1.0, std::floor(box.width())), std::max(1.0, std::floor(box.height())));
    Picture out = scaleToFitSize(picture, box);
    if (out.isNull())
        out = ScaleImage().imageWithImage(picture, box);
    return out;
}
} // namespace

Picture intakeRoundTrip(const Picture &photo)
{
    if (photo.isNull())
        return {};
    return decodePicture(encodeJpeg(photo, kJpegQuality));
}

Picture intakeWorkingCopy(const Picture &decoded, double maxSide)
{
    if (decoded.isNull())
        return {};
    const QSizeF box = intakeWorkingSize(decoded.size(), maxSide);
    return box == decoded.size() ? decoded : scaledToBox(decoded, box);
}

IntakeRead intakeWorkingCopyOfFile(const QString &path, QSize photoSize, double maxSide)
{
    const QSizeF box = intakeWorkingSize(photoSize, maxSide);
    if (box != QSizeF(photoSize)) {
        // The size scaledToBox gives the full decode.
        const QSize fit = sizeToFit(photoSize, QSizeF(std::max(1.0, std::floor(box.width())),
                                                     std::max(1.0, std::floor(box.height()))));
        if (!fit.isEmpty()) {
            ReducedJpeg reduced = readJpegReduced(path, fit);
            if (!reduced.picture.isNull() && reduced.size == photoSize)
                return {reduced.picture, reduced.size};
        }
    }
    const Picture decoded = intakeRoundTrip(readPicture(path));
    return {intakeWorkingCopy(decoded, maxSide), decoded.bitmap().size()};
}

Picture intakeThumbnail(const Picture &working)
{
    if (working.isNull())
        return {};
    const QSizeF size = intakeThumbnailSize(working.size());
    return ScaleImage().imageWithImage(working, QSizeF(size.width(), std::max(1.0, std::floor(size.height()))));
}

} // namespace vimora
