#include "editor/piece_grid.h"

#include "imaging/pixel_cut.h"
#include "editor/view_tags.h"
#include "imaging/filter.h"
#include "imaging/geometry.h"

namespace vimora {

namespace {
constexpr ui::AutoresizingMask kAllSixDirections = 63;
constexpr ui::AutoresizingMask kFourMargins = 45;
} // namespace

std::vector<Picture> shatterCrops(const Picture &picture)
{
    if (picture.isNull())
        return {};
    const QSizeF full = picture.size();
    const Picture half = scaleToFitSize(picture, QSizeF(full.width() * 0.5, full.height() * 0.5));
    const Picture source = half.isNull() ? picture : half;
    const double w = source.size().width(), h = source.size().height();
    std::vector<Picture> crops;
    crops.reserve(kPieceCount);
    for (int r = 0; r < kGridSide; ++r)
        for (int c = 0; c < kGridSide; ++c)
            // The crop primitive widens a fraction of a pixel to the whole pixel, so a picture
            // narrower than the grid still gives every piece one pixel.
            crops.push_back(cutImage(w / kGridSide, h / kGridSide, c * w / kGridSide, r * h / kGridSide, source));
    return crops;
}

QRectF pieceCell(int row, int column, QSizeF container)
{
    const double w = container.width() / kGridSide, h = container.height() / kGridSide;
    return {column * w, row * h, w, h};
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
    for (size_t i = 0; i < pieces.size(); ++i) {
        const QRectF cell = pieceCell(int(i) / kGridSide, int(i) % kGridSide, container);
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
    int tag = kFirstPieceViewTag;
    for (size_t i = 0; i < crops.size() && i < size_t(kPieceCount); ++i) {
        auto piece = std::make_shared<ui::ImageView>(pieceCell(int(i) / kGridSide, int(i) % kGridSide, size));
        piece->setBackgroundColor(Qt::transparent);
        piece->setUserInteractionEnabled(true);
        piece->setContentMode(ui::ContentMode::ScaleAspectFit);
        piece->setImage(crops[i]);
        piece->setTag(tag++);
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
