#pragma once

#include <cmath>

#include <QImage>

#include "imaging/codec.h"
#include "imaging/picture.h"

namespace vimora::bench {

/// The real 2000 x 1500 photo the peer benchmarks use ($PEERBENCH_DIR/data), else a
/// synthetic stand-in of the same size with photo-like variation.
inline Picture benchPhoto(const char *name = "photo_2000x1500.jpg", int w = 2000, int h = 1500)
{
    const QString dir = qEnvironmentVariable("PEERBENCH_DIR", QStringLiteral("/tmp/peerbench"));
    Picture photo = readPicture(dir + "/data/" + name);
    if (!photo.isNull())
        return photo;
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = qRgb(int(127 + 120 * std::sin(x * 0.013 + y * 0.002)), (x * 7 + y * 3) & 0xff,
                          int(127 + 120 * std::cos(y * 0.011)));
    }
    return Picture(image);
}

} // namespace vimora::bench
