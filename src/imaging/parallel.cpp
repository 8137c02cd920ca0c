#include "imaging/parallel.h"

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <sched.h>

namespace vimora {

namespace {

int threadsFromEnvironment()
{
    for (const char *name : {"VIMORA_THREADS", "OMP_NUM_THREADS"})
        if (const char *value = std::getenv(name)) {
            const int n = std::atoi(value);
            if (n > 0)
                return std::min(n, 64);
        }
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return std::max(1, CPU_COUNT(&set));
    return int(std::max(1u, std::thread::hardware_concurrency()));
}

/// One call's chunks. Shared by the caller and the workers that picked it up, so a worker that
/// wakes after the caller has returned finds the counter exhausted and touches nothing else.
struct Job
{
    void (*run)(void *, int) = nullptr;
    void *context = nullptr;
    int chunks = 0;
    std::atomic<int> next{0};
    std::atomic<int> finished{0};
    std::mutex failureMutex;
    std::exception_ptr failure; ///< the first exception a chunk threw, rethrown to the caller

    /// Runs chunks until none is left unstarted. A chunk that throws still counts as finished,
    /// so the caller never waits for it; its exception reaches the caller once every started
    /// chunk is done with the caller's data.
    void work()
    {
        for (;;) {
            const int chunk = next.fetch_add(1, std::memory_order_relaxed);
            if (chunk >= chunks)
                return;
            try {
                run(context, chunk);
            } catch (...) {
                std::lock_guard lock(failureMutex);
                if (!failure)
                    failure = std::current_exception();
            }
            // Release: the caller reads what the chunk wrote once it sees the count.
            if (finished.fetch_add(1, std::memory_order_acq_rel) + 1 == chunks)
                finished.notify_all();
        }
    }
};

/// Workers that join the most recently posted job. A newer job replaces an older one as the
/// one to join; the older one's caller still finishes it, since callers take unstarted chunks.
class Pool
{
public:
    explicit Pool(int workers)
    {
        for (int i = 0; i < workers; ++i)
            std::thread([this] { serve(); }).detach();
    }

    void post(const std::shared_ptr<Job> &job)
    {
        {
            std::lock_guard lock(m_mutex);
            m_job = job;
            ++m_generation;
        }
        m_wake.notify_all();
    }

    void withdraw(const std::shared_ptr<Job> &job)
    {
        std::lock_guard lock(m_mutex);
        if (m_job == job)
            m_job.reset();
    }

private:
    void serve()
    {
        unsigned long seen = 0;
        for (;;) {
            std::shared_ptr<Job> job;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [&] { return m_generation != seen; });
                seen = m_generation;
                job = m_job;
            }
            if (job)
                job->work();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::shared_ptr<Job> m_job;
    unsigned long m_generation = 0;
};

Pool &pool()
{
    // Never destroyed: detached workers may still be waiting on it while the process exits.
    static Pool *const instance = new Pool(parallelThreadCount() - 1);
    return *instance;
}

} // namespace

int parallelThreadCount()
{
    static const int count = threadsFromEnvironment();
    return count;
}

void detail::runChunks(int chunks, void (*run)(void *, int), void *context)
{
    if (chunks <= 0)
        return;
    if (chunks == 1 || parallelThreadCount() <= 1) {
        for (int c = 0; c < chunks; ++c)
            run(context, c);
        return;
    }
    auto job = std::make_shared<Job>();
    job->run = run;
    job->context = context;
    job->chunks = chunks;
    pool().post(job);
    job->work();
    // Only chunks another thread has started remain; wait for those alone.
    for (int done = job->finished.load(std::memory_order_acquire); done != chunks;
         done = job->finished.load(std::memory_order_acquire))
        job->finished.wait(done, std::memory_order_acquire);
    pool().withdraw(job);
    if (job->failure)
        std::rethrow_exception(job->failure);
}

} // namespace vimora
