#include "imaging/simd.h"

#include <cstdlib>

namespace vimora::simd {

bool useAvx2()
{
#ifdef VIMORA_HAS_AVX2_FORMS
    static const bool yes = __builtin_cpu_supports("avx2") && !std::getenv("VIMORA_NO_AVX2");
    return yes;
#else
    return false;
#endif
}

} // namespace vimora::simd
