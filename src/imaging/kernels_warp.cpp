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

/// One stored pixel in the warp's working form: linear premultiplied colour and alpha, 16 bits.
inline Int4 linear16(uint32_t p, const uint16_t *table)
{
    const uint32_t row = (p >> 16) & 0xff00;
    return Int4{table[row | ((p >> 16) & 0xff)], table[row | ((p >> 8) & 0xff)], table[row | (p & 0xff)],
                int32_t((p >> 24) * 257)};
}

/// floor for values above -2^31 without a library call (the baseline instruction set has no
/// rounding instruction): truncate, then step down for negative fractions.
inline int floorToInt(float x)
{
    const int t = int(x);
    return t - (x < float(t));
}

constexpr int kWeightBits = 15;
constexpr int kWeightOne = 1 << kWeightBits;
constexpr int kWeightHalf = 1 << (kWeightBits - 1);

/// A fraction 0 <= f <= 1 as a weight of kWeightOne, rounded half up: f 2^15 + 1/2 is exact in
/// float, so every instruction set rounds alike. (u - floor(u) can round up to 1 itself.)
inline int weightOf(float f) { return int(f * float(kWeightOne) + 0.5f); }

/// The rule's one step: (a (1 - w) + b w) in 15-bit weights, rounded half up. At most
/// 65535 x 32768 + 2^14, inside a signed 32-bit lane.
inline Int4 lerp16(Int4 a, Int4 b, int w) { return (a * (kWeightOne - w) + b * w + kWeightHalf) >> kWeightBits; }

/// Taps read from the bitmap through the same table the copy is made with: the same values
/// without decoding the whole picture first.
struct BitmapTaps
{
    const QImage &bitmap;
    const uint16_t *table;
    Int4 operator()(int x, int y) const
    {
        return linear16(reinterpret_cast<const QRgb *>(bitmap.constScanLine(y))[x], table);
    }
};

/// The sampling rule (kernels.h) at raster position (u, v), pixel centres on integers, taps
/// outside the bitmap transparent.
template <typename Taps>
Int4 bilinearAt(const Taps &tap, int width, int height, float u, float v)
{
    const Int4 none = {0, 0, 0, 0};
    if (!(u > -1.0f && u < float(width) && v > -1.0f && v < float(height)))
        return none;
    const int ix = floorToInt(u), iy = floorToInt(v);
    const int wx = weightOf(u - float(ix)), wy = weightOf(v - float(iy));
    const bool left = ix >= 0, right = ix + 1 < width, up = iy >= 0, down = iy + 1 < height;
    const Int4 topLeft = left && up ? tap(ix, iy) : none, topRight = right && up ? tap(ix + 1, iy) : none;
    const Int4 bottomLeft = left && down ? tap(ix, iy + 1) : none;
    const Int4 bottomRight = right && down ? tap(ix + 1, iy + 1) : none;
    return lerp16(lerp16(topLeft, bottomLeft, wy), lerp16(topRight, bottomRight, wy), wx);
}

constexpr float kSampleScale = 1.0f / 65535.0f;

inline void storeSample(Int4 value, PixelRow &out, int i)
{
    // float(int) x 1/65535: the floats the 16-bit rows widen to elsewhere.
    const Float4 scaled = __builtin_convertvector(value, Float4) * kSampleScale;
    out.r[i] = scaled[0];
    out.g[i] = scaled[1];
    out.b[i] = scaled[2];
    out.a[i] = scaled[3];
}

inline void storeSample(Int4 value, PixelRow16 &out, int i)
{
    out.r[i] = uint16_t(value[0]);
    out.g[i] = uint16_t(value[1]);
    out.b[i] = uint16_t(value[2]);
    out.a[i] = uint16_t(value[3]);
}

/// Where one row of source points falls: the index of the top-left tap when all four taps lie
/// inside the bitmap (-1 when not), and the rule's weights. A plain loop, so that it vectorises
/// in both instruction sets.
VIMORA_VECTOR_LOOP(void, locateTaps,
                   (const float *x, const float *y, int count, int width, int height, int *index, int *wx,
                    int *wy), (x, y, count, width, height, index, wx, wy))
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
        // Unused for points outside, but kept in 0..1 (NaN to 0) so that they convert; a select
        // on `in` would split the loop into branches that do not vectorise.
        wx[i] = weightOf(std::min(1.0f, std::max(0.0f, u - float(iu))));
        wy[i] = weightOf(std::min(1.0f, std::max(0.0f, v - float(iv))));
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
/// A weight as the pair (-(1 - w), -w) of 16-bit lanes for vpmaddwd: negated, because 1 itself
/// (32768) does not fit a signed lane while -32768 does.
VIMORA_VECTOR_LOOP(void, negatedPairs, (const int *w, int count, int32_t *pairs), (w, count, pairs))
{
    for (int i = 0; i < count; ++i)
        pairs[i] = int32_t(uint32_t(w[i] - kWeightOne) & 0xffff) | int32_t(uint32_t(-w[i]) << 16);
}

/// Both steps of the rule for two interior points, lanes [first's r g b a | second's r g b a].
/// Samples are biased by -32768 to fit signed lanes; with the negated weight pairs vpmaddwd
/// gives 2^30 - (a (1 - w) + b w), so 2^30 + 2^14 less it is the sum plus the rounding term.
VIMORA_TARGET_AVX2 inline __m256i bilinearPair(const uint16_t *first, const uint16_t *second, size_t rowStep,
                                               const int32_t *pairX, const int32_t *pairY)
{
    const __m256i flip = _mm256_set1_epi16(int16_t(0x8000));
    const __m256i rounding = _mm256_set1_epi32((1 << 30) + kWeightHalf);
    const __m256i spread = _mm256_setr_epi32(0, 0, 0, 0, 1, 1, 1, 1);
    const __m256i top = _mm256_xor_si256(
        _mm256_loadu2_m128i(reinterpret_cast<const __m128i *>(second), reinterpret_cast<const __m128i *>(first)),
        flip);
    const __m256i bottom = _mm256_xor_si256(_mm256_loadu2_m128i(reinterpret_cast<const __m128i *>(second + rowStep),
                                                                reinterpret_cast<const __m128i *>(first + rowStep)),
                                            flip);
    const __m256i down = _mm256_permutevar8x32_epi32(
        _mm256_castsi128_si256(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(pairY))), spread);
    const __m256i across = _mm256_permutevar8x32_epi32(
        _mm256_castsi128_si256(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(pairX))), spread);
    // Down each column, 16-bit results back in 32-bit lanes.
    const __m256i left = _mm256_srli_epi32(_mm256_sub_epi32(rounding, _mm256_madd_epi16(_mm256_unpacklo_epi16(top, bottom), down)), kWeightBits);
    const __m256i right = _mm256_srli_epi32(_mm256_sub_epi32(rounding, _mm256_madd_epi16(_mm256_unpackhi_epi16(top, bottom), down)), kWeightBits);
    // Then across: the two columns paired in each lane, biased again.
    const __m256i pairs = _mm256_xor_si256(_mm256_or_si256(left, _mm256_slli_epi32(right, 16)), flip);
    return _mm256_srli_epi32(_mm256_sub_epi32(rounding, _mm256_madd_epi16(pairs, across)), kWeightBits);
}

/// WarpSource::sample's loop for located taps, four points per store.
VIMORA_TARGET_AVX2 void sampleLocatedAvx2(const uint16_t *pixels, int width, int height, const SourceRow &points,
                                          const int *index, const int *weightX, const int *weightY,
                                          const BitmapTaps &border, PixelRow16 &out)
{
    const int n = points.count;
    thread_local std::vector<int32_t> pairs;
    if (pairs.size() < size_t(n) * 2 + 2)
        pairs.resize(size_t(n) * 2 + 2);
    int32_t *pairX = pairs.data(), *pairY = pairs.data() + n + 1;
    negatedPairs(weightX, n, pairX);
    negatedPairs(weightY, n, pairY);
    const size_t rowStep = size_t(width) * 4;
    auto edge = [&](int i) {
        return bilinearAt(border, width, height, points.x[i] - 0.5f, float(height) - points.y[i] - 0.5f);
    };
    // One interior point in the low lane (the pair's second point repeats it).
    auto one = [&](int i) VIMORA_TARGET_AVX2 {
        const uint16_t *taps = pixels + size_t(index[i]) * 4;
        return bilinearPair(taps, taps, rowStep, pairX + i, pairY + i);
    };
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
        __m256i v01, v23;
        if ((index[i] | index[i + 1] | index[i + 2] | index[i + 3]) >= 0) {
            v01 = bilinearPair(pixels + size_t(index[i]) * 4, pixels + size_t(index[i + 1]) * 4, rowStep,
                               pairX + i, pairY + i);
            v23 = bilinearPair(pixels + size_t(index[i + 2]) * 4, pixels + size_t(index[i + 3]) * 4, rowStep,
                               pairX + i + 2, pairY + i + 2);
        } else {
            // Points at the edge or beyond are few: the scalar rule, taps from the bitmap.
            __m128i v[4];
            for (int k = 0; k < 4; ++k) {
                if (index[i + k] >= 0) {
                    v[k] = _mm256_castsi256_si128(one(i + k));
                } else {
                    const Int4 value = edge(i + k);
                    std::memcpy(&v[k], &value, sizeof value);
                }
            }
            v01 = _mm256_set_m128i(v[1], v[0]);
            v23 = _mm256_set_m128i(v[3], v[2]);
        }
        // [p | q], [r | s] to planes: a 4 x 4 transpose of 32-bit lanes, then packed to 16 bits.
        __m128 p = _mm256_castps256_ps128(_mm256_castsi256_ps(v01)), q = _mm256_extractf128_ps(_mm256_castsi256_ps(v01), 1),
               r = _mm256_castps256_ps128(_mm256_castsi256_ps(v23)), t = _mm256_extractf128_ps(_mm256_castsi256_ps(v23), 1);
        _MM_TRANSPOSE4_PS(p, q, r, t);
        const __m128i rg = _mm_packus_epi32(_mm_castps_si128(p), _mm_castps_si128(q));
        const __m128i ba = _mm_packus_epi32(_mm_castps_si128(r), _mm_castps_si128(t));
        // Plain 64-bit stores: the planes are only 2-byte aligned.
        _mm_storel_epi64(reinterpret_cast<__m128i *>(out.r + i), rg);
        _mm_storel_epi64(reinterpret_cast<__m128i *>(out.g + i), _mm_unpackhi_epi64(rg, rg));
        _mm_storel_epi64(reinterpret_cast<__m128i *>(out.b + i), ba);
        _mm_storel_epi64(reinterpret_cast<__m128i *>(out.a + i), _mm_unpackhi_epi64(ba, ba));
    }
    for (; i < n; ++i) {
        if (index[i] < 0) {
            storeSample(edge(i), out, i);
            continue;
        }
        Int4 value;
        const __m128i low = _mm256_castsi256_si128(one(i));
        std::memcpy(&value, &low, sizeof value);
        storeSample(value, out, i);
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
    thread_local std::vector<uint16_t> planes;
    if (planes.size() < size_t(points.count) * 4)
        planes.resize(size_t(points.count) * 4);
    const size_t n = size_t(points.count);
    PixelRow16 values{planes.data(), planes.data() + n, planes.data() + 2 * n, planes.data() + 3 * n, points.count};
    sample16(points, values);
    for (int i = 0; i < points.count; ++i)
        storeSample(Int4{values.r[i], values.g[i], values.b[i], values.a[i]}, out, i);
}

void WarpSource::sample16(const SourceRow &points, PixelRow16 &out) const
{
    const uint16_t *pixels = m_pixels.get();
    const size_t w = size_t(m_width);
    const int n = points.count;
    thread_local std::vector<int> index, weightX, weightY;
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
    auto tap = [pixels](size_t at) {
        const uint16_t *p = pixels + at * 4;
        return Int4{p[0], p[1], p[2], p[3]};
    };
    for (int i = 0; i < n; ++i) {
        Int4 value;
        if (index[size_t(i)] >= 0) {
            const size_t at = size_t(index[size_t(i)]);
            const int wx = weightX[size_t(i)], wy = weightY[size_t(i)];
            value = lerp16(lerp16(tap(at), tap(at + w), wy), lerp16(tap(at + 1), tap(at + w + 1), wy), wx);
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
            for (int k = 0; k < runs; ++k)
                storeSample(bilinearAt(taps, w, h, columnX[size_t(runStarts[size_t(k)])] - 0.5f, v), values.row, k);
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
