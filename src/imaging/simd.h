#pragma once

// The one way hot loops pick their instruction set. Each is compiled twice, for AVX2 and for
// the x86-64 baseline (SSE2), and every call takes the AVX2 form when the CPU has it and
// VIMORA_NO_AVX2 is not set in the environment (the tests run both ways and expect the same
// bytes). FMA is left out of both forms: a fused multiply-add rounds once where the baseline
// rounds twice, and a picture must come out the same on every machine.
//
//   VIMORA_VECTOR_LOOP(void, invertRow, (const QRgb *in, QRgb *out, int w), (in, out, w))
//   {
//       ... a plain loop the compiler vectorises ...
//   }
//
// Templates name their parameter list and its arguments first:
//   VIMORA_VECTOR_LOOP_TEMPLATE((int A, int B), (A, B), void, across3, (uint16_t *out, int n), (out, n))
//
// Hand-written intrinsics carry VIMORA_TARGET_AVX2 and are called only when useAvx2() holds.

namespace vimora::simd {

/// True when the AVX2 forms may run: the CPU has AVX2 and VIMORA_NO_AVX2 is not set. Read once.
bool useAvx2();

} // namespace vimora::simd

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define VIMORA_HAS_AVX2_FORMS 1
#define VIMORA_TARGET_AVX2 __attribute__((target("avx2")))
// The body is inlined into both forms, so each is vectorised for its own instruction set.
#define VIMORA_VECTOR_LOOP(ret, name, params, args)                                                      \
    [[gnu::always_inline]] static inline ret name##Body params;                                          \
    [[gnu::noinline]] VIMORA_TARGET_AVX2 static ret name##Avx2 params { return name##Body args; }       \
    [[gnu::noinline]] static ret name##Baseline params { return name##Body args; }                      \
    ret name params { return ::vimora::simd::useAvx2() ? name##Avx2 args : name##Baseline args; }       \
    [[gnu::always_inline]] static inline ret name##Body params
#define VIMORA_UNPARENTHESISED(...) __VA_ARGS__
#define VIMORA_VECTOR_LOOP_TEMPLATE(tparams, targs, ret, name, params, args)                                 \
    template <VIMORA_UNPARENTHESISED tparams>                                                                 \
    [[gnu::always_inline]] static inline ret name##Body params;                                              \
    template <VIMORA_UNPARENTHESISED tparams>                                                                 \
    [[gnu::noinline]] VIMORA_TARGET_AVX2 static ret name##Avx2 params                                         \
    {                                                                                                        \
        return name##Body<VIMORA_UNPARENTHESISED targs> args;                                                 \
    }                                                                                                        \
    template <VIMORA_UNPARENTHESISED tparams>                                                                 \
    [[gnu::noinline]] static ret name##Baseline params                                                       \
    {                                                                                                        \
        return name##Body<VIMORA_UNPARENTHESISED targs> args;                                                 \
    }                                                                                                        \
    template <VIMORA_UNPARENTHESISED tparams>                                                                 \
    ret name params                                                                                          \
    {                                                                                                        \
        return ::vimora::simd::useAvx2() ? name##Avx2<VIMORA_UNPARENTHESISED targs> args                      \
                                         : name##Baseline<VIMORA_UNPARENTHESISED targs> args;                 \
    }                                                                                                        \
    template <VIMORA_UNPARENTHESISED tparams>                                                                 \
    [[gnu::always_inline]] static inline ret name##Body params
#else
#define VIMORA_TARGET_AVX2
#define VIMORA_UNPARENTHESISED(...) __VA_ARGS__
#define VIMORA_VECTOR_LOOP(ret, name, params, args) ret name params
#define VIMORA_VECTOR_LOOP_TEMPLATE(tparams, targs, ret, name, params, args)                                 \
    template <VIMORA_UNPARENTHESISED tparams>                                                                 \
    ret name params
#endif
