#pragma once

// Sine, cosine, logarithm and exponential of floats as plain branch-free code, so that a loop
// calling them vectorises (the library computes them one value at a time). Classic
// single-precision polynomials: a few units in the last place from the library's values, and
// the same bits in every instruction set since no step is fused.

#include <algorithm>
#include <bit>
#include <cstdint>

namespace vimora::vecmath {

/// Largest |x| sinCos keeps its accuracy for; callers with larger angles use the library.
inline constexpr float kSinCosLimit = 8192.0f;

/// sin x and cos x for |x| up to kSinCosLimit.
inline void sinCos(float x, float &sine, float &cosine)
{
    const float ax = x < 0.0f ? -x : x;
    // The even multiple j of pi / 4 nearest ax, taken off in three parts so that the first
    // two products are exact.
    const int j = (int(ax * 1.27323954473516f) + 1) & ~1;
    const float y = float(j);
    const float r = ((ax - y * 0.78515625f) - y * 2.4187564849853515625e-4f) - y * 3.77489497744594108e-8f;
    const float z = r * r;
    const float s = ((-1.9515295891e-4f * z + 8.3321608736e-3f) * z - 1.6666654611e-1f) * z * r + r;
    const float c = ((2.443315711809948e-5f * z - 1.388731625493765e-3f) * z + 4.166664568298827e-2f) * z * z
        - 0.5f * z + 1.0f;
    const bool swap = (j & 2) != 0;
    const float sv = swap ? c : s, cv = swap ? s : c;
    const bool sineNegative = ((j & 4) != 0) != (x < 0.0f);
    const bool cosineNegative = ((j + 2) & 4) != 0;
    sine = sineNegative ? -sv : sv;
    cosine = cosineNegative ? -cv : cv;
}

/// Natural logarithm of a positive normal float.
inline float logPositive(float x)
{
    const uint32_t bits = std::bit_cast<uint32_t>(x);
    int e = int(bits >> 23) - 126; // x = m 2^e, m in [0.5, 1)
    float m = std::bit_cast<float>((bits & 0x007fffffu) | 0x3f000000u);
    const bool low = m < 0.707106781186547524f;
    e -= int(low);
    m = low ? m + m - 1.0f : m - 1.0f;
    const float z = m * m;
    float y = ((((((((7.0376836292e-2f * m - 1.1514610310e-1f) * m + 1.1676998740e-1f) * m - 1.2420140846e-1f) * m
                   + 1.4249322787e-1f) * m - 1.6668057665e-1f) * m + 2.0000714765e-1f) * m - 2.4999993993e-1f) * m
               + 3.3333331174e-1f) * m * z;
    const float fe = float(e);
    y += -2.12194440e-4f * fe;
    y += -0.5f * z;
    return m + y + 0.693359375f * fe;
}

/// e^x, with x limited to -87 .. 88 (beyond, the result is the limit's: far outside any picture).
inline float expBounded(float x)
{
    x = std::min(std::max(x, -87.0f), 88.0f);
    const float t = x * 1.44269504088896341f + 0.5f;
    int n = int(t);
    n -= int(t < float(n)); // floor
    const float fn = float(n);
    float r = x - fn * 0.693359375f;
    r = r - fn * -2.12194440e-4f;
    const float z = r * r;
    const float y = (((((1.9875691500e-4f * r + 1.3981999507e-3f) * r + 8.3334519073e-3f) * r + 4.1665795894e-2f) * r
                      + 1.6666665459e-1f) * r + 5.0000001201e-1f) * z + r + 1.0f;
    return y * std::bit_cast<float>(uint32_t(n + 127) << 23);
}

} // namespace vimora::vecmath
