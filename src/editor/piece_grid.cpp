#include "editor/piece_grid.h"

#include <algorithm>
#include <cmath>

#include "editor/view_tags.h"
#include "imaging/filter.h"
#include "imaging/geometry.h"
#include "imaging/subject_cut.h"

namespace vimora {

namespace {
constexpr ui::AutoresizingMask kAllSixDirections = 63;
constexpr ui::AutoresizingMask kFourMargins = 45;
} // namespace

namespace {
/// Where row or column i of n starts along a side of length pixels: whole pixels, so the
/// crops tile the picture exactly, none narrower than one pixel where the side allows it.
int gridEdge(int i, int n, int pixels)
{
    return int(std::lround(double(i) * pixels / n));
}
} // namespace

std::vector<Picture> shatterCrops(const Picture &picture)
{
    if (picture.isNull())
        return {};
    const QSizeF full = picture.size();
    const Picture half = scaleToFitSize(picture, QSizeF(full.width() * 0.5, full.height() * 0.5));
    const Picture source = half.isNull() ? picture : half;
    const QImage pixels = source.uprightBitmap();
    const int w = pixels.width(), h = pixels.height();
    std::vector<Picture> crops;
    crops.reserve(kPieceCount);
    for (int r = 0; r < kGridSide; ++r)
        for (int c = 0; c < kGridSide; ++c) {
            // Whole-pixel rows and columns that meet exactly: a crop widened to whole pixels
            // would differ in shape from its cell, and the aspect-fit pieces would leave seams.
            // A picture narrower than the grid still gives every piece one pixel (they overlap).
            const int x0 = std::min(gridEdge(c, kGridSide, w), w - 1), y0 = std::min(gridEdge(r, kGridSide, h), h - 1);
            const int x1 = std::max(x0 + 1, gridEdge(c + 1, kGridSide, w)), y1 = std::max(y0 + 1, gridEdge(r + 1, kGridSide, h));
            crops.push_back(Picture(pixels.copy(x0, y0, x1 - x0, y1 - y0)));
        }
    return crops;
}

QRectF pieceCell(int row, int column, QSizeF container)
{
    const double w = container.width() / kGridSide, h = container.height() / kGridSide;
    return {column * w, row * h, w, h};
}

std::vector<QRectF> gridCells(const std::vector<Picture> &crops, QSizeF container)
{
    if (crops.size() < size_t(kPieceCount)) {
        std::vector<QRectF> cells;
        for (int i = 0; i < kPieceCount; ++i)
            cells.push_back(pieceCell(i / kGridSide, i % kGridSide, container));
        return cells;
    }
    // Each cell as wide as its column's crops and as tall as its row's, in proportion: the
    // pieces fill their cells and the cells meet.
    double xs[kGridSide + 1] = {0}, ys[kGridSide + 1] = {0};
    for (int i = 0; i < kGridSide; ++i) {
        xs[i + 1] = xs[i] + crops[size_t(i)].pixelWidth();
        ys[i + 1] = ys[i] + crops[size_t(i * kGridSide)].pixelHeight();
    }
    const double sx = container.width() / xs[kGridSide], sy = container.height() / ys[kGridSide];
    std::vector<QRectF> cells;
    cells.reserve(kPieceCount);
    for (int r = 0; r < kGridSide; ++r)
        for (int c = 0; c < kGridSide; ++c)
            cells.push_back(QRectF(QPointF(xs[c] * sx, ys[r] * sy), QPointF(xs[c + 1] * sx, ys[r + 1] * sy)));
    return cells;
}

QTransform scatterSkew(std::uint32_t r1, std::uint32_t r2, std::uint32_t r3)
{
    double p = (r1 % 100) / 100.0;
    double q = (r2 % 100) / 100.0;
    if (p > 0.5)
        q = -q;
    if (q < 0)
        p = -((r3 % 100) / 100.0);
    return QTransform(1, p, q, 1, 0, 0);
}

std::vector<Picture> scatterPictures(const std::vector<Picture> &pieces, const std::function<std::uint32_t()> &random)
{
    const Filter filter;
    std::vector<Picture> skewed;
    skewed.reserve(pieces.size());
    for (const Picture &piece : pieces) {
        const std::uint32_t r1 = random(), r2 = random(), r3 = random();
        const Picture result = filter.filterAffineTransform(scatterSkew(r1, r2, r3), piece);
        // A piece the filter cannot turn keeps its picture rather than going blank.
        skewed.push_back(result.isNull() ? piece : result);
    }
    return skewed;
}

ViewSnapshot gridSnapshot(const std::vector<Picture> &pieces, QSizeF container, const ui::AffineTransform &transform)
{
    ViewSnapshot grid;
    grid.size = container;
    grid.center = QPointF(container.width() / 2, container.height() / 2);
    grid.children.reserve(pieces.size());
    const std::vector<QRectF> cells = gridCells(pieces, container);
    for (size_t i = 0; i < pieces.size() && i < cells.size(); ++i) {
        const QRectF &cell = cells[i];
        ViewSnapshot piece;
        piece.image = pieces[i];
        piece.size = cell.size();
        piece.center = cell.center();
        piece.transform = transform;
        piece.contentMode = ui::ContentMode::ScaleAspectFit;
        grid.children.push_back(std::move(piece));
    }
    return grid;
}

void layPieces(ui::ImageView &container, const std::vector<Picture> &crops)
{
    for (ui::ImageView *old : piecesOf(container))
        old->removeFromSuperview();
    const QSizeF size = container.frame().size();
    const ui::AutoresizingMask mask = container.tag() == kWholePhotoPieceTag ? kFourMargins : kAllSixDirections;
    const std::vector<QRectF> cells = gridCells(crops, size);
    for (size_t i = 0; i < crops.size() && i < size_t(kPieceCount); ++i) {
        // Off a shaped piece's subject: nothing to show, scatter or turn. The tag stays the
        // cell's, so the others keep theirs.
        if (isWhollyTransparent(crops[i].bitmap()))
            continue;
        auto piece = std::make_shared<ui::ImageView>(cells[i]);
        piece->setBackgroundColor(Qt::transparent);
        piece->setUserInteractionEnabled(true);
        piece->setContentMode(ui::ContentMode::ScaleAspectFit);
        piece->setImage(crops[i]);
        piece->setTag(kFirstPieceViewTag + int(i));
        piece->setAutoresizingMask(mask);
        container.addSubview(piece);
    }
    container.setImage({});
}

void shattering(ui::ImageView &container)
{
    layPieces(container, shatterCrops(container.image()));
}

std::vector<ui::ImageView *> piecesOf(const ui::View &container)
{
    std::vector<ui::ImageView *> pieces;
    for (const ui::ViewPtr &view : container.subviews())
        if (view->tag() >= kFirstPieceViewTag && view->tag() < kFirstPieceViewTag + kPieceCount)
            if (auto *piece = dynamic_cast<ui::ImageView *>(view.get()))
                pieces.push_back(piece);
    return pieces;
}

} // namespace vimora
