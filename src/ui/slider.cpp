#include "ui/slider.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>

#include "ui/geometry.h"
#include "ui/pan_recognizer.h"
#include "ui/theme.h"

namespace vimora::ui {

Slider::Slider() = default;

Slider::Slider(const QRectF &frame)
    : Control(frame)
{
}

void Slider::setValue(double value)
{
    value = std::clamp(value, m_minimum, std::max(m_minimum, m_maximum));
    if (value == m_value)
        return;
    m_value = value;
    setNeedsDisplay();
}

void Slider::setMinimumValue(double minimum)
{
    m_minimum = minimum;
    if (m_maximum < m_minimum)
        m_maximum = m_minimum;
    setValue(m_value);
    setNeedsDisplay();
}

void Slider::setMaximumValue(double maximum)
{
    m_maximum = maximum;
    if (m_minimum > m_maximum)
        m_minimum = m_maximum;
    setValue(m_value);
    setNeedsDisplay();
}

void Slider::setMinimumTrackImage(const StretchableImage &image, ControlState state)
{
    m_minTrack[state] = image;
    setNeedsDisplay();
}

StretchableImage Slider::minimumTrackImage(ControlState state) const
{
    return valueForState(m_minTrack, state);
}

void Slider::setMaximumTrackImage(const StretchableImage &image, ControlState state)
{
    m_maxTrack[state] = image;
    setNeedsDisplay();
}

StretchableImage Slider::maximumTrackImage(ControlState state) const
{
    return valueForState(m_maxTrack, state);
}

void Slider::setThumbImage(const StretchableImage &image, ControlState state)
{
    m_thumb[state] = image;
    setNeedsDisplay();
}

StretchableImage Slider::thumbImage(ControlState state) const
{
    return valueForState(m_thumb, state);
}

QSizeF Slider::thumbSize() const
{
    const StretchableImage thumb = thumbImage(state());
    return thumb.isNull() ? Theme::current().style(ThemeElement::SliderThumb).size : thumb.size();
}

double Slider::trackHeight() const
{
    const StretchableImage track = minimumTrackImage(state());
    return track.isNull() ? Theme::current().style(ThemeElement::SliderMinimumTrack).size.height() : track.size().height();
}

QRectF Slider::trackRect() const
{
    const QRectF b = bounds().normalized();
    const double h = trackHeight();
    return QRectF(b.x(), b.y() + (b.height() - h) / 2, b.width(), h);
}

double Slider::thumbCenterForValue(double value) const
{
    const QRectF b = bounds().normalized();
    const double tw = thumbSize().width();
    const double range = m_maximum - m_minimum;
    const double u = range > 0 ? (std::clamp(value, m_minimum, m_maximum) - m_minimum) / range : 0;
    return b.x() + tw / 2 + u * (b.width() - tw);
}

double Slider::valueForThumbCenter(double x) const
{
    const QRectF b = bounds().normalized();
    const double tw = thumbSize().width();
    const double travel = b.width() - tw;
    if (travel <= 0)
        return m_minimum;
    const double u = (x - b.x() - tw / 2) / travel;
    return std::clamp(m_minimum + u * (m_maximum - m_minimum), m_minimum, m_maximum);
}

QRectF Slider::thumbRect() const
{
    const QRectF b = bounds().normalized();
    const QSizeF size = thumbSize();
    const double cx = thumbCenterForValue(m_value);
    return QRectF(cx - size.width() / 2, b.y() + (b.height() - size.height()) / 2, size.width(), size.height());
}

bool Slider::isOnThumb(QPointF p) const
{
    return containsPoint(thumbRect().adjusted(-kThumbSlop, -kThumbSlop, kThumbSlop, kThumbSlop), p);
}

bool Slider::beginTracking(const Touch &, QPointF p)
{
    if (!isOnThumb(p))
        return false;
    m_startValue = m_value;
    m_startX = p.x();
    return true;
}

void Slider::continueTracking(const Touch &, QPointF p)
{
    const double travel = bounds().width() - thumbSize().width();
    if (travel <= 0)
        return;
    const double before = m_value;
    setValue(m_startValue + (p.x() - m_startX) * (m_maximum - m_minimum) / travel);
    if (m_continuous && m_value != before)
        sendActions(ControlEventValueChanged);
}

void Slider::endTracking(const Touch &, QPointF)
{
    if (!m_continuous && m_value != m_startValue)
        sendActions(ControlEventValueChanged);
}

bool Slider::ownsGesture(const GestureRecognizer &recognizer, const Touch &touch) const
{
    // Dragging the thumb with one finger is the slider's own gesture.
    const auto *pan = dynamic_cast<const PanRecognizer *>(&recognizer);
    if (!isEnabled() || !pan || pan->minimumNumberOfTouches() > 1)
        return false;
    return isOnThumb(touch.locationInView(this));
}

void Slider::drawContent(QPainter &painter) const
{
    const ControlState s = state();
    const QRectF track = trackRect();
    const double cx = thumbCenterForValue(m_value);
    const QRectF minRect(track.x(), track.y(), cx - track.x(), track.height());
    const QRectF maxRect(cx, track.y(), track.right() - cx, track.height());
    const Theme &theme = Theme::current();
    painter.save();
    if (!isEnabled())
        painter.setOpacity(painter.opacity() * 0.5);

    auto themedTrack = [&](ThemeElement element, const QRectF &rect, bool leftRound) {
        const ThemeStyle look = theme.style(element, s);
        const QRectF whole = leftRound ? QRectF(rect.x(), rect.y(), rect.width() + look.radius, rect.height())
                                       : QRectF(rect.x() - look.radius, rect.y(), rect.width() + look.radius, rect.height());
        painter.save();
        painter.setClipRect(rect, Qt::IntersectClip);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(look.pen);
        painter.setBrush(look.brush);
        painter.drawRoundedRect(whole.adjusted(0.5, 0.5, -0.5, -0.5), look.radius, look.radius);
        painter.restore();
    };
    const StretchableImage maxImage = maximumTrackImage(s);
    if (maxImage.isNull())
        themedTrack(ThemeElement::SliderMaximumTrack, maxRect, false);
    else
        maxImage.draw(painter, maxRect);
    const StretchableImage minImage = minimumTrackImage(s);
    if (minImage.isNull())
        themedTrack(ThemeElement::SliderMinimumTrack, minRect, true);
    else
        minImage.draw(painter, minRect);

    const QRectF thumb = thumbRect();
    const StretchableImage thumbImg = thumbImage(s);
    if (!thumbImg.isNull()) {
        thumbImg.draw(painter, thumb);
    } else {
        const ThemeStyle look = theme.style(ThemeElement::SliderThumb, s);
        painter.setRenderHint(QPainter::Antialiasing);
        if (look.shadowColor.alpha() > 0) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(look.shadowColor);
            painter.drawEllipse(thumb.translated(look.shadowOffset).adjusted(-0.5, -0.5, 0.5, 0.5));
        }
        painter.setPen(look.pen);
        painter.setBrush(look.brush);
        painter.drawEllipse(thumb.adjusted(0.5, 0.5, -0.5, -0.5));
    }
    painter.restore();
}

} // namespace vimora::ui
