#include "ui/gesture_recognizer.h"

#include <algorithm>
#include <cmath>

#include "ui/clock.h"
#include "ui/touch_dispatcher.h"
#include "ui/view.h"

namespace vimora::ui {

GestureRecognizer::GestureRecognizer(Action action)
{
    if (action)
        m_actions.push_back(std::move(action));
}

GestureRecognizer::~GestureRecognizer() = default;

void GestureRecognizer::addAction(Action action)
{
    if (action)
        m_actions.push_back(std::move(action));
}

void GestureRecognizer::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    if (!enabled && !isFinished() && (m_state != State::Possible || !m_touches.empty()))
        cancelOrFail();
    m_enabled = enabled;
}

bool GestureRecognizer::movedBeyond(const std::map<int, QPointF> &downAt, const TouchSet &touches, double distance)
{
    for (const TouchPtr &t : touches) {
        auto it = downAt.find(t->id);
        if (it == downAt.end())
            continue;
        const QPointF d = t->windowPosition - it->second;
        if (std::hypot(d.x(), d.y()) > distance)
            return true;
    }
    return false;
}

QPointF GestureRecognizer::locationInView(const View *view) const
{
    return view ? view->convertPointFrom(m_lastLocation, nullptr) : m_lastLocation;
}

QPointF GestureRecognizer::windowCentroid() const
{
    if (m_touches.empty())
        return m_lastLocation;
    QPointF sum;
    for (const TouchPtr &t : m_touches)
        sum += t->windowPosition;
    return sum / double(m_touches.size());
}

double GestureRecognizer::now() const
{
    return Clock::current().now();
}

void GestureRecognizer::handleTouches(TouchPhase phase, const TouchSet &touches)
{
    if (!m_enabled || isFinished() || touches.empty())
        return;
    const std::shared_ptr<GestureRecognizer> keep = weak_from_this().lock(); // actions may drop it
    auto forget = [&]() {
        m_touches.erase(std::remove_if(m_touches.begin(), m_touches.end(),
                                       [&](const TouchPtr &t) {
                                           return std::find(touches.begin(), touches.end(), t) != touches.end();
                                       }),
                        m_touches.end());
    };
    switch (phase) {
    case TouchPhase::Began:
        for (const TouchPtr &t : touches)
            if (std::find(m_touches.begin(), m_touches.end(), t) == m_touches.end())
                m_touches.push_back(t);
        m_lastLocation = windowCentroid();
        touchesBegan(touches);
        break;
    case TouchPhase::Moved:
    case TouchPhase::Stationary:
        m_lastLocation = windowCentroid();
        touchesMoved(touches);
        break;
    case TouchPhase::Ended:
        m_lastLocation = windowCentroid();
        touchesEnded(touches);
        forget();
        break;
    case TouchPhase::Cancelled:
        touchesCancelled(touches);
        forget();
        break;
    }
}

void GestureRecognizer::touchesBegan(const TouchSet &) {}

void GestureRecognizer::touchesMoved(const TouchSet &) {}

void GestureRecognizer::touchesEnded(const TouchSet &) {}

void GestureRecognizer::touchesCancelled(const TouchSet &)
{
    cancelOrFail();
}

void GestureRecognizer::cancelOrFail()
{
    if (m_state == State::Began || m_state == State::Changed)
        setState(State::Cancelled);
    else if (m_state == State::Possible)
        setState(State::Failed);
}

void GestureRecognizer::reset()
{
    m_state = State::Possible;
    m_touches.clear();
    didReset();
}

void GestureRecognizer::setState(State state)
{
    m_state = state;
    if (state != State::Possible && state != State::Failed) {
        const std::vector<Action> actions = m_actions; // an action may add or remove actions
        for (const Action &action : actions)
            action(*this);
    }
    if (m_dispatcher)
        m_dispatcher->recognizerChangedState(*this);
}

} // namespace vimora::ui
