#include "ui/shadow_blur.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "imaging/parallel.h"

namespace vimora::ui {

namespace {

// Box widths whose three passes approximate a Gaussian of sigma (the usual
// "boxes for Gauss" construction).
std::vector<int> boxRadii(double sigma)
{
    const int n = 3;
    const double ideal = std::sqrt(12 * sigma * sigma / n + 1);
    int wl = int(std::floor(ideal));
    if (wl % 2 == 0)
        --wl;
    const int wu = wl + 2;
    const double mIdeal = (12 * sigma * sigma - n * wl * wl - 4 * n * wl - 3 * n) / (-4 * wl - 4);
    const int m = int(std::round(mIdeal));
    std::vector<int> radii;
    for (int i = 0; i < n; ++i)
        radii.push_back(((i < m ? wl : wu) - 1) / 2);
    return radii;
}

// One box pass along rows of a w x h plane (stride 'stride' between samples, 'step'
// between lines), edges extended with zero.
void boxPass(const std::vector<float> &src, std::vector<float> &dst, int length, int lines, int sampleStride,
             int lineStride, int radius)
{
    const float scale = 1.0f / float(2 * radius + 1);
    vimora::parallelRows(lines, [&](int begin, int end) {
        for (int line = begin; line < end; ++line) {
            const size_t base = size_t(line) * size_t(lineStride);
            float sum = 0;
            for (int i = 0; i <= std::min(radius, length - 1); ++i)
                sum += src[base + size_t(i) * size_t(sampleStride)];
            for (int i = 0; i < length; ++i) {
                dst[base + size_t(i) * size_t(sampleStride)] = sum * scale;
                const int add = i + radius + 1, drop = i - radius;
                if (add < length)
                    sum += src[base + size_t(add) * size_t(sampleStride)];
                if (drop >= 0)
                    sum -= src[base + size_t(drop) * size_t(sampleStride)];
            }
        }
    });
}

} // namespace

QImage alphaCoverage(const QImage &argb)
{
    if (argb.isNull())
        return {};
    const QImage src = argb.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage out(src.size(), QImage::Format_Alpha8);
    for (int y = 0; y < src.height(); ++y) {
        const QRgb *s = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        uchar *d = out.scanLine(y);
        for (int x = 0; x < src.width(); ++x)
            d[x] = uchar(qAlpha(s[x]));
    }
    return out;
}

QImage blurredCoverage(const QImage &coverage, double sigma)
{
    if (coverage.isNull())
        return {};
    const int w = coverage.width(), h = coverage.height();
    std::vector<float> a(size_t(w) * size_t(h)), b(a.size());
    for (int y = 0; y < h; ++y) {
        const uchar *s = coverage.constScanLine(y);
        for (int x = 0; x < w; ++x)
            a[size_t(y) * size_t(w) + size_t(x)] = s[x];
    }
    if (sigma >= 0.3) {
        for (int r : boxRadii(sigma)) {
            boxPass(a, b, w, h, 1, w, r); // along rows
            boxPass(b, a, h, w, w, 1, r); // along columns
        }
    }
    QImage out(w, h, QImage::Format_Alpha8);
    for (int y = 0; y < h; ++y) {
        uchar *d = out.scanLine(y);
        for (int x = 0; x < w; ++x)
            d[x] = uchar(std::clamp(int(a[size_t(y) * size_t(w) + size_t(x)] + 0.5f), 0, 255));
    }
    return out;
}

QImage tintedCoverage(const QImage &coverage, const QColor &color)
{
    if (coverage.isNull())
        return {};
    QImage out(coverage.size(), QImage::Format_ARGB32_Premultiplied);
    const int ca = color.alpha();
    const int r = color.red() * ca / 255, g = color.green() * ca / 255, bl = color.blue() * ca / 255;
    for (int y = 0; y < out.height(); ++y) {
        const uchar *s = coverage.constScanLine(y);
        QRgb *d = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int c = s[x];
            d[x] = qRgba(r * c / 255, g * c / 255, bl * c / 255, ca * c / 255);
        }
    }
    return out;
}

} // namespace vimora::ui
