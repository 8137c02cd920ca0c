// The crop rectangle's drag rules, its clipping, the crop primitive and the hole image.
#include <gtest/gtest.h>

#include "editor/crop.h"
#include "support/pixel_compare.h"

using namespace vimora;
using namespace vimora::test;

TEST(CropDragTest, EachCornerMovesAloneAndTheOppositeSidesStay)
{
    const CropCorners c = CropCorners::fromFrame(QRectF(100, 100, 200, 200));

    EXPECT_EQ(draggedCornerFrame(CropHandle::TopRight, c, {350, 80}), QRectF(100, 80, 250, 220));
    EXPECT_EQ(draggedCornerFrame(CropHandle::BottomRight, c, {250, 260}), QRectF(100, 100, 150, 160));
    EXPECT_EQ(draggedCornerFrame(CropHandle::TopLeft, c, {90, 120}), QRectF(90, 120, 210, 180));
    EXPECT_EQ(draggedCornerFrame(CropHandle::BottomLeft, c, {150, 330}), QRectF(150, 100, 150, 230));
}

TEST(CropDragTest, ACornerPulledPastTheOppositeCornerStopsAtTheMinimumSide)
{
    const CropCorners c = CropCorners::fromFrame(QRectF(100, 100, 200, 200));

    const QRectF f = draggedCornerFrame(CropHandle::TopLeft, c, {500, 600});

    EXPECT_EQ(f, QRectF(256, 256, 44, 44));
}

TEST(CropDragTest, CornersFollowTheFrame)
{
    const CropCorners c = CropCorners::fromFrame(QRectF(10, 20, 140, 140));

    EXPECT_EQ(c.lu, QPointF(10, 20));
    EXPECT_EQ(c.ru, QPointF(150, 20));
    EXPECT_EQ(c.ld, QPointF(10, 160));
    EXPECT_EQ(c.rd, QPointF(150, 160));
}

TEST(CropClipTest, PartsPastAnEdgeAreDropped)
{
    const QSizeF view(300, 225);

    EXPECT_EQ(clipCropFrame(QRectF(-30, 20, 140, 140), view), QRectF(0, 20, 110, 140));
    EXPECT_EQ(clipCropFrame(QRectF(200, 150, 140, 140), view), QRectF(200, 150, 100, 75));
    EXPECT_EQ(clipCropFrame(QRectF(10, 20, 140, 140), view), QRectF(10, 20, 140, 140));
}

TEST(CropClipTest, ARectangleWhollyOutsideIsSlidBackInside)
{
    const QSizeF view(300, 225);

    EXPECT_EQ(clipCropFrame(QRectF(400, 20, 140, 140), view), QRectF(160, 20, 140, 140));
    EXPECT_EQ(clipCropFrame(QRectF(10, -500, 140, 140), view), QRectF(10, 0, 140, 140));
    EXPECT_EQ(clipCropFrame(QRectF(900, 900, 400, 400), view), QRectF(0, 0, 300, 225));
}

TEST(CutImageTest, TheWorkedExampleCropsAtFullResolution)
{
    const Picture photo(positionCoded(1200, 900));
    const double sx = 1200.0 / 300, sy = 900.0 / 225;
    const QRectF r(10, 20, 140, 140);

    const Picture piece = cutImage(r.width() * sx, r.height() * sy, r.x() * sx, r.y() * sy, photo);

    ASSERT_EQ(piece.bitmap().size(), QSize(560, 560));
    EXPECT_EQ(pixelAt(piece.bitmap(), 0, 0), pixelAt(photo.bitmap(), 40, 80));
    EXPECT_EQ(pixelAt(piece.bitmap(), 559, 559), pixelAt(photo.bitmap(), 599, 639));
}

TEST(CutImageTest, RectanglesAreMadeIntegralOutwardsAndLimited)
{
    const Picture photo(positionCoded(8, 6));

    EXPECT_EQ(cutImage(2.2, 1.5, 1.5, 0.5, photo).bitmap().size(), QSize(3, 2)); // 1..3.7, 0..2
    EXPECT_EQ(cutImage(100, 100, 6, 4, photo).bitmap().size(), QSize(2, 2));
    EXPECT_EQ(cutImage(-3, -2, 4, 4, photo).bitmap().size(), QSize(3, 2)); // inside out: normalised
    EXPECT_TRUE(cutImage(5, 5, 10, 10, photo).isNull());
    EXPECT_TRUE(cutImage(0, 0, 1, 1, photo).isNull());
    EXPECT_TRUE(cutImage(1, 1, 0, 0, Picture()).isNull());
}

TEST(HoleImageTest, HoleIsOpaqueBlackUnderThePieceAndThePhotoStaysUpright)
{
    const Picture photo(positionCoded(12, 9));

    const Picture hole = holeImage(photo, QRectF(4, 2, 4, 4));

    ASSERT_EQ(hole.bitmap().size(), QSize(12, 9));
    EXPECT_EQ(pixelAt(hole.bitmap(), 4, 2), 0xff000000u);
    EXPECT_EQ(pixelAt(hole.bitmap(), 7, 5), 0xff000000u);
    EXPECT_EQ(pixelAt(hole.bitmap(), 8, 5), pixelAt(photo.bitmap(), 8, 5));
    EXPECT_EQ(pixelAt(hole.bitmap(), 0, 0), pixelAt(photo.bitmap(), 0, 0)); // not mirrored
    EXPECT_EQ(pixelAt(hole.bitmap(), 11, 8), pixelAt(photo.bitmap(), 11, 8));
}

TEST(AddImageTest, SecondLandsOverFirstAtTheOrigin)
{
    const Picture first(filledRaster(4, 3, 0xff0000ff));
    const Picture second(filledRaster(2, 2, 0xffff0000));

    const Picture both = addImage(first, second);

    ASSERT_EQ(both.bitmap().size(), QSize(4, 3));
    EXPECT_EQ(pixelAt(both.bitmap(), 1, 1), 0xffff0000u);
    EXPECT_EQ(pixelAt(both.bitmap(), 2, 2), 0xff0000ffu);
}

TEST(CutImageTest, FarOffAndNonFiniteRectanglesTakeNothing)
{
    const QSize size(8, 6);

    EXPECT_EQ(cropPixelRect(QRectF(1.5, 0.5, 2.2, 1.5), size), QRect(1, 0, 3, 2));
    EXPECT_TRUE(cropPixelRect(QRectF(1e12, 1e12, 5, 5), size).isEmpty());
    EXPECT_EQ(cropPixelRect(QRectF(-1e12, -1e12, 2e12, 2e12), size), QRect(0, 0, 8, 6));
    EXPECT_TRUE(cropPixelRect(QRectF(qQNaN(), 0, 4, 4), size).isEmpty());
    EXPECT_TRUE(cutImage(qInf(), 2, 0, 0, Picture(positionCoded(8, 6))).isNull());
}
