#pragma once

#include <algorithm>
#include <array>
#include <bit>
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

    /// The byte floor(encode(u) x 255 + 0.5) of an opaque pixel's linear value u, with one read
    /// of a small table. u is clamped to 0..1 and read by its bit pattern: the top 16 bits (the
    /// exponent and 7 bits of mantissa) name a cell, and no cell holds more than one of the 255
    /// points where the byte steps up, so an entry holds the byte at the cell's start (top 8
    /// bits) and the low 16 bits of the step's pattern (0x10000 when the cell has none). The
    /// steps are those of 65535 bins split in 2^23 parts each: exact except within half a
    /// float step of a byte's threshold.
    uint32_t encodeOpaque(float linear) const
    {
        const uint32_t bits = std::bit_cast<uint32_t>(unitClamped(linear));
        const uint32_t entry = m_opaqueCells[opaqueCell(bits)];
        return (entry >> 24) + ((bits & 0xffff) >= (entry & 0x1ffff));
    }
    /// The cell of a clamped value's bit pattern: cell 0 holds every value below 2^-14 (all
    /// byte 0), then one cell per top-16-bit pattern up to 1.0.
    static constexpr uint32_t kFirstOpaqueCell = (127u - 14u) << 7;
    static constexpr uint32_t kOpaqueCells = (127u << 7) - kFirstOpaqueCell + 2;
    static uint32_t opaqueCell(uint32_t bits) { return std::max(bits >> 16, kFirstOpaqueCell - 1) - (kFirstOpaqueCell - 1); }
    /// The table behind encodeOpaque, for vector code (kOpaqueCells entries, 7 KB).
    const uint32_t *opaqueCells() const { return m_opaqueCells.get(); }

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
    std::unique_ptr<uint32_t[]> m_opaqueCells;
};

/// The shared filter context (created on first use, kept for the process).
FilterContext &ZELGetCIContext();

} // namespace vimora
