#pragma once

#include <functional>
#include <map>

#include "ui/clock.h"
#include "ui/gesture_recognizer.h"

namespace vimora::ui {

/// One or more quick taps with a given number of fingers. Discrete: Recognized when the
/// fingers lift at the end of the last required tap (the action runs once). Fails when a
/// finger moves more than kTapSlop from where it went down, a press lasts longer than
/// kTapMaxPress, the next tap does not start within kMultiTapInterval, or another number
/// of fingers is used.
class TapRecognizer : public GestureRecognizer
{
public:
    static constexpr double kTapSlop = 45;
    static constexpr double kTapMaxPress = 0.75;
    static constexpr double kMultiTapInterval = 0.35;

    explicit TapRecognizer(std::function<void(TapRecognizer &)> action = {});

    int numberOfTapsRequired() const { return m_tapsRequired; }
    void setNumberOfTapsRequired(int n) { m_tapsRequired = std::max(1, n); }
    int numberOfTouchesRequired() const { return m_touchesRequired; }
    void setNumberOfTouchesRequired(int n) { m_touchesRequired = std::max(1, n); }

    bool isDiscrete() const override { return true; }

protected:
    void touchesBegan(const TouchSet &touches) override;
    void touchesMoved(const TouchSet &touches) override;
    void touchesEnded(const TouchSet &touches) override;
    void didReset() override;

private:
    void startTimer(double seconds);
    void failNow();

    int m_tapsRequired = 1;
    int m_touchesRequired = 1;
    int m_tapsDone = 0;
    int m_fingersThisTap = 0;
    std::map<int, QPointF> m_downAt; // touch id → window position at touch-down
    ScheduledCall m_timer;
};

} // namespace vimora::ui
