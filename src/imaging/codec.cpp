#include "imaging/codec.h"

#include <algorithm>
#include <cmath>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

namespace vimora {

namespace {

PictureRead decodeFrom(QImageReader &reader)
{
    reader.setAutoTransform(true);
    // Guard against decompression bombs a header understates; the stated size is checked first.
    QImageReader::setAllocationLimit(1024);
    PictureRead result;
    result.size = reader.size();
    if (result.size.isValid() && !withinPictureLimits(result.size)) {
        result.failure = ReadFailure::TooLarge;
        return result;
    }
    QImage image;
    if (!reader.read(&image) || image.isNull() || !withinPictureLimits(image.size())) {
        result.failure = ReadFailure::Unreadable;
        return result;
    }
    result.picture = Picture(image);
    return result;
}

} // namespace

QString pictureTooLargeMessage(QSize size)
{
    return QStringLiteral("The photo is %1 × %2 pixels: Vimora opens photos of up to %3 megapixels and %4 pixels a side.")
        .arg(size.width())
        .arg(size.height())
        .arg(kMaxPicturePixels / 1'000'000)
        .arg(kMaxPictureSide);
}

PictureRead readPictureChecked(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() == 0)
        return {{}, info.isFile() ? ReadFailure::Unreadable : ReadFailure::Missing, {}};
    QImageReader reader(path);
    return decodeFrom(reader);
}

Picture readPicture(const QString &path)
{
    return readPictureChecked(path).picture;
}

Picture decodePicture(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return decodeFrom(reader).picture;
}

bool isImageDataComplete(const QByteArray &bytes)
{
    static const QByteArray pngSignature("\x89PNG\r\n\x1a\n", 8);
    if (bytes.startsWith(pngSignature))
        return bytes.contains(QByteArrayLiteral("IEND"));
    if (bytes.startsWith(QByteArrayLiteral("\xff\xd8"))) {
        // Entropy-coded data stuffs every 0xFF byte, so a start-of-scan or end marker found
        // here is a real one. Thumbnails and trailers may carry their own markers: only the
        // end after the last scan counts.
        const qsizetype lastScan = bytes.lastIndexOf(QByteArrayLiteral("\xff\xda"));
        return lastScan >= 0 && bytes.indexOf(QByteArrayLiteral("\xff\xd9"), lastScan) > lastScan;
    }
    return true;
}

bool isImageFileComplete(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && isImageDataComplete(file.readAll());
}

QByteArray encodePng(const Picture &picture, int compression)
{
    if (picture.isNull())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // Qt's PNG writer maps quality q to zlib level (100 - q) * 9 / 91.
    const int level = std::clamp(compression, 0, 9);
    writer.setQuality(100 - (level * 91 + 8) / 9);
    if (!writer.write(picture.bitmap()))
        return {};
    return bytes;
}

QByteArray encodeJpeg(const Picture &picture, double quality)
{
    if (picture.isNull())
        return {};
    QImage opaque(picture.bitmap().size(), QImage::Format_RGB32);
    opaque.fill(Qt::black);
    {
        QPainter p(&opaque);
        p.drawImage(0, 0, picture.bitmap());
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(int(std::lround(std::clamp(quality, 0.0, 1.0) * 100)));
    if (!writer.write(opaque))
        return {};
    return bytes;
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace vimora
