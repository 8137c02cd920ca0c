#include "ui/switch.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QPainterPath>

#include "ui/geometry.h"
#include "ui/pan_recognizer.h"
#include "ui/tap_recognizer.h"
#include "ui/text_drawing.h"
#include "ui/theme.h"

namespace vimora::ui {

namespace {
constexpr double kFrameInterval = 1.0 / 60;
}

Switch::Switch()
{
    setBounds(QRectF(QPointF(0, 0), kSize));
}

Switch::Switch(const QRectF &frame)
    : Switch()
{
    setFrame(frame);
}

void Switch::setOn(bool on, bool animated)
{
    m_on = on;
    if (animated) {
        animateKnobTo(on ? 1 : 0);
    } else {
        m_animation.stop();
        m_knob = on ? 1 : 0;
    }
    setNeedsDisplay();
}

double Switch::knobTravel() const
{
    return kSize.width() - kSize.height();
}

void Switch::animateKnobTo(double position)
{
    m_animFrom = m_knob;
    m_animTo = position;
    m_animStart = Clock::current().now();
    step();
}

void Switch::step()
{
    const double t = std::clamp((Clock::current().now() - m_animStart) / kAnimationDuration, 0.0, 1.0);
    const double eased = 1 - (1 - t) * (1 - t);
    m_knob = m_animFrom + (m_animTo - m_animFrom) * eased;
    setNeedsDisplay();
    if (t < 1)
        m_animation.start(kFrameInterval, [this]() { step(); });
}

bool Switch::beginTracking(const Touch &, QPointF p)
{
    m_animation.stop();
    m_dragging = false;
    m_startX = p.x();
    m_startKnob = m_knob;
    return true;
}

void Switch::continueTracking(const Touch &, QPointF p)
{
    const double dx = p.x() - m_startX;
    if (!m_dragging && std::abs(dx) > kDragThreshold)
        m_dragging = true;
    if (m_dragging) {
        m_knob = std::clamp(m_startKnob + dx / knobTravel(), 0.0, 1.0);
        setNeedsDisplay();
    }
}

void Switch::endTracking(const Touch &, QPointF p)
{
    bool on = m_on;
    if (m_dragging)
        on = m_knob >= 0.5;
    else if (containsPoint(trackingRect(), p))
        on = !m_on;
    m_dragging = false;
    const bool changed = on != m_on;
    m_on = on;
    animateKnobTo(on ? 1 : 0);
    if (changed)
        sendActions(ControlEventValueChanged);
}

void Switch::cancelTracking()
{
    m_dragging = false;
    animateKnobTo(m_on ? 1 : 0);
}

bool Switch::ownsGesture(const GestureRecognizer &recognizer, const Touch &) const
{
    if (!isEnabled())
        return false;
    if (const auto *tap = dynamic_cast<const TapRecognizer *>(&recognizer))
        return tap->numberOfTapsRequired() == 1 && tap->numberOfTouchesRequired() == 1;
    if (const auto *pan = dynamic_cast<const PanRecognizer *>(&recognizer))
        return pan->minimumNumberOfTouches() == 1;
    return false;
}

void Switch::drawContent(QPainter &painter) const
{
    const Theme &theme = Theme::current();
    const ControlState s = state();
    const QRectF b(bounds().topLeft(), kSize);
    const double radius = b.height() / 2;
    const double knobX = b.x() + m_knob * knobTravel();
    const QRectF knob(knobX, b.y(), b.height(), b.height());
    QPainterPath pill;
    pill.addRoundedRect(b.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(painter.opacity() * 0.5);
    const ThemeStyle on = theme.style(ThemeElement::SwitchTrackOn, s);
    const ThemeStyle off = theme.style(ThemeElement::SwitchTrackOff, s);
    // The track slides with the knob: "ON" to its left, "OFF" to its right.
    painter.save();
    painter.setClipPath(pill, Qt::IntersectClip);
    const double split = knob.center().x();
    painter.fillRect(QRectF(b.x(), b.y(), split - b.x(), b.height()), on.brush);
    painter.fillRect(QRectF(split, b.y(), b.right() - split, b.height()), off.brush);
    TextStyle caption;
    caption.alignment = TextAlignment::Center;
    caption.lineBreak = LineBreakMode::Clip;
    caption.font = on.font;
    caption.color = on.textColor;
    drawText(painter, QRectF(knobX - knobTravel(), b.y(), knobTravel(), b.height()), QStringLiteral("ON"), caption);
    caption.font = off.font;
    caption.color = off.textColor;
    drawText(painter, QRectF(knob.right(), b.y(), knobTravel(), b.height()), QStringLiteral("OFF"), caption);
    painter.restore();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(m_knob >= 0.5 ? on.pen : off.pen);
    painter.drawPath(pill);

    const ThemeStyle knobLook = theme.style(ThemeElement::SwitchKnob, s);
    if (knobLook.shadowColor.alpha() > 0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(knobLook.shadowColor);
        painter.drawEllipse(knob.translated(knobLook.shadowOffset));
    }
    painter.setPen(knobLook.pen);
    painter.setBrush(knobLook.brush);
    painter.drawEllipse(knob.adjusted(0.5, 0.5, -0.5, -0.5));
    painter.restore();
}

} // namespace vimora::ui
