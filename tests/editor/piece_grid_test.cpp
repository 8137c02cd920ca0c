// The grid of pieces and the picture work on it, without views: the crops, the skew rule,
// flattening a snapshot.

#include <gtest/gtest.h>

#include "editor/piece_grid.h"
#include "editor/view_snapshot.h"
#include "editor/view_tags.h"
#include "imaging/geometry.h"
#include "support/pixel_compare.h"

using namespace vimora;
using namespace vimora::test;

namespace {

Picture solid(int w, int h, QRgb colour)
{
    return Picture(filledRaster(w, h, colour));
}

TEST(PieceGridTest, PiecesAreCropsOfTheHalfSizeCopyRowByRow)
{
    const QImage coded = positionCoded(900, 600);
    const std::vector<Picture> crops = shatterCrops(Picture(coded));
    ASSERT_EQ(crops.size(), size_t(kPieceCount));
    // 50 x 33.3 of the 450 x 300 copy: rows of 33 or 34 whole pixels that tile it exactly.
    EXPECT_EQ(crops[0].bitmap().size(), QSize(50, 33));
    EXPECT_EQ(crops[9].bitmap().size(), QSize(50, 34));
    const QImage half = scaleToFitSize(Picture(coded), QSizeF(450, 300)).bitmap();
    EXPECT_TRUE(imagesEqual(crops[10].bitmap(), half.copy(50, 33, 50, 34))); // row 1, column 1
    EXPECT_TRUE(imagesEqual(crops[80].bitmap(), half.copy(400, 267, 50, 33)));
    int rows = 0;
    for (int r = 0; r < kGridSide; ++r)
        rows += crops[size_t(r * kGridSide)].pixelHeight();
    EXPECT_EQ(rows, 300);

    EXPECT_EQ(pieceCell(0, 0, QSizeF(90, 45)), QRectF(0, 0, 10, 5));
    EXPECT_EQ(pieceCell(8, 3, QSizeF(90, 45)), QRectF(30, 40, 10, 5));
    // Cells follow their crops: they meet, and each has its crop's shape.
    const std::vector<QRectF> cells = gridCells(crops, QSizeF(900, 600));
    EXPECT_EQ(cells[0], QRectF(0, 0, 100, 66));
    EXPECT_EQ(cells[9], QRectF(0, 66, 100, 68));
    EXPECT_EQ(cells[80].bottomRight(), QPointF(900, 600));
}

TEST(PieceGridTest, PicturesNarrowerThanTheGridStillGiveEightyOnePiecesOfAPixelOrMore)
{
    for (const QSize size : {QSize(1, 1), QSize(10, 2000), QSize(2000, 3)}) {
        const std::vector<Picture> crops = shatterCrops(solid(size.width(), size.height(), 0xff336699));
        ASSERT_EQ(crops.size(), size_t(kPieceCount)) << size.width() << "x" << size.height();
        for (const Picture &crop : crops) {
            ASSERT_FALSE(crop.isNull());
            EXPECT_GE(crop.pixelWidth(), 1);
            EXPECT_GE(crop.pixelHeight(), 1);
        }
    }
    EXPECT_TRUE(shatterCrops(Picture()).empty());
}

TEST(PieceGridTest, LayingPiecesTagsThemAndMasksThemByContainer)
{
    ui::ImageView container(QRectF(0, 0, 90, 90));
    container.setImage(solid(180, 180, 0xffff0000));
    container.setTag(kPieceTag);
    shattering(container);
    std::vector<ui::ImageView *> pieces = piecesOf(container);
    ASSERT_EQ(pieces.size(), size_t(kPieceCount));
    EXPECT_TRUE(container.image().isNull());
    EXPECT_EQ(pieces.front()->tag(), kFirstPieceViewTag);
    EXPECT_EQ(pieces.back()->tag(), kFirstPieceViewTag + 80);
    EXPECT_EQ(pieces.front()->autoresizingMask(), 63u);

    // The whole photo's pieces keep their size when it grows: they spread instead.
    container.setTag(kWholePhotoPieceTag);
    container.setImage(solid(180, 180, 0xff00ff00));
    shattering(container);
    pieces = piecesOf(container);
    ASSERT_EQ(pieces.size(), size_t(kPieceCount)); // the old ones went
    EXPECT_EQ(pieces.front()->autoresizingMask(), 45u);
    container.setFrame(QRectF(0, 0, 135, 135));
    EXPECT_EQ(pieces.back()->frame().size(), QSizeF(10, 10));
    EXPECT_GT(pieces.back()->frame().x(), 80 + 10);
}

TEST(PieceGridTest, TheSkewFollowsTheDrawsAndStaysWithinOnePixelPerPixel)
{
    // p 0.3, q 0.4: both kept.
    EXPECT_EQ(scatterSkew(130, 240, 7), QTransform(1, 0.3, 0.4, 1, 0, 0));
    // p above one half turns q negative, and then p is drawn afresh, negative.
    EXPECT_EQ(scatterSkew(70, 40, 125), QTransform(1, -0.25, -0.4, 1, 0, 0));
    // q of 0 stays 0, so p stays.
    EXPECT_EQ(scatterSkew(99, 300, 5), QTransform(1, 0.99, 0, 1, 0, 0));

    // A skewed piece covers a larger box (the skew is baked into its picture).
    std::uint32_t draws[] = {30, 40, 0};
    int next = 0;
    const std::vector<Picture> skewed = scatterPictures({solid(20, 20, 0xff0000ff)}, [&] { return draws[next++ % 3]; });
    ASSERT_EQ(skewed.size(), 1u);
    EXPECT_GT(skewed[0].pixelWidth(), 20);
    EXPECT_GT(skewed[0].pixelHeight(), 20);
}

TEST(PieceGridTest, FlatteningDrawsEachPieceWhereItsTransformPutsIt)
{
    // Unturned, the grid of a picture's crops gives the half-size copy back, scaled to the canvas.
    const Picture photo = solid(180, 90, 0xff20a040);
    const Picture flat = renderSnapshot(gridSnapshot(shatterCrops(photo), QSizeF(180, 90)), QSize(180, 90));
    EXPECT_EQ(flat.bitmap().size(), QSize(180, 90));
    EXPECT_EQ(pixelAt(flat.bitmap(), 5, 5), 0xff20a040u);
    EXPECT_EQ(pixelAt(flat.bitmap(), 175, 85), 0xff20a040u);

    // Halved about their centres, the pieces leave gaps: a cell's corner is empty, its centre not.
    const Picture halved = renderSnapshot(gridSnapshot(shatterCrops(photo), QSizeF(180, 90), ui::AffineTransform::makeScale(0.5, 0.5)),
                                          QSize(180, 90));
    EXPECT_EQ(qAlpha(pixelAt(halved.bitmap(), 1, 1)), 0);
    EXPECT_EQ(pixelAt(halved.bitmap(), 10, 5), 0xff20a040u);

    // A shadowed view darkens up and to the left of itself.
    ViewSnapshot root;
    root.size = QSizeF(60, 60);
    ViewSnapshot piece;
    piece.image = solid(20, 20, 0xffffffff);
    piece.size = QSizeF(20, 20);
    piece.center = QPointF(30, 30);
    piece.shadowOffset = kPieceShadowOffset;
    piece.shadowOpacity = kPieceShadowOpacity;
    root.children.push_back(piece);
    const QImage shadowed = renderSnapshot(root, QSize(60, 60)).bitmap();
    EXPECT_GT(qAlpha(pixelAt(shadowed, 17, 17)), 60);
    EXPECT_EQ(qAlpha(pixelAt(shadowed, 45, 45)), 0);
    EXPECT_EQ(pixelAt(shadowed, 30, 30), 0xffffffffu);
}

} // namespace
