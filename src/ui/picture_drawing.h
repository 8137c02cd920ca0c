#pragma once

#include <QImage>
#include <QRectF>

#include "imaging/picture.h"

class QPainter;

namespace vimora::ui {

/// Draws a picture upright (orientation honoured) into a rectangle in points, smoothly
/// resampled. A picture much larger than the size it is shown at is drawn from a copy
/// scaled to that size, kept until the picture or the shown size changes, so a frame never
/// resamples a full photo. One cache serves one picture slot (an image view's image).
class PictureDrawCache
{
public:
    void draw(QPainter &painter, const Picture &picture, const QRectF &target);
    void clear();

    /// Shown this many times smaller or more, a picture is drawn from a scaled copy.
    static constexpr double kDownscaleRatio = 1.5;

private:
    qint64 m_key = 0;
    double m_scale = 1;
    QImage m_upright;
    QImage m_scaled;
};

/// The bitmap of a picture turned upright, without copying when it already is.
QImage uprightImage(const Picture &picture);

} // namespace vimora::ui
