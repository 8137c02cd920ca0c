#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include "imaging/picture.h"

namespace vimora {

/// PNG zlib level for working files: level 1 costs a fraction of the default and the files
/// never leave the machine.
inline constexpr int kFastPngCompression = 1;

// Pictures beyond the limits of picture.h are refused from their header, before a pixel is
// decoded.

/// "The photo is W × H pixels: Vimora opens photos of up to 100 megapixels and 32768 pixels a side."
QString pictureTooLargeMessage(QSize size);

/// Why a read gave no picture: Missing when no regular file is there (nothing, a folder),
/// Unreadable for a file that holds no picture Vimora decodes.
enum class ReadFailure { None, Missing, TooLarge, Unreadable };

struct PictureRead
{
    Picture picture;
    ReadFailure failure = ReadFailure::None;
    QSize size; ///< the size the header states, where it could be read
};

/// Decodes a PNG or JPEG file, EXIF orientation applied (upright, tag Up). No picture for a
/// missing, empty or corrupt file, a directory, or a picture beyond the limits. A file cut short
/// may still decode, the missing rows filled in by the decoder: isImageDataComplete tells.
Picture readPicture(const QString &path);
Picture decodePicture(const QByteArray &bytes);
/// readPicture, telling why there is no picture.
PictureRead readPictureChecked(const QString &path);

/// A JPEG photo brought to a size (upright) by decoding it at the smallest DCT scale (1/8, 1/4,
/// 1/2 or full) still at or above that size, then resampling as resampled() does: a fraction
/// of the full decode's work for a photo much larger than the size.
struct ReducedJpeg
{
    Picture picture; ///< upright, exactly the size asked; none when the file cannot be decoded so
    QSize size;      ///< the photo's own size, upright (valid whenever the header was read)
    int scale = 8;   ///< the DCT scale used, in eighths
};
/// Colour spaces other than grey, YCbCr and RGB (CMYK) give no picture: decode those in full.
ReducedJpeg readJpegReduced(const QString &path, QSize box);
/// The DCT scale, in eighths, readJpegReduced decodes a photo of that size at for a box.
int jpegScaleFor(QSize photo, QSize box);

/// False when JPEG or PNG data ends before the picture does: a JPEG without an end marker
/// after its last scan, a PNG without its end chunk. Other data counts as complete.
bool isImageDataComplete(const QByteArray &bytes);
/// The same for a file (false when it cannot be read).
bool isImageFileComplete(const QString &path);

/// PNG bytes keeping alpha; compression 0..9 (Qt's quality scale is inverted internally).
QByteArray encodePng(const Picture &picture, int compression = kFastPngCompression);
/// A standard PNG (RGB when opaque, else straight RGBA) deflated in horizontal strips on several
/// threads at once: for a picture the user waits on. The same bytes whatever the thread count;
/// a little larger than encodePng at the same level (Paeth on every row, strips not sharing a window).
QByteArray encodePngStrips(const Picture &picture, int compression = kFastPngCompression);
/// JPEG bytes at quality 0..1; transparent areas land on black.
QByteArray encodeJpeg(const Picture &picture, double quality);

/// Writes bytes to path atomically (replace only when complete). False on any failure.
bool writeFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace vimora
