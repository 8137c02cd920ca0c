#pragma once

#include <functional>
#include <map>

#include "ui/clock.h"
#include "ui/gesture_recognizer.h"

namespace vimora::ui {

/// A finger held still. Continuous: Began fires from a timer on the current clock once the
/// required fingers have been down for minimumPressDuration, without any further touch
/// event; moving more than allowableMovement before that makes it fail. After Began every
/// move sends Changed and lifting sends Ended, so the action runs at least twice.
class LongPressRecognizer : public GestureRecognizer
{
public:
    explicit LongPressRecognizer(std::function<void(LongPressRecognizer &)> action = {});

    double minimumPressDuration() const { return m_minimumDuration; }
    void setMinimumPressDuration(double seconds) { m_minimumDuration = std::max(0.0, seconds); }
    double allowableMovement() const { return m_allowableMovement; }
    void setAllowableMovement(double points) { m_allowableMovement = std::max(0.0, points); }
    int numberOfTouchesRequired() const { return m_touchesRequired; }
    void setNumberOfTouchesRequired(int n) { m_touchesRequired = std::max(1, n); }

protected:
    void touchesBegan(const TouchSet &touches) override;
    void touchesMoved(const TouchSet &touches) override;
    void touchesEnded(const TouchSet &touches) override;
    void didReset() override;

private:

    double m_minimumDuration = 0.5;
    double m_allowableMovement = 10;
    int m_touchesRequired = 1;
    std::map<int, QPointF> m_downAt;
    ScheduledCall m_timer;
};

} // namespace vimora::ui
