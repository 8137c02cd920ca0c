#include "ui/pan_recognizer.h"

#include <algorithm>
#include <cmath>

#include "ui/view.h"

namespace vimora::ui {

PanRecognizer::PanRecognizer(std::function<void(PanRecognizer &)> action)
{
    addTypedAction(std::move(action));
}

QPointF PanRecognizer::trackedCentroid(const TouchSet &excluding) const
{
    // Only the first maximumNumberOfTouches fingers count.
    QPointF sum;
    int n = 0;
    for (const TouchPtr &t : touches()) {
        if (n >= m_maximumTouches)
            break;
        if (std::find(excluding.begin(), excluding.end(), t) != excluding.end())
            continue;
        sum += t->windowPosition;
        ++n;
    }
    return n ? sum / double(n) : m_current;
}

void PanRecognizer::touchesBegan(const TouchSet &touches)
{
    const bool first = numberOfTouches() == int(touches.size());
    if (state() == State::Possible && numberOfTouches() > m_maximumTouches) {
        setState(State::Failed);
        return;
    }
    const QPointF c = trackedCentroid();
    if (first) {
        m_start = c;
        m_previous = m_current = c;
        m_previousTime = m_currentTime = now();
    } else {
        // A finger joining moves the centroid; that jump is not a drag.
        m_start += c - m_current;
        m_previous = m_current = c;
    }
}

void PanRecognizer::touchesMoved(const TouchSet &)
{
    const QPointF c = trackedCentroid();
    m_previous = m_current;
    m_previousTime = m_currentTime;
    m_current = c;
    m_currentTime = now();
    if (state() == State::Possible) {
        const QPointF d = c - m_start;
        if (numberOfTouches() >= m_minimumTouches && std::hypot(d.x(), d.y()) >= kPanThreshold)
            setState(State::Began);
    } else if (state() == State::Began || state() == State::Changed) {
        setState(State::Changed);
    }
}

void PanRecognizer::touchesEnded(const TouchSet &touches)
{
    const int remaining = numberOfTouches() - int(touches.size());
    if (remaining <= 0) {
        if (state() == State::Began || state() == State::Changed)
            setState(State::Ended);
        else if (state() == State::Possible)
            setState(State::Failed);
        return;
    }
    // A finger leaving moves the centroid of the rest; rebase so the view does not jump.
    const QPointF c = trackedCentroid(touches);
    m_start += c - m_current;
    m_previous = m_current = c;
}

void PanRecognizer::didReset()
{
    m_start = m_current = m_previous = QPointF();
    m_currentTime = m_previousTime = 0;
}

QPointF PanRecognizer::windowVector(QPointF from, QPointF to, const View *view) const
{
    if (!view)
        return to - from;
    // Affine maps keep differences linear: this is L⁻¹·(to − from) for view's window map.
    return view->convertPointFrom(to, nullptr) - view->convertPointFrom(from, nullptr);
}

QPointF PanRecognizer::translationInView(const View *view) const
{
    return windowVector(m_start, m_current, view);
}

void PanRecognizer::setTranslation(QPointF translation, const View *view)
{
    // Find the window vector that reads as translation in view: map it back out.
    QPointF windowT = translation;
    if (view) {
        const QPointF origin = view->convertPointTo(QPointF(0, 0), nullptr);
        windowT = view->convertPointTo(translation, nullptr) - origin;
    }
    m_start = m_current - windowT;
    m_previous = m_current;
    m_previousTime = m_currentTime;
}

QPointF PanRecognizer::velocityInView(const View *view) const
{
    const double dt = m_currentTime - m_previousTime;
    if (dt <= 0)
        return {};
    return windowVector(m_previous, m_current, view) / dt;
}

} // namespace vimora::ui
