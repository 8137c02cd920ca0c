#include "ui/scroll_view.h"

#include <algorithm>

#include <QPainter>

#include "ui/pan_recognizer.h"
#include "ui/theme.h"

namespace vimora::ui {

namespace {
constexpr double kFrameInterval = 1.0 / 60;
}

ScrollView::ScrollView()
{
    setClipsToBounds(true);
    m_pan = std::make_shared<PanRecognizer>([this](PanRecognizer &pan) { handlePan(pan); });
    addGestureRecognizer(m_pan);
}

ScrollView::ScrollView(const QRectF &frame)
    : ScrollView()
{
    setFrame(frame);
}

ScrollView::~ScrollView()
{
    removeGestureRecognizer(m_pan.get());
}

void ScrollView::setContentSize(QSizeF size)
{
    m_contentSize = size;
    setNeedsDisplay();
}

void ScrollView::setContentOffset(QPointF offset, bool animated)
{
    if (animated) {
        animateTo(offset);
        return;
    }
    m_animation.stop();
    QRectF b = bounds();
    b.moveTopLeft(offset);
    setBounds(b);
}

void ScrollView::setContentInset(const EdgeInsets &inset)
{
    m_contentInset = inset;
    setNeedsDisplay();
}

QPointF ScrollView::minimumContentOffset() const
{
    return QPointF(-m_contentInset.left, -m_contentInset.top);
}

QPointF ScrollView::maximumContentOffset() const
{
    const QSizeF size = bounds().size();
    return QPointF(std::max(-m_contentInset.left, m_contentSize.width() + m_contentInset.right - size.width()),
                   std::max(-m_contentInset.top, m_contentSize.height() + m_contentInset.bottom - size.height()));
}

void ScrollView::setScrollEnabled(bool enabled)
{
    m_scrollEnabled = enabled;
    m_pan->setEnabled(enabled);
}

void ScrollView::setShowsHorizontalScrollIndicator(bool on)
{
    m_showsHorizontal = on;
    setNeedsDisplay();
}

void ScrollView::setShowsVerticalScrollIndicator(bool on)
{
    m_showsVertical = on;
    setNeedsDisplay();
}

void ScrollView::setKeepsScrollIndicatorsShown(bool on)
{
    m_keepsIndicatorsShown = on;
    setNeedsDisplay();
}

bool ScrollView::isVerticalScrollIndicatorShown() const
{
    return m_showsVertical && m_contentSize.height() > bounds().height()
           && (m_keepsIndicatorsShown || m_dragging || m_animation.isActive());
}

void ScrollView::setCanCancelContentTouches(bool on)
{
    m_canCancelContentTouches = on;
    m_pan->setCancelsTouchesInView(on);
}

bool ScrollView::scrollsHorizontally() const
{
    return m_alwaysBounceHorizontal || maximumContentOffset().x() > minimumContentOffset().x();
}

bool ScrollView::scrollsVertically() const
{
    return m_alwaysBounceVertical || maximumContentOffset().y() > minimumContentOffset().y();
}

QPointF ScrollView::clampedOffset(QPointF offset) const
{
    const QPointF lo = minimumContentOffset(), hi = maximumContentOffset();
    return QPointF(std::clamp(offset.x(), lo.x(), hi.x()), std::clamp(offset.y(), lo.y(), hi.y()));
}

void ScrollView::handlePan(PanRecognizer &pan)
{
    using State = GestureRecognizer::State;
    switch (pan.state()) {
    case State::Began:
        m_animation.stop();
        m_dragging = true;
        m_dragStart = contentOffset();
        [[fallthrough]];
    case State::Changed: {
        const QPointF t = pan.translationInView(this);
        const QPointF lo = minimumContentOffset(), hi = maximumContentOffset();
        auto axis = [&](double start, double delta, double low, double high, bool scrolls) {
            if (!scrolls)
                return start;
            const double wanted = start - delta;
            if (!m_bounces)
                return std::clamp(wanted, low, high);
            // Past an end the content follows the finger at a reduced rate.
            if (wanted < low)
                return low - (low - wanted) * kRubberBand;
            if (wanted > high)
                return high + (wanted - high) * kRubberBand;
            return wanted;
        };
        const double startX = std::clamp(m_dragStart.x(), lo.x(), std::max(lo.x(), hi.x()));
        const double startY = std::clamp(m_dragStart.y(), lo.y(), std::max(lo.y(), hi.y()));
        setContentOffset(QPointF(axis(startX, t.x(), lo.x(), hi.x(), scrollsHorizontally()),
                                 axis(startY, t.y(), lo.y(), hi.y(), scrollsVertically())));
        break;
    }
    case State::Ended:
    case State::Cancelled:
        m_dragging = false;
        if (clampedOffset(contentOffset()) != contentOffset())
            animateTo(clampedOffset(contentOffset()));
        setNeedsDisplay();
        break;
    default:
        break;
    }
}

void ScrollView::animateTo(QPointF offset)
{
    m_animFrom = contentOffset();
    m_animTo = offset;
    m_animStart = Clock::current().now();
    step();
}

void ScrollView::step()
{
    const double t = std::clamp((Clock::current().now() - m_animStart) / m_animDuration, 0.0, 1.0);
    const double eased = 1 - (1 - t) * (1 - t) * (1 - t);
    QRectF b = bounds();
    b.moveTopLeft(m_animFrom + (m_animTo - m_animFrom) * eased);
    setBounds(b);
    if (t < 1)
        m_animation.start(kFrameInterval, [this]() { step(); });
    else
        setNeedsDisplay();
}

void ScrollView::drawOverlay(QPainter &painter) const
{
    if (!m_keepsIndicatorsShown && !m_dragging && !m_animation.isActive())
        return;
    const ThemeStyle look = Theme::current().style(ThemeElement::ScrollIndicator);
    const QRectF b = bounds();
    const double thickness = look.size.width();
    const EdgeInsets pad = look.padding;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(look.pen);
    painter.setBrush(look.brush);
    auto bar = [&](double viewLength, double contentLength, double offset, double trackStart, double trackLength) {
        // Length in proportion to the visible share, shortened while bouncing past an end.
        double length = std::max(thickness * 2, trackLength * viewLength / std::max(contentLength, 1.0));
        const double maxOffset = std::max(1.0, contentLength - viewLength);
        double pos = trackStart + (trackLength - length) * std::clamp(offset / maxOffset, 0.0, 1.0);
        const double over = offset < 0 ? -offset : offset > maxOffset ? offset - maxOffset : 0;
        length = std::max(thickness, length - over);
        if (offset > maxOffset)
            pos = trackStart + trackLength - length;
        return std::pair{pos, length};
    };
    if (m_showsVertical && m_contentSize.height() > b.height()) {
        const auto [pos, length] = bar(b.height(), m_contentSize.height(), b.y(), b.y() + pad.top,
                                       b.height() - pad.top - pad.bottom);
        painter.drawRoundedRect(QRectF(b.right() - pad.right - thickness, pos, thickness, length), look.radius, look.radius);
    }
    if (m_showsHorizontal && m_contentSize.width() > b.width()) {
        const auto [pos, length] = bar(b.width(), m_contentSize.width(), b.x(), b.x() + pad.left,
                                       b.width() - pad.left - pad.right);
        painter.drawRoundedRect(QRectF(pos, b.bottom() - pad.bottom - thickness, length, thickness), look.radius, look.radius);
    }
    painter.restore();
}

} // namespace vimora::ui
