#include "ui/timer.h"

#include <algorithm>
#include <cmath>

namespace vimora::ui {

// A repeating timer needs a small floor, or a zero interval would spin the loop.
static constexpr double kMinRepeatInterval = 0.001;

Timer::Timer(double interval, bool repeats, Callback callback)
    : m_clock(&Clock::current())
    , m_clockLife(m_clock->lifeToken())
    , m_interval(std::max(0.0, interval))
    , m_repeats(repeats)
    , m_callback(std::move(callback))
{
    if (m_repeats)
        m_interval = std::max(m_interval, kMinRepeatInterval);
}

std::shared_ptr<Timer> Timer::scheduled(double interval, bool repeats, Callback callback)
{
    std::shared_ptr<Timer> timer(new Timer(interval, repeats, std::move(callback)));
    timer->m_nextDue = timer->m_clock->now() + timer->m_interval;
    timer->arm();
    return timer;
}

std::shared_ptr<Timer> Timer::scheduled(double interval, bool repeats, std::function<void()> callback)
{
    return scheduled(interval, repeats, Callback([callback = std::move(callback)](Timer &) { callback(); }));
}

void Timer::arm()
{
    // The clock holds a strong reference: a scheduled timer lives until it fires or is
    // invalidated, as the run loop keeps the screens' timers.
    std::shared_ptr<Timer> self = shared_from_this();
    m_id = m_clock->schedule(m_nextDue - m_clock->now(), [self]() { self->fire(); });
}

void Timer::fire()
{
    if (!m_valid)
        return;
    m_id = 0;
    std::shared_ptr<Timer> keep = shared_from_this();
    if (!m_repeats)
        m_valid = false;
    m_callback(*this);
    if (m_repeats && m_valid) {
        const double now = m_clock->now();
        m_nextDue += m_interval;
        if (m_nextDue <= now) // skip missed beats rather than firing a burst
            m_nextDue += (std::floor((now - m_nextDue) / m_interval) + 1) * m_interval;
        arm();
    }
}

void Timer::invalidate()
{
    if (!m_valid)
        return;
    m_valid = false;
    if (m_id && !m_clockLife.expired()) {
        const TimerId id = m_id;
        m_id = 0;
        m_clock->cancel(id); // may drop the clock's reference to this timer: do it last
    }
}

} // namespace vimora::ui
