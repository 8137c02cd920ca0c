#include "editor/original_size.h"

#include <algorithm>
#include <cmath>

#include "editor/photo_capture.h"

namespace vimora {

QSize originalSaveSize(QSize original)
{
    if (original.isEmpty())
        return {};
    const int longest = std::max(original.width(), original.height());
    if (longest <= kLargestOriginalSide)
        return original;
    const double factor = double(kLargestOriginalSide) / longest;
    return QSize(std::max(1, int(std::lround(original.width() * factor))),
                 std::max(1, int(std::lround(original.height() * factor))));
}

Picture renderFromOriginal(const OriginalComposition &job, const Picture &original)
{
    if (original.isNull() || original.bitmap().size() != job.original.size || job.composition.size.isEmpty())
        return {};
    const QSize pixels = originalSaveSize(job.original.size);
    ViewSnapshot composition = job.composition;
    composition.image = original;
    if (job.hole && !job.hole->isEmpty() && !job.holeShape.isNull()) {
        // A shaped hole: its own soft edge, stretched over the rectangle it was cut from.
        ViewSnapshot hole;
        hole.image = job.holeShape;
        hole.size = job.hole->size();
        hole.center = job.hole->center();
        composition.children.insert(composition.children.begin(), std::move(hole));
    } else if (job.hole && !job.hole->isEmpty()) {
        // The hole the working copy has punched, drawn as the same black over the original
        // rather than by copying a picture this large. Inward to whole pixels of the result, so
        // the piece's smoothed edge lies over the photo, never over a sliver of black.
        const double sx = pixels.width() / composition.size.width(), sy = pixels.height() / composition.size.height();
        const QRectF h = *job.hole;
        const QRectF inPixels(QPointF(std::ceil(h.left() * sx), std::ceil(h.top() * sy)),
                              QPointF(std::floor(h.right() * sx), std::floor(h.bottom() * sy)));
        if (!inPixels.isEmpty()) {
            ViewSnapshot hole;
            hole.size = QSizeF(inPixels.width() / sx, inPixels.height() / sy);
            hole.center = QPointF(inPixels.center().x() / sx, inPixels.center().y() / sy);
            hole.background = Qt::black;
            composition.children.insert(composition.children.begin(), std::move(hole));
        }
    }
    return renderComposition(composition, pixels);
}

} // namespace vimora
