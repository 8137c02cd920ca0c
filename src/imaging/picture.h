#pragma once

#include <QImage>
#include <QSize>
#include <QSizeF>

namespace vimora {

/// The largest picture Vimora takes in or makes: at most kMaxPictureSide pixels a side (the
/// largest the filters render) and kMaxPicturePixels in all (400 MB as a raster).
inline constexpr int kMaxPictureSide = 32768;
inline constexpr long long kMaxPicturePixels = 100'000'000;

/// True for a size with pixels, within the limits above.
inline bool withinPictureLimits(QSize size)
{
    return size.width() > 0 && size.height() > 0 && size.width() <= kMaxPictureSide && size.height() <= kMaxPictureSide
           && (long long)size.width() * size.height() <= kMaxPicturePixels;
}

/// Orientation tag carried by a picture; drawing honours it, raw bitmap access does not.
enum class Orientation { Up, Down, Left, Right, UpMirrored, DownMirrored, LeftMirrored, RightMirrored };

/// The system's immutable picture: a premultiplied ARGB bitmap, a scale and an orientation.
/// A default-constructed picture is "no picture"; copies share pixels (implicit sharing).
class Picture
{
public:
    Picture() = default;
    /// Any QImage format is accepted and converted once to ARGB32_Premultiplied.
    explicit Picture(const QImage &bitmap, double scale = 1.0, Orientation orientation = Orientation::Up);

    bool isNull() const { return m_bitmap.isNull(); }
    const QImage &bitmap() const { return m_bitmap; }
    double scale() const { return m_scale; }
    Orientation orientation() const { return m_orientation; }

    int pixelWidth() const { return m_bitmap.width(); }
    int pixelHeight() const { return m_bitmap.height(); }
    /// Size in points: pixels over scale, width and height swapped for the quarter-turn tags.
    QSizeF size() const;

    /// The bitmap turned upright (orientation applied), still at its pixel resolution.
    QImage uprightBitmap() const;

    Picture withScale(double scale) const { return Picture(m_bitmap, scale, m_orientation); }

private:
    QImage m_bitmap;
    double m_scale = 1.0;
    Orientation m_orientation = Orientation::Up;
};

bool isQuarterTurn(Orientation orientation);

} // namespace vimora
