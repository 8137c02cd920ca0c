#include "imaging/image_service.h"
#include "imaging/tone.h"

#include <cmath>
#include <functional>

#include <gtest/gtest.h>

#include "imaging/pixel_test_support.h"
#include "support/pixel_compare.h"

using namespace vimora;
using vimora::test::filledRaster;
using vimora::test::imagesEqual;
using vimora::test::noisyRaster;
using vimora::test::pixelAt;

namespace {

/// One pixel through a filter.
QRgb through(const std::function<Picture(const Picture &)> &filter, QRgb pixel)
{
    const Picture out = filter(Picture(filledRaster(1, 1, pixel)));
    return out.isNull() ? 0xdeadbeefu : pixelAt(out.bitmap(), 0, 0);
}

TEST(PointFilters, BrightenAddsAndClamps)
{
    const auto up = [](const Picture &p) { return brightenWithValue(p, 40.0f); };
    const auto down = [](const Picture &p) { return brightenWithValue(p, -40.0f); };

    EXPECT_EQ(through(up, qRgba(230, 10, 0, 255)), qRgba(255, 50, 40, 255));
    EXPECT_EQ(through(down, qRgba(30, 100, 40, 255)), qRgba(0, 60, 0, 255));
    EXPECT_EQ(through(up, qRgba(0, 0, 0, 0)), qRgba(40, 40, 40, 0)); // alpha as drawn, colour as stored
}

TEST(PointFilters, ContrastFactorAndItsPole)
{
    const auto none = [](const Picture &p) { return contrastAdjustmentWithValue(p, 0.0f); };
    const auto strong = [](const Picture &p) { return contrastAdjustmentWithValue(p, 128.0f); };
    const auto pole = [](const Picture &p) { return contrastAdjustmentWithValue(p, 259.0f); };

    EXPECT_EQ(through(none, qRgba(100, 150, 3, 255)), qRgba(100, 150, 3, 255));
    EXPECT_EQ(through(strong, qRgba(100, 150, 128, 255)), qRgba(44, 193, 128, 255)); // F = 2.96953
    EXPECT_EQ(through(pole, qRgba(100, 128, 200, 255)), qRgba(0, 128, 255, 255));
}

TEST(PointFilters, GammaValues)
{
    const auto brighter = [](const Picture &p) { return gammaCorrectionWithValue(p, 0.9f); };
    const auto darker = [](const Picture &p) { return gammaCorrectionWithValue(p, 1.1f); };

    EXPECT_EQ(through(darker, qRgba(128, 255, 0, 255)), qRgba(119, 255, 0, 255));
    EXPECT_EQ(through(brighter, qRgba(128, 255, 0, 255)), qRgba(137, 255, 0, 255));
}

TEST(PointFilters, InvertThenGrayscaleTurnsTransparentAreasWhite)
{
    QImage src(2, 1, QImage::Format_ARGB32_Premultiplied);
    src.setPixel(0, 0, qRgba(10, 200, 30, 255));
    src.setPixel(1, 0, 0u);

    const QImage inverted = invert(Picture(src)).bitmap();
    const QImage gray = grayscale(Picture(inverted)).bitmap();

    EXPECT_EQ(pixelAt(inverted, 0, 0), qRgba(245, 55, 225, 255));
    EXPECT_EQ(pixelAt(inverted, 1, 0), qRgba(255, 255, 255, 0));
    EXPECT_EQ(pixelAt(gray, 1, 0), qRgba(255, 255, 255, 255));
}

TEST(PointFilters, GrayscaleIsOpaqueLumaOverBlack)
{
    EXPECT_EQ(through(grayscale, qRgba(255, 0, 0, 255)), qRgba(77, 77, 77, 255));
    EXPECT_EQ(through(grayscale, qRgba(0, 255, 0, 255)), qRgba(149, 149, 149, 255));
    EXPECT_EQ(through(grayscale, qRgba(0, 0, 255, 255)), qRgba(29, 29, 29, 255));
    EXPECT_EQ(through(grayscale, qRgba(0, 0, 0, 0)), qRgba(0, 0, 0, 255));
    EXPECT_EQ(through(grayscale, qRgba(128, 128, 128, 128)), qRgba(128, 128, 128, 255));
}

TEST(PointFilters, OpacityScalesEverySampleIncludingAlpha)
{
    const auto half = [](const Picture &p) { return opacity(p, 0.5f); };
    const auto gone = [](const Picture &p) { return opacity(p, 0.0f); };
    const auto over = [](const Picture &p) { return opacity(p, 3.0f); };

    EXPECT_EQ(through(half, qRgba(200, 100, 51, 255)), qRgba(100, 50, 26, 128));
    EXPECT_EQ(through(gone, qRgba(200, 100, 50, 255)), 0u);
    EXPECT_EQ(through(over, qRgba(200, 100, 50, 255)), qRgba(200, 100, 50, 255));
}

TEST(PointFilters, SepiaOnWhiteClampsRedAndGreenAndTruncatesBlue)
{
    EXPECT_EQ(through(sepiaMatrix, qRgba(255, 255, 255, 255)), qRgba(255, 255, 238, 255));
    // Every channel from the samples as read: 10, 20, 30 -> 24.98, 22.25, 17.33.
    EXPECT_EQ(through(sepiaMatrix, qRgba(10, 20, 30, 77)), qRgba(24, 22, 17, 77));
}

TEST(PointFilters, SepiaGoesThroughTheImageServiceAtFullIntensity)
{
    const Picture photo(vimora::test::positionCoded(8, 8));

    const Picture toned = sepia(photo);

    ASSERT_FALSE(toned.isNull());
    EXPECT_TRUE(imagesEqual(toned.bitmap(), applyImageFilter("CISepiaTone", photo, {{"inputIntensity", 1.0}}).bitmap()));
    EXPECT_FALSE(imagesEqual(toned.bitmap(), photo.bitmap()));
}

TEST(PointFilters, ResultsCarryScaleAndOrientationOnlyWhereTheyShould)
{
    const QImage stored = noisyRaster(6, 4, 5); // 6 x 4 pixels at scale 2, shown 2 x 3 points
    const Picture turned(stored, 2.0, Orientation::Right);

    const Picture kept = brightenWithValue(turned, 10.0f);
    const Picture upright = gammaCorrectionWithValue(turned, 1.1f);

    EXPECT_EQ(kept.scale(), 2.0);
    EXPECT_EQ(kept.orientation(), Orientation::Right);
    EXPECT_EQ(kept.bitmap().size(), QSize(6, 4));
    EXPECT_EQ(upright.scale(), 1.0);
    EXPECT_EQ(upright.orientation(), Orientation::Up);
    EXPECT_EQ(upright.bitmap().size(), QSize(2, 3)); // sized by points
}

// ---- neighbourhood filters ----

struct BiasCase
{
    const char *name;
    std::function<Picture(const Picture &, int)> filter;
    const int16_t *kernel;
    int size;
    int divisor;
};

class IntegerConvolutions : public testing::TestWithParam<BiasCase>
{
};

TEST_P(IntegerConvolutions, MatchTheirTableOnAllFourChannels)
{
    const BiasCase &c = GetParam();
    const QImage src = noisyRaster(10, 8, 17);

    for (int bias : {0, 1, -3, 256, 4000, -4000, 100000, -100000}) {
        const Picture out = c.filter(Picture(src), bias);

        ASSERT_FALSE(out.isNull());
        EXPECT_TRUE(imagesEqual(out.bitmap(), vimora::test::naiveIntegerConvolution(src, c.kernel, c.size, c.divisor, bias)))
            << "bias " << bias;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tone, IntegerConvolutions,
    testing::Values(BiasCase{"Emboss", embossWithBias, kEmbossKernel.data(), 3, kEmbossDivisor},
                    BiasCase{"Sharpen", sharpenWithBias, kSharpenKernel.data(), 3, kSharpenDivisor},
                    BiasCase{"Unsharpen", unsharpenWithBias, kUnsharpenKernel.data(), 3, kUnsharpenDivisor},
                    BiasCase{"Gaussian", gaussianBlurWithBias, s_gaussianblur_kernel_5x5.data(), 5,
                             kGaussianBlurDivisor}),
    [](const testing::TestParamInfo<BiasCase> &info) { return std::string(info.param.name); });

TEST(IntegerConvolutions, BiasOnAnOpaqueFlatArea)
{
    const Picture flat(filledRaster(7, 7, qRgba(100, 100, 100, 255)));

    EXPECT_EQ(pixelAt(sharpenWithBias(flat, 0).bitmap(), 3, 3), qRgba(100, 100, 100, 255));
    EXPECT_EQ(pixelAt(unsharpenWithBias(flat, 0).bitmap(), 3, 3), qRgba(100, 100, 100, 255));
    EXPECT_EQ(pixelAt(sharpenWithBias(flat, 1).bitmap(), 3, 3), qRgba(101, 101, 101, 255)); // alpha clamped
    EXPECT_EQ(pixelAt(sharpenWithBias(flat, 1).bitmap(), 0, 3), qRgba(100, 100, 100, 255)); // border copied
    EXPECT_EQ(pixelAt(gaussianBlurWithBias(flat, 1).bitmap(), 3, 3), qRgba(100, 100, 100, 255));
    EXPECT_EQ(pixelAt(gaussianBlurWithBias(flat, 256).bitmap(), 3, 3), qRgba(101, 101, 101, 255));
    EXPECT_EQ(pixelAt(gaussianBlurWithBias(flat, 256).bitmap(), 1, 3), qRgba(100, 100, 100, 255));
}

TEST(EdgeDetection, RingIsBlackWithItsAlphaAndFlatAreasVanish)
{
    QImage src = filledRaster(5, 5, qRgba(90, 90, 90, 200));
    src.setPixel(2, 2, qRgba(120, 100, 90, 200));

    const QImage out = edgeDetectionWithBias(Picture(src), 1).bitmap();

    EXPECT_EQ(pixelAt(out, 0, 2), qRgba(0, 0, 0, 200));
    EXPECT_EQ(pixelAt(out, 4, 4), qRgba(0, 0, 0, 200));
    EXPECT_EQ(pixelAt(out, 2, 2), qRgba(240, 80, 0, 200)); // 8 x 120 - 8 x 90, 8 x 100 - 720, 0
    EXPECT_EQ(pixelAt(out, 1, 1), qRgba(0, 0, 0, 200));    // 720 - 7 x 90 - 120 < 0
    const float *k = kEdgeDetectionKernel.data();
    const QImage noisy = noisyRaster(8, 7, 31);
    EXPECT_TRUE(imagesEqual(edgeDetectionWithBias(Picture(noisy), 0).bitmap(),
                            vimora::test::naiveFloatConvolution(noisy, k, 3, 3)));
}

TEST(ToneFilters, NullAndTinyPictures)
{
    const std::function<Picture(const Picture &)> filters[] = {
        [](const Picture &p) { return brightenWithValue(p, 1.0f); },
        [](const Picture &p) { return contrastAdjustmentWithValue(p, 10.0f); },
        [](const Picture &p) { return gammaCorrectionWithValue(p, 2.0f); },
        grayscale,
        invert,
        [](const Picture &p) { return opacity(p, 0.3f); },
        sepia,
        sepiaMatrix,
        [](const Picture &p) { return edgeDetectionWithBias(p, 0); },
        [](const Picture &p) { return embossWithBias(p, 0); },
        [](const Picture &p) { return sharpenWithBias(p, 0); },
        [](const Picture &p) { return unsharpenWithBias(p, 0); },
        [](const Picture &p) { return gaussianBlurWithBias(p, 0); },
        autoEnhance,
        redEyeCorrection,
    };
    for (const auto &filter : filters) {
        EXPECT_TRUE(filter(Picture()).isNull());
        EXPECT_EQ(filter(Picture(noisyRaster(1, 1, 3))).bitmap().size(), QSize(1, 1));
        EXPECT_EQ(filter(Picture(noisyRaster(1, 9, 3))).bitmap().size(), QSize(1, 9));
    }
}

} // namespace
