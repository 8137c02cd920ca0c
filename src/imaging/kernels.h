#pragma once

// The kernels our image service composes its named filters from: point, neighbourhood,
// inverse-mapping warp with bilinear sampling, and separable blur. Rules for all of them:
// - Image space is measured in pixels with the origin at the bottom-left and y up. A W x H
//   bitmap covers (0, 0, W, H); its raster pixel (i, j), row j counted from the top, is the
//   image point (i + 0.5, H - j - 0.5). Outside its bitmap a picture is transparent black.
// - A kernel renders a Region: an integral rectangle of image space. The result is a Raster of
//   the region's size whose pixel (i, j) is the image point (x + i + 0.5, y + height - j - 0.5).
// - Working values are floats 0..1 in linear light (or sRGB-encoded where a filter asks),
//   premultiplied unless a kernel says "straight". Values may leave 0..1 inside a filter;
//   writing clamps once, then rounds to nearest: colour = floor(encode(u) * a * 255 + 0.5),
//   never above alpha. Reading then writing any byte pair gives it back exactly.
// - Loops are row-parallel (parallelChunks); a null or empty input gives a null Raster.

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include <QImage>

#include "imaging/filter_context.h"
#include "imaging/parallel.h"

namespace vimora::kernels {

/// An integral rectangle of image space (y up).
struct Region
{
    int x = 0, y = 0, width = 0, height = 0;
    bool isEmpty() const { return width <= 0 || height <= 0; }
    bool operator==(const Region &) const = default;
};

inline Region regionOf(const QImage &bitmap) { return {0, 0, bitmap.width(), bitmap.height()}; }

/// Largest side a kernel renders; beyond it the result is "no picture" rather than an
/// allocation the machine cannot make.
inline constexpr int kMaxSide = 1 << 15;

enum class Space { Linear, Encoded };

/// One row of working values as structure of arrays, so per-pixel rules vectorise.
struct PixelRow
{
    float *r = nullptr, *g = nullptr, *b = nullptr, *a = nullptr;
    int count = 0;
    float x0 = 0; ///< image x of the first pixel centre
    float y = 0;  ///< image y of the row's pixel centres
};

/// One row of 16-bit premultiplied linear values (value / 65535 is the working float).
struct PixelRow16
{
    uint16_t *r = nullptr, *g = nullptr, *b = nullptr, *a = nullptr;
    int count = 0;
};

/// Owns the four planes of a PixelRow.
class RowBuffer
{
public:
    explicit RowBuffer(int count);
    PixelRow row;

private:
    std::vector<float> m_data;
};

/// Reads n pixels of source row `srcRow` starting at column `srcX` (either may lie outside the
/// bitmap: those pixels read as transparent). Straight or premultiplied values.
void decodeRow(const QImage &src, int srcRow, int srcX, Space space, bool premultiplied, PixelRow &row);
/// What decodeBiasedRow16 subtracts, so that samples fit signed 16-bit lanes.
inline constexpr int kBiasedSample = 32768;
/// Reads n pixels as decodeRow does, premultiplied linear, as 16-bit samples (the warps'
/// linearPremultiplied16, alpha x 257) less kBiasedSample, into four planes.
void decodeBiasedRow16(const QImage &src, int srcRow, int srcX, int n, int16_t *r, int16_t *g, int16_t *b, int16_t *a);
/// Writes a row of straight values; `row.a` supplies alpha.
void encodeStraightRow(const PixelRow &row, Space space, QRgb *out);
/// Writes a row of premultiplied values.
void encodePremultipliedRow(const PixelRow &row, Space space, QRgb *out);
/// Writes a row of 16-bit premultiplied linear values: the bytes encodePremultipliedRow gives
/// for value / 65535.
void encodePremultipliedRow16(const PixelRow16 &row, QRgb *out);

/// Row pointers of a Raster for parallel loops: QImage::scanLine detaches, which several
/// threads must not do at once.
struct RasterRows
{
    explicit RasterRows(QImage &image)
        : bits(image.bits())
        , stride(image.bytesPerLine())
    {
    }
    QRgb *operator[](int j) const { return reinterpret_cast<QRgb *>(bits + j * stride); }
    uchar *bits;
    qsizetype stride;
};

/// An empty Raster for a region, or null when the region is empty or too large.
QImage makeRegionRaster(Region region);

/// Calls fn(PixelRow &, QRgb *out) for every output row of the region with the source pixels
/// facing it already decoded.
template <typename Fn>
QImage forEachRegionRow(const QImage &src, Region region, Space space, bool premultiplied, Fn &&fn)
{
    if (src.isNull())
        return {};
    QImage out = makeRegionRaster(region);
    if (out.isNull())
        return {};
    const RasterRows rows(out);
    const int rowOffset = src.height() - region.y - region.height;
    parallelChunks(region.height, [&](int begin, int end) {
        RowBuffer buffer(region.width);
        for (int j = begin; j < end; ++j) {
            PixelRow &row = buffer.row;
            row.x0 = float(region.x) + 0.5f;
            row.y = float(region.y + region.height - j) - 0.5f;
            decodeRow(src, j + rowOffset, region.x, space, premultiplied, row);
            fn(row, rows[j]);
        }
    });
    return out;
}

/// Point kernel on straight colour: rowFn(PixelRow &) changes r, g, b (and may change a).
template <typename RowFn>
QImage mapStraight(const QImage &src, Region region, Space space, RowFn &&rowFn)
{
    return forEachRegionRow(src, region, space, false, [&](PixelRow &row, QRgb *out) {
        rowFn(row);
        encodeStraightRow(row, space, out);
    });
}

/// Point kernel on premultiplied values: rowFn(PixelRow &) may change all four components.
template <typename RowFn>
QImage mapPremultiplied(const QImage &src, Region region, Space space, RowFn &&rowFn)
{
    return forEachRegionRow(src, region, space, true, [&](PixelRow &row, QRgb *out) {
        rowFn(row);
        encodePremultipliedRow(row, space, out);
    });
}

/// Applies fn(float &r, float &g, float &b) to each pixel of a row (a plain, vectorisable loop).
template <typename Fn>
inline void eachPixel(PixelRow &row, Fn &&fn)
{
    float *__restrict r = row.r;
    float *__restrict g = row.g;
    float *__restrict b = row.b;
    for (int i = 0; i < row.count; ++i)
        fn(r[i], g[i], b[i]);
}

// --- warp ---------------------------------------------------------------------------------

/// Source points of one output row, image space. A point far outside the input reads transparent.
struct SourceRow
{
    float *x = nullptr, *y = nullptr;
    int count = 0;
    float x0 = 0; ///< image x of the first output pixel centre
    float y0 = 0; ///< image y of the output row
};

/// A warp's input in premultiplied linear light, 16 bits per channel, so that each bilinear tap
/// is one load. Samples points bilinearly in integers, the same on every instruction set: at
/// raster position (u, v) (pixel centres on integers) with ix = floor(u), fx = u - ix (floats)
/// and likewise iy, fy, the weights are X = floor(fx 2^15 + 1/2) and Y = floor(fy 2^15 + 1/2);
/// each column of taps is summed down, then the two columns across, each step
/// (p (2^15 - w) + q w + 2^14) >> 15, and the result reaches the caller as value / 65535. Taps
/// outside the bitmap are transparent; a point on a pixel centre reads that pixel alone, so
/// identity maps reproduce the input bit for bit. Rows are decoded in blocks the first time a sample needs them, by the thread that needs
/// them: the rows a band reads are then still in that core's cache, and rows no output pixel
/// reads are never decoded. A thread that finds a block being decoded by another one reads the
/// taps of the points facing it from the bitmap through the same table instead of waiting: the
/// same values.
class WarpSource
{
public:
    explicit WarpSource(const QImage &src);
    bool isNull() const { return m_width == 0; }
    void sample(const SourceRow &points, PixelRow &out) const;
    /// The same samples as 16-bit values (value / 65535 is what sample gives).
    void sample16(const SourceRow &points, PixelRow16 &out) const;

private:
    using Float4 = float __attribute__((vector_size(16)));
    static constexpr int kBlockRows = 8;
    enum BlockState : uint8_t { Pending, Decoding, Ready };
    /// Decodes every block of rows [first, last] not yet decoded; false when another thread is
    /// still decoding one of them.
    bool ensureRows(int first, int last) const;
    bool rowsReady(int first, int last) const;
    void decodeBlock(int block) const;

    QImage m_bitmap;
    const uint16_t *m_table = nullptr;
    int m_width = 0, m_height = 0;
    std::unique_ptr<uint16_t[]> m_pixels; ///< r, g, b, a per pixel, value x 65535
    std::unique_ptr<std::atomic<uint8_t>[]> m_blocks;
};

/// warpThen's post for a plain warp: the samples stay in 16 bits on their way to the encoder.
struct NoPost
{
};

/// 16-bit planes for a warp's rows, owned.
class RowBuffer16
{
public:
    explicit RowBuffer16(int count)
        : m_data(size_t(std::max(count, 0)) * 4)
    {
        const size_t n = size_t(std::max(count, 0));
        row = {m_data.data(), m_data.data() + n, m_data.data() + 2 * n, m_data.data() + 3 * n, count};
    }
    PixelRow16 row;

private:
    std::vector<uint16_t> m_data;
};

/// Inverse-mapping warp followed by a point rule on the sampled premultiplied values:
/// mapRow(SourceRow &) fills the source point of every output pixel, post(PixelRow &) may
/// change the samples.
template <typename MapRow, typename Post>
QImage warpThen(const QImage &src, Region region, MapRow &&mapRow, Post &&post)
{
    constexpr bool plain = std::is_same_v<std::decay_t<Post>, NoPost>;
    if (src.isNull())
        return {};
    QImage out = makeRegionRaster(region);
    if (out.isNull())
        return {};
    const RasterRows rows(out);
    const WarpSource source(src);
    if (source.isNull())
        return {};
    // Tiles of the output keep the source pixels they read in cache whatever the direction of
    // the mapping (a turned or sheared source row spans many rows of memory).
    constexpr int kTileRows = 32, kTileColumns = 256;
    parallelChunks(region.height, [&](int begin, int end) {
        std::vector<float> buffer(size_t(kTileColumns) * 2);
        RowBuffer values(plain ? 0 : kTileColumns);
        RowBuffer16 values16(plain ? kTileColumns : 0);
        SourceRow points{buffer.data(), buffer.data() + kTileColumns, 0, 0, 0};
        for (int top = begin; top < end; top += kTileRows)
            for (int left = 0; left < region.width; left += kTileColumns)
                for (int j = top; j < std::min(end, top + kTileRows); ++j) {
                    points.count = values.row.count = values16.row.count = std::min(kTileColumns, region.width - left);
                    points.x0 = values.row.x0 = float(region.x + left) + 0.5f;
                    points.y0 = values.row.y = float(region.y + region.height - j) - 0.5f;
                    mapRow(points);
                    if constexpr (plain) {
                        source.sample16(points, values16.row);
                        encodePremultipliedRow16(values16.row, rows[j] + left);
                    } else {
                        source.sample(points, values.row);
                        post(values.row);
                        encodePremultipliedRow(values.row, Space::Linear, rows[j] + left);
                    }
                }
    });
    return out;
}

/// Inverse-mapping warp: mapRow(SourceRow &) fills the source point of every output pixel.
template <typename MapRow>
QImage warp(const QImage &src, Region region, MapRow &&mapRow)
{
    return warpThen(src, region, std::forward<MapRow>(mapRow), NoPost{});
}

/// A warp whose source point is separable: output pixel (i, j) reads (columnX[i], rowY[j])
/// (image space, region.width and region.height entries). Runs of equal points are sampled
/// once and repeated, and a row facing the same source row as the one above is copied, so a
/// mosaic costs little more than writing its output; values are those warp() gives.
QImage separableWarp(const QImage &src, Region region, const std::vector<float> &columnX,
                     const std::vector<float> &rowY);

/// Copies the input's pixels facing output columns [first, end) of output row j (transparent
/// where the input has none).
void copyInputSpan(const QImage &src, Region region, int j, int first, int end, QRgb *out);

/// A warp that moves only the pixels of a disc (centre cx, cy, radius r, image space): the
/// rest of the output is the input itself, copied. mapRow sees only chords of the disc.
template <typename MapRow>
QImage warpDisc(const QImage &src, Region region, float cx, float cy, float r, MapRow &&mapRow)
{
    if (src.isNull())
        return {};
    QImage out = makeRegionRaster(region);
    if (out.isNull())
        return {};
    const RasterRows rows(out);
    const WarpSource source(src);
    if (source.isNull())
        return {};
    parallelChunks(region.height, [&](int begin, int end) {
        std::vector<float> buffer(size_t(region.width) * 2);
        RowBuffer16 values(region.width);
        SourceRow points{buffer.data(), buffer.data() + region.width, 0, 0, 0};
        for (int j = begin; j < end; ++j) {
            QRgb *row = rows[j];
            const float y = float(region.y + region.height - j) - 0.5f;
            const float dy = y - cy;
            // The chord, a pixel wider on each side; mapRow leaves points outside the disc alone.
            const float half = dy * dy < r * r ? std::sqrt(r * r - dy * dy) + 1.0f : -1.0f;
            const int first = half < 0 ? 0 : std::clamp(int(std::floor(cx - half)) - region.x, 0, region.width);
            const int last = half < 0 ? 0 : std::clamp(int(std::ceil(cx + half)) - region.x, first, region.width);
            copyInputSpan(src, region, j, 0, first, row);
            copyInputSpan(src, region, j, last, region.width, row);
            if (last <= first)
                continue;
            points.count = values.row.count = last - first;
            points.x0 = float(region.x + first) + 0.5f;
            points.y0 = y;
            mapRow(points);
            source.sample16(points, values.row);
            encodePremultipliedRow16(values.row, row + first);
        }
    });
    return out;
}

// --- neighbourhood ------------------------------------------------------------------------

/// Premultiplied linear rows around one output row: plane c (0 r, 1 g, 2 b, 3 a, and 4 the
/// Rec. 709 luminance of the straight colour) of row dy (-radius..radius, positive = lower on
/// screen) at column x (-radius..count + radius - 1).
class Window
{
public:
    Window(int count, int radius);
    float at(int channel, int dy, int x) const
    {
        return m_rows[size_t(dy + m_radius)][size_t(channel) * size_t(m_stride) + size_t(x + m_radius)];
    }
    const float *plane(int channel, int dy) const
    {
        return m_rows[size_t(dy + m_radius)].data() + size_t(channel) * size_t(m_stride) + m_radius;
    }
    int count() const { return m_count; }
    int radius() const { return m_radius; }

private:
    friend void loadWindow(const QImage &, int, Window &);
    static constexpr int kPlanes = 5;
    int m_count, m_radius, m_stride;
    int m_loadedRow = -2; ///< consecutive rows reuse all but one decoded row
    std::vector<std::vector<float>> m_rows;
};

/// Fills the window around raster row `row` of src, the picture's edge pixels repeated outward.
void loadWindow(const QImage &src, int row, Window &window);

/// Neighbourhood kernel over the input's own extent: rowFn(const Window &, PixelRow &out) gets
/// the premultiplied window around each row and fills the premultiplied output row.
template <typename RowFn>
QImage neighbourhood(const QImage &src, int radius, RowFn &&rowFn)
{
    if (src.isNull())
        return {};
    QImage out = makeRegionRaster(regionOf(src));
    if (out.isNull())
        return {};
    const RasterRows rows(out);
    parallelChunks(src.height(), [&](int begin, int end) {
        Window window(src.width(), radius);
        RowBuffer buffer(src.width());
        for (int j = begin; j < end; ++j) {
            loadWindow(src, j, window);
            buffer.row.x0 = 0.5f;
            buffer.row.y = float(src.height() - j) - 0.5f;
            rowFn(std::as_const(window), buffer.row);
            encodePremultipliedRow(buffer.row, Space::Linear, rows[j]);
        }
    });
    return out;
}

// --- separable blur -----------------------------------------------------------------------

/// How far a Gaussian of this sigma reaches: ceil(3 sigma).
int blurReach(double sigma);

/// The symmetric taps of a blur of this sigma, centre first (blurReach + 1 of them, summing to 1
/// with the outer ones counted twice); none for the wider blurs made of box passes.
std::vector<float> blurTaps(double sigma);

/// blurTaps in 16.16 fixed point: each outer tap x 65536 rounded to nearest, the centre taking
/// the rest so that they sum to exactly 65536 (the outer ones counted twice). The centre is
/// 65536 only when every outer tap rounds to 0, which makes the blur the identity.
std::vector<uint32_t> blurWeights(double sigma);

/// Gaussian blur of the input in premultiplied linear light (transparent outside its extent),
/// rendered over a region: combine(PixelRow &pixel, const PixelRow &blurred) gets each row of
/// the input's own values and of the blur, and leaves the result in pixel. Sigma up to 3 uses
/// exact taps in integers, the same on every instruction set: samples are the warps' 16-bit
/// linear values (linearPremultiplied16, alpha x 257), each pass, down then across, sums
/// weight x sample in 32 bits (blurWeights; at most 65535 x 65536) and rounds half up to 16
/// bits, (sum + 2^15) >> 16, and the blur reaches the combine as value / 65535. Wider blurs use
/// three float box passes of the same variance.
template <typename Combine>
QImage blurThen(const QImage &src, Region region, double sigma, Combine &&combine);

/// Non-template core of blurThen: the blur of a run of region rows, taken in order.
/// Exact taps stream: a ring holds the decoded input rows that the next few output rows need,
/// small enough to stay in the core's cache; those rows are blurred down together, then each
/// across as it is taken. Alpha that is exactly 65535 over a whole window is not summed: the
/// sums would give 65535 back. Box passes work on bands of rows with their halo.
class BlurBand
{
public:
    BlurBand(const QImage &src, Region region, double sigma);
    /// Starts the run of region rows [first, end).
    void start(int first, int end);
    /// The blur of the run's next row (valid until the next call).
    PixelRow next();
    /// The same in 16 bits, for exact taps only (sigma up to 3).
    PixelRow16 next16();
    /// A writable copy of the input's own values of the row last taken, when the blur left them
    /// intact.
    bool keepsInput() const { return m_boxes.empty(); }
    /// Rows worth blurring together: a run shorter than this decodes its halo more than once.
    int bandRows() const;
    PixelRow input();
    PixelRow16 input16();

private:
    int ringIndex(int row) const;
    int16_t *ringSlot(int row);
    void decodeIntoRing(int row);
    void blurDown(int first, int rows);
    void blurAcross();
    void computeBoxes(int first, int end);
    void verticalBoxes();
    void horizontalBoxes(int rows);

    const QImage &m_src;
    Region m_region;
    std::vector<uint32_t> m_weights; ///< symmetric fixed-point taps, centre first; empty for box passes
    std::vector<uint32_t> m_pairs;   ///< the same as pairs of 16-bit weights for a multiply-add
    std::vector<int> m_boxes;  ///< box radii of the three passes
    int m_reach = 0;
    int m_inWidth = 0;
    int m_first = 0, m_end = 0, m_next = 0; ///< the run, and its next row
    int m_bandFirst = 0, m_bandRows = 0;    ///< the rows blurred down (or boxed) and not yet all taken
    int m_inRows = 0;                       ///< input rows of the box passes' band, halo included
    std::vector<float> m_in, m_mid, m_out, m_input;     ///< box passes (m_out, m_input: both)
    std::vector<int16_t> m_ring, m_down, m_across;      ///< exact taps' rows, 16 bits less 32768
    std::vector<uint16_t> m_plain, m_input16;           ///< next16 and input16
    std::vector<const int16_t *> m_window; ///< ring rows facing the rows blurred down, top first
    /// Columns [first, end) of a decoded row whose alpha is exactly 65535; empty when none.
    struct OpaqueSpan
    {
        int first = 0, end = 0;
    };
    static OpaqueSpan opaqueRun16(const int16_t *alpha, int count);
    std::vector<OpaqueSpan> m_opaque; ///< per ring slot
    OpaqueSpan m_downOpaque;          ///< opaque in every input row of the rows blurred down
};

template <typename Combine>
QImage blurThen(const QImage &src, Region region, double sigma, Combine &&combine)
{
    if (src.isNull())
        return {};
    QImage out = makeRegionRaster(region);
    if (out.isNull())
        return {};
    const RasterRows rows(out);
    const int rowOffset = src.height() - region.y - region.height;
    // Chunks long enough that the halo each one decodes again stays a small share.
    const int chunk = std::max(128, BlurBand(src, region, sigma).bandRows());
    parallelChunks(
        region.height,
        [&](int begin, int end) {
            BlurBand band(src, region, sigma);
            RowBuffer pixel(region.width);
            band.start(begin, end);
            for (int j = begin; j < end; ++j) {
                const PixelRow blurred = band.next();
                PixelRow values = pixel.row;
                if (band.keepsInput())
                    values = band.input();
                else
                    decodeRow(src, j + rowOffset, region.x, Space::Linear, true, values);
                values.x0 = float(region.x) + 0.5f;
                values.y = float(region.y + region.height - j) - 0.5f;
                combine(values, blurred);
                encodePremultipliedRow(values, Space::Linear, rows[j]);
            }
        },
        chunk);
    return out;
}

/// blurThen in 16 bits throughout, for sigma up to 3 (null beyond): combine(PixelRow16 &pixel,
/// const PixelRow16 &blurred) gets each row of the input's own 16-bit values and of the blur,
/// and leaves the result in pixel.
template <typename Combine16>
QImage blurThen16(const QImage &src, Region region, double sigma, Combine16 &&combine)
{
    if (src.isNull() || blurTaps(sigma).empty())
        return {};
    QImage out = makeRegionRaster(region);
    if (out.isNull())
        return {};
    const RasterRows rows(out);
    constexpr int kChunk = 128;
    parallelChunks(
        region.height,
        [&](int begin, int end) {
            BlurBand band(src, region, sigma);
            band.start(begin, end);
            for (int j = begin; j < end; ++j) {
                const PixelRow16 blurred = band.next16();
                PixelRow16 values = band.input16();
                combine(values, blurred);
                encodePremultipliedRow16(values, rows[j]);
            }
        },
        kChunk);
    return out;
}

} // namespace vimora::kernels
