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

/// Calls fn(firstRow, endRow) on half-open bands of chunkRows rows, handed to the cores as they
/// come free. When the machine is busy and takes a core away for a while, that delays one band
/// rather than half the picture; fn must not assume one band per core.
template <typename Fn>
void parallelChunks(int rows, Fn &&fn, int chunkRows = kParallelMinRows)
{
    if (rows <= 0)
        return;
    chunkRows = std::max(1, chunkRows);
    const int chunks = (rows + chunkRows - 1) / chunkRows;
    const int threads = std::min(omp_get_max_threads(), chunks);
    if (threads <= 1) {
        fn(0, rows);
        return;
    }
#pragma omp parallel for num_threads(threads) schedule(dynamic, 1)
    for (int c = 0; c < chunks; ++c)
        fn(c * chunkRows, std::min(rows, (c + 1) * chunkRows));
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
