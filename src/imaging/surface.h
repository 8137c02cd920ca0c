#pragma once

// The drawing surface every picture-producing step uses: an image surface in points at a
// scale, top-left origin, premultiplied, starting transparent. A thin layer over QPainter
// that adds what QPainter lacks: drawing pictures with their orientation, transparency
// layers and clipping to a mask picture.

#include <memory>
#include <vector>

#include <QImage>
#include <QPainter>

#include "imaging/picture.h"

namespace vimora {

class ImageSurface
{
public:
    /// UIGraphicsBeginImageContext(WithOptions): size in points, pixels = points x scale
    /// (truncated). An opaque surface starts black instead of transparent.
    explicit ImageSurface(QSizeF points, double scale = 1.0, bool opaque = false);
    ~ImageSurface();
    ImageSurface(const ImageSurface &) = delete;
    ImageSurface &operator=(const ImageSurface &) = delete;

    bool isValid() const { return !m_layers.empty(); }
    QSize pixelSize() const { return m_base.size(); }
    double scale() const { return m_scale; }

    /// The painter of the innermost layer, in points.
    QPainter &painter();

    /// drawInRect: the picture upright (orientation honoured), stretched, source-over.
    void drawPicture(const Picture &picture, const QRectF &rect);
    /// drawAtPoint: at its natural size in points.
    void drawPicture(const Picture &picture, QPointF topLeft);
    /// CGContextDrawImage: the raw bitmap, orientation tag ignored, stretched, source-over.
    void drawBitmap(const QImage &bitmap, const QRectF &rect);

    void setHighQuality(bool on);
    void setAntialiasing(bool on);
    /// Global alpha multiplied into everything drawn afterwards.
    void setAlpha(double alpha);
    void fillRect(const QRectF &rect, const QColor &color);

    /// Groups later drawing and composites it once at endTransparencyLayer.
    void beginTransparencyLayer();
    void endTransparencyLayer();
    /// Limits later drawing to rect, each point's coverage taken from the mask stretched over
    /// it (its alpha where it has one, else its gray level, white = full). Lasts to image().
    void clipToMask(const QRectF &rect, const QImage &mask);

    /// UIGraphicsGetImageFromCurrentImageContext: a copy of the surface (layers closed).
    Picture image();

private:
    struct Layer;
    void pushLayer(const QImage *coverage);
    void popLayer();

    QImage m_base;
    double m_scale = 1.0;
    std::vector<std::unique_ptr<Layer>> m_layers;
};

/// The coverage of a mask picture stretched to size: alpha where the mask has an alpha
/// channel, else its gray level. Returns a Grayscale8 plane.
QImage maskCoverage(const QImage &mask, QSize size);

/// Multiplies every sample of raster (premultiplied) by coverage / 255 at the given offset.
void applyCoverage(QImage &raster, const QImage &coverage, QPoint offset = {});

} // namespace vimora
