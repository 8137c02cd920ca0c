#include "imaging/resample.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "imaging/parallel.h"
#include "imaging/pixel_support.h"
#include "imaging/simd.h"

namespace vimora {

namespace {

using detail::rowBytes;
using detail::rowWords;

/// Catmull-Rom cubic: interpolating (1 at 0, 0 at the other integers), mild overshoot.
float cubicWeight(double x)
{
    x = std::fabs(x);
    if (x < 1.0)
        return float((1.5 * x - 2.5) * x * x + 1.0);
    if (x < 2.0)
        return float(((-0.5 * x + 2.5) * x - 4.0) * x + 2.0);
    return 0.0f;
}

/// For every output position along one axis: the first source index and the normalised
/// weights of the source samples it draws on (a fixed count per position, zero-padded).
struct AxisTaps
{
    int count = 0;
    std::vector<int> first;
    std::vector<float> weights; // count per output position
};

AxisTaps axisTaps(int srcLen, int dstLen, double span)
{
    const double scale = dstLen / span;
    const double widen = std::max(1.0, 1.0 / scale);
    const double support = 2.0 * widen;
    AxisTaps taps;
    taps.count = std::min(srcLen, int(std::ceil(2.0 * support)) + 1);
    taps.first.resize(size_t(dstLen));
    taps.weights.assign(size_t(dstLen) * size_t(taps.count), 0.0f);
    std::vector<double> w(static_cast<size_t>(taps.count));
    for (int j = 0; j < dstLen; ++j) {
        const double centre = (j + 0.5) / scale;
        int lo = int(std::floor(centre - support));
        lo = std::clamp(lo, 0, srcLen - taps.count);
        double sum = 0.0;
        for (int k = 0; k < taps.count; ++k) {
            w[size_t(k)] = cubicWeight((lo + k + 0.5 - centre) / widen);
            sum += w[size_t(k)];
        }
        taps.first[size_t(j)] = lo;
        float *out = &taps.weights[size_t(j) * size_t(taps.count)];
        for (int k = 0; k < taps.count; ++k)
            out[k] = float(w[size_t(k)] / sum);
    }
    return taps;
}

/// acc += weight x src over n samples; up to four rows a pass, so acc is read and written once.
VIMORA_VECTOR_LOOP(void, accumulateRows,
                   (float *__restrict acc, const uint8_t *const *rows, const float *weights, int count, int n),
                   (acc, rows, weights, count, n))
{
    for (int k = 0; k < count; k += 4) {
        const int m = std::min(4, count - k);
        const uint8_t *__restrict r0 = rows[k];
        const uint8_t *__restrict r1 = rows[k + (m > 1 ? 1 : 0)];
        const uint8_t *__restrict r2 = rows[k + (m > 2 ? 2 : 0)];
        const uint8_t *__restrict r3 = rows[k + (m > 3 ? 3 : 0)];
        const float w0 = weights[k];
        const float w1 = m > 1 ? weights[k + 1] : 0.0f;
        const float w2 = m > 2 ? weights[k + 2] : 0.0f;
        const float w3 = m > 3 ? weights[k + 3] : 0.0f;
        for (int i = 0; i < n; ++i)
            acc[i] += w0 * float(r0[i]) + w1 * float(r1[i]) + w2 * float(r2[i]) + w3 * float(r3[i]);
    }
}

// One pixel's four samples as one vector (GCC and Clang vector extensions).
typedef float Pixel4 __attribute__((vector_size(16), aligned(4)));
typedef int32_t Int4 __attribute__((vector_size(16)));

/// The horizontal pass: each output pixel is the weighted sum of its source pixels, rounded,
/// clamped, and its colour kept at or below its alpha.
VIMORA_VECTOR_LOOP(void, horizontalRow,
                   (QRgb *out, const float *row, const AxisTaps &taps, int dstWidth), (out, row, taps, dstWidth))
{
    const int count = taps.count;
    const Pixel4 zero = {0.0f, 0.0f, 0.0f, 0.0f};
    const Pixel4 top = {255.0f, 255.0f, 255.0f, 255.0f};
    for (int x = 0; x < dstWidth; ++x) {
        const float *w = &taps.weights[size_t(x) * size_t(count)];
        const Pixel4 *p = reinterpret_cast<const Pixel4 *>(row + 4 * taps.first[size_t(x)]);
        Pixel4 acc = zero;
        for (int k = 0; k < count; ++k)
            acc += w[k] * p[k];
        acc = acc > zero ? acc : zero;
        acc = acc < top ? acc : top;
        const Int4 v = __builtin_convertvector(acc + 0.5f, Int4);
        const int32_t a = v[3];
        out[x] = (QRgb(a) << 24) | (QRgb(std::min(v[2], a)) << 16) | (QRgb(std::min(v[1], a)) << 8)
            | QRgb(std::min(v[0], a));
    }
}

} // namespace

QImage resampled(const QImage &src, int width, int height)
{
    return resampledSpan(src, src.size(), width, height);
}

QImage resampledSpan(const QImage &src, QSizeF span, int width, int height)
{
    if (src.isNull() || width <= 0 || height <= 0 || !(span.width() > 0) || !(span.height() > 0)
        || span.width() > src.width() || span.height() > src.height())
        return {};
    if (src.size() == QSize(width, height) && span == QSizeF(src.size()))
        return src;
    QImage dst = detail::newRaster(width, height);
    if (dst.isNull())
        return {};
    const AxisTaps across = axisTaps(src.width(), width, span.width());
    const AxisTaps down = axisTaps(src.height(), height, span.height());
    const int rowFloats = 4 * src.width();
    parallelRows(
        height,
        [&](int begin, int end) {
            std::vector<float> row(static_cast<size_t>(rowFloats));
            std::vector<const uint8_t *> rows(static_cast<size_t>(down.count));
            for (int y = begin; y < end; ++y) {
                std::fill(row.begin(), row.end(), 0.0f);
                const int first = down.first[size_t(y)];
                for (int k = 0; k < down.count; ++k)
                    rows[size_t(k)] = rowBytes(src, first + k);
                accumulateRows(row.data(), rows.data(), &down.weights[size_t(y) * size_t(down.count)], down.count,
                               rowFloats);
                horizontalRow(rowWords(dst, y), row.data(), across, width);
            }
        },
        16);
    return dst;
}

namespace {

/// Straight-line interpolation of the four 8-bit lanes of two pixels, weight f of b in 0..256.
inline QRgb lerpPixel(QRgb a, QRgb b, uint32_t f)
{
    const uint32_t g = 256 - f;
    const uint32_t rb = (((a & 0x00ff00ffu) * g + (b & 0x00ff00ffu) * f + 0x00800080u) >> 8) & 0x00ff00ffu;
    const uint32_t ag = ((((a >> 8) & 0x00ff00ffu) * g + ((b >> 8) & 0x00ff00ffu) * f + 0x00800080u)) & 0xff00ff00u;
    return rb | ag;
}

typedef uint8_t Bytes8 __attribute__((vector_size(8)));
typedef uint16_t Lanes8 __attribute__((vector_size(16)));

/// Bilinear mix of the 2 x 2 pixels at p (top row) and p + stride (bottom row): two pixels
/// side by side make the eight 16-bit lanes of one vector.
inline QRgb bilinear(const QRgb *p, qsizetype stride, uint16_t fx, uint16_t fy)
{
    Bytes8 topBytes, bottomBytes;
    std::memcpy(&topBytes, p, 8);
    std::memcpy(&bottomBytes, p + stride, 8);
    const Lanes8 top = __builtin_convertvector(topBytes, Lanes8);
    const Lanes8 bottom = __builtin_convertvector(bottomBytes, Lanes8);
    const Lanes8 v = (top * uint16_t(256 - fy) + bottom * fy + 128) >> 8;
    const Lanes8 right = __builtin_shufflevector(v, v, 4, 5, 6, 7, 4, 5, 6, 7);
    const Lanes8 mixed = (v * uint16_t(256 - fx) + right * fx + 128) >> 8;
    const Bytes8 packed = __builtin_convertvector(mixed, Bytes8);
    QRgb out;
    std::memcpy(&out, &packed, 4);
    return out;
}

inline QRgb sampleAt(const QImage &src, int x, int y)
{
    if (x < 0 || y < 0 || x >= src.width() || y >= src.height())
        return 0u;
    return rowWords(src, y)[x];
}

} // namespace

void warpBilinear(const QImage &src, QImage &dst, const QTransform &dstToSrc)
{
    if (dst.isNull())
        return;
    dst.bits(); // detach once, here, if dst is shared
    if (src.isNull()) {
        dst.fill(0u);
        return;
    }
    const int sw = src.width();
    const int sh = src.height();
    const int dw = dst.width();
    constexpr double kOne = 65536.0;
    // 16.16 fixed point source positions; a step along a row is one matrix column.
    const auto fixed = [](double v) { return int64_t(std::llround(v * kOne)); };
    const int64_t du = fixed(dstToSrc.m11());
    const int64_t dv = fixed(dstToSrc.m12());
    const qsizetype stride = src.bytesPerLine() / 4;
    const QRgb *base = rowWords(src, 0);
    parallelRows(dst.height(), [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            QRgb *out = rowWords(dst, y);
            const QPointF start = dstToSrc.map(QPointF(0.5, y + 0.5));
            // Sample positions relative to pixel centres.
            int64_t u = fixed(start.x() - 0.5);
            int64_t v = fixed(start.y() - 0.5);
            for (int x = 0; x < dw; ++x, u += du, v += dv) {
                const int64_t x0 = u >> 16;
                const int64_t y0 = v >> 16;
                const uint32_t fx = uint32_t((u >> 8) & 0xff) + (((u >> 7) & 1) ? 1u : 0u);
                const uint32_t fy = uint32_t((v >> 8) & 0xff) + (((v >> 7) & 1) ? 1u : 0u);
                if (uint64_t(x0) < uint64_t(sw - 1) && uint64_t(y0) < uint64_t(sh - 1)) {
                    out[x] = bilinear(base + y0 * stride + x0, stride, uint16_t(fx), uint16_t(fy));
                } else if (x0 >= -1 && x0 < sw && y0 >= -1 && y0 < sh) {
                    const int ix = int(x0), iy = int(y0);
                    out[x] = lerpPixel(lerpPixel(sampleAt(src, ix, iy), sampleAt(src, ix + 1, iy), fx),
                                       lerpPixel(sampleAt(src, ix, iy + 1), sampleAt(src, ix + 1, iy + 1), fx), fy);
                } else {
                    out[x] = 0u;
                }
            }
        }
    });
}

} // namespace vimora
