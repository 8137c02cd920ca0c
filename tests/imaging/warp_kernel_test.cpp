#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <random>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/filter_context.h"
#include "imaging/image_service.h"
#include "imaging/kernels.h"
#include "imaging/vector_math.h"
#include "pixel_test_support.h"

using namespace vimora;
using namespace vimora::kernels;

namespace {

/// The mosaic through the general warp, one point per pixel: what the separable form must match.
QImage generalWarp(const QImage &src, Region region, const std::vector<float> &xs, const std::vector<float> &ys)
{
    return warp(src, region, [&](SourceRow &row) {
        const int j = region.y + region.height - int(std::floor(row.y0));
        const int left = int(std::floor(row.x0)) - region.x;
        for (int i = 0; i < row.count; ++i) {
            row.x[i] = xs[size_t(left + i)];
            row.y[i] = ys[size_t(j - 1)];
        }
    });
}

/// The blur in float as it was summed before the fixed-point sums: every input row decoded once
/// with its halo, then the symmetric sums down and across, centre first, one pixel at a time.
QImage floatBlur(const QImage &src, Region region, double sigma)
{
    const std::vector<float> taps = blurTaps(sigma);
    const int reach = int(taps.size()) - 1;
    const int w = region.width + 2 * reach, h = region.height + 2 * reach;
    std::vector<float> in(size_t(w) * size_t(h) * 4), down(size_t(w) * size_t(region.height) * 4);
    auto at = [](std::vector<float> &v, int width, int c, int x, int y) -> float & {
        return v[(size_t(y) * size_t(width) + size_t(x)) * 4 + size_t(c)];
    };
    RowBuffer decoded(w);
    for (int y = 0; y < h; ++y) {
        decodeRow(src, src.height() - region.y - region.height - reach + y, region.x - reach, Space::Linear, true,
                  decoded.row);
        const float *planes[4] = {decoded.row.r, decoded.row.g, decoded.row.b, decoded.row.a};
        for (int c = 0; c < 4; ++c)
            for (int x = 0; x < w; ++x)
                at(in, w, c, x, y) = planes[c][x];
    }
    for (int y = 0; y < region.height; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 4; ++c) {
                float v = taps[0] * at(in, w, c, x, y + reach);
                for (int t = 1; t <= reach; ++t)
                    v += taps[size_t(t)] * (at(in, w, c, x, y + reach - t) + at(in, w, c, x, y + reach + t));
                at(down, w, c, x, y) = v;
            }
    QImage out(region.width, region.height, QImage::Format_ARGB32_Premultiplied);
    RowBuffer blurred(region.width);
    for (int y = 0; y < region.height; ++y) {
        float *planes[4] = {blurred.row.r, blurred.row.g, blurred.row.b, blurred.row.a};
        for (int x = 0; x < region.width; ++x)
            for (int c = 0; c < 4; ++c) {
                float v = taps[0] * at(down, w, c, x + reach, y);
                for (int t = 1; t <= reach; ++t)
                    v += taps[size_t(t)] * (at(down, w, c, x + reach - t, y) + at(down, w, c, x + reach + t, y));
                planes[c][x] = v;
            }
        encodePremultipliedRow(blurred.row, Space::Linear, reinterpret_cast<QRgb *>(out.scanLine(y)));
    }
    return out;
}

/// The blur as its header states it, in plain scalar loops over the whole region: 16-bit
/// samples, 32-bit sums of weight x sample down then across, each rounded half up to 16 bits.
/// Value c of pixel (x, y) at [(y width + x) 4 + c].
std::vector<uint16_t> plainBlur16(const QImage &src, Region region, double sigma)
{
    const std::vector<uint32_t> weights = blurWeights(sigma);
    const int reach = int(weights.size()) - 1;
    const int w = region.width + 2 * reach, h = region.height + 2 * reach;
    const uint16_t *table = ZELGetCIContext().linearPremultiplied16();
    // The samples of the region with its halo; row 0 faces image y region.y + height + reach.
    std::vector<uint32_t> samples(size_t(w) * size_t(h) * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int sx = region.x - reach + x, sy = src.height() - region.y - region.height - reach + y;
            if (sx < 0 || sy < 0 || sx >= src.width() || sy >= src.height())
                continue;
            const QRgb p = src.pixel(sx, sy);
            for (int c = 0; c < 4; ++c)
                samples[(size_t(y) * size_t(w) + size_t(x)) * 4 + size_t(c)] =
                    c == 3 ? uint32_t(qAlpha(p)) * 257u : table[FilterContext::pixelIndex(qAlpha(p), test::channelOf(p, c))];
        }
    auto sample = [&](int x, int y, int c) { return samples[(size_t(y) * size_t(w) + size_t(x)) * 4 + size_t(c)]; };
    auto rounded = [](uint32_t sum) { return (sum + 0x8000u) >> 16; };
    std::vector<uint32_t> down(size_t(w) * size_t(region.height) * 4);
    for (int y = 0; y < region.height; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 4; ++c) {
                uint32_t v = weights[0] * sample(x, y + reach, c);
                for (int t = 1; t <= reach; ++t)
                    v += weights[size_t(t)] * (sample(x, y + reach - t, c) + sample(x, y + reach + t, c));
                down[(size_t(y) * size_t(w) + size_t(x)) * 4 + size_t(c)] = rounded(v);
            }
    auto downAt = [&](int x, int y, int c) { return down[(size_t(y) * size_t(w) + size_t(x)) * 4 + size_t(c)]; };
    std::vector<uint16_t> out(size_t(region.width) * size_t(region.height) * 4);
    for (int y = 0; y < region.height; ++y)
        for (int x = 0; x < region.width; ++x)
            for (int c = 0; c < 4; ++c) {
                uint32_t v = weights[0] * downAt(x + reach, y, c);
                for (int t = 1; t <= reach; ++t)
                    v += weights[size_t(t)] * (downAt(x + reach - t, y, c) + downAt(x + reach + t, y, c));
                out[(size_t(y) * size_t(region.width) + size_t(x)) * 4 + size_t(c)] = uint16_t(rounded(v));
            }
    return out;
}

/// The plain blur's values as the float encoder writes them.
QImage plainBlur(const QImage &src, Region region, double sigma)
{
    const std::vector<uint16_t> values = plainBlur16(src, region, sigma);
    QImage out(region.width, region.height, QImage::Format_ARGB32_Premultiplied);
    RowBuffer blurred(region.width);
    for (int y = 0; y < region.height; ++y) {
        float *planes[4] = {blurred.row.r, blurred.row.g, blurred.row.b, blurred.row.a};
        for (int x = 0; x < region.width; ++x)
            for (int c = 0; c < 4; ++c)
                planes[c][x] = float(values[(size_t(y) * size_t(region.width) + size_t(x)) * 4 + size_t(c)])
                    * (1.0f / 65535.0f);
        encodePremultipliedRow(blurred.row, Space::Linear, reinterpret_cast<QRgb *>(out.scanLine(y)));
    }
    return out;
}

/// The kernel's own 16-bit values in the plain blur's layout, taken as two runs of rows (split
/// at `split`), as two threads take them.
std::vector<uint16_t> kernelBlur16(const QImage &src, Region region, double sigma, int split)
{
    std::vector<uint16_t> out(size_t(region.width) * size_t(region.height) * 4);
    BlurBand band(src, region, sigma);
    for (const auto &[first, end] : {std::pair{0, split}, std::pair{split, region.height}}) {
        band.start(first, end);
        for (int y = first; y < end; ++y) {
            const PixelRow16 row = band.next16();
            const uint16_t *planes[4] = {row.r, row.g, row.b, row.a};
            for (int x = 0; x < region.width; ++x)
                for (int c = 0; c < 4; ++c)
                    out[(size_t(y) * size_t(region.width) + size_t(x)) * 4 + size_t(c)] = planes[c][x];
        }
    }
    return out;
}

/// The largest difference of any channel of two pictures of one size.
int largestStep(const QImage &a, const QImage &b)
{
    int step = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            for (int c = 0; c < 4; ++c)
                step = std::max(step, std::abs(test::channelOf(a.pixel(x, y), c) - test::channelOf(b.pixel(x, y), c)));
    return step;
}

/// The blur alone, written over the input's own values (as a combine may).
QImage blurOf(const QImage &src, Region region, double sigma)
{
    return blurThen(src, region, sigma, [](PixelRow &pixel, const PixelRow &blur) {
        std::copy_n(blur.r, pixel.count, pixel.r);
        std::copy_n(blur.g, pixel.count, pixel.g);
        std::copy_n(blur.b, pixel.count, pixel.b);
        std::copy_n(blur.a, pixel.count, pixel.a);
    });
}

/// Opaque noise, as a photo is, with a translucent hole, a transparent column and a
/// transparent frame around the whole.
QImage photoLike(int w, int h)
{
    QImage image = test::noisyRaster(w, h, 11, true);
    const QImage hole = test::noisyRaster(w, h, 12);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (x > w / 3 && x < w / 3 + 9 && y > h / 2 && y < h / 2 + 5)
                image.setPixel(x, y, hole.pixel(x, y));
            if (x == 2 * w / 3 && y < h / 4)
                image.setPixel(x, y, 0);
        }
    return image;
}

} // namespace

TEST(Blur, MatchesThePlainSumsBitForBit)
{
    // Pictures taller than a thread's chunk of rows, regions inside and past every edge, widths
    // that leave a tail after whole vectors; translucent noise, and a photo-like picture whose
    // opaque rows take the known alpha instead of its sums.
    const std::vector<QImage> pictures = {test::noisyRaster(77, 150, 5), photoLike(90, 140)};
    for (const QImage &src : pictures)
        for (const double sigma : {0.0, 0.8, 3.0})
            for (const Region region : {regionOf(src), Region{-9, -9, src.width() + 18, src.height() + 18},
                                        Region{5, 3, src.width() - 17, src.height() - 8}}) {
                const QImage fast = blurOf(src, region, sigma);
                ASSERT_FALSE(fast.isNull());
                EXPECT_EQ(fast, plainBlur(src, region, sigma))
                    << src.width() << " wide, sigma " << sigma << ", region at " << region.x << ", " << region.y;
                // The 16-bit values themselves, before the encoder could hide a step.
                EXPECT_EQ(kernelBlur16(src, region, sigma, region.height / 3), plainBlur16(src, region, sigma))
                    << src.width() << " wide, sigma " << sigma << ", region at " << region.x << ", " << region.y;
            }
}

TEST(Blur, StaysWithinALevelOfTheFloatSums)
{
    // The 16-bit samples and the rounding of each pass move a byte by one level at most.
    for (const QImage &src : {test::noisyRaster(64, 48, 21), photoLike(80, 60)})
        for (const double sigma : {0.8, 2.0, 3.0}) {
            const int reach = blurReach(sigma);
            const Region region{-reach, -reach, src.width() + 2 * reach, src.height() + 2 * reach};
            EXPECT_LE(largestStep(blurOf(src, region, sigma), floatBlur(src, region, sigma)), 1) << "sigma " << sigma;
        }
}

TEST(Blur, WeightsSumToExactlyOneSoFlatPicturesStayFlat)
{
    for (const double sigma : {0.0, 0.05, 0.3, 0.8, 1.7, 3.0}) {
        const std::vector<uint32_t> w = blurWeights(sigma);
        ASSERT_EQ(w.size(), size_t(blurReach(sigma)) + 1);
        uint32_t sum = w[0];
        for (size_t t = 1; t < w.size(); ++t)
            sum += 2 * w[t];
        EXPECT_EQ(sum, 65536u) << "sigma " << sigma;
    }
    EXPECT_TRUE(blurWeights(4.0).empty());
    // Every opaque level, interior pixels blurred, comes back unchanged.
    QImage flat(64, 40, QImage::Format_ARGB32_Premultiplied);
    for (int level = 0; level < 256; level += 17) {
        flat.fill(qRgba(level, 255 - level, level / 2, 255));
        const QImage out = blurOf(flat, {10, 10, 44, 20}, 3.0);
        EXPECT_EQ(out.pixel(20, 10), flat.pixel(0, 0)) << "level " << level;
    }
}

TEST(Blur, OfOnePixelOrOneLineMatchesThePlainSums)
{
    for (const QSize size : {QSize(1, 1), QSize(1, 40), QSize(40, 1), QSize(3, 2)}) {
        const QImage src = test::noisyRaster(size.width(), size.height(), 4, true);
        const int reach = blurReach(3.0);
        for (const Region region : {regionOf(src), Region{-reach, -reach, size.width() + 2 * reach,
                                                          size.height() + 2 * reach}}) {
            const QImage fast = blurOf(src, region, 3.0);
            ASSERT_FALSE(fast.isNull());
            EXPECT_EQ(fast, plainBlur(src, region, 3.0)) << size.width() << " x " << size.height();
        }
    }
}

TEST(Blur, HandsTheCombineTheInputsOwnValues)
{
    // Each row's input, untouched by the rows blurred before it: passed through, it comes back.
    const QImage src = test::noisyRaster(45, 140, 8);
    const QImage out = blurThen(src, regionOf(src), 2.0, [](PixelRow &, const PixelRow &) {});
    EXPECT_EQ(out, src.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

TEST(Blur, OfAnOpaquePictureIsOpaqueInsideAndFadesAtItsEdges)
{
    const QImage src = test::noisyRaster(70, 40, 9, true);
    const int reach = blurReach(3.0);
    const QImage out = blurOf(src, {-reach, -reach, 70 + 2 * reach, 40 + 2 * reach}, 3.0);
    ASSERT_FALSE(out.isNull());
    EXPECT_EQ(qAlpha(out.pixel(reach + 35, reach + 20)), 255);
    EXPECT_LT(qAlpha(out.pixel(reach, reach + 20)), 192);
    EXPECT_LT(qAlpha(out.pixel(reach + 35, 0)), 8);
}

TEST(SeparableWarp, MatchesTheGeneralWarpBitForBit)
{
    // Translucent noise; a region reaching past every edge; cells whose centres fall on pixel
    // centres, between pixels and outside the bitmap; runs of one pixel and of many.
    const QImage src = test::noisyRaster(37, 23, 7);
    const Region region{-5, -4, 50, 33};
    for (const double side : {1.0, 3.0, 4.5, 8.0}) {
        for (const double cx : {0.5, 2.25, -3.0}) {
            std::vector<float> xs(size_t(region.width)), ys(size_t(region.height));
            auto centre = [&](double c, double p) { return float(c + std::floor((p - c) / side + 0.5) * side); };
            for (int i = 0; i < region.width; ++i)
                xs[size_t(i)] = centre(cx, region.x + i + 0.5);
            for (int j = 0; j < region.height; ++j)
                ys[size_t(j)] = centre(cx + 1.25, region.y + region.height - j - 0.5);
            const QImage fast = separableWarp(src, region, xs, ys);
            const QImage general = generalWarp(src, region, xs, ys);
            ASSERT_FALSE(fast.isNull());
            EXPECT_EQ(fast, general) << "side " << side << ", centre " << cx;
        }
    }
}

TEST(SeparableWarp, RefusesMismatchedMaps)
{
    const QImage src = test::noisyRaster(8, 8, 3);
    EXPECT_TRUE(separableWarp(src, {0, 0, 8, 8}, std::vector<float>(7), std::vector<float>(8)).isNull());
    EXPECT_TRUE(separableWarp(QImage(), {0, 0, 8, 8}, std::vector<float>(8), std::vector<float>(8)).isNull());
}

// --- sampling ---------------------------------------------------------------------------------

namespace {

/// Points that exercise every case of the sampler: pixel centres, fractions, the last row and
/// column, the edges of row blocks, just outside each side, far outside, and the plain interior.
std::vector<std::pair<float, float>> awkwardPoints(int w, int h, uint32_t seed)
{
    std::vector<std::pair<float, float>> points;
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> x(-2.0f, float(w) + 2.0f), y(-2.0f, float(h) + 2.0f);
    for (int k = 0; k < 400; ++k)
        points.push_back({x(random), y(random)});
    for (const float px : {0.5f, 0.75f, 1.0f, float(w) - 0.5f, float(w) - 0.25f, float(w), -0.5f, -1e9f, 3.5f})
        for (const float py : {0.5f, 0.9f, float(h) - 0.5f, float(h) - 8.5f, float(h) - 8.0f, float(h), -0.75f, 1e9f, 7.25f})
            points.push_back({px, py});
    return points;
}

/// A tap of the 16-bit table, transparent outside the bitmap.
int referenceTap(const QImage &src, int i, int j, int c)
{
    if (i < 0 || j < 0 || i >= src.width() || j >= src.height())
        return 0;
    const uint16_t *table = ZELGetCIContext().linearPremultiplied16();
    const QRgb p = src.pixel(i, j);
    const int a = qAlpha(p);
    const int colour = c == 0 ? qRed(p) : c == 1 ? qGreen(p) : qBlue(p);
    return c == 3 ? a * 257 : table[FilterContext::pixelIndex(a, colour)];
}

/// The sampling rule of kernels.h, one channel at a time in plain integers: weights of 2^15
/// rounded half up, each column summed down, then across, each step rounded half up.
std::array<float, 4> referenceSample(const QImage &src, float x, float y)
{
    const float u = x - 0.5f, v = float(src.height()) - y - 0.5f;
    std::array<float, 4> out{};
    if (!(u > -1.0f && u < float(src.width()) && v > -1.0f && v < float(src.height())))
        return out;
    const int ix = int(std::floor(u)), iy = int(std::floor(v));
    const int64_t wx = int64_t(std::floor(double(u - float(ix)) * 32768 + 0.5));
    const int64_t wy = int64_t(std::floor(double(v - float(iy)) * 32768 + 0.5));
    auto step = [](int64_t p, int64_t q, int64_t w) { return (p * (32768 - w) + q * w + 16384) / 32768; };
    for (int c = 0; c < 4; ++c) {
        const int64_t left = step(referenceTap(src, ix, iy, c), referenceTap(src, ix, iy + 1, c), wy);
        const int64_t right = step(referenceTap(src, ix + 1, iy, c), referenceTap(src, ix + 1, iy + 1, c), wy);
        out[size_t(c)] = float(int(step(left, right, wx))) * (1.0f / 65535.0f);
    }
    return out;
}

/// The float sampling the warps used before the integer rule: the four taps weighted in the
/// order top-left, top-right, bottom-left, bottom-right, scaled to 0..1.
std::array<float, 4> floatSample(const QImage &src, float x, float y)
{
    const float u = x - 0.5f, v = float(src.height()) - y - 0.5f;
    std::array<float, 4> out{};
    if (!(u > -1.0f && u < float(src.width()) && v > -1.0f && v < float(src.height())))
        return out;
    const int ix = int(std::floor(u)), iy = int(std::floor(v));
    const float fx = u - float(ix), fy = v - float(iy), gx = 1 - fx, gy = 1 - fy;
    for (int c = 0; c < 4; ++c) {
        float value = float(referenceTap(src, ix, iy, c)) * (gx * gy);
        value += float(referenceTap(src, ix + 1, iy, c)) * (fx * gy);
        value += float(referenceTap(src, ix, iy + 1, c)) * (gx * fy);
        value += float(referenceTap(src, ix + 1, iy + 1, c)) * (fx * fy);
        out[size_t(c)] = value * (1.0f / 65535.0f);
    }
    return out;
}

/// Samples a list of points as rows of `per` points.
std::vector<float> sampleAll(const WarpSource &source, const std::vector<std::pair<float, float>> &points,
                             const std::vector<int> &rowOrder, int per)
{
    std::vector<float> out(points.size() * 4);
    std::vector<float> xs(static_cast<size_t>(per)), ys(static_cast<size_t>(per));
    RowBuffer values(per);
    for (const int row : rowOrder) {
        const int first = row * per;
        const int count = std::min(per, int(points.size()) - first);
        for (int i = 0; i < count; ++i) {
            xs[size_t(i)] = points[size_t(first + i)].first;
            ys[size_t(i)] = points[size_t(first + i)].second;
        }
        SourceRow sources{xs.data(), ys.data(), count, 0, 0};
        values.row.count = count;
        source.sample(sources, values.row);
        for (int i = 0; i < count; ++i) {
            out[size_t(first + i) * 4 + 0] = values.row.r[i];
            out[size_t(first + i) * 4 + 1] = values.row.g[i];
            out[size_t(first + i) * 4 + 2] = values.row.b[i];
            out[size_t(first + i) * 4 + 3] = values.row.a[i];
        }
    }
    return out;
}

} // namespace

TEST(WarpSource, SamplesFollowTheIntegerRuleBitForBit)
{
    // The suite runs with and without the AVX2 forms: both must give these values exactly, on
    // a translucent picture and on an opaque one with extreme neighbours (the largest sums).
    QImage extremes(29, 23, QImage::Format_ARGB32_Premultiplied);
    for (int j = 0; j < extremes.height(); ++j)
        for (int i = 0; i < extremes.width(); ++i)
            extremes.setPixel(i, j, (i + j) % 2 ? 0xffffffffu : (i % 3 ? 0xff000000u : 0x00000000u));
    for (const QImage &src : {test::noisyRaster(45, 37, 11), extremes}) {
        auto points = awkwardPoints(src.width(), src.height(), 5);
        // Fractions just below a whole pixel, where the weight rounds up to the full 2^15.
        for (int k = 0; k < 40; ++k)
            points.push_back({1.5f + float(k % 20) - 1e-5f, 2.5f + float(k / 2) - 1e-5f});
        const WarpSource source(src);
        std::vector<int> rows;
        for (int r = 0; r * 7 < int(points.size()); ++r)
            rows.push_back(r);
        const std::vector<float> got = sampleAll(source, points, rows, 7);
        for (size_t k = 0; k < points.size(); ++k) {
            const auto expected = referenceSample(src, points[k].first, points[k].second);
            for (int c = 0; c < 4; ++c)
                ASSERT_EQ(got[k * 4 + size_t(c)], expected[size_t(c)])
                    << "point " << points[k].first << ", " << points[k].second << " channel " << c;
        }
    }
}

TEST(WarpSource, StaysWithinALevelOfTheFloatSampling)
{
    // Written out, the integer rule and the float sums it replaced differ by one step at most.
    const QImage src = test::noisyRaster(120, 90, 23);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> x(-1.0f, 121.0f), y(-1.0f, 91.0f);
    constexpr int kPer = 256;
    std::vector<std::pair<float, float>> points;
    for (int k = 0; k < 40 * kPer; ++k)
        points.push_back({x(random), y(random)});
    std::vector<int> order;
    for (int r = 0; r * kPer < int(points.size()); ++r)
        order.push_back(r);
    const std::vector<float> got = sampleAll(WarpSource(src), points, order, kPer);
    RowBuffer ours(1), theirs(1);
    int changed = 0;
    for (size_t k = 0; k < points.size(); ++k) {
        const auto before = floatSample(src, points[k].first, points[k].second);
        PixelRow *rows[2] = {&ours.row, &theirs.row};
        for (int side = 0; side < 2; ++side) {
            PixelRow &row = *rows[side];
            row.count = 1;
            row.r[0] = side ? before[0] : got[k * 4];
            row.g[0] = side ? before[1] : got[k * 4 + 1];
            row.b[0] = side ? before[2] : got[k * 4 + 2];
            row.a[0] = side ? before[3] : got[k * 4 + 3];
        }
        QRgb a = 0, b = 0;
        encodePremultipliedRow(ours.row, Space::Linear, &a);
        encodePremultipliedRow(theirs.row, Space::Linear, &b);
        for (const int shift : {0, 8, 16, 24}) {
            const int d = std::abs(int((a >> shift) & 0xff) - int((b >> shift) & 0xff));
            ASSERT_LE(d, 1) << "point " << points[k].first << ", " << points[k].second;
            changed += d;
        }
    }
    // Most values are unchanged: a sign the rule is not off by a systematic step.
    EXPECT_LT(changed, int(points.size()) / 20);
}

TEST(WarpSource, ThreadsSharingOneSourceSampleWhatOneThreadDoes)
{
    // Rows are decoded on first use by whichever thread needs them; a thread that meets a row
    // another is decoding reads the bitmap meanwhile. Every order and interleaving must give
    // the same floats.
    const QImage src = test::noisyRaster(300, 203, 17);
    auto points = awkwardPoints(src.width(), src.height(), 9);
    std::mt19937 random(3);
    std::uniform_real_distribution<float> x(0.0f, 300.0f), y(0.0f, 203.0f);
    for (int k = 0; k < 20000; ++k)
        points.push_back({x(random), y(random)});
    constexpr int kPer = 64;
    std::vector<int> order;
    for (int r = 0; r * kPer < int(points.size()); ++r)
        order.push_back(r);
    const std::vector<float> expected = sampleAll(WarpSource(src), points, order, kPer);

    for (int attempt = 0; attempt < 3; ++attempt) {
        const WarpSource shared(src);
        std::vector<std::vector<float>> results(4);
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t)
            threads.emplace_back([&, t] {
                std::vector<int> mine = order;
                if (t % 2)
                    std::reverse(mine.begin(), mine.end());
                if (t >= 2)
                    std::shuffle(mine.begin(), mine.end(), std::mt19937(uint32_t(t + attempt)));
                results[size_t(t)] = sampleAll(shared, points, mine, kPer);
            });
        for (std::thread &thread : threads)
            thread.join();
        for (const auto &result : results)
            ASSERT_EQ(std::memcmp(result.data(), expected.data(), expected.size() * sizeof(float)), 0);
    }
}

// --- the maps' float functions ------------------------------------------------------------------

TEST(VectorMath, SineAndCosineStayWithinAFewStepsOfTheLibraryInEveryOctant)
{
    for (double x = -120.0; x <= 120.0; x += 0.0137) {
        float s, c;
        vecmath::sinCos(float(x), s, c);
        ASSERT_NEAR(s, std::sin(double(float(x))), 3e-7) << x;
        ASSERT_NEAR(c, std::cos(double(float(x))), 3e-7) << x;
    }
    for (int k = -16; k <= 16; ++k) { // octant boundaries
        const float x = float(k * std::numbers::pi / 4);
        float s, c;
        vecmath::sinCos(x, s, c);
        ASSERT_NEAR(s, std::sin(double(x)), 3e-7) << k;
        ASSERT_NEAR(c, std::cos(double(x)), 3e-7) << k;
    }
    for (float x = 1000.0f; x <= vecmath::kSinCosLimit; x *= 1.37f) {
        float s, c;
        vecmath::sinCos(-x, s, c);
        ASSERT_NEAR(s, std::sin(-double(x)), 2e-6) << x;
        ASSERT_NEAR(c, std::cos(-double(x)), 2e-6) << x;
    }
}

TEST(VectorMath, LogarithmAndExponentialAreCloseAndTheExponentialStaysFiniteAndPositive)
{
    for (double x = 1e-30; x <= 4.0; x *= 1.013) {
        const float v = float(x);
        ASSERT_NEAR(vecmath::logPositive(v), std::log(double(v)), 2e-7 * std::max(1.0, std::abs(std::log(double(v)))))
            << x;
    }
    for (double x = -87.0; x <= 88.0; x += 0.0731) {
        const double expected = std::exp(double(float(x)));
        ASSERT_NEAR(vecmath::expBounded(float(x)), expected, 4e-7 * expected) << x;
    }
    // Beyond its limits the exponential is the limit's value, never a wrapped exponent.
    for (const float x : {100.0f, 1e4f, 1e30f}) {
        EXPECT_EQ(vecmath::expBounded(x), vecmath::expBounded(88.0f));
        EXPECT_EQ(vecmath::expBounded(-x), vecmath::expBounded(-87.0f));
    }
    EXPECT_GT(vecmath::expBounded(-87.0f), 0.0f);
    EXPECT_TRUE(std::isfinite(vecmath::expBounded(88.0f)));
}

TEST(WarpMaps, PinchFarBeyondItsSliderShrinksTheDiscToItsCentreOrEmptiesIt)
{
    // Red grows with the distance from the centre (60, 60). A strength of -40 reads every point
    // well inside the disc from the centre itself; +40 from far outside the picture.
    QImage coded(120, 120, QImage::Format_ARGB32_Premultiplied);
    for (int j = 0; j < 120; ++j)
        for (int i = 0; i < 120; ++i)
            coded.setPixel(i, j, qRgba(std::min(255, int(4 * std::hypot(i + 0.5 - 60, 120 - j - 0.5 - 60))), 40, 90, 255));
    auto pinch = [&](double scale) {
        return applyImageFilter("CIPinchDistortion", Picture(coded),
                                {{"inputCenter", QPointF(60, 60)}, {"inputRadius", 50.0}, {"inputScale", scale}})
            .bitmap();
    };
    const QImage shrunk = pinch(-40), emptied = pinch(40);
    ASSERT_FALSE(shrunk.isNull());
    ASSERT_FALSE(emptied.isNull());
    for (int j = 40; j < 80; ++j)
        for (int i = 40; i < 80; ++i) {
            if (std::hypot(i + 0.5 - 60, 120 - j - 0.5 - 60) > 20)
                continue;
            ASSERT_LE(qRed(shrunk.pixel(i, j)), 4) << i << "," << j;
            ASSERT_EQ(qAlpha(emptied.pixel(i, j)), 0) << i << "," << j;
        }
    EXPECT_EQ(shrunk.pixel(2, 2), coded.pixel(2, 2)) << "outside the disc";
}

TEST(Blur, SixteenBitRowsEncodeAsTheirFloatValuesDo)
{
    // Every opaque value through the table, in wholly opaque runs and among translucent pixels,
    // and translucent pixels through the general rule, give the bytes the float encoder gives
    // for value / 65535.
    constexpr int kCount = 65536;
    for (const bool someTranslucent : {true, false}) {
        std::vector<uint16_t> planes(size_t(kCount) * 4);
        PixelRow16 row{planes.data(), planes.data() + kCount, planes.data() + 2 * kCount,
                       planes.data() + 3 * kCount, kCount};
        RowBuffer values(kCount);
        for (int i = 0; i < kCount; ++i) {
            const uint16_t alpha = someTranslucent && i % 7 == 0 ? uint16_t(i) : uint16_t(0xffff);
            row.r[i] = uint16_t(std::min<int>(alpha, i));
            row.g[i] = uint16_t(std::min<int>(alpha, kCount - 1 - i));
            row.b[i] = uint16_t(std::min<int>(alpha, i / 3));
            row.a[i] = alpha;
            values.row.r[i] = float(row.r[i]) * (1.0f / 65535.0f);
            values.row.g[i] = float(row.g[i]) * (1.0f / 65535.0f);
            values.row.b[i] = float(row.b[i]) * (1.0f / 65535.0f);
            values.row.a[i] = float(row.a[i]) * (1.0f / 65535.0f);
        }
        std::vector<QRgb> fixed(kCount), viaFloat(kCount);
        encodePremultipliedRow16(row, fixed.data());
        encodePremultipliedRow(values.row, Space::Linear, viaFloat.data());
        for (int i = 0; i < kCount; ++i)
            ASSERT_EQ(fixed[size_t(i)], viaFloat[size_t(i)]) << "value " << i << " translucent " << someTranslucent;
    }
}
