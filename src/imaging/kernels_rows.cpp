#include "imaging/kernels.h"

// Row decoding and encoding between the raster bytes and the float working space.

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "imaging/simd.h"

#ifdef VIMORA_HAS_AVX2_FORMS
#include <immintrin.h>
#endif

namespace vimora::kernels {

namespace {

constexpr float kInv255 = 1.0f / 255.0f;
/// A 16-bit sample's working value, as the warps and the blur read it.
constexpr float kSample16 = 1.0f / 65535.0f;

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

namespace {

/// The colour byte the float encoder writes for an opaque 16-bit value v (alpha 65535), for
/// every v: built through that encoder, so the bytes are its by construction.
const uint8_t *opaqueBytes16()
{
    static const std::unique_ptr<uint8_t[]> table = [] {
        std::unique_ptr<uint8_t[]> bytes(new uint8_t[65536]);
        constexpr int kRun = 256;
        alignas(32) float planes[4][kRun];
        QRgb words[kRun];
        PixelRow values{planes[0], planes[1], planes[2], planes[3], kRun, 0, 0};
        for (int first = 0; first < 65536; first += kRun) {
            for (int i = 0; i < kRun; ++i) {
                planes[0][i] = planes[1][i] = planes[2][i] = float(first + i) * kSample16;
                planes[3][i] = float(65535) * kSample16;
            }
            encodePremultipliedRow(values, Space::Linear, words);
            for (int i = 0; i < kRun; ++i)
                bytes[size_t(first + i)] = uint8_t(qRed(words[i]));
        }
        return bytes;
    }();
    return table.get();
}

/// How many of a run's alpha values fall short of 65535 (a plain reduction that vectorises).
VIMORA_VECTOR_LOOP(int, translucentCount, (const uint16_t *a, int count), (a, count))
{
    int short_ = 0;
    for (int i = 0; i < count; ++i)
        short_ += a[i] != 65535;
    return short_;
}

} // namespace

void encodePremultipliedRow16(const PixelRow16 &row, QRgb *out)
{
    // Opaque pixels (most of a photo) read their bytes from a table; the others are gathered
    // and go through the float encoder in short runs that stay in the first-level cache. Either
    // way the bytes are the float encoder's for value / 65535.
    constexpr int kRun = 256;
    alignas(32) float planes[4][kRun];
    int at[kRun];
    QRgb words[kRun];
    PixelRow values{planes[0], planes[1], planes[2], planes[3], 0, 0, 0};
    const uint8_t *opaque = opaqueBytes16();
    auto fromTable = [opaque](uint16_t r, uint16_t g, uint16_t b) {
        return 0xff000000u | uint32_t(opaque[r]) << 16 | uint32_t(opaque[g]) << 8 | opaque[b];
    };
    for (int first = 0; first < row.count; first += kRun) {
        const int count = std::min(kRun, row.count - first);
        const uint16_t *r = row.r + first, *g = row.g + first, *b = row.b + first, *a = row.a + first;
        QRgb *run = out + first;
        if (translucentCount(a, count) == 0) {
            for (int i = 0; i < count; ++i)
                run[i] = fromTable(r[i], g[i], b[i]);
            continue;
        }
        int others = 0;
        for (int i = 0; i < count; ++i) {
            if (a[i] == 65535) {
                run[i] = fromTable(r[i], g[i], b[i]);
                continue;
            }
            planes[0][others] = float(int(r[i])) * kSample16;
            planes[1][others] = float(int(g[i])) * kSample16;
            planes[2][others] = float(int(b[i])) * kSample16;
            planes[3][others] = float(int(a[i])) * kSample16;
            at[others++] = i;
        }
        values.count = others;
        encodePremultipliedRow(values, Space::Linear, words);
        for (int k = 0; k < others; ++k)
            run[at[k]] = words[k];
    }
}

namespace {

/// Pixels [first, last) of a row to biased 16-bit planes, one at a time.
inline void decodeBiasedSpan(const QRgb *in, const uint16_t *table, int first, int last, int16_t *r, int16_t *g,
                             int16_t *b, int16_t *a)
{
    for (int i = first; i < last; ++i) {
        const uint32_t p = in[i];
        const uint32_t alpha = p >> 24;
        const uint16_t *t = table + (alpha << 8);
        r[i] = int16_t(t[(p >> 16) & 0xff] - kBiasedSample);
        g[i] = int16_t(t[(p >> 8) & 0xff] - kBiasedSample);
        b[i] = int16_t(t[p & 0xff] - kBiasedSample);
        a[i] = int16_t(int(alpha * 257) - kBiasedSample);
    }
}

/// The biased values of opaque colour bytes, as 32-bit words for eachOfEight.
const int32_t *opaqueBiased()
{
    static const std::array<int32_t, 256> row = [] {
        std::array<int32_t, 256> values{};
        const uint16_t *table = ZELGetCIContext().linearPremultiplied16() + FilterContext::pixelIndex(255, 0);
        for (int c = 0; c < 256; ++c)
            values[size_t(c)] = int32_t(table[c]) - kBiasedSample;
        return values;
    }();
    return row.data();
}

#ifdef VIMORA_HAS_AVX2_FORMS
/// Eight opaque pixels at a time (most of a photo): pixels read two per load, one table load
/// per value, eight values stored at once.
[[gnu::noinline]] VIMORA_TARGET_AVX2 void decodeBiasedSpanAvx2(const QRgb *in, const uint16_t *table, int first,
                                                               int last, int16_t *r, int16_t *g, int16_t *b,
                                                               int16_t *a)
{
    const int32_t *row = opaqueBiased();
    const __m128i opaqueAlpha = _mm_set1_epi16(int16_t(65535 - kBiasedSample));
    int i = first;
    for (; i + 8 <= last; i += 8) {
        const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(in + i));
        if (_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(_mm256_srli_epi32(p, 24), _mm256_set1_epi32(255))))
            != 0xff) {
            decodeBiasedSpan(in, table, i, i + 8, r, g, b, a);
            continue;
        }
        uint64_t pairs[4];
        std::memcpy(pairs, in + i, sizeof pairs);
        auto channel = [&](int shift, int16_t *out) VIMORA_TARGET_AVX2 {
            const __m256i v = eachOfEight([&](int k) { return row[(pairs[k / 2] >> (shift + 32 * (k % 2))) & 0xff]; });
            const __m128i packed = _mm_packs_epi32(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), packed);
        };
        channel(16, r);
        channel(8, g);
        channel(0, b);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(a + i), opaqueAlpha);
    }
    decodeBiasedSpan(in, table, i, last, r, g, b, a);
}
#endif

} // namespace

void decodeBiasedRow16(const QImage &src, int srcRow, int srcX, int n, int16_t *r, int16_t *g, int16_t *b, int16_t *a)
{
    const int first = std::clamp(-srcX, 0, n);
    const int last = srcRow >= 0 && srcRow < src.height() ? std::clamp(src.width() - srcX, first, n) : first;
    for (int16_t *plane : {r, g, b, a}) {
        std::fill(plane, plane + first, int16_t(-kBiasedSample));
        std::fill(plane + last, plane + n, int16_t(-kBiasedSample));
    }
    if (last <= first)
        return;
    const uint16_t *table = ZELGetCIContext().linearPremultiplied16();
    const QRgb *in = reinterpret_cast<const QRgb *>(src.constScanLine(srcRow)) + srcX;
#ifdef VIMORA_HAS_AVX2_FORMS
    if (simd::useAvx2())
        return decodeBiasedSpanAvx2(in, table, first, last, r, g, b, a);
#endif
    decodeBiasedSpan(in, table, first, last, r, g, b, a);
}

} // namespace vimora::kernels
