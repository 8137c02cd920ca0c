#pragma once

#include <climits>
#include <functional>

#include "ui/gesture_recognizer.h"

namespace vimora::ui {

/// A drag with one or more fingers. Begins once enough fingers are down and their centroid
/// has moved kPanThreshold points from touch-down; Changed on every move; Ended when all
/// fingers lift. More fingers than the maximum before it begins make it fail; extra fingers
/// after it began are ignored.
class PanRecognizer : public GestureRecognizer
{
public:
    static constexpr double kPanThreshold = 10;

    explicit PanRecognizer(std::function<void(PanRecognizer &)> action = {});

    int minimumNumberOfTouches() const { return m_minimumTouches; }
    void setMinimumNumberOfTouches(int n) { m_minimumTouches = std::max(1, n); }
    int maximumNumberOfTouches() const { return m_maximumTouches; }
    void setMaximumNumberOfTouches(int n) { m_maximumTouches = std::max(1, n); }

    /// Total movement since the fingers went down (not since the last report), measured now
    /// in view's coordinates (nullptr: window): only view's linear map applies, so ask in a
    /// view that does not move with the drag, e.g. the dragged view's superview.
    QPointF translationInView(const View *view) const;
    /// Rebases the start so the translation reads translation now; zeroes the velocity.
    void setTranslation(QPointF translation, const View *view);
    /// Points per second in view's coordinates, from the two latest samples.
    QPointF velocityInView(const View *view) const;

protected:
    void touchesBegan(const TouchSet &touches) override;
    void touchesMoved(const TouchSet &touches) override;
    void touchesEnded(const TouchSet &touches) override;
    void didReset() override;

private:
    QPointF trackedCentroid(const TouchSet &excluding = {}) const;
    QPointF windowVector(QPointF from, QPointF to, const View *view) const;

    int m_minimumTouches = 1;
    int m_maximumTouches = INT_MAX;
    QPointF m_start;   // window position the translation counts from
    QPointF m_current; // latest centroid, window coordinates
    QPointF m_previous;
    double m_currentTime = 0, m_previousTime = 0;
};

} // namespace vimora::ui
