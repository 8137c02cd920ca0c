// A picked photo file through the intake: the picker's read (with its damaged-file check), the
// JPEG round trip, the working copy within the device's longest side and the thumbnail.
#include <cmath>

#include "app/intake_geometry.h"
#include "app/intake_pictures.h"
#include "fuzz_support.h"
#include "imaging/codec.h"
#include "platform/photo_picker.h"

using namespace vimora;

namespace {
// Past this the steps below only take longer; the decoder's own limits are what is tried.
constexpr qint64 kMostPixelsWorkedOn = qint64(1) << 22;

void checkWithin(const Picture &working, const Picture &decoded, double maxSide)
{
    fuzz::check(!working.isNull(), "a decoded photo gives a working copy");
    const QSizeF size = working.size();
    fuzz::check(size.width() >= 1 && size.height() >= 1, "the working copy is at least a pixel a side");
    const bool fits = decoded.size().width() <= maxSide && decoded.size().height() <= maxSide;
    fuzz::check(!fits || size == decoded.size(), "a photo within the longest side is kept at its size");
    fuzz::check(size.width() <= maxSide + 1 && size.height() <= maxSide + 1, "the working copy is within the longest side");
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::initialise(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    // No suffix: the reader goes by the content, as it does for a photo named wrongly.
    const QString path = fuzz::writeScratchFile(QStringLiteral("picked"), bytes);
    const PhotoPicker::Result picked = readPickedPhoto(path);
    fuzz::check(picked.photo.isNull() != picked.error.isEmpty(), "a photo or a reason, never both");
    fuzz::check(!picked.damaged || !picked.photo.isNull(), "only a decoded photo is called damaged");
    fuzz::check(picked.damaged == (!picked.photo.isNull() && !isImageDataComplete(bytes)),
                "the damaged mark follows the data's end");
    if (picked.photo.isNull() || qint64(picked.photo.pixelWidth()) * picked.photo.pixelHeight() > kMostPixelsWorkedOn)
        return 0;

    const Picture decoded = intakeRoundTrip(picked.photo);
    fuzz::check(!decoded.isNull(), "every decoded photo survives the JPEG round trip");
    fuzz::check(decoded.size() == picked.photo.size(), "the JPEG round trip keeps the size");
    // The tablet's side, and a small one so thin panoramas meet the one-pixel floor.
    for (const double maxSide : {intakeMaxSide(DeviceProfile::Tablet), 5.0}) {
        const Picture working = intakeWorkingCopy(decoded, maxSide);
        checkWithin(working, decoded, maxSide);
        const Picture thumb = intakeThumbnail(working);
        const QSizeF t = thumb.isNull() ? QSizeF() : thumb.size();
        fuzz::check((t.width() == 156 && t.height() >= 1 && t.height() <= 1560)
                        || (t.height() == 1560 && t.width() >= 1 && t.width() <= 156),
                    "the thumbnail is 156 points wide, or 1560 tall for a photo over ten times taller");
    }
    return 0;
}
