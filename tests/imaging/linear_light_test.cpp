// The read and write of linear light every filter shares: the small step table must give the
// bytes of the 65535-bin table it replaced for every float, the vector forms those of the scalar
// ones, and the decode must read the tables for every pair at every offset.
#include <bit>
#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/kernels.h"

using namespace vimora;
using namespace vimora::kernels;

namespace {

/// The 65535-bin byte table the step table replaced, as it was built and read.
class BinReference
{
public:
    BinReference()
        : m_bins(65536)
    {
        std::vector<double> start(257);
        start[0] = -1;
        for (int k = 1; k < 256; ++k)
            start[size_t(k)] = FilterContext::decode((k - 0.5) / 255.0) * 65535.0;
        start[256] = 1e30;
        int byte = 0;
        for (int bin = 0; bin < 65536; ++bin) {
            while (byte < 255 && start[size_t(byte) + 1] <= bin)
                ++byte;
            const double next = start[size_t(byte) + 1] - bin;
            const uint32_t position = next < 1.0 ? uint32_t(std::ceil(next * 8388608.0)) : 8388608u;
            m_bins[size_t(bin)] = uint32_t(byte) | position << 8;
        }
    }
    uint32_t operator()(float linear) const
    {
        const float x = FilterContext::unitClamped(linear) * 65535.0f;
        const int bin = int(x);
        const uint32_t entry = m_bins[size_t(bin)];
        const uint32_t position = uint32_t((x - float(bin)) * 8388608.0f);
        return (entry & 0xff) + (position >= (entry >> 8));
    }

private:
    std::vector<uint32_t> m_bins;
};

/// Opaque straight rows holding the given linear values in all three channels, encoded.
std::vector<QRgb> encodedOpaque(const std::vector<float> &values, float alpha = 1.0f, bool premultiplied = false)
{
    const int n = int(values.size());
    RowBuffer buffer(n);
    for (int i = 0; i < n; ++i) {
        const float v = premultiplied ? values[size_t(i)] * alpha : values[size_t(i)];
        buffer.row.r[i] = buffer.row.g[i] = buffer.row.b[i] = v;
        buffer.row.a[i] = alpha;
    }
    std::vector<QRgb> out(static_cast<size_t>(n));
    if (premultiplied)
        encodePremultipliedRow(buffer.row, Space::Linear, out.data());
    else
        encodeStraightRow(buffer.row, Space::Linear, out.data());
    return out;
}

} // namespace

TEST(LinearLight, StepTableGivesTheBinTablesByteForEveryFloat)
{
    // Every float from 2^-15 to 1 (below, both give 0: checked on a sparse sweep), and the
    // values clamping handles.
    const FilterContext &context = ZELGetCIContext();
    const BinReference bins;
    const uint32_t one = std::bit_cast<uint32_t>(1.0f);
    int differing = 0;
    for (uint32_t bits = std::bit_cast<uint32_t>(0x1p-15f); bits <= one; ++bits) {
        const float u = std::bit_cast<float>(bits);
        differing += context.encodeOpaque(u) != bins(u);
    }
    EXPECT_EQ(differing, 0);
    for (uint32_t bits = 0; bits < std::bit_cast<uint32_t>(0x1p-15f); bits += 4099)
        ASSERT_EQ(context.encodeOpaque(std::bit_cast<float>(bits)), 0u) << bits;
    for (const float u : {-0.0f, -1e-30f, -1.0f, 1.0000001f, 2.0f, std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()})
        EXPECT_EQ(context.encodeOpaque(u), bins(u)) << u;
}

TEST(LinearLight, VectorEncodeMatchesTheScalarOneOnEveryFloat)
{
    // Rows of every float from 2^-15 to 1 in turn, their lengths leaving tails for the scalar
    // code; straight, and premultiplied by alphas that still round to 255.
    const FilterContext &context = ZELGetCIContext();
    const uint32_t one = std::bit_cast<uint32_t>(1.0f);
    std::vector<float> values;
    values.reserve(1 << 20);
    int differing = 0;
    for (uint32_t bits = std::bit_cast<uint32_t>(0x1p-15f); bits <= one;) {
        values.clear();
        for (; bits <= one && values.size() < (1u << 20) + 5; ++bits)
            values.push_back(std::bit_cast<float>(bits));
        const std::vector<QRgb> out = encodedOpaque(values);
        for (size_t i = 0; i < values.size(); ++i)
            differing += out[i] != (0xff000000u | context.encodeOpaque(values[i]) * 0x010101u);
    }
    EXPECT_EQ(differing, 0);

    values = {-0.0f, -1.0f, 2.0f, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN(),
              0.5f, 0.25f, 1.0f, 0.0f};
    for (const float alpha : {1.0f, 0.999f, 254.5f / 255.0f}) {
        const std::vector<QRgb> out = encodedOpaque(values, alpha, true);
        for (size_t i = 0; i < values.size(); ++i) {
            const float u = values[i] * alpha * (1.0f / alpha);
            EXPECT_EQ(out[i], 0xff000000u | context.encodeOpaque(u) * 0x010101u) << values[i] << " alpha " << alpha;
        }
    }
}

TEST(LinearLight, DecodeReadsTheTablesForEveryPairAndPosition)
{
    // Every (alpha, colour) pair, read straight and premultiplied from columns that start left
    // of the bitmap, end right of it and leave tails of every length.
    const FilterContext &context = ZELGetCIContext();
    QImage pairs(256, 256, QImage::Format_ARGB32_Premultiplied);
    for (int a = 0; a < 256; ++a)
        for (int c = 0; c < 256; ++c) {
            const int v = std::min(a, c);
            pairs.setPixel(c, a, qRgba(v, std::min(a, 255 - c), v / 3, a));
        }
    for (const Space space : {Space::Linear, Space::Encoded})
    for (const bool premultiplied : {false, true}) {
        if (space == Space::Encoded && premultiplied)
            continue; // the straight values times alpha, checked through the straight table
        const float *table = space == Space::Encoded ? context.encodedStraight()
            : premultiplied                          ? context.linearPremultiplied()
                                                     : context.linearStraight();
        auto expected = [&](int alpha, int colour) {
            return alpha == 0 ? 0.0f : table[FilterContext::pixelIndex(alpha, colour)];
        };
        for (const int srcX : {-3, 0, 5}) {
            for (const int count : {256, 259, 13}) {
                RowBuffer buffer(count);
                for (int a = 0; a < 256; ++a) {
                    decodeRow(pairs, a, srcX, space, premultiplied, buffer.row);
                    for (int i = 0; i < count; ++i) {
                        const int x = srcX + i;
                        if (x < 0 || x >= 256) {
                            ASSERT_EQ(buffer.row.a[i], 0.0f);
                            ASSERT_EQ(buffer.row.r[i], 0.0f);
                            continue;
                        }
                        const QRgb p = pairs.pixel(x, a);
                        ASSERT_EQ(buffer.row.r[i], expected(a, qRed(p))) << x << ", " << a;
                        ASSERT_EQ(buffer.row.g[i], expected(a, qGreen(p))) << x << ", " << a;
                        ASSERT_EQ(buffer.row.b[i], expected(a, qBlue(p))) << x << ", " << a;
                        ASSERT_EQ(buffer.row.a[i], float(a) * (1.0f / 255.0f)) << x << ", " << a;
                    }
                }
            }
        }
    }
}
