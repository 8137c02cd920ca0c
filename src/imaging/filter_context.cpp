#include "imaging/filter_context.h"

#include <algorithm>
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

    // Byte k starts where encode(u) x 255 reaches k - 0.5, at u = decode((k - 0.5) / 255); in
    // bin units (u x 65535) at most one such start falls into any bin.
    std::array<double, 257> start{};
    start[0] = -1;
    for (int k = 1; k < 256; ++k)
        start[size_t(k)] = decode((k - 0.5) / 255.0) * 65535.0;
    start[256] = 1e30;
    m_opaqueBins = std::make_unique<uint32_t[]>(65536);
    int byte = 0;
    for (int bin = 0; bin < 65536; ++bin) {
        while (byte < 255 && start[size_t(byte) + 1] <= bin)
            ++byte;
        const double next = start[size_t(byte) + 1] - bin;
        const uint32_t position = next < 1.0 ? uint32_t(std::ceil(next * 8388608.0)) : 8388608u;
        m_opaqueBins[size_t(bin)] = uint32_t(byte) | position << 8;
    }
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
