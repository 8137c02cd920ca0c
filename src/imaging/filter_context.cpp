#include "imaging/filter_context.h"

#include <algorithm>
#include <cmath>

#include <omp.h>

namespace vimora {

FilterContext::FilterContext()
    : m_threads(std::max(1, omp_get_max_threads()))
{
    for (int i = 0; i < 256; ++i)
        m_decode[size_t(i)] = float(decode(i / 255.0));
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
