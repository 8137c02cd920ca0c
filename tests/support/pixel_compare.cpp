#include "support/pixel_compare.h"

#include <cstdlib>

namespace vimora::test {

namespace {
QString describe(QRgb p)
{
    return QStringLiteral("(a %1 r %2 g %3 b %4)").arg(qAlpha(p)).arg(qRed(p)).arg(qGreen(p)).arg(qBlue(p));
}
} // namespace

testing::AssertionResult imagesEqual(const QImage &actual, const QImage &expected, int tolerance)
{
    if (actual.size() != expected.size())
        return testing::AssertionFailure() << "sizes differ: " << actual.width() << "x" << actual.height()
                                           << " vs " << expected.width() << "x" << expected.height();
    const QImage a = actual.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage e = expected.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb pa = a.pixel(x, y), pe = e.pixel(x, y);
            const int d = std::max({std::abs(qAlpha(pa) - qAlpha(pe)), std::abs(qRed(pa) - qRed(pe)),
                                    std::abs(qGreen(pa) - qGreen(pe)), std::abs(qBlue(pa) - qBlue(pe))});
            if (d > tolerance)
                return testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is "
                                                   << describe(pa).toStdString() << ", expected "
                                                   << describe(pe).toStdString();
        }
    return testing::AssertionSuccess();
}

testing::AssertionResult picturesEqual(const Picture &actual, const Picture &expected, int tolerance)
{
    if (actual.isNull() || expected.isNull())
        return testing::AssertionFailure() << (actual.isNull() ? "the picture" : "the expected picture") << " is null";
    return imagesEqual(actual.uprightBitmap(), expected.uprightBitmap(), tolerance);
}

QImage filledRaster(int w, int h, QRgb premultiplied)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(premultiplied);
    return image;
}

QImage positionCoded(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int v = x + w * y;
            image.setPixel(x, y, qRgba(v & 0xff, (v >> 8) & 0xff, 0, 255));
        }
    return image;
}

QRgb pixelAt(const QImage &image, int x, int y)
{
    return reinterpret_cast<const QRgb *>(image.constScanLine(y))[x];
}

} // namespace vimora::test
