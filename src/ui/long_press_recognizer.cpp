#include "ui/long_press_recognizer.h"

namespace vimora::ui {

LongPressRecognizer::LongPressRecognizer(std::function<void(LongPressRecognizer &)> action)
{
    addTypedAction(std::move(action));
}

void LongPressRecognizer::touchesBegan(const TouchSet &touches)
{
    if (state() != State::Possible)
        return;
    for (const TouchPtr &t : touches)
        m_downAt[t->id] = t->windowPosition;
    if (numberOfTouches() > m_touchesRequired) {
        m_timer.stop();
        setState(State::Failed);
        return;
    }
    if (numberOfTouches() < m_touchesRequired)
        return;
    m_timer.start(m_minimumDuration, [this]() {
        const auto keep = weak_from_this().lock(); // the action may remove the view and us
        if (state() == State::Possible && isEnabled())
            setState(State::Began);
    });
}

void LongPressRecognizer::touchesMoved(const TouchSet &touches)
{
    if (state() == State::Began || state() == State::Changed) {
        setState(State::Changed);
        return;
    }
    if (state() != State::Possible)
        return;
    if (movedBeyond(m_downAt, touches, m_allowableMovement)) {
        m_timer.stop();
        setState(State::Failed);
    }
}

void LongPressRecognizer::touchesEnded(const TouchSet &)
{
    if (state() == State::Began || state() == State::Changed) {
        setState(State::Ended);
    } else if (state() == State::Possible) {
        m_timer.stop();
        setState(State::Failed);
    }
}

void LongPressRecognizer::didReset()
{
    m_timer.stop();
    m_downAt.clear();
}

} // namespace vimora::ui
