// Our image service: the working colour space, the named filters' formulas and invariants, the
// catalogue table and the automatic adjustment. Expected values come from the published
// formulas written out here, in double precision.
#include <cmath>
#include <numbers>
#include <set>
#include <tuple>

#include <gtest/gtest.h>

#include "imaging/image_service.h"
#include "imaging/kernels.h"
#include "imaging/tone.h"
#include "support/pixel_compare.h"

using namespace vimora;
using vimora::test::filledRaster;
using vimora::test::imagesEqual;
using vimora::test::pixelAt;
using vimora::test::positionCoded;

namespace {

constexpr double kPi = std::numbers::pi;

double decode(double e)
{
    return e <= 0.04045 ? e / 12.92 : std::pow((e + 0.055) / 1.055, 2.4);
}

double encode(double l)
{
    l = std::clamp(l, 0.0, 1.0);
    return l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1 / 2.4) - 0.055;
}

/// The opaque byte of a linear value.
int byteOf(double linear)
{
    return int(std::floor(encode(linear) * 255 + 0.5));
}

double linearOf(int byte)
{
    return decode(byte / 255.0);
}

QRgb argb(int a, int r, int g, int b)
{
    return qRgba(r, g, b, a);
}

QRgb gray(int v)
{
    return argb(255, v, v, v);
}

Picture solid(QRgb premultiplied, int w = 1, int h = 1)
{
    return Picture(filledRaster(w, h, premultiplied));
}

Picture apply(std::string_view name, const Picture &in,
              std::initializer_list<std::pair<std::string_view, ParamValue>> params = {})
{
    return applyImageFilter(name, in, params);
}

QRgb onePixel(std::string_view name, QRgb in, std::initializer_list<std::pair<std::string_view, ParamValue>> params = {})
{
    const Picture out = apply(name, solid(in), params);
    return out.isNull() ? 0xdeadbeef : pixelAt(out.bitmap(), 0, 0);
}

/// Every valid premultiplied pair: column C, row A - 1 holds (A, C, C / 2, A - C).
QImage everyPair()
{
    QImage image(256, 255, QImage::Format_ARGB32_Premultiplied);
    for (int a = 1; a < 256; ++a)
        for (int c = 0; c < 256; ++c) {
            const int v = std::min(c, a);
            image.setPixel(c, a - 1, argb(a, v, v / 2, a - v));
        }
    return image;
}

QImage photoLike(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y,
                           argb(255, int(127 + 120 * std::sin(x * 0.3 + y * 0.05)), (x * 7 + y * 3) % 256,
                                int(127 + 120 * std::cos(y * 0.2))));
    return image;
}

} // namespace

// --- working space --------------------------------------------------------------------------

TEST(WorkingSpace, EveryBytePairSurvivesReadAndWrite)
{
    const QImage pairs = everyPair();
    const kernels::Region all = kernels::regionOf(pairs);
    auto nothing = [](kernels::PixelRow &) {};

    EXPECT_TRUE(imagesEqual(kernels::mapStraight(pairs, all, kernels::Space::Linear, nothing), pairs));
    EXPECT_TRUE(imagesEqual(kernels::mapPremultiplied(pairs, all, kernels::Space::Linear, nothing), pairs));
    EXPECT_TRUE(imagesEqual(kernels::mapStraight(pairs, all, kernels::Space::Encoded, nothing), pairs));
    EXPECT_TRUE(imagesEqual(kernels::mapPremultiplied(pairs, all, kernels::Space::Encoded, nothing), pairs));
}

TEST(WorkingSpace, OpaqueEncodingMatchesTheExactFormula)
{
    const FilterContext &context = ZELGetCIContext();
    for (int i = 0; i <= 200000; ++i) {
        const double u = i / 200000.0;
        const int exact = byteOf(u);
        const int fast = int(context.encodeOpaque(float(u)));
        // Within float precision of a rounding edge either byte is right.
        const double edge = std::abs(encode(u) * 255 - std::floor(encode(u) * 255) - 0.5);
        if (edge > 1e-4) {
            ASSERT_EQ(fast, exact) << "u = " << u;
        }
        ASSERT_LT(std::abs(context.encodeFast(float(u)) - encode(u)), 2e-5) << "u = " << u;
    }
}

TEST(WorkingSpace, HalfWayInLinearLightIsByte188)
{
    EXPECT_EQ(byteOf(0.5), 188); // the test's own formula
    EXPECT_EQ(ZELGetCIContext().encodeOpaque(0.5f), 188u);
}

// --- colour filters ---------------------------------------------------------------------------

TEST(ColourFilters, ExposureDoublesLinearLightPerStop)
{
    EXPECT_EQ(onePixel("CIExposureAdjust", gray(128), {{"inputEV", 1.0}}), gray(176));
    EXPECT_EQ(onePixel("CIExposureAdjust", gray(128), {{"inputEV", -1.0}}), gray(92));
    EXPECT_EQ(onePixel("CIExposureAdjust", gray(200), {{"inputEV", 1.0}}), gray(255));
    EXPECT_EQ(onePixel("CIExposureAdjust", gray(0), {{"inputEV", 3.0}}), gray(0));
    EXPECT_EQ(onePixel("CIExposureAdjust", 0, {{"inputEV", 3.0}}), 0u);
    // Translucent: straight 128 at alpha 128 doubles in linear light, alpha stays.
    const int expected = int(std::floor(encode(2 * linearOf(255)) * 128 + 0.5));
    EXPECT_EQ(onePixel("CIExposureAdjust", argb(128, 64, 128, 0), {{"inputEV", 1.0}}),
              argb(128, int(std::floor(encode(2 * decode(64 / 128.0)) * 128 + 0.5)), expected, 0));
}

TEST(ColourFilters, GammaIsAPowerOfLinearLight)
{
    EXPECT_EQ(onePixel("CIGammaAdjust", gray(128), {{"inputPower", 2.0}}), gray(61));
    EXPECT_EQ(onePixel("CIGammaAdjust", gray(128), {{"inputPower", 0.5}}), gray(181));
    for (double power : {0.25, 0.7, 3.0}) {
        EXPECT_EQ(onePixel("CIGammaAdjust", gray(0), {{"inputPower", power}}), gray(0));
        EXPECT_EQ(onePixel("CIGammaAdjust", gray(255), {{"inputPower", power}}), gray(255));
    }
}

TEST(ColourFilters, ColorControlsWorkOnEncodedValues)
{
    auto controls = [](QRgb in, double saturation, double brightness, double contrast) {
        return onePixel("CIColorControls", in,
                        {{"inputSaturation", saturation}, {"inputBrightness", brightness}, {"inputContrast", contrast}});
    };
    EXPECT_EQ(controls(argb(255, 255, 0, 0), 0, 0, 1), gray(54));
    EXPECT_EQ(controls(argb(255, 200, 100, 50), 2, 0, 1), argb(255, 255, 82, 0));
    EXPECT_EQ(controls(argb(255, 200, 100, 50), 3, 0, 1), argb(255, 255, 65, 0));
    EXPECT_EQ(controls(argb(255, 60, 128, 200), 1, 0, 2), argb(255, 0, 129, 255));
    EXPECT_EQ(controls(argb(255, 0, 255, 0), 1, 0, 0.5), argb(255, 64, 191, 64));
    EXPECT_EQ(controls(argb(255, 0, 100, 250), 1, 0.2, 1), argb(255, 51, 151, 255));
    for (double saturation : {0.0, 0.5, 3.0})
        EXPECT_EQ(controls(gray(77), saturation, 0, 1), gray(77));
}

TEST(ColourFilters, HueTurnsTheColourCubeAboutItsGrayAxis)
{
    const Picture in(photoLike(16, 16));

    const Picture third = apply("CIHueAdjust", in, {{"inputAngle", 2 * kPi / 3}});
    const Picture there = apply("CIHueAdjust", in, {{"inputAngle", 0.7}});
    const Picture back = apply("CIHueAdjust", there, {{"inputAngle", -0.7}});

    EXPECT_EQ(onePixel("CIHueAdjust", argb(255, 255, 0, 0), {{"inputAngle", 2 * kPi / 3}}), argb(255, 0, 255, 0));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            // A third of a turn permutes the channels: new red = old blue, green = old red.
            const QRgb p = pixelAt(in.bitmap(), x, y), q = pixelAt(third.bitmap(), x, y);
            ASSERT_EQ(q, argb(255, qBlue(p), qRed(p), qGreen(p))) << x << "," << y;
        }
    EXPECT_TRUE(imagesEqual(apply("CIHueAdjust", in, {{"inputAngle", 0.7 + 2 * kPi}}).bitmap(), there.bitmap(), 1));
    EXPECT_EQ(onePixel("CIHueAdjust", gray(99), {{"inputAngle", 1.3}}), gray(99));
    // Turning back restores colours that no channel clipped on the way (a soft palette).
    const Picture soft(filledRaster(2, 2, argb(255, 150, 120, 110)));
    EXPECT_TRUE(imagesEqual(apply("CIHueAdjust", apply("CIHueAdjust", soft, {{"inputAngle", 0.7}}),
                                  {{"inputAngle", -0.7}})
                                .bitmap(),
                            soft.bitmap(), 1));
    (void)back;
}

TEST(ColourFilters, VibranceBoostsWeakColoursMoreAndSparesGray)
{
    auto saturation = [](QRgb p) {
        return std::max({qRed(p), qGreen(p), qBlue(p)}) - std::min({qRed(p), qGreen(p), qBlue(p)});
    };
    const QRgb pale = argb(255, 140, 150, 170), strong = argb(255, 40, 90, 220);

    const int paleGain = saturation(onePixel("CIVibrance", pale, {{"inputAmount", 1.0}})) - saturation(pale);
    const int strongGain = saturation(onePixel("CIVibrance", strong, {{"inputAmount", 1.0}})) - saturation(strong);

    EXPECT_GT(paleGain, 0);
    EXPECT_GT(paleGain * saturation(strong), strongGain * saturation(pale)); // relatively more
    EXPECT_EQ(onePixel("CIVibrance", gray(130), {{"inputAmount", 1.0}}), gray(130));
    EXPECT_EQ(onePixel("CIVibrance", argb(255, 0, 0, 255), {{"inputAmount", 0.8}}), argb(255, 0, 0, 255));
    const QRgb grayed = onePixel("CIVibrance", strong, {{"inputAmount", -1.0}});
    EXPECT_EQ(qRed(grayed), qGreen(grayed));
    EXPECT_EQ(qGreen(grayed), qBlue(grayed));
    int previous = -1;
    for (double amount : {-1.0, -0.5, 0.0, 0.5, 1.0}) {
        const int s = saturation(onePixel("CIVibrance", pale, {{"inputAmount", amount}}));
        EXPECT_GE(s, previous);
        previous = s;
    }
}

TEST(ColourFilters, SepiaMixesTowardsTheBrownMatrix)
{
    EXPECT_EQ(onePixel("CISepiaTone", gray(255)), argb(255, 255, 255, 248));
    EXPECT_EQ(onePixel("CISepiaTone", gray(128)), argb(255, 147, 139, 124));
    EXPECT_EQ(onePixel("CISepiaTone", gray(0)), gray(0));
    const QRgb half = onePixel("CISepiaTone", gray(128), {{"inputIntensity", 0.5}});
    const double l = linearOf(128);
    EXPECT_EQ(half, argb(255, byteOf(l + (1.351 * l - l) / 2), byteOf(l + (1.203 * l - l) / 2),
                         byteOf(l + (0.937 * l - l) / 2)));
}

TEST(ColourFilters, PosterizeKeepsEvenlySpacedLevels)
{
    EXPECT_EQ(onePixel("CIColorPosterize", argb(255, 127, 128, 255), {{"inputLevels", 2.0}}), argb(255, 0, 255, 255));
    const Picture in(photoLike(32, 32));
    const Picture once = apply("CIColorPosterize", in, {{"inputLevels", 4.0}});
    std::set<int> reds;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            reds.insert(qRed(pixelAt(once.bitmap(), x, y)));
    EXPECT_LE(reds.size(), 4u);
    EXPECT_TRUE(imagesEqual(apply("CIColorPosterize", once, {{"inputLevels", 4.0}}).bitmap(), once.bitmap()));
}

TEST(ColourFilters, MaskToAlphaReadsTheGrayInLinearLight)
{
    EXPECT_EQ(onePixel("CIMaskToAlpha", gray(255)), gray(255));
    EXPECT_EQ(onePixel("CIMaskToAlpha", gray(0)), 0u);
    EXPECT_EQ(onePixel("CIMaskToAlpha", gray(128)), argb(55, 55, 55, 55));
    EXPECT_EQ(onePixel("CIMaskToAlpha", gray(64)), argb(13, 13, 13, 13));
}

TEST(ColourFilters, VignetteDarkensTheCornersSymmetrically)
{
    const Picture white = solid(gray(255), 101, 61);

    const QImage dark = apply("CIVignette", white, {{"inputRadius", 1.0}, {"inputIntensity", 1.0}}).bitmap();
    const QImage soft = apply("CIVignette", white, {{"inputRadius", 2.0}, {"inputIntensity", 1.0}}).bitmap();
    const QImage light =
        apply("CIVignette", solid(gray(100), 101, 61), {{"inputRadius", 1.0}, {"inputIntensity", -1.0}}).bitmap();

    EXPECT_EQ(pixelAt(dark, 50, 30), gray(255));
    EXPECT_LE(qRed(pixelAt(dark, 0, 0)), 2);
    EXPECT_LT(qRed(pixelAt(dark, 10, 10)), qRed(pixelAt(soft, 10, 10)));
    EXPECT_GT(qRed(pixelAt(light, 5, 5)), 100);
    for (int y = 0; y < 61; y += 7)
        for (int x = 0; x < 101; x += 9)
            ASSERT_EQ(pixelAt(dark, x, y), pixelAt(dark, 100 - x, 60 - y));
}

TEST(ColourFilters, NoiseReductionSmoothsSmallStepsAndKeepsEdges)
{
    QImage speck = filledRaster(5, 5, gray(120));
    speck.setPixel(2, 2, gray(124));
    QImage edge = filledRaster(6, 4, gray(0));
    for (int y = 0; y < 4; ++y)
        for (int x = 3; x < 6; ++x)
            edge.setPixel(x, y, gray(255));

    const QImage smoothed = apply("CINoiseReduction", Picture(speck), {{"inputNoiseLevel", 0.05}}).bitmap();
    const QImage kept =
        apply("CINoiseReduction", Picture(edge), {{"inputNoiseLevel", 0.05}, {"inputSharpness", 0.0}}).bitmap();

    EXPECT_EQ(pixelAt(smoothed, 2, 2), gray(120)) << "the speck is pulled towards its surroundings";
    EXPECT_TRUE(imagesEqual(kept, edge));
    EXPECT_TRUE(imagesEqual(apply("CINoiseReduction", solid(gray(90), 7, 5)).bitmap(), solid(gray(90), 7, 5).bitmap()));
}

TEST(ColourFilters, BloomScreensTheBlurAndNeverDarkens)
{
    const QImage in = photoLike(20, 14);

    const QImage none = apply("CIBloom", Picture(in), {{"inputRadius", 2.0}, {"inputIntensity", 0.0}}).bitmap();
    const QImage glow = apply("CIBloom", Picture(in), {{"inputRadius", 2.0}, {"inputIntensity", 1.0}}).bitmap();
    const QImage sharp = apply("CIBloom", solid(gray(128)), {{"inputRadius", 0.0}, {"inputIntensity", 0.5}}).bitmap();

    ASSERT_EQ(none.size(), QSize(32, 26));
    EXPECT_TRUE(imagesEqual(none.copy(6, 6, 20, 14), in));
    EXPECT_EQ(pixelAt(none, 0, 0), 0u);
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 20; ++x) {
            const QRgb p = pixelAt(in, x, y), q = pixelAt(glow, x + 6, y + 6);
            ASSERT_GE(qRed(q), qRed(p));
            ASSERT_GE(qGreen(q), qGreen(p));
            ASSERT_GE(qBlue(q), qBlue(p));
        }
    const double l = linearOf(128);
    EXPECT_EQ(pixelAt(sharp, 0, 0), gray(byteOf(l + 0.5 * l - 0.5 * l * l)));
    EXPECT_GT(qAlpha(pixelAt(glow, 3, 3)), 0); // the glow spreads past the picture
}

TEST(ColourFilters, BloomInIntegersStaysWithinALevelOfTheFloatScreen)
{
    // The float screen of the input with its blur, as bloom was worked before its 16-bit form;
    // an intensity above 1 still takes that form.
    const QImage in = photoLike(40, 30);
    for (const double radius : {1.0, 3.0})
        for (const double k : {0.25, 1.0}) {
            const int reach = kernels::blurReach(radius);
            const kernels::Region region{-reach, -reach, 40 + 2 * reach, 30 + 2 * reach};
            const QImage expected = kernels::blurThen(in, region, radius, [&](kernels::PixelRow &p, const kernels::PixelRow &b) {
                float *planes[4] = {p.r, p.g, p.b, p.a};
                const float *blur[4] = {b.r, b.g, b.b, b.a};
                for (int c = 0; c < 4; ++c)
                    for (int i = 0; i < p.count; ++i) {
                        const float kb = float(k) * blur[c][i];
                        planes[c][i] = planes[c][i] + kb - planes[c][i] * kb;
                    }
            });
            const QImage out = apply("CIBloom", Picture(in), {{"inputRadius", radius}, {"inputIntensity", k}}).bitmap();
            ASSERT_EQ(out.size(), expected.size());
            int step = 0;
            for (int y = 0; y < out.height(); ++y)
                for (int x = 0; x < out.width(); ++x)
                    for (const int shift : {0, 8, 16, 24})
                        step = std::max(step, std::abs(int(pixelAt(out, x, y) >> shift & 0xff)
                                                       - int(pixelAt(expected, x, y) >> shift & 0xff)));
            EXPECT_LE(step, 1) << "radius " << radius << ", intensity " << k;
        }
    // Intensity 1 on white: the screen saturates exactly, never past white.
    const QImage white = apply("CIBloom", solid(gray(255), 12, 9), {{"inputRadius", 2.0}, {"inputIntensity", 1.0}}).bitmap();
    EXPECT_EQ(pixelAt(white, 6 + 6, 6 + 4), gray(255));
}

// --- halftone screens ---------------------------------------------------------------------------

TEST(Screens, WhiteAndBlackSurviveEveryScreen)
{
    for (const char *name : {"CIDotScreen", "CICircularScreen", "CIHatchedScreen", "CILineScreen"})
        for (double sharpness : {0.0, 0.7, 1.0}) {
            const QImage white = apply(name, solid(gray(255), 9, 9), {{"inputSharpness", sharpness}}).bitmap();
            const QImage black = apply(name, solid(gray(0), 9, 9), {{"inputSharpness", sharpness}}).bitmap();
            EXPECT_TRUE(imagesEqual(white, solid(gray(255), 9, 9).bitmap())) << name << " " << sharpness;
            EXPECT_TRUE(imagesEqual(black, solid(gray(0), 9, 9).bitmap())) << name << " " << sharpness;
        }
}

TEST(Screens, HardEdgesGiveOnlyInkOrPaperAndLinesFollowTheAngle)
{
    const Picture midGray = solid(gray(188), 24, 24);

    const QImage flat = apply("CILineScreen", midGray,
                              {{"inputSharpness", 1.0}, {"inputWidth", 12.0}, {"inputCenter", QPointF(0, 0)}})
                            .bitmap();
    const QImage upright = apply("CILineScreen", midGray,
                                 {{"inputSharpness", 1.0},
                                  {"inputWidth", 12.0},
                                  {"inputAngle", kPi / 2},
                                  {"inputCenter", QPointF(0, 0)}})
                               .bitmap();

    int paper = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            const QRgb p = pixelAt(flat, x, y);
            ASSERT_TRUE(p == gray(0) || p == gray(255));
            paper += p == gray(255);
            ASSERT_EQ(p, pixelAt(flat, 0, y)) << "angle 0 draws horizontal stripes";
            ASSERT_EQ(pixelAt(upright, x, y), pixelAt(upright, x, 0)) << "a quarter turn draws vertical ones";
            ASSERT_EQ(pixelAt(flat, x, y), pixelAt(flat, x, (y + 12) % 24)) << "period of the width";
        }
    EXPECT_EQ(paper, 24 * 12); // linear 0.5 leaves half of each period white
}

// --- warps --------------------------------------------------------------------------------------

namespace {

/// Opaque picture whose red and green encode the distance from (cx, cy) in y-up space, so a
/// sampled pixel tells the radius it came from (within the bilinear blur).
QImage radiusCoded(int w, int h, double cx, double cy)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const double r = std::hypot(i + 0.5 - cx, h - j - 0.5 - cy);
            image.setPixel(i, j, argb(255, std::min(255, int(r)), 0, 0));
        }
    return image;
}

} // namespace

TEST(Warps, BumpAtHalfTheRadiusShowsThreeEighthsOfIt)
{
    // Radius 80 about (100, 100); at r = 40 the source lies at 0.375 x 80 = 30.
    const Picture in(radiusCoded(200, 200, 100, 100));

    const QImage out = apply("CIBumpDistortion", in,
                             {{"inputCenter", QPointF(100, 100)}, {"inputRadius", 80.0}, {"inputScale", 0.5}})
                           .bitmap();

    const int j = 200 - 140; // image y = 139.5, 39.5 above the centre
    EXPECT_NEAR(qRed(pixelAt(out, 100, j)), 30, 2);
    EXPECT_EQ(pixelAt(out, 100, 199 - 10), pixelAt(in.bitmap(), 100, 199 - 10)) << "outside the radius";
}

TEST(Warps, PinchPullsContentInwardsAndTwirlKeepsRings)
{
    const Picture rings(radiusCoded(120, 120, 60, 60));

    const QImage pinched = apply("CIPinchDistortion", rings,
                                 {{"inputCenter", QPointF(60, 60)}, {"inputRadius", 50.0}, {"inputScale", 0.5}})
                               .bitmap();
    const QImage twirled = apply("CITwirlDistortion", rings,
                                 {{"inputCenter", QPointF(60, 60)}, {"inputRadius", 50.0}, {"inputAngle", 2.0}})
                               .bitmap();
    const QImage vortex = apply("CIVortexDistortion", rings,
                                {{"inputCenter", QPointF(60, 60)}, {"inputRadius", 50.0}, {"inputAngle", 20.0}})
                              .bitmap();

    // r = 25 (half the radius) shows the source at about 0.595 x 50.
    EXPECT_NEAR(qRed(pixelAt(pinched, 60, 120 - 86)), 29, 2);
    for (int j = 0; j < 120; j += 5)
        for (int i = 0; i < 120; i += 5) {
            // Rings are whole-pixel steps of the radius: a turned sample may mix two of them.
            ASSERT_NEAR(qRed(pixelAt(twirled, i, j)), qRed(pixelAt(rings.bitmap(), i, j)), 2) << i << "," << j;
            ASSERT_NEAR(qRed(pixelAt(vortex, i, j)), qRed(pixelAt(rings.bitmap(), i, j)), 2) << i << "," << j;
        }
}

TEST(Warps, TwirlTurnsCounterClockwiseOnScreen)
{
    // A horizontal bar through the centre; turned left, its right end rises.
    QImage bar = filledRaster(61, 61, gray(0));
    for (int x = 0; x < 61; ++x)
        bar.setPixel(x, 30, gray(255));

    const QImage out = apply("CITwirlDistortion", Picture(bar),
                             {{"inputCenter", QPointF(30.5, 30.5)}, {"inputRadius", 30.0}, {"inputAngle", 0.5}})
                           .bitmap();

    EXPECT_GT(qRed(pixelAt(out, 36, 28)), qRed(pixelAt(out, 36, 32)));
    EXPECT_GT(qRed(pixelAt(out, 24, 32)), qRed(pixelAt(out, 24, 28)));
}

TEST(Warps, HoleShowsTheCentreAndSplashRepeatsTheRim)
{
    const QImage coded = positionCoded(50, 40);
    const QPointF centre(25.5, 20.5); // a pixel centre

    const QImage hole =
        apply("CIHoleDistortion", Picture(coded), {{"inputCenter", centre}, {"inputRadius", 6.0}}).bitmap();
    const QImage splash =
        apply("CICircleSplashDistortion", Picture(coded), {{"inputCenter", centre}, {"inputRadius", 6.0}}).bitmap();

    EXPECT_EQ(pixelAt(hole, 25, 19), pixelAt(coded, 25, 19));
    EXPECT_EQ(pixelAt(hole, 27, 18), pixelAt(coded, 25, 19));
    EXPECT_EQ(pixelAt(splash, 27, 18), pixelAt(coded, 27, 18)) << "inside the disc";
    // Along the ray to the right every pixel outside the disc shows the rim colour.
    for (int i = 33; i < 50; ++i)
        ASSERT_EQ(pixelAt(splash, i, 19), pixelAt(splash, 33, 19));
}

TEST(Warps, PixellateFillsEachCellWithOneColour)
{
    const QImage out =
        apply("CIPixellate", Picture(photoLike(40, 40)), {{"inputScale", 8.0}, {"inputCenter", QPointF(4, 4)}}).bitmap();

    ASSERT_EQ(out.size(), QSize(40, 40));
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(pixelAt(out, x, y), pixelAt(out, x / 8 * 8, y / 8 * 8)) << x << "," << y;
}

TEST(Warps, KaleidoscopeWithoutDecayCopiesTheTriangle)
{
    const QImage coded = photoLike(90, 90);
    ImageFilter k("CITriangleKaleidoscope");
    k.setValue("inputImage", Picture(coded));
    k.setValue("inputPoint", QPointF(45, 45));
    k.setValue("inputSize", 60.0);
    k.setValue("inputRotation", 0.0);
    k.setValue("inputDecay", 1.0);

    const QImage out = k.renderForWrapper().bitmap();

    // The triangle's inradius is 60 / (2 sqrt 3) = 17.3: a disc of 15 about the point is inside.
    for (int j = 32; j < 58; ++j)
        for (int i = 32; i < 58; ++i)
            if (std::hypot(i + 0.5 - 45, 90 - j - 0.5 - 45) < 15) {
                ASSERT_EQ(pixelAt(out, i, j), pixelAt(coded, i, j)) << i << "," << j;
            }
}

TEST(Warps, SamplesMixTheFourNeighboursInLinearLight)
{
    // A quarter-pixel shift right and half a pixel up (y-up): each output pixel mixes four
    // inputs with weights 3/8, 1/8, 3/8, 1/8, transparent beyond the edges.
    QImage in(19, 11, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 19; ++x) {
            const int a = 40 + (x * 53 + y * 31) % 216;
            in.setPixel(x, y, argb(a, (x * 41 + y * 7) % (a + 1), (x * 13 + y * 29) % (a + 1), (x + y * 17) % (a + 1)));
        }

    const QImage out = apply("CIAffineTransform", Picture(in), {{"inputTransform", QTransform(1, 0, 0, 1, 0.25, 0.5)}})
                           .bitmap();

    ASSERT_EQ(out.size(), QSize(20, 12));
    auto at = [&](int x, int y, int shift) -> std::pair<double, double> {
        if (x < 0 || y < 0 || x >= 19 || y >= 11)
            return {0, 0};
        const QRgb p = pixelAt(in, x, y);
        const double a = qAlpha(p) / 255.0;
        const double c = a > 0 ? decode(std::min(int((p >> shift) & 0xff), qAlpha(p)) / double(qAlpha(p))) * a : 0;
        return {c, a};
    };
    for (int j = 0; j < 12; ++j)
        for (int i = 0; i < 20; ++i) {
            // Output centre (i + 0.5, 11.5 - j) in image space reads source (i + 0.25, 11 - j), i.e.
            // raster column i - 0.25, row j - 0.5.
            const int x0 = i - 1, y0 = j - 1;
            const double wx = 0.75, wy = 0.5; // weight of the right and lower taps
            const QRgb got = pixelAt(out, i, j);
            for (int shift : {16, 8, 0}) {
                double c = 0, a = 0;
                for (auto [dx, dy, w] : {std::tuple{0, 0, (1 - wx) * (1 - wy)}, {1, 0, wx * (1 - wy)},
                                         {0, 1, (1 - wx) * wy}, {1, 1, wx * wy}}) {
                    const auto [tc, ta] = at(x0 + dx, y0 + dy, shift);
                    c += w * tc;
                    a += w * ta;
                }
                const int alpha = int(std::floor(a * 255 + 0.5));
                const int expected = alpha == 0 ? 0 : int(std::floor(encode(c / a) * a * 255 + 0.5));
                ASSERT_EQ(qAlpha(got), alpha) << i << "," << j;
                ASSERT_NEAR(int((got >> shift) & 0xff), expected, 1) << i << "," << j << " shift " << shift;
            }
        }
}

TEST(Warps, CropRectanglesAreBottomLeftBased)
{
    const QImage coded = positionCoded(10, 8);

    const QImage bottom = apply("CICrop", Picture(coded), {{"inputRectangle", QRectF(0, 0, 10, 4)}}).bitmap();

    EXPECT_TRUE(imagesEqual(bottom, coded.copy(0, 4, 10, 4)));
}

// --- the catalogue table ------------------------------------------------------------------------

TEST(Catalogue, EveryFilterIsDescribedAndRuns)
{
    const Picture in(photoLike(24, 18));
    const Picture other(photoLike(18, 24));
    std::set<std::string_view> names;
    for (const FilterEntry &entry : imageServiceCatalogue()) {
        EXPECT_TRUE(names.insert(entry.name).second) << entry.name;
        EXPECT_FALSE(entry.description.empty()) << entry.name;
        ASSERT_FALSE(entry.params.empty());
        EXPECT_EQ(entry.params.front().key, "inputImage") << entry.name;

        ImageFilter filter(entry.name);
        ASSERT_TRUE(filter.isValid());
        filter.setValue("inputImage", in);
        for (const char *key : {"inputBackgroundImage", "inputTargetImage"})
            if (entry.param(key))
                filter.setValue(key, other);
        const Picture out = filter.renderForWrapper();
        EXPECT_FALSE(out.isNull()) << entry.name;
        EXPECT_GT(out.pixelWidth(), 0) << entry.name;
    }
    EXPECT_GE(names.size(), 48u);
}

TEST(Catalogue, EveryNumberDefaultsWithinItsRange)
{
    int numbers = 0;
    for (const FilterEntry &entry : imageServiceCatalogue())
        for (const ParamInfo &param : entry.params) {
            if (param.kind != ParamKind::Number)
                continue;
            ++numbers;
            const double value = param.fallback[0];
            EXPECT_LE(param.minimum, value) << entry.name << " " << param.key;
            EXPECT_LE(value, param.maximum) << entry.name << " " << param.key;
        }
    EXPECT_GT(numbers, 40);
}

TEST(Catalogue, ValuesAreCheckedByKeyAndKind)
{
    ImageFilter bump("CIBumpDistortion");

    EXPECT_TRUE(bump.setValue("inputScale", 0.3));
    EXPECT_FALSE(bump.setValue("inputScale", QPointF(1, 2)));
    EXPECT_FALSE(bump.setValue("inputSpeed", 1.0));
    EXPECT_FALSE(bump.setValue("inputScale", std::nan("")));
    EXPECT_EQ(bump.args().number("inputScale"), 0.3);
    EXPECT_EQ(bump.args().number("inputRadius"), 300.0) << "defaults filled in";
    EXPECT_FALSE(ImageFilter("CINoSuchFilter").isValid());
    EXPECT_TRUE(bump.renderOutput().isNull()) << "no input picture";
}

TEST(Catalogue, ExtentsRoundOutwardAndSnapNoise)
{
    EXPECT_EQ((Extent{0.2, -0.5, 3.1, 2.0, false}.integral()), (kernels::Region{0, -1, 4, 3}));
    EXPECT_EQ((Extent{-50.0000000000001, 0, 50.0000000000001, 100, false}.integral()),
              (kernels::Region{-50, 0, 50, 100}));
    EXPECT_TRUE(Extent::plane().integral().isEmpty());
    EXPECT_TRUE((Extent{0, 0, 1e12, 5, false}.integral().isEmpty()));
}

// --- automatic adjustment ---------------------------------------------------------------------

TEST(AutoAdjust, LeavesAWellExposedColourfulPictureAlone)
{
    // Two rows of a black-to-white ramp, two of bright saturated colours: full range, bright
    // median, mean saturation one half.
    QImage vivid(64, 4, QImage::Format_ARGB32_Premultiplied);
    for (int x = 0; x < 64; ++x) {
        const int v = std::clamp((x - 2) * 255 / 59, 0, 255);
        vivid.setPixel(x, 0, gray(v));
        vivid.setPixel(x, 1, gray(v));
        vivid.setPixel(x, 2, argb(255, 255, 255, 0));
        vivid.setPixel(x, 3, argb(255, 0, 255, 255));
    }

    EXPECT_TRUE(autoAdjustmentFilters(Picture(vivid), {}).empty());
    EXPECT_TRUE(imagesEqual(autoAdjusted(Picture(vivid), {}).bitmap(), vivid));
}

TEST(AutoAdjust, StretchesAndLiftsADullDarkPicture)
{
    QImage dull(64, 4, QImage::Format_ARGB32_Premultiplied);
    for (int x = 0; x < 64; ++x)
        for (int y = 0; y < 4; ++y)
            dull.setPixel(x, y, argb(255, 40 + x, 38 + x, 45 + x));

    const std::vector<ImageFilter> chain = autoAdjustmentFilters(Picture(dull), {});
    const QImage out = autoAdjusted(Picture(dull), {}).bitmap();

    ASSERT_EQ(chain.size(), 3u);
    EXPECT_EQ(chain[0].entry()->name, "CIVibrance");
    EXPECT_EQ(chain[1].entry()->name, "CIToneCurve");
    EXPECT_EQ(chain[2].entry()->name, "CIHighlightShadowAdjust");
    EXPECT_EQ(out.size(), dull.size());
    EXPECT_GT(qGreen(pixelAt(out, 63, 0)) - qGreen(pixelAt(out, 0, 0)), 63); // a wider range
    for (int x = 1; x < 64; ++x)
        ASSERT_GE(qGreen(pixelAt(out, x, 0)), qGreen(pixelAt(out, x - 1, 0))) << "monotone";
}

TEST(AutoAdjust, KeepsBlackAndWhite)
{
    QImage ends = filledRaster(8, 8, gray(60));
    ends.setPixel(0, 0, gray(0));
    ends.setPixel(7, 7, gray(255));

    const QImage out = autoAdjusted(Picture(ends), {}).bitmap();

    EXPECT_EQ(pixelAt(out, 0, 0), gray(0));
    EXPECT_EQ(pixelAt(out, 7, 7), gray(255));
}

TEST(AutoAdjust, RedEyeAloneFindsNothingToCorrect)
{
    const QImage in = photoLike(10, 10);

    EXPECT_TRUE(autoAdjustmentFilters(Picture(in), {false, true}).empty());
    EXPECT_TRUE(imagesEqual(autoAdjusted(Picture(in, 2.0, Orientation::Left), {false, true}).bitmap(), in));
    EXPECT_TRUE(autoAdjusted(Picture(), {}).isNull());
}

TEST(AutoAdjust, DrivesTheToneFiltersAutomaticAdjustment)
{
    QImage dull(64, 4, QImage::Format_ARGB32_Premultiplied);
    for (int x = 0; x < 64; ++x)
        for (int y = 0; y < 4; ++y)
            dull.setPixel(x, y, argb(255, 40 + x, 38 + x, 45 + x));

    EXPECT_TRUE(imagesEqual(autoEnhance(Picture(dull)).bitmap(), autoAdjusted(Picture(dull), {true, false}).bitmap()));
    EXPECT_FALSE(imagesEqual(autoEnhance(Picture(dull)).bitmap(), dull));
    EXPECT_TRUE(imagesEqual(redEyeCorrection(Picture(dull)).bitmap(), dull));
}
