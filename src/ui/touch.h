#pragma once

#include <memory>
#include <vector>

#include <QPointF>

namespace vimora::ui {

class View;

enum class TouchPhase { Began, Moved, Stationary, Ended, Cancelled };

/// One finger's record for the whole of its sequence, kept up to date by the host.
/// Positions are in window coordinates (the host's screen, points).
class Touch
{
public:
    int id = 0;
    TouchPhase phase = TouchPhase::Began;
    QPointF windowPosition;
    QPointF previousWindowPosition;
    QPointF startWindowPosition;
    double timestamp = 0;  // seconds on the host's clock
    double startTime = 0;
    int tapCount = 1;      // fixed when the touch begins
    /// The view hit on touch-down; it keeps the touch even when the finger leaves it.
    std::shared_ptr<View> view;

    /// The position in view's current coordinates, through every transform; nullptr gives
    /// window coordinates.
    QPointF locationInView(const View *view) const;
    QPointF previousLocationInView(const View *view) const;
};

using TouchPtr = std::shared_ptr<Touch>;
using TouchSet = std::vector<TouchPtr>;

/// The centroid of the touches' positions in view's coordinates (origin for none).
QPointF centroidInView(const TouchSet &touches, const View *view);

} // namespace vimora::ui
