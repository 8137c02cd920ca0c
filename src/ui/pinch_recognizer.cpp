#include "ui/pinch_recognizer.h"

#include <cmath>

namespace vimora::ui {

PinchRecognizer::PinchRecognizer(std::function<void(PinchRecognizer &)> action)
{
    addTypedAction(std::move(action));
}

double PinchRecognizer::fingerDistance() const
{
    if (numberOfTouches() < 2)
        return 0;
    const QPointF d = touches()[1]->windowPosition - touches()[0]->windowPosition;
    return std::hypot(d.x(), d.y());
}

void PinchRecognizer::setScale(double scale)
{
    const double d = fingerDistance();
    if (d > 0 && scale > 0)
        m_startDistance = d / scale;
    m_scale = scale;
    m_velocity = 0;
}

void PinchRecognizer::touchesBegan(const TouchSet &)
{
    if (state() == State::Possible && numberOfTouches() >= 2 && m_startDistance == 0) {
        m_startDistance = fingerDistance();
        m_scale = 1;
        m_lastTime = now();
    }
}

void PinchRecognizer::touchesMoved(const TouchSet &)
{
    if (numberOfTouches() < 2 || m_startDistance <= 0)
        return;
    const double d = fingerDistance();
    if (state() == State::Possible) {
        if (std::abs(d - m_startDistance) < kPinchThreshold)
            return;
        m_scale = d / m_startDistance;
        m_lastTime = now();
        setState(State::Began);
        return;
    }
    if (state() != State::Began && state() != State::Changed)
        return;
    const double scale = d / m_startDistance;
    const double t = now();
    if (t > m_lastTime)
        m_velocity = (scale - m_scale) / (t - m_lastTime);
    m_scale = scale;
    m_lastTime = t;
    setState(State::Changed);
}

void PinchRecognizer::touchesEnded(const TouchSet &touches)
{
    const int remaining = numberOfTouches() - int(touches.size());
    if (state() == State::Began || state() == State::Changed) {
        if (remaining < 2)
            setState(State::Ended);
        return;
    }
    if (state() != State::Possible)
        return;
    if (remaining == 0)
        setState(State::Failed);
    else if (remaining < 2)
        m_startDistance = 0; // wait for a new second finger
}

void PinchRecognizer::didReset()
{
    m_startDistance = 0;
    m_scale = 1;
    m_velocity = 0;
}

} // namespace vimora::ui
