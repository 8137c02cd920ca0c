// Pictures, rasters, pixel reading, recolouring, masks and gradients on tiny exact pictures.
#include <QBuffer>
#include <QImageWriter>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "imaging/codec.h"
#include "imaging/color_image.h"
#include "imaging/mask_image.h"
#include "imaging/raster.h"
#include "imaging/scale_image.h"
#include "imaging/surface.h"
#include "support/pixel_compare.h"

using namespace vimora;
using namespace vimora::test;

namespace {

Picture solid(int w, int h, QRgb premultiplied, double scale = 1.0)
{
    return Picture(filledRaster(w, h, premultiplied), scale);
}

} // namespace

TEST(PictureTest, SizeInPointsDividesByScaleAndSwapsForQuarterTurns)
{
    const Picture p(filledRaster(40, 20, 0xff000000), 2.0, Orientation::Left);

    EXPECT_EQ(p.size(), QSizeF(10, 20));
    EXPECT_EQ(p.pixelWidth(), 40);
}

TEST(PictureTest, NullAndEmptyAreNoPicture)
{
    EXPECT_TRUE(Picture().isNull());
    EXPECT_TRUE(Picture(QImage(0, 0, QImage::Format_ARGB32)).isNull());
    EXPECT_EQ(Picture().size(), QSizeF(0, 0));
}

TEST(PictureTest, StraightAlphaInputIsStoredPremultiplied)
{
    QImage straight(1, 1, QImage::Format_ARGB32);
    straight.setPixel(0, 0, qRgba(255, 0, 0, 128));

    const Picture p(straight);

    EXPECT_EQ(pixelAt(p.bitmap(), 0, 0), qRgba(128, 0, 0, 128));
}

TEST(RasterTest, SizingByPointsTruncatesAndByPixelsUsesTheBitmap)
{
    const Picture p(filledRaster(201, 100, 0xff102030), 2.0); // 100.5 x 50 points

    EXPECT_EQ(rasterSizeByPoints(p), QSize(100, 50));
    EXPECT_EQ(rasterSizeByPixels(p), QSize(201, 100));
    EXPECT_EQ(unpackRasterByPoints(p).size(), QSize(100, 50));
}

TEST(RasterTest, FractionalPointSizeTruncates)
{
    // 100.7 x 50.2 points: 1007 x 502 pixels at scale 10.
    const Picture p(filledRaster(1007, 502, 0xff000000), 10.0);

    EXPECT_EQ(rasterSizeByPoints(p), QSize(100, 50));
}

TEST(RasterTest, DegenerateSizesFailWithoutCrashing)
{
    EXPECT_TRUE(makeRaster(0, 0).isNull());
    EXPECT_TRUE(ZELCreateARGBBitmapContext(0, 10, 0).isNull());
    EXPECT_TRUE(ZELCreateARGBBitmapContext(10, 10, 39).isNull()); // stride below 4 x width
    EXPECT_TRUE(unpackRasterByPoints(Picture()).isNull());
    EXPECT_EQ(ZELCreateARGBBitmapContext(10000, 10, 0).size(), QSize(10000, 10));
    EXPECT_EQ(pixelAt(ZELCreateARGBBitmapContext(1, 1, 0), 0, 0), 0u);
}

TEST(GradientTest, RowsRunFromToAlphaAtTopToFromAlphaAtBottom)
{
    const QImage g = ZELCreateGradientImage(1, 100, 0.0f, 1.0f);

    ASSERT_EQ(g.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(g.constScanLine(0)[0], 254);  // 1 - 0.5/100
    EXPECT_EQ(g.constScanLine(99)[0], 1);   // 1 - 99.5/100
    EXPECT_EQ(g.constScanLine(50)[0], 126); // 1 - 50.5/100 = 0.495
}

TEST(GradientTest, ReversedGradientMirrorsBack)
{
    const QImage down = ZELCreateGradientImage(3, 64, 0.0f, 1.0f);
    const QImage up = ZELCreateGradientImage(3, 64, 1.0f, 0.0f);

    for (int r = 0; r < 64; ++r)
        EXPECT_EQ(down.constScanLine(r)[2], up.constScanLine(63 - r)[2]) << "row " << r;
}

TEST(ColorImageTest, ReadsThePremultipliedSampleNotTheStraightColour)
{
    const Picture p = solid(1, 1, qRgba(128, 0, 0, 128)); // red 255 at alpha 128

    const auto c = ColorImage().getPixelColorAtLocation(QPointF(0, 0), p);

    ASSERT_TRUE(c.has_value());
    EXPECT_DOUBLE_EQ(c->red, 128 / 255.0);
    EXPECT_DOUBLE_EQ(c->alpha, 128 / 255.0);
}

TEST(ColorImageTest, LocationRoundsToNearestPixelHalvesAwayFromZero)
{
    QImage img = positionCoded(4, 2);
    const Picture p(img);
    ColorImage colors;

    const auto a = colors.getPixelColorAtLocation(QPointF(2.5, 0.4), p);
    const auto b = colors.getPixelColorAtLocation(QPointF(2.49, 0.5), p);

    EXPECT_DOUBLE_EQ(a->red, 3 / 255.0);           // pixel (3, 0)
    EXPECT_DOUBLE_EQ(b->red, (2 + 4 * 1) / 255.0); // pixel (2, 1)
}

TEST(ColorImageTest, OutsideOrNoPictureGivesNoColour)
{
    const Picture p = solid(4, 4, 0xffffffff);
    ColorImage colors;

    EXPECT_FALSE(colors.getPixelColorAtLocation(QPointF(4, 0), p));
    EXPECT_FALSE(colors.getPixelColorAtLocation(QPointF(-0.6, 1), p));
    EXPECT_TRUE(colors.getPixelColorAtLocation(QPointF(-0.4, 1), p));
    EXPECT_FALSE(colors.getPixelColorAtLocation(QPointF(0, 0), Picture()));
}

TEST(ColorImageTest, RecolouredSilhouetteKeepsEdgeAlphaAndTransparentSurround)
{
    QImage src = filledRaster(3, 1, 0);
    src.setPixel(1, 0, qRgba(10, 20, 30, 255));
    src.setPixel(2, 0, qRgba(40, 0, 0, 102)); // 40% coverage at the edge

    const Picture out = ColorImage().changeColor(Picture(src), 0.0, 0.0, 1.0, 1.0);

    ASSERT_EQ(out.bitmap().size(), QSize(3, 1));
    EXPECT_EQ(pixelAt(out.bitmap(), 0, 0), 0u);
    EXPECT_EQ(pixelAt(out.bitmap(), 1, 0), qRgba(0, 0, 255, 255));
    EXPECT_EQ(pixelAt(out.bitmap(), 2, 0), qRgba(0, 0, 102, 102));
}

TEST(ColorImageTest, RecolourAlphaMultipliesSourceAlpha)
{
    const Picture out = ColorImage().changeColor(solid(2, 2, 0xffffffff), 1.0, 0.0, 0.0, 0.5);

    EXPECT_EQ(qAlpha(pixelAt(out.bitmap(), 1, 1)), 128);
    EXPECT_EQ(qRed(pixelAt(out.bitmap(), 1, 1)), 128);
}

TEST(MaskTest, BlackKeepsWhiteRemovesGrayScales)
{
    QImage mask = filledRaster(3, 1, 0xff000000);
    mask.setPixel(1, 0, qRgba(255, 255, 255, 255));
    mask.setPixel(2, 0, qRgba(51, 51, 51, 255)); // keeps 1 - 51/255 = 80%

    const Picture out = maskWithImage(solid(3, 1, qRgba(200, 100, 50, 255)), Picture(mask));

    EXPECT_EQ(pixelAt(out.bitmap(), 0, 0), qRgba(200, 100, 50, 255));
    EXPECT_EQ(pixelAt(out.bitmap(), 1, 0), 0u);
    EXPECT_EQ(pixelAt(out.bitmap(), 2, 0), qRgba(160, 80, 40, 204));
}

TEST(MaskTest, TransparentMaskAreasClipTheReceiver)
{
    QImage mask = filledRaster(2, 1, 0xff000000);
    mask.setPixel(1, 0, 0); // transparent: clip coverage 0

    const Picture out = maskWithImage(solid(2, 1, 0xffffffff), Picture(mask));

    EXPECT_EQ(qAlpha(pixelAt(out.bitmap(), 0, 0)), 255);
    EXPECT_EQ(qAlpha(pixelAt(out.bitmap(), 1, 0)), 0);
}

TEST(MaskTest, MaskStretchesToTheReceiverAndNullsFail)
{
    QImage mask = filledRaster(1, 2, 0xff000000);
    mask.setPixel(0, 1, 0xffffffff);

    const Picture out = MaskImage().maskImage(solid(4, 4, 0xffffffff), Picture(mask));

    EXPECT_EQ(qAlpha(pixelAt(out.bitmap(), 2, 0)), 255);
    EXPECT_EQ(qAlpha(pixelAt(out.bitmap(), 2, 3)), 0);
    EXPECT_TRUE(maskWithImage(Picture(), Picture(mask)).isNull());
    EXPECT_TRUE(MaskImage().maskImage(solid(2, 2, 0xffffffff), Picture()).isNull());
}

TEST(ScaleImageTest, StretchesToTheRequestedPointsAtScaleOne)
{
    const Picture out = ScaleImage().imageWithImage(solid(10, 10, 0xff00ff00, 2.0), QSizeF(7, 3));

    EXPECT_EQ(out.bitmap().size(), QSize(7, 3));
    EXPECT_EQ(out.scale(), 1.0);
    EXPECT_EQ(pixelAt(out.bitmap(), 3, 1), 0xff00ff00u);
    EXPECT_TRUE(ScaleImage().imageWithImage(solid(2, 2, 0xff000000), QSizeF(0, 0)).isNull());
}

TEST(SurfaceTest, DrawPictureHonoursOrientationButDrawBitmapDoesNot)
{
    QImage src = filledRaster(2, 1, 0xffff0000);
    src.setPixel(1, 0, 0xff0000ff); // red | blue
    const Picture down(src, 1.0, Orientation::Down);

    ImageSurface a(QSizeF(2, 1));
    a.drawPicture(down, QRectF(0, 0, 2, 1));
    ImageSurface b(QSizeF(2, 1));
    b.drawBitmap(down.bitmap(), QRectF(0, 0, 2, 1));

    EXPECT_EQ(pixelAt(a.image().bitmap(), 0, 0), 0xff0000ffu);
    EXPECT_EQ(pixelAt(b.image().bitmap(), 0, 0), 0xffff0000u);
}

TEST(CodecTest, CorruptTruncatedEmptyAndDirectoryReadAsNoPicture)
{
    QTemporaryDir dir;
    const QByteArray png = encodePng(solid(8, 8, 0xff336699));
    QFile f(dir.filePath("cut.png"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(png.left(png.size() / 2));
    f.close();
    QFile e(dir.filePath("empty.jpg"));
    ASSERT_TRUE(e.open(QIODevice::WriteOnly));
    e.close();
    QFile g(dir.filePath("garbage.png"));
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write("\x89PNG not really");
    g.close();

    EXPECT_TRUE(readPicture(dir.filePath("cut.png")).isNull());
    EXPECT_TRUE(readPicture(dir.filePath("empty.jpg")).isNull());
    EXPECT_TRUE(readPicture(dir.filePath("garbage.png")).isNull());
    EXPECT_TRUE(readPicture(dir.path()).isNull());
    EXPECT_TRUE(readPicture(dir.filePath("missing.png")).isNull());
}

namespace {

/// A PNG whose header states any size; its pixels are never reached by a refused read.
QByteArray pngHeaderOnly(quint32 width, quint32 height)
{
    auto crc = [](const QByteArray &bytes) {
        quint32 c = 0xffffffffu;
        for (const char ch : bytes) {
            c ^= quint8(ch);
            for (int k = 0; k < 8; ++k)
                c = (c >> 1) ^ (0xedb88320u & (0u - (c & 1u)));
        }
        return c ^ 0xffffffffu;
    };
    auto big = [](quint32 v) {
        const char bytes[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
        return QByteArray(bytes, 4);
    };
    auto chunk = [&](const QByteArray &type, const QByteArray &data) {
        return big(quint32(data.size())) + type + data + big(crc(type + data));
    };
    const QByteArray ihdr = big(width) + big(height) + QByteArray("\x08\x06\x00\x00\x00", 5);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", ihdr) + chunk("IDAT", QByteArray("\x78\x9c\x03\x00\x00\x00\x00\x01", 8))
           + chunk("IEND", {});
}

} // namespace

TEST(CodecTest, PicturesBeyondTheLimitsAreRefusedFromTheirHeaderWithTheReason)
{
    QTemporaryDir dir;
    auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return dir.filePath(name);
    };
    // 12000 x 9000 is 108 megapixels; 40000 x 2 is over the side limit with few pixels.
    for (const QSize size : {QSize(12000, 9000), QSize(40000, 2), QSize(2, 32769)}) {
        const QString path = write(QStringLiteral("big%1.png").arg(size.width()), pngHeaderOnly(size.width(), size.height()));

        const PictureRead read = readPictureChecked(path);

        EXPECT_TRUE(read.picture.isNull());
        EXPECT_EQ(read.failure, ReadFailure::TooLarge) << size.width();
        EXPECT_EQ(read.size, size);
        EXPECT_TRUE(readPicture(path).isNull());
        EXPECT_TRUE(decodePicture(pngHeaderOnly(size.width(), size.height())).isNull());
    }
    EXPECT_EQ(pictureTooLargeMessage(QSize(12000, 9000)),
              QStringLiteral("The photo is 12000 × 9000 pixels: Vimora opens photos of up to 100 megapixels and 32768 pixels a side."));

    // The largest side and the pixel budget themselves are within.
    EXPECT_TRUE(withinPictureLimits(QSize(kMaxPictureSide, 3)));
    EXPECT_TRUE(withinPictureLimits(QSize(10000, 10000)));
    EXPECT_FALSE(withinPictureLimits(QSize(10000, 10001)));
    EXPECT_FALSE(withinPictureLimits(QSize(0, 5)));
    QImage wide(kMaxPictureSide, 1, QImage::Format_ARGB32_Premultiplied);
    wide.fill(Qt::red);
    const QString widePath = dir.filePath("wide.png");
    ASSERT_TRUE(wide.save(widePath));
    const PictureRead read = readPictureChecked(widePath);
    EXPECT_EQ(read.failure, ReadFailure::None);
    EXPECT_EQ(read.picture.bitmap().size(), wide.size());

    EXPECT_EQ(readPictureChecked(dir.filePath("none.png")).failure, ReadFailure::Missing);
    EXPECT_EQ(readPictureChecked(write("junk.png", "not a picture")).failure, ReadFailure::Unreadable);
}

TEST(CodecTest, PngRoundTripKeepsPremultipliedSamplesExactly)
{
    QImage img = filledRaster(4, 1, 0);
    img.setPixel(0, 0, qRgba(1, 2, 3, 3));
    img.setPixel(1, 0, qRgba(128, 0, 64, 128));
    img.setPixel(2, 0, qRgba(200, 201, 202, 254));
    img.setPixel(3, 0, qRgba(255, 255, 255, 255));

    const Picture back = decodePicture(encodePng(Picture(img)));

    EXPECT_TRUE(imagesEqual(back.bitmap(), img));
}

TEST(CodecTest, StripEncodedPngsAreOrdinaryPngsOfTheSamePixels)
{
    // Tall enough for many strips and not a multiple of the strip; every sample differs from
    // its neighbours, so a strip joined out of order, a lost row or a wrong filter shows.
    QImage photo(301, 1003, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb((x * 7 + y) & 0xff, (x * y) & 0xff, (x ^ y) & 0xff));
    const QByteArray opaque = encodePngStrips(Picture(photo), 3);
    ASSERT_GT(opaque.size(), 33);
    EXPECT_EQ(opaque.at(25), 2) << "an opaque picture is stored as RGB";
    EXPECT_TRUE(isImageDataComplete(opaque));
    EXPECT_TRUE(imagesEqual(decodePicture(opaque).bitmap().convertToFormat(QImage::Format_ARGB32_Premultiplied), photo));
    EXPECT_EQ(encodePngStrips(Picture(photo), 3), opaque) << "the same bytes every time";

    // Translucent samples keep their premultiplied values, as with the single-stream encoder.
    QImage glass = photo;
    for (int y = 0; y < glass.height(); y += 3)
        glass.setPixel(y % glass.width(), y, qRgba(1, 2, 3, 3));
    glass.setPixel(1, 1000, qRgba(128, 0, 64, 128));
    const QByteArray translucent = encodePngStrips(Picture(glass), 1);
    EXPECT_EQ(translucent.at(25), 6);
    EXPECT_TRUE(imagesEqual(decodePicture(translucent).bitmap(), decodePicture(encodePng(Picture(glass))).bitmap()));

    // One row, one pixel, and no picture.
    const Picture dot(filledRaster(1, 1, 0xff102030));
    EXPECT_TRUE(imagesEqual(decodePicture(encodePngStrips(dot, 9)).bitmap().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                            dot.bitmap()));
    EXPECT_TRUE(encodePngStrips(Picture()).isEmpty());
}

TEST(CodecTest, ExifOrientationArrivesUpright)
{
    // A 2 x 1 JPEG tagged "rotate 90 clockwise" (EXIF orientation 6) must read as 1 x 2.
    QImage wide(20, 10, QImage::Format_RGB32);
    wide.fill(Qt::white);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setTransformation(QImageIOHandler::TransformationRotate90);
    ASSERT_TRUE(writer.write(wide));

    const Picture p = decodePicture(jpeg);

    EXPECT_EQ(p.size(), QSizeF(10, 20));
}

TEST(SurfaceTest, ClipToMaskTakesCoverageFromTheMaskInsideALayer)
{
    QImage mask = filledRaster(2, 1, 0xff000000);
    mask.setPixel(1, 0, 0); // transparent: no coverage
    ImageSurface surface(QSizeF(8, 1));

    surface.beginTransparencyLayer();
    // Stretched over 8 pixels: the left half covered, the right half not (the pixels at the
    // seam are smoothed by the resampling).
    surface.clipToMask(QRectF(0, 0, 8, 1), mask);
    surface.fillRect(QRectF(0, 0, 8, 1), Qt::red);
    surface.endTransparencyLayer();
    surface.fillRect(QRectF(7, 0, 1, 1), Qt::blue); // after the layer: unclipped
    const QImage out = surface.image().bitmap();

    EXPECT_EQ(pixelAt(out, 0, 0), 0xffff0000u);
    EXPECT_EQ(pixelAt(out, 6, 0), 0u);
    EXPECT_EQ(pixelAt(out, 7, 0), 0xff0000ffu);
}
