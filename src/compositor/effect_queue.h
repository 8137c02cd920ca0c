#pragma once

// Picture work off the UI thread, one job at a time, in the order asked. A job reads what it
// needs on the UI thread when its turn comes (so it sees the result of the job before it),
// computes on a worker thread and applies its result back on the UI thread.

#include <deque>
#include <functional>
#include <memory>

namespace vimora {

class EffectQueue
{
public:
    /// Runs on the UI thread after the work.
    using Apply = std::function<void()>;
    /// Runs on a worker thread.
    using Work = std::function<Apply()>;
    /// Runs on the UI thread when the job's turn comes; an empty Work ends the job there.
    using Prepare = std::function<Work()>;

    EffectQueue();
    /// Waits for the job in flight; results not yet applied are dropped.
    ~EffectQueue();
    EffectQueue(const EffectQueue &) = delete;
    EffectQueue &operator=(const EffectQueue &) = delete;

    void enqueue(Prepare prepare);
    /// Forgets the jobs not yet started; the one in flight still applies.
    void clearPending();
    bool isBusy() const;
    /// Tests and benchmarks: blocks until every job has run and applied its result, turning
    /// the UI thread's posted calls through pump (the host's runPending).
    void waitForIdle(const std::function<void()> &pump);

private:
    void startNext();

    struct Shared;
    std::shared_ptr<Shared> m_shared;
    std::deque<Prepare> m_pending;
    bool m_running = false;
};

} // namespace vimora
