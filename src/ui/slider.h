#pragma once

#include <map>

#include "ui/control.h"
#include "ui/stretchable_image.h"

namespace vimora::ui {

/// A horizontal slider. The track spans the bounds' width at the track picture's height,
/// centred vertically; the thumb's centre sits at x = tw/2 + u·(W − tw) for
/// u = (value − min)/(max − min). The minimum-track picture fills from the left end to the
/// thumb's centre, the maximum-track picture from there to the right end (the theme draws
/// whichever is missing).
///
/// Only a touch that begins on the thumb (grown by kThumbSlop) tracks; dragging moves the
/// value by the finger's horizontal travel since touch-down, Δvalue = Δx·(max − min)/(W − tw),
/// clamped, so the grabbed point stays under the finger. Continuous: ValueChanged on every
/// step that changes the value. Not continuous: one ValueChanged when the finger lifts,
/// only if the value differs from the value at touch-down. Setting the value in code sends
/// nothing.
class Slider : public Control
{
public:
    static constexpr double kThumbSlop = 10;

    Slider();
    explicit Slider(const QRectF &frame);

    double value() const { return m_value; }
    /// Clamped to [minimum, maximum]; sends no event.
    void setValue(double value);
    double minimumValue() const { return m_minimum; }
    void setMinimumValue(double minimum);
    double maximumValue() const { return m_maximum; }
    void setMaximumValue(double maximum);
    bool isContinuous() const { return m_continuous; }
    void setContinuous(bool continuous) { m_continuous = continuous; }

    void setMinimumTrackImage(const StretchableImage &image, ControlState state = ControlStateNormal);
    StretchableImage minimumTrackImage(ControlState state = ControlStateNormal) const;
    void setMaximumTrackImage(const StretchableImage &image, ControlState state = ControlStateNormal);
    StretchableImage maximumTrackImage(ControlState state = ControlStateNormal) const;
    void setThumbImage(const StretchableImage &image, ControlState state = ControlStateNormal);
    StretchableImage thumbImage(ControlState state = ControlStateNormal) const;

    /// Geometry in bounds coordinates for the current value and pictures.
    QRectF trackRect() const;
    QRectF thumbRect() const;
    /// The inverse pair behind thumbRect: thumb centre x for a value, value for a centre x
    /// (clamped to the range).
    double thumbCenterForValue(double value) const;
    double valueForThumbCenter(double x) const;

    bool ownsGesture(const GestureRecognizer &recognizer, const Touch &touch) const override;

protected:
    bool beginTracking(const Touch &touch, QPointF p) override;
    void continueTracking(const Touch &touch, QPointF p) override;
    void endTracking(const Touch &touch, QPointF p) override;
    void drawContent(QPainter &painter) const override;

private:
    QSizeF thumbSize() const;
    double trackHeight() const;
    /// Whether p (bounds coordinates) is on the thumb grown by kThumbSlop.
    bool isOnThumb(QPointF p) const;

    double m_value = 0, m_minimum = 0, m_maximum = 1;
    bool m_continuous = true;
    std::map<ControlState, StretchableImage> m_minTrack, m_maxTrack, m_thumb;
    double m_startValue = 0;
    double m_startX = 0;
};

} // namespace vimora::ui
