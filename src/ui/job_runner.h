#pragma once

// Work off the UI thread. A job computes on the runner's thread and hands back what to do
// with the result, which runs on the UI thread through postToMainThread. Jobs of one runner
// run one at a time, in the order posted; a job may instead read its inputs on the UI thread
// when its turn comes, so it sees what the jobs before it applied. A runner's thread exists
// only while it has work.
//
// One rule for failures: an exception thrown by a job (or its preparing or applying part) is
// logged and reported to the owner's failure callback on the UI thread; the jobs after it go
// on. Results that arrive after the runner is gone are dropped.

#include <functional>
#include <memory>

#include <QString>

namespace vimora::ui {

enum class JobPolicy
{
    /// Every job runs, in the order posted.
    InOrder,
    /// A new job replaces the LatestWins jobs of its group still waiting (not started), so a
    /// burst of requests costs at most one job after the one running, and the last request is
    /// applied.
    LatestWins,
};

class JobRunner
{
public:
    /// Runs on the UI thread with the job's result; empty when there is nothing to apply.
    using Apply = std::function<void()>;
    /// Runs on the runner's thread; touches no views.
    using Work = std::function<Apply()>;
    /// Runs on the UI thread when the job's turn comes; an empty Work ends the job there.
    using Prepare = std::function<Work()>;
    /// Told on the UI thread, with the failure's reason in words, when a job throws.
    using Failure = std::function<void(const QString &reason)>;

    explicit JobRunner(Failure onFailure = {});
    /// Lets every job already started or handed to the thread finish (so writes are never cut
    /// short); jobs still waiting for their turn and results not yet applied are dropped.
    ~JobRunner();
    JobRunner(const JobRunner &) = delete;
    JobRunner &operator=(const JobRunner &) = delete;

    /// group: which LatestWins jobs replace each other (one per slider, say).
    void post(Work work, JobPolicy policy = JobPolicy::InOrder, int group = 0);
    /// A job whose inputs are read on the UI thread once every job before it has applied.
    void postPrepared(Prepare prepare, JobPolicy policy = JobPolicy::InOrder, int group = 0);
    /// Convenience for a job that produces a value and a callback that takes it.
    template <class Result> void run(std::function<Result()> job, std::function<void(const Result &)> done)
    {
        post([job = std::move(job), done = std::move(done)]() -> Apply {
            auto result = std::make_shared<Result>(job());
            if (!done)
                return {};
            return [done, result] { done(*result); };
        });
    }

    /// Forgets the jobs not yet started; the one running still applies.
    void clearPending();
    /// A job is waiting, running, or its result is not applied yet (UI thread).
    bool isBusy() const;

    /// Blocks until the thread has run every job handed to it; their results may still be on
    /// their way to the UI thread. Jobs waiting for their turn on the UI thread are not run.
    void waitForWork();
    /// Tests and benchmarks, on the UI thread: blocks until every job has run and applied,
    /// turning the UI thread's posted calls meanwhile.
    void waitForIdle();

private:
    struct Core;
    std::shared_ptr<Core> m_core;
};

} // namespace vimora::ui
