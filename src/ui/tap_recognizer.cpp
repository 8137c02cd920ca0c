#include "ui/tap_recognizer.h"

namespace vimora::ui {

TapRecognizer::TapRecognizer(std::function<void(TapRecognizer &)> action)
{
    addTypedAction(std::move(action));
}

void TapRecognizer::startTimer(double seconds)
{
    // The call dies with the recogniser (ScheduledCall cancels it), so `this` is safe.
    m_timer.start(seconds, [this]() {
        const auto keep = weak_from_this().lock(); // the failure may drop the last owner
        failNow();
    });
}

void TapRecognizer::failNow()
{
    if (state() == State::Possible)
        setState(State::Failed);
}

void TapRecognizer::touchesBegan(const TouchSet &touches)
{
    if (state() != State::Possible)
        return;
    const bool tapStarts = numberOfTouches() == int(touches.size());
    if (tapStarts) {
        m_fingersThisTap = 0;
        m_downAt.clear();
        startTimer(kTapMaxPress);
    }
    for (const TouchPtr &t : touches)
        m_downAt[t->id] = t->windowPosition;
    m_fingersThisTap = std::max(m_fingersThisTap, numberOfTouches());
    if (m_fingersThisTap > m_touchesRequired) {
        m_timer.stop();
        setState(State::Failed);
    }
}

void TapRecognizer::touchesMoved(const TouchSet &touches)
{
    if (state() != State::Possible)
        return;
    if (movedBeyond(m_downAt, touches, kTapSlop)) {
        m_timer.stop();
        setState(State::Failed);
    }
}

void TapRecognizer::touchesEnded(const TouchSet &touches)
{
    if (state() != State::Possible)
        return;
    touchesMoved(touches); // a lift far away is a move past the slop
    if (state() != State::Possible)
        return;
    if (numberOfTouches() - int(touches.size()) > 0)
        return; // the tap ends when the last finger lifts
    m_timer.stop();
    if (m_fingersThisTap != m_touchesRequired) {
        setState(State::Failed);
        return;
    }
    if (++m_tapsDone >= m_tapsRequired) {
        setState(Recognized);
        return;
    }
    startTimer(kMultiTapInterval);
}

void TapRecognizer::didReset()
{
    m_timer.stop();
    m_tapsDone = 0;
    m_fingersThisTap = 0;
    m_downAt.clear();
}

} // namespace vimora::ui
