// The crop primitive and laying one picture over another.
#include <gtest/gtest.h>

#include <QImage>

#include "imaging/pixel_cut.h"
#include "support/pixel_compare.h"

using namespace vimora;
using namespace vimora::test;

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

TEST(AddImageTest, LargerSecondPictureIsClippedAndNoFirstGivesNoPicture)
{
    QImage a(4, 4, QImage::Format_ARGB32_Premultiplied);
    a.fill(Qt::blue);
    QImage b(8, 2, QImage::Format_ARGB32_Premultiplied);
    b.fill(Qt::red);

    const Picture merged = addImage(Picture(a), Picture(b));

    EXPECT_EQ(merged.size(), QSizeF(4, 4));
    EXPECT_EQ(merged.uprightBitmap().pixel(3, 1), qRgb(255, 0, 0));
    EXPECT_EQ(merged.uprightBitmap().pixel(3, 2), qRgb(0, 0, 255));
    EXPECT_TRUE(addImage(Picture(), Picture(b)).isNull());
    EXPECT_EQ(addImage(Picture(a), Picture()).size(), QSizeF(4, 4));
}
