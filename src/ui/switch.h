#pragma once

#include "ui/clock.h"
#include "ui/control.h"

namespace vimora::ui {

/// An on/off switch of fixed size kSize: a frame's size is ignored, its origin kept. A tap
/// toggles it when the finger lifts (inside the tracking rectangle); dragging the knob sets
/// it by the half the knob ends in. ValueChanged is sent when the user changes the value;
/// setOn in code sends nothing.
class Switch : public Control
{
public:
    static constexpr QSizeF kSize{79, 27};
    /// Movement after which a touch drags the knob instead of tapping.
    static constexpr double kDragThreshold = 4;
    static constexpr double kAnimationDuration = 0.15;

    Switch();
    explicit Switch(const QRectF &frame);

    bool isOn() const { return m_on; }
    void setOn(bool on, bool animated = false);

    bool ownsGesture(const GestureRecognizer &recognizer, const Touch &touch) const override;

protected:
    QSizeF adjustedSize(QSizeF) const override { return kSize; }
    bool beginTracking(const Touch &touch, QPointF p) override;
    void continueTracking(const Touch &touch, QPointF p) override;
    void endTracking(const Touch &touch, QPointF p) override;
    void cancelTracking() override;
    void drawContent(QPainter &painter) const override;

private:
    double knobTravel() const;
    void animateKnobTo(double position);
    void step();

    bool m_on = false;
    double m_knob = 0; // 0 = off, 1 = on; the drawn position
    double m_animFrom = 0, m_animTo = 0, m_animStart = 0;
    ScheduledCall m_animation;
    bool m_dragging = false;
    double m_startX = 0, m_startKnob = 0;
};

} // namespace vimora::ui
