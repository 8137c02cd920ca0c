#include "imaging/picture.h"

#include <QTransform>

namespace vimora {

Picture::Picture(const QImage &bitmap, double scale, Orientation orientation)
    : m_bitmap(bitmap.format() == QImage::Format_ARGB32_Premultiplied || bitmap.isNull()
                   ? bitmap
                   : bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied))
    , m_scale(scale > 0 ? scale : 1.0)
    , m_orientation(orientation)
{
    // A 0 x 0 image is treated as no picture, as every caller expects.
    if (m_bitmap.width() <= 0 || m_bitmap.height() <= 0)
        m_bitmap = QImage();
}

bool isQuarterTurn(Orientation o)
{
    return o == Orientation::Left || o == Orientation::Right || o == Orientation::LeftMirrored
        || o == Orientation::RightMirrored;
}

QSizeF Picture::size() const
{
    if (isNull())
        return {0, 0};
    const double w = m_bitmap.width() / m_scale;
    const double h = m_bitmap.height() / m_scale;
    return isQuarterTurn(m_orientation) ? QSizeF(h, w) : QSizeF(w, h);
}

QImage Picture::uprightBitmap() const
{
    if (isNull())
        return {};
    // Left means the stored bitmap must turn 90 degrees counter-clockwise to stand upright.
    switch (m_orientation) {
    case Orientation::Up:
        return m_bitmap;
    case Orientation::Down:
        return m_bitmap.transformed(QTransform().rotate(180));
    case Orientation::Left:
        return m_bitmap.transformed(QTransform().rotate(-90));
    case Orientation::Right:
        return m_bitmap.transformed(QTransform().rotate(90));
    case Orientation::UpMirrored:
        return m_bitmap.mirrored(true, false);
    case Orientation::DownMirrored:
        return m_bitmap.mirrored(false, true);
    case Orientation::LeftMirrored:
        return m_bitmap.mirrored(true, false).transformed(QTransform().rotate(-90));
    case Orientation::RightMirrored:
        return m_bitmap.mirrored(true, false).transformed(QTransform().rotate(90));
    }
    return m_bitmap;
}

} // namespace vimora
