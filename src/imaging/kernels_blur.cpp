#include "imaging/kernels.h"

// Separable blur: exact FIR taps for small radii, three box passes for large ones, in bands.

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

int blurReach(double sigma) { return sigma > 0 ? int(std::ceil(3.0 * sigma)) : 0; }

namespace {

constexpr double kMaxFirSigma = 3.0;
/// Rows the box passes blur at once at least (their halo is decoded once per band).
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

/// The rows of the exact taps hold 16-bit samples v as signed v - 32768 ("biased"), so that
/// AVX2's multiply-add of 16-bit pairs (signed) takes them. With weights summing to 2^16 the
/// biased sum is the plain one less 2^31, and (biased sum + 2^15) >> 16, arithmetic, is the
/// rounded plain result less 32768: the biased output. Integer sums: every form gives the same.
constexpr int kBias = kBiasedSample;

/// One symmetric FIR over columns [from, to) in plain integer loops: out[x] =
/// (w[0] centre[x] + sum over t of w[t] (lo(t)[x] + hi(t)[x]) + 2^15) >> 16, biased in and out.
/// The sums of a short run of columns are kept in an array tap after tap, so that each loop is
/// one the compiler vectorises.
template <typename Lo, typename Hi>
[[gnu::always_inline]] inline void symmetricFirPlain(const int16_t *centre, Lo &&lo, Hi &&hi, int16_t *out, int from,
                                                     int to, const uint32_t *weights, int reach)
{
    constexpr int kRun = 256;
    int32_t sums[kRun];
    for (int first = from; first < to; first += kRun) {
        const int n = std::min(kRun, to - first);
        const int32_t w0 = int32_t(weights[0]);
        const int16_t *c = centre + first;
        for (int i = 0; i < n; ++i)
            sums[i] = w0 * c[i];
        for (int t = 1; t <= reach; ++t) {
            const int32_t w = int32_t(weights[t]);
            const int16_t *__restrict l = lo(t) + first;
            const int16_t *__restrict h = hi(t) + first;
            for (int i = 0; i < n; ++i)
                sums[i] += w * (int32_t(l[i]) + h[i]);
        }
        int16_t *__restrict o = out + first;
        for (int i = 0; i < n; ++i)
            o[i] = int16_t((sums[i] + 0x8000) >> 16);
    }
}

#ifdef VIMORA_HAS_AVX2_FORMS
/// The same sums sixteen columns at a time, Blocks of them in registers through all taps: each
/// tap's two rows interleaved and multiplied by (w, w) in one multiply-add, the centre by
/// (w0 - w0 / 2, w0 / 2). The interleave and the final pack work within 128-bit halves alike,
/// so the columns come back in order. Needs w0 < 65536 (each half fits 15 bits).
template <int Blocks, typename Lo, typename Hi>
[[gnu::always_inline]] VIMORA_TARGET_AVX2 inline int symmetricFirAvx2(const int16_t *centre, Lo &&lo, Hi &&hi,
                                                                      int16_t *out, int from, int to,
                                                                      const uint32_t *pairs, int reach)
{
    constexpr int kStep = 16 * Blocks;
    const __m256i half = _mm256_set1_epi32(0x8000);
    int x = from;
    for (; x + kStep <= to; x += kStep) {
        __m256i low[Blocks], high[Blocks];
        const __m256i w0 = _mm256_set1_epi32(int(pairs[0]));
        for (int b = 0; b < Blocks; ++b) {
            const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(centre + x + 16 * b));
            low[b] = _mm256_madd_epi16(_mm256_unpacklo_epi16(c, c), w0);
            high[b] = _mm256_madd_epi16(_mm256_unpackhi_epi16(c, c), w0);
        }
        for (int t = 1; t <= reach; ++t) {
            const __m256i w = _mm256_set1_epi32(int(pairs[t]));
            const int16_t *l = lo(t) + x, *h = hi(t) + x;
            for (int b = 0; b < Blocks; ++b) {
                const __m256i u = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(l + 16 * b));
                const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(h + 16 * b));
                low[b] = _mm256_add_epi32(low[b], _mm256_madd_epi16(_mm256_unpacklo_epi16(u, d), w));
                high[b] = _mm256_add_epi32(high[b], _mm256_madd_epi16(_mm256_unpackhi_epi16(u, d), w));
            }
        }
        for (int b = 0; b < Blocks; ++b) {
            const __m256i lr = _mm256_srai_epi32(_mm256_add_epi32(low[b], half), 16);
            const __m256i hr = _mm256_srai_epi32(_mm256_add_epi32(high[b], half), 16);
            _mm256_storeu_si256(reinterpret_cast<__m256i *>(out + x + 16 * b), _mm256_packs_epi32(lr, hr));
        }
    }
    return x;
}

template <typename Lo, typename Hi>
[[gnu::always_inline]] VIMORA_TARGET_AVX2 inline void
symmetricFirRunAvx2(const int16_t *centre, Lo &&lo, Hi &&hi, int16_t *out, int from, int to, const uint32_t *weights,
                    const uint32_t *pairs, int reach)
{
    int x = from;
    if (weights[0] <= 65534u) {
        x = symmetricFirAvx2<2>(centre, lo, hi, out, x, to, pairs, reach);
        x = symmetricFirAvx2<1>(centre, lo, hi, out, x, to, pairs, reach);
    }
    symmetricFirPlain(centre, lo, hi, out, x, to, weights, reach);
}

/// Columns [from, to) of `count` output rows blurred down: output row k has rows[k + reach] as
/// its centre and rows[k + reach -+ t] t above and below it. A block of columns is finished
/// for all the output rows before the next, so the rows they share are read from the nearest
/// cache level.
[[gnu::noinline]] VIMORA_TARGET_AVX2 void firVerticalAvx2(const int16_t *const *rows, int16_t *const *out, int count,
                                                          int from, int to, const uint32_t *weights,
                                                          const uint32_t *pairs, int reach)
{
    constexpr int kBlock = 512;
    for (int x = from; x < to; x += kBlock)
        for (int k = 0; k < count; ++k) {
            const int16_t *const *window = rows + k;
            symmetricFirRunAvx2(
                window[reach], [&](int t) VIMORA_TARGET_AVX2 { return window[reach - t]; },
                [&](int t) VIMORA_TARGET_AVX2 { return window[reach + t]; }, out[k], x, std::min(to, x + kBlock),
                weights, pairs, reach);
        }
}

/// In points at the column facing out[0]; reach columns exist on both sides.
[[gnu::noinline]] VIMORA_TARGET_AVX2 void firHorizontalAvx2(const int16_t *in, int16_t *out, int width,
                                                            const uint32_t *weights, const uint32_t *pairs, int reach)
{
    symmetricFirRunAvx2(
        in, [&](int t) VIMORA_TARGET_AVX2 { return in - t; }, [&](int t) VIMORA_TARGET_AVX2 { return in + t; }, out, 0,
        width, weights, pairs, reach);
}
#endif

// The baseline forms are the plain loops, vectorised as the compiler can.
[[gnu::noinline]] void firVerticalBaseline(const int16_t *const *rows, int16_t *const *out, int count, int from, int to,
                                           const uint32_t *weights, int reach)
{
    constexpr int kBlock = 512;
    for (int x = from; x < to; x += kBlock)
        for (int k = 0; k < count; ++k) {
            const int16_t *const *window = rows + k;
            symmetricFirPlain(
                window[reach], [&](int t) { return window[reach - t]; }, [&](int t) { return window[reach + t]; },
                out[k], x, std::min(to, x + kBlock), weights, reach);
        }
}

[[gnu::noinline]] void firHorizontalBaseline(const int16_t *in, int16_t *out, int width, const uint32_t *weights,
                                             int reach)
{
    symmetricFirPlain(
        in, [&](int t) { return in - t; }, [&](int t) { return in + t; }, out, 0, width, weights, reach);
}

void firVertical(const int16_t *const *rows, int16_t *const *out, int count, int from, int to, const uint32_t *weights,
                 const uint32_t *pairs, int reach)
{
#ifdef VIMORA_HAS_AVX2_FORMS
    if (simd::useAvx2())
        return firVerticalAvx2(rows, out, count, from, to, weights, pairs, reach);
#endif
    (void)pairs;
    firVerticalBaseline(rows, out, count, from, to, weights, reach);
}

void firHorizontal(const int16_t *in, int16_t *out, int width, const uint32_t *weights, const uint32_t *pairs,
                   int reach)
{
#ifdef VIMORA_HAS_AVX2_FORMS
    if (simd::useAvx2())
        return firHorizontalAvx2(in, out, width, weights, pairs, reach);
#endif
    (void)pairs;
    firHorizontalBaseline(in, out, width, weights, reach);
}

/// Biased 16-bit samples to plain ones (flipping the top bit adds 32768 modulo 2^16).
VIMORA_VECTOR_LOOP(void, unbias, (const int16_t *in, uint16_t *out, int count), (in, out, count))
{
    for (int i = 0; i < count; ++i)
        out[i] = uint16_t(uint16_t(in[i]) ^ 0x8000u);
}

/// Four planes of `count` values back to back as one row (PixelRow or PixelRow16).
template <class Row, class Sample> Row planesRow(Sample *planes, int count)
{
    Row row;
    row.count = count;
    row.r = planes;
    row.g = row.r + count;
    row.b = row.g + count;
    row.a = row.b + count;
    return row;
}

PixelRow floatRow(float *planes, int count) { return planesRow<PixelRow>(planes, count); }
PixelRow16 row16(uint16_t *planes, int count) { return planesRow<PixelRow16>(planes, count); }

/// Biased 16-bit samples to the working floats, by the warps' rule (value / 65535).
VIMORA_VECTOR_LOOP(void, widenRow, (const int16_t *in, float *out, int count), (in, out, count))
{
    constexpr float kScale = 1.0f / 65535.0f;
    for (int i = 0; i < count; ++i)
        out[i] = float(int(in[i]) + kBias) * kScale;
}

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

constexpr int16_t kOpaque = int16_t(65535 - kBias);

VIMORA_VECTOR_LOOP(bool, allOpaque, (const int16_t *alpha, int count), (alpha, count))
{
    int opaque = 0; // a count, where a chain of ands would not vectorise
    for (int i = 0; i < count; ++i)
        opaque += alpha[i] == kOpaque ? 1 : 0;
    return opaque == count;
}

} // namespace

/// The first run of alpha 65535 in a row (a photo's whole width, its frame aside).
BlurBand::OpaqueSpan BlurBand::opaqueRun16(const int16_t *alpha, int count)
{
    int first = 0;
    while (first < count && alpha[first] != kOpaque)
        ++first;
    int end = first;
    constexpr int kBlock = 64;
    while (end + kBlock <= count && allOpaque(alpha + end, kBlock))
        end += kBlock;
    while (end < count && alpha[end] == kOpaque)
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

std::vector<uint32_t> blurWeights(double sigma)
{
    const std::vector<float> taps = blurTaps(sigma);
    if (taps.empty())
        return {};
    std::vector<uint32_t> weights(taps.size());
    uint32_t outer = 0;
    for (size_t t = 1; t < taps.size(); ++t) {
        weights[t] = uint32_t(std::lround(double(taps[t]) * 65536.0));
        outer += 2 * weights[t];
    }
    weights[0] = 65536u - outer;
    return weights;
}

BlurBand::BlurBand(const QImage &src, Region region, double sigma)
    : m_src(src)
    , m_region(region)
{
    if (sigma <= kMaxFirSigma) {
        m_reach = blurReach(sigma);
        m_weights = blurWeights(sigma);
        // Pairs of 16-bit weights for the multiply-add: the centre split in two halves.
        for (size_t t = 0; t < m_weights.size(); ++t) {
            const uint32_t w = m_weights[t], first = t == 0 ? w - w / 2 : w, second = t == 0 ? w / 2 : w;
            m_pairs.push_back((second & 0xffff) << 16 | (first & 0xffff));
        }
    } else {
        m_boxes = boxRadii(sigma);
        for (int r : m_boxes)
            m_reach += r;
    }
    m_inWidth = region.width + 2 * m_reach;
}

int BlurBand::bandRows() const
{
    // A wide blur's halo would otherwise be decoded and boxed many times over for each band.
    return m_boxes.empty() ? kRowsDownAtOnce : std::max(kBoxBand, 2 * m_reach);
}

int BlurBand::ringIndex(int row) const
{
    // Region row `row` of the run; rows first - reach .. end + reach pass through the ring.
    return (row - m_first + m_reach) % (2 * m_reach + kRowsDownAtOnce);
}

int16_t *BlurBand::ringSlot(int row) { return m_ring.data() + size_t(ringIndex(row)) * size_t(m_inWidth) * 4; }

void BlurBand::start(int first, int end)
{
    m_first = first;
    m_end = end;
    m_next = first;
    m_bandFirst = first;
    m_bandRows = 0;
    if (!m_boxes.empty())
        return;
    m_ring.resize(size_t(2 * m_reach + kRowsDownAtOnce) * size_t(m_inWidth) * 4);
    m_down.resize(size_t(kRowsDownAtOnce) * size_t(m_inWidth) * 4);
    m_across.resize(size_t(m_region.width) * 4);
    m_out.resize(size_t(m_region.width) * 4);
    m_window.resize(size_t(2 * m_reach + kRowsDownAtOnce));
    m_opaque.assign(size_t(2 * m_reach + kRowsDownAtOnce), {});
    for (int row = first - m_reach; row < first + m_reach; ++row)
        decodeIntoRing(row);
}

void BlurBand::decodeIntoRing(int row)
{
    // Planes of a decoded row lie back to back, so the pass down runs over all four at once.
    int16_t *planes = ringSlot(row);
    const size_t w = size_t(m_inWidth);
    decodeBiasedRow16(m_src, row + m_src.height() - m_region.y - m_region.height, m_region.x - m_reach, m_inWidth,
                      planes, planes + w, planes + 2 * w, planes + 3 * w);
    m_opaque[size_t(ringIndex(row))] = opaqueRun16(planes + 3 * w, m_inWidth);
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
    int16_t *out[kRowsDownAtOnce];
    for (int k = 0; k < rows; ++k)
        out[k] = m_down.data() + size_t(k) * size_t(m_inWidth) * 4;
    // Colour planes and the alpha plane up to the opaque span in one pass, then the rest; the
    // span itself is what its sums would give.
    const int alpha = 3 * m_inWidth;
    firVertical(m_window.data(), out, rows, 0, alpha + opaque.first, m_weights.data(), m_pairs.data(), m_reach);
    firVertical(m_window.data(), out, rows, alpha + opaque.end, 4 * m_inWidth, m_weights.data(), m_pairs.data(),
                m_reach);
    for (int k = 0; k < rows; ++k)
        std::fill(out[k] + alpha + opaque.first, out[k] + alpha + opaque.end, kOpaque);
}

PixelRow BlurBand::next()
{
    if (!m_boxes.empty()) {
        const int j = m_next++;
        if (!(j >= m_bandFirst && j < m_bandFirst + m_bandRows))
            computeBoxes(j, std::min(m_end, j + bandRows()));
        const size_t outPlane = size_t(m_bandRows) * size_t(m_region.width);
        PixelRow row;
        row.count = m_region.width;
        row.r = m_out.data() + size_t(j - m_bandFirst) * size_t(m_region.width);
        row.g = row.r + outPlane;
        row.b = row.g + outPlane;
        row.a = row.b + outPlane;
        return row;
    }
    blurAcross();
    const size_t w = size_t(m_region.width);
    widenRow(m_across.data(), m_out.data(), int(4 * w));
    return floatRow(m_out.data(), m_region.width);
}

PixelRow16 BlurBand::next16()
{
    blurAcross();
    const size_t w = size_t(m_region.width);
    m_plain.resize(4 * w);
    unbias(m_across.data(), m_plain.data(), int(4 * w));
    return row16(m_plain.data(), m_region.width);
}

void BlurBand::blurAcross()
{
    const int j = m_next++;
    if (!(j >= m_bandFirst && j < m_bandFirst + m_bandRows))
        blurDown(j, std::min(m_end - j, kRowsDownAtOnce));
    const int width = m_region.width;
    const size_t w = size_t(width);
    const int16_t *down = m_down.data() + size_t(j - m_bandFirst) * size_t(m_inWidth) * 4;
    for (size_t c = 0; c < 3; ++c)
        firHorizontal(down + c * size_t(m_inWidth) + size_t(m_reach), m_across.data() + c * w, width, m_weights.data(),
                      m_pairs.data(), m_reach);
    // Output x reads down-blurred columns x .. x + 2 reach: known where they all are.
    const int knownFirst = std::clamp(m_downOpaque.first, 0, width);
    const int knownEnd = std::clamp(m_downOpaque.end - 2 * m_reach, knownFirst, width);
    const int16_t *downAlpha = down + size_t(3) * size_t(m_inWidth) + size_t(m_reach);
    int16_t *alpha = m_across.data() + 3 * w;
    firHorizontal(downAlpha, alpha, knownFirst, m_weights.data(), m_pairs.data(), m_reach);
    std::fill(alpha + knownFirst, alpha + knownEnd, kOpaque);
    firHorizontal(downAlpha + knownEnd, alpha + knownEnd, width - knownEnd, m_weights.data(), m_pairs.data(), m_reach);
}

namespace {
// The region's columns of a ring row's four planes, each converted into a buffer of its own.
template <typename T, typename Convert>
T *convertedPlanes(const int16_t *planes, size_t stride, size_t width, std::vector<T> &into, Convert convert)
{
    into.resize(width * 4);
    for (size_t c = 0; c < 4; ++c)
        convert(planes + c * stride, into.data() + c * width, int(width));
    return into.data();
}
} // namespace

PixelRow BlurBand::input()
{
    // Only exact taps keep the input: its 16-bit row is still in the ring, which later rows
    // read, and reaches the caller as a float copy to write on (the values a warp samples on a
    // pixel centre, which encode back to the input's bytes).
    float *planes = convertedPlanes(ringSlot(m_next - 1) + m_reach, size_t(m_inWidth), size_t(m_region.width), m_input,
                                    [](const int16_t *in, float *out, int n) { widenRow(in, out, n); });
    return floatRow(planes, m_region.width);
}

PixelRow16 BlurBand::input16()
{
    uint16_t *planes = convertedPlanes(ringSlot(m_next - 1) + m_reach, size_t(m_inWidth), size_t(m_region.width),
                                       m_input16, [](const int16_t *in, uint16_t *out, int n) { unbias(in, out, n); });
    return row16(planes, m_region.width);
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
