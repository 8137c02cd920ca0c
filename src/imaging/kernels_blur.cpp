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

namespace vimora::kernels {

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
