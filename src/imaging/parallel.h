#pragma once

#include <algorithm>

#include <omp.h>

namespace vimora {

/// Rows below this count are walked on the calling thread: splitting costs more than it saves.
inline constexpr int kParallelMinRows = 64;

/// Calls fn(firstRow, endRow) on half-open bands of [0, rows), one band per core.
/// The one helper every whole-picture loop goes through.
template <typename Fn>
void parallelRows(int rows, Fn &&fn, int minRows = kParallelMinRows)
{
    if (rows <= 0)
        return;
    const int threads = std::min(omp_get_max_threads(), std::max(1, rows / std::max(1, minRows)));
    if (threads <= 1) {
        fn(0, rows);
        return;
    }
#pragma omp parallel for num_threads(threads) schedule(static, 1)
    for (int t = 0; t < threads; ++t) {
        const int begin = int(long(rows) * t / threads);
        const int end = int(long(rows) * (t + 1) / threads);
        fn(begin, end);
    }
}

/// Calls fn(y) for every row, row-parallel.
template <typename Fn>
void forEachRow(int rows, Fn &&fn, int minRows = kParallelMinRows)
{
    parallelRows(
        rows,
        [&](int begin, int end) {
            for (int y = begin; y < end; ++y)
                fn(y);
        },
        minRows);
}

} // namespace vimora
