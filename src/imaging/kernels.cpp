#include "imaging/kernels.h"

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

constexpr float kInv255 = 1.0f / 255.0f;

// The table reads of the working space (decode, encode): in the AVX2 form eight pixels at a
// time, their values loaded one by one into vectors, with results identical to the scalar code.
#ifdef VIMORA_HAS_AVX2_FORMS
/// The vector of at(0) .. at(7), 32-bit values loaded one by one: on the processors measured,
/// eight plain loads from a table in L1 cost less than one gather instruction.
template <typename At>
VIMORA_TARGET_AVX2 inline __m256i eachOfEight(At &&at)
{
    __m128i low = _mm_cvtsi32_si128(at(0));
    low = _mm_insert_epi32(low, at(1), 1);
    low = _mm_insert_epi32(low, at(2), 2);
    low = _mm_insert_epi32(low, at(3), 3);
    __m128i high = _mm_cvtsi32_si128(at(4));
    high = _mm_insert_epi32(high, at(5), 1);
    high = _mm_insert_epi32(high, at(6), 2);
    high = _mm_insert_epi32(high, at(7), 3);
    return _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
}

/// table[index[k]] for eight indices.
VIMORA_TARGET_AVX2 inline __m256i lookup8(const uint32_t *table, __m256i index)
{
    const __m128i lowIndex = _mm256_castsi256_si128(index), highIndex = _mm256_extracti128_si256(index, 1);
    const uint64_t pairs[4] = {uint64_t(_mm_cvtsi128_si64(lowIndex)), uint64_t(_mm_extract_epi64(lowIndex, 1)),
                               uint64_t(_mm_cvtsi128_si64(highIndex)), uint64_t(_mm_extract_epi64(highIndex, 1))};
    return eachOfEight([&](int k) { return int(table[uint32_t(pairs[k / 2] >> (32 * (k % 2)))]); });
}

/// encodeOpaque of eight values.
VIMORA_TARGET_AVX2 inline __m256i encodeOpaque8(__m256 u, const uint32_t *cells)
{
    u = _mm256_min_ps(_mm256_max_ps(u, _mm256_setzero_ps()), _mm256_set1_ps(1.0f)); // NaN and -0 read +0
    const __m256i bits = _mm256_castps_si256(u);
    const __m256i below = _mm256_set1_epi32(int(FilterContext::kFirstOpaqueCell - 1));
    const __m256i cell = _mm256_sub_epi32(_mm256_max_epi32(_mm256_srli_epi32(bits, 16), below), below);
    const __m256i entry = lookup8(cells, cell);
    const __m256i position = _mm256_and_si256(bits, _mm256_set1_epi32(0xffff));
    // Next byte where position >= step: (step > position) is -1 where it is not.
    const __m256i notYet = _mm256_cmpgt_epi32(_mm256_and_si256(entry, _mm256_set1_epi32(0x1ffff)), position);
    return _mm256_add_epi32(_mm256_add_epi32(_mm256_srli_epi32(entry, 24), _mm256_set1_epi32(1)), notYet);
}

/// Eight opaque pixels of straight (or premultiplied, divided here) linear values; false, and
/// nothing written, unless all eight are opaque.
template <bool straight>
VIMORA_TARGET_AVX2 inline bool encodeOpaqueBlock(const float *r, const float *g, const float *b, const float *a,
                                                 QRgb *out, const FilterContext &context)
{
    const __m256 alpha = _mm256_min_ps(_mm256_max_ps(_mm256_loadu_ps(a), _mm256_setzero_ps()), _mm256_set1_ps(1.0f));
    const __m256 alphaByte =
        _mm256_floor_ps(_mm256_add_ps(_mm256_mul_ps(alpha, _mm256_set1_ps(255.0f)), _mm256_set1_ps(0.5f)));
    if (_mm256_movemask_ps(_mm256_cmp_ps(alphaByte, _mm256_set1_ps(255.0f), _CMP_EQ_OQ)) != 0xff)
        return false;
    const __m256 inv = straight ? _mm256_set1_ps(1.0f) : _mm256_div_ps(_mm256_set1_ps(1.0f), alpha);
    const uint32_t *cells = context.opaqueCells();
    const __m256i cr = encodeOpaque8(_mm256_mul_ps(_mm256_loadu_ps(r), inv), cells);
    const __m256i cg = encodeOpaque8(_mm256_mul_ps(_mm256_loadu_ps(g), inv), cells);
    const __m256i cb = encodeOpaque8(_mm256_mul_ps(_mm256_loadu_ps(b), inv), cells);
    const __m256i word = _mm256_or_si256(_mm256_or_si256(_mm256_set1_epi32(int(0xff000000u)), _mm256_slli_epi32(cr, 16)),
                                         _mm256_or_si256(_mm256_slli_epi32(cg, 8), cb));
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(out), word);
    return true;
}

/// Eight pixels of straight (or premultiplied, divided here) sRGB-encoded values.
template <bool straight>
VIMORA_TARGET_AVX2 inline void encodeEncodedBlock(const float *r, const float *g, const float *b, const float *a,
                                                  QRgb *out)
{
    const __m256 zero = _mm256_setzero_ps(), one = _mm256_set1_ps(1.0f), half = _mm256_set1_ps(0.5f);
    const __m256 alpha = _mm256_min_ps(_mm256_max_ps(_mm256_loadu_ps(a), zero), one);
    const __m256 a255 = _mm256_mul_ps(alpha, _mm256_set1_ps(255.0f));
    const __m256 alphaByte = _mm256_floor_ps(_mm256_add_ps(a255, half));
    const __m256 inv = straight ? one : _mm256_div_ps(one, alpha);
    auto channel = [&](const float *v) VIMORA_TARGET_AVX2 {
        const __m256 e = _mm256_min_ps(_mm256_max_ps(_mm256_mul_ps(_mm256_loadu_ps(v), inv), zero), one);
        return _mm256_cvttps_epi32(_mm256_min_ps(_mm256_floor_ps(_mm256_add_ps(_mm256_mul_ps(e, a255), half)), alphaByte));
    };
    __m256i word = _mm256_or_si256(_mm256_or_si256(_mm256_slli_epi32(_mm256_cvttps_epi32(alphaByte), 24),
                                                   _mm256_slli_epi32(channel(r), 16)),
                                   _mm256_or_si256(_mm256_slli_epi32(channel(g), 8), channel(b)));
    const __m256i visible = _mm256_castps_si256(_mm256_cmp_ps(alphaByte, zero, _CMP_GT_OQ));
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(out), _mm256_and_si256(word, visible));
}

/// Table values of one colour channel (shift 16 red, 8 green, 0 blue) of eight pixels, the
/// table indexed by (alpha << 8) | colour.
VIMORA_TARGET_AVX2 inline __m256 channel8(const float *table, const QRgb *in, int shift)
{
    return _mm256_castsi256_ps(eachOfEight([&](int k) {
        const uint32_t p = in[k];
        return std::bit_cast<int>(table[((p >> 16) & 0xff00) | ((p >> shift) & 0xff)]);
    }));
}

/// The three colour channels of eight opaque pixels through the table's row for alpha 255:
/// pixels read two at a time, their bytes taken apart in registers, one table load per value.
VIMORA_TARGET_AVX2 inline void opaqueChannels8(const float *row, const QRgb *in, float *r, float *g, float *b)
{
    uint64_t pairs[4];
    std::memcpy(pairs, in, sizeof pairs);
    auto channel = [&](int shift) VIMORA_TARGET_AVX2 {
        return _mm256_castsi256_ps(eachOfEight([&](int k) {
            return std::bit_cast<int>(row[(pairs[k / 2] >> (shift + 32 * (k % 2))) & 0xff]);
        }));
    };
    _mm256_storeu_ps(r, channel(16));
    _mm256_storeu_ps(g, channel(8));
    _mm256_storeu_ps(b, channel(0));
}

/// Decodes eight pixels; opaque ones (the bulk of photos) read one 1 KB row of the table.
VIMORA_TARGET_AVX2 inline void decode8(const QRgb *in, const float *table, float *r, float *g, float *b, float *a)
{
    const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(in));
    const __m256i alpha = _mm256_srli_epi32(p, 24);
    if (_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(alpha, _mm256_set1_epi32(255)))) == 0xff) {
        opaqueChannels8(table + FilterContext::pixelIndex(255, 0), in, r, g, b);
    } else {
        _mm256_storeu_ps(r, channel8(table, in, 16));
        _mm256_storeu_ps(g, channel8(table, in, 8));
        _mm256_storeu_ps(b, channel8(table, in, 0));
    }
    _mm256_storeu_ps(a, _mm256_mul_ps(_mm256_cvtepi32_ps(alpha), _mm256_set1_ps(kInv255)));
}
#endif

inline const float *readTable(Space space, bool premultiplied)
{
    const FilterContext &context = ZELGetCIContext();
    if (space == Space::Encoded)
        return context.encodedStraight();
    return premultiplied ? context.linearPremultiplied() : context.linearStraight();
}

} // namespace

RowBuffer::RowBuffer(int count)
    : m_data(size_t(std::max(count, 0)) * 4)
{
    const size_t n = size_t(std::max(count, 0));
    row.r = m_data.data();
    row.g = row.r + n;
    row.b = row.g + n;
    row.a = row.b + n;
    row.count = count;
}

QImage makeRegionRaster(Region region)
{
    if (region.isEmpty() || region.width > kMaxSide || region.height > kMaxSide)
        return {};
    QImage out(region.width, region.height, QImage::Format_ARGB32_Premultiplied);
    return out.isNull() ? QImage() : out;
}

namespace {

/// Pixels [first, last) of a row through a table indexed by (alpha << 8) | colour.
[[gnu::always_inline]] inline void decodeSpan(const QRgb *in, const float *table, int first, int last, float *__restrict r,
                       float *__restrict g, float *__restrict b, float *__restrict a)
{
    for (int i = first; i < last; ++i) {
        const uint32_t p = in[i];
        const uint32_t base = (p >> 16) & 0xff00;
        r[i] = table[base | ((p >> 16) & 0xff)];
        g[i] = table[base | ((p >> 8) & 0xff)];
        b[i] = table[base | (p & 0xff)];
        a[i] = float(p >> 24) * kInv255;
    }
}

#ifdef VIMORA_HAS_AVX2_FORMS
[[gnu::noinline]] VIMORA_TARGET_AVX2 void decodeSpanAvx2(const QRgb *in, const float *table, int first, int last,
                                                        float *r, float *g, float *b, float *a)
{
    int i = first;
    for (; i + 8 <= last; i += 8)
        decode8(in + i, table, r + i, g + i, b + i, a + i);
    decodeSpan(in, table, i, last, r, g, b, a);
}
#endif

} // namespace

void decodeRow(const QImage &src, int srcRow, int srcX, Space space, bool premultiplied, PixelRow &row)
{
    const int n = row.count;
    const int first = std::clamp(-srcX, 0, n);
    const int last = std::clamp(src.width() - srcX, first, n);
    const bool inside = srcRow >= 0 && srcRow < src.height() && last > first;
    if (!inside) {
        std::fill_n(row.r, n, 0.0f);
        std::fill_n(row.g, n, 0.0f);
        std::fill_n(row.b, n, 0.0f);
        std::fill_n(row.a, n, 0.0f);
        return;
    }
    for (float *plane : {row.r, row.g, row.b, row.a}) {
        std::fill(plane, plane + first, 0.0f);
        std::fill(plane + last, plane + n, 0.0f);
    }
    const float *table = readTable(space, premultiplied);
    const QRgb *in = reinterpret_cast<const QRgb *>(src.constScanLine(srcRow)) + srcX;
    float *__restrict r = row.r;
    float *__restrict g = row.g;
    float *__restrict b = row.b;
    float *__restrict a = row.a;
#ifdef VIMORA_HAS_AVX2_FORMS
    if (simd::useAvx2())
        decodeSpanAvx2(in, table, first, last, r, g, b, a);
    else
#endif
        decodeSpan(in, table, first, last, r, g, b, a);
    if (space == Space::Encoded && premultiplied)
        for (int i = first; i < last; ++i) {
            r[i] *= a[i];
            g[i] *= a[i];
            b[i] *= a[i];
        }
}

namespace {

/// One pixel of straight or premultiplied values: opaque pixels (the bulk of photos) take the
/// exact byte table, the others the general formula.
template <bool straight, bool linear>
[[gnu::always_inline]] inline QRgb encodeOne(const FilterContext &context, float r, float g, float b, float alpha)
{
    const float a = FilterContext::unitClamped(alpha);
    const float a255 = a * 255.0f;
    const float alphaByte = std::floor(a255 + 0.5f);
    if (alphaByte <= 0.0f)
        return 0;
    const float inv = straight ? 1.0f : 1.0f / a;
    if (linear && alphaByte == 255.0f)
        return 0xff000000u | context.encodeOpaque(r * inv) << 16 | context.encodeOpaque(g * inv) << 8
            | context.encodeOpaque(b * inv);
    auto channel = [&](float v) {
        const float u = v * inv;
        const float e = linear ? context.encodeFast(u) : FilterContext::unitClamped(u);
        return uint32_t(std::min(std::floor(e * a255 + 0.5f), alphaByte));
    };
    return uint32_t(alphaByte) << 24 | channel(r) << 16 | channel(g) << 8 | channel(b);
}

#ifdef VIMORA_HAS_AVX2_FORMS
/// encodeRow in eight-pixel blocks, the whole loop in one AVX2 function. What it calls is
/// inlined: baseline code entered with the vectors' upper halves in use runs slower, and so
/// does every SSE loop after it until they are cleared.
template <bool straight, bool linear>
[[gnu::noinline]] VIMORA_TARGET_AVX2 void encodeRowAvx2(const FilterContext &context, const PixelRow &row, QRgb *out)
{
    int i = 0;
    for (; i + 8 <= row.count; i += 8) {
        if constexpr (linear) {
            if (!encodeOpaqueBlock<straight>(row.r + i, row.g + i, row.b + i, row.a + i, out + i, context))
                for (int k = i; k < i + 8; ++k)
                    out[k] = encodeOne<straight, linear>(context, row.r[k], row.g[k], row.b[k], row.a[k]);
        } else {
            encodeEncodedBlock<straight>(row.r + i, row.g + i, row.b + i, row.a + i, out + i);
        }
    }
    for (; i < row.count; ++i)
        out[i] = encodeOne<straight, linear>(context, row.r[i], row.g[i], row.b[i], row.a[i]);
}
#endif

template <bool straight, bool linear>
void encodeRow(const PixelRow &row, QRgb *out)
{
    const FilterContext &context = ZELGetCIContext();
#ifdef VIMORA_HAS_AVX2_FORMS
    if (simd::useAvx2())
        return encodeRowAvx2<straight, linear>(context, row, out);
#endif
    for (int i = 0; i < row.count; ++i)
        out[i] = encodeOne<straight, linear>(context, row.r[i], row.g[i], row.b[i], row.a[i]);
}

} // namespace

void encodeStraightRow(const PixelRow &row, Space space, QRgb *out)
{
    if (space == Space::Linear)
        encodeRow<true, true>(row, out);
    else
        encodeRow<true, false>(row, out);
}

void encodePremultipliedRow(const PixelRow &row, Space space, QRgb *out)
{
    if (space == Space::Linear)
        encodeRow<false, true>(row, out);
    else
        encodeRow<false, false>(row, out);
}

// --- warp ---------------------------------------------------------------------------------

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

// --- neighbourhood ------------------------------------------------------------------------

Window::Window(int count, int radius)
    : m_count(count)
    , m_radius(radius)
    , m_stride(count + 2 * radius)
    , m_rows(size_t(2 * radius + 1), std::vector<float>(size_t(count + 2 * radius) * kPlanes))
{
}

namespace {

/// Rec. 709 luminance of the straight colour of premultiplied pixels; 0 where transparent.
VIMORA_VECTOR_LOOP(void, straightLuminanceRow,
                   (const float *__restrict r, const float *__restrict g, const float *__restrict b,
                    const float *__restrict a, float *__restrict luminance, int n),
                   (r, g, b, a, luminance, n))
{
    for (int x = 0; x < n; ++x)
        luminance[x] = a[x] > 0.0f ? (0.2125f * r[x] + 0.7154f * g[x] + 0.0721f * b[x]) / a[x] : 0.0f;
}

void loadWindowRow(const QImage &src, int srcRow, int radius, std::vector<float> &planes)
{
    const int w = src.width();
    const size_t stride = size_t(w + 2 * radius);
    PixelRow row;
    row.r = planes.data() + radius;
    row.g = row.r + stride;
    row.b = row.g + stride;
    row.a = row.b + stride;
    row.count = w;
    decodeRow(src, std::clamp(srcRow, 0, src.height() - 1), 0, Space::Linear, true, row);
    float *luminance = row.a + stride;
    straightLuminanceRow(row.r, row.g, row.b, row.a, luminance, w);
    for (float *plane : {row.r, row.g, row.b, row.a, luminance})
        for (int k = 1; k <= radius; ++k) {
            plane[-k] = plane[0];
            plane[w - 1 + k] = plane[w - 1];
        }
}

} // namespace

void loadWindow(const QImage &src, int row, Window &window)
{
    const int radius = window.m_radius;
    if (row == window.m_loadedRow + 1) {
        std::rotate(window.m_rows.begin(), window.m_rows.begin() + 1, window.m_rows.end());
        loadWindowRow(src, row + radius, radius, window.m_rows.back());
    } else {
        for (int dy = -radius; dy <= radius; ++dy)
            loadWindowRow(src, row + dy, radius, window.m_rows[size_t(dy + radius)]);
    }
    window.m_loadedRow = row;
}

// --- separable blur -----------------------------------------------------------------------

int blurReach(double sigma)
{
    return sigma > 0 ? int(std::ceil(3.0 * sigma)) : 0;
}

namespace {

constexpr double kMaxFirSigma = 3.0;
/// Rows the box passes blur at once (their halo is decoded once per band).
constexpr int kBoxBand = 128;
/// Rows the exact taps blur down at once: they share all but one of their input rows.
constexpr int kRowsDownAtOnce = 8;

/// Radii of three boxes whose combined variance matches sigma.
std::vector<int> boxRadii(double sigma)
{
    const int n = 3;
    const double ideal = std::sqrt(12.0 * sigma * sigma / n + 1.0);
    int lower = int(std::floor(ideal));
    if (lower % 2 == 0)
        --lower;
    const int upper = lower + 2;
    const double m = (12.0 * sigma * sigma - n * lower * lower - 4.0 * n * lower - 3.0 * n) / (-4.0 * lower - 4.0);
    const int smaller = int(std::lround(m));
    std::vector<int> radii;
    for (int i = 0; i < n; ++i)
        radii.push_back(((i < smaller ? lower : upper) - 1) / 2);
    return radii;
}

using Float8 = float __attribute__((vector_size(32)));

// Float8 values are only ever passed between inlined helpers, so the baseline form's ABI for
// 32-byte vectors never matters.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"
[[gnu::always_inline]] inline Float8 load8(const float *p)
{
    Float8 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

/// One symmetric FIR over columns [from, to): out[x] = taps[0] centre[x] + sum over t of
/// taps[t] (lo(t)[x] + hi(t)[x]), summed in that order for every pixel whatever the blocking.
/// Blocks of eight outputs stay in registers through all taps (several independent sums hide
/// the adds' latency), so each input is loaded once per tap and each output stored once.
template <int Blocks, typename Lo, typename Hi>
[[gnu::always_inline]] inline int symmetricFirBlocks(const float *centre, Lo &&lo, Hi &&hi, float *out, int from,
                                                     int to, const float *taps, int reach)
{
    constexpr int kStep = 8 * Blocks;
    int x = from;
    for (; x + kStep <= to; x += kStep) {
        Float8 s[Blocks];
        for (int b = 0; b < Blocks; ++b)
            s[b] = taps[0] * load8(centre + x + 8 * b);
        for (int t = 1; t <= reach; ++t) {
            const float w = taps[t];
            const float *l = lo(t) + x, *h = hi(t) + x;
            for (int b = 0; b < Blocks; ++b)
                s[b] += w * (load8(l + 8 * b) + load8(h + 8 * b));
        }
        for (int b = 0; b < Blocks; ++b)
            std::memcpy(out + x + 8 * b, &s[b], sizeof s[b]);
    }
    return x;
}

template <int Blocks, typename Lo, typename Hi>
[[gnu::always_inline]] inline void symmetricFir(const float *centre, Lo &&lo, Hi &&hi, float *out, int from, int to,
                                                const float *taps, int reach)
{
    int x = symmetricFirBlocks<Blocks>(centre, lo, hi, out, from, to, taps, reach);
    x = symmetricFirBlocks<1>(centre, lo, hi, out, x, to, taps, reach);
    for (; x < to; ++x) {
        float v = taps[0] * centre[x];
        for (int t = 1; t <= reach; ++t)
            v += taps[t] * (lo(t)[x] + hi(t)[x]);
        out[x] = v;
    }
}

/// Columns [from, to) of `count` output rows blurred down: output row k has rows[k + reach] as
/// its centre and rows[k + reach -+ t] t above and below it. A block of columns is finished
/// for all the output rows before the next, so the rows they share are read from the nearest
/// cache level.
template <int Blocks>
[[gnu::always_inline]] inline void symmetricFirDown(const float *const *rows, float *const *out, int count, int from,
                                                    int to, const float *taps, int reach)
{
    constexpr int kBlock = 256;
    for (int x = from; x < to; x += kBlock)
        for (int k = 0; k < count; ++k) {
            const float *const *window = rows + k;
            symmetricFir<Blocks>(
                window[reach], [&](int t) { return window[reach - t]; }, [&](int t) { return window[reach + t]; },
                out[k], x, std::min(to, x + kBlock), taps, reach);
        }
}

/// In points at the column facing out[0]; reach columns exist on both sides.
template <int Blocks>
[[gnu::always_inline]] inline void symmetricFirAcross(const float *in, float *out, int width, const float *taps,
                                                      int reach)
{
    symmetricFir<Blocks>(
        in, [&](int t) { return in - t; }, [&](int t) { return in + t; }, out, 0, width, taps, reach);
}

// Eight blocks where AVX2 gives sixteen registers of eight floats, four in the baseline form
// (its registers hold four floats): the same sums either way.
#ifdef VIMORA_HAS_AVX2_FORMS
[[gnu::noinline]] VIMORA_TARGET_AVX2 void firVerticalAvx2(const float *const *rows, float *const *out, int count,
                                                          int from, int to, const float *taps, int reach)
{
    symmetricFirDown<8>(rows, out, count, from, to, taps, reach);
}

[[gnu::noinline]] VIMORA_TARGET_AVX2 void firHorizontalAvx2(const float *in, float *out, int width,
                                                            const float *taps, int reach)
{
    symmetricFirAcross<8>(in, out, width, taps, reach);
}
#endif

[[gnu::noinline]] void firVerticalBaseline(const float *const *rows, float *const *out, int count, int from, int to,
                                           const float *taps, int reach)
{
    symmetricFirDown<4>(rows, out, count, from, to, taps, reach);
}

[[gnu::noinline]] void firHorizontalBaseline(const float *in, float *out, int width, const float *taps, int reach)
{
    symmetricFirAcross<4>(in, out, width, taps, reach);
}

void firVertical(const float *const *rows, float *const *out, int count, int from, int to, const float *taps,
                 int reach)
{
#ifdef VIMORA_HAS_AVX2_FORMS
    if (simd::useAvx2())
        return firVerticalAvx2(rows, out, count, from, to, taps, reach);
#endif
    firVerticalBaseline(rows, out, count, from, to, taps, reach);
}

void firHorizontal(const float *in, float *out, int width, const float *taps, int reach)
{
#ifdef VIMORA_HAS_AVX2_FORMS
    if (simd::useAvx2())
        return firHorizontalAvx2(in, out, width, taps, reach);
#endif
    firHorizontalBaseline(in, out, width, taps, reach);
}
#pragma GCC diagnostic pop

VIMORA_VECTOR_LOOP(void, boxVertical,
                   (const float *in, float *out, int width, int outRows, size_t stride, int radius, float *acc),
                   (in, out, width, outRows, stride, radius, acc))
{
    // out row k averages in rows k .. k + 2 radius.
    const float scale = 1.0f / float(2 * radius + 1);
    std::fill_n(acc, width, 0.0f);
    for (int t = 0; t <= 2 * radius; ++t) {
        const float *row = in + size_t(t) * stride;
        for (int x = 0; x < width; ++x)
            acc[x] += row[x];
    }
    for (int k = 0; k < outRows; ++k) {
        float *o = out + size_t(k) * stride;
        if (k > 0) {
            const float *enter = in + size_t(k + 2 * radius) * stride;
            const float *leave = in + size_t(k - 1) * stride;
            for (int x = 0; x < width; ++x)
                acc[x] += enter[x] - leave[x];
        }
        for (int x = 0; x < width; ++x)
            o[x] = acc[x] * scale;
    }
}

void boxHorizontal(const float *in, float *out, int outCount, int radius)
{
    // out[x] averages in[x .. x + 2 radius].
    const float scale = 1.0f / float(2 * radius + 1);
    float acc = 0;
    for (int t = 0; t <= 2 * radius; ++t)
        acc += in[t];
    out[0] = acc * scale;
    for (int x = 1; x < outCount; ++x) {
        acc += in[x + 2 * radius] - in[x - 1];
        out[x] = acc * scale;
    }
}

} // namespace

namespace {

VIMORA_VECTOR_LOOP(bool, allOpaque, (const float *alpha, int count), (alpha, count))
{
    int opaque = 0; // a count, where a chain of ands would not vectorise
    for (int i = 0; i < count; ++i)
        opaque += alpha[i] == 1.0f ? 1 : 0;
    return opaque == count;
}

} // namespace

/// The first run of alpha exactly 1 in a row (a photo's whole width, its frame aside).
BlurBand::OpaqueSpan BlurBand::opaqueRun(const float *alpha, int count)
{
    int first = 0;
    while (first < count && alpha[first] != 1.0f)
        ++first;
    int end = first;
    constexpr int kBlock = 64;
    while (end + kBlock <= count && allOpaque(alpha + end, kBlock))
        end += kBlock;
    while (end < count && alpha[end] == 1.0f)
        ++end;
    return {first, end};
}

std::vector<float> blurTaps(double sigma)
{
    if (sigma > kMaxFirSigma)
        return {};
    const int reach = blurReach(sigma);
    std::vector<double> weights(size_t(reach) + 1);
    double sum = 0;
    for (int t = 0; t <= reach; ++t) {
        const double w = sigma > 0 ? std::exp(-t * t / (2.0 * sigma * sigma)) : 1.0;
        weights[size_t(t)] = double(float(w));
        sum += t == 0 ? w : 2 * w;
    }
    std::vector<float> taps;
    for (double w : weights)
        taps.push_back(float(w / sum));
    return taps;
}

BlurBand::BlurBand(const QImage &src, Region region, double sigma)
    : m_src(src)
    , m_region(region)
{
    if (sigma <= kMaxFirSigma) {
        m_reach = blurReach(sigma);
        m_taps = blurTaps(sigma);
        // The sums the passes make of opaque alpha, in their order.
        auto blurOfConstant = [&](float v) {
            float s = m_taps[0] * v;
            for (int t = 1; t <= m_reach; ++t)
                s += m_taps[size_t(t)] * (v + v);
            return s;
        };
        m_opaqueDown = blurOfConstant(1.0f);
        m_opaqueAcross = blurOfConstant(m_opaqueDown);
    } else {
        m_boxes = boxRadii(sigma);
        for (int r : m_boxes)
            m_reach += r;
    }
    m_inWidth = region.width + 2 * m_reach;
}

void BlurBand::decodeInto(float *planes, int row)
{
    // Planes of a decoded row lie back to back, so the vertical pass runs over all four at once.
    PixelRow pixels;
    pixels.r = planes;
    pixels.g = pixels.r + m_inWidth;
    pixels.b = pixels.g + m_inWidth;
    pixels.a = pixels.b + m_inWidth;
    pixels.count = m_inWidth;
    decodeRow(m_src, row + m_src.height() - m_region.y - m_region.height, m_region.x - m_reach, Space::Linear, true,
              pixels);
}

int BlurBand::ringIndex(int row) const
{
    // Region row `row` of the run; rows first - reach .. end + reach pass through the ring.
    return (row - m_first + m_reach) % (2 * m_reach + kRowsDownAtOnce);
}

float *BlurBand::ringSlot(int row)
{
    return m_in.data() + size_t(ringIndex(row)) * size_t(m_inWidth) * 4;
}

void BlurBand::start(int first, int end)
{
    m_first = first;
    m_end = end;
    m_next = first;
    m_bandFirst = first;
    m_bandRows = 0;
    if (!m_boxes.empty())
        return;
    m_in.resize(size_t(2 * m_reach + kRowsDownAtOnce) * size_t(m_inWidth) * 4);
    m_mid.resize(size_t(kRowsDownAtOnce) * size_t(m_inWidth) * 4);
    m_out.resize(size_t(m_region.width) * 4);
    m_window.resize(size_t(2 * m_reach + kRowsDownAtOnce));
    m_opaque.assign(size_t(2 * m_reach + kRowsDownAtOnce), {});
    for (int row = first - m_reach; row < first + m_reach; ++row)
        decodeIntoRing(row);
}

void BlurBand::decodeIntoRing(int row)
{
    float *planes = ringSlot(row);
    decodeInto(planes, row);
    m_opaque[size_t(ringIndex(row))] = opaqueRun(planes + size_t(3) * size_t(m_inWidth), m_inWidth);
}

void BlurBand::blurDown(int first, int rows)
{
    // Each output row decodes one more input row into the ring.
    m_bandFirst = first;
    m_bandRows = rows;
    for (int row = first + m_reach; row < first + rows + m_reach; ++row)
        decodeIntoRing(row);
    OpaqueSpan opaque{0, m_inWidth};
    for (int k = 0; k < rows + 2 * m_reach; ++k) {
        m_window[size_t(k)] = ringSlot(first - m_reach + k);
        const OpaqueSpan &span = m_opaque[size_t(ringIndex(first - m_reach + k))];
        opaque = {std::max(opaque.first, span.first), std::min(opaque.end, span.end)};
    }
    if (opaque.end <= opaque.first)
        opaque = {};
    m_downOpaque = opaque;
    float *out[kRowsDownAtOnce];
    for (int k = 0; k < rows; ++k)
        out[k] = m_mid.data() + size_t(k) * size_t(m_inWidth) * 4;
    // Colour planes and the alpha plane up to the opaque span in one pass, then the rest; the
    // span itself is the known value.
    const int alpha = 3 * m_inWidth;
    firVertical(m_window.data(), out, rows, 0, alpha + opaque.first, m_taps.data(), m_reach);
    firVertical(m_window.data(), out, rows, alpha + opaque.end, 4 * m_inWidth, m_taps.data(), m_reach);
    for (int k = 0; k < rows; ++k)
        std::fill(out[k] + alpha + opaque.first, out[k] + alpha + opaque.end, m_opaqueDown);
}

PixelRow BlurBand::next()
{
    const int j = m_next++;
    PixelRow row;
    row.count = m_region.width;
    const bool inBand = j >= m_bandFirst && j < m_bandFirst + m_bandRows;
    if (!m_boxes.empty()) {
        if (!inBand)
            computeBoxes(j, std::min(m_end, j + kBoxBand));
        const size_t outPlane = size_t(m_bandRows) * size_t(m_region.width);
        row.r = m_out.data() + size_t(j - m_bandFirst) * size_t(m_region.width);
        row.g = row.r + outPlane;
        row.b = row.g + outPlane;
        row.a = row.b + outPlane;
        return row;
    }
    if (!inBand)
        blurDown(j, std::min(m_end - j, kRowsDownAtOnce));
    const float *mid = m_mid.data() + size_t(j - m_bandFirst) * size_t(m_inWidth) * 4;
    for (int c = 0; c < 3; ++c)
        firHorizontal(mid + size_t(c) * size_t(m_inWidth) + size_t(m_reach),
                      m_out.data() + size_t(c) * size_t(m_region.width), m_region.width, m_taps.data(), m_reach);
    // Output x reads down-blurred columns x .. x + 2 reach: known where they all are.
    const int width = m_region.width;
    const int knownFirst = std::clamp(m_downOpaque.first, 0, width);
    const int knownEnd = std::clamp(m_downOpaque.end - 2 * m_reach, knownFirst, width);
    const float *midAlpha = mid + size_t(3) * size_t(m_inWidth) + size_t(m_reach);
    float *alpha = m_out.data() + size_t(3) * size_t(width);
    firHorizontal(midAlpha, alpha, knownFirst, m_taps.data(), m_reach);
    std::fill(alpha + knownFirst, alpha + knownEnd, m_opaqueAcross);
    firHorizontal(midAlpha + knownEnd, alpha + knownEnd, width - knownEnd, m_taps.data(), m_reach);
    row.r = m_out.data();
    row.g = row.r + m_region.width;
    row.b = row.g + m_region.width;
    row.a = row.b + m_region.width;
    return row;
}

PixelRow BlurBand::input()
{
    // Only exact taps keep the input. Its row is still in the ring, which later rows read, so
    // the caller gets a copy to write on.
    const float *planes = ringSlot(m_next - 1) + m_reach;
    const size_t width = size_t(m_region.width);
    m_input.resize(width * 4);
    for (size_t c = 0; c < 4; ++c)
        std::memcpy(m_input.data() + c * width, planes + c * size_t(m_inWidth), width * sizeof(float));
    PixelRow row;
    row.r = m_input.data();
    row.g = row.r + width;
    row.b = row.g + width;
    row.a = row.b + width;
    row.count = m_region.width;
    return row;
}

void BlurBand::computeBoxes(int first, int end)
{
    const int rows = end - first;
    m_bandFirst = first;
    m_bandRows = rows;
    m_inRows = rows + 2 * m_reach;
    const size_t inPlane = size_t(m_inRows) * size_t(m_inWidth);
    m_in.resize(inPlane * 4);
    m_out.resize(size_t(rows) * size_t(m_region.width) * 4);
    // The band with its halo: region rows first - reach .. end + reach, plane by plane.
    const int rowOffset = m_src.height() - m_region.y - m_region.height;
    for (int k = 0; k < m_inRows; ++k) {
        PixelRow row;
        row.r = m_in.data() + size_t(k) * size_t(m_inWidth);
        row.g = row.r + inPlane;
        row.b = row.g + inPlane;
        row.a = row.b + inPlane;
        row.count = m_inWidth;
        decodeRow(m_src, first - m_reach + k + rowOffset, m_region.x - m_reach, Space::Linear, true, row);
    }
    verticalBoxes();
    horizontalBoxes(rows);
}

void BlurBand::verticalBoxes()
{
    // Three passes in place over m_in: each pass shortens the valid rows by 2 radius; the
    // result occupies the first band rows of every plane.
    const size_t inPlane = size_t(m_inRows) * size_t(m_inWidth);
    m_mid.resize(inPlane + size_t(m_inWidth));
    float *acc = m_mid.data() + inPlane;
    for (int c = 0; c < 4; ++c) {
        float *plane = m_in.data() + c * inPlane;
        int valid = m_inRows;
        for (int radius : m_boxes) {
            const int outRows = valid - 2 * radius;
            boxVertical(plane, m_mid.data(), m_inWidth, outRows, size_t(m_inWidth), radius, acc);
            std::memcpy(plane, m_mid.data(), size_t(outRows) * size_t(m_inWidth) * sizeof(float));
            valid = outRows;
        }
    }
}

void BlurBand::horizontalBoxes(int rows)
{
    const size_t inPlane = size_t(m_inRows) * size_t(m_inWidth);
    const size_t outPlane = size_t(rows) * size_t(m_region.width);
    std::vector<float> a(static_cast<size_t>(m_inWidth)), b(static_cast<size_t>(m_inWidth));
    for (int c = 0; c < 4; ++c)
        for (int k = 0; k < rows; ++k) {
            const float *in = m_in.data() + c * inPlane + size_t(k) * size_t(m_inWidth);
            std::copy(in, in + m_inWidth, a.begin());
            int valid = m_inWidth;
            for (int radius : m_boxes) {
                boxHorizontal(a.data(), b.data(), valid - 2 * radius, radius);
                valid -= 2 * radius;
                std::swap(a, b);
            }
            std::copy(a.begin(), a.begin() + m_region.width,
                      m_out.begin() + std::ptrdiff_t(c * outPlane + size_t(k) * size_t(m_region.width)));
        }
}

} // namespace vimora::kernels
