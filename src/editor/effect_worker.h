#pragma once

// Heavy picture work of the effect flows, run off the UI thread one job at a time. The
// screen keeps drawing and taking touches while a job runs; its result is applied on the UI
// thread, where every view lives.

#include <functional>
#include <memory>
#include <thread>

namespace vimora {

class EffectWorker
{
public:
    /// What a job hands back to the UI thread: applies its result to the views.
    using Apply = std::function<void()>;
    /// The job itself: works on pictures only (never on views) and returns its Apply.
    using Work = std::function<Apply()>;

    EffectWorker();
    /// Waits for a running job; its result is dropped (the views may be gone).
    ~EffectWorker();
    EffectWorker(const EffectWorker &) = delete;
    EffectWorker &operator=(const EffectWorker &) = delete;

    /// Starts work on a worker thread and posts its Apply to the UI thread. While a job is
    /// pending (working, or its result not yet applied) a new one is ignored: false.
    bool run(Work work);
    /// A job was started and its result is not applied yet.
    bool isBusy() const { return m_busy; }
    /// Blocks until the running job's work is done; its Apply is then posted, not yet run.
    void waitForWork();

private:
    bool m_busy = false;
    std::thread m_thread;
    /// Expires with the worker, so a result posted after it went is dropped.
    std::shared_ptr<int> m_life = std::make_shared<int>(0);
};

} // namespace vimora
