#include "imaging/kernels.h"

// Inverse-mapping warps: the decoded source cache and bilinear sampling of located taps.

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "imaging/simd.h"

#ifdef VIMORA_HAS_AVX2_FORMS
#include <immintrin.h>
#endif

namespace vimora::kernels {

namespace {

using Float4 = float __attribute__((vector_size(16)));
using Int4 = int32_t __attribute__((vector_size(16)));
using Word4 = uint16_t __attribute__((vector_size(8), may_alias));

/// One stored pixel in the warp's working form: linear premultiplied colour and alpha, 16 bits.
inline Int4 linear16(uint32_t p, const uint16_t *table)
{
    const uint32_t row = (p >> 16) & 0xff00;
    return Int4{table[row | ((p >> 16) & 0xff)], table[row | ((p >> 8) & 0xff)], table[row | (p & 0xff)],
                int32_t((p >> 24) * 257)};
}

inline Float4 tapOf(const uint16_t *pixels, size_t index)
{
    const Word4 w = *reinterpret_cast<const Word4 *>(pixels + index * 4);
    // Through 32-bit integers: a zero-extension and one signed conversion, no scalar steps.
    return __builtin_convertvector(__builtin_convertvector(w, Int4), Float4);
}

/// floor for values above -2^31 without a library call (the baseline instruction set has no
/// rounding instruction): truncate, then step down for negative fractions.
inline int floorToInt(float x)
{
    const int t = int(x);
    return t - (x < float(t));
}

} // namespace

namespace {

/// Taps read from the bitmap through the same table the copy is made with: the same values
/// without decoding the whole picture first.
struct BitmapTaps
{
    const QImage &bitmap;
    const uint16_t *table;
    Float4 operator()(int x, int y) const
    {
        return __builtin_convertvector(linear16(reinterpret_cast<const QRgb *>(bitmap.constScanLine(y))[x], table), Float4);
    }
};

/// Bilinear value at raster position (u, v), pixel centres on integers: taps outside the
/// bitmap are transparent and a point on a pixel centre reads that pixel alone. Sums in the
/// same order as the interior path of WarpSource::sample, so both give the same floats.
template <typename Taps>
Float4 bilinearAt(const Taps &tap, int width, int height, float u, float v)
{
    Float4 value = {0, 0, 0, 0};
    if (!(u > -1.0f && u < float(width) && v > -1.0f && v < float(height)))
        return value;
    const int ix = floorToInt(u), iy = floorToInt(v);
    const float fx = u - float(ix), fy = v - float(iy);
    if (fx == 0.0f && fy == 0.0f)
        return tap(ix, iy);
    const bool left = ix >= 0, right = ix + 1 < width, up = iy >= 0, down = iy + 1 < height;
    if (left && up)
        value += tap(ix, iy) * ((1 - fx) * (1 - fy));
    if (right && up)
        value += tap(ix + 1, iy) * (fx * (1 - fy));
    if (left && down)
        value += tap(ix, iy + 1) * ((1 - fx) * fy);
    if (right && down)
        value += tap(ix + 1, iy + 1) * (fx * fy);
    return value;
}

constexpr float kSampleScale = 1.0f / 65535.0f;

inline void storeSample(Float4 value, PixelRow &out, int i)
{
    value *= kSampleScale;
    out.r[i] = value[0];
    out.g[i] = value[1];
    out.b[i] = value[2];
    out.a[i] = value[3];
}

/// Where one row of source points falls: the index of the top-left tap when all four taps lie
/// inside the bitmap (-1 when not), and the weights. A plain loop, so that it vectorises in both
/// instruction sets.
VIMORA_VECTOR_LOOP(void, locateTaps,
                   (const float *x, const float *y, int count, int width, int height, int *index, float *fx,
                    float *fy), (x, y, count, width, height, index, fx, fy))
{
    const float h = float(height), uLimit = float(width - 1), vLimit = float(height - 1);
    for (int i = 0; i < count; ++i) {
        // Continuous raster position: pixel centres on integers.
        const float u = x[i] - 0.5f, v = h - y[i] - 0.5f;
        // Inside when the whole 2 x 2 footprint is (NaN is not); only then are u and v
        // converted, and being positive their truncation is their floor.
        const bool in = (u >= 0.0f) & (v >= 0.0f) & (u < uLimit) & (v < vLimit);
        const int iu = int(in ? u : 0.0f), iv = int(in ? v : 0.0f);
        index[i] = in ? iv * width + iu : -1;
        fx[i] = u - float(iu);
        fy[i] = v - float(iv);
    }
}

/// rows[0..1]: the first and last raster row of the located top-left taps (first > last when
/// there are none).
VIMORA_VECTOR_LOOP(void, tapRows, (const int *index, int count, int width, int height, int *rows),
                   (index, count, width, height, rows))
{
    // Unsigned, -1 is the largest: plain minimum and maximum reductions.
    unsigned lowest = UINT_MAX;
    int highest = -1;
    for (int i = 0; i < count; ++i) {
        lowest = std::min(lowest, unsigned(index[i]));
        highest = std::max(highest, index[i]);
    }
    rows[0] = highest < 0 ? height : int(lowest) / width;
    rows[1] = highest < 0 ? -1 : highest / width;
}

#ifdef VIMORA_HAS_AVX2_FORMS
/// The interior bilinear value of one point, scaled to 0..1: the two taps of a row are one load
/// and one conversion, and the products are summed in the order of the scalar form, so both
/// give the same floats.
VIMORA_TARGET_AVX2 inline __m128 bilinearInterior(const uint16_t *topLeft, size_t rowStep, float fx, float fy)
{
    const __m256 top = _mm256_cvtepi32_ps(_mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i *>(topLeft))));
    const __m256 bottom =
        _mm256_cvtepi32_ps(_mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i *>(topLeft + rowStep))));
    const float gx = 1 - fx, gy = 1 - fy;
    const __m256 across = _mm256_insertf128_ps(_mm256_castps128_ps256(_mm_set1_ps(gx)), _mm_set1_ps(fx), 1);
    const __m256 p = _mm256_mul_ps(top, _mm256_mul_ps(across, _mm256_set1_ps(gy)));
    const __m256 q = _mm256_mul_ps(bottom, _mm256_mul_ps(across, _mm256_set1_ps(fy)));
    __m128 v = _mm_add_ps(_mm256_castps256_ps128(p), _mm256_extractf128_ps(p, 1));
    v = _mm_add_ps(v, _mm256_castps256_ps128(q));
    v = _mm_add_ps(v, _mm256_extractf128_ps(q, 1));
    return _mm_mul_ps(v, _mm_set1_ps(kSampleScale));
}

/// WarpSource::sample's loop for located taps, four points per store.
VIMORA_TARGET_AVX2 void sampleLocatedAvx2(const uint16_t *pixels, int width, int height, const SourceRow &points,
                                          const int *index, const float *weightX, const float *weightY,
                                          const BitmapTaps &border, PixelRow &out)
{
    const size_t rowStep = size_t(width) * 4;
    auto one = [&](int i) VIMORA_TARGET_AVX2 {
        if (index[i] >= 0)
            return bilinearInterior(pixels + size_t(index[i]) * 4, rowStep, weightX[i], weightY[i]);
        Float4 value = bilinearAt(border, width, height, points.x[i] - 0.5f, float(height) - points.y[i] - 0.5f);
        value *= kSampleScale;
        __m128 v;
        std::memcpy(&v, &value, sizeof v);
        return v;
    };
    const int n = points.count;
    int i = 0;
    // Turned and sheared maps walk across source rows, which the hardware does not foresee:
    // fetch the taps a few points ahead (points outside have none).
    constexpr int kAhead = 16;
    for (; i + 4 <= n; i += 4) {
        for (int k = i + kAhead; k < std::min(n, i + kAhead + 4); ++k) {
            if (index[k] < 0)
                continue;
            const char *tap = reinterpret_cast<const char *>(pixels + size_t(index[k]) * 4);
            _mm_prefetch(tap, _MM_HINT_T0);
            _mm_prefetch(tap + rowStep * 2, _MM_HINT_T0);
        }
        __m128 r = one(i), g = one(i + 1), b = one(i + 2), a = one(i + 3);
        _MM_TRANSPOSE4_PS(r, g, b, a);
        _mm_storeu_ps(out.r + i, r);
        _mm_storeu_ps(out.g + i, g);
        _mm_storeu_ps(out.b + i, b);
        _mm_storeu_ps(out.a + i, a);
    }
    for (; i < n; ++i) {
        alignas(16) float v[4];
        _mm_store_ps(v, one(i));
        out.r[i] = v[0];
        out.g[i] = v[1];
        out.b[i] = v[2];
        out.a[i] = v[3];
    }
}
#endif

} // namespace

WarpSource::WarpSource(const QImage &src)
{
    const size_t count = size_t(src.width()) * size_t(src.height());
    if (count == 0)
        return;
    const size_t blocks = size_t((src.height() + kBlockRows - 1) / kBlockRows);
    m_pixels.reset(new (std::nothrow) uint16_t[count * 4]);
    m_blocks.reset(new (std::nothrow) std::atomic<uint8_t>[blocks]);
    if (!m_pixels || !m_blocks)
        return;
    for (size_t b = 0; b < blocks; ++b)
        m_blocks[b].store(Pending, std::memory_order_relaxed);
    m_bitmap = src;
    m_table = ZELGetCIContext().linearPremultiplied16();
    m_width = src.width();
    m_height = src.height();
}

void WarpSource::decodeBlock(int block) const
{
    const int end = std::min(m_height, (block + 1) * kBlockRows);
    for (int y = block * kBlockRows; y < end; ++y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(m_bitmap.constScanLine(y));
        uint16_t *out = m_pixels.get() + size_t(y) * size_t(m_width) * 4;
        const uint16_t *table = m_table;
        for (int x = 0; x < m_width; ++x) {
            // The values linear16 gives, assembled into one 8-byte store.
            const uint32_t p = in[x];
            const uint32_t row = (p >> 16) & 0xff00;
            const uint64_t word = uint64_t(table[row | ((p >> 16) & 0xff)])
                | uint64_t(table[row | ((p >> 8) & 0xff)]) << 16 | uint64_t(table[row | (p & 0xff)]) << 32
                | uint64_t((p >> 24) * 257) << 48;
            std::memcpy(out + 4 * size_t(x), &word, sizeof word);
        }
    }
}

bool WarpSource::ensureRows(int first, int last) const
{
    bool ready = true;
    for (int block = first / kBlockRows; block <= last / kBlockRows; ++block) {
        std::atomic<uint8_t> &state = m_blocks[size_t(block)];
        if (state.load(std::memory_order_acquire) == Ready)
            continue;
        uint8_t expected = Pending;
        if (state.compare_exchange_strong(expected, Decoding, std::memory_order_acquire)) {
            decodeBlock(block);
            state.store(Ready, std::memory_order_release);
        } else if (expected != Ready) {
            ready = false; // another thread is at it; the caller reads those points from the bitmap
        }
    }
    return ready;
}

bool WarpSource::rowsReady(int first, int last) const
{
    for (int block = first / kBlockRows; block <= last / kBlockRows; ++block)
        if (m_blocks[size_t(block)].load(std::memory_order_acquire) != Ready)
            return false;
    return true;
}

void WarpSource::sample(const SourceRow &points, PixelRow &out) const
{
    const uint16_t *pixels = m_pixels.get();
    const size_t w = size_t(m_width);
    const int n = points.count;
    thread_local std::vector<int> index;
    thread_local std::vector<float> weightX, weightY;
    if (index.size() < size_t(n)) {
        index.resize(size_t(n));
        weightX.resize(size_t(n));
        weightY.resize(size_t(n));
    }
    int rows[2];
    locateTaps(points.x, points.y, n, m_width, m_height, index.data(), weightX.data(), weightY.data());
    tapRows(index.data(), n, m_width, m_height, rows);
    if (rows[0] <= rows[1] && !ensureRows(rows[0], rows[1] + 1)) {
        // Points whose rows another thread is still decoding take the edge path, which reads
        // the bitmap: the same values, and no waiting.
        for (int i = 0; i < n; ++i) {
            const int row = index[size_t(i)] / m_width;
            if (index[size_t(i)] >= 0 && !rowsReady(row, row + 1))
                index[size_t(i)] = -1;
        }
    }
    const BitmapTaps border{m_bitmap, m_table};
#ifdef VIMORA_HAS_AVX2_FORMS
    if (simd::useAvx2()) {
        sampleLocatedAvx2(pixels, m_width, m_height, points, index.data(), weightX.data(), weightY.data(), border,
                          out);
        return;
    }
#endif
    for (int i = 0; i < n; ++i) {
        Float4 value;
        if (index[size_t(i)] >= 0) {
            const size_t at = size_t(index[size_t(i)]);
            const float fx = weightX[size_t(i)], fy = weightY[size_t(i)], gx = 1 - fx, gy = 1 - fy;
            value = tapOf(pixels, at) * (gx * gy) + tapOf(pixels, at + 1) * (fx * gy)
                + tapOf(pixels, at + w) * (gx * fy) + tapOf(pixels, at + w + 1) * (fx * fy);
        } else {
            // Points at the edge or beyond are few: their taps come from the bitmap itself.
            value = bilinearAt(border, m_width, m_height, points.x[i] - 0.5f, float(m_height) - points.y[i] - 0.5f);
        }
        storeSample(value, out, i);
    }
}

QImage separableWarp(const QImage &src, Region region, const std::vector<float> &columnX,
                     const std::vector<float> &rowY)
{
    if (src.isNull() || columnX.size() != size_t(std::max(region.width, 0))
        || rowY.size() != size_t(std::max(region.height, 0)))
        return {};
    QImage out = makeRegionRaster(region);
    if (out.isNull())
        return {};
    const RasterRows rows(out);
    const BitmapTaps taps{src, ZELGetCIContext().linearPremultiplied16()};
    const int w = src.width(), h = src.height();
    // Columns where a new run of equal source x starts.
    std::vector<int> runStarts;
    for (int i = 0; i < region.width; ++i)
        if (i == 0 || columnX[size_t(i)] != columnX[size_t(i - 1)])
            runStarts.push_back(i);
    const int runs = int(runStarts.size());
    runStarts.push_back(region.width);
    parallelChunks(region.height, [&](int begin, int end) {
        RowBuffer values(runs);
        std::vector<QRgb> words(static_cast<size_t>(runs));
        for (int j = begin; j < end; ++j) {
            if (j > begin && rowY[size_t(j)] == rowY[size_t(j - 1)]) {
                std::memcpy(rows[j], rows[j - 1], size_t(region.width) * sizeof(QRgb));
                continue;
            }
            const float v = float(h) - rowY[size_t(j)] - 0.5f;
            for (int k = 0; k < runs; ++k) {
                constexpr float kScale = 1.0f / 65535.0f;
                const Float4 value = bilinearAt(taps, w, h, columnX[size_t(runStarts[size_t(k)])] - 0.5f, v) * kScale;
                values.row.r[k] = value[0];
                values.row.g[k] = value[1];
                values.row.b[k] = value[2];
                values.row.a[k] = value[3];
            }
            encodePremultipliedRow(values.row, Space::Linear, words.data());
            QRgb *row = rows[j];
            for (int k = 0; k < runs; ++k)
                std::fill(row + runStarts[size_t(k)], row + runStarts[size_t(k + 1)], words[size_t(k)]);
        }
    });
    return out;
}

void copyInputSpan(const QImage &src, Region region, int j, int first, int end, QRgb *out)
{
    if (end <= first)
        return;
    const int row = j + src.height() - region.y - region.height;
    const int inFirst = std::clamp(-region.x, first, end);
    const int inEnd = std::clamp(src.width() - region.x, inFirst, end);
    if (row < 0 || row >= src.height() || inEnd <= inFirst) {
        std::fill(out + first, out + end, 0u);
        return;
    }
    std::fill(out + first, out + inFirst, 0u);
    std::memcpy(out + inFirst, reinterpret_cast<const QRgb *>(src.constScanLine(row)) + region.x + inFirst,
                size_t(inEnd - inFirst) * sizeof(QRgb));
    std::fill(out + inEnd, out + end, 0u);
}

} // namespace vimora::kernels
