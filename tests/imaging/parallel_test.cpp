#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <future>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/parallel.h"

using namespace vimora;
using namespace std::chrono_literals;

namespace {

// Two threads whatever the machine, set before the thread count is first read.
const bool kTwoThreads = [] {
    setenv("VIMORA_THREADS", "2", 1);
    return true;
}();

/// Bands handed to fn: each row must be covered exactly once.
template <typename Split>
std::vector<int> coverage(int rows, Split split)
{
    std::vector<std::atomic<int>> seen(size_t(std::max(rows, 0)));
    split(rows, [&](int begin, int end) {
        for (int y = begin; y < end; ++y)
            seen[size_t(y)].fetch_add(1);
    });
    std::vector<int> counts;
    for (auto &count : seen)
        counts.push_back(count.load());
    return counts;
}

} // namespace

TEST(Parallel, EveryRowRunsExactlyOnce)
{
    ASSERT_EQ(parallelThreadCount(), 2);
    for (int rows : {0, 1, 63, 64, 129, 1000, 1501}) {
        const auto rowsOnce = coverage(rows, [](int n, auto fn) { parallelRows(n, fn); });
        const auto chunksOnce = coverage(rows, [](int n, auto fn) { parallelChunks(n, fn, 7); });
        EXPECT_EQ(rowsOnce, std::vector<int>(size_t(rows), 1)) << rows;
        EXPECT_EQ(chunksOnce, std::vector<int>(size_t(rows), 1)) << rows;
    }
}

TEST(Parallel, NestedAndConcurrentCallsComplete)
{
    std::atomic<long> total{0};
    auto outer = [&] {
        parallelChunks(
            64,
            [&](int begin, int end) {
                for (int y = begin; y < end; ++y)
                    parallelChunks(256, [&](int b, int e) { total += e - b; }, 16);
            },
            4);
    };
    std::thread other(outer);
    outer();
    other.join();
    EXPECT_EQ(total.load(), 2L * 64 * 256);
}

TEST(Parallel, CallerTakesWorkAWorkerHasNotStarted)
{
    // Keep the pool's only worker inside a chunk of another call, as a busy machine keeps a
    // worker off its core; a new call must then finish on the calling thread alone.
    std::mutex mutex;
    std::condition_variable changed;
    bool workerInside = false, release = false;
    const auto blockerId = std::make_shared<std::thread::id>();
    std::thread blocker([&] {
        *blockerId = std::this_thread::get_id();
        parallelChunks(
            2,
            [&](int, int) {
                std::unique_lock lock(mutex);
                if (std::this_thread::get_id() == *blockerId) {
                    changed.wait_for(lock, 5s, [&] { return workerInside; });
                } else {
                    workerInside = true;
                    changed.notify_all();
                    changed.wait(lock, [&] { return release; });
                }
            },
            1);
    });
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, 5s, [&] { return workerInside; }));
    }

    auto call = std::async(std::launch::async, [] {
        const auto caller = std::this_thread::get_id();
        std::atomic<int> onCaller{0}, chunks{0};
        parallelChunks(
            8,
            [&](int, int) {
                ++chunks;
                onCaller += std::this_thread::get_id() == caller;
            },
            1);
        return std::pair(chunks.load(), onCaller.load());
    });
    const bool finished = call.wait_for(10s) == std::future_status::ready;
    {
        std::lock_guard lock(mutex);
        release = true;
    }
    changed.notify_all();
    blocker.join();
    ASSERT_TRUE(finished) << "the call waited for a busy worker";
    EXPECT_EQ(call.get(), std::pair(8, 8));
}

TEST(Parallel, AThrowingChunkReachesTheCallerAfterTheOthersFinish)
{
    std::atomic<int> ran{0};
    EXPECT_THROW(parallelChunks(
                     16,
                     [&](int begin, int) {
                         if (begin == 3)
                             throw std::runtime_error("chunk 3");
                         std::this_thread::sleep_for(1ms);
                         ++ran;
                     },
                     1),
                 std::runtime_error);
    EXPECT_EQ(ran.load(), 15);
}
