#include "ui/long_press_recognizer.h"

#include <cmath>

namespace vimora::ui {

LongPressRecognizer::LongPressRecognizer(std::function<void(LongPressRecognizer &)> action)
{
    if (action)
        addAction(
            [action = std::move(action)](GestureRecognizer &r) { action(static_cast<LongPressRecognizer &>(r)); });
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
    for (const TouchPtr &t : touches) {
        auto it = m_downAt.find(t->id);
        if (it == m_downAt.end())
            continue;
        const QPointF d = t->windowPosition - it->second;
        if (std::hypot(d.x(), d.y()) > m_allowableMovement) {
            m_timer.stop();
            setState(State::Failed);
            return;
        }
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
