// The filter catalogue: the byte effects' arithmetic, identity parameters of the wrappers, the
// wrappers' arguments reaching the right parameters, result extents and the degenerate pictures
// every method must survive.
#include <cmath>
#include <numbers>

#include <QStringList>

#include <gtest/gtest.h>

#include "imaging/filter.h"
#include "imaging/image_service.h"
#include "support/pixel_compare.h"

using namespace vimora;
using vimora::test::filledRaster;
using vimora::test::imagesEqual;
using vimora::test::pixelAt;
using vimora::test::positionCoded;

namespace {

QRgb argb(int a, int r, int g, int b)
{
    return qRgba(r, g, b, a);
}

Picture onePixel(QRgb premultiplied)
{
    return Picture(filledRaster(1, 1, premultiplied));
}

QRgb only(const Picture &p)
{
    return pixelAt(p.bitmap(), 0, 0);
}

/// A picture with varied colours and alphas (premultiplied values valid).
QImage mixedPicture(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int a = (x * 37 + y * 91) % 256;
            auto c = [&](int k) { return (x * k + y * (k + 3)) % (a + 1); };
            image.setPixel(x, y, argb(a, c(13), c(29), c(7)));
        }
    return image;
}

const Filter filter;

} // namespace

// --- byte effects -------------------------------------------------------------------------

TEST(ByteEffects, ContrastScalesDistanceFrom128AndClamps)
{
    const Picture in = onePixel(argb(255, 100, 200, 10));

    EXPECT_EQ(only(filter.contrast(2, in)), argb(255, 72, 255, 0));
}

TEST(ByteEffects, Contrast9DividesByHundredTruncatingTowardZero)
{
    EXPECT_EQ(only(filter.contrast9(onePixel(argb(255, 100, 130, 128)), 200)), argb(255, 72, 132, 128));
    // -1.5 truncates to -1 and +1.5 to +1: both samples stay.
    EXPECT_EQ(only(filter.contrast9(onePixel(argb(255, 127, 129, 0)), 150)), argb(255, 127, 129, 0));
}

TEST(ByteEffects, Contrast2MultipliesTheDistanceByTenPerUnit)
{
    EXPECT_EQ(only(filter.contrast2(1, onePixel(argb(255, 130, 128, 120)))), argb(255, 148, 128, 48));
}

TEST(ByteEffects, Contrast10KeepsOnlyPureWhiteAndEveryAlpha)
{
    QImage in(3, 1, QImage::Format_ARGB32_Premultiplied);
    in.setPixel(0, 0, argb(255, 255, 255, 255));
    in.setPixel(1, 0, argb(255, 255, 254, 255));
    in.setPixel(2, 0, argb(128, 128, 128, 128));

    const QImage out = filter.contrast10(Picture(in), 7).bitmap();

    EXPECT_EQ(pixelAt(out, 0, 0), argb(255, 255, 255, 255));
    EXPECT_EQ(pixelAt(out, 1, 0), argb(255, 0, 0, 0));
    EXPECT_EQ(pixelAt(out, 2, 0), argb(128, 0, 0, 0));
}

TEST(ByteEffects, FixImageWritesTheWeightedGrayTruncated)
{
    EXPECT_EQ(only(filter.fixImage(onePixel(argb(255, 255, 0, 0)))), argb(255, 76, 76, 76));
    // 0.3 * 10 + 0.59 * 20 + 0.11 * 30 = 18.1
    EXPECT_EQ(only(filter.fixImage(onePixel(argb(200, 10, 20, 30)))), argb(200, 18, 18, 18));
}

TEST(ByteEffects, DoImageStuffMovesTowardsWhiteOrBlack)
{
    const Picture in = onePixel(argb(255, 100, 0, 255));

    EXPECT_EQ(only(filter.doImageStuff(0.5f, in)), argb(255, 177, 127, 255));
    EXPECT_EQ(only(filter.doImageStuff(-0.5f, in)), argb(255, 50, 0, 128));
}

TEST(ByteEffects, DoImageStuffBeyondOneClampsInsteadOfWrapping)
{
    // 200 + 55 * 2 = 310 would wrap to 54 in a byte.
    EXPECT_EQ(only(filter.doImageStuff(2.0f, onePixel(argb(255, 200, 0, 0)))), argb(255, 255, 255, 255));
    EXPECT_EQ(only(filter.doImageStuff(-2.0f, onePixel(argb(255, 200, 0, 0)))), argb(255, 0, 0, 0));
}

TEST(ByteEffects, WorkOnTheRawBitmapAndReturnUprightScaleOne)
{
    const QImage bytes = positionCoded(3, 2);
    const Picture in(bytes, 2.0, Orientation::Right);

    const Picture out = filter.contrast(1, in);

    EXPECT_TRUE(imagesEqual(out.bitmap(), bytes));
    EXPECT_EQ(out.scale(), 1.0);
    EXPECT_EQ(out.orientation(), Orientation::Up);
    EXPECT_TRUE(imagesEqual(in.bitmap(), bytes)); // input untouched
}

TEST(ByteEffects, ImageProcessMakesOpaqueGrayOfThePointSize)
{
    QImage bytes(4, 4, QImage::Format_ARGB32_Premultiplied);
    bytes.fill(argb(255, 255, 0, 0));
    bytes.setPixel(0, 0, 0);

    const Picture flat = filter.imageProcess(Picture(bytes));
    const Picture halved = filter.imageProcess(Picture(filledRaster(4, 4, argb(255, 0, 0, 255)), 2.0));

    EXPECT_EQ(pixelAt(flat.bitmap(), 0, 0), argb(255, 0, 0, 0)); // transparent turns black
    EXPECT_EQ(pixelAt(flat.bitmap(), 3, 3), argb(255, 76, 76, 76));
    EXPECT_EQ(halved.bitmap().size(), QSize(2, 2));
    EXPECT_EQ(pixelAt(halved.bitmap(), 1, 1), argb(255, 29, 29, 29));
}

// --- wrappers: identity parameters --------------------------------------------------------

TEST(Wrappers, IdentityParametersReturnTheInputBytes)
{
    const QImage bytes = mixedPicture(23, 17);
    const Picture in(bytes);

    EXPECT_TRUE(imagesEqual(filter.filterExp(0, in).bitmap(), bytes));
    EXPECT_TRUE(imagesEqual(filter.filterHue(0, in).bitmap(), bytes));
    EXPECT_TRUE(imagesEqual(filter.filterColorControls(1, 0, 1, in).bitmap(), bytes));
    EXPECT_TRUE(imagesEqual(filter.filterBumpDistortion(0, 11, 8, 10, in).bitmap(), bytes));
    EXPECT_TRUE(imagesEqual(filter.filterAffineTransform(QTransform(), in).bitmap(), bytes));
    EXPECT_TRUE(imagesEqual(filter.filterGammaAdjust(1, in).bitmap(), bytes));
    EXPECT_TRUE(imagesEqual(filter.filterVibrance(0, in).bitmap(), bytes));
    EXPECT_TRUE(imagesEqual(filter.filterSepiaTone(0, in).bitmap(), bytes));
    EXPECT_TRUE(imagesEqual(filter.filterVignette(1, 0, in).bitmap(), bytes));
    EXPECT_TRUE(imagesEqual(filter.filterTwirl(0, 11, 8, 10, in).bitmap(), bytes));
}

TEST(Wrappers, BumpLeavesPixelsOutsideItsRadiusAlone)
{
    const QImage bytes = positionCoded(40, 30);

    const QImage out = filter.filterBumpDistortion(0.8f, 20, 15, 8, Picture(bytes)).bitmap();

    EXPECT_EQ(pixelAt(out, 0, 0), pixelAt(bytes, 0, 0));
    EXPECT_EQ(pixelAt(out, 39, 29), pixelAt(bytes, 39, 29));
    EXPECT_EQ(pixelAt(out, 20, 4), pixelAt(bytes, 20, 4));   // 11 px above the centre
    EXPECT_NE(pixelAt(out, 23, 12), pixelAt(bytes, 23, 12)); // inside, magnified
}

// --- wrappers: the arguments reach the right parameters ---------------------------------------

namespace {

using Params = std::initializer_list<std::pair<std::string_view, ParamValue>>;

/// The wrapper's picture is the named filter's with exactly these parameters, and it changed
/// the input: every argument is distinct, so one landing on the wrong key gives another picture.
testing::AssertionResult runsAs(const Picture &wrapped, std::string_view name, const Picture &in, Params params)
{
    const Picture direct = applyImageFilter(name, in, params);
    if (wrapped.isNull() || direct.isNull())
        return testing::AssertionFailure() << "no picture";
    if (!imagesEqual(wrapped.bitmap(), direct.bitmap()))
        return testing::AssertionFailure() << "differs from " << name << " with the given parameters";
    if (imagesEqual(wrapped.bitmap(), in.bitmap()))
        return testing::AssertionFailure() << "left the input as it was";
    return testing::AssertionSuccess();
}

} // namespace

TEST(Wrappers, WarpsPassStrengthCentreAndRadiusWhereTheyBelong)
{
    const Picture in(positionCoded(40, 30));
    // An off-centre point whose x and y differ, a radius unlike either.
    const QPointF at(23, 12);

    const Picture twirl = filter.filterTwirl(1.3f, 23, 12, 9, in);
    EXPECT_TRUE(runsAs(twirl, "CITwirlDistortion", in, {{"inputAngle", 1.3}, {"inputCenter", at}, {"inputRadius", 9.0}}));
    EXPECT_FALSE(imagesEqual(twirl.bitmap(), filter.filterTwirl(1.3f, 12, 23, 9, in).bitmap())) << "x and y swapped";

    const Picture bump = filter.filterBumpDistortion(0.6f, 23, 12, 9, in);
    EXPECT_TRUE(runsAs(bump, "CIBumpDistortion", in, {{"inputScale", 0.6}, {"inputCenter", at}, {"inputRadius", 9.0}}));
    EXPECT_FALSE(imagesEqual(bump.bitmap(), filter.filterBumpDistortion(0.6f, 12, 23, 9, in).bitmap())) << "x and y swapped";

    EXPECT_TRUE(runsAs(filter.filterVortexDistortion(25, 23, 12, 9, in), "CIVortexDistortion", in,
                       {{"inputAngle", 25.0}, {"inputCenter", at}, {"inputRadius", 9.0}}));
    EXPECT_TRUE(runsAs(filter.filterPinchDistortion(0.7f, 23, 12, 9, in), "CIPinchDistortion", in,
                       {{"inputScale", 0.7}, {"inputCenter", at}, {"inputRadius", 9.0}}));
    // The hole ignores its first argument.
    EXPECT_TRUE(runsAs(filter.filterHoleDistortion(99, 23, 12, 4, in), "CIHoleDistortion", in,
                       {{"inputCenter", at}, {"inputRadius", 4.0}}));
}

TEST(Wrappers, ScreensPassAngleCentreWidthAndSharpnessWhereTheyBelong)
{
    const Picture in(mixedPicture(31, 27));
    const QPointF at(9, 17);

    EXPECT_TRUE(runsAs(filter.filterCircularScreen(99, 9, 17, 5, 0.6f, in), "CICircularScreen", in,
                       {{"inputCenter", at}, {"inputWidth", 5.0}, {"inputSharpness", 0.6}}));
    EXPECT_TRUE(runsAs(filter.filterHatchedScreen(0.4f, 9, 17, 5, 0.6f, in), "CIHatchedScreen", in,
                       {{"inputAngle", 0.4}, {"inputCenter", at}, {"inputWidth", 5.0}, {"inputSharpness", 0.6}}));
    EXPECT_TRUE(runsAs(filter.filterLineScreen(0.4f, 9, 17, 5, 0.6f, in), "CILineScreen", in,
                       {{"inputAngle", 0.4}, {"inputCenter", at}, {"inputWidth", 5.0}, {"inputSharpness", 0.6}}));
}

TEST(Wrappers, ColourWrappersWithRealChanges)
{
    const Picture in(mixedPicture(23, 17));

    const Picture brighter = filter.filterExp(1, in);
    EXPECT_TRUE(runsAs(brighter, "CIExposureAdjust", in, {{"inputEV", 1.0}}));
    // One stop up never darkens a pixel.
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 23; ++x)
            ASSERT_GE(qRed(pixelAt(brighter.bitmap(), x, y)), qRed(pixelAt(in.bitmap(), x, y))) << x << "," << y;

    EXPECT_TRUE(runsAs(filter.filterColorPosterize(3, in), "CIColorPosterize", in, {{"inputLevels", 3.0}}));
    EXPECT_TRUE(runsAs(filter.filterMaskToAlpha(in), "CIMaskToAlpha", in, {}));
    // White becomes opaque white, black becomes transparent.
    EXPECT_EQ(only(filter.filterMaskToAlpha(onePixel(argb(255, 255, 255, 255)))), argb(255, 255, 255, 255));
    EXPECT_EQ(qAlpha(only(filter.filterMaskToAlpha(onePixel(argb(255, 0, 0, 0))))), 0);
}

TEST(Wrappers, AWrongParameterNameGivesNoPictureAndIsReportedOnce)
{
#ifdef QT_NO_DEBUG
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type == QtWarningMsg)
                warnings << text;
        });
    const Picture in(mixedPicture(5, 4));
    EXPECT_TRUE(applyImageFilter("CIExposureAdjust", in, {{"inputEv", 1.0}}).isNull());
    EXPECT_TRUE(applyImageFilter("CIExposureAdjust", in, {{"inputEv", 1.0}}).isNull());
    EXPECT_TRUE(applyImageFilter("CIExposureAdjust", in, {{"inputEV", QPointF(1, 1)}}).isNull());
    EXPECT_TRUE(applyImageFilter("CINoSuchFilter", in, {}).isNull());
    // A number out of reach is the user's value, not a wrong call: no picture, no report.
    EXPECT_TRUE(applyImageFilter("CIExposureAdjust", in, {{"inputEV", std::nan("")}}).isNull());
    qInstallMessageHandler(previous);

    ASSERT_EQ(warnings.size(), 3) << warnings.join(" | ").toStdString();
    EXPECT_TRUE(warnings[0].contains("inputEv"));
    EXPECT_TRUE(warnings[1].contains("inputEV"));
    EXPECT_TRUE(warnings[2].contains("CINoSuchFilter"));
#else
    const Picture in(mixedPicture(5, 4));
    EXPECT_DEATH(applyImageFilter("CIExposureAdjust", in, {{"inputEv", 1.0}}), "inputEv");
#endif
}

// --- wrappers: extents ----------------------------------------------------------------------

TEST(WrapperExtents, CropPartlyOutsideKeepsOnlyTheOverlap)
{
    const QImage bytes = positionCoded(10, 8);

    // y-up rectangle from y = -2 to 4: the bottom four rows, columns 6 to 9.
    const QImage out = filter.filterCrop(6, -2, 10, 6, Picture(bytes)).bitmap();

    ASSERT_EQ(out.size(), QSize(4, 4));
    EXPECT_TRUE(imagesEqual(out, bytes.copy(6, 4, 4, 4)));
}

TEST(WrapperExtents, CropWhollyOutsideGivesNoPicture)
{
    EXPECT_TRUE(filter.filterCrop(20, 20, 5, 5, Picture(positionCoded(10, 8))).isNull());
}

TEST(WrapperExtents, QuarterTurnOfA100x50PictureIs50x100AndTurnsLeft)
{
    const QImage bytes = positionCoded(100, 50);
    const double a = std::numbers::pi / 2;

    const QImage out =
        filter.filterAffineTransform(QTransform(std::cos(a), std::sin(a), -std::sin(a), std::cos(a), 0, 0), Picture(bytes))
            .bitmap();

    ASSERT_EQ(out.size(), QSize(50, 100));
    // Counter-clockwise on screen: the input's top row becomes the left column, bottom up.
    for (int j : {0, 17, 49})
        for (int i : {0, 33, 99})
            EXPECT_EQ(pixelAt(out, j, 99 - i), pixelAt(bytes, i, j)) << i << "," << j;
}

TEST(WrapperExtents, ShearGrowsTheBoundsAndShiftsTheTopRow)
{
    const QImage bytes = positionCoded(100, 60);

    const QImage out = filter.filterAffineTransform(QTransform(1, 0, 0.5, 1, 0, 0), Picture(bytes)).bitmap();

    ASSERT_EQ(out.size(), QSize(130, 60));
    // y-up shear x' = x + 0.5 y: the top row moves right by about 30 pixels, the bottom by none.
    EXPECT_EQ(qAlpha(pixelAt(out, 1, 59)), 255);
    EXPECT_EQ(qAlpha(pixelAt(out, 0, 0)), 0);
    EXPECT_GT(qAlpha(pixelAt(out, 30, 0)), 0);
}

TEST(WrapperExtents, IntegerTranslationReturnsTheInputExactly)
{
    const QImage bytes = mixedPicture(12, 9);

    const Picture out = filter.filterAffineTransform(QTransform(1, 0, 0, 1, 7, -3), Picture(bytes));

    EXPECT_TRUE(imagesEqual(out.bitmap(), bytes));
}

TEST(WrapperExtents, PerspectiveOfTheOwnCornersIsTheIdentity)
{
    const QImage bytes = mixedPicture(16, 12);

    const Picture out = filter.filterPerspectiveTransform(0, 12, 16, 12, 16, 0, 0, 0, Picture(bytes));

    EXPECT_TRUE(imagesEqual(out.bitmap(), bytes));
}

TEST(WrapperExtents, PerspectiveOfADoubledRectangleEqualsTheDoubleScale)
{
    const Picture in(mixedPicture(16, 12));

    const Picture quad = filter.filterPerspectiveTransform(0, 24, 32, 24, 32, 0, 0, 0, in);
    const Picture scaled = filter.filterAffineTransform(QTransform::fromScale(2, 2), in);

    ASSERT_EQ(quad.bitmap().size(), QSize(32, 24));
    EXPECT_TRUE(imagesEqual(quad.bitmap(), scaled.bitmap()));
}

TEST(WrapperExtents, PerspectiveOfATrapezoidFillsItsBoundingBox)
{
    const Picture in(filledRaster(100, 100, argb(255, 255, 255, 255)));

    // Top edge narrowed to x 20..80 at y 90.
    const QImage out = filter.filterPerspectiveTransform(20, 90, 80, 90, 100, 0, 0, 0, in).bitmap();

    ASSERT_EQ(out.size(), QSize(100, 90));
    EXPECT_EQ(qAlpha(pixelAt(out, 2, 2)), 0);      // left of the slanted edge
    EXPECT_EQ(qAlpha(pixelAt(out, 97, 2)), 0);     // right of it
    EXPECT_EQ(pixelAt(out, 50, 45), argb(255, 255, 255, 255));
    EXPECT_EQ(pixelAt(out, 1, 88), argb(255, 255, 255, 255)); // bottom corners fully covered
}

TEST(WrapperExtents, BloomGrowsByThreeRadiiOnEverySide)
{
    const Picture out = filter.filterBloom(0.5f, 0, 0, 2.5f, Picture(filledRaster(10, 6, argb(255, 90, 90, 90))));

    EXPECT_EQ(out.bitmap().size(), QSize(10 + 16, 6 + 16));
}

TEST(WrapperExtents, NoiseReductionKeepsTheInputSize)
{
    const Picture out = filter.filterNoise(QVariant(), 0.0f, Picture(mixedPicture(9, 7)));

    EXPECT_EQ(out.bitmap().size(), QSize(9, 7));
}

TEST(WrapperExtents, UnboundedFiltersRenderOverTheInput)
{
    const Picture in(mixedPicture(30, 20));

    const Picture splash = filter.filterCircleSplashDistortion(0, 15, 10, 5, in);
    const Picture kaleidoscope = filter.filterTriangleKaleidoscope(0.3f, 15, 10, 12, 0.9f, in);

    EXPECT_EQ(splash.bitmap().size(), QSize(30, 20));
    EXPECT_EQ(kaleidoscope.bitmap().size(), QSize(30, 20));
    // Rendered over their own (unbounded) extents they would give nothing.
    for (const char *name : {"CICircleSplashDistortion", "CITriangleKaleidoscope"}) {
        ImageFilter generic(name);
        generic.setValue("inputImage", in);
        EXPECT_TRUE(generic.outputExtent().infinite) << name;
        EXPECT_TRUE(generic.renderOutput().isNull()) << name;
    }
}

TEST(WrapperExtents, PixellateGrowsToWholeCells)
{
    const Picture out = filter.filterPixellate(8, Picture(filledRaster(20, 20, argb(255, 10, 20, 30))));

    // Cells of 8 centred on (150, 150) have edges at 146 + 8k: -6 and 26 bound 0..20.
    EXPECT_EQ(out.bitmap().size(), QSize(32, 32));
}

// --- dissolve ---------------------------------------------------------------------------------

TEST(Dissolve, EndsAreThePicturesThemselves)
{
    const QImage from = mixedPicture(8, 6);
    const QImage to = positionCoded(8, 6);

    EXPECT_TRUE(imagesEqual(filter.filterDissolveTransition(0, Picture(to), Picture(from)).bitmap(), from));
    EXPECT_TRUE(imagesEqual(filter.filterDissolveTransition(1, Picture(to), Picture(from)).bitmap(), to));
    EXPECT_TRUE(imagesEqual(filter.filterDissolveTransition(-3, Picture(to), Picture(from)).bitmap(), from));
}

// --- degenerate pictures --------------------------------------------------------------------

TEST(Degenerate, NoPictureInGivesNoPictureOut)
{
    const Picture none;

    EXPECT_TRUE(filter.doImageStuff(0.5f, none).isNull());
    EXPECT_TRUE(filter.imageProcess(none).isNull());
    EXPECT_TRUE(filter.contrast(2, none).isNull());
    EXPECT_TRUE(filter.fixImage(none).isNull());
    EXPECT_TRUE(filter.filterExp(1, none).isNull());
    EXPECT_TRUE(filter.filterBumpDistortion(0.5f, 1, 1, 1, none).isNull());
    EXPECT_TRUE(filter.filterCrop(0, 0, 5, 5, none).isNull());
    EXPECT_TRUE(filter.filterDissolveTransition(0.5f, none, none).isNull());
}

TEST(Degenerate, OnePixelAndOneRowPicturesGoThroughEveryWrapper)
{
    for (QSize size : {QSize(1, 1), QSize(1, 9), QSize(9, 1)}) {
        const Picture in(filledRaster(size.width(), size.height(), argb(200, 100, 50, 25)));
        EXPECT_EQ(filter.filterNoise({}, 0, in).bitmap().size(), size);
        EXPECT_EQ(filter.filterHue(1, in).bitmap().size(), size);
        EXPECT_EQ(filter.filterTwirl(1, 0, 0, 5, in).bitmap().size(), size);
        EXPECT_EQ(filter.filterTriangleKaleidoscope(1, 0, 0, 5, 0.5f, in).bitmap().size(), size);
        EXPECT_FALSE(filter.filterBloom(1, 0, 0, 1, in).isNull());
        EXPECT_FALSE(filter.filterDotScreen(0, 0, 0, 3, 0.7f, in).isNull());
    }
}

TEST(Degenerate, SingularOrHugeTransformsGiveNoPicture)
{
    const Picture in(filledRaster(4, 4, argb(255, 1, 2, 3)));

    EXPECT_TRUE(filter.filterAffineTransform(QTransform(0, 0, 0, 0, 0, 0), in).isNull());
    EXPECT_TRUE(filter.filterAffineTransform(QTransform::fromScale(1e9, 1e9), in).isNull());
    EXPECT_TRUE(filter.filterPerspectiveTransform(0, 0, 0, 0, 0, 0, 0, 0, in).isNull());
}
