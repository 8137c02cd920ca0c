#include "imaging/kernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vimora::kernels {

namespace {

constexpr float kInv255 = 1.0f / 255.0f;

inline const float *readTable(Space space, bool premultiplied)
{
    const FilterContext &context = ZELGetCIContext();
    if (space == Space::Encoded)
        return context.encodedStraight();
    return premultiplied ? context.linearPremultiplied() : context.linearStraight();
}

/// One straight working colour (clamped) at alpha a to its byte.
inline uint32_t colourByte(float e, float a255, float alphaByte)
{
    return uint32_t(std::min(std::floor(e * a255 + 0.5f), alphaByte));
}

/// Premultiplied linear working pixel to its 8-bit word.
inline QRgb encodePixel(const FilterContext &context, float r, float g, float b, float a)
{
    a = std::clamp(a, 0.0f, 1.0f);
    const float a255 = a * 255.0f;
    const float alphaByte = std::floor(a255 + 0.5f);
    if (alphaByte <= 0.0f)
        return 0;
    const float inv = 1.0f / a;
    if (alphaByte == 255.0f)
        return 0xff000000u | context.encodeOpaque(r * inv) << 16 | context.encodeOpaque(g * inv) << 8
            | context.encodeOpaque(b * inv);
    const uint32_t cr = colourByte(context.encodeFast(r * inv), a255, alphaByte);
    const uint32_t cg = colourByte(context.encodeFast(g * inv), a255, alphaByte);
    const uint32_t cb = colourByte(context.encodeFast(b * inv), a255, alphaByte);
    return uint32_t(alphaByte) << 24 | cr << 16 | cg << 8 | cb;
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

VIMORA_SIMD_CLONES
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
    for (int i = first; i < last; ++i) {
        const uint32_t p = in[i];
        const uint32_t base = (p >> 16) & 0xff00;
        r[i] = table[base | ((p >> 16) & 0xff)];
        g[i] = table[base | ((p >> 8) & 0xff)];
        b[i] = table[base | (p & 0xff)];
        a[i] = float(p >> 24) * kInv255;
    }
    if (space == Space::Encoded && premultiplied)
        for (int i = first; i < last; ++i) {
            r[i] *= a[i];
            g[i] *= a[i];
            b[i] *= a[i];
        }
}

namespace {

/// Writes n pixels of straight or premultiplied values. Opaque pixels (the bulk of photos)
/// take the exact byte table; the others the general formula.
template <bool straight, bool linear>
inline void encodeRow(const PixelRow &row, QRgb *__restrict out)
{
    const FilterContext &context = ZELGetCIContext();
    const float *__restrict r = row.r;
    const float *__restrict g = row.g;
    const float *__restrict b = row.b;
    const float *__restrict alpha = row.a;
    for (int i = 0; i < row.count; ++i) {
        const float a = std::clamp(alpha[i], 0.0f, 1.0f);
        const float a255 = a * 255.0f;
        const float alphaByte = std::floor(a255 + 0.5f);
        if (alphaByte <= 0.0f) {
            out[i] = 0;
            continue;
        }
        const float inv = straight ? 1.0f : 1.0f / a;
        if (linear && alphaByte == 255.0f) {
            out[i] = 0xff000000u | context.encodeOpaque(r[i] * inv) << 16 | context.encodeOpaque(g[i] * inv) << 8
                | context.encodeOpaque(b[i] * inv);
            continue;
        }
        auto channel = [&](float v) {
            const float u = v * inv;
            const float e = linear ? context.encodeFast(u) : std::clamp(u, 0.0f, 1.0f);
            return uint32_t(std::min(std::floor(e * a255 + 0.5f), alphaByte));
        };
        out[i] = uint32_t(alphaByte) << 24 | channel(r[i]) << 16 | channel(g[i]) << 8 | channel(b[i]);
    }
}

} // namespace

VIMORA_SIMD_CLONES
void encodeStraightRow(const PixelRow &row, Space space, QRgb *out)
{
    if (space == Space::Linear)
        encodeRow<true, true>(row, out);
    else
        encodeRow<true, false>(row, out);
}

VIMORA_SIMD_CLONES
void encodePremultipliedRow(const PixelRow &row, Space space, QRgb *out)
{
    if (space == Space::Linear)
        encodeRow<false, true>(row, out);
    else
        encodeRow<false, false>(row, out);
}

// --- warp ---------------------------------------------------------------------------------

namespace {

struct Bilinear
{
    float r, g, b, a;
    bool copy;   ///< the sample is one source pixel as stored
    QRgb stored; ///< that pixel when copy
};

/// Raw access to a source bitmap for the sampler (QImage's accessors are calls).
struct Source
{
    explicit Source(const QImage &image)
        : bits(image.constBits())
        , stride(image.bytesPerLine())
        , width(image.width())
        , height(image.height())
    {
    }
    QRgb at(int x, int y) const { return reinterpret_cast<const QRgb *>(bits + y * stride)[x]; }

    const uchar *bits;
    qsizetype stride;
    int width, height;
};

/// The bilinear sample at continuous raster position (u, v) (pixel centres on integers).
inline Bilinear bilinear(const Source &src, const float *table, float u, float v)
{
    if (!(u > -1.0f && u < float(src.width) && v > -1.0f && v < float(src.height)))
        return {0, 0, 0, 0, true, 0};
    const float fu = std::floor(u), fv = std::floor(v);
    const int ix = int(fu), iy = int(fv);
    const float fx = u - fu, fy = v - fv;
    if (fx == 0.0f && fy == 0.0f)
        return {0, 0, 0, 0, true, src.at(ix, iy)};
    QRgb p00, p10, p01, p11;
    if (ix >= 0 && iy >= 0 && ix + 1 < src.width && iy + 1 < src.height) {
        const QRgb *top = reinterpret_cast<const QRgb *>(src.bits + iy * src.stride) + ix;
        const QRgb *bottom = reinterpret_cast<const QRgb *>(reinterpret_cast<const uchar *>(top) + src.stride);
        p00 = top[0];
        p10 = top[1];
        p01 = bottom[0];
        p11 = bottom[1];
    } else {
        const bool left = ix >= 0, right = ix + 1 < src.width, up = iy >= 0, down = iy + 1 < src.height;
        p00 = left && up ? src.at(ix, iy) : 0;
        p10 = right && up ? src.at(ix + 1, iy) : 0;
        p01 = left && down ? src.at(ix, iy + 1) : 0;
        p11 = right && down ? src.at(ix + 1, iy + 1) : 0;
    }
    if (p00 == p10 && p00 == p01 && p00 == p11)
        return {0, 0, 0, 0, true, p00};
    const float w00 = (1 - fx) * (1 - fy), w10 = fx * (1 - fy), w01 = (1 - fx) * fy, w11 = fx * fy;
    const float *t00 = table + ((p00 >> 16) & 0xff00), *t10 = table + ((p10 >> 16) & 0xff00);
    const float *t01 = table + ((p01 >> 16) & 0xff00), *t11 = table + ((p11 >> 16) & 0xff00);
    auto channel = [&](int shift) {
        return w00 * t00[(p00 >> shift) & 0xff] + w10 * t10[(p10 >> shift) & 0xff] + w01 * t01[(p01 >> shift) & 0xff]
            + w11 * t11[(p11 >> shift) & 0xff];
    };
    const float a = (w00 * float(p00 >> 24) + w10 * float(p10 >> 24) + w01 * float(p01 >> 24)
                     + w11 * float(p11 >> 24))
        * kInv255;
    return {channel(16), channel(8), channel(0), a, false, 0};
}

} // namespace

VIMORA_SIMD_CLONES
void sampleRow(const QImage &image, const SourceRow &points, QRgb *out)
{
    const FilterContext &context = ZELGetCIContext();
    const float *table = context.linearPremultiplied();
    const Source src(image);
    const float h = float(src.height);
    for (int i = 0; i < points.count; ++i) {
        const Bilinear s = bilinear(src, table, points.x[i] - 0.5f, h - points.y[i] - 0.5f);
        out[i] = s.copy ? s.stored : encodePixel(context, s.r, s.g, s.b, s.a);
    }
}

VIMORA_SIMD_CLONES
void sampleRow(const QImage &image, const SourceRow &points, PixelRow &out)
{
    const FilterContext &context = ZELGetCIContext();
    const float *table = context.linearPremultiplied();
    const Source src(image);
    const float h = float(src.height);
    for (int i = 0; i < points.count; ++i) {
        const Bilinear s = bilinear(src, table, points.x[i] - 0.5f, h - points.y[i] - 0.5f);
        if (s.copy) {
            const QRgb p = s.stored;
            const uint32_t base = (p >> 16) & 0xff00;
            out.r[i] = table[base | ((p >> 16) & 0xff)];
            out.g[i] = table[base | ((p >> 8) & 0xff)];
            out.b[i] = table[base | (p & 0xff)];
            out.a[i] = float(p >> 24) * kInv255;
        } else {
            out.r[i] = s.r;
            out.g[i] = s.g;
            out.b[i] = s.b;
            out.a[i] = s.a;
        }
    }
}

// --- neighbourhood ------------------------------------------------------------------------

Window::Window(int count, int radius)
    : m_count(count)
    , m_radius(radius)
    , m_stride(count + 2 * radius)
    , m_rows(size_t(2 * radius + 1), std::vector<float>(size_t(count + 2 * radius) * 4))
{
}

namespace {

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
    for (float *plane : {row.r, row.g, row.b, row.a})
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

VIMORA_SIMD_CLONES
void firVertical(const float *in, float *out, int width, size_t inStride, const float *taps, int reach)
{
    // in points at the centre row; rows above and below are inStride apart.
    for (int x = 0; x < width; ++x)
        out[x] = taps[0] * in[x];
    for (int t = 1; t <= reach; ++t) {
        const float *up = in - size_t(t) * inStride;
        const float *down = in + size_t(t) * inStride;
        const float w = taps[t];
        for (int x = 0; x < width; ++x)
            out[x] += w * (up[x] + down[x]);
    }
}

VIMORA_SIMD_CLONES
void firHorizontal(const float *in, float *out, int width, const float *taps, int reach)
{
    // in points at the column facing out[0]; reach columns exist on both sides.
    for (int x = 0; x < width; ++x)
        out[x] = taps[0] * in[x];
    for (int t = 1; t <= reach; ++t) {
        const float w = taps[t];
        const float *left = in - t;
        const float *right = in + t;
        for (int x = 0; x < width; ++x)
            out[x] += w * (left[x] + right[x]);
    }
}

VIMORA_SIMD_CLONES
void boxVertical(const float *in, float *out, int width, int outRows, size_t stride, int radius, float *acc)
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

BlurBand::BlurBand(const QImage &src, Region region, double sigma)
    : m_src(src)
    , m_region(region)
{
    if (sigma <= kMaxFirSigma) {
        m_reach = blurReach(sigma);
        m_taps.resize(size_t(m_reach) + 1);
        double sum = 0;
        for (int t = 0; t <= m_reach; ++t) {
            const double w = sigma > 0 ? std::exp(-t * t / (2.0 * sigma * sigma)) : 1.0;
            m_taps[size_t(t)] = float(w);
            sum += t == 0 ? w : 2 * w;
        }
        for (float &w : m_taps)
            w = float(w / sum);
    } else {
        m_boxes = boxRadii(sigma);
        for (int r : m_boxes)
            m_reach += r;
    }
    m_inWidth = region.width + 2 * m_reach;
}

void BlurBand::compute(int first, int end)
{
    const int rows = end - first;
    m_bandRows = rows;
    m_inRows = rows + 2 * m_reach;
    const size_t inPlane = size_t(m_inRows) * size_t(m_inWidth);
    m_in.resize(inPlane * 4);
    m_out.resize(size_t(rows) * size_t(m_region.width) * 4);

    // Decode the band with its halo: region rows first - reach .. end + reach.
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
    if (m_boxes.empty()) {
        verticalFir(rows);
        horizontalFir(rows);
    } else {
        verticalBoxes(rows);
        horizontalBoxes(rows);
    }
}

void BlurBand::verticalFir(int rows)
{
    const size_t inPlane = size_t(m_inRows) * size_t(m_inWidth);
    const size_t midPlane = size_t(rows) * size_t(m_inWidth);
    m_mid.resize(midPlane * 4);
    for (int c = 0; c < 4; ++c)
        for (int k = 0; k < rows; ++k)
            firVertical(m_in.data() + c * inPlane + size_t(k + m_reach) * size_t(m_inWidth),
                        m_mid.data() + c * midPlane + size_t(k) * size_t(m_inWidth), m_inWidth, size_t(m_inWidth),
                        m_taps.data(), m_reach);
}

void BlurBand::horizontalFir(int rows)
{
    const size_t midPlane = size_t(rows) * size_t(m_inWidth);
    const size_t outPlane = size_t(rows) * size_t(m_region.width);
    for (int c = 0; c < 4; ++c)
        for (int k = 0; k < rows; ++k)
            firHorizontal(m_mid.data() + c * midPlane + size_t(k) * size_t(m_inWidth) + m_reach,
                          m_out.data() + c * outPlane + size_t(k) * size_t(m_region.width), m_region.width,
                          m_taps.data(), m_reach);
}

void BlurBand::verticalBoxes(int rows)
{
    // Three passes in place over m_in: each pass shortens the valid rows by 2 radius; the
    // result occupies the first `rows` rows of every plane.
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
    (void)rows;
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

PixelRow BlurBand::row(int k)
{
    const size_t outPlane = size_t(m_bandRows) * size_t(m_region.width);
    PixelRow row;
    row.r = m_out.data() + size_t(k) * size_t(m_region.width);
    row.g = row.r + outPlane;
    row.b = row.g + outPlane;
    row.a = row.b + outPlane;
    row.count = m_region.width;
    return row;
}

} // namespace vimora::kernels
