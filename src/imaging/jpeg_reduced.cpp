// JPEG decoding at a DCT scale, through libjpeg directly: Qt's reader reaches the same scales
// through setScaledSize but, for a photo whose sides are not multiples of the block, it decodes
// at another scale and stretches the result, so its pixels no longer match the full decode.

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include <QBuffer>
#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>
#include <QTransform>

#include "imaging/codec.h"
#include "imaging/resample.h"

namespace vimora {

namespace {

struct JpegError
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void jpegFailed(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegError *>(info->err)->jump, 1);
}

// Warnings (a file cut short, whose missing rows the decoder fills) are not failures, as in Qt.
void jpegMessage(j_common_ptr, int) {}

struct JpegHeader
{
    QSize size;
    bool decodable = false; ///< a colour space the scaled path converts (grey, YCbCr, RGB)
};

// Nothing with a destructor lives in the frames setjmp returns to twice.
bool readHeader(jpeg_decompress_struct &info, JpegError &error, const QByteArray &bytes)
{
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jpegFailed;
    error.manager.emit_message = jpegMessage;
    jpeg_create_decompress(&info);
    if (setjmp(error.jump))
        return false;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.constData()), static_cast<unsigned long>(bytes.size()));
    return jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK;
}

bool decodeRows(jpeg_decompress_struct &info, JpegError &error, int scale, QImage *out)
{
    if (setjmp(error.jump))
        return false;
    // The settings Qt's reader uses, so a full-scale decode gives its pixels.
    info.out_color_space = JCS_EXT_BGRA; // 0xAARRGGBB words, alpha 255: opaque premultiplied
    info.scale_num = static_cast<unsigned>(scale);
    info.scale_denom = 8;
    info.dct_method = JDCT_ISLOW;
    info.do_fancy_upsampling = TRUE;
    jpeg_calc_output_dimensions(&info);
    const QSize size(int(info.output_width), int(info.output_height));
    if (!withinPictureLimits(size))
        return false;
    *out = QImage(size, QImage::Format_ARGB32_Premultiplied);
    if (out->isNull())
        return false;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

QImage upright(QImage image, QImageIOHandler::Transformations turn)
{
    // As QImageReader's automatic transform: mirror and flip first, then the quarter turn.
    image = std::move(image).mirrored(turn.testFlag(QImageIOHandler::TransformationMirror),
                                      turn.testFlag(QImageIOHandler::TransformationFlip));
    if (turn.testFlag(QImageIOHandler::TransformationRotate90))
        image = image.transformed(QTransform().rotate(90));
    return image;
}

} // namespace

int jpegScaleFor(QSize photo, QSize box)
{
    for (int scale : {1, 2, 4})
        if (photo.width() * scale >= box.width() * 8 && photo.height() * scale >= box.height() * 8)
            return scale;
    return 8;
}

ReducedJpeg readJpegReduced(const QString &path, QSize box)
{
    ReducedJpeg result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    const QByteArray bytes = file.readAll();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    const QImageIOHandler::Transformations turn = reader.transformation();
    const bool quarter = turn.testFlag(QImageIOHandler::TransformationRotate90);

    jpeg_decompress_struct info;
    JpegError error;
    if (!readHeader(info, error, bytes)) {
        jpeg_destroy_decompress(&info);
        return result;
    }
    const QSize stored(int(info.image_width), int(info.image_height));
    const bool convertible = info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_GRAYSCALE
                             || info.jpeg_color_space == JCS_RGB;
    result.size = quarter ? stored.transposed() : stored;
    if (!convertible || !withinPictureLimits(stored) || box.isEmpty()) {
        jpeg_destroy_decompress(&info);
        return result;
    }
    const QSize storedBox = quarter ? box.transposed() : box;
    result.scale = jpegScaleFor(stored, storedBox);
    QImage decoded;
    const bool read = decodeRows(info, error, result.scale, &decoded);
    jpeg_destroy_decompress(&info);
    if (!read)
        return result;
    // The last block row and column are padding beyond the photo's own pixels at this scale.
    const QSizeF span(stored.width() * result.scale / 8.0, stored.height() * result.scale / 8.0);
    const QImage fitted = resampledSpan(decoded, span, storedBox.width(), storedBox.height());
    if (!fitted.isNull())
        result.picture = Picture(upright(fitted, turn));
    return result;
}

} // namespace vimora
