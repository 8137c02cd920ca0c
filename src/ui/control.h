#pragma once

// The base of buttons, sliders and switches: enabled / selected / highlighted state and
// target-actions on control events. A control tracks the first finger that lands on it:
//   began     not enabled: the touch goes to the superview. Otherwise highlighted, TouchDown
//             (and TouchDownRepeat for a repeated tap).
//   moved     highlighted while inside the tracking rectangle (bounds grown by kControlSlop);
//             TouchDragInside/Outside, and TouchDragEnter/Exit when that flips.
//   ended     not highlighted; TouchUpInside when lifted inside the tracking rectangle, else
//             TouchUpOutside.
//   cancelled not highlighted; TouchCancel.
// Actions run in the order they were added, with the control as sender.

#include <functional>
#include <vector>

#include "ui/control_state.h"
#include "ui/view.h"

namespace vimora::ui {

class Control : public View
{
public:
    using Action = std::function<void(Control &sender)>;

    /// A finger lifted this far outside the bounds still counts as inside.
    static constexpr double kControlSlop = 70;

    Control();
    explicit Control(const QRectF &frame);

    bool isEnabled() const { return m_enabled; }
    /// A disabled control draws greyed and passes touches to its superview.
    void setEnabled(bool enabled);
    bool isSelected() const { return m_selected; }
    /// Only code selects a control.
    void setSelected(bool selected);
    bool isHighlighted() const { return m_highlighted; }
    /// Set by tracking; code may set it too.
    void setHighlighted(bool highlighted);
    /// The bit-or of the state flags.
    ControlState state() const;

    bool isTracking() const { return m_tracking; }
    bool isTouchInside() const { return m_touchInside; }
    /// Bounds grown by kControlSlop on every side.
    QRectF trackingRect() const;

    /// Registers action for the events in the mask; returns an id for removeAction.
    int addAction(ControlEvents events, Action action);
    void removeAction(int id);
    void removeAllActions();
    /// Runs every action whose mask meets events, in registration order.
    void sendActions(ControlEvents events);

    void touchesBegan(const TouchSet &touches) override;
    void touchesMoved(const TouchSet &touches) override;
    void touchesEnded(const TouchSet &touches) override;
    void touchesCancelled(const TouchSet &touches) override;

protected:
    /// Whether to track a touch that began at p (bounds coordinates). Default: yes.
    virtual bool beginTracking(const Touch &touch, QPointF p);
    virtual void continueTracking(const Touch &touch, QPointF p);
    /// Runs before TouchUpInside / TouchUpOutside are sent.
    virtual void endTracking(const Touch &touch, QPointF p);
    virtual void cancelTracking();
    /// A state flag changed; the default repaints.
    virtual void stateChanged() { setNeedsDisplay(); }
    bool drawsContent() const override { return true; }

private:
    struct Target
    {
        int id;
        ControlEvents events;
        Action action;
    };
    const Touch *trackedTouch(const TouchSet &touches) const;

    bool m_enabled = true;
    bool m_selected = false;
    bool m_highlighted = false;
    bool m_tracking = false;
    bool m_touchInside = false;
    int m_trackedId = -1;
    std::vector<Target> m_targets;
    int m_nextTargetId = 1;
};

} // namespace vimora::ui
