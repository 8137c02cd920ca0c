#pragma once

// Gesture recognisers are state machines over plain touch records; they never see a QEvent.
// The host's dispatcher feeds them the touches of the views they are attached to (and of
// those views' descendants) before the views get them, deepest view first, and lets only
// one recogniser recognise a touch sequence.
//
// States: Possible (watching) → Began → Changed* → Ended or Cancelled for continuous
// gestures, Possible → Recognized (= Ended) for discrete ones, or Possible → Failed.
// Actions run synchronously on every transition into Began, Changed, Ended/Recognized and
// Cancelled, never for Failed. A finished recogniser returns to Possible once every touch
// of its sequence has ended.

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <QPointF>

#include "ui/touch.h"

namespace vimora::ui {

class TouchDispatcher;
class View;

class GestureRecognizer : public std::enable_shared_from_this<GestureRecognizer>
{
public:
    enum class State { Possible = 0, Began = 1, Changed = 2, Ended = 3, Cancelled = 4, Failed = 5 };
    static constexpr State Recognized = State::Ended;
    using Action = std::function<void(GestureRecognizer &)>;

    explicit GestureRecognizer(Action action = {});
    virtual ~GestureRecognizer();
    GestureRecognizer(const GestureRecognizer &) = delete;
    GestureRecognizer &operator=(const GestureRecognizer &) = delete;

    void addAction(Action action);
    State state() const { return m_state; }
    /// The view the recogniser is attached to (nullptr once removed).
    View *view() const { return m_view; }

    bool isEnabled() const { return m_enabled; }
    /// Disabling a recogniser in the middle of a gesture cancels it.
    void setEnabled(bool enabled);
    /// On (default): the view's touches are cancelled when this recogniser recognises.
    bool cancelsTouchesInView() const { return m_cancelsTouchesInView; }
    void setCancelsTouchesInView(bool on) { m_cancelsTouchesInView = on; }
    /// On (default): the view's touchesEnded waits while this recogniser is undecided.
    bool delaysTouchesEnded() const { return m_delaysTouchesEnded; }
    void setDelaysTouchesEnded(bool on) { m_delaysTouchesEnded = on; }

    /// The centroid of the touches at the latest event, in view's coordinates (nullptr:
    /// window); for a tap, the centroid where the fingers lifted.
    QPointF locationInView(const View *view) const;
    int numberOfTouches() const { return int(m_touches.size()); }
    const TouchSet &touches() const { return m_touches; }
    /// Discrete gestures (tap) go from Possible straight to Recognized.
    virtual bool isDiscrete() const { return false; }

    /// Touch delivery: records the touches, then calls the matching protected handler.
    /// Ignored while the recogniser is disabled or has finished (Ended, Cancelled, Failed).
    void handleTouches(TouchPhase phase, const TouchSet &touches);
    /// Back to Possible, forgetting touches and timers, without running actions.
    void reset();
    /// An undecided recogniser fails (no action); a running one is cancelled (action runs).
    void cancelOrFail();

    bool isFinished() const
    {
        return m_state == State::Ended || m_state == State::Cancelled || m_state == State::Failed;
    }

protected:
    virtual void touchesBegan(const TouchSet &touches);
    virtual void touchesMoved(const TouchSet &touches);
    virtual void touchesEnded(const TouchSet &touches);
    virtual void touchesCancelled(const TouchSet &touches);
    /// Subclasses forget their own state here (timers included).
    virtual void didReset() {}

    void setState(State state);
    /// Adds an action that takes the recogniser as its own type R (nothing for an empty one).
    template <typename R>
    void addTypedAction(std::function<void(R &)> action)
    {
        if (action)
            addAction([action = std::move(action)](GestureRecognizer &r) { action(static_cast<R &>(r)); });
    }
    /// Whether any of touches lies further than distance from where downAt (touch id →
    /// window position at touch-down) says it went down; touches not in downAt are skipped.
    static bool movedBeyond(const std::map<int, QPointF> &downAt, const TouchSet &touches, double distance);
    /// Window-coordinate centroid of the touches currently held.
    QPointF windowCentroid() const;
    /// Seconds on the current clock.
    double now() const;

private:
    friend class View;
    friend class TouchDispatcher;
    void setView(View *view) { m_view = view; }

    View *m_view = nullptr;
    TouchDispatcher *m_dispatcher = nullptr;
    std::vector<Action> m_actions;
    State m_state = State::Possible;
    bool m_enabled = true;
    bool m_cancelsTouchesInView = true;
    bool m_delaysTouchesEnded = true;
    TouchSet m_touches;
    QPointF m_lastLocation; // window coordinates
};

} // namespace vimora::ui
