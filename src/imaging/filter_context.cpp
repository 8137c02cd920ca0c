#include "imaging/filter_context.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "imaging/parallel.h"

namespace vimora {

FilterContext::FilterContext()
    : m_threads(std::max(1, parallelThreadCount()))
{
    for (int i = 0; i < 256; ++i)
        m_decode[size_t(i)] = float(decode(i / 255.0));

    m_linearStraight = std::make_unique<float[]>(256 * 256);
    m_linearPremultiplied = std::make_unique<float[]>(256 * 256);
    m_encodedStraight = std::make_unique<float[]>(256 * 256);
    m_linearPremultiplied16 = std::make_unique<uint16_t[]>(256 * 256);
    for (int a = 1; a < 256; ++a)
        for (int c = 0; c < 256; ++c) {
            const double straight = std::min(c, a) / double(a);
            const double linear = decode(straight);
            const size_t i = size_t(pixelIndex(a, c));
            m_linearStraight[i] = float(linear);
            m_linearPremultiplied[i] = float(linear * a / 255.0);
            m_encodedStraight[i] = float(straight);
            m_linearPremultiplied16[i] = uint16_t(std::lround(linear * a / 255.0 * 65535.0));
        }

    m_encode = std::make_unique<float[]>(size_t(kEncodeSteps + 1) * 2);
    for (int i = 0; i <= kEncodeSteps; ++i) {
        const double e0 = encode(double(i) / kEncodeSteps);
        const double e1 = encode(double(i + 1) / kEncodeSteps);
        m_encode[size_t(i) * 2] = float(e0);
        m_encode[size_t(i) * 2 + 1] = float(e1 - e0);
    }

    // Byte k starts where encode(u) x 255 reaches k - 0.5, at u = decode((k - 0.5) / 255). The
    // steps keep the rounding of the 65535-bin form this table replaced, so every byte stays
    // what it was: in bins (x = u x 65535, rounded to float) the step lies at the start of
    // bin b = floor(s) plus ceil((s - b) x 2^23) parts of 2^-23 of a bin, s the start in bins.
    // stepBits[k] is the smallest float u whose x reaches that point.
    std::array<uint32_t, 256> stepBits{};
    for (int k = 1; k < 256; ++k) {
        const double s = decode((k - 0.5) / 255.0) * 65535.0;
        const double b = std::floor(s);
        const double reach = b + std::ceil((s - b) * 8388608.0) / 8388608.0;
        uint32_t low = 0, high = std::bit_cast<uint32_t>(1.0f); // high reaches it, low may not
        while (high - low > 1) {
            const uint32_t mid = low + (high - low) / 2;
            if (double(std::bit_cast<float>(mid) * 65535.0f) >= reach)
                high = mid;
            else
                low = mid;
        }
        stepBits[size_t(k)] = high;
    }
    m_opaqueCells = std::make_unique<uint32_t[]>(kOpaqueCells);
    int byte = 0;
    for (uint32_t cell = 1; cell < kOpaqueCells; ++cell) {
        const uint32_t first = (cell + kFirstOpaqueCell - 1) << 16;
        while (byte < 255 && stepBits[size_t(byte) + 1] <= first)
            ++byte;
        // Neighbouring steps lie further apart than a cell is wide (1/128 of a power of two),
        // so at most one falls inside a cell.
        const uint32_t next = byte < 255 ? stepBits[size_t(byte) + 1] : ~0u; // byte 255 has no next step
        const uint32_t step = next - first < 0x10000 ? next - first : 0x10000;
        m_opaqueCells[cell] = uint32_t(byte) << 24 | step;
    }
    m_opaqueCells[0] = 0x10000; // below 2^-14, far below the first step
}

FilterContext &FilterContext::shared()
{
    static FilterContext context; // thread-safe lazy creation
    return context;
}

double FilterContext::decode(double e)
{
    return e <= 0.04045 ? e / 12.92 : std::pow((e + 0.055) / 1.055, 2.4);
}

double FilterContext::encode(double l)
{
    l = std::clamp(l, 0.0, 1.0);
    return l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1.0 / 2.4) - 0.055;
}

FilterContext &ZELGetCIContext()
{
    return FilterContext::shared();
}

} // namespace vimora
