#include "ui/control.h"

#include "ui/geometry.h"

namespace vimora::ui {

Control::Control() = default;

Control::Control(const QRectF &frame)
    : View(frame)
{
}

void Control::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    stateChanged();
}

void Control::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    stateChanged();
}

void Control::setHighlighted(bool highlighted)
{
    if (highlighted == m_highlighted)
        return;
    m_highlighted = highlighted;
    stateChanged();
}

ControlState Control::state() const
{
    ControlState s = ControlStateNormal;
    if (m_highlighted)
        s |= ControlStateHighlighted;
    if (!m_enabled)
        s |= ControlStateDisabled;
    if (m_selected)
        s |= ControlStateSelected;
    return s;
}

QRectF Control::trackingRect() const
{
    return bounds().normalized().adjusted(-kControlSlop, -kControlSlop, kControlSlop, kControlSlop);
}

int Control::addAction(ControlEvents events, Action action)
{
    const int id = m_nextTargetId++;
    m_targets.push_back({id, events, std::move(action)});
    return id;
}

void Control::removeAction(int id)
{
    std::erase_if(m_targets, [id](const Target &t) { return t.id == id; });
}

void Control::removeAllActions()
{
    m_targets.clear();
}

void Control::sendActions(ControlEvents events)
{
    const ViewPtr keep = sharedFromThis(); // an action may remove the control
    const std::vector<Target> targets = m_targets;
    for (const Target &t : targets)
        if ((t.events & events) && t.action)
            t.action(*this);
}

const Touch *Control::trackedTouch(const TouchSet &touches) const
{
    for (const TouchPtr &t : touches)
        if (t->id == m_trackedId)
            return t.get();
    return nullptr;
}

bool Control::beginTracking(const Touch &, QPointF)
{
    return true;
}

void Control::continueTracking(const Touch &, QPointF) {}

void Control::endTracking(const Touch &, QPointF) {}

void Control::cancelTracking() {}

void Control::touchesBegan(const TouchSet &touches)
{
    if (!m_enabled) {
        forwardTouches(TouchPhase::Began, touches);
        return;
    }
    if (m_tracking || touches.empty())
        return;
    const Touch &touch = *touches.front();
    const QPointF p = touch.locationInView(this);
    m_trackedId = touch.id;
    if (!beginTracking(touch, p)) {
        m_trackedId = -1;
        return;
    }
    m_tracking = true;
    m_touchInside = true;
    setHighlighted(true);
    sendActions(ControlEventTouchDown | (touch.tapCount > 1 ? ControlEventTouchDownRepeat : 0u));
}

void Control::touchesMoved(const TouchSet &touches)
{
    if (!m_tracking) {
        if (!m_enabled)
            forwardTouches(TouchPhase::Moved, touches);
        return;
    }
    const Touch *touch = trackedTouch(touches);
    if (!touch)
        return;
    const QPointF p = touch->locationInView(this);
    const bool inside = containsPoint(trackingRect(), p);
    const bool flipped = inside != m_touchInside;
    m_touchInside = inside;
    setHighlighted(inside);
    continueTracking(*touch, p);
    ControlEvents events = inside ? ControlEventTouchDragInside : ControlEventTouchDragOutside;
    if (flipped)
        events |= inside ? ControlEventTouchDragEnter : ControlEventTouchDragExit;
    sendActions(events);
}

void Control::touchesEnded(const TouchSet &touches)
{
    if (!m_tracking) {
        if (!m_enabled)
            forwardTouches(TouchPhase::Ended, touches);
        return;
    }
    const Touch *touch = trackedTouch(touches);
    if (!touch)
        return;
    const ViewPtr keep = sharedFromThis();
    const QPointF p = touch->locationInView(this);
    const bool inside = containsPoint(trackingRect(), p);
    m_tracking = false;
    m_trackedId = -1;
    m_touchInside = inside;
    setHighlighted(false);
    endTracking(*touch, p);
    sendActions(inside ? ControlEventTouchUpInside : ControlEventTouchUpOutside);
}

void Control::touchesCancelled(const TouchSet &touches)
{
    if (!m_tracking) {
        if (!m_enabled)
            forwardTouches(TouchPhase::Cancelled, touches);
        return;
    }
    if (!trackedTouch(touches))
        return;
    const ViewPtr keep = sharedFromThis();
    m_tracking = false;
    m_trackedId = -1;
    setHighlighted(false);
    cancelTracking();
    sendActions(ControlEventTouchCancel);
}

} // namespace vimora::ui
