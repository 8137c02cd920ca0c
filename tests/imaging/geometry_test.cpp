#include "imaging/geometry.h"

#include <cmath>

#include <gtest/gtest.h>

#include "imaging/pixel_test_support.h"
#include "support/pixel_compare.h"

using namespace vimora;
using vimora::test::filledRaster;
using vimora::test::imagesEqual;
using vimora::test::pixelAt;
using vimora::test::positionCoded;

namespace {

struct CropCase
{
    int mode;
    QPoint origin;
};

class CropPlacements : public testing::TestWithParam<CropCase>
{
};

TEST_P(CropPlacements, TakeTheirRectangle)
{
    const QImage src = positionCoded(100, 80);

    const Picture out = cropToSize(Picture(src), QSizeF(60, 40), GetParam().mode);

    EXPECT_TRUE(imagesEqual(out.bitmap(), src.copy(QRect(GetParam().origin, QSize(60, 40)))));
}

INSTANTIATE_TEST_SUITE_P(Geometry, CropPlacements,
                         testing::Values(CropCase{0, {0, 0}}, CropCase{1, {20, 0}}, CropCase{2, {40, 0}},
                                         CropCase{3, {0, 40}}, CropCase{4, {20, 40}}, CropCase{5, {40, 40}},
                                         CropCase{6, {0, 20}}, CropCase{7, {40, 20}}, CropCase{8, {20, 20}},
                                         CropCase{9, {0, 0}}, CropCase{-1, {0, 0}}),
                         [](const testing::TestParamInfo<CropCase> &info) {
                             return "Mode" + std::to_string(info.index);
                         });

TEST(Crop, RectangleIsCutToThePictureAndWidenedToWholePixels)
{
    const QImage src = positionCoded(100, 80);
    const QImage odd = positionCoded(101, 80);

    const Picture whole = cropToSize(Picture(src), QSizeF(150, 100));
    const Picture centred = cropToSize(Picture(src), QSizeF(150, 100), kCropCentre);
    const Picture widened = cropToSize(Picture(odd), QSizeF(60, 40), kCropCentre);

    EXPECT_TRUE(imagesEqual(whole.bitmap(), src));
    EXPECT_TRUE(imagesEqual(centred.bitmap(), src));
    EXPECT_TRUE(imagesEqual(widened.bitmap(), odd.copy(20, 20, 61, 40))); // x = 20.5 .. 80.5
    EXPECT_TRUE(cropToSize(Picture(src), QSizeF(0, 10)).isNull());
}

TEST(Crop, KeepsScaleAndOrientationAndCutsWhatIsShown)
{
    const QImage stored = positionCoded(8, 6); // scale 2, turned: shown 3 x 4 points
    const Picture turned(stored, 2.0, Orientation::Left);

    const Picture out = cropToSize(turned, QSizeF(2, 2), kCropBottomRight);

    EXPECT_EQ(out.scale(), 2.0);
    EXPECT_EQ(out.orientation(), Orientation::Left);
    EXPECT_TRUE(imagesEqual(out.uprightBitmap(), turned.uprightBitmap().copy(2, 4, 4, 4)));
}

TEST(Fit, SizesKeepTheAspectRatioAndScaleSmallPicturesUp)
{
    EXPECT_EQ(sizeToFit(QSizeF(400, 300), QSizeF(320, 480)), QSize(320, 240));
    EXPECT_EQ(sizeToFit(QSizeF(300, 400), QSizeF(320, 200)), QSize(150, 200));
    EXPECT_EQ(sizeToFit(QSizeF(30, 40), QSizeF(320, 480)), QSize(320, 426));
    EXPECT_EQ(sizeToFit(QSizeF(50, 50), QSizeF(80, 60)), QSize(60, 60));
    EXPECT_EQ(sizeToFit(QSizeF(2000.9, 1500.2), QSizeF(1280, 1280)), QSize(1280, 960));
    EXPECT_TRUE(sizeToFit(QSizeF(0.5, 10), QSizeF(100, 100)).isEmpty());
    EXPECT_TRUE(sizeToFit(QSizeF(10, 10), QSizeF(0, 0)).isEmpty());
    EXPECT_EQ(sizeToFit(QSizeF(10000, 3), QSizeF(1280, 1280)), QSize(1280, 1)); // not 1280 x 0
}

TEST(Fit, FlatColourStaysExactWhenShrunkOrGrown)
{
    const QImage flat = filledRaster(40, 30, qRgba(60, 120, 30, 200));

    const Picture down = scaleToFitSize(Picture(flat), QSizeF(16, 16));
    const Picture up = scaleToFitSize(Picture(flat, 1.0, Orientation::Right), QSizeF(90, 200));

    EXPECT_TRUE(imagesEqual(down.bitmap(), filledRaster(16, 12, qRgba(60, 120, 30, 200))));
    EXPECT_TRUE(imagesEqual(up.bitmap(), filledRaster(90, 120, qRgba(60, 120, 30, 200))));
    EXPECT_EQ(up.orientation(), Orientation::Up);
    EXPECT_EQ(up.scale(), 1.0);
}

TEST(ScaleByFactor, SizesTruncateAndOrientationIsHonoured)
{
    const QImage stored = positionCoded(10, 6);

    const Picture half = scaleByFactor(Picture(stored), 0.5f);
    const Picture grown = scaleByFactor(Picture(stored), 2.5f);
    const Picture same = scaleByFactor(Picture(stored, 1.0, Orientation::Right), 1.0f);

    EXPECT_EQ(half.bitmap().size(), QSize(5, 3));
    EXPECT_EQ(grown.bitmap().size(), QSize(25, 15));
    EXPECT_EQ(scaleByFactor(Picture(stored), 0.1f).bitmap().size(), QSize(1, 1)); // 1 x 0.6 keeps a row
    EXPECT_TRUE(imagesEqual(same.bitmap(), Picture(stored, 1.0, Orientation::Right).uprightBitmap()));
    EXPECT_TRUE(scaleByFactor(Picture(stored), 0.0f).isNull());
    EXPECT_TRUE(scaleByFactor(Picture(stored), -2.0f).isNull());
    EXPECT_TRUE(scaleByFactor(Picture(stored), NAN).isNull());
}

TEST(Rotate, CanvasGrowsToTheRotatedBounds)
{
    EXPECT_EQ(rotatedCanvasSize(QSizeF(100, 50), radiansFromDegrees(90)), QSize(50, 100));
    EXPECT_EQ(rotatedCanvasSize(QSizeF(100, 50), radiansFromDegrees(45)), QSize(106, 106));
    EXPECT_EQ(rotatedCanvasSize(QSizeF(100, 50), radiansFromDegrees(180)), QSize(100, 50));
    EXPECT_EQ(rotatedCanvasSize(QSizeF(100.9, 50.9), 0.0f), QSize(100, 50));
    EXPECT_EQ(radiansFromDegrees(90), 1.57079637f);
}

TEST(Rotate, QuarterTurnIsCounterClockwise)
{
    const QImage src = positionCoded(4, 2);

    const QImage out = rotateInDegrees(Picture(src), 90).bitmap();

    ASSERT_EQ(out.size(), QSize(2, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(pixelAt(out, x, y), pixelAt(src, 3 - y, x)) << x << "," << y; // right column on top
}

TEST(Rotate, QuarterTurnsComeBackToTheStart)
{
    const Picture src(positionCoded(6, 4));

    const Picture round = rotateInDegrees(rotateInDegrees(rotateInDegrees(rotateInDegrees(src, 90), 90), 90), 90);
    const Picture back = rotateInDegrees(rotateInDegrees(src, 90), -90);
    const Picture half = rotateInDegrees(src, 180);

    EXPECT_TRUE(imagesEqual(round.bitmap(), src.bitmap()));
    EXPECT_TRUE(imagesEqual(back.bitmap(), src.bitmap()));
    EXPECT_TRUE(imagesEqual(half.bitmap(), src.bitmap().mirrored(true, true)));
}

TEST(Rotate, CornersOutsideThePictureStayTransparent)
{
    const Picture src(filledRaster(20, 10, qRgba(255, 0, 0, 255)));

    const QImage out = rotateInDegrees(src, 45).bitmap();

    EXPECT_EQ(out.size(), QSize(21, 21));
    EXPECT_EQ(pixelAt(out, 0, 0), 0u);
    EXPECT_EQ(pixelAt(out, 20, 20), 0u);
    EXPECT_EQ(pixelAt(out, 10, 10), qRgba(255, 0, 0, 255));
}

TEST(RotatePixels, KeepsTheCanvasAndLosesWhatTurnsOffIt)
{
    const QImage src = positionCoded(8, 4);

    const QImage out = rotateImagePixelsInDegrees(Picture(src), 90).bitmap();

    ASSERT_EQ(out.size(), QSize(8, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            // About the centre (4, 2): the middle columns turned counter-clockwise, bands beside.
            const QRgb expected = x < 2 || x >= 6 ? 0u : pixelAt(src, 5 - y, x - 2);
            EXPECT_EQ(pixelAt(out, x, y), expected) << x << "," << y;
        }
}

TEST(Flip, MirrorsAndTwiceIsTheIdentity)
{
    const QImage src = positionCoded(3, 2);

    const QImage v = verticalFlip(Picture(src)).bitmap();
    const QImage h = horizontalFlip(Picture(src)).bitmap();

    EXPECT_TRUE(imagesEqual(v, src.mirrored(false, true)));
    EXPECT_TRUE(imagesEqual(h, src.mirrored(true, false)));
    EXPECT_EQ(pixelAt(h, 0, 1), pixelAt(src, 2, 1));
    EXPECT_TRUE(imagesEqual(verticalFlip(verticalFlip(Picture(src))).bitmap(), src));
    EXPECT_TRUE(imagesEqual(horizontalFlip(Picture(positionCoded(1, 5))).bitmap(), positionCoded(1, 5)));
}

/// Coverage of reflection row r from the shared gradient mask, 0..255.
int coverage(int r, int h, float from, float to)
{
    return int(std::lround(255.0f * (to + (from - to) * (float(h - r) - 0.5f) / float(h))));
}

TEST(Reflection, FirstRowIsTheLastRowHalfCoveredAndItFadesOut)
{
    QImage src = filledRaster(3, 5, qRgba(0, 0, 255, 255));
    for (int x = 0; x < 3; ++x)
        src.setPixel(x, 4, qRgba(255, 0, 0, 255));

    const Picture out = reflectedImageWithHeight(Picture(src), 3, 0.5f, 0.0f);

    ASSERT_EQ(out.bitmap().size(), QSize(3, 3));
    const int top = coverage(0, 3, 0.5f, 0.0f);
    const int bottom = coverage(2, 3, 0.5f, 0.0f);
    EXPECT_EQ(top, 106);
    EXPECT_EQ(pixelAt(out.bitmap(), 1, 0), qRgba(top, 0, 0, top));
    EXPECT_EQ(pixelAt(out.bitmap(), 1, 2), qRgba(0, 0, bottom, bottom));
}

TEST(Reflection, TallerThanThePictureIsTransparentBelowAndScaled)
{
    const Picture src(filledRaster(3, 2, qRgba(255, 255, 255, 255)));

    const Picture tall = reflectedImageWithHeight(src, 4, 1.0f, 1.0f);
    const Picture sharp = reflectedImageWithHeight(src, 2, 1.0f, 1.0f, 2.0);

    EXPECT_EQ(pixelAt(tall.bitmap(), 0, 1), qRgba(255, 255, 255, 255));
    EXPECT_EQ(pixelAt(tall.bitmap(), 0, 2), 0u);
    EXPECT_EQ(sharp.bitmap().size(), QSize(6, 4));
    EXPECT_EQ(sharp.scale(), 2.0);
    EXPECT_TRUE(reflectedImageWithHeight(src, 0, 1.0f, 0.0f).isNull());
}

TEST(Geometry, NoPictureGivesNoPicture)
{
    const Picture none;

    EXPECT_TRUE(cropToSize(none, QSizeF(1, 1), 8).isNull());
    EXPECT_TRUE(scaleByFactor(none, 2.0f).isNull());
    EXPECT_TRUE(scaleToFitSize(none, QSizeF(10, 10)).isNull());
    EXPECT_TRUE(rotateInDegrees(none, 30).isNull());
    EXPECT_TRUE(rotateImagePixelsInDegrees(none, 30).isNull());
    EXPECT_TRUE(verticalFlip(none).isNull());
    EXPECT_TRUE(horizontalFlip(none).isNull());
    EXPECT_TRUE(reflectedImageWithHeight(none, 5, 1.0f, 0.0f).isNull());
    EXPECT_TRUE(rotateInRadians(Picture(positionCoded(2, 2)), INFINITY).isNull());
}

TEST(Geometry, ResultsBeyondThePictureLimitsAreNoPicture)
{
    const Picture dot(filledRaster(1, 1, qRgba(10, 20, 30, 255)));
    const Picture line(filledRaster(20000, 1, qRgba(10, 20, 30, 255)));

    // 30000 x 30000 is nine times the pixel limit; each side alone is within.
    EXPECT_TRUE(scaleToFitSize(dot, QSizeF(30000, 30000)).isNull());
    EXPECT_TRUE(sizeToFit(QSizeF(1, 1), QSizeF(30000, 30000)).isEmpty());
    EXPECT_TRUE(scaleByFactor(dot, 10001.0f).isNull());
    EXPECT_TRUE(scaleByFactor(line, 2.0f).isNull()); // 40000 wide
    EXPECT_TRUE(rotatedCanvasSize(QSizeF(20000, 20000), 0.7f).isEmpty());
    EXPECT_TRUE(reflectedImageWithHeight(line, 10, 1.0f, 0.0f, 2.0).isNull());
    // At the limits themselves pictures are still made.
    EXPECT_EQ(scaleByFactor(dot, 10000.0f).bitmap().size(), QSize(10000, 10000));
    EXPECT_EQ(sizeToFit(QSizeF(1, 1), QSizeF(kMaxPictureSide, 3)), QSize(3, 3));
}

TEST(Geometry, OnePixelPicturesSurvive)
{
    const Picture dot(filledRaster(1, 1, qRgba(10, 20, 30, 255)));

    EXPECT_EQ(rotateInDegrees(dot, 45).bitmap().size(), QSize(1, 1));
    EXPECT_EQ(rotateImagePixelsInDegrees(dot, 45).bitmap().size(), QSize(1, 1));
    EXPECT_EQ(pixelAt(verticalFlip(dot).bitmap(), 0, 0), qRgba(10, 20, 30, 255));
    EXPECT_EQ(scaleToFitSize(dot, QSizeF(4, 4)).bitmap().size(), QSize(4, 4));
}

} // namespace
