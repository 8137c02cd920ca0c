#include "imaging/convolution.h"

#include <cmath>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/pixel_test_support.h"
#include "support/pixel_compare.h"

using namespace vimora;
using vimora::test::imagesEqual;
using vimora::test::naiveFloatConvolution;
using vimora::test::noisyRaster;
using vimora::test::pixelAt;

namespace {

struct NamedFilterCase
{
    const char *name;
    std::function<Picture(const Picture &)> filter;
    std::vector<float> kernel;
    int size;
};

std::vector<float> normalisedMotionKernel()
{
    std::vector<float> k(kDiagonalMotionBlur5x5Kernel.begin(), kDiagonalMotionBlur5x5Kernel.end());
    float sum = 0.0f;
    for (float v : k)
        sum += v;
    for (float &v : k)
        v /= sum;
    return k;
}

class NamedFilters : public testing::TestWithParam<NamedFilterCase>
{
};

TEST_P(NamedFilters, MatchFourLoopConvolutionOfTheirKernel)
{
    const NamedFilterCase &c = GetParam();
    const QImage src = noisyRaster(11, 9, 7);

    const Picture out = c.filter(Picture(src));

    ASSERT_FALSE(out.isNull());
    EXPECT_TRUE(imagesEqual(out.bitmap(), naiveFloatConvolution(src, c.kernel.data(), c.size, c.size)));
}

INSTANTIATE_TEST_SUITE_P(
    Convolution, NamedFilters,
    testing::Values(
        NamedFilterCase{"Gaussian3x3", imageByApplyingGaussianBlur3x3,
                        {kGaussian3x3Kernel.begin(), kGaussian3x3Kernel.end()}, 3},
        NamedFilterCase{"Gaussian5x5", imageByApplyingGaussianBlur5x5,
                        {kGaussian5x5Kernel.begin(), kGaussian5x5Kernel.end()}, 5},
        NamedFilterCase{"Sharpen", imageByApplyingSharpen3x3, {kSharpen3x3Kernel.begin(), kSharpen3x3Kernel.end()}, 3},
        NamedFilterCase{"Emboss", imageByApplyingEmboss3x3, {kEmboss3x3Kernel.begin(), kEmboss3x3Kernel.end()}, 3},
        NamedFilterCase{"DiagonalMotion", imageByApplyingDiagonalMotionBlur5x5, normalisedMotionKernel(), 5}),
    [](const testing::TestParamInfo<NamedFilterCase> &info) { return std::string(info.param.name); });

TEST(Convolution, BoxBlurTruncatesTheExactNinth)
{
    const QImage src = noisyRaster(6, 5, 3);

    const QImage out = imageByApplyingBoxBlur3x3(Picture(src)).bitmap();

    for (int y = 1; y < 4; ++y)
        for (int x = 1; x < 5; ++x) {
            int sum = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    sum += qGreen(pixelAt(src, x + dx, y + dy));
            EXPECT_EQ(qGreen(pixelAt(out, x, y)), sum / 9) << x << "," << y;
        }
}

TEST(Convolution, GeneralKernelIsAppliedAsStoredNotMirrored)
{
    // A 3 x 5 kernel (rows x cols) with a single weight up and to the right of the centre.
    std::vector<float> k(15, 0.0f);
    k[0 * 5 + 4] = 1.0f;
    const QImage src = noisyRaster(9, 7, 11);

    const QImage out = imageByApplyingMatrix(Picture(src), k, kKernelRowsCols, 3, 5, false).bitmap();

    EXPECT_TRUE(imagesEqual(out, naiveFloatConvolution(src, k.data(), 3, 5)));
    EXPECT_EQ(qRed(pixelAt(out, 4, 3)), qRed(pixelAt(src, 6, 2)));
    EXPECT_EQ(pixelAt(out, 1, 3), pixelAt(src, 1, 3) & 0xff000000u); // two columns of frame at left
}

TEST(Convolution, OpaqueBlurKeepsAlphaAndGetsBlackFrameOfHalfTheKernel)
{
    const QImage src = vimora::test::filledRaster(8, 8, qRgba(200, 150, 100, 255));

    const QImage small = imageByApplyingGaussianBlur3x3(Picture(src)).bitmap();
    const QImage large = imageByApplyingGaussianBlur5x5(Picture(src)).bitmap();

    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool frame3 = x < 1 || y < 1 || x > 6 || y > 6;
            const bool frame5 = x < 2 || y < 2 || x > 5 || y > 5;
            EXPECT_EQ(pixelAt(small, x, y), frame3 ? 0xff000000u : qRgba(200, 150, 100, 255)) << x << "," << y;
            EXPECT_EQ(pixelAt(large, x, y), frame5 ? 0xff000000u : qRgba(200, 150, 100, 255)) << x << "," << y;
        }
}

TEST(Convolution, UniformGrayStaysExactInsideTheFrame)
{
    const QImage src = vimora::test::filledRaster(7, 7, qRgba(128, 128, 128, 255));

    for (const auto &filter : {imageByApplyingGaussianBlur3x3, imageByApplyingGaussianBlur5x5,
                               imageByApplyingSharpen3x3, imageByApplyingEmboss3x3}) {
        const QImage out = filter(Picture(src)).bitmap();
        EXPECT_EQ(pixelAt(out, 3, 3), qRgba(128, 128, 128, 255));
        EXPECT_EQ(pixelAt(out, 2, 2), qRgba(128, 128, 128, 255));
    }
}

TEST(Convolution, NormalisedKernelsKeepFlatAreas)
{
    const Picture flat(vimora::test::filledRaster(40, 40, qRgba(128, 128, 128, 255)));

    // Plain truncation of these sums gives 127 or 126.
    const QImage a = imageByApplyingGaussianBlurOfSize(flat, 9, 0.5f).bitmap();
    const QImage b = imageByApplyingGaussianBlurOfSize(flat, 31, 30.0f).bitmap();
    const QImage c = imageByApplyingOnePassGaussianBlurOfSize(flat, 5, 1.0f).bitmap();
    const QImage d = imageByApplyingDiagonalMotionBlur5x5(flat).bitmap();

    for (const QImage &out : {a, b, c, d})
        EXPECT_EQ(pixelAt(out, 20, 20), qRgba(128, 128, 128, 255));
}

TEST(Convolution, EmbossStepTurnsLastDarkColumnWhiteAndLastBrightColumnBlack)
{
    QImage rising(6, 3, QImage::Format_ARGB32_Premultiplied);
    QImage falling(6, 3, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) {
            rising.setPixel(x, y, x < 3 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
            falling.setPixel(x, y, x < 3 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        }

    const QImage up = imageByApplyingEmboss3x3(Picture(rising)).bitmap();
    const QImage down = imageByApplyingEmboss3x3(Picture(falling)).bitmap();

    EXPECT_EQ(qRed(pixelAt(up, 1, 1)), 0);
    EXPECT_EQ(qRed(pixelAt(up, 2, 1)), 255); // last dark column
    EXPECT_EQ(qRed(pixelAt(up, 3, 1)), 255);
    EXPECT_EQ(qRed(pixelAt(down, 1, 1)), 255);
    EXPECT_EQ(qRed(pixelAt(down, 2, 1)), 0); // last bright column
    EXPECT_EQ(qRed(pixelAt(down, 3, 1)), 0);
}

TEST(Convolution, ValuesTruncateAndSaturate)
{
    const QImage src = vimora::test::filledRaster(3, 3, qRgba(255, 150, 3, 255));
    const float shy[1] = {0.9996f};  // 255 -> 254.9
    const float twice[1] = {2.0f};   // 150 -> 300
    const float negate[1] = {-1.0f}; // 3 -> -3

    const QImage a = imageByApplyingMatrix(Picture(src), shy, kKernelRowsCols, 1, 1, false).bitmap();
    const QImage b = imageByApplyingMatrix(Picture(src), twice, kKernelRowsCols, 1, 1, true).bitmap();
    const QImage c = imageByApplyingMatrix(Picture(src), negate, kKernelRowsCols, 1, 1, true).bitmap();
    const QImage d = imageByApplyingMatrix(Picture(src), twice, kKernelRowsCols, 1, 1, false).bitmap();

    EXPECT_EQ(qRed(pixelAt(a, 1, 1)), 254);
    EXPECT_EQ(qGreen(pixelAt(b, 1, 1)), 255);
    EXPECT_EQ(qBlue(pixelAt(c, 1, 1)), 0);
    EXPECT_EQ(qGreen(pixelAt(d, 1, 1)), 255); // saturates even unclipped, never wraps to 44
}

TEST(Convolution, PremultipliedColourIsFilteredAsStoredAndAlphaCopied)
{
    QImage src = vimora::test::filledRaster(3, 3, 0u);
    src.setPixel(1, 1, qRgba(64, 32, 16, 128));

    const QImage out = imageByApplyingGaussianBlur3x3(Picture(src)).bitmap();

    EXPECT_EQ(pixelAt(out, 1, 1), qRgba(16, 8, 4, 128)); // 64 / 4: the stored sample, not 128 / 4
}

TEST(Convolution, TwoPassGaussianOfSizeOneKeepsThePicture)
{
    const QImage src = noisyRaster(5, 4, 9);

    const Picture out = imageByApplyingGaussianBlurOfSize(Picture(src), 1, 2.0f);

    EXPECT_TRUE(imagesEqual(out.bitmap(), src));
}

TEST(Convolution, TwoPassGaussianTruncatesBetweenItsPasses)
{
    const QImage src = noisyRaster(12, 10, 5);
    std::vector<float> g(5);
    for (int i = 0; i < 5; ++i)
        g[size_t(i)] = gaussianValueFor(float(i - 2), 2.0f);
    float sum = 0.0f;
    for (float v : g)
        sum += v;
    for (float &v : g)
        v /= sum;
    const QImage across = naiveFloatConvolution(src, g.data(), 1, 5);
    const QImage expected = naiveFloatConvolution(across, g.data(), 5, 1);

    const QImage out = imageByApplyingGaussianBlurOfSize(Picture(src), 5, 2.0f).bitmap();

    EXPECT_TRUE(imagesEqual(out, expected));
}

TEST(Convolution, TwoPassGaussianMatchesItsPlainPassesOnEveryShape)
{
    // Wide enough for whole blocks of vector sums and a tail; interiors of one row, of rows
    // left over after the rows summed down together, and of a single column; even sizes.
    struct Case
    {
        int w, h, size;
        float sigmaSquared;
    };
    for (const Case c : {Case{61, 43, 19, 9.0f}, Case{150, 26, 19, 9.0f}, Case{40, 19, 19, 4.0f},
                         Case{19, 30, 19, 9.0f}, Case{33, 17, 4, 1.5f}, Case{90, 7, 2, 0.5f}}) {
        const QImage src = noisyRaster(c.w, c.h, uint32_t(c.w + c.size));
        std::vector<float> g(static_cast<size_t>(c.size));
        for (int i = 0; i < c.size; ++i)
            g[size_t(i)] = gaussianValueFor(float(i - c.size / 2), c.sigmaSquared);
        normaliseMatrix(g.data(), c.size);
        const QImage across = naiveFloatConvolution(src, g.data(), 1, c.size);
        const QImage expected = naiveFloatConvolution(across, g.data(), c.size, 1);

        const QImage out = imageByApplyingGaussianBlurOfSize(Picture(src), c.size, c.sigmaSquared).bitmap();

        EXPECT_TRUE(imagesEqual(out, expected)) << c.w << " x " << c.h << ", size " << c.size;
    }
}

TEST(Convolution, OnePassGaussianMatchesItsNormalisedKernel)
{
    const QImage src = noisyRaster(9, 8, 21);
    std::vector<float> k(25);
    float sum = 0.0f;
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j) {
            k[size_t(i * 5 + j)] = gausValueAt(float(i - 2), float(j - 2), 1.5f);
            sum += k[size_t(i * 5 + j)];
        }
    for (float &v : k)
        v /= sum;

    const QImage out = imageByApplyingOnePassGaussianBlurOfSize(Picture(src), 5, 1.5f).bitmap();

    EXPECT_TRUE(imagesEqual(out, naiveFloatConvolution(src, k.data(), 5, 5)));
}

TEST(Convolution, GaussianValuesAndNormalisation)
{
    EXPECT_FLOAT_EQ(gaussianValueFor(0.0f, 1.0f), 0.39894228f);
    EXPECT_FLOAT_EQ(gaussianValueFor(2.0f, 4.0f), float(std::exp(-0.5) / std::sqrt(8.0 * M_PI)));
    EXPECT_FLOAT_EQ(gausValueAt(1.0f, 1.0f, 2.0f), float(std::exp(-0.5) / std::sqrt(4.0 * M_PI)));

    std::array<float, 25> motion = kDiagonalMotionBlur5x5Kernel;
    normaliseMatrix(motion.data(), 25);
    EXPECT_NEAR(motion[12], 0.087720f, 1e-6f);
    EXPECT_NEAR(motion[0], 0.035087f, 1e-6f);
    EXPECT_EQ(motion[4], 0.0f);
    EXPECT_EQ(kDiagonalMotionBlur5x5Kernel[12], 0.55556f); // the stored table is left alone

    float untouched[2] = {3.0f, 5.0f};
    normaliseMatrix(untouched, 0);
    EXPECT_EQ(untouched[0], 3.0f);
}

TEST(Convolution, BadInputGivesNoPicture)
{
    const Picture photo(noisyRaster(4, 4, 1));
    const float one[1] = {1.0f};

    EXPECT_TRUE(imageByApplyingGaussianBlur3x3(Picture()).isNull());
    EXPECT_TRUE(imageByApplyingMatrix(Picture(), kSharpen3x3Kernel, kKernel3x3).isNull());
    EXPECT_TRUE(imageByApplyingMatrix(photo, kSharpen3x3Kernel, 3).isNull());
    EXPECT_TRUE(imageByApplyingMatrix(photo, one, kKernel3x3).isNull()); // kernel too short
    EXPECT_TRUE(imageByApplyingMatrix(photo, one, kKernelRowsCols, 0, 1, false).isNull());
    EXPECT_TRUE(imageByApplyingGaussianBlurOfSize(photo, 5, 0.0f).isNull());
    EXPECT_TRUE(imageByApplyingGaussianBlurOfSize(photo, 0, 1.0f).isNull());
    EXPECT_TRUE(imageByApplyingOnePassGaussianBlurOfSize(photo, 3, NAN).isNull());
}

TEST(Convolution, PicturesSmallerThanTheKernelAreAllFrame)
{
    for (QSize size : {QSize(1, 1), QSize(2, 2), QSize(1, 7), QSize(7, 1), QSize(4, 4)}) {
        const QImage src = noisyRaster(size.width(), size.height(), 2);

        const QImage out = imageByApplyingGaussianBlur5x5(Picture(src)).bitmap();
        const QImage wide = imageByApplyingGaussianBlurOfSize(Picture(src), 9, 4.0f).bitmap();

        ASSERT_EQ(out.size(), size);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                EXPECT_EQ(pixelAt(out, x, y), pixelAt(src, x, y) & 0xff000000u);
                EXPECT_EQ(pixelAt(wide, x, y), pixelAt(src, x, y) & 0xff000000u);
            }
    }
}

TEST(Convolution, TwoPassGaussianOnPicturesNarrowerThanItsWindowButTallerIsAllFrame)
{
    // The first pass of a window wider than the picture has no interior column; the rows it
    // would sum must neither be written past their end nor read as colour.
    for (const QSize size : {QSize(1, 300), QSize(2, 10000), QSize(8, 300), QSize(18, 41), QSize(40, 2)})
        for (const int window : {19, 41}) {
            const QImage src = noisyRaster(size.width(), size.height(), uint32_t(window));

            const QImage out = imageByApplyingGaussianBlurOfSize(Picture(src), window, 9.0f).bitmap();

            ASSERT_EQ(out.size(), size) << window;
            if (size.width() >= window && size.height() >= window)
                continue;
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x)
                    ASSERT_EQ(pixelAt(out, x, y), pixelAt(src, x, y) & 0xff000000u)
                        << size.width() << " x " << size.height() << ", window " << window << " at " << x << ", " << y;
        }
}

TEST(Convolution, WorksOnThePictureAsShownAndReturnsItUpright)
{
    const QImage stored = noisyRaster(6, 4, 13);
    const Picture turned(stored, 2.0, Orientation::Left);

    const Picture out = imageByApplyingGaussianBlur3x3(turned);

    EXPECT_EQ(out.orientation(), Orientation::Up);
    EXPECT_EQ(out.scale(), 1.0);
    EXPECT_TRUE(imagesEqual(out.bitmap(), imageByApplyingGaussianBlur3x3(Picture(turned.uprightBitmap())).bitmap()));
}

} // namespace
