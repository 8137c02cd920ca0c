#pragma once

#include <memory>

#include "ui/clock.h"
#include "ui/geometry.h"
#include "ui/view.h"

namespace vimora::ui {

class PanRecognizer;

/// A view whose content is larger than itself: the content offset is the bounds origin,
/// so subviews sit at content coordinates and show shifted by −offset. Clips to its bounds.
/// The user drags it with its own pan recogniser (which begins after kPanThreshold points
/// and then cancels the touches of the subview under the finger, a button's included);
/// past an end it moves at half the rate when bouncing and springs back on release.
/// Touches reach subviews at once (there is no content-touch delay).
class ScrollView : public View
{
public:
    static constexpr double kRubberBand = 0.5;
    static constexpr double kSpringDuration = 0.3;

    ScrollView();
    explicit ScrollView(const QRectF &frame);
    ~ScrollView() override;

    QSizeF contentSize() const { return m_contentSize; }
    void setContentSize(QSizeF size);
    QPointF contentOffset() const { return bounds().topLeft(); }
    void setContentOffset(QPointF offset, bool animated = false);
    /// Extra scrollable space around the content.
    EdgeInsets contentInset() const { return m_contentInset; }
    void setContentInset(const EdgeInsets &inset);
    /// The largest offset on each axis: max(0, content + insets − bounds).
    QPointF maximumContentOffset() const;
    QPointF minimumContentOffset() const;

    bool isScrollEnabled() const { return m_scrollEnabled; }
    void setScrollEnabled(bool enabled);
    bool bounces() const { return m_bounces; }
    void setBounces(bool bounces) { m_bounces = bounces; }
    /// An axis whose content fits does not scroll unless its bounce is forced on.
    bool alwaysBounceHorizontal() const { return m_alwaysBounceHorizontal; }
    void setAlwaysBounceHorizontal(bool on) { m_alwaysBounceHorizontal = on; }
    bool alwaysBounceVertical() const { return m_alwaysBounceVertical; }
    void setAlwaysBounceVertical(bool on) { m_alwaysBounceVertical = on; }
    /// Kept for the screens that set it; this scroll view does not zoom.
    bool bouncesZoom() const { return m_bouncesZoom; }
    void setBouncesZoom(bool on) { m_bouncesZoom = on; }
    bool showsHorizontalScrollIndicator() const { return m_showsHorizontal; }
    void setShowsHorizontalScrollIndicator(bool on);
    bool showsVerticalScrollIndicator() const { return m_showsVertical; }
    void setShowsVerticalScrollIndicator(bool on);
    /// On: the indicators stay drawn while the view is still, not only while it moves, so a
    /// list taller than its view says so from the start.
    bool keepsScrollIndicatorsShown() const { return m_keepsIndicatorsShown; }
    void setKeepsScrollIndicatorsShown(bool on);
    /// Whether the vertical indicator is drawn now.
    bool isVerticalScrollIndicatorShown() const;
    /// On: a subview's touch is cancelled once scrolling starts.
    bool canCancelContentTouches() const { return m_canCancelContentTouches; }
    void setCanCancelContentTouches(bool on);

    bool isDragging() const { return m_dragging; }
    /// Springing back after a drag past an end (or an animated offset change).
    bool isAnimating() const { return m_animation.isActive(); }
    PanRecognizer &panRecognizer() { return *m_pan; }

protected:
    void drawOverlay(QPainter &painter) const override;

private:
    void handlePan(PanRecognizer &pan);
    bool scrollsHorizontally() const;
    bool scrollsVertically() const;
    QPointF clampedOffset(QPointF offset) const;
    void animateTo(QPointF offset);
    void step();

    QSizeF m_contentSize;
    EdgeInsets m_contentInset;
    bool m_scrollEnabled = true;
    bool m_bounces = true;
    bool m_alwaysBounceHorizontal = false;
    bool m_alwaysBounceVertical = false;
    bool m_bouncesZoom = true;
    bool m_showsHorizontal = true;
    bool m_showsVertical = true;
    bool m_keepsIndicatorsShown = false;
    bool m_canCancelContentTouches = true;
    bool m_dragging = false;
    std::shared_ptr<PanRecognizer> m_pan;
    QPointF m_dragStart;
    QPointF m_animFrom, m_animTo;
    double m_animStart = 0, m_animDuration = kSpringDuration;
    ScheduledCall m_animation;
};

} // namespace vimora::ui
