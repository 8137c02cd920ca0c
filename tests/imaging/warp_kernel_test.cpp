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

} // namespace

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
