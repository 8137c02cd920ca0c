#pragma once

// Turns finger input (id, phase, window position) into touch records, recogniser input and
// view touch events, the way the screens expect:
//  - a touch is hit-tested once, on touch-down, and keeps that view;
//  - recognisers on the hit view and its ancestors see the touch first, deepest first; the
//    first to begin or recognise wins the sequence and every other undecided one fails
//    (a recogniser on a deeper view wins a tie); a control's own gesture is left to it;
//  - the view gets the touches in parallel; when the winner cancels touches in view it gets
//    touchesCancelled instead, and its touchesEnded waits while a recogniser is undecided;
//  - tap counts grow for touches that begin within kMultiTapInterval and kMultiTapSlop of
//    the previous touch's end.

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QPointF>

#include "ui/gesture_recognizer.h"
#include "ui/touch.h"

namespace vimora::ui {

class View;

struct TouchInput
{
    TouchInput() = default;
    TouchInput(int id, TouchPhase phase, QPointF position, int minimumTapCount = 0,
               std::optional<QPointF> hitPosition = std::nullopt)
        : id(id)
        , phase(phase)
        , position(position)
        , minimumTapCount(minimumTapCount)
        , hitPosition(hitPosition)
    {
    }

    int id = 0;
    TouchPhase phase = TouchPhase::Began;
    QPointF position; // window coordinates
    int minimumTapCount = 0; // a host that knows better (a double click) may raise the count
    /// Where to hit-test a beginning touch when not at its position: the fingers of a
    /// simulated pinch all belong to the view under the pointer.
    std::optional<QPointF> hitPosition;
};

class TouchDispatcher
{
public:
    static constexpr double kMultiTapInterval = 0.35;
    static constexpr double kMultiTapSlop = 45;

    /// hitTest finds the view under a window point (nullptr: none).
    explicit TouchDispatcher(std::function<View *(QPointF)> hitTest);
    ~TouchDispatcher();
    TouchDispatcher(const TouchDispatcher &) = delete;
    TouchDispatcher &operator=(const TouchDispatcher &) = delete;

    /// One input event: any mix of phases, handled began, moved, ended, cancelled in turn.
    void dispatch(const std::vector<TouchInput> &inputs, double time);
    /// Cancels every touch still down (a window losing focus, a modal view appearing).
    void cancelAll(double time);
    /// Fingers down (not counting lifted touches whose end is held back).
    int activeTouchCount() const;
    /// The touch record of a finger that is down, or nullptr.
    TouchPtr touch(int id) const;

    /// Recognisers report every state change here (from touch handling or their timers).
    void recognizerChangedState(GestureRecognizer &recognizer);

private:
    struct Active;
    using ActivePtr = std::shared_ptr<Active>;
    using RecognizerPtr = std::shared_ptr<GestureRecognizer>;

    void gather(const ActivePtr &active);
    void deliverToRecognizers(TouchPhase phase, const std::vector<ActivePtr> &set);
    void deliverToViews(TouchPhase phase, const std::vector<ActivePtr> &set);
    bool undecided(const Active &active) const;
    void cancelViewTouch(Active &active);
    void flushHeldEnds();
    void cleanUp();
    bool sequenceOver() const;
    ActivePtr find(int id) const;

    std::function<View *(QPointF)> m_hitTest;
    std::vector<ActivePtr> m_active;
    std::vector<RecognizerPtr> m_candidates; // deepest view first
    RecognizerPtr m_winner;
    std::vector<std::weak_ptr<GestureRecognizer>> m_known; // every recogniser pointing at us
    double m_lastEndTime = -1e9;
    QPointF m_lastEndPosition;
    int m_lastTapCount = 0;
    bool m_flushing = false;
    bool m_cleaning = false;
    bool m_dispatching = false;
};

} // namespace vimora::ui
