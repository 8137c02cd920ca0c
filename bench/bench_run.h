#pragma once

// The timing loop of the suites that time picture operations on the bench photo.

#include <benchmark/benchmark.h>

#include "bench_data.h"

namespace vimora::bench {

/// Times fn, a picture operation, on the bench photo.
template <typename Fn>
void runOnBenchPhoto(benchmark::State &state, Fn fn)
{
    const Picture &in = sharedBenchPhoto();
    for (auto _ : state) {
        Picture out = fn(in);
        benchmark::DoNotOptimize(out);
    }
}

/// A benchmark BM_name of one expression of the bench photo p.
#define VIMORA_BENCH(name, expr)                                                                                    \
    void BM_##name(benchmark::State &state)                                                                         \
    {                                                                                                               \
        vimora::bench::runOnBenchPhoto(state, [](const Picture &p) { return expr; });                               \
    }                                                                                                               \
    BENCHMARK(BM_##name)->Unit(benchmark::kMillisecond)->UseRealTime()

} // namespace vimora::bench
