#include "imaging/convolution_engine.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "imaging/parallel.h"
#include "imaging/pixel_support.h"
#include "imaging/simd.h"

#ifdef VIMORA_HAS_AVX2_FORMS
#include <immintrin.h>
#endif

// The two-pass engine's 32-byte vectors are only passed between inlined helpers, so the
// baseline form's ABI for them never matters (its templates are emitted at the end of the
// file, which a push and pop around them would not cover).
#pragma GCC diagnostic ignored "-Wpsabi"

namespace vimora::detail {

namespace {

/// Where a rows x cols window fits inside a w x h picture: the interior, half-open.
struct Interior
{
    int top, left; // rows above / columns left of the output pixel in its window
    int firstRow, endRow, firstCol, endCol;
    bool empty() const { return endRow <= firstRow || endCol <= firstCol; }
};

Interior interiorOf(int w, int h, int rows, int cols)
{
    Interior in{};
    in.top = (rows - 1) / 2;
    in.left = (cols - 1) / 2;
    in.firstRow = in.top;
    in.endRow = h - (rows - 1 - in.top);
    in.firstCol = in.left;
    in.endCol = w - (cols - 1 - in.left);
    return in;
}

void writeBorder(QRgb *out, const QRgb *in, int from, int to, BorderRule rule)
{
    if (rule == BorderRule::CopySource)
        std::copy(in + from, in + to, out + from);
    else
        for (int x = from; x < to; ++x)
            out[x] = in[x] & kAlphaMask;
}

void keepAlpha(QRgb *out, const QRgb *in, int from, int to)
{
    for (int x = from; x < to; ++x)
        out[x] = (out[x] & ~kAlphaMask) | (in[x] & kAlphaMask);
}

/// Border columns and the alpha rule, once the interior of a row is written.
void finishRow(QRgb *out, const QRgb *in, int width, const Interior &interior, BorderRule rule, bool filterAlpha)
{
    writeBorder(out, in, 0, interior.firstCol, rule);
    writeBorder(out, in, interior.endCol, width, rule);
    if (!filterAlpha)
        keepAlpha(out, in, interior.firstCol, interior.endCol);
}

// ---- integer engine ----
// Each kernel is a fused loop over the interleaved bytes of a row with its weights known at
// compile time, so the compiler keeps 16 lanes of 16-bit sums per vector. Every sum fits 16
// bits: samples are bytes, weights small, and the bias is first brought into a range that
// gives the same saturated bytes.

// Beyond +-5000 a bias saturates every 3 x 3 result anyway (the sums stay within -2295..4590).
constexpr int kBiasLimit = 5000;

VIMORA_VECTOR_LOOP_TEMPLATE((int A, int B), (A, B), void, across3,
                   (uint16_t *out, const uint8_t *s, int n), (out, s, n))
{
    for (int i = 0; i < n; ++i)
        out[i] = uint16_t(A * (s[i - 4] + s[i + 4]) + B * s[i]);
}

VIMORA_VECTOR_LOOP_TEMPLATE((int A, int B, int C), (A, B, C), void, across5,
                   (uint16_t *out, const uint8_t *s, int n), (out, s, n))
{
    for (int i = 0; i < n; ++i)
        out[i] = uint16_t(A * (s[i - 8] + s[i + 8]) + B * (s[i - 4] + s[i + 4]) + C * s[i]);
}

/// Vertical 3-tap pass of the across sums, then (CW x centre + Sign x sum + bias) / Div.
VIMORA_VECTOR_LOOP_TEMPLATE((int A, int B, int CW, int Sign, int Div), (A, B, CW, Sign, Div), void, down3,
                   (uint8_t *out, const uint16_t *r0, const uint16_t *r1, const uint16_t *r2,
                    const uint8_t *centre, int16_t bias, int n), (out, r0, r1, r2, centre, bias, n))
{
    for (int i = 0; i < n; ++i) {
        const int16_t sum = int16_t(A * (r0[i] + r2[i]) + B * r1[i]);
        const int16_t v = int16_t(CW * centre[i] + Sign * sum + bias);
        out[i] = uint8_t(std::min(uint16_t(std::max(v, int16_t(0))) / Div, 255));
    }
}

/// Vertical 5-tap pass, then (sum + bias) / 256 with bias = 256 x q + r, 0 <= r < 256, so
/// that sum + r still fits 16 bits unsigned.
VIMORA_VECTOR_LOOP_TEMPLATE((int A, int B, int C), (A, B, C), void, down5,
                   (uint8_t *out, const uint16_t *const *r, int16_t biasQ, uint16_t biasR, int n),
                   (out, r, biasQ, biasR, n))
{
    const uint16_t *r0 = r[0], *r1 = r[1], *r2 = r[2], *r3 = r[3], *r4 = r[4];
    for (int i = 0; i < n; ++i) {
        const uint16_t sum = uint16_t(A * (r0[i] + r4[i]) + B * (r1[i] + r3[i]) + C * r2[i]);
        const int16_t v = int16_t(uint16_t(sum + biasR) >> 8) + biasQ;
        out[i] = uint8_t(std::min(std::max(v, int16_t(0)), int16_t(255)));
    }
}

VIMORA_VECTOR_LOOP(void, sharpenCross,
                   (uint8_t *out, const uint8_t *r0, const uint8_t *r1, const uint8_t *r2, int n),
                   (out, r0, r1, r2, n))
{
    for (int i = 0; i < n; ++i) {
        const int16_t v = int16_t(8 * r1[i] - r0[i] - r2[i] - r1[i - 4] - r1[i + 4]);
        out[i] = uint8_t(std::min(uint16_t(std::max(v, int16_t(0))) >> 2, 255));
    }
}

VIMORA_VECTOR_LOOP(void, emboss7,
                   (uint8_t *out, const uint8_t *r0, const uint8_t *r1, const uint8_t *r2, int n),
                   (out, r0, r1, r2, n))
{
    for (int i = 0; i < n; ++i) {
        const int16_t v = int16_t(-2 * r0[i - 4] - r0[i] - r1[i - 4] + r1[i] + r1[i + 4] + r2[i] + 2 * r2[i + 4]);
        out[i] = uint8_t(std::min(std::max(v, int16_t(0)), int16_t(255)));
    }
}

VIMORA_VECTOR_LOOP(void, emboss3,
                   (uint8_t *out, const uint8_t *r0, const uint8_t *r1, const uint8_t *r2, int16_t bias, int n),
                   (out, r0, r1, r2, bias, n))
{
    for (int i = 0; i < n; ++i) {
        const int16_t v = int16_t(-2 * r0[i - 4] + r1[i] + 2 * r2[i + 4] + bias);
        out[i] = uint8_t(std::min(std::max(v, int16_t(0)), int16_t(255)));
    }
}

int windowOf(IntegerKernel k)
{
    return k == IntegerKernel::Gaussian5x5 ? 5 : 3;
}

bool isSeparable(IntegerKernel k)
{
    return k != IntegerKernel::SharpenCross && k != IntegerKernel::Emboss7 && k != IntegerKernel::Emboss3;
}

// ---- float engine ----

/// The colour samples of a row of pixels as floats, three per pixel: alpha is never
/// filtered, so the float passes leave it out.
VIMORA_VECTOR_LOOP(void, colourFloatsPlain, (float *dst, const uint8_t *src, int pixels), (dst, src, pixels))
{
    for (int x = 0; x < pixels; ++x)
        for (int c = 0; c < 3; ++c)
            dst[3 * x + c] = float(src[4 * x + c]);
}

#ifdef VIMORA_HAS_AVX2_FORMS
/// Eight pixels' colour bytes, alpha dropped, as 24 floats: the compiler does not find this
/// shuffle for the plain loop.
VIMORA_TARGET_AVX2 void colourFloatsAvx2(float *dst, const uint8_t *src, int pixels)
{
    // Bytes 0-2, 4-6, 8-10, 12-14 of four pixels packed to the front.
    const __m128i pack = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    for (int x = 0; x + 8 <= pixels; x += 8) {
        const __m128i a = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(src + 4 * x)), pack);
        const __m128i b = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(src + 4 * x + 16)), pack);
        const __m128i middle = _mm_or_si128(_mm_srli_si128(a, 8), _mm_slli_si128(b, 4));
        float *o = dst + 3 * x;
        _mm256_storeu_ps(o, _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(a)));
        _mm256_storeu_ps(o + 8, _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(middle)));
        _mm256_storeu_ps(o + 16, _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(_mm_srli_si128(b, 4))));
    }
}
#endif

void colourFloats(float *dst, const uint8_t *src, int pixels)
{
    int done = 0;
#ifdef VIMORA_HAS_AVX2_FORMS
    if (simd::useAvx2()) {
        colourFloatsAvx2(dst, src, pixels);
        done = pixels / 8 * 8;
    }
#endif
    colourFloatsPlain(dst + 3 * done, src + 4 * done, pixels - done);
}

struct FloatTap
{
    const float *src;
    float weight;
};

/// Adds M taps into acc in one pass (fewer trips through acc than one pass a tap); the sum
/// runs in tap order, as separate passes would.
VIMORA_VECTOR_LOOP_TEMPLATE((int M, bool First), (M, First), void, sumTaps,
                   (float *__restrict acc, const FloatTap *t, int n), (acc, t, n))
{
    const float *__restrict s[4] = {};
    float w[4] = {};
    for (int k = 0; k < M; ++k) {
        s[k] = t[k].src;
        w[k] = t[k].weight;
    }
    for (int i = 0; i < n; ++i) {
        float a = First ? w[0] * s[0][i] : acc[i] + w[0] * s[0][i];
        if constexpr (M > 1)
            a += w[1] * s[1][i];
        if constexpr (M > 2)
            a += w[2] * s[2][i];
        if constexpr (M > 3)
            a += w[3] * s[3][i];
        acc[i] = a;
    }
}

/// acc[i] = sum over taps of weight x src[i], in tap order, starting from 0.
void applyTaps(float *acc, const std::vector<FloatTap> &taps, int n)
{
    const int count = int(taps.size());
    if (count == 0)
        std::fill(acc, acc + n, 0.0f);
    for (int t = 0; t < count; t += 4) {
        const FloatTap *at = taps.data() + t;
        const bool first = t == 0;
        switch (std::min(4, count - t)) {
        case 4:
            first ? sumTaps<4, true>(acc, at, n) : sumTaps<4, false>(acc, at, n);
            break;
        case 3:
            first ? sumTaps<3, true>(acc, at, n) : sumTaps<3, false>(acc, at, n);
            break;
        case 2:
            first ? sumTaps<2, true>(acc, at, n) : sumTaps<2, false>(acc, at, n);
            break;
        default:
            first ? sumTaps<1, true>(acc, at, n) : sumTaps<1, false>(acc, at, n);
            break;
        }
    }
}

/// Single-precision sums of normalised weights land a hair below the whole number they stand
/// for (128 x weights summing to 0.99999994 gives 127.99999), and plain truncation would then
/// darken flat areas by a level per pass. Sums are truncated after adding this much: less than
/// half the finest step of the exact kernels (1/256), so their results are unchanged.
constexpr float kSumTolerance = 1.0f / 512.0f;

VIMORA_VECTOR_LOOP(void, floatsToBytes, (uint8_t *dst, const float *src, int n), (dst, src, n))
{
    for (int i = 0; i < n; ++i)
        dst[i] = truncToByte(src[i] + kSumTolerance);
}

VIMORA_VECTOR_LOOP(void, colourPixelsPlain,
                   (QRgb *dst, const uint8_t *colour, const QRgb *alphaFrom, int pixels),
                   (dst, colour, alphaFrom, pixels))
{
    for (int x = 0; x < pixels; ++x)
        dst[x] = QRgb(colour[3 * x]) | (QRgb(colour[3 * x + 1]) << 8) | (QRgb(colour[3 * x + 2]) << 16)
            | (alphaFrom[x] & kAlphaMask);
}

#ifdef VIMORA_HAS_AVX2_FORMS
/// Eight pixels at a time: their 24 colour bytes spread to four per pixel, alpha merged in.
VIMORA_TARGET_AVX2 void colourPixelsAvx2(QRgb *dst, const uint8_t *colour, const QRgb *alphaFrom, int pixels)
{
    // Three bytes a pixel out to four, the fourth zero; the second half starts 4 bytes in.
    const __m128i first = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i second = _mm_setr_epi8(4, 5, 6, -1, 7, 8, 9, -1, 10, 11, 12, -1, 13, 14, 15, -1);
    const __m256i alphaMask = _mm256_set1_epi32(int(kAlphaMask));
    for (int x = 0; x + 8 <= pixels; x += 8) {
        const uint8_t *c = colour + 3 * x;
        const __m128i lo = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(c)), first);
        const __m128i hi = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(c + 8)), second);
        const __m256i alpha =
            _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(alphaFrom + x)), alphaMask);
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(dst + x), _mm256_or_si256(_mm256_set_m128i(hi, lo), alpha));
    }
}
#endif

/// Three colour bytes per pixel back into pixels, with the source pixel's alpha.
void colourPixels(QRgb *dst, const uint8_t *colour, const QRgb *alphaFrom, int pixels)
{
    int done = 0;
#ifdef VIMORA_HAS_AVX2_FORMS
    if (simd::useAvx2()) {
        colourPixelsAvx2(dst, colour, alphaFrom, pixels);
        done = pixels / 8 * 8;
    }
#endif
    colourPixelsPlain(dst + done, colour + 3 * done, alphaFrom + done, pixels - done);
}

// ---- two-pass engine ----
// Each output value is w0 s0 + w1 s1 + ... summed in tap order, as applyTaps sums it, but a
// block of outputs stays in registers through every tap, so each input is loaded once per tap
// and each output stored once. Blocks are vectors across pixels (never across taps), so every
// value comes out as the plain loop gives it.

using Float8 = float __attribute__((vector_size(32)));
using Int8 = int32_t __attribute__((vector_size(32)));

[[gnu::always_inline]] inline Float8 load8(const float *p)
{
    Float8 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

/// truncToByte of eight sums, after the tolerance, as whole numbers.
[[gnu::always_inline]] inline Int8 truncated8(Float8 v)
{
    v += kSumTolerance;
    const Float8 low = Float8{} - 1.0f, high = Float8{} + 256.0f;
    v = v < low ? low : v;
    v = high < v ? high : v;
    Int8 i = __builtin_convertvector(v, Int8);
    const Int8 zero = Int8{}, top = Int8{} + 255;
    i = i < zero ? zero : i;
    return top < i ? top : i;
}

/// What a pass keeps of its sums: the truncated values as floats (the picture between the
/// passes) or as bytes (the result).
enum class PassOutput { Floats, Bytes };

/// Values [from, ...) of output row k (0 .. count - 1) in whole blocks: sum over t of
/// weights[t] x rows[k + t][i]. Returns where the blocks stop.
template <int Blocks, PassOutput Output>
[[gnu::always_inline]] inline int tapRowsBlocks(const float *const *rows, const float *weights, int taps, int count,
                                                void *const *out, int from, int n)
{
    constexpr int kStep = 8 * Blocks;
    int x = from;
    for (; x + kStep <= n; x += kStep)
        for (int k = 0; k < count; ++k) {
            const float *const *src = rows + k;
            Float8 acc[Blocks];
            for (int b = 0; b < Blocks; ++b)
                acc[b] = weights[0] * load8(src[0] + x + 8 * b);
            for (int t = 1; t < taps; ++t) {
                const float w = weights[t];
                const float *s = src[t] + x;
                for (int b = 0; b < Blocks; ++b)
                    acc[b] += w * load8(s + 8 * b);
            }
            if constexpr (Output == PassOutput::Floats) {
                for (int b = 0; b < Blocks; ++b) {
                    const Float8 f = __builtin_convertvector(truncated8(acc[b]), Float8);
                    std::memcpy(static_cast<float *>(out[k]) + x + 8 * b, &f, sizeof f);
                }
            } else {
                // Narrowed through a small buffer: a plain loop the compiler packs a whole
                // vector at a time, where narrowing each block alone goes byte by byte.
                int32_t whole[kStep];
                for (int b = 0; b < Blocks; ++b) {
                    const Int8 v = truncated8(acc[b]);
                    std::memcpy(whole + 8 * b, &v, sizeof v);
                }
                uint8_t *o = static_cast<uint8_t *>(out[k]) + x;
                for (int i = 0; i < kStep; ++i)
                    o[i] = uint8_t(whole[i]);
            }
        }
    return x;
}

/// Output row k (0 .. count - 1) of n values: sum over t of weights[t] x rows[k + t][i].
template <int Blocks, PassOutput Output>
[[gnu::always_inline]] inline void tapRowsBody(const float *const *rows, const float *weights, int taps, int count,
                                               void *const *out, int n)
{
    int x = tapRowsBlocks<Blocks, Output>(rows, weights, taps, count, out, 0, n);
    x = tapRowsBlocks<1, Output>(rows, weights, taps, count, out, x, n);
    for (int k = 0; k < count; ++k)
        for (int i = x; i < n; ++i) {
            float a = weights[0] * rows[k][i];
            for (int t = 1; t < taps; ++t)
                a += weights[t] * rows[k + t][i];
            const uint8_t v = truncToByte(a + kSumTolerance);
            if constexpr (Output == PassOutput::Floats)
                static_cast<float *>(out[k])[i] = float(v);
            else
                static_cast<uint8_t *>(out[k])[i] = v;
        }
}

// Eight blocks of eight where AVX2 gives sixteen vector registers of eight floats: enough
// independent sums to hide the adds' latency. The baseline form's registers hold four floats.
#ifdef VIMORA_HAS_AVX2_FORMS
template <PassOutput Output>
[[gnu::noinline]] VIMORA_TARGET_AVX2 void tapRowsAvx2(const float *const *rows, const float *weights, int taps,
                                                      int count, void *const *out, int n)
{
    tapRowsBody<8, Output>(rows, weights, taps, count, out, n);
}
#endif

template <PassOutput Output>
[[gnu::noinline]] void tapRowsBaseline(const float *const *rows, const float *weights, int taps, int count,
                                       void *const *out, int n)
{
    tapRowsBody<4, Output>(rows, weights, taps, count, out, n);
}

template <PassOutput Output>
void tapRows(const float *const *rows, const float *weights, int taps, int count, void *const *out, int n)
{
#ifdef VIMORA_HAS_AVX2_FORMS
    if (simd::useAvx2())
        return tapRowsAvx2<Output>(rows, weights, taps, count, out, n);
#endif
    tapRowsBaseline<Output>(rows, weights, taps, count, out, n);
}

/// The few input rows a band's window needs, each kept once in a slot of its own.
template <typename T>
class RowRing
{
public:
    RowRing(int slotCount, int length)
        : m_slots(slotCount)
        , m_length(length)
        , m_data(size_t(slotCount) * size_t(length))
        , m_rowInSlot(size_t(slotCount), -1)
    {
    }
    /// The slot for input row y, and whether it still has to be filled.
    T *slot(int y, bool &fresh)
    {
        const size_t s = size_t(y % m_slots);
        fresh = m_rowInSlot[s] != y;
        m_rowInSlot[s] = y;
        return &m_data[s * size_t(m_length)];
    }

private:
    int m_slots, m_length;
    std::vector<T> m_data;
    std::vector<int> m_rowInSlot;
};

} // namespace

QImage convolveInteger(const QImage &src, IntegerKernel kernel, const IntegerOptions &options)
{
    const int w = src.width();
    const int h = src.height();
    QImage dst = newRaster(w, h);
    if (dst.isNull())
        return {};
    const int size = windowOf(kernel);
    const bool separable = isSeparable(kernel);
    const Interior in = interiorOf(w, h, size, size);
    const int begin = 4 * in.firstCol;
    const int n = 4 * (in.endCol - in.firstCol);
    const bool work = !in.empty();
    const int b = std::clamp(options.bias, -(1 << 24), 1 << 24);
    const auto bias = int16_t(std::clamp(b, -kBiasLimit, kBiasLimit));
    // (sum + bias) / 256 as ((sum + r) >> 8) + q; beyond q = +-300 the result saturates anyway.
    const int floorQ = b >= 0 ? b / 256 : -((255 - b) / 256);
    const auto biasR = uint16_t(b - 256 * floorQ);
    const int biasQ = std::clamp(floorQ, -300, 300);
    parallelRows(h, [&](int bandBegin, int bandEnd) {
        RowRing<uint16_t> ring(work && separable ? size : 1, work && separable ? n : 1);
        for (int y = bandBegin; y < bandEnd; ++y) {
            QRgb *out = rowWords(dst, y);
            const QRgb *inRow = rowWords(src, y);
            if (!work || y < in.firstRow || y >= in.endRow) {
                writeBorder(out, inRow, 0, w, options.border);
                continue;
            }
            uint8_t *o = reinterpret_cast<uint8_t *>(out) + begin;
            const uint8_t *c = rowBytes(src, y) + begin;
            if (separable) {
                const uint16_t *r[5] = {};
                for (int p = 0; p < size; ++p) {
                    const int sy = y - in.top + p;
                    bool fresh = false;
                    uint16_t *across = ring.slot(sy, fresh);
                    if (fresh) {
                        const uint8_t *from = rowBytes(src, sy) + begin;
                        if (kernel == IntegerKernel::Gaussian5x5)
                            across5<1, 4, 6>(across, from, n);
                        else if (kernel == IntegerKernel::Gaussian3x3)
                            across3<1, 2>(across, from, n);
                        else
                            across3<1, 1>(across, from, n);
                    }
                    r[p] = across;
                }
                switch (kernel) {
                case IntegerKernel::Gaussian3x3:
                    down3<1, 2, 0, 1, 16>(o, r[0], r[1], r[2], c, 0, n);
                    break;
                case IntegerKernel::Box3x3:
                    down3<1, 1, 0, 1, 9>(o, r[0], r[1], r[2], c, 0, n);
                    break;
                case IntegerKernel::EdgeDetection:
                    down3<1, 1, 9, -1, 1>(o, r[0], r[1], r[2], c, 0, n);
                    break;
                case IntegerKernel::Sharpen9:
                    down3<1, 1, 10, -1, 1>(o, r[0], r[1], r[2], c, bias, n);
                    break;
                case IntegerKernel::Unsharpen17:
                    down3<1, 1, 18, -1, 9>(o, r[0], r[1], r[2], c, bias, n);
                    break;
                default:
                    down5<1, 4, 6>(o, r, int16_t(biasQ), biasR, n);
                    break;
                }
            } else {
                const uint8_t *r0 = rowBytes(src, y - 1) + begin;
                const uint8_t *r1 = rowBytes(src, y) + begin;
                const uint8_t *r2 = rowBytes(src, y + 1) + begin;
                if (kernel == IntegerKernel::SharpenCross)
                    sharpenCross(o, r0, r1, r2, n);
                else if (kernel == IntegerKernel::Emboss7)
                    emboss7(o, r0, r1, r2, n);
                else
                    emboss3(o, r0, r1, r2, bias, n);
            }
            finishRow(out, inRow, w, in, options.border, options.filterAlpha);
        }
    }, 16);
    return dst;
}

QImage convolveFloat(const QImage &src, std::span<const float> kernel, int rows, int cols)
{
    const int w = src.width();
    const int h = src.height();
    QImage dst = newRaster(w, h);
    if (dst.isNull())
        return {};
    const Interior in = interiorOf(w, h, rows, cols);
    const int pixels = in.endCol - in.firstCol;
    const int begin = 3 * in.firstCol;
    const int n = 3 * pixels;
    parallelRows(h, [&](int bandBegin, int bandEnd) {
        std::vector<float> acc(in.empty() ? 0 : size_t(n));
        std::vector<uint8_t> bytes(in.empty() ? 0 : size_t(n));
        RowRing<float> ring(in.empty() ? 1 : rows, in.empty() ? 1 : 3 * w);
        std::vector<FloatTap> taps;
        for (int y = bandBegin; y < bandEnd; ++y) {
            QRgb *out = rowWords(dst, y);
            const QRgb *inRow = rowWords(src, y);
            if (in.empty() || y < in.firstRow || y >= in.endRow) {
                writeBorder(out, inRow, 0, w, BorderRule::ZeroColour);
                continue;
            }
            taps.clear();
            for (int p = 0; p < rows; ++p) {
                const int sy = y - in.top + p;
                bool fresh = false;
                float *row = ring.slot(sy, fresh);
                if (fresh)
                    colourFloats(row, rowBytes(src, sy), w);
                for (int q = 0; q < cols; ++q)
                    if (const float k = kernel[size_t(p) * size_t(cols) + size_t(q)]; k != 0.0f)
                        taps.push_back({row + begin + 3 * (q - in.left), k});
            }
            applyTaps(acc.data(), taps, n);
            floatsToBytes(bytes.data(), acc.data(), n);
            colourPixels(out + in.firstCol, bytes.data(), inRow + in.firstCol, pixels);
            finishRow(out, inRow, w, in, BorderRule::ZeroColour, true);
        }
    }, 16);
    return dst;
}

QImage convolveFloatTwoPass(const QImage &src, std::span<const float> weights)
{
    const int w = src.width();
    const int h = src.height();
    const int size = int(weights.size());
    QImage dst = newRaster(w, h);
    if (dst.isNull())
        return {};
    const Interior across = interiorOf(w, h, 1, size);
    const Interior down = interiorOf(w, h, size, 1);
    const int begin = 3 * across.firstCol;
    const int n = 3 * (across.endCol - across.firstCol);
    const int rowLength = 3 * w;
    // Output rows summed down at once: they share all but one of their input rows, which are
    // then read from the nearest cache level.
    constexpr int kRowsAtOnce = 4;
    // A picture narrower than the window is all frame across, so the first pass leaves colour 0
    // everywhere and so does the second: every pixel is frame, as for one shorter than it.
    const bool work = !down.empty() && !across.empty();
    parallelRows(h, [&](int bandBegin, int bandEnd) {
        const int firstRow = std::max(bandBegin, down.firstRow), endRow = std::min(bandEnd, down.endRow);
        for (int y = bandBegin; y < bandEnd; ++y)
            if (!work || y < firstRow || y >= endRow)
                writeBorder(rowWords(dst, y), rowWords(src, y), 0, w, BorderRule::ZeroColour);
        if (!work || endRow <= firstRow)
            return;
        std::vector<float> source(static_cast<size_t>(rowLength));
        std::vector<uint8_t> bytes(size_t(kRowsAtOnce) * size_t(rowLength));
        RowRing<float> ring(size + kRowsAtOnce - 1, rowLength);
        std::vector<const float *> acrossTaps(static_cast<size_t>(size));
        for (int q = 0; q < size; ++q)
            acrossTaps[size_t(q)] = source.data() + begin + 3 * (q - across.left);
        std::vector<const float *> window(size_t(size + kRowsAtOnce - 1));
        for (int y = firstRow; y < endRow; y += kRowsAtOnce) {
            const int count = std::min(kRowsAtOnce, endRow - y);
            for (int p = 0; p < size + count - 1; ++p) {
                const int sy = y - down.top + p;
                bool fresh = false;
                float *row = ring.slot(sy, fresh);
                if (fresh) {
                    // The horizontal pass of input row sy, truncated as the picture between
                    // the passes would be; its frame columns hold colour 0.
                    std::fill(row, row + begin, 0.0f);
                    std::fill(row + begin + n, row + rowLength, 0.0f);
                    colourFloats(source.data(), rowBytes(src, sy), w);
                    void *const into[1] = {row + begin};
                    tapRows<PassOutput::Floats>(acrossTaps.data(), weights.data(), size, 1, into, n);
                }
                window[size_t(p)] = row;
            }
            void *into[kRowsAtOnce];
            for (int k = 0; k < count; ++k)
                into[k] = bytes.data() + size_t(k) * size_t(rowLength);
            tapRows<PassOutput::Bytes>(window.data(), weights.data(), size, count, into, rowLength);
            for (int k = 0; k < count; ++k)
                colourPixels(rowWords(dst, y + k), bytes.data() + size_t(k) * size_t(rowLength), rowWords(src, y + k),
                             w);
        }
    }, 16);
    return dst;
}

} // namespace vimora::detail
