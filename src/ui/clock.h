#pragma once

// The toolkit's notion of time. Timers, long presses, transitions and spinners read one
// clock, the current one: a host installs its own (the window host a SystemClock on Qt's
// event loop, the headless host a VirtualClock that tests move forward), so everything
// timed is deterministic under test. Times are seconds as double.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include <QElapsedTimer>

class QObject;
class QTimer;

namespace vimora::ui {

using TimerId = std::uint64_t;

class Clock
{
public:
    virtual ~Clock() = default;

    /// Seconds since the clock started.
    virtual double now() const = 0;
    /// Runs fn once, delay seconds from now (0 or less: on the next turn of the loop).
    virtual TimerId schedule(double delay, std::function<void()> fn) = 0;
    /// Forgets a scheduled call; unknown or finished ids are ignored.
    virtual void cancel(TimerId id) = 0;
    /// Runs fn on the main thread after the current work returns. Safe from any thread.
    virtual void post(std::function<void()> fn) = 0;
    /// Runs the calls posted so far, on the main thread: for waits that must see results
    /// posted from other threads.
    virtual void runPostedCalls() = 0;

    /// The clock in use: the one a host installed, else a process-wide SystemClock.
    static Clock &current();
    /// Installs a clock (nullptr: back to the process-wide SystemClock); returns the previous.
    static Clock *setCurrent(Clock *clock);

    /// Expires when the clock is destroyed, so holders of a clock pointer can tell.
    std::weak_ptr<const void> lifeToken() const { return m_life; }

private:
    std::shared_ptr<const int> m_life = std::make_shared<const int>(0);
};

/// One pending call on a clock, cancelled when replaced or destroyed: the building block
/// of recognisers' and controls' internal timers. Safe when the clock goes first.
class ScheduledCall
{
public:
    ScheduledCall() = default;
    ~ScheduledCall() { stop(); }
    ScheduledCall(const ScheduledCall &) = delete;
    ScheduledCall &operator=(const ScheduledCall &) = delete;

    /// Schedules fn on the current clock, replacing any pending call.
    void start(double delay, std::function<void()> fn);
    void stop();
    bool isActive() const { return m_id != 0 && !m_life.expired(); }

private:
    Clock *m_clock = nullptr;
    std::weak_ptr<const void> m_life;
    TimerId m_id = 0;
};

/// Posts fn to the main thread through the current clock. The screens' "start or stop the
/// spinner on a detached thread" becomes this.
void postToMainThread(std::function<void()> fn);

/// Real time on Qt's event loop (needs a QCoreApplication to fire).
class SystemClock : public Clock
{
public:
    SystemClock();
    ~SystemClock() override;

    double now() const override;
    TimerId schedule(double delay, std::function<void()> fn) override;
    void cancel(TimerId id) override;
    void post(std::function<void()> fn) override;
    void runPostedCalls() override;

private:
    QElapsedTimer m_elapsed;
    std::unique_ptr<QObject> m_context;
    std::map<TimerId, QTimer *> m_timers;
    TimerId m_nextId = 1;
};

/// Time that moves only when told to. Scheduled calls run in time order (ties in the order
/// scheduled) with now() set to their due time; posted calls run before any later timer.
class VirtualClock : public Clock
{
public:
    double now() const override { return m_now; }
    TimerId schedule(double delay, std::function<void()> fn) override;
    void cancel(TimerId id) override;
    void post(std::function<void()> fn) override;
    void runPostedCalls() override;

    /// Moves time forward by seconds, running everything that falls due on the way.
    void advance(double seconds);
    /// Runs posted calls and calls due now, without moving time.
    void runPending() { advance(0); }
    /// Number of scheduled calls not yet run.
    int pendingCount() const;

private:
    bool runPosted();

    double m_now = 0;
    TimerId m_nextId = 1;
    std::multimap<std::pair<double, TimerId>, std::function<void()>> m_queue;
    std::map<TimerId, double> m_dueById;
    mutable std::mutex m_postMutex;
    std::vector<std::function<void()>> m_posted;
};

} // namespace vimora::ui
