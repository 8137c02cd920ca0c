#pragma once

// The one helper every whole-picture loop goes through. Work is cut into chunks that the
// calling thread and a small pool of workers take from a shared counter. The caller never
// waits for a worker that has not started: when the machine keeps a worker off its core, the
// caller takes that worker's chunks too and waits only for chunks already being run, so two
// threads are never much slower than one. fn may itself call these helpers; an exception fn
// throws reaches the caller after every chunk already started has finished.

#include <algorithm>
#include <utility>

namespace vimora {

/// Rows below this count are walked on the calling thread: splitting costs more than it saves.
inline constexpr int kParallelMinRows = 64;

/// Threads a loop may use, the caller's included: VIMORA_THREADS, else OMP_NUM_THREADS,
/// else the cores this process may run on. Read once.
int parallelThreadCount();

namespace detail {

/// Calls run(context, chunk) once for every chunk in [0, chunks), on the calling thread and on
/// whichever workers are free; returns when every chunk has run.
void runChunks(int chunks, void (*run)(void *, int), void *context);

template <typename Fn>
void runChunks(int chunks, Fn &fn)
{
    runChunks(chunks, [](void *context, int chunk) { (*static_cast<Fn *>(context))(chunk); }, &fn);
}

} // namespace detail

/// Calls fn(firstRow, endRow) on half-open bands of [0, rows), one band per thread (bands keep
/// their set-up cost, such as a filter's halo rows, to one per thread).
template <typename Fn>
void parallelRows(int rows, Fn &&fn, int minRows = kParallelMinRows)
{
    if (rows <= 0)
        return;
    const int bands = std::min(parallelThreadCount(), std::max(1, rows / std::max(1, minRows)));
    if (bands <= 1) {
        fn(0, rows);
        return;
    }
    auto band = [&](int t) { fn(int(long(rows) * t / bands), int(long(rows) * (t + 1) / bands)); };
    detail::runChunks(bands, band);
}

/// Calls fn(firstRow, endRow) on half-open bands of chunkRows rows, handed out as threads come
/// free. A core taken away for a while delays one band rather than half the picture; fn must
/// not assume one band per thread.
template <typename Fn>
void parallelChunks(int rows, Fn &&fn, int chunkRows = kParallelMinRows)
{
    if (rows <= 0)
        return;
    chunkRows = std::max(1, chunkRows);
    const int chunks = (rows + chunkRows - 1) / chunkRows;
    if (chunks <= 1 || parallelThreadCount() <= 1) {
        fn(0, rows);
        return;
    }
    auto chunk = [&](int c) { fn(c * chunkRows, std::min(rows, (c + 1) * chunkRows)); };
    detail::runChunks(chunks, chunk);
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
