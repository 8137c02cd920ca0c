#pragma once

#include <array>

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

private:
    FilterContext();
    int m_threads = 1;
    std::array<float, 256> m_decode{};
};

/// The shared filter context (created on first use, kept for the process).
FilterContext &ZELGetCIContext();

} // namespace vimora
