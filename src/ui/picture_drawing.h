#pragma once

#include <QImage>
#include <QRectF>

#include "imaging/picture.h"

class QPainter;

namespace vimora::ui {

/// Draws a picture upright (orientation honoured) into a rectangle in points, smoothly
/// resampled. A picture much larger than the size it is shown at is drawn from a copy
/// scaled to that size, kept until the picture or the shown size changes, so a frame never
/// resamples a full photo. Under a rotation the picture is drawn from a copy framed by one
/// clear pixel, without antialiased edges: the smooth resampling then softens the edges by
/// itself, at a third of the cost. One cache serves one picture slot (an image view's image).
class PictureDrawCache
{
public:
    void draw(QPainter &painter, const Picture &picture, const QRectF &target);
    void clear();

    /// Shown this many times smaller or more, a picture is drawn from a scaled copy.
    static constexpr double kDownscaleRatio = 1.5;

private:
    const QImage &padded(const QImage &image);

    qint64 m_key = 0;
    double m_scale = 1;
    QImage m_upright;
    QImage m_scaled;
    QImage m_padded; // the image drawn last under a rotation, in a one-pixel clear frame
    qint64 m_paddedKey = 0;
};

/// The bitmap of a picture turned upright, without copying when it already is.
QImage uprightImage(const Picture &picture);

} // namespace vimora::ui
