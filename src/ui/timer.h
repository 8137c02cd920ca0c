#pragma once

#include <functional>
#include <memory>

#include "ui/clock.h"

namespace vimora::ui {

/// A one-shot or repeating timer on the current clock (the screens' scheduled timers).
/// The callback runs on the main thread. A repeating timer keeps its phase: it fires at
/// start + n·interval, skipping beats that were missed. Only invalidate() stops it (the clock
/// holds it while it is scheduled); a one-shot timer is invalid once it has fired.
class Timer : public std::enable_shared_from_this<Timer>
{
public:
    using Callback = std::function<void(Timer &)>;

    /// Creates and starts a timer; keep the result to invalidate it later. The clock keeps
    /// the timer alive while it is scheduled.
    static std::shared_ptr<Timer> scheduled(double interval, bool repeats, Callback callback);
    static std::shared_ptr<Timer> scheduled(double interval, bool repeats, std::function<void()> callback);

    ~Timer() = default;
    Timer(const Timer &) = delete;
    Timer &operator=(const Timer &) = delete;

    void invalidate();
    bool isValid() const { return m_valid; }
    double interval() const { return m_interval; }
    bool repeats() const { return m_repeats; }

private:
    Timer(double interval, bool repeats, Callback callback);
    void arm();
    void fire();

    Clock *m_clock;
    std::weak_ptr<const void> m_clockLife;
    double m_interval;
    bool m_repeats;
    Callback m_callback;
    double m_nextDue = 0;
    TimerId m_id = 0;
    bool m_valid = true;
};

} // namespace vimora::ui
