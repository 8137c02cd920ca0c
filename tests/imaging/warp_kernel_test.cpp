#include <algorithm>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/kernels.h"
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

/// The blur as plain loops over the whole region: every input row decoded once with its halo,
/// then the symmetric sums down and across, centre first, one pixel at a time.
QImage plainBlur(const QImage &src, Region region, double sigma)
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
