#include "ui/clock.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QTimer>

namespace vimora::ui {

namespace {
Clock *g_current = nullptr;

SystemClock &processClock()
{
    static SystemClock clock;
    return clock;
}
} // namespace

Clock &Clock::current()
{
    return g_current ? *g_current : processClock();
}

Clock *Clock::setCurrent(Clock *clock)
{
    Clock *previous = g_current;
    g_current = clock;
    return previous;
}

void postToMainThread(std::function<void()> fn)
{
    Clock::current().post(std::move(fn));
}

// --- ScheduledCall ---

void ScheduledCall::start(double delay, std::function<void()> fn)
{
    stop();
    m_clock = &Clock::current();
    m_life = m_clock->lifeToken();
    // The id is cleared before fn runs, so fn may start the call again.
    auto shared = std::make_shared<std::function<void()>>(std::move(fn));
    m_id = m_clock->schedule(delay, [this, shared]() {
        m_id = 0;
        (*shared)();
    });
}

void ScheduledCall::stop()
{
    if (m_id && !m_life.expired())
        m_clock->cancel(m_id);
    m_id = 0;
}

// --- SystemClock ---

SystemClock::SystemClock()
    : m_context(std::make_unique<QObject>())
{
    m_elapsed.start();
}

SystemClock::~SystemClock()
{
    for (auto &entry : m_timers)
        delete entry.second;
}

double SystemClock::now() const
{
    return double(m_elapsed.nsecsElapsed()) * 1e-9;
}

TimerId SystemClock::schedule(double delay, std::function<void()> fn)
{
    const TimerId id = m_nextId++;
    auto *timer = new QTimer(m_context.get());
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, m_context.get(), [this, id, fn = std::move(fn)]() {
        auto it = m_timers.find(id);
        if (it == m_timers.end())
            return;
        it->second->deleteLater();
        m_timers.erase(it);
        fn();
    });
    m_timers[id] = timer;
    timer->start(delay > 0 ? int(delay * 1000 + 0.5) : 0);
    return id;
}

void SystemClock::cancel(TimerId id)
{
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return;
    it->second->stop();
    it->second->deleteLater();
    m_timers.erase(it);
}

void SystemClock::post(std::function<void()> fn)
{
    // A queued invocation on an object of the main thread is safe from any thread.
    QObject *target = QCoreApplication::instance() ? static_cast<QObject *>(QCoreApplication::instance())
                                                   : m_context.get();
    QMetaObject::invokeMethod(target, std::move(fn), Qt::QueuedConnection);
}

void SystemClock::runPostedCalls()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        QCoreApplication::sendPostedEvents(app, QEvent::MetaCall);
    QCoreApplication::sendPostedEvents(m_context.get(), QEvent::MetaCall);
}

// --- VirtualClock ---

TimerId VirtualClock::schedule(double delay, std::function<void()> fn)
{
    const TimerId id = m_nextId++;
    const double due = m_now + std::max(0.0, delay);
    m_queue.emplace(std::make_pair(due, id), std::move(fn));
    m_dueById[id] = due;
    return id;
}

void VirtualClock::cancel(TimerId id)
{
    auto it = m_dueById.find(id);
    if (it == m_dueById.end())
        return;
    m_queue.erase(std::make_pair(it->second, id));
    m_dueById.erase(it);
}

void VirtualClock::post(std::function<void()> fn)
{
    std::lock_guard lock(m_postMutex);
    m_posted.push_back(std::move(fn));
}

bool VirtualClock::runPosted()
{
    std::vector<std::function<void()>> batch;
    {
        std::lock_guard lock(m_postMutex);
        batch.swap(m_posted);
    }
    for (auto &fn : batch)
        fn();
    return !batch.empty();
}

void VirtualClock::runPostedCalls()
{
    while (runPosted()) {
    }
}

void VirtualClock::advance(double seconds)
{
    const double target = m_now + std::max(0.0, seconds);
    for (;;) {
        while (runPosted()) {
        }
        if (m_queue.empty() || m_queue.begin()->first.first > target)
            break;
        auto it = m_queue.begin();
        const TimerId id = it->first.second;
        m_now = std::max(m_now, it->first.first);
        auto fn = std::move(it->second);
        m_queue.erase(it);
        m_dueById.erase(id);
        fn();
    }
    m_now = target;
}

int VirtualClock::pendingCount() const
{
    return int(m_queue.size());
}

} // namespace vimora::ui
