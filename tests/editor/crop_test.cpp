// The crop rectangle's drag rules, its clipping and the hole image.
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

TEST(HoleImageTest, TranslucentPhotoKeepsEveryPixelOutsideTheHoleAndIsNotPaintedItself)
{
    QImage coded(10, 7, QImage::Format_ARGB32);
    for (int y = 0; y < coded.height(); ++y)
        for (int x = 0; x < coded.width(); ++x)
            coded.setPixelColor(x, y, QColor(x * 20, y * 30, 90, 40 + x * 15));
    const Picture photo(coded);
    const QImage before = photo.bitmap().copy();

    // A fractional rectangle takes the whole pixels it touches.
    const Picture hole = holeImage(photo, QRectF(2.5, 1.5, 3, 2));

    ASSERT_EQ(hole.bitmap().size(), QSize(10, 7));
    EXPECT_EQ(photo.bitmap(), before);
    const QRect black(2, 1, 4, 3);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(pixelAt(hole.bitmap(), x, y), black.contains(x, y) ? 0xff000000u : pixelAt(before, x, y)) << x << "," << y;
}

TEST(HoleImageTest, TurnedPhotoIsMadeUprightAroundTheHole)
{
    const Picture photo(positionCoded(6, 4), 1, Orientation::Right);

    const Picture hole = holeImage(photo, QRectF(0, 0, 1, 1));

    const QImage upright = photo.uprightBitmap();
    ASSERT_EQ(hole.bitmap().size(), upright.size());
    EXPECT_EQ(pixelAt(hole.bitmap(), 0, 0), 0xff000000u);
    EXPECT_EQ(pixelAt(hole.bitmap(), upright.width() - 1, upright.height() - 1),
              pixelAt(upright, upright.width() - 1, upright.height() - 1));
}
