#pragma once

#include <functional>

#include "ui/gesture_recognizer.h"

namespace vimora::ui {

/// Two fingers moving apart or together. Begins once their distance has changed by
/// kPinchThreshold points; Changed while both stay down and move; Ended as soon as fewer
/// than two remain. Further fingers are ignored.
class PinchRecognizer : public GestureRecognizer
{
public:
    static constexpr double kPinchThreshold = 3;

    explicit PinchRecognizer(std::function<void(PinchRecognizer &)> action = {});

    /// Current finger distance over the distance when the second finger went down: the
    /// cumulative scale since the gesture began (1.0 at touch-down), never a step from the
    /// previous report.
    double scale() const { return m_scale; }
    /// Rebases the scale so it reads scale now; zeroes the velocity.
    void setScale(double scale);
    /// Scale units per second from the latest change (positive when spreading).
    double velocity() const { return m_velocity; }

protected:
    void touchesBegan(const TouchSet &touches) override;
    void touchesMoved(const TouchSet &touches) override;
    void touchesEnded(const TouchSet &touches) override;
    void didReset() override;

private:
    double fingerDistance() const;

    double m_startDistance = 0; // 0 while fewer than two fingers are down
    double m_scale = 1;
    double m_velocity = 0;
    double m_lastTime = 0;
};

} // namespace vimora::ui
