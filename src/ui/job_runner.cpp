#include "ui/job_runner.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

#include <QtGlobal>

#include "ui/clock.h"

namespace vimora::ui {

namespace {
struct WaitingJob
{
    JobRunner::Prepare prepare;
    JobPolicy policy;
    int group;
    /// Starts only when every job before it has applied (a prepared job); a plain job waits
    /// only for its place in the line.
    bool needsTurn;
};

struct HandedJob
{
    JobRunner::Work work;
    JobPolicy policy;
    int group;
};

QString reasonOf(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("unknown error");
    }
}

void logFailure(const QString &reason) { qWarning("job failed: %s", qUtf8Printable(reason)); }
} // namespace

// Shared with the thread and with results on their way, which may outlive the runner.
struct JobRunner::Core : std::enable_shared_from_this<Core>
{
    Failure onFailure;

    std::mutex mutex;
    std::condition_variable drained;
    std::deque<WaitingJob> waiting; // UI side: not yet handed to the thread
    std::deque<HandedJob> queue;    // handed to the thread, not yet started
    int unsettled = 0;              // handed, and the result not yet applied or dropped
    bool working = false;
    bool threadRunning = false;
    bool ownerGone = false;
    std::thread thread;

    bool isDrained() const { return queue.empty() && !working; }

    /// With the mutex held.
    void dropWaitingLatest(int group)
    {
        std::erase_if(waiting, [group](const WaitingJob &job) {
            return job.policy == JobPolicy::LatestWins && job.group == group;
        });
        unsettled -= int(std::erase_if(queue, [group](const HandedJob &job) {
            return job.policy == JobPolicy::LatestWins && job.group == group;
        }));
    }

    /// With the mutex held.
    void hand(Work work, JobPolicy policy, int group)
    {
        queue.push_back({std::move(work), policy, group});
        ++unsettled;
        if (threadRunning)
            return;
        // A thread that found no work has left the loop; joining it takes no time.
        if (thread.joinable())
            thread.join();
        threadRunning = true;
        thread = std::thread([core = shared_from_this()] { core->runJobs(); });
    }

    void runJobs()
    {
        std::unique_lock lock(mutex);
        for (;;) {
            if (queue.empty()) {
                working = false;
                threadRunning = false;
                drained.notify_all();
                return;
            }
            Work work = std::move(queue.front().work);
            queue.pop_front();
            working = true;
            lock.unlock();

            Apply apply;
            QString failure;
            try {
                apply = work();
            } catch (...) {
                failure = reasonOf(std::current_exception());
                logFailure(failure);
            }
            work = nullptr; // what the job captured goes on this thread

            lock.lock();
            if (!apply && failure.isEmpty() && waiting.empty()) {
                // Nothing for the UI thread to do, and nobody waiting for this job's turn.
                --unsettled;
                drained.notify_all();
                continue;
            }
            lock.unlock();
            postToMainThread(
                [core = shared_from_this(), apply = std::move(apply), failure] { core->finish(apply, failure); });
            lock.lock();
        }
    }

    /// UI thread.
    void finish(const Apply &apply, const QString &failure)
    {
        if (!isOwnerGone()) {
            if (!failure.isEmpty())
                tell(failure);
            else if (apply)
                runReporting([&apply] { apply(); });
        }
        {
            std::lock_guard lock(mutex);
            --unsettled;
            drained.notify_all();
        }
        // The result may have closed the screen that owned the runner.
        if (!isOwnerGone())
            startWaiting();
    }

    /// UI thread: hands over the waiting jobs whose turn has come.
    void startWaiting()
    {
        for (;;) {
            Prepare prepare;
            JobPolicy policy;
            int group;
            {
                std::lock_guard lock(mutex);
                if (waiting.empty() || (waiting.front().needsTurn && unsettled > 0))
                    return;
                prepare = std::move(waiting.front().prepare);
                policy = waiting.front().policy;
                group = waiting.front().group;
                waiting.pop_front();
            }
            Work work;
            runReporting([&] { work = prepare(); });
            if (!work)
                continue;
            std::lock_guard lock(mutex);
            if (!ownerGone)
                hand(std::move(work), policy, group);
        }
    }

    /// UI thread: runs fn under the failure rule.
    void runReporting(const std::function<void()> &fn)
    {
        try {
            fn();
        } catch (...) {
            const QString reason = reasonOf(std::current_exception());
            logFailure(reason);
            if (!isOwnerGone())
                tell(reason);
        }
    }

    void tell(const QString &reason)
    {
        if (onFailure)
            onFailure(reason);
    }

    bool isOwnerGone()
    {
        std::lock_guard lock(mutex);
        return ownerGone;
    }
};

JobRunner::JobRunner(Failure onFailure)
    : m_core(std::make_shared<Core>())
{
    m_core->onFailure = std::move(onFailure);
}

JobRunner::~JobRunner()
{
    std::unique_lock lock(m_core->mutex);
    m_core->ownerGone = true;
    m_core->waiting.clear();
    if (m_core->thread.get_id() == std::this_thread::get_id()) {
        // Destroyed by its own job: the thread holds the core and finishes on its own.
        m_core->thread.detach();
        return;
    }
    m_core->drained.wait(lock, [this] { return m_core->isDrained(); });
    std::thread finished = std::move(m_core->thread);
    lock.unlock();
    if (finished.joinable())
        finished.join();
}

void JobRunner::post(Work work, JobPolicy policy, int group)
{
    if (!work)
        return;
    std::lock_guard lock(m_core->mutex);
    if (policy == JobPolicy::LatestWins)
        m_core->dropWaitingLatest(group);
    if (m_core->waiting.empty())
        m_core->hand(std::move(work), policy, group);
    else
        m_core->waiting.push_back({[work = std::move(work)] { return work; }, policy, group, false});
}

void JobRunner::postPrepared(Prepare prepare, JobPolicy policy, int group)
{
    if (!prepare)
        return;
    {
        std::lock_guard lock(m_core->mutex);
        if (policy == JobPolicy::LatestWins)
            m_core->dropWaitingLatest(group);
        m_core->waiting.push_back({std::move(prepare), policy, group, true});
    }
    m_core->startWaiting();
}

void JobRunner::clearPending()
{
    std::lock_guard lock(m_core->mutex);
    m_core->waiting.clear();
    m_core->unsettled -= int(m_core->queue.size());
    m_core->queue.clear();
    m_core->drained.notify_all();
}

bool JobRunner::isBusy() const
{
    std::lock_guard lock(m_core->mutex);
    return m_core->unsettled > 0 || !m_core->waiting.empty();
}

void JobRunner::waitForWork()
{
    std::unique_lock lock(m_core->mutex);
    m_core->drained.wait(lock, [this] { return m_core->isDrained(); });
}

void JobRunner::waitForIdle()
{
    while (isBusy()) {
        waitForWork();
        Clock::current().runPostedCalls();
    }
}

} // namespace vimora::ui
