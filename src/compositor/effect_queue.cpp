#include "compositor/effect_queue.h"

#include <condition_variable>
#include <mutex>
#include <thread>

#include <QThreadPool>

#include "ui/clock.h"

namespace vimora {

// What a worker shares with the queue: it may outlive the queue, which it then leaves alone.
struct EffectQueue::Shared
{
    std::mutex mutex;
    std::condition_variable idle;
    int inFlight = 0;
    EffectQueue *owner = nullptr;
};

EffectQueue::EffectQueue()
    : m_shared(std::make_shared<Shared>())
{
    m_shared->owner = this;
}

EffectQueue::~EffectQueue()
{
    std::unique_lock lock(m_shared->mutex);
    m_shared->owner = nullptr;
    m_shared->idle.wait(lock, [this] { return m_shared->inFlight == 0; });
}

void EffectQueue::enqueue(Prepare prepare)
{
    m_pending.push_back(std::move(prepare));
    if (!m_running)
        startNext();
}

void EffectQueue::clearPending()
{
    m_pending.clear();
}

bool EffectQueue::isBusy() const
{
    return m_running || !m_pending.empty();
}

void EffectQueue::startNext()
{
    while (!m_pending.empty()) {
        const Prepare prepare = std::move(m_pending.front());
        m_pending.pop_front();
        Work work = prepare ? prepare() : Work();
        if (!work)
            continue;
        m_running = true;
        {
            std::lock_guard lock(m_shared->mutex);
            ++m_shared->inFlight;
        }
        QThreadPool::globalInstance()->start([shared = m_shared, work = std::move(work)] {
            Apply apply = work();
            ui::postToMainThread([shared, apply = std::move(apply)] {
                EffectQueue *owner = nullptr;
                {
                    std::lock_guard lock(shared->mutex);
                    owner = shared->owner;
                }
                if (!owner)
                    return;
                if (apply)
                    apply();
                owner->m_running = false;
                owner->startNext();
            });
            std::lock_guard lock(shared->mutex);
            --shared->inFlight;
            shared->idle.notify_all();
        });
        return;
    }
}

void EffectQueue::waitForIdle(const std::function<void()> &pump)
{
    while (isBusy()) {
        {
            std::unique_lock lock(m_shared->mutex);
            m_shared->idle.wait(lock, [this] { return m_shared->inFlight == 0; });
        }
        if (pump)
            pump();
        else
            std::this_thread::yield();
    }
}

} // namespace vimora
