#pragma once

// The smart cut: the subject inside a rectangle of a photo, told from its background by
// colour statistics and a graph cut (OpenCV's GrabCut, kept behind this module alone).
//
// The segmentation runs on a reduced copy of the rectangle and a margin around it (about half
// a megapixel); the mask is then refined at full resolution along its edge only, and softened
// to an anti-aliased edge a pixel or two wide. Results are values: a touch-up returns a new
// cut and leaves the one it started from as it was, so a job may run it off the UI thread.

#include <memory>
#include <vector>

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>

#include "imaging/picture.h"

namespace vimora {

/// A touch-up stroke: a round brush along points (photo pixels), marking what it covers as
/// certainly subject (keep) or certainly background.
struct SubjectStroke
{
    bool keep = true;
    std::vector<QPointF> points;
    double radius = 12;
};

class SubjectCut
{
public:
    /// The reduced copy's budget in pixels.
    static constexpr long long kWorkPixels = 500'000;

    /// No cut: not found, empty rectangle.
    SubjectCut() = default;

    /// Segments the subject of photo inside rect (photo pixels; limited to the photo).
    static SubjectCut find(const QImage &photo, const QRect &rect);

    /// Whether a subject stands apart from its background: false for a flat colour, a subject
    /// of its background's colours, or a rectangle leaving no background around it.
    bool found() const { return m_found; }
    /// The rectangle cut, limited to the photo.
    QRect rect() const { return m_rect; }
    /// The subject's coverage over rect, one byte a pixel (Format_Alpha8); null when not found.
    const QImage &alpha() const { return m_alpha; }
    /// The share of the rectangle the subject covers, 0..1.
    double coverage() const;

    /// The cut again with the stroke's marks (and every earlier stroke's) as certain. A cut
    /// that was not found stays so.
    SubjectCut touchedUp(const SubjectStroke &stroke) const;

    /// The segmentation's working data (OpenCV's), opaque outside the module.
    struct State;

private:
    void settle();

    std::shared_ptr<const State> m_state;
    QRect m_rect;
    QImage m_alpha;
    bool m_found = false;
};

/// The piece as a picture of rect's pixels from photo, transparent outside the subject.
Picture shapedPiece(const QImage &photo, const SubjectCut &cut);

/// Whether any pixel of the picture is less than opaque (a shaped piece).
bool hasTransparency(const QImage &image);
/// Whether every pixel is fully transparent (a part of a shaped piece off its subject).
bool isWhollyTransparent(const QImage &image);

/// The hole alone over rect: black with the subject's coverage, transparent elsewhere (for
/// punching the hole into another copy of the photo).
Picture holeShape(const SubjectCut &cut);

/// The band of a shaped picture just inside its edge, width pixels wide, drawn in colour over
/// a picture of size pixels (the picture stretched to it); transparent elsewhere. The picture's
/// border counts as edge, so an opaque picture gets a rectangle's band.
Picture edgeBand(const QImage &picture, QSize size, int width, const QColor &colour);

/// The photo with a black hole of the subject's shape where the piece was taken.
Picture shapedHole(const Picture &photo, const SubjectCut &cut);

} // namespace vimora
