// Blend and compositing modes: single pixels against the published formulas (written out here
// in double precision, in linear light), coverage rules, argument order and extents.
#include <cmath>
#include <functional>

#include <gtest/gtest.h>

#include "imaging/blend.h"
#include "imaging/composite_filter.h"
#include "support/pixel_compare.h"

using namespace vimora;
using vimora::test::filledRaster;
using vimora::test::imagesEqual;
using vimora::test::pixelAt;
using vimora::test::positionCoded;

namespace {

double decode(double e)
{
    return e <= 0.04045 ? e / 12.92 : std::pow((e + 0.055) / 1.055, 2.4);
}

double encode(double l)
{
    l = std::clamp(l, 0.0, 1.0);
    return l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1 / 2.4) - 0.055;
}

int byteOf(double linear)
{
    return int(std::floor(encode(linear) * 255 + 0.5));
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

QRgb blendPixels(BlendMode mode, QRgb backdrop, QRgb source)
{
    return pixelAt(blended(mode, solid(backdrop), solid(source)).bitmap(), 0, 0);
}

QImage photoLike(int w, int h, int seed)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y,
                           argb(255, int(127 + 120 * std::sin(x * 0.3 + y * 0.05 + seed)), (x * 7 + y * 3 + seed) % 256,
                                int(127 + 120 * std::cos(y * 0.2 + seed))));
    return image;
}

struct SeparableCase
{
    const char *name;
    BlendMode mode;
    std::function<double(double cb, double cs)> mix;
};

double softD(double x)
{
    return x <= 0.25 ? ((16 * x - 12) * x + 4) * x : std::sqrt(x);
}

const SeparableCase kSeparable[] = {
    {"Multiply", BlendMode::Multiply, [](double b, double s) { return b * s; }},
    {"Screen", BlendMode::Screen, [](double b, double s) { return b + s - b * s; }},
    {"Overlay", BlendMode::Overlay,
     [](double b, double s) { return b <= 0.5 ? 2 * b * s : 1 - 2 * (1 - b) * (1 - s); }},
    {"Darken", BlendMode::Darken, [](double b, double s) { return std::min(b, s); }},
    {"Lighten", BlendMode::Lighten, [](double b, double s) { return std::max(b, s); }},
    {"ColorDodge", BlendMode::ColorDodge,
     [](double b, double s) { return b == 0 ? 0 : s >= 1 ? 1 : std::min(1.0, b / (1 - s)); }},
    {"ColorBurn", BlendMode::ColorBurn,
     [](double b, double s) { return b >= 1 ? 1 : s <= 0 ? 0 : 1 - std::min(1.0, (1 - b) / s); }},
    {"HardLight", BlendMode::HardLight,
     [](double b, double s) { return s <= 0.5 ? 2 * s * b : 1 - 2 * (1 - s) * (1 - b); }},
    {"SoftLight", BlendMode::SoftLight,
     [](double b, double s) { return s <= 0.5 ? b - (1 - 2 * s) * b * (1 - b) : b + (2 * s - 1) * (softD(b) - b); }},
    {"Difference", BlendMode::Difference, [](double b, double s) { return std::abs(b - s); }},
    {"Exclusion", BlendMode::Exclusion, [](double b, double s) { return b + s - 2 * b * s; }},
};

class SeparableModes : public testing::TestWithParam<SeparableCase>
{
};

} // namespace

TEST_P(SeparableModes, OpaquePixelsFollowTheFormulaInLinearLight)
{
    const SeparableCase &c = GetParam();
    const int bytes[] = {0, 18, 64, 128, 188, 230, 255};
    for (int b : bytes)
        for (int s : bytes) {
            const int expected = byteOf(c.mix(decode(b / 255.0), decode(s / 255.0)));
            ASSERT_EQ(blendPixels(c.mode, gray(b), gray(s)), gray(expected)) << "backdrop " << b << " source " << s;
        }
}

TEST_P(SeparableModes, TranslucentPixelsCombineCoverageOnce)
{
    const SeparableCase &c = GetParam();
    // Backdrop straight 200 at alpha 153, source straight 90 at alpha 102.
    const double ab = 0.6, as = 0.4, cb = decode(200 / 255.0), cs = decode(90 / 255.0);
    const double ao = as + ab - as * ab;
    const double co = (1 - ab) * as * cs + (1 - as) * ab * cb + as * ab * c.mix(cb, cs);
    const int alpha = int(std::floor(ao * 255 + 0.5));
    const int colour = int(std::floor(encode(co / ao) * ao * 255 + 0.5));

    const QRgb out = blendPixels(c.mode, argb(153, 120, 120, 120), argb(102, 36, 36, 36));

    EXPECT_EQ(out, argb(alpha, colour, colour, colour));
}

INSTANTIATE_TEST_SUITE_P(Blend, SeparableModes, testing::ValuesIn(kSeparable),
                         [](const testing::TestParamInfo<SeparableCase> &info) { return info.param.name; });

TEST(BlendModes, TransparentPicturesLeaveTheOtherUnchanged)
{
    const Picture picture(photoLike(9, 7, 1));
    const Picture clear(filledRaster(9, 7, 0));
    for (int m = 0; m <= int(BlendMode::Maximum); ++m) {
        const BlendMode mode = BlendMode(m);
        EXPECT_TRUE(imagesEqual(blended(mode, picture, clear).bitmap(), picture.bitmap())) << blendFilterName(mode);
        EXPECT_TRUE(imagesEqual(blended(mode, clear, picture).bitmap(), picture.bitmap())) << blendFilterName(mode);
    }
}

TEST(BlendModes, DarkenAndLightenOfAPictureWithItselfReturnIt)
{
    const Picture picture(photoLike(16, 12, 2));
    const CompositeFilter composite;

    EXPECT_TRUE(imagesEqual(composite.filterDarkenBlendMode(picture, picture).bitmap(), picture.bitmap()));
    EXPECT_TRUE(imagesEqual(composite.filterLightenBlendMode(picture, picture).bitmap(), picture.bitmap()));
    EXPECT_TRUE(imagesEqual(composite.filterDifferenceBlendMode(picture, picture).bitmap(),
                            filledRaster(16, 12, gray(0))));
}

TEST(BlendModes, NeutralBackdropsAndSourcesGiveTheOtherPicture)
{
    const Picture picture(photoLike(10, 10, 3));
    const Picture white = solid(gray(255), 10, 10), black = solid(gray(0), 10, 10);

    EXPECT_TRUE(imagesEqual(blended(BlendMode::Multiply, white, picture).bitmap(), picture.bitmap()));
    EXPECT_TRUE(imagesEqual(blended(BlendMode::Screen, black, picture).bitmap(), picture.bitmap()));
    EXPECT_TRUE(imagesEqual(blended(BlendMode::ColorDodge, picture, black).bitmap(), picture.bitmap()));
    EXPECT_TRUE(imagesEqual(blended(BlendMode::ColorBurn, picture, white).bitmap(), picture.bitmap()));
    // Byte 188 is linear 0.503, so hard light, overlay and soft light nearly give the backdrop
    // back; the 0.003 left over moves light tones by under a byte (dark ones by more).
    const Picture light(filledRaster(10, 10, argb(255, 250, 200, 170)));
    const Picture middle = solid(gray(188), 10, 10);
    for (BlendMode mode : {BlendMode::HardLight, BlendMode::SoftLight})
        EXPECT_TRUE(imagesEqual(blended(mode, light, middle).bitmap(), light.bitmap(), 1)) << blendFilterName(mode);
    EXPECT_TRUE(imagesEqual(blended(BlendMode::Overlay, middle, light).bitmap(), light.bitmap(), 1));
}

TEST(BlendModes, MidGraysMixInLinearLight)
{
    EXPECT_EQ(blendPixels(BlendMode::Multiply, gray(128), gray(128)), gray(61));
    EXPECT_EQ(blendPixels(BlendMode::Screen, gray(128), gray(128)), gray(167));
    EXPECT_EQ(blendPixels(BlendMode::Overlay, gray(128), gray(128)), gray(86));
}

TEST(BlendModes, NonSeparableModesMoveLuminosityAndColourApart)
{
    const QRgb orange = argb(255, 230, 120, 20);
    // The luminosity helper of the W3C rules, on linear values.
    const double lumOrange = 0.3 * decode(230 / 255.0) + 0.59 * decode(120 / 255.0) + 0.11 * decode(20 / 255.0);

    EXPECT_EQ(blendPixels(BlendMode::Color, orange, gray(90)), gray(byteOf(lumOrange)));
    EXPECT_EQ(blendPixels(BlendMode::Luminosity, gray(90), orange), gray(byteOf(lumOrange)));
    EXPECT_EQ(blendPixels(BlendMode::Saturation, orange, gray(90)), gray(byteOf(lumOrange)));
    // Hue of a gray source has no saturation to carry: gray of the backdrop's luminosity.
    EXPECT_EQ(blendPixels(BlendMode::Hue, orange, gray(90)), gray(byteOf(lumOrange)));
    // Luminosity of a colour onto itself changes nothing.
    EXPECT_EQ(blendPixels(BlendMode::Luminosity, orange, orange), orange);
}

TEST(BlendModes, TheFirstArgumentIsTheBackground)
{
    const Picture a(photoLike(12, 8, 4)), b(photoLike(12, 8, 9));
    const CompositeFilter composite;

    EXPECT_FALSE(imagesEqual(composite.filterOverlayBlendMode(a, b).bitmap(), composite.filterOverlayBlendMode(b, a).bitmap()));
    EXPECT_FALSE(
        imagesEqual(composite.filterHardLightBlendMode(a, b).bitmap(), composite.filterHardLightBlendMode(b, a).bitmap()));
    EXPECT_FALSE(
        imagesEqual(composite.filterColorBurnBlendMode(a, b).bitmap(), composite.filterColorBurnBlendMode(b, a).bitmap()));
    // Overlay is hard light with the roles swapped.
    EXPECT_TRUE(imagesEqual(composite.filterOverlayBlendMode(a, b).bitmap(), composite.filterHardLightBlendMode(b, a).bitmap()));
}

TEST(BlendModes, DifferentSizesMeetAtTheBottomLeft)
{
    const QImage big = filledRaster(6, 5, gray(255));
    const QImage small = positionCoded(3, 2);

    const QImage out = blended(BlendMode::Lighten, Picture(small), Picture(big)).bitmap();
    const QImage under = blended(BlendMode::Darken, Picture(big), Picture(small)).bitmap();

    ASSERT_EQ(out.size(), QSize(6, 5));
    EXPECT_EQ(pixelAt(under, 0, 0), gray(255));               // only the big picture
    EXPECT_EQ(pixelAt(under, 0, 3), pixelAt(small, 0, 0));   // small's top-left, three rows down
    EXPECT_EQ(pixelAt(under, 2, 4), pixelAt(small, 2, 1));
    EXPECT_EQ(pixelAt(under, 3, 4), gray(255));
}

TEST(Compositing, ComponentsCombineDirectly)
{
    const Picture picture(photoLike(8, 8, 5));
    const Picture clear(filledRaster(8, 8, 0));
    const CompositeFilter composite;

    EXPECT_TRUE(imagesEqual(composite.filterAdditionCompositing(clear, picture).bitmap(), picture.bitmap()));
    EXPECT_TRUE(imagesEqual(composite.filterMaximumCompositing(picture, picture).bitmap(), picture.bitmap()));
    EXPECT_TRUE(imagesEqual(composite.filterMinimumCompositing(picture, picture).bitmap(), picture.bitmap()));
    EXPECT_TRUE(imagesEqual(composite.filterMultiplyCompositing(solid(gray(255), 8, 8), picture).bitmap(),
                            picture.bitmap()));
    // Premultiplied components add; alpha clips at 1.
    const int half = byteOf(decode(0.5) * 200 / 255);
    EXPECT_EQ(blendPixels(BlendMode::Addition, argb(200, 100, 0, 0), argb(200, 0, 100, 0)), argb(255, half, half, 0));
    // Multiply compositing multiplies alphas: 0.6 x 0.4 = 0.24.
    EXPECT_EQ(qAlpha(blendPixels(BlendMode::MultiplyCompositing, argb(153, 0, 0, 0), argb(102, 0, 0, 0))), 61);
}

TEST(Compositing, MinimumAndMultiplyCoverOnlyTheOverlap)
{
    const Picture big(filledRaster(6, 5, gray(200))), small(filledRaster(3, 2, gray(100)));

    EXPECT_EQ(blended(BlendMode::Minimum, big, small).bitmap().size(), QSize(3, 2));
    EXPECT_EQ(blended(BlendMode::MultiplyCompositing, big, small).bitmap().size(), QSize(3, 2));
    EXPECT_EQ(blended(BlendMode::Maximum, big, small).bitmap().size(), QSize(6, 5));
}

TEST(Dissolve, MixesAllFourComponentsInLinearLight)
{
    const CompositeFilter composite;

    EXPECT_EQ(pixelAt(composite.filterDissolveTransition(0.5f, solid(gray(255)), solid(gray(0))).bitmap(), 0, 0),
              gray(188));
    // Alpha of the mix is the mix of the alphas: opaque towards transparent.
    EXPECT_EQ(qAlpha(pixelAt(dissolved(0.25, solid(0), solid(gray(255))).bitmap(), 0, 0)), 191);
    EXPECT_EQ(dissolved(0.5, Picture(filledRaster(4, 3, 0)), Picture(filledRaster(2, 5, 0))).bitmap().size(),
              QSize(4, 5));
}

TEST(Degenerate, BlendsWithoutAPictureGiveNone)
{
    const Picture picture(photoLike(4, 4, 6));

    EXPECT_TRUE(blended(BlendMode::Overlay, picture, Picture()).isNull());
    EXPECT_TRUE(blended(BlendMode::Minimum, Picture(), picture).isNull()) << "no overlap";
    EXPECT_TRUE(imagesEqual(blended(BlendMode::Overlay, Picture(), picture).bitmap(), picture.bitmap()))
        << "a missing background counts as transparent";
}

TEST(CompositeMethods, EachNamedMethodBlendsWithItsOwnModeBackgroundFirst)
{
    // Two different translucent-free photos, so every mode gives its own result and the
    // order of the arguments shows in the modes that are not symmetric.
    const Picture background(photoLike(12, 9, 1));
    const Picture image(photoLike(12, 9, 4));
    const CompositeFilter composite;
    using Method = Picture (CompositeFilter::*)(const Picture &, const Picture &) const;
    const struct
    {
        const char *name;
        Method method;
        BlendMode mode;
        bool symmetric;
    } cases[] = {
        {"colour", &CompositeFilter::filterColorBlendMode, BlendMode::Color, false},
        {"colour dodge", &CompositeFilter::filterColorDodgeBlendMode, BlendMode::ColorDodge, false},
        {"exclusion", &CompositeFilter::filterExclusionBlendMode, BlendMode::Exclusion, true},
        {"hue", &CompositeFilter::filterHueBlendMode, BlendMode::Hue, false},
        {"luminosity", &CompositeFilter::filterLuminosityBlendMode, BlendMode::Luminosity, false},
        {"multiply", &CompositeFilter::filterMultiplyBlendMode, BlendMode::Multiply, true},
        {"saturation", &CompositeFilter::filterSaturationBlendMode, BlendMode::Saturation, false},
        {"screen", &CompositeFilter::filterScreenBlendMode, BlendMode::Screen, true},
        {"soft light", &CompositeFilter::filterSoftLightBlendMode, BlendMode::SoftLight, false},
    };
    for (const auto &c : cases) {
        const QImage out = (composite.*c.method)(background, image).bitmap();
        EXPECT_TRUE(imagesEqual(out, blended(c.mode, background, image).bitmap())) << c.name;
        EXPECT_FALSE(imagesEqual(out, background.bitmap())) << c.name;
        EXPECT_FALSE(imagesEqual(out, image.bitmap())) << c.name;
        if (!c.symmetric) {
            EXPECT_FALSE(imagesEqual(out, blended(c.mode, image, background).bitmap())) << c.name << " takes the background first";
        }
    }
    // No two of the nine give the same picture: none is wired to another's mode.
    for (size_t i = 0; i < std::size(cases); ++i)
        for (size_t j = i + 1; j < std::size(cases); ++j)
            EXPECT_FALSE(imagesEqual((composite.*cases[i].method)(background, image).bitmap(),
                                     (composite.*cases[j].method)(background, image).bitmap()))
                << cases[i].name << " and " << cases[j].name;
}

TEST(CompositeMethods, ScreenAndMultiplyOfOnePixelFollowTheirFormulas)
{
    const CompositeFilter composite;
    const double b = decode(64 / 255.0), s = decode(188 / 255.0);
    EXPECT_EQ(pixelAt(composite.filterMultiplyBlendMode(solid(gray(64)), solid(gray(188))).bitmap(), 0, 0), gray(byteOf(b * s)));
    EXPECT_EQ(pixelAt(composite.filterScreenBlendMode(solid(gray(64)), solid(gray(188))).bitmap(), 0, 0),
              gray(byteOf(b + s - b * s)));
    EXPECT_EQ(pixelAt(composite.filterExclusionBlendMode(solid(gray(64)), solid(gray(188))).bitmap(), 0, 0),
              gray(byteOf(b + s - 2 * b * s)));
}
