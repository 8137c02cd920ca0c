#pragma once

#include <vector>

#include <QImage>

#include "ui/clock.h"
#include "ui/host.h"

namespace vimora::ui {

namespace detail {
// Holds a host's clock so it is built before the host and destroyed after it.
template <typename C>
struct ClockHolder
{
    C ownedClock;
};
} // namespace detail

/// A host without a window, for tests: the same touch dispatch as the window host, a
/// virtual clock that moves only when told (timers, long presses and transitions are
/// deterministic), and rendering to a QImage. Touch helpers take window points; the single
/// finger helpers use touch id 0.
class HeadlessHost : private detail::ClockHolder<VirtualClock>, public Host
{
public:
    explicit HeadlessHost(QSizeF screenSize = QSizeF(768, 1024), double scale = 1.0);
    ~HeadlessHost() override;

    VirtualClock &virtualClock() { return ownedClock; }
    /// Moves time forward, running timers and posted calls that fall due.
    void advance(double seconds) { ownedClock.advance(seconds); }
    /// Runs posted calls (the end of the current event-loop turn) without moving time.
    void runPending() { ownedClock.runPending(); }

    void touchDown(QPointF p, int id = 0, int minimumTapCount = 0);
    void touchMove(QPointF p, int id = 0);
    void touchUp(QPointF p, int id = 0);
    void touchCancel(int id = 0);

    /// count quick taps at p, each pressed kTapPress and kTapGap apart.
    void tap(QPointF p, int count = 1);
    /// A drag from one point to another in steps, spread over seconds.
    void drag(QPointF from, QPointF to, int steps = 10, double seconds = 0.2);
    /// Two fingers about centre, horizontally apart by startDistance, moved so that their
    /// distance reads each of the cumulative scales in turn, then lifted.
    void pinch(QPointF centre, double startDistance, const std::vector<double> &scales, double stepSeconds = 1.0 / 60);
    /// A finger held still at p for seconds, then lifted.
    void press(QPointF p, double seconds);

    static constexpr double kTapPress = 0.05;
    static constexpr double kTapGap = 0.1;
    /// Touch ids the two-finger helpers use.
    static constexpr int kFirstPinchFinger = 100;

    /// The screen as the window host would show it, at the host's scale.
    QImage render() const;
    using Host::render; // and into any painter
    double renderScale() const override { return m_scale; }

    void setNeedsRepaint() override { ++m_repaintRequests; }
    int repaintRequests() const { return m_repaintRequests; }
    void resetRepaintRequests() { m_repaintRequests = 0; }

private:
    void send(int id, TouchPhase phase, QPointF p, int minimumTapCount = 0);

    double m_scale;
    int m_repaintRequests = 0;
};

} // namespace vimora::ui
