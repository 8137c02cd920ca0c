#pragma once

#include <QImage>
#include <QRectF>
#include <QTransform>

#include "imaging/picture.h"

class QPainter;

namespace vimora::ui {

/// Draws a picture upright (orientation honoured) into a rectangle in points, smoothly
/// resampled. A picture much larger than the size it is shown at is drawn from a copy
/// scaled to that size, kept until the picture or the shown size changes, so a frame never
/// resamples a full photo. Under a rotation the picture is drawn from a copy framed by one
/// clear pixel, without antialiased edges: the smooth resampling then softens the edges by
/// itself, at a third of the cost. A picture drawn twice in a row with the same resampling
/// (same picture, rectangle and device transform but for a whole-pixel move) is from then on
/// blitted from a copy resampled once into device pixels: a still screen, or a piece dragged,
/// costs no resampling per frame, while a pinch or turn in progress draws directly as before;
/// while it is pinched on screen, a scaled copy within twice the size shown stands in for a
/// new one (never in a picture drawn for saving).
/// One cache serves one picture slot (an image view's image).
class PictureDrawCache
{
public:
    void draw(QPainter &painter, const Picture &picture, const QRectF &target);
    void clear();
    /// How many times a scaled copy was made since the cache was built.
    int rescales() const { return m_rescales; }

    /// Shown this many times smaller or more, a picture is drawn from a scaled copy.
    static constexpr double kDownscaleRatio = 1.5;
    /// Device copies larger than this on a side are not kept.
    static constexpr int kLargestDeviceCopy = 4096;

private:
    // One resampled drawing: which image into which rectangle under which device transform.
    struct Resampling
    {
        qint64 imageKey = 0;
        QRectF rect;
        QTransform device;
    };
    const QImage &padded(const QImage &image);
    void drawResampled(QPainter &painter, const QImage &image, const QRectF &rect);
    bool buildDeviceCopy(const QPainter &painter, const QImage &image, const QRectF &rect);

    qint64 m_key = 0;
    double m_scale = 1;
    QImage m_upright;
    QImage m_scaled;
    QImage m_padded; // the image drawn last under a rotation, in a one-pixel clear frame
    qint64 m_paddedKey = 0;
    Resampling m_lastDirect;        // drawn last without a device copy
    Resampling m_deviceCopyOf;      // what m_deviceCopy holds
    QImage m_deviceCopy;
    QPoint m_deviceCopyTopLeft;     // in device pixels, under m_deviceCopyOf.device
    QSizeF m_lastShown;             // device pixels the last frame covered
    int m_shownSizeChanges = 0;     // frames in a row, up to this one, at a size new to them
    int m_rescales = 0;
};

/// The bitmap of a picture turned upright, without copying when it already is.
QImage uprightImage(const Picture &picture);

} // namespace vimora::ui
