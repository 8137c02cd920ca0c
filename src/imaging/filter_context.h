#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

namespace vimora {

/// The process-wide context every filter shares: how many workers the pixel loops use and
/// the tables of the working colour space (sRGB transfer curve), built once.
class FilterContext
{
public:
    static FilterContext &shared();

    int threadCount() const { return m_threads; }
    /// Encoded byte (straight, 0..255) to linear light 0..1.
    const std::array<float, 256> &decodeTable() const { return m_decode; }

    static double decode(double encoded);
    static double encode(double linear);

    /// Tables for 8-bit premultiplied samples, indexed by pixelIndex(alpha, colour): the straight
    /// colour in linear light, the same premultiplied by alpha, and the straight encoded value.
    /// A colour byte above its alpha reads as the alpha; alpha 0 reads as 0.
    static constexpr int pixelIndex(int alpha, int colour) { return alpha << 8 | colour; }
    const float *linearStraight() const { return m_linearStraight.get(); }
    const float *linearPremultiplied() const { return m_linearPremultiplied.get(); }
    const float *encodedStraight() const { return m_encodedStraight.get(); }
    /// linearPremultiplied() x 65535, rounded: 16-bit working samples.
    const uint16_t *linearPremultiplied16() const { return m_linearPremultiplied16.get(); }

    /// encode() through an interpolated table (error below 2e-5, so a read-write round trip of
    /// any byte pair is exact); the input is clamped to 0..1.
    float encodeFast(float linear) const
    {
        const float x = unitClamped(linear) * float(kEncodeSteps);
        const int i = std::min(int(x), kEncodeSteps - 1);
        const float *e = &m_encode[size_t(i) * 2];
        return e[0] + (x - float(i)) * e[1];
    }

    /// The byte floor(encode(u) x 255 + 0.5) of an opaque pixel's linear value u, with one
    /// table read: u is split into 65535 bins; each bin holds the byte at its start (low 8 bits)
    /// and, above them, where in the bin the next byte starts (in 2^-23 of a bin; 2^23 when it
    /// does not). Exact except within half a float step of a byte's threshold.
    uint32_t encodeOpaque(float linear) const
    {
        const float x = unitClamped(linear) * 65535.0f;
        const int bin = int(x);
        const uint32_t entry = m_opaqueBins[size_t(bin)];
        const uint32_t position = uint32_t((x - float(bin)) * 8388608.0f);
        return (entry & 0xff) + (position >= (entry >> 8));
    }
    /// The table behind encodeOpaque, for vector code (65536 entries).
    const uint32_t *opaqueBins() const { return m_opaqueBins.get(); }

    /// x limited to 0..1, NaN read as 0.
    static float unitClamped(float x) { return x > 0.0f ? std::min(x, 1.0f) : 0.0f; }

private:
    FilterContext();
    static constexpr int kEncodeSteps = 4096;
    int m_threads = 1;
    std::array<float, 256> m_decode{};
    std::unique_ptr<float[]> m_linearStraight;
    std::unique_ptr<float[]> m_linearPremultiplied;
    std::unique_ptr<float[]> m_encodedStraight;
    std::unique_ptr<uint16_t[]> m_linearPremultiplied16;
    /// Pairs (value, slope to the next step) of encode() at kEncodeSteps + 1 points.
    std::unique_ptr<float[]> m_encode;
    std::unique_ptr<uint32_t[]> m_opaqueBins;
};

/// The shared filter context (created on first use, kept for the process).
FilterContext &ZELGetCIContext();

} // namespace vimora
